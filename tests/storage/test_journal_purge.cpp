#include "horloge_factice.h"
#include "outils_stockage.h"
#include "storage/journal_lecteur.h"

#include <gtest/gtest.h>

namespace {

std::string enr(std::string_view date_fin, std::string_view motif = "x") {
    return enregistrement_brut("Fin de l'appel        : mardi " + std::string(date_fin) + " \xE0 23:59:59",
                               motif, "1,0");
}

const horloge_factice en_2026; // 4 March 2026
const std::set<std::string> journal_seul = {"sauve.tax", "sauve.tax.verrou"};

} // namespace

TEST(journal_purge, conversion_des_dates) {
    EXPECT_EQ(convertit_date(" 05. 03.  2026", 2026), jours_depuis_origine(2026, 3, 5));
    EXPECT_EQ(convertit_date("29.02.24", 2026), jours_depuis_origine(2024, 2, 29));
    EXPECT_EQ(convertit_date("29.02.2000", 2026), 36585);
    for (const char* faux : {"29.02.25", "29.02.1900", "31.4.2026", "5.13.2026", "5.3.2026 ", "5/3/2026",
                             "5.3", "5.3.20x6", "", "261.03.2026", "5.261.2026", "5.3.99999999999"}) {
        EXPECT_EQ(convertit_date(faux, 2026), std::nullopt) << faux;
    }
    // Two-digit years lie in the last hundred years up to the current one.
    EXPECT_EQ(convertit_date("03.03.97", 2026), jours_depuis_origine(1997, 3, 3));
    EXPECT_EQ(convertit_date("31.12.99", 2026), jours_depuis_origine(1999, 12, 31));
    EXPECT_EQ(convertit_date("03.03.26", 2026), jours_depuis_origine(2026, 3, 3));
    EXPECT_EQ(convertit_date("03.03.27", 2026), jours_depuis_origine(1927, 3, 3));
}

TEST(journal_purge, le_jour_du_seuil_reste_la_veille_part_les_lignes_gardees_finissent_par_cr_lf) {
    dossier_temporaire dossier;
    // The start day plays no part: the record "commence la veille" began on the 4th and ended on the 5th.
    std::string a_garder = enr("05.03.26", "seuil") + enr("06.03.26");
    std::string fin_le_5 = enr("05.03.26", "commence la veille");
    fin_le_5.replace(fin_le_5.find("03.03.97"), 8, "04.03.26");
    // Lines ended by CR alone, and a last record cut short by Ctrl-Z, are written back with CR LF.
    const std::string sans_fin = enr("06.03.26");
    ecrit_octets(dossier.journal(), enr("04.03.26") + a_garder + enr("03.03.97") + fin_le_5 +
                                        remplace_tout(enr("05.03.26", "a\nb"), "\r\n", "\r") +
                                        sans_fin.substr(0, sans_fin.size() - 2) + "\x1A" + enr("07.03.26"));

    const resultat_purge r = purge_avant(dossier.journal(), 5, 3, 2026, en_2026);
    EXPECT_EQ(r.etat, etat_purge::fait);
    EXPECT_EQ(r.gardes, 5);
    EXPECT_EQ(r.retires, 2); // 1997 is read as 1997, not 2097
    EXPECT_EQ(lit_octets(dossier.journal()), a_garder + fin_le_5 + enr("05.03.26", "a\nb") + sans_fin);
    EXPECT_EQ(dossier.noms(), journal_seul);
}

TEST(journal_purge, les_echecs_laissent_le_journal_intact) {
    dossier_temporaire dossier;
    EXPECT_EQ(purge_avant(dossier.journal(), 1, 1, 2026, en_2026).etat, etat_purge::absent);
    EXPECT_TRUE(dossier.noms().empty()); // not even the lock file

    const std::string avant = enr("01.03.26") + enr("05.03.26");
    // The log, the day and month of the threshold, the rename refused from, what the pruning says.
    const std::tuple<std::string, int, int, int, etat_purge, std::string> cas[] = {
        // First, so that the lock file is there for every case after it.
        {avant, 5, 3, 1, etat_purge::erreur_fichier,
         std::string(message_reecriture_impossible) + " : erreur d'entrée-sortie."},
        {avant, 31, 2, 99, etat_purge::date_invalide, "« 31.2.2026 » n'est pas une date valide"},
        // An end date that does not read stops the pruning with those 8 characters, even after kept records.
        {enr("05.03.26") + enregistrement_brut("Fin: 3\xE9.03.97 \xE0 09:12:40", "x", "1,0"), 1, 1, 99,
         etat_purge::date_invalide, "« 3é.03.97 » n'est pas une date valide"},
    };
    for (const auto& [contenu, jour, mois, refus_des, etat, message] : cas) {
        ecrit_octets(dossier.journal(), contenu);
        const resultat_purge r = purge_avant(dossier.journal(), jour, mois, 2026, en_2026,
                                             attente_verrou_journal, renommages_refuses(refus_des));
        EXPECT_EQ(r.etat, etat);
        EXPECT_EQ(r.message, message);
        EXPECT_EQ(lit_octets(dossier.journal()), contenu);
        EXPECT_EQ(dossier.noms(), journal_seul);
    }
}

TEST(journal_purge, les_enregistrements_gardes_sont_recopies_octet_pour_octet) {
    // The CR LF that closes a record falls, in turn, on each side of the reader's first 1 MiB block;
    // a LF taken for the next record's first character would show in the copy. The record after it holds
    // the longest line the reader takes.
    const std::size_t bloc = 1 << 20;
    const std::size_t base = enr("05.03.26", "").size();
    for (std::size_t decalage = 0; decalage < 4; ++decalage) {
        dossier_temporaire dossier;
        std::string contenu;
        while (contenu.size() < bloc - 1000) {
            contenu += enr("05.03.26");
        }
        const std::size_t cr_voulu = bloc - 2 + decalage;
        contenu += enr("05.03.26", std::string(cr_voulu + 2 - contenu.size() - base, 'p'));
        contenu += enr("06.03.26", std::string(longueur_max_ligne - 24, 'z')) + enr("07.03.26");
        ecrit_octets(dossier.journal(), contenu);

        ASSERT_EQ(purge_avant(dossier.journal(), 5, 3, 2026, en_2026).etat, etat_purge::fait);
        EXPECT_TRUE(lit_octets(dossier.journal()) == contenu) << decalage;
    }
}
