#include "outils_stockage.h"
#include "storage/reglages.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// Key names and values as the file spells them, in Windows-1252 (\351 é, \340 à, \311 É).

TEST(reglages, lecture_des_entiers) {
    // "0x" needs a third character and no sign after it; what does not convert gives the default.
    dossier_temporaire dossier;
    ecrit_octets(dossier.ini(), "[s]\r\na=0x2\r\nb=0X1f\r\nc=0x\r\nd=0x-1\r\ne=$10\r\nf=12 ;x\r\ng=\r\n");
    const acces_reglages ini(dossier.ini());
    const std::pair<const char*, int> cas[] = {{"a", 2},  {"b", 31}, {"c", 7}, {"d", 7},
                                               {"e", 16}, {"f", 7},  {"g", 7}, {"absent", 7}};
    for (const auto& [cle, attendu] : cas) {
        EXPECT_EQ(ini.lit_entier("s", cle, 7), attendu) << cle;
    }
}

TEST(reglages, periode_historique_et_durees_des_zones) {
    dossier_temporaire dossier;
    ecrit_octets(dossier.ini(),
                 "[Divers]\r\nMise \340 jour=2000\r\n[Memento]\r\n1=un\r\n5=cinq\r\n9=neuf\r\n"
                 "[Ajouts]\r\nNombre d'ajouts=0x2\r\n1=Natel\r\n2=Fax\r\nFax au tarif normal=50\r\n");
    const reglages_lus r = lit_reglages(dossier.ini());
    EXPECT_EQ(r.periode_ms, 1000);
    EXPECT_EQ(r.historique, std::vector<texte>({"un", "cinq", "neuf"}));
    ASSERT_EQ(r.zones.size(), 2U);
    EXPECT_EQ(r.zones[0].nom, "Natel");
    EXPECT_EQ(r.zones[0].normal_dixiemes, 1);
    EXPECT_EQ(r.zones[0].reduit_dixiemes, 1);
    EXPECT_EQ(r.zones[1].normal_dixiemes, 50);

    table_zones table;
    table.ajoute("Natel", 1, 1);
    table.fixe_duree(3, periode::normale, 22.4);
    table.fixe_duree(3, periode::reduite, 0.25); // a half goes to the even neighbour
    ASSERT_EQ(sauve_reglages(dossier.ini(), r.periode_ms, r.historique, table), std::nullopt);
    // The history goes under 1 to 3; the stale keys 5 and 9, and Fax's, stay; new keys go last in their
    // section.
    EXPECT_EQ(lit_octets(dossier.ini()),
              "[Divers]\r\nMise \340 jour=1000\r\n"
              "[Memento]\r\n1=un\r\n5=cinq\r\n9=neuf\r\n2=cinq\r\n3=neuf\r\n"
              "[Ajouts]\r\nNombre d'ajouts=1\r\n1=Natel\r\n2=Fax\r\nFax au tarif normal=50\r\n"
              "Natel au tarif normal=224\r\nNatel au tarif r\351duit=2\r\n");
}

TEST(reglages, valeurs_hors_bornes_ramenees_au_chargement) {
    dossier_temporaire dossier;
    ecrit_octets(dossier.ini(), "[Tarifs]\r\nTaxe de base=-3\r\nDur\351e local r\351duit=0\r\n"
                                "Dur\351e local normal=60000\r\n"
                                "[Ajouts]\r\nNombre d'ajouts=1\r\n1=Natel\r\nNatel au tarif normal=-5\r\n");
    const reglages_lus r = lit_reglages(dossier.ini());
    EXPECT_EQ(r.tarifs.taxe_base, 0);
    EXPECT_EQ(r.tarifs.reduit[0], 1);
    EXPECT_EQ(r.tarifs.normal[0], 50000);
    EXPECT_EQ(r.zones.at(0).normal_dixiemes, 1);

    ecrit_octets(dossier.ini(), "[Tarifs]\r\nTaxe de base=70000\r\n");
    EXPECT_EQ(lit_reglages(dossier.ini()).tarifs.taxe_base, 50000);
}

