#include "outils_stockage.h"
#include "storage/reglages.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

// Key names and values as the file spells them, in Windows-1252 (\351 é, \340 à, \311 É).

TEST(reglages, lecture_bornes_et_sauvegarde) {
    // Values outside the dialogs' ranges are brought into them: the meter divides by the durations. "0x"
    // needs a third character and no sign after it; what does not convert gives the default.
    dossier_temporaire dossier;
    const std::string tarifs =
        "[Tarifs]\r\nTaxe de base=-3\r\nDur\351e local r\351duit=0\r\nDur\351e local normal=60000\r\n"
        "Dur\351e suburbain normal=0X1f\r\nDur\351e interurbain normal=$10\r\n"
        "Dur\351e suburbain r\351duit=12 ;x\r\nDur\351e interurbain r\351duit=0x-1\r\n";
    const std::string ajouts = "1=Natel\r\n2=Fax\r\nFax au tarif normal=50\r\nFax au tarif r\351duit=-5\r\n";
    const std::string memento = "[Memento]\r\n1=un\r\n5=\" cinq \"\r\n9=\"\"neuf\"\"\r\n";
    ecrit_octets(dossier.ini(), tarifs + "[Divers]\r\nMise \340 jour=2000\r\n" + memento +
                                    "[Ajouts]\r\nNombre d'ajouts=0x2\r\n" + ajouts);
    const reglages_lus r = lit_reglages(dossier.donnees());
    EXPECT_EQ(std::make_tuple(r.tarifs.taxe_base, r.tarifs.normal, r.tarifs.reduit),
              std::make_tuple(0, std::array{50000, 31, 16}, std::array{1, 588, 406}));
    EXPECT_EQ(r.periode_ms, 1000);
    EXPECT_EQ(r.historique, std::vector<texte>({"un", " cinq ", "\"neuf\""}));
    ASSERT_EQ(r.zones.size(), 2U);
    EXPECT_EQ(std::make_tuple(r.zones[0].nom, r.zones[0].normal_dixiemes, r.zones[0].reduit_dixiemes,
                              r.zones[1].normal_dixiemes, r.zones[1].reduit_dixiemes),
              std::make_tuple(texte("Natel"), 1, 1, 50, 1));

    table_zones table;
    table.ajoute("Natel", 1, 1);
    table.modifie_durees(3, 224, 2.5); // a half goes to the even neighbour
    // A save that replaced the file twice would fail.
    ASSERT_EQ(sauve_reglages(dossier.donnees(), r.periode_ms, r.historique, table, renommages_refuses(2)),
              std::nullopt);
    // The history goes under 1 to 3, quoted once more where the quotes or blanks would be lost; the stale
    // keys 5 and 9, and Fax's, stay; new keys go last in their section.
    EXPECT_EQ(lit_octets(dossier.ini()),
              tarifs + "[Divers]\r\nMise \340 jour=1000\r\n" + memento +
                  "2=\" cinq \"\r\n3=\"\"neuf\"\"\r\n[Ajouts]\r\nNombre d'ajouts=1\r\n" + ajouts +
                  "Natel au tarif normal=224\r\nNatel au tarif r\351duit=2\r\n");
}

TEST(reglages, noms_de_zone_refuses_a_l_ajout_et_au_chargement) {
    table_zones zones;
    zones.ajoute("Europe", 1, 1);
    using enum refus_nom_zone;
    const std::pair<const char*, refus_nom_zone> cas[] = {
        {"local", deja_pris}, {"EUROPE", deja_pris}, {" Europe ", deja_pris}, {"Zone {1", accolade},
        {"}", accolade},      {"a=b", brise_cles},   {" [x", brise_cles},     {";x", brise_cles},
        {"x[y", aucun},       {"Caf\351 ", aucun}};
    for (const auto& [nom, refus] : cas) {
        EXPECT_EQ(examine_nom_zone(nom, zones), refus) << nom;
    }

    // At load the same names are skipped, and no more than 40 zones are taken. An empty name is a name like
    // any other: blanks then equal it.
    dossier_temporaire dossier;
    std::string contenu = "[Ajouts]\r\nNombre d'ajouts=49\r\n1=LOCAL\r\n2=a{b\r\n3=Natel\r\n4=natel\r\n"
                          "5=\" Natel \"\r\n6=c}\r\n7=a=b\r\n8=\" [x]y\"\r\n9=\r\n10=\" \"\r\n";
    for (int n = 11; n <= 49; ++n) {
        contenu += std::to_string(n) + "=z" + std::to_string(n) + "\r\n";
    }
    ecrit_octets(dossier.ini(), contenu);
    const reglages_lus r = lit_reglages(dossier.donnees());
    ASSERT_EQ(r.zones.size(), 40U);
    EXPECT_EQ(std::make_tuple(r.zones[0].nom, r.zones[1].nom, r.zones[39].nom),
              std::make_tuple(texte("Natel"), texte(""), texte("z48")));
}

