#include "storage/fichier_profil.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

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
        const profil_en_memoire p(contenu);
        EXPECT_EQ(p.valeur("section1", "name1", "default"), "val1");
        EXPECT_EQ(p.valeur("section1", "NaMe1", "default"), "val1");
        EXPECT_EQ(p.valeur("section1", "name2", "default"), "val2");
        EXPECT_EQ(p.valeur("section1", "name3", "default"), "default");
        EXPECT_EQ(p.valeur("notasection", "name1", "default"), "default");
        EXPECT_EQ(p.valeur("section1", "name4", "default  "), "a");
        EXPECT_EQ(p.valeur("section1", "notakey", "default  "), "default");
    }
}

TEST(profil_lecture, valeurs_guillemets_et_separateurs) {
    // Ctrl-Z (0x1A) is a blank: an editor that ends the file with one leaves the value unchanged.
    const profil_en_memoire p(
        "[v]\r\nq1='a'\r\nq2=\"a'\r\nq3=\"\r\nc=12 ;x\r\ne = a=b \r\nvide=\r\nz=12\x1A\r\n"
        "[Dur\351e]\r\nMise \340 jour=3000\x1A");
    const std::tuple<const char*, const char*, const char*> cas[] = {
        {"v", "q1", "a"},
        {"v", "q2", "\"a'"},
        {"v", "q3", "\""},
        {"v", "c", "12 ;x"},
        {"v", "e", "a=b"},
        {"v", "vide", ""},
        {"v", "z", "12"},
        {"DUR\311E", "MISE \300 JOUR", "3000"}, // É (\311) finds é (\351), À (\300) finds à (\340)
    };
    for (const auto& [section, cle, attendu] : cas) {
        EXPECT_EQ(p.valeur(section, cle, "def"), attendu) << cle;
    }
}

TEST(profil_lecture, entetes_et_doublons) {
    // The last "]" closes the name; "[t" has none, so it is an entry; lines before any header are out of
    // reach.
    const std::string contenu = "a=avant\r\n[s]x] suite\r\n[t\r\nk=1\r\nk=2\r\n[S]X]\r\nk=3\r\nm=4\r\n";
    const profil_en_memoire p(contenu);
    EXPECT_EQ(p.valeur("s]x", "k", "def"), "1");
    EXPECT_EQ(p.valeur("s]x", "m", "def"), "def");
    EXPECT_EQ(p.valeur("s]x", "[t", "def"), "def");
    EXPECT_EQ(p.valeur("", "a", "def"), "def");

    EXPECT_EQ(profil_modifie(contenu, "S]X", "K", "9"),
              "a=avant\r\n[s]x] suite\r\n[t\r\nk=9\r\nk=2\r\n[S]X]\r\nk=3\r\nm=4\r\n");
    EXPECT_EQ(profil_modifie(contenu, "s]x", "m", "5"),
              "a=avant\r\n[s]x] suite\r\n[t\r\nk=1\r\nk=2\r\nm=5\r\n[S]X]\r\nk=3\r\nm=4\r\n");
}

TEST(profil_ecriture, vecteurs_wine) {
    EXPECT_EQ(profil_modifie("", "App", "key", ""), "[App]\r\nkey=\r\n");
    profil_en_memoire p;
    const char* suite[][3] = {{"App1", "key1", "string1"},
                              {"App1", "key2", "string2"},
                              {"App1", "key3", "string3"},
                              {"App2", "key4", "string4"},
                              {"App3", "key5", "string5"}};
    for (const auto& [section, cle, valeur] : suite) {
        p.ecrit(section, cle, valeur);
    }
    EXPECT_EQ(p.contenu(), "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n"
                           "[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n");
    EXPECT_EQ(profil_modifie("[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n", "s", "name5", "val5"),
              "[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\nname5=val5\r\n");
    EXPECT_EQ(profil_modifie("Data before first section", "section1", "key1", "string1"),
              "Data before first section\r\n[section1]\r\nkey1=string1\r\n");
}

TEST(profil_ecriture, ne_change_que_la_ligne_touchee) {
    const std::string avant = "; r\351glages \351dit\351s \340 la main\r\n\r\n"
                              "  [ Tarifs ]  ; base\r\n"
                              "Taxe de base   =   30\r\n"
                              "Note=k=12 ;x\n"
                              "[Autre]\r\n"
                              "x = 1\r\n"
                              "   \r\n\r\n"
                              "[Divers]\r\n"
                              "Mise \340 jour=3000";
    profil_en_memoire p(avant);
    EXPECT_TRUE(p.ecrit("tarifs", "TAXE DE BASE", "40"));
    // New keys go after the section's last line, before the blank lines that lead to the next header.
    EXPECT_TRUE(p.ecrit("Autre", "y", "2"));
    EXPECT_TRUE(p.ecrit("Divers", "z", "  3"));
    EXPECT_FALSE(p.ecrit("Autre", "x", "1")); // the same value again changes nothing
    std::string attendu = remplace_tout(avant, "Taxe de base   =   30", "Taxe de base=40");
    attendu = remplace_tout(attendu, "x = 1\r\n", "x = 1\r\ny=2\r\n") + "\r\nz=3\r\n";
    EXPECT_EQ(p.contenu(), attendu);
    EXPECT_EQ(p.valeur("tarifs", "note", ""), "k=12 ;x");

    // A value longer than the platform's buffer is written whole and read cut.
    std::string longue(1500, 'a');
    longue[1022] = 'b';
    longue[1023] = 'c';
    EXPECT_EQ(profil_modifie("", "s", "k", longue), "[s]\r\nk=" + longue + "\r\n");
    EXPECT_EQ(valeur_profil("[s]\r\nk=" + longue, "s", "k", ""), longue.substr(0, 1023));
}

// A save applies many keys to one parsed text; each must land exactly where a write of that key alone, on
// the file as the previous writes left it, puts it.
TEST(profil_ecriture, plusieurs_cles_comme_une_a_une) {
    const std::string fichiers[] = {
        "",
        "sans fin de ligne",
        "[Ajouts]\n1=a\r\r\n \r\n\r\n[Memento]\r\n[AJOUTS]\r\nx=doublon\r\n; fin\r\n[Divers]",
        "\r\n\r\n[memento]\r\n1=un\r\n   \x1A\r\n; c\r\n\r\n[t\r\n[Divers]\r\nMise \340 jour=1000\r\n\n",
    };
    const std::vector<std::tuple<std::string, std::string, std::string>> ecritures = {
        {"Divers", "Mise \340 jour", "3000"},
        {"Memento", "1", "un"},
        {"Memento", "2", " deux "},
        {"Ajouts", "a=b", "1"},
        {"Ajouts", "a", "2"},
        {"Ajouts", ";c", "x"},
        {"Memento", "[t", "]"},
        {"Memento", "3", "trois\r\n4"},
        {"Nouvelle", "k", "v"},
        {"memento", "4", "quatre"},
        {"Ajouts", "1", "z"},
        {"Nouvelle", "K", "w"},
    };
    for (const std::string& fichier : fichiers) {
        profil_en_memoire ensemble(fichier);
        std::string une_a_une = fichier;
        for (const auto& [section, cle, valeur] : ecritures) {
            ensemble.ecrit(section, cle, valeur);
            une_a_une = profil_modifie(une_a_une, section, cle, valeur);
            EXPECT_EQ(ensemble.valeur(section, cle, "?"), valeur_profil(une_a_une, section, cle, "?"));
        }
        EXPECT_EQ(ensemble.contenu(), une_a_une) << fichier;
    }
}
