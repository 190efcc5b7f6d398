#include "storage/reglages.h"
#include "test_profil_outils.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Key names as the file spells them, in Windows-1252 (\351 é, \340 à, \311 É).
const std::string local_reduit = "Dur\351e local r\351duit";
const std::string mise_a_jour = "Mise \340 jour";
const std::string au_tarif_reduit = " au tarif r\351duit";

} // namespace

using reglages = dossier_test;

TEST_F(reglages, fichier_absent_donne_les_defauts_et_la_premiere_sauvegarde_sans_tarifs) {
    const reglages_lus r = lit_reglages(chemin());
    EXPECT_EQ(r.taxe_base, 20);
    EXPECT_EQ(std::vector<int>({r.local_reduit, r.suburbain_reduit, r.interurbain_reduit, r.local_normal,
                                r.suburbain_normal, r.interurbain_normal}),
              std::vector<int>({2240, 588, 406, 990, 384, 226}));
    EXPECT_EQ(r.periode_ms, 1000);
    EXPECT_TRUE(r.historique.empty());
    EXPECT_TRUE(r.zones.empty());

    EXPECT_EQ(sauve_reglages(chemin(), 1000, {}, table_zones{}), std::nullopt);
    EXPECT_EQ(lit(chemin()), "[Divers]\r\n" + mise_a_jour + "=1000\r\n[Ajouts]\r\nNombre d'ajouts=0\r\n");
}

TEST_F(reglages, lecture_des_entiers) {
    // "0x" needs a third character and no sign after it; what does not convert gives the default.
    ecrit(chemin(), "[s]\r\na=0x2\r\nb=0X1f\r\nc=0x\r\nd=0x-1\r\ne=$10\r\nf=12 ;x\r\ng=\r\n");
    const acces_reglages ini(chemin());
    const std::pair<const char*, int> cas[] = {{"a", 2},  {"b", 31}, {"c", 7}, {"d", 7},
                                               {"e", 16}, {"f", 7},  {"g", 7}, {"absent", 7}};
    for (const auto& [cle, attendu] : cas) {
        EXPECT_EQ(ini.lit_entier("s", cle, 7), attendu) << cle;
    }
}

TEST_F(reglages, periode_historique_et_durees_des_zones) {
    ecrit(chemin(), "[Divers]\r\n" + mise_a_jour +
                        "=2000\r\n[Memento]\r\n1=un\r\n5=cinq\r\n9=neuf\r\n"
                        "[Ajouts]\r\nNombre d'ajouts=0x2\r\n1=Natel\r\n2=Fax\r\nFax au tarif normal=50\r\n");
    const reglages_lus r = lit_reglages(chemin());
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
    ASSERT_EQ(sauve_reglages(chemin(), r.periode_ms, r.historique, table), std::nullopt);
    const std::string fichier = lit(chemin());
    EXPECT_NE(fichier.find(mise_a_jour + "=1000\r\n"), std::string::npos);
    EXPECT_NE(fichier.find("Natel au tarif normal=224\r\n"), std::string::npos);
    EXPECT_NE(fichier.find("Natel" + au_tarif_reduit + "=2\r\n"), std::string::npos);
    // Keys 5 and 9 are stale but read again, so the next start has five entries.
    EXPECT_EQ(lit_reglages(chemin()).historique, std::vector<texte>({"un", "cinq", "neuf", "cinq", "neuf"}));
}

TEST_F(reglages, valeurs_hors_bornes_ramenees_au_chargement) {
    ecrit(chemin(), "[Tarifs]\r\nTaxe de base=-3\r\n" + local_reduit +
                        "=0\r\nDur\351e local normal=60000\r\n"
                        "[Ajouts]\r\nNombre d'ajouts=1\r\n1=Natel\r\nNatel au tarif normal=-5\r\n");
    reglages_lus r = lit_reglages(chemin());
    EXPECT_EQ(r.taxe_base, 0);
    EXPECT_EQ(r.local_reduit, 1);
    EXPECT_EQ(r.local_normal, 50000);
    EXPECT_EQ(r.zones.at(0).normal_dixiemes, 1);

    ecrit(chemin(), "[Tarifs]\r\nTaxe de base=70000\r\n");
    EXPECT_EQ(lit_reglages(chemin()).taxe_base, 50000);
}

TEST_F(reglages, zones_en_trop_ou_en_double_ignorees) {
    std::string contenu = "[Ajouts]\r\nNombre d'ajouts=48\r\n1=LOCAL\r\n2=a{b\r\n3=Natel\r\n4=natel\r\n"
                          "5=\" Natel \"\r\n6=c}\r\n7=a=b\r\n8=\" [x]y\"\r\n";
    for (int n = 9; n <= 48; ++n) {
        contenu += std::to_string(n) + "=z" + std::to_string(n) + "\r\n";
    }
    ecrit(chemin(), contenu);
    const reglages_lus r = lit_reglages(chemin());
    ASSERT_EQ(r.zones.size(), 40U);
    EXPECT_EQ(r.zones.front().nom, "Natel");
    EXPECT_EQ(r.zones[1].nom, "z9");
    EXPECT_EQ(r.zones.back().nom, "z47");
}

