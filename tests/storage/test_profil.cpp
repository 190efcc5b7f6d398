#include "outils_stockage.h"
#include "storage/fichier_profil.h"

#include <gtest/gtest.h>

namespace {

std::string remplace_tout(std::string s, const std::string& de, const std::string& par) {
    for (std::size_t i = s.find(de); i != std::string::npos; i = s.find(de, i + par.size())) {
        s.replace(i, de.size(), par);
    }
    return s;
}

} // namespace

TEST(profil_lecture, vecteurs_wine_quelle_que_soit_la_fin_de_ligne) {
    const std::string crlf =
        "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n";
    for (const std::string& contenu :
         {crlf, remplace_tout(crlf, "\r\n", "\r"), remplace_tout(crlf, "\r\n", "\n")}) {
        EXPECT_EQ(valeur_profil(contenu, "section1", "name1", "default"), "val1");
        EXPECT_EQ(valeur_profil(contenu, "section1", "NaMe1", "default"), "val1");
        EXPECT_EQ(valeur_profil(contenu, "section1", "name2", "default"), "val2");
        EXPECT_EQ(valeur_profil(contenu, "section1", "name3", "default"), "default");
        EXPECT_EQ(valeur_profil(contenu, "section1", "notakey", "default"), "default");
        EXPECT_EQ(valeur_profil(contenu, "notasection", "name1", "default"), "default");
        EXPECT_EQ(valeur_profil(contenu, "section1", "name4", "default  "), "a");
        EXPECT_EQ(valeur_profil(contenu, "section1", "notakey", "default  "), "default");
    }
}

TEST(profil_lecture, valeurs_guillemets_et_separateurs) {
    const std::string contenu = "[v]\r\nq1='a'\r\nq2=\"a'\r\nq3=\"\r\nc=12 ;x\r\ne = a=b \r\nvide=\r\n";
    EXPECT_EQ(valeur_profil(contenu, "v", "q1", ""), "a");
    EXPECT_EQ(valeur_profil(contenu, "v", "q2", ""), "\"a'");
    EXPECT_EQ(valeur_profil(contenu, "v", "q3", ""), "\"");
    EXPECT_EQ(valeur_profil(contenu, "v", "c", ""), "12 ;x");
    EXPECT_EQ(valeur_profil(contenu, "v", "e", ""), "a=b");
    EXPECT_EQ(valeur_profil(contenu, "v", "vide", "def"), "");
}

TEST(profil_lecture, entetes_et_doublons) {
    // The last "]" closes the name; "[t" has none, so it is an entry; lines before any header are out of
    // reach.
    const std::string contenu = "a=avant\r\n[s]x] suite\r\n[t\r\nk=1\r\nk=2\r\n[S]X]\r\nk=3\r\nm=4\r\n";
    EXPECT_EQ(valeur_profil(contenu, "s]x", "k", "def"), "1");
    EXPECT_EQ(valeur_profil(contenu, "s]x", "m", "def"), "def");
    EXPECT_EQ(valeur_profil(contenu, "s]x", "[t", "def"), "def");
    EXPECT_EQ(valeur_profil(contenu, "", "a", "def"), "def");

    EXPECT_EQ(profil_modifie(contenu, "S]X", "K", "9"),
              "a=avant\r\n[s]x] suite\r\n[t\r\nk=9\r\nk=2\r\n[S]X]\r\nk=3\r\nm=4\r\n");
    EXPECT_EQ(profil_modifie(contenu, "s]x", "m", "5"),
              "a=avant\r\n[s]x] suite\r\n[t\r\nk=1\r\nk=2\r\nm=5\r\n[S]X]\r\nk=3\r\nm=4\r\n");
}

TEST(profil_lecture, noms_accentues_sans_casse) {
    // "DURÉE" with É (\311) finds "durée" with é (\351), and À (\300) finds à (\340).
    const std::string contenu = "[Dur\351e]\r\nMise \340 jour=3000\r\n";
    EXPECT_EQ(valeur_profil(contenu, "DUR\311E", "MISE \300 JOUR", ""), "3000");
}