TEST(reglages, noms_de_zone_refuses_a_l_ajout_et_au_chargement) {
    table_zones zones;
    zones.ajoute("Europe", 1, 1);
    const std::pair<const char*, refus_nom_zone> cas[] = {
        {"local", refus_nom_zone::deja_pris},
        {"EUROPE", refus_nom_zone::deja_pris},
        {" Europe ", refus_nom_zone::deja_pris},
        {"Zone {1", refus_nom_zone::accolade},
        {"}", refus_nom_zone::accolade},
        {"a=b", refus_nom_zone::brise_cles},
        {" [x", refus_nom_zone::brise_cles},
        {";x", refus_nom_zone::brise_cles},
        {"x[y", refus_nom_zone::aucun},
        {"", refus_nom_zone::aucun},
        {"Caf\351 & th\351 ", refus_nom_zone::aucun},
    };
    for (const auto& [nom, refus] : cas) {
        EXPECT_EQ(examine_nom_zone(nom, zones), refus) << nom;
    }
    zones.ajoute("", 1, 1);
    EXPECT_EQ(examine_nom_zone("  ", zones), refus_nom_zone::deja_pris);

    // At load the same names are skipped, and no more than 40 zones are taken.
    dossier_temporaire dossier;
    std::string contenu = "[Ajouts]\r\nNombre d'ajouts=48\r\n1=LOCAL\r\n2=a{b\r\n3=Natel\r\n4=natel\r\n"
                          "5=\" Natel \"\r\n6=c}\r\n7=a=b\r\n8=\" [x]y\"\r\n";
    for (int n = 9; n <= 48; ++n) {
        contenu += std::to_string(n) + "=z" + std::to_string(n) + "\r\n";
    }
    ecrit_octets(dossier.ini(), contenu);
    const reglages_lus r = lit_reglages(dossier.ini());
    ASSERT_EQ(r.zones.size(), 40U);
    EXPECT_EQ(r.zones.front().nom, "Natel");
    EXPECT_EQ(r.zones[1].nom, "z9");
    EXPECT_EQ(r.zones.back().nom, "z47");
}

TEST(reglages, valeurs_a_blancs_ou_guillemets_relues_telles_quelles) {
    dossier_temporaire dossier;
    table_zones table;
    table.ajoute("'x'", 10, 20);
    table.ajoute("  y", 30, 40);
    ASSERT_EQ(sauve_reglages(dossier.ini(), 5000, {"  Bureau ", "\"cit\351\"", "simple"}, table),
              std::nullopt);
    EXPECT_NE(lit_octets(dossier.ini()).find("1=\"  Bureau \"\r\n2=\"\"cit\351\"\"\r\n3=simple\r\n"),
              std::string::npos);

    const reglages_lus r = lit_reglages(dossier.ini());
    EXPECT_EQ(r.periode_ms, 5000);
    EXPECT_EQ(r.historique, std::vector<texte>({"  Bureau ", "\"cit\351\"", "simple"}));
    ASSERT_EQ(r.zones.size(), 2U);
    EXPECT_EQ(r.zones[0].nom, "'x'");
    EXPECT_EQ(r.zones[0].reduit_dixiemes, 20);
    EXPECT_EQ(r.zones[1].nom, "  y");
    EXPECT_EQ(r.zones[1].normal_dixiemes, 30);
}

TEST(reglages, chaque_sauvegarde_remplace_le_fichier_une_fois_ou_pas_du_tout) {
    dossier_temporaire dossier;
    const tarifs_base tarifs{30, {900, 300, 200}, {2000, 500, 400}};
    table_zones zones;
    for (int i = 0; i < 40; ++i) {
        zones.ajoute("Zone " + std::to_string(i), 10 + i, 20 + i);
    }
    // A save that replaced the file twice would fail at its second rename.
    {
        renommages_refuses deuxieme(2);
        ASSERT_EQ(sauve_tarifs(dossier.ini(), tarifs), std::nullopt);
    }
    {
        renommages_refuses deuxieme(2);
        ASSERT_EQ(sauve_reglages(dossier.ini(), 3000, {"a", "b"}, zones), std::nullopt);
    }
    const reglages_lus r = lit_reglages(dossier.ini());
    EXPECT_EQ(r.tarifs.taxe_base, 30);
    EXPECT_EQ(r.tarifs.normal, tarifs.normal);
    EXPECT_EQ(r.tarifs.reduit, tarifs.reduit);
    EXPECT_EQ(r.zones.size(), 40U);
    EXPECT_EQ(r.zones.back().reduit_dixiemes, 59);

    // A failure leaves the file as it was, and no temporary file beside it.
    const std::string avant = lit_octets(dossier.ini());
    {
        renommages_refuses refus;
        EXPECT_EQ(sauve_tarifs(dossier.ini(), tarifs_base{}), "Unable to write to Kalvo.ini");
        EXPECT_EQ(sauve_reglages(dossier.ini(), 1000, {}, table_zones{}), "Unable to write to Kalvo.ini");
        // Nothing changed: nothing to write.
        EXPECT_EQ(sauve_reglages(dossier.ini(), 3000, {"a", "b"}, zones), std::nullopt);
    }
    EXPECT_EQ(lit_octets(dossier.ini()), avant);
    EXPECT_EQ(dossier.noms(), std::set<std::string>{"Kalvo.ini"});

    fs::create_directory(dossier.chemin() / "dossier.ini");
    EXPECT_EQ(sauve_tarifs(dossier.chemin() / "dossier.ini", tarifs), "Unable to write to dossier.ini");
    EXPECT_TRUE(fs::is_directory(dossier.chemin() / "dossier.ini"));
    EXPECT_NE(sauve_tarifs(dossier.chemin() / "absent" / "Kalvo.ini", tarifs), std::nullopt);
    EXPECT_FALSE(fs::exists(dossier.chemin() / "absent"));
}
