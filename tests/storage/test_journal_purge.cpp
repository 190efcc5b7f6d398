#include "horloge_factice.h"
#include "storage/fichier_atomique.h"
#include "test_journal_outils.h"

#include <gtest/gtest.h>

namespace {

std::string ligne_fin(std::string_view date) {
    return "Fin de l'appel        : mardi " + std::string(date) + " \xE0 23:59:59";
}

std::string enr(std::string_view date_fin, std::string_view motif = "x") {
    return enregistrement_brut(ligne_fin(date_fin), motif, "1,0");
}

// Makes the final rename fail for the life of the object.
class renommage_refuse {
public:
    renommage_refuse() : avant_(kalvo_renomme) {
        kalvo_renomme = [](const char*, const char*) { return -1; };
    }
    ~renommage_refuse() { kalvo_renomme = avant_; }

private:
    int (*avant_)(const char*, const char*);
};

const horloge_factice en_2026; // 4 March 2026

} // namespace

TEST(journal_purge, conversion_des_dates) {
    EXPECT_EQ(convertit_date("5.3.2026", 2026), jours_depuis_origine(2026, 3, 5));
    EXPECT_EQ(convertit_date(" 05. 03.  2026", 2026), jours_depuis_origine(2026, 3, 5));
    EXPECT_EQ(convertit_date("29.02.24", 2026), jours_depuis_origine(2024, 2, 29));
    for (const char* faux : {"29.02.25", "31.4.2026", "0.1.2026", "5.13.2026", "5.3.2026 ", "5/3/2026", "5.3",
                             "5.3.", ".3.2026", "5.3.-26", "5.3.20x6", ""}) {
        EXPECT_EQ(convertit_date(faux, 2026), std::nullopt) << faux;
    }
    // Two-digit years lie in the last hundred years up to the current one.
    EXPECT_EQ(convertit_date("03.03.97", 2026), jours_depuis_origine(1997, 3, 3));
    EXPECT_EQ(convertit_date("03.03.26", 2026), jours_depuis_origine(2026, 3, 3));
    EXPECT_EQ(convertit_date("03.03.27", 2026), jours_depuis_origine(1927, 3, 3));
    EXPECT_EQ(convertit_date("03.03.00", 2100), jours_depuis_origine(2100, 3, 3));
    EXPECT_EQ(convertit_date("03.03.99", 2100), jours_depuis_origine(2099, 3, 3));
}

TEST(journal_purge, le_jour_du_seuil_reste_la_veille_part) {
    dossier_temporaire dossier;
    // The start day plays no part: the last record began on the 4th and ended on the 5th.
    std::string a_garder = enr("05.03.26", "seuil") + enr("06.03.26");
    std::string fin_le_5 = enr("05.03.26", "commence la veille");
    fin_le_5.replace(fin_le_5.find("03.03.97"), 8, "04.03.26");
    ecrit_octets(dossier.journal(), enr("04.03.26") + a_garder + enr("03.03.97") + fin_le_5);

    const resultat_purge r = purge_avant(dossier.journal(), 5, 3, 2026, en_2026);
    EXPECT_EQ(r.etat, etat_purge::fait);
    EXPECT_EQ(r.gardes, 3);
    EXPECT_EQ(r.retires, 2); // 1997 is read as 1997, not 2097
    EXPECT_EQ(lit_octets(dossier.journal()), a_garder + fin_le_5);
    EXPECT_EQ(dossier.noms(), std::set<std::string>{"sauve.tax"});

    // A record read in a century before the current one.
    ecrit_octets(dossier.journal(), enr("31.12.99") + enr("01.01.00"));
    ASSERT_EQ(purge_avant(dossier.journal(), 1, 1, 2000, en_2026).etat, etat_purge::fait);
    EXPECT_EQ(lit_octets(dossier.journal()), enr("01.01.00"));
}

TEST(journal_purge, les_lignes_gardees_sont_reecrites_avec_cr_lf) {
    dossier_temporaire dossier;
    std::string cr_seul = enr("05.03.26", "a\nb");
    for (std::size_t p = cr_seul.find("\r\n"); p != std::string::npos; p = cr_seul.find("\r\n", p)) {
        cr_seul.erase(p + 1, 1);
    }
    const std::string sans_fin = enr("06.03.26");
    ecrit_octets(dossier.journal(),
                 cr_seul + sans_fin.substr(0, sans_fin.size() - 2) + "\x1A" + enr("07.03.26"));

    ASSERT_EQ(purge_avant(dossier.journal(), 5, 3, 2026, en_2026).etat, etat_purge::fait);
    EXPECT_EQ(lit_octets(dossier.journal()), enr("05.03.26", "a\nb") + sans_fin);
}

