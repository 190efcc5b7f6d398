#include "outils_stockage.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

appel appel_exemple() {
    appel a = appel_du(1997, 3, 3, "Bureau", 230);
    a.heure_debut = encode_heure(9, 5, 7, 0);
    a.heure_fin = encode_heure(9, 12, 40, 0);
    return a;
}

appel vide_a_105() {
    appel a = appel_exemple();
    a.motif = "";
    a.centimes = 105;
    return a;
}

const std::string exemple_attendu = "D\351but de l'appel      : lundi 03.03.97 \xE0 09:05:07\r\n"
                                    "Fin de l'appel        : lundi 03.03.97 \xE0 09:12:40\r\n"
                                    "Cat\xE9gorie de l'appel  : Local\r\n"
                                    "Motif de l'appel      : Bureau\r\n"
                                    "Montant de la facture : 2,30 FS\r\n"
                                    "-----------------------------------------\r\n";

} // namespace

TEST(journal_ecriture, le_premier_appel_cree_le_journal_et_les_suivants_s_y_ajoutent) {
    dossier_temporaire dossier;
    ASSERT_TRUE(ajoute_appel(dossier.journal(), appel_exemple()).ok);
    EXPECT_EQ(lit_octets(dossier.journal()), exemple_attendu);

    // An empty reason leaves the prefix alone; 105 centimes are "1,5".
    ASSERT_TRUE(ajoute_appel(dossier.journal(), vide_a_105()).ok);
    const std::string contenu = lit_octets(dossier.journal());
    EXPECT_EQ(contenu.substr(0, exemple_attendu.size()), exemple_attendu);
    EXPECT_NE(contenu.find("\r\nMotif de l'appel      : \r\nMontant de la facture : 1,5 FS\r\n"),
              std::string::npos);
}

TEST(journal_ecriture, l_effacement_garde_une_generation_aussi_privee_que_le_journal) {
    dossier_temporaire dossier;
    const fs::path precedent = dossier.chemin() / "sauve.tax.precedent";
    ASSERT_TRUE(ajoute_appel(dossier.journal(), appel_exemple()).ok);
    fs::permissions(dossier.journal(), fs::perms::owner_read | fs::perms::owner_write);
    {
        renommages_refuses refus; // a crash before the copy is in place: the log is still whole
        EXPECT_FALSE(efface_journal(dossier.journal()).ok);
        EXPECT_EQ(lit_octets(dossier.journal()), exemple_attendu);
    }
    ASSERT_TRUE(efface_journal(dossier.journal()).ok);
    EXPECT_EQ(lit_octets(dossier.journal()), "");
    EXPECT_EQ(lit_octets(precedent), exemple_attendu);
    EXPECT_EQ(fs::status(precedent).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(efface_journal(dossier.journal()).ok); // nothing to keep: the copy stays
    EXPECT_EQ(lit_octets(precedent), exemple_attendu);
    ASSERT_TRUE(ajoute_appel(dossier.journal(), vide_a_105()).ok);
    ASSERT_TRUE(efface_journal(dossier.journal()).ok); // one generation: replaced at the next erase
    EXPECT_EQ(lit_octets(precedent), formate_appel(vide_a_105()));
}

TEST(journal_ecriture, le_jour_de_la_semaine_suit_la_date) {
    // 1 March 2026 is a Sunday; the start day, a Saturday, names its own day.
    const char* const attendus[] = {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"};
    for (int i = 0; i < 7; ++i) {
        appel a = appel_du(2026, 3, 1 + i, "x", 10);
        a.date_debut = encode_date(2026, 2, 28);
        EXPECT_NE(formate_appel(a).find(": samedi 28.02.26 \xE0 10:00:00\r\nFin de l'appel        : " +
                                        std::string(attendus[i]) + " 0"),
                  std::string::npos);
    }
}

TEST(journal_ecriture, fins_de_ligne_et_ctrl_z_dans_un_nom_deviennent_des_blancs) {
    dossier_temporaire dossier;
    appel a = appel_exemple();
    a.zone = "Zo\rne";
    a.motif = "a\r\nb\x1A";
    ASSERT_TRUE(ajoute_appel(dossier.journal(), a).ok);
    ASSERT_TRUE(ajoute_appel(dossier.journal(), appel_exemple()).ok);
    const std::string contenu = lit_octets(dossier.journal());
    EXPECT_NE(contenu.find(": Zo ne\r\n"), std::string::npos);
    EXPECT_NE(contenu.find(": a  b \r\n"), std::string::npos);
}

TEST(journal_ecriture, un_ajout_interrompu_ne_laisse_rien_de_l_enregistrement) {
    dossier_temporaire dossier;
    ASSERT_TRUE(ajoute_appel(dossier.journal(), appel_exemple()).ok);
    // The file size limit lets part of the second record through, then the write fails.
    rlimit avant{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &avant), 0);
    const auto ancien_signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = avant;
    limite.rlim_cur = exemple_attendu.size() + 40;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limite), 0);
    const resultat_ecriture resultat = ajoute_appel(dossier.journal(), appel_exemple());
    ::setrlimit(RLIMIT_FSIZE, &avant);
    std::signal(SIGXFSZ, ancien_signal);

    EXPECT_FALSE(resultat.ok);
    EXPECT_EQ(lit_octets(dossier.journal()), exemple_attendu);
}
