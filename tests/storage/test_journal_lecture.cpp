#include "storage/journal_index_motifs.h"
#include "storage/journal_lecteur.h"
#include "test_journal_outils.h"

#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

const std::string fin_3_mars = "Fin de l'appel        : lundi 03.03.97 \xE0 09:12:40";

std::string enr(std::string_view motif, std::string_view montant_txt) {
    return enregistrement_brut(fin_3_mars, motif, montant_txt);
}

resultat_totaux totaux_de(std::string_view contenu) {
    dossier_temporaire dossier;
    ecrit_octets(dossier.journal(), contenu);
    return totalise_motifs(dossier.journal());
}

} // namespace

TEST(journal_lecture, motifs_sans_casse_blancs_comptes_et_vides_regroupes) {
    const resultat_totaux t =
        totaux_de(enr("Bureau", "2,50") + enr("Maison", "0,20") + enr("bureau", "0,5") +
                  enr("Bureau ", "1,0") + enr("\xC9t\xE9", "0,10") + enr("\xE9T\xC9", "0,1") +
                  enr("", "0,30") + enr(" \t ", "0,4") + enr(std::string("Maison\0", 7), "0,1"));
    EXPECT_EQ(t.etat, etat_lecture::complet);
    ASSERT_EQ(t.motifs.size(), 6U);
    EXPECT_EQ(t.motifs[0].motif, "Bureau"); // as first written
    EXPECT_EQ(t.motifs[0].centimes, 255);
    EXPECT_EQ(t.motifs[1].motif, "Maison");
    EXPECT_EQ(t.motifs[2].motif, "Bureau ");
    EXPECT_EQ(t.motifs[3].motif, "\xC9t\xE9");
    EXPECT_EQ(t.motifs[3].centimes, 11);
    EXPECT_EQ(t.motifs[4].motif, "<<motif non-sp\xE9"
                                 "cifi\xE9>>");
    EXPECT_EQ(t.motifs[4].centimes, 34);
}

TEST(journal_lecture, motifs_longs_compares_en_entier) {
    // Beyond the first 16 characters, with accented letters on both sides of a word boundary.
    const resultat_totaux t = totaux_de(enr("Rendez-vous chez le m\xE9"
                                            "decin",
                                            "1,0") +
                                        enr("RENDEZ-VOUS CHEZ LE M\xC9"
                                            "DECIN",
                                            "2,0") +
                                        enr("Rendez-vous chez le m\xE9"
                                            "decim",
                                            "4,0") +
                                        enr("Rendez-vous chez le", "8,0") + enr("\xC0 rappeler", "16,0") +
                                        enr("\xE0 RAPPELER", "32,0"));
    ASSERT_EQ(t.motifs.size(), 4U);
    EXPECT_EQ(t.motifs[0].centimes, 300);
    EXPECT_EQ(t.motifs[1].centimes, 400);
    EXPECT_EQ(t.motifs[2].centimes, 800);
    EXPECT_EQ(t.motifs[3].motif, "\xC0 rappeler");
    EXPECT_EQ(t.motifs[3].centimes, 4800);
}

TEST(journal_lecture, le_pliage_par_mots_suit_celui_du_code) {
    // Every byte, at every place of a word and of the short tail, folds as the code page says and
    // counts as visible above 32.
    cle_motif cle;
    for (int b = 0; b < 256; ++b) {
        for (std::size_t i = 0; i < 13; ++i) {
            std::string motif(13, ' ');
            motif[i] = static_cast<char>(b);
            prepare_cle(motif, cle);
            ASSERT_EQ(cle.visible, b > 32) << b << " " << i;
            std::string melange = "aZ\xC9\xE9[@\xDE\xD7\xDFw\xC0\xFFM";
            melange[i] = static_cast<char>(b);
            prepare_cle(melange, cle);
            const texte attendu = replie_casse(melange);
            ASSERT_EQ(std::memcmp(cle.mots.data(), attendu.data(), attendu.size()), 0) << b << " " << i;
        }
    }
}

TEST(journal_lecture, fins_de_ligne_et_fin_de_contenu) {
    // CR alone ends a line, a lone LF is part of it, and nothing after Ctrl-Z is read.
    std::string cr_seul = enr("A", "1,0");
    for (std::size_t p = cr_seul.find("\r\n"); p != std::string::npos; p = cr_seul.find("\r\n", p)) {
        cr_seul.erase(p + 1, 1);
    }
    const resultat_totaux t =
        totaux_de(cr_seul + enr("a\nb", "0,2") + enr("a b", "0,3") + "\x1A" + enr("C", "9,0") + "garbage");
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

    dossier_temporaire dossier;
    EXPECT_EQ(totalise_motifs(dossier.journal()).etat, etat_lecture::absent);
}

TEST(journal_lecture, montants_lus_par_largeur_fixe) {
    const std::string prefixe = "Montant de la facture : ";
    EXPECT_EQ(montant_lu(prefixe + "1,5 FS"), 105);
    EXPECT_EQ(montant_lu(prefixe + " 12, 30 FS"), 1230);
    EXPECT_EQ(montant_lu(prefixe + "$A,0 FS"), 1000);
    EXPECT_EQ(montant_lu(prefixe + "1,5XYZ"), 105); // the last three are dropped unread
    EXPECT_EQ(montant_lu(prefixe + "1,5"), std::nullopt);
    EXPECT_EQ(montant_lu(prefixe + ",5 FS"), std::nullopt);
    EXPECT_EQ(montant_lu(prefixe + "1, FS"), std::nullopt);
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

TEST(journal_lecture, lecture_d_un_tube_par_morceaux) {
    // From a pipe a read returns what was written so far: blocks end at record ends or anywhere else.
    std::vector<std::string> enregistrements;
    std::string contenu;
    for (int i = 0; i < 3000; ++i) {
        enregistrements.push_back(
            enr(std::string(static_cast<std::size_t>(i % 37), static_cast<char>('a' + i % 5)),
                std::to_string(i % 7) + ",5"));
        contenu += enregistrements.back();
    }
    const resultat_totaux attendu = totaux_de(contenu);
    dossier_temporaire dossier;
    const fs::path tube = dossier.chemin() / "tube";
    ASSERT_EQ(::mkfifo(tube.c_str(), 0600), 0);
    std::thread ecrivain([&] {
        const int fd = ::open(tube.c_str(), O_WRONLY);
        ::fcntl(fd, F_SETPIPE_SZ, 4096);
        // Groups of one to four whole records, and now and then a group cut in two.
        for (std::size_t i = 0, groupe = 1; i < enregistrements.size(); i += groupe, groupe = i % 4 + 1) {
            std::string e;
            for (std::size_t k = i; k < i + groupe && k < enregistrements.size(); ++k) {
                e += enregistrements[k];
            }
            const std::size_t coupe = i % 7 == 0 ? e.size() / 3 : e.size();
            [[maybe_unused]] auto n = ::write(fd, e.data(), coupe);
            n = ::write(fd, e.data() + coupe, e.size() - coupe);
        }
        ::close(fd);
    });
    const resultat_totaux lu = totalise_motifs(tube);
    ecrivain.join();
    EXPECT_EQ(lu.etat, etat_lecture::complet);
    ASSERT_EQ(lu.motifs.size(), attendu.motifs.size());
    for (std::size_t i = 0; i < lu.motifs.size(); ++i) {
        EXPECT_EQ(lu.motifs[i].motif, attendu.motifs[i].motif);
        EXPECT_EQ(lu.motifs[i].centimes, attendu.motifs[i].centimes);
    }
}