TEST(profil_fichier, ecriture_vecteurs_wine) {
    dossier_temporaire dossier;
    const auto chemin = [&](const char* nom) { return dossier.chemin() / nom; };
    ASSERT_TRUE(ecrit_profil(chemin("a.ini"), "App", "key", ""));
    EXPECT_EQ(lit_octets(chemin("a.ini")), "[App]\r\nkey=\r\n");

    const char* suite[][3] = {{"App1", "key1", "string1"},
                              {"App1", "key2", "string2"},
                              {"App1", "key3", "string3"},
                              {"App2", "key4", "string4"},
                              {"App3", "key5", "string5"}};
    for (const auto& [section, cle, valeur] : suite) {
        ASSERT_TRUE(ecrit_profil(chemin("b.ini"), section, cle, valeur));
    }
    EXPECT_EQ(lit_octets(chemin("b.ini")), "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n"
                                           "[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n");

    ecrit_octets(chemin("c.ini"), "[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n");
    ASSERT_TRUE(ecrit_profil(chemin("c.ini"), "s", "name5", "val5"));
    EXPECT_EQ(lit_octets(chemin("c.ini")),
              "[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\nname5=val5\r\n");
    EXPECT_EQ(lit_profil(chemin("c.ini"), "s", "name2", "def"), "");

    ecrit_octets(chemin("d.ini"), "Data before first section");
    ASSERT_TRUE(ecrit_profil(chemin("d.ini"), "section1", "key1", "string1"));
    EXPECT_EQ(lit_octets(chemin("d.ini")), "Data before first section\r\n[section1]\r\nkey1=string1\r\n");

    EXPECT_EQ(lit_profil(chemin("absent.ini"), "s", "k", "default"), "default");
}

TEST(profil_fichier, reecriture_ne_change_que_la_ligne_touchee) {
    dossier_temporaire dossier;
    const fs::path ini = dossier.ini();
    const std::string avant = "; r\351glages \351dit\351s \340 la main\r\n\r\n"
                              "  [ Tarifs ]  ; base\r\n"
                              "Taxe de base   =   30\r\n"
                              "Note=k=12 ;x\n"
                              "[Autre]\r\n"
                              "x = 1\r\n"
                              "   \r\n\r\n"
                              "[Divers]\r\n"
                              "Mise \340 jour=3000";
    ecrit_octets(ini, avant);

    ASSERT_TRUE(ecrit_profil(ini, "tarifs", "TAXE DE BASE", "40"));
    std::string attendu = remplace_tout(avant, "Taxe de base   =   30", "Taxe de base=40");
    EXPECT_EQ(lit_octets(ini), attendu);

    // New keys go after the section's last line, before the blank lines that lead to the next header.
    ASSERT_TRUE(ecrit_profil(ini, "Autre", "y", "2"));
    attendu = remplace_tout(attendu, "x = 1\r\n", "x = 1\r\ny=2\r\n");
    EXPECT_EQ(lit_octets(ini), attendu);

    ASSERT_TRUE(ecrit_profil(ini, "Divers", "z", "  3"));
    attendu += "\r\nz=3\r\n";
    EXPECT_EQ(lit_octets(ini), attendu);

    {
        renommages_refuses refus; // the same value again must leave the file alone, so needs no rename
        ASSERT_TRUE(ecrit_profil(ini, "Autre", "x", "1"));
    }
    EXPECT_EQ(lit_profil(ini, "tarifs", "note", ""), "k=12 ;x");
}

TEST(profil_fichier, valeur_longue_coupee_a_la_lecture_seulement) {
    dossier_temporaire dossier;
    std::string longue(1500, 'a');
    longue[1022] = 'b';
    longue[1023] = 'c';
    ASSERT_TRUE(ecrit_profil(dossier.ini(), "s", "k", longue));
    EXPECT_EQ(lit_octets(dossier.ini()), "[s]\r\nk=" + longue + "\r\n");
    EXPECT_EQ(lit_profil(dossier.ini(), "s", "k", ""), longue.substr(0, 1023));
}

TEST(profil_fichier, ecriture_impossible_laisse_l_ancien_fichier) {
    dossier_temporaire dossier;
    const fs::path repertoire = dossier.chemin() / "dossier.ini";
    fs::create_directory(repertoire);
    EXPECT_FALSE(ecrit_profil(repertoire, "s", "k", "1"));
    EXPECT_TRUE(fs::is_directory(repertoire));

    EXPECT_FALSE(ecrit_profil(dossier.chemin() / "absent" / "Kalvo.ini", "s", "k", "1"));
    EXPECT_FALSE(fs::exists(dossier.chemin() / "absent"));

    ecrit_octets(dossier.ini(), "[s]\r\nk=1\r\n");
    renommages_refuses refus;
    EXPECT_FALSE(ecrit_profil(dossier.ini(), "s", "k", "2"));
    EXPECT_EQ(lit_octets(dossier.ini()), "[s]\r\nk=1\r\n");
    // No temporary file may be left beside the settings.
    EXPECT_EQ(dossier.noms(), (std::set<std::string>{"Kalvo.ini", "dossier.ini"}));
}
