#include "outils_stockage.h"
#include "storage/journal_lecteur.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

std::string enr(std::string_view motif, std::string_view montant_txt) {
    return enregistrement_brut("Fin de l'appel        : lundi 03.03.97 \xE0 09:12:40", motif, montant_txt);
}

resultat_totaux totaux_de(std::string_view contenu) {
    dossier_temporaire dossier;
    ecrit_octets(dossier.journal(), contenu);
    return totalise_motifs(dossier.journal());
}

} // namespace

TEST(journal_lecture, motifs_sans_casse_blancs_comptes_et_vides_regroupes) {
    // "[", "{", "@" and "`" sit just outside the letters: folding them would merge "[@", "{@" and "[`".
    // The long reasons differ only past their first 16 characters.
    const std::string medecin = "Rendez-vous chez le m\351decin";
    const resultat_totaux t = totaux_de(
        enr("Bureau", "2,50") + enr("Maison", "0,20") + enr("bureau", "0,5") + enr("Bureau ", "1,0") +
        enr("\xC9t\xE9", "0,10") + enr("\xE9T\xC9", "0,1") + enr("", "0,30") + enr(" \t ", "0,4") +
        enr("!", "0,1") + enr("[@", "0,1") + enr("{@", "0,1") + enr("[`", "0,1") + enr(medecin, "1,0") +
        enr("RENDEZ-VOUS CHEZ LE M\311DECIN", "2,0") +
        enr(medecin.substr(0, medecin.size() - 1) + "m", "4,0"));
    EXPECT_EQ(t.etat, etat_lecture::complet);
    ASSERT_EQ(t.motifs.size(), 11U);
    EXPECT_EQ(t.motifs[0].motif, "Bureau"); // as first written
    EXPECT_EQ(t.motifs[0].centimes, 255);
    EXPECT_EQ(t.motifs[1].motif, "Maison");
    EXPECT_EQ(t.motifs[2].motif, "Bureau ");
    EXPECT_EQ(t.motifs[3].motif, "\xC9t\xE9");
    EXPECT_EQ(t.motifs[3].centimes, 11);
    EXPECT_EQ(t.motifs[4].motif, libelle_motif_vide);
    EXPECT_EQ(t.motifs[4].centimes, 34);
    EXPECT_EQ(t.motifs[5].motif, "!");
    EXPECT_EQ(t.motifs[9].centimes, 300);
    EXPECT_EQ(t.motifs[10].centimes, 400);
}

TEST(journal_lecture, fins_de_ligne_et_fin_de_contenu) {
    // CR alone ends a line, a lone LF is part of it, and nothing after Ctrl-Z is read.
    const resultat_totaux t = totaux_de(cr_seuls(enr("A", "1,0")) + enr("a\nb", "0,2") + enr("a b", "0,3") +
                                        "\x1A" + enr("C", "9,0") + "garbage");
    EXPECT_EQ(t.etat, etat_lecture::complet);
    ASSERT_EQ(t.motifs.size(), 3U);
    EXPECT_EQ(t.motifs[0].centimes, 100);
    EXPECT_EQ(t.motifs[1].motif, "a\nb");

    // Ctrl-Z inside a record cuts it: its missing amount line makes it corrupt.
    const std::string deux = enr("A", "1,0") + enr("B", "2,0");
    const resultat_totaux coupe =
        totaux_de(deux.substr(0, deux.size() - 60) + "\x1A" + deux.substr(deux.size() - 60));
    EXPECT_EQ(coupe.etat, etat_lecture::corrompu);
    ASSERT_EQ(coupe.motifs.size(), 1U);
}

TEST(journal_lecture, corruption_et_resultat_partiel) {
    // A last record without its dashes still counts.
    const std::string un = enr("A", "1,0");
    const resultat_totaux t = totaux_de(un + un.substr(0, un.size() - 43));
    EXPECT_EQ(t.etat, etat_lecture::complet);
    ASSERT_EQ(t.motifs.size(), 1U);
    EXPECT_EQ(t.motifs[0].centimes, 200);

    // Cut before line 5: the totals before it stand, with the flag.
    const std::string entier = enr("A", "1,0") + enr("B", "2,0");
    const resultat_totaux coupe = totaux_de(entier + enr("C", "3,0").substr(0, 120));
    EXPECT_EQ(coupe.etat, etat_lecture::corrompu);
    ASSERT_EQ(coupe.motifs.size(), 2U);
    EXPECT_EQ(coupe.motifs[1].centimes, 200);

    // The first unreadable amount stops the reading; later good records do not count.
    const resultat_totaux arret = totaux_de(enr("A", "1,0") + enr("B", "2.0") + enr("C", "3,0"));
    EXPECT_EQ(arret.etat, etat_lecture::corrompu);
    EXPECT_EQ(arret.motifs.size(), 1U);

    const resultat_totaux vide = totaux_de("");
    EXPECT_EQ(vide.etat, etat_lecture::complet);
    EXPECT_TRUE(vide.motifs.empty());
}

TEST(journal_lecture, montants_lus_par_largeur_fixe) {
    const std::string prefixe = "Montant de la facture : ";
    EXPECT_EQ(montant_lu(prefixe + " 12, 30 FS"), 1230);
    EXPECT_EQ(montant_lu(prefixe + "$A,0 FS"), 1000);
    EXPECT_EQ(montant_lu(prefixe + "1,5XYZ"), 105); // the last three are dropped unread
    EXPECT_EQ(montant_lu(prefixe + ",5 FS"), std::nullopt);
    EXPECT_EQ(montant_lu(prefixe + "1,5 ; FS"), std::nullopt);
    EXPECT_EQ(montant_lu("Montant: 1,5 FS"), std::nullopt);
}

TEST(journal_lecture, totaux_sur_64_bits_et_sans_limite_de_motifs) {
    std::string contenu;
    for (int i = 0; i < 150; ++i) {
        contenu += enr("M" + std::to_string(i), "21474836,47");
    }
    contenu += enr("m0", "21474836,47") + enr("M0", "21474836,47");
    const resultat_totaux t = totaux_de(contenu);
    ASSERT_EQ(t.motifs.size(), 150U);
    EXPECT_EQ(t.motifs[149].motif, "M149");
    EXPECT_EQ(t.motifs[0].centimes, 3 * 2'147'483'647LL);
}

TEST(journal_lecture, un_tube_rend_le_journal_par_morceaux) {
    // From a pipe a read returns what was written so far, here cut anywhere in the records.
    std::string contenu;
    for (int i = 0; i < 3000; ++i) {
        contenu += enr(std::string(static_cast<std::size_t>(i % 5 + 1), 'a'), "1,0");
    }
    dossier_temporaire dossier;
    const fs::path tube = dossier.chemin() / "tube";
    ASSERT_EQ(::mkfifo(tube.c_str(), 0600), 0);
    std::signal(SIGPIPE, SIG_IGN); // a reader that stops early fails the checks below, not the process
    std::thread ecrivain([&] {
        const int fd = ::open(tube.c_str(), O_WRONLY);
        for (std::size_t i = 0; i < contenu.size(); i += 997) {
            [[maybe_unused]] auto n =
                ::write(fd, contenu.data() + i, std::min<std::size_t>(997, contenu.size() - i));
        }
        ::close(fd);
    });
    const resultat_totaux lu = totalise_motifs(tube);
    ecrivain.join();
    EXPECT_EQ(lu.etat, etat_lecture::complet);
    ASSERT_EQ(lu.motifs.size(), 5U);
    for (const total_motif& m : lu.motifs) {
        EXPECT_EQ(m.centimes, 600 * 100) << m.motif;
    }
}