TEST_F(reglages, valeurs_a_blancs_ou_guillemets_relues_telles_quelles) {
    table_zones table;
    table.ajoute("'x'", 10, 20);
    table.ajoute("  y", 30, 40);
    ASSERT_EQ(sauve_reglages(chemin(), 5000, {"  Bureau ", "\"cit\351\"", "simple"}, table), std::nullopt);
    EXPECT_NE(lit(chemin()).find("1=\"  Bureau \"\r\n2=\"\"cit\351\"\"\r\n3=simple\r\n"), std::string::npos);

    const reglages_lus r = lit_reglages(chemin());
    EXPECT_EQ(r.periode_ms, 5000);
    EXPECT_EQ(r.historique, std::vector<texte>({"  Bureau ", "\"cit\351\"", "simple"}));
    ASSERT_EQ(r.zones.size(), 2U);
    EXPECT_EQ(r.zones[0].nom, "'x'");
    EXPECT_EQ(r.zones[0].reduit_dixiemes, 20);
    EXPECT_EQ(r.zones[1].nom, "  y");
    EXPECT_EQ(r.zones[1].normal_dixiemes, 30);
}

TEST(reglages_noms, noms_qui_briseraient_les_cles) {
    EXPECT_TRUE(nom_zone_brise_cles("a=b"));
    EXPECT_TRUE(nom_zone_brise_cles(" \t[x"));
    EXPECT_FALSE(nom_zone_brise_cles("x[y]"));
    EXPECT_FALSE(nom_zone_brise_cles(""));
    EXPECT_TRUE(noms_zone_confondus(" Natel\t", "NATEL"));
    EXPECT_FALSE(noms_zone_confondus("Na tel", "Natel"));
}

TEST_F(reglages, ecriture_echouee_arrete_l_operation) {
    echec_au_renommage = 3;
    EXPECT_EQ(sauve_tarifs(chemin(), 30, 2000, 500, 400, 900, 300, 200), "Unable to write to Kalvo.ini");
    EXPECT_EQ(lit(chemin()), "[Tarifs]\r\nTaxe de base=30\r\n" + local_reduit + "=2000\r\n");

    fs::create_directory(chemin("autre"));
    fs::create_directory(chemin("autre/Kalvo.ini"));
    EXPECT_EQ(sauve_reglages(chemin("autre/Kalvo.ini"), 1000, {}, table_zones{}),
              "Unable to write to Kalvo.ini");
}

TEST_F(reglages, sauvegarde_complete_octet_pour_octet) {
    table_zones table;
    table.ajoute("Natel", 224, 300);
    table.ajoute("\311tranger", 50, 75);
    ASSERT_EQ(sauve_tarifs(chemin(), 30, 2000, 500, 400, 900, 300, 200), std::nullopt);
    ASSERT_EQ(sauve_reglages(chemin(), 10000, {"Bureau", "Priv\351"}, table), std::nullopt);
    EXPECT_EQ(lit(chemin()), "[Tarifs]\r\n"
                             "Taxe de base=30\r\n"
                             "Dur\351e local r\351duit=2000\r\n"
                             "Dur\351e suburbain r\351duit=500\r\n"
                             "Dur\351e interurbain r\351duit=400\r\n"
                             "Dur\351e local normal=900\r\n"
                             "Dur\351e suburbain normal=300\r\n"
                             "Dur\351e interurbain normal=200\r\n"
                             "[Divers]\r\n"
                             "Mise \340 jour=10000\r\n"
                             "[Memento]\r\n"
                             "1=Bureau\r\n"
                             "2=Priv\351\r\n"
                             "[Ajouts]\r\n"
                             "Nombre d'ajouts=2\r\n"
                             "1=Natel\r\n"
                             "Natel au tarif normal=224\r\n"
                             "Natel au tarif r\351duit=300\r\n"
                             "2=\311tranger\r\n"
                             "\311tranger au tarif normal=50\r\n"
                             "\311tranger au tarif r\351duit=75\r\n");
    const reglages_lus r = lit_reglages(chemin());
    EXPECT_EQ(std::vector<int>({r.taxe_base, r.local_reduit, r.suburbain_reduit, r.interurbain_reduit,
                                r.local_normal, r.suburbain_normal, r.interurbain_normal, r.periode_ms}),
              std::vector<int>({30, 2000, 500, 400, 900, 300, 200, 10000}));
    EXPECT_EQ(r.zones.at(1).nom, "\311tranger");
    EXPECT_EQ(r.zones.at(1).reduit_dixiemes, 75);
}

TEST_F(reglages, sans_chemin_dans_le_dossier_de_donnees_cree_au_besoin) {
    const char* ancien = std::getenv("XDG_DATA_HOME");
    const std::string sauve = ancien != nullptr ? ancien : "";
    ::setenv("XDG_DATA_HOME", (dossier / "xdg").c_str(), 1);
    const erreur_reglages erreur = sauve_tarifs(25, 1, 2, 3, 4, 5, 6);
    const reglages_lus r = lit_reglages();
    const bool present = fs::is_regular_file(dossier / "xdg" / "kalvo" / "Kalvo.ini");
    ancien != nullptr ? ::setenv("XDG_DATA_HOME", sauve.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(erreur, std::nullopt);
    EXPECT_TRUE(present);
    EXPECT_EQ(r.taxe_base, 25);
}