TEST(journal_purge, les_echecs_laissent_le_journal_intact) {
    dossier_temporaire dossier;
    const std::string avant = enr("01.03.26") + enr("05.03.26");
    ecrit_octets(dossier.journal(), avant);
    const auto intact = [&] {
        EXPECT_EQ(lit_octets(dossier.journal()), avant);
        EXPECT_EQ(dossier.noms(), std::set<std::string>{"sauve.tax"});
    };

    resultat_purge r = purge_avant(dossier.journal(), 31, 2, 2026, en_2026);
    EXPECT_EQ(r.etat, etat_purge::date_invalide);
    EXPECT_EQ(r.message, "'31.2.2026' is not a valid date");
    intact();

    {
        renommage_refuse refus;
        r = purge_avant(dossier.journal(), 5, 3, 2026, en_2026);
    }
    EXPECT_EQ(r.etat, etat_purge::erreur_fichier);
    EXPECT_EQ(r.message, message_reecriture_impossible);
    intact();

    // An end date that does not read stops the pruning with those 8 characters, even after kept records.
    const std::string illisible =
        enr("05.03.26") + enregistrement_brut("Fin: 3\xE9.03.97 \xE0 09:12:40", "x", "1,0");
    ecrit_octets(dossier.journal(), illisible);
    r = purge_avant(dossier.journal(), 1, 1, 2026, en_2026);
    EXPECT_EQ(r.etat, etat_purge::date_invalide);
    EXPECT_EQ(r.message, "'3\xC3\xA9.03.97' is not a valid date");
    EXPECT_EQ(lit_octets(dossier.journal()), illisible);
    EXPECT_EQ(dossier.noms(), std::set<std::string>{"sauve.tax"});

    // A log cut in the middle of a record's second line.
    const std::string coupe = enr("05.03.26") + enr("05.03.26").substr(0, 70);
    ecrit_octets(dossier.journal(), coupe);
    EXPECT_EQ(purge_avant(dossier.journal(), 1, 1, 2026, en_2026).etat, etat_purge::date_invalide);
    EXPECT_EQ(lit_octets(dossier.journal()), coupe);
}

TEST(journal_purge, journal_vide_ou_absent) {
    dossier_temporaire dossier;
    EXPECT_EQ(purge_avant(dossier.journal(), 1, 1, 2026, en_2026).etat, etat_purge::absent);
    EXPECT_FALSE(fs::exists(dossier.journal()));

    ecrit_octets(dossier.journal(), "");
    EXPECT_EQ(purge_avant(dossier.journal(), 1, 1, 2026, en_2026).etat, etat_purge::fait);
    EXPECT_EQ(fs::file_size(dossier.journal()), 0U);

    // Without a path the log of the data folder is pruned.
    donnees_deplacees xdg(dossier.chemin());
    ASSERT_TRUE(ajoute_appel(appel_du(2026, 3, 3, "avant", 10)).ok);
    ASSERT_TRUE(ajoute_appel(appel_du(2026, 3, 4, "apres", 10)).ok);
    ASSERT_EQ(purge_avant(4, 3, 2026, en_2026).etat, etat_purge::fait);
    const resultat_totaux t = totalise_motifs();
    ASSERT_EQ(t.motifs.size(), 1U);
    EXPECT_EQ(t.motifs[0].motif, "apres");
}

TEST(journal_purge, les_enregistrements_gardes_sont_recopies_octet_pour_octet) {
    // The CR LF that closes a record falls, in turn, on each side of the reader's first 1 MiB block;
    // a LF taken for the next record's first character would show in the copy.
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
        ASSERT_EQ(contenu.size(), cr_voulu + 2);
        contenu += enr("06.03.26", std::string(3 * bloc, 'z')) + enr("07.03.26");
        ecrit_octets(dossier.journal(), contenu);

        ASSERT_EQ(purge_avant(dossier.journal(), 5, 3, 2026, en_2026).etat, etat_purge::fait);
        EXPECT_TRUE(lit_octets(dossier.journal()) == contenu) << decalage;
    }
}