TEST(reglages, tarifs_et_periodes_relus_tels_qu_ecrits_echec_sans_changement) {
    dossier_temporaire dossier;
    for (const int periode : periodes_mise_a_jour) {
        ASSERT_EQ(sauve_reglages(dossier.donnees(), periode, {}, table_zones{}), std::nullopt);
        EXPECT_EQ(lit_reglages(dossier.donnees()).periode_ms, periode);
    }
    const tarifs_base tarifs{30, {900, 300, 200}, {2000, 500, 400}};
    ASSERT_EQ(sauve_tarifs(dossier.donnees(), tarifs), std::nullopt);
    const reglages_lus r = lit_reglages(dossier.donnees());
    EXPECT_EQ(std::make_tuple(r.tarifs.taxe_base, r.tarifs.normal, r.tarifs.reduit),
              std::make_tuple(tarifs.taxe_base, tarifs.normal, tarifs.reduit));

    // A failed save leaves the file as it was, and no temporary file beside it; a save that changes
    // nothing writes nothing.
    const std::string avant = lit_octets(dossier.ini());
    EXPECT_EQ(sauve_tarifs(dossier.donnees(), tarifs_base{}, renommages_refuses()),
              "Kalvo.ini n'a pas pu être écrit");
    EXPECT_EQ(sauve_reglages(dossier.donnees(), 1000, {}, table_zones{}, renommages_refuses()),
              "Kalvo.ini n'a pas pu être écrit");
    EXPECT_EQ(sauve_tarifs(dossier.donnees(), tarifs), std::nullopt);
    EXPECT_EQ(lit_octets(dossier.ini()), avant);
    EXPECT_EQ(dossier.noms(), std::set<std::string>{"Kalvo.ini"});

    // Never a file too large to be read again: the save is refused and the file stays.
    ecrit_octets(dossier.ini(), "[Divers]\r\n;" + std::string(taille_max_profil - 13, 'x') + "\r\n");
    const erreur_reglages trop = sauve_tarifs(dossier.donnees(), tarifs);
    EXPECT_TRUE(trop && trop->find("Kalvo.ini") != std::string::npos);
    EXPECT_EQ(fs::file_size(dossier.ini()), taille_max_profil);
}

// The call-log window's size: kept beside the other sections, and refused back when out of its range.
TEST(reglages, taille_du_journal) {
    dossier_temporaire dossier;
    EXPECT_EQ(lit_taille_journal(dossier.donnees()), std::nullopt);
    ecrit_octets(dossier.ini(), "[Divers]\r\nMise \340 jour=3000\r\n");
    ASSERT_EQ(sauve_taille_journal(dossier.donnees(), {800, 450}), std::nullopt);
    EXPECT_EQ(lit_taille_journal(dossier.donnees()), (taille_fenetre{800, 450}));
    EXPECT_EQ(lit_octets(dossier.ini()),
              "[Divers]\r\nMise \340 jour=3000\r\n[Journal des appels]\r\nLargeur=800\r\nHauteur=450\r\n");
    for (const taille_fenetre t : {taille_fenetre{199, 450}, taille_fenetre{800, 10'001}}) {
        ASSERT_EQ(sauve_taille_journal(dossier.donnees(), t), std::nullopt);
        EXPECT_EQ(lit_taille_journal(dossier.donnees()), std::nullopt);
    }
}
