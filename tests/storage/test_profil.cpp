#include "outils_stockage.h"
#include "storage/fichier_profil.h"

#include <gtest/gtest.h>
#include <tuple>

const std::string longue = std::string(1022, 'a') + "bc" + std::string(476, 'a');

// Wine's conformance vectors and the format's corners, the same whatever the line ends. Ctrl-Z, which some
// editors put last, is a blank; a value is cut to the platform's 1024-byte buffer; É finds é, À finds à.
TEST(profil, lecture) {
    const std::string crlf =
        "a=avant\r\n[v]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nq1='a'\r\nq2=\"a'\r\nq3=\"\r\n"
        "c=12 ;x\r\ne = a=b \r\nvide=\r\nz=12\x1A\r\nl=" +
        longue +
        "\r\n[s]x] suite\r\n[t\r\nk=1\r\nk=2\r\n[S]X]\r\nk=3\r\nm=4\r\n[Dur\351e]\r\nMise \340 jour=3000";
    const std::tuple<const char*, const char*, const char*> cas[] = {
        {"v", "name1", "val1"}, {"v", "NaMe1", "val1"}, {"v", "name2", "val2"},
        {"v", "name3", "def"},  {"v", "absent", "def"}, {"absente", "name1", "def"},
        {"v", "q1", "a"},       {"v", "q2", "\"a'"},    {"v", "q3", "\""},
        {"v", "c", "12 ;x"},    {"v", "e", "a=b"},      {"v", "vide", ""},
        {"v", "z", "12"},       {"s]x", "k", "1"},      {"s]x", "m", "def"},
        {"s]x", "[t", "def"},   {"", "a", "def"},       {"DUR\311E", "MISE \300 JOUR", "3000"}};
    for (const std::string& contenu :
         {crlf, remplace_tout(crlf, "\r\n", "\r"), remplace_tout(crlf, "\r\n", "\n")}) {
        const profil_en_memoire p(contenu);
        for (const auto& [section, cle, attendu] : cas) {
            EXPECT_EQ(p.valeur(section, cle, "def  "), attendu) << section << "/" << cle;
        }
        EXPECT_EQ(p.valeur("v", "l", ""), longue.substr(0, 1023));
    }
}

TEST(profil, ecriture_ne_change_que_la_ligne_touchee) {
    const std::string doublons = "a=avant\r\n[s]x] suite\r\n[t\r\nk=1\r\nk=2\r\n[S]X]\r\nk=3\r\nm=4\r\n";
    const std::string a_la_main =
        "; r\351glages \351dit\351s \340 la main\r\n\r\n  [ Tarifs ]  ; base\r\n"
        "Taxe de base   =   30\r\nNote=k=12 ;x\n[Autre]\r\nx = 1\r\n   \r\n\r\n[Divers]\r\nM=3";
    const std::string wine = "[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n";
    const std::tuple<std::string, const char*, const char*, std::string, std::string> cas[] = {
        {"", "App", "key", "", "[App]\r\nkey=\r\n"},
        {wine, "s", "name5", "val5", wine + "name5=val5\r\n"},
        {"Data before first section", "section1", "key1", "string1",
         "Data before first section\r\n[section1]\r\nkey1=string1\r\n"},
        {doublons, "S]X", "K", "9", remplace_tout(doublons, "k=1", "k=9")},
        {doublons, "s]x", "m", "5", remplace_tout(doublons, "k=2\r\n", "k=2\r\nm=5\r\n")},
        {a_la_main, "tarifs", "TAXE DE BASE", "40",
         remplace_tout(a_la_main, "Taxe de base   =   30", "Taxe de base=40")},
        // New keys go after the section's last line, before the blank lines that lead to the next header.
        {a_la_main, "Autre", "y", "2", remplace_tout(a_la_main, "x = 1\r\n", "x = 1\r\ny=2\r\n")},
        {a_la_main, "Divers", "z", "  3", a_la_main + "\r\nz=3\r\n"},
        {a_la_main, "Autre", "x", "1", a_la_main}}; // the same value again
    for (const auto& [avant, section, cle, valeur, apres] : cas) {
        EXPECT_EQ(profil_modifie(avant, section, cle, valeur), apres) << section << "/" << cle;
    }
}

// A save applies many keys to one parsed text; each must land exactly where a write of that key alone, on
// the file as the previous writes left it, puts it.
TEST(profil, plusieurs_cles_comme_une_a_une) {
    const std::string fichiers[] = {
        "", "sans fin de ligne", "[A]\n1=a\r\r\n \r\n\r\n[M]\r\n[a]\r\nx=doublon\r\n; fin\r\n[D]",
        "\r\n\r\n[m]\r\n1=un\r\n   \x1A\r\n; c\r\n\r\n[t\r\n[D]\r\nMise=1000\r\n\n"};
    const std::tuple<const char*, const char*, const char*> ecritures[] = {
        {"D", "MISE", "3000"}, {"M", "1", "un"},     {"M", "2", " deux "}, {"A", "a=b", "1"},
        {"A", "a", "2"},       {"A", ";c", "x"},     {"M", "[t", "]"},     {"M", "3", "trois\r\n4"},
        {"N", "k", "v"},       {"m", "4", "quatre"}, {"A", "1", "z"},      {"N", "K", "w"}};
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
