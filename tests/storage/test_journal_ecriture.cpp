#include "outils_stockage.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

// A call of 3 March 1997 from 09:05:07 to 09:12:40.
appel appel_exemple(texte motif = "Bureau", montant centimes = 230) {
    appel a = appel_du(1997, 3, 3, std::move(motif), centimes);
    a.heure_debut = encode_heure(9, 5, 7, 0);
    a.heure_fin = encode_heure(9, 12, 40, 0);
    return a;
}

std::string attendu(std::string_view motif = "Bureau", std::string_view montant_txt = "2,30") {
    return enregistrement_brut("Fin de l'appel        : lundi 03.03.97 \xE0 09:12:40", motif, montant_txt);
}

} // namespace

TEST(journal_ecriture, le_premier_appel_cree_le_journal_et_les_suivants_s_y_ajoutent) {
    dossier_temporaire dossier;
    appel sale = appel_exemple("a\r\nb\x1A", 105); // line ends and Ctrl-Z in a name become blanks
    sale.zone = "Zo\rne";
    sale.date_debut = encode_date(1997, 3, 2); // the start names its own day
    std::string attendu_sale = attendu("a  b ", "1,05");
    attendu_sale.replace(attendu_sale.find("Local"), 5, "Zo ne");
    attendu_sale.replace(attendu_sale.find("lundi 03"), 8, "dimanche 02");
    for (const appel& a : {appel_exemple(), sale, appel_exemple("")}) {
        ASSERT_TRUE(ajoute_appel(dossier.journal(), a).ok);
    }
    EXPECT_EQ(lit_octets(dossier.journal()), attendu() + attendu_sale + attendu(""));
}

TEST(journal_ecriture, l_effacement_garde_une_generation_aussi_privee_que_le_journal) {
    dossier_temporaire dossier;
    const fs::path precedent = dossier.chemin() / "sauve.tax.precedent";
    ASSERT_TRUE(ajoute_appel(dossier.journal(), appel_exemple()).ok);
    fs::permissions(dossier.journal(), fs::perms::owner_read | fs::perms::owner_write);
    // A crash before the copy is in place: the log is still whole.
    EXPECT_FALSE(efface_journal(dossier.journal(), attente_verrou_journal, renommages_refuses()).ok);
    EXPECT_EQ(lit_octets(dossier.journal()), attendu());
    ASSERT_TRUE(efface_journal(dossier.journal()).ok);
    EXPECT_EQ(lit_octets(dossier.journal()), "");
    EXPECT_EQ(lit_octets(precedent), attendu());
    EXPECT_EQ(fs::status(precedent).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(efface_journal(dossier.journal()).ok); // nothing to keep: the copy stays
    EXPECT_EQ(lit_octets(precedent), attendu());
    ASSERT_TRUE(ajoute_appel(dossier.journal(), appel_exemple("", 105)).ok);
    ASSERT_TRUE(efface_journal(dossier.journal()).ok); // one generation: replaced at the next erase
    EXPECT_EQ(lit_octets(precedent), attendu("", "1,05"));
}

TEST(journal_ecriture, un_ajout_interrompu_ne_laisse_rien_de_l_enregistrement) {
    dossier_temporaire dossier;
    ASSERT_TRUE(ajoute_appel(dossier.journal(), appel_exemple()).ok);
    // The file size limit lets part of the second record through, then the write fails (a limit that
    // cannot be set fails the test).
    EXPECT_FALSE(autre_processus([&] {
                     ::signal(SIGXFSZ, SIG_IGN);
                     rlimit limite{};
                     ::getrlimit(RLIMIT_FSIZE, &limite);
                     limite.rlim_cur = attendu().size() + 40;
                     return ::setrlimit(RLIMIT_FSIZE, &limite) != 0 ||
                            ajoute_appel(dossier.journal(), appel_exemple()).ok;
                 }).reprend());
    EXPECT_EQ(lit_octets(dossier.journal()), attendu());
}
