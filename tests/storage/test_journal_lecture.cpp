#include "horloge_factice.h"
#include "outils_stockage.h"
#include "storage/journal_lecteur.h"

#include <gtest/gtest.h>
#include <numeric>

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
    // The long reasons differ only past their first 16 characters. A lone LF is part of its line. Each
    // reason is named as first written.
    const std::string medecin = "Rendez-vous chez le m\351decin", medecim = medecin.substr(0, 26) + "m";
    const resultat_totaux t = totaux_de(
        enr("Bureau", "2,50") + enr("Maison", "0,20") + enr("bureau", "0,5") + enr("Bureau ", "1,0") +
        enr("\xC9t\xE9", "0,10") + enr("\xE9T\xC9", "0,1") + enr("", "0,30") + enr(" \t ", "0,4") +
        enr("!", "0,1") + enr("[@", "0,1") + enr("{@", "0,1") + enr("[`", "0,1") + enr(medecin, "1,0") +
        enr("RENDEZ-VOUS CHEZ LE M\311DECIN", "2,0") + enr(medecim, "4,0") + enr("a\nb", "0,2") +
        enr("a b", "0,3"));
    EXPECT_EQ(t.etat, etat_lecture::complet);
    std::string lus;
    for (const total_motif& m : t.motifs) {
        lus += m.motif + "=" + std::to_string(m.centimes) + "|";
    }
    EXPECT_EQ(lus, "Bureau=255|Maison=20|Bureau =100|\xC9t\xE9=11|" + std::string(libelle_motif_vide) +
                       "=34|!=1|[@=1|{@=1|[`=1|" + medecin + "=300|" + medecim + "=400|a\nb=2|a b=3|");
}

TEST(journal_lecture, corruption_et_resultat_partiel) {
    // CR alone ends a line, and nothing after Ctrl-Z is read.
    // The totals stop at the first record whose amount does not read or that has a line longer than
    // longueur_max_ligne (damage, or no line ends at all: memory stays bounded); those before it stand. The
    // pruning refuses such a line, showing where it starts, and leaves the log as it was.
    const std::string a = enr("A", "1,0"), ab = a + enr("B", "2,0");
    std::string tirets_longs = enr("T", "1,0");
    tirets_longs.insert(tirets_longs.size() - 2, longueur_max_ligne + 1 - 41, '-');
    const std::string motif_max(longueur_max_ligne - 24, 'm');
    const struct {
        std::string contenu;
        etat_lecture etat;
        std::int64_t somme;
        std::string debut_ligne_longue = {};
    } table[] = {
        {a + a.substr(0, a.size() - 43), etat_lecture::complet, 200}, // the last one lacks only its dashes
        {ab + enr("C", "3,0").substr(0, 120), etat_lecture::corrompu, 300},   // cut before its amount
        {a + enr("B", "2.0") + enr("C", "3,0"), etat_lecture::corrompu, 100}, // later ones do not count
        {ab.substr(0, ab.size() - 60) + "\x1A" + ab.substr(ab.size() - 60), etat_lecture::corrompu, 100},
        {"", etat_lecture::complet, 0},
        {remplace_tout(a, "\r\n", "\r") + enr("B", "2,0") + "\x1A" + enr("C", "9,0") + "garbage",
         etat_lecture::complet, 300},
        {a + remplace_tout(enr(motif_max, "1,0"), "\r\n", "\r"), etat_lecture::complet,
         200}, // the longest line, CR alone
        {a + enr(motif_max + "m", "1,0"), etat_lecture::corrompu, 100, "Motif de"},
        {a + tirets_longs, etat_lecture::corrompu, 100, "--------"},
        {a + std::string(200'000, '\0'), etat_lecture::corrompu, 100, std::string(8, '\0')}, // sparse
    };
    for (const auto& cas : table) {
        dossier_temporaire dossier;
        ecrit_octets(dossier.journal(), cas.contenu);
        const resultat_totaux t = totalise_motifs(dossier.journal());
        EXPECT_EQ(t.etat, cas.etat);
        const auto ajoute = [](std::int64_t somme, const total_motif& m) { return somme + m.centimes; };
        EXPECT_EQ(std::accumulate(t.motifs.begin(), t.motifs.end(), std::int64_t{0}, ajoute), cas.somme);
        if (!cas.debut_ligne_longue.empty()) {
            const resultat_purge p = purge_avant(dossier.journal(), 1, 1, 100, horloge_factice());
            EXPECT_EQ(p.message, message_date_invalide(cas.debut_ligne_longue));
            EXPECT_EQ(lit_octets(dossier.journal()), cas.contenu);
        }
    }
}

TEST(journal_lecture, montants_lus_par_largeur_fixe) {
    // Written with two centime digits, read back the same; older records' one digit reads as before.
    const std::pair<std::int64_t, std::string> ecrits[] = {
        {105, "1,05"}, {0, "0,00"}, {7, "0,07"}, {120, "1,20"}, {5'000'000'000LL, "50000000,00"}};
    for (const auto& [centimes, texte] : ecrits) {
        EXPECT_EQ(texte_montant(centimes), texte);
        EXPECT_EQ(montant_lu("Montant de la facture : " + texte + " FS"), centimes);
    }
    EXPECT_EQ(texte_montant(-105), "-1,05");
    // The last three characters are dropped unread.
    const std::pair<std::string, std::optional<std::int64_t>> lus[] = {
        {"1,5 FS", 105}, {"0,7 FS", 7},           {" 12, 30 FS", 1230},      {"$A,0 FS", 1000},
        {"1,5XYZ", 105}, {",5 FS", std::nullopt}, {"1,5 ; FS", std::nullopt}};
    for (const auto& [texte, centimes] : lus) {
        EXPECT_EQ(montant_lu("Montant de la facture : " + texte), centimes) << texte;
    }
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
