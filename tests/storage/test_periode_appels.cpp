#include "outils_stockage.h"
#include "storage/periode_appels.h"

#include <gtest/gtest.h>

namespace {

const auto enr = enregistrement_de;

std::int64_t j(int annee, int mois, int jour) {
    return jours_depuis_origine(annee, mois, jour);
}

} // namespace

TEST(periode_appels, mois_et_dates_saisis) {
    using o = std::optional<std::string_view>;
    const std::tuple<o, o, o, periode_appels, std::string> table[] = {
        {{}, {}, "02.2024", {j(2024, 2, 1), j(2024, 2, 29)}, ""},
        {{}, {}, "2.26", {j(2026, 2, 1), j(2026, 2, 28)}, ""},
        {{}, {}, "04.2026", {j(2026, 4, 1), j(2026, 4, 30)}, ""},
        {"01.03.2026", {}, {}, {j(2026, 3, 1), {}}, ""},
        {{}, "29.02.2024", {}, {{}, j(2024, 2, 29)}, ""},
        {{}, {}, "13.2026", {}, "« 13.2026 » n'est pas un mois valide (MM.AAAA)"},
        {{}, {}, "29.02.2024", {}, "« 29.02.2024 » n'est pas un mois valide (MM.AAAA)"},
        {"29.02.2025", {}, {}, {}, "« 29.02.2025 » n'est pas une date valide"},
        {{}, "", {}, {}, "«  » n'est pas une date valide"},
        {"06.03.2026", "05.03.2026", {}, {}, std::string(message_periode_a_l_envers)},
        {"01.03.2026", {}, "03.2026", {}, std::string(message_mois_et_dates)},
    };
    for (const auto& [du, au, mois, attendue, message] : table) {
        const periode_saisie p = lit_periode(du, au, mois, 2026);
        EXPECT_EQ(p.message, message) << du.value_or("") << au.value_or("") << mois.value_or("");
        if (message.empty()) {
            EXPECT_EQ(p.periode.du, attendue.du);
            EXPECT_EQ(p.periode.au, attendue.au);
        }
    }
    const horodatage janvier = encode_date(2026, 1, 15);
    EXPECT_EQ(periode_choisie(choix_periode::mois_dernier, janvier).du, j(2025, 12, 1));
    EXPECT_EQ(periode_choisie(choix_periode::cette_annee, janvier).au, j(2026, 12, 31));
    EXPECT_EQ(description_periode(periode_choisie(choix_periode::ce_mois, janvier)),
              "appels commencés du 01.01.2026 au 31.01.2026");
}

TEST(periode_appels, releve_au_jour_du_debut_avec_le_temps_de_conversation) {
    dossier_temporaire dossier;
    // Over midnight into April; on 29 February; in 1997 (two-digit year 97); an end before its start (a clock
    // set back) talks no time.
    ecrit_octets(dossier.journal(), enr({2026, 3, 31, 23, 50}, {2026, 4, 1, 0, 10, 5}, "Bureau", 120) +
                                        enr({2024, 2, 29, 9}, {2024, 2, 29, 10}, "Client", 500) +
                                        enr({1997, 3, 3, 9}, {1997, 3, 3, 9, 1}, "Bureau", 30) +
                                        enr({2026, 3, 2, 8}, {2026, 3, 2, 7, 59}, "bureau", 5) +
                                        enr({2026, 4, 1, 8}, {2026, 4, 1, 9, 0, 1}, "", 20));
    const std::pair<periode_appels, std::string> table[] = {
        {periode_mois(2026, 3), "Bureau 125 2 0:20:05|total 125 2 0:20:05"},
        {periode_mois(2026, 4), std::string(libelle_motif_vide) + " 20 1 1:00:01|total 20 1 1:00:01"},
        {periode_mois(2024, 2), "Client 500 1 1:00:00|total 500 1 1:00:00"},
        {{j(1997, 3, 3), j(1997, 3, 3)}, "Bureau 30 1 0:01:00|total 30 1 0:01:00"},
        {periode_mois(2026, 5), "total 0 0 0:00:00"},
        {{{}, j(2024, 2, 29)}, "Client 500 1 1:00:00|Bureau 30 1 0:01:00|total 530 2 1:01:00"},
        {{},
         "Bureau 155 3 0:21:05|Client 500 1 1:00:00|" + std::string(libelle_motif_vide) +
             " 20 1 1:00:01|total 675 5 2:21:06"},
    };
    for (const auto& [periode, attendu] : table) {
        const releve_periode r = releve(dossier.journal(), periode, 2026);
        std::string lu;
        for (const total_motif& t : r.motifs) {
            lu += t.motif + " " + std::to_string(t.centimes) + " " + std::to_string(t.appels) + " " +
                  texte_duree(t.secondes) + "|";
        }
        lu += "total " + std::to_string(r.total.centimes) + " " + std::to_string(r.total.appels) + " " +
              texte_duree(r.total.secondes);
        EXPECT_EQ(r.lecture.etat, etat_lecture::complet);
        EXPECT_EQ(lu, attendu);
    }
}

TEST(periode_appels, appels_lus_avec_leur_identite_et_la_ligne_du_dommage) {
    dossier_temporaire dossier;
    const texte a = enr({2026, 3, 4, 10}, {2026, 3, 4, 10, 5}, "Bureau", 50);
    texte date_illisible = enr({2026, 3, 5, 10}, {2026, 3, 5, 11}, "x", 10);
    date_illisible.replace(date_illisible.find("05.03.26"), 8, "05.3.26 ");
    const texte montant_faux = enregistrement_brut("Fin", "y", "1.0");
    // What is read: its state, the damaged line, how many calls, the last one's occurrence.
    using lu = std::tuple<etat_lecture, std::int64_t, std::size_t, std::int64_t>;
    const std::tuple<std::string, periode_appels, lu> table[] = {
        {a + a + montant_faux, {}, {etat_lecture::corrompu, 17, 2, 1}},
        {a + date_illisible + a, periode_mois(2026, 3), {etat_lecture::corrompu, 7, 1, 0}},
        {a + date_illisible + a, {}, {etat_lecture::complet, 0, 3, 1}}, // no bound: the date is not needed
    };
    for (const auto& [contenu, periode, attendu] : table) {
        ecrit_octets(dossier.journal(), contenu);
        const lecture_appels l = lit_appels(dossier.journal(), periode, 2026);
        ASSERT_FALSE(l.appels.empty());
        EXPECT_EQ(
            lu(l.lecture.etat, l.lecture.ligne_fautive, l.appels.size(), l.appels.back().identite().occurrence),
            attendu);
        const appel_journal& p = l.appels[0];
        EXPECT_EQ(p.identite(), (identite_appel{a, 0}));
        EXPECT_EQ(std::tuple(p.zone(), p.motif(), p.jour, p.debut, p.fin, p.duree, p.centimes),
                  std::tuple("Local", "Bureau", j(2026, 3, 4), 36000, 36300, 300, 50));
        // The same calls and damage taken from a reading of the whole log, as the window switches periods.
        const appels_periode p2 = appels_de_la_periode(lit_appels(dossier.journal(), {}, 2026), periode);
        EXPECT_EQ(std::tuple(p2.lecture.etat, p2.lecture.ligne_fautive, p2.places.size()),
                  std::tuple(std::get<0>(attendu), std::get<1>(attendu), std::get<2>(attendu)));
    }
}

// Choosing reasons in the window's per-reason table: their calls in the order of the log, and their sum.
TEST(periode_appels, motifs_choisis_filtrent_les_appels_et_les_somment) {
    dossier_temporaire dossier;
    ecrit_octets(dossier.journal(), enr({2026, 3, 2, 9}, {2026, 3, 2, 9, 1}, "Bureau", 250) +
                                        enr({2026, 3, 2, 10}, {2026, 3, 2, 10, 2}, "Famille", 40) +
                                        enr({2026, 3, 3, 9}, {2026, 3, 3, 9, 3}, "BUREAU", 5) +
                                        enr({2026, 3, 3, 11}, {2026, 3, 3, 11}, " ", 20));
    const lecture_appels l = lit_appels(dossier.journal(), {}, 2026);
    const appels_par_motif p = regroupe_par_motif(l.appels, {0, 1, 2, 3});
    ASSERT_EQ(p.motifs.size(), 3U);
    EXPECT_EQ(p.motifs[2].motif, libelle_motif_vide);
    EXPECT_EQ(p.motif_de, (std::vector<std::size_t>{0, 1, 0, 2}));
    const struct {
        std::vector<std::size_t> choisis, appels;
        std::int64_t centimes, nombre, secondes;
    } table[] = {
        {{}, {0, 1, 2, 3}, 0, 0, 0},            // nothing chosen: every call, no sum
        {{0}, {0, 2}, 255, 2, 240},             // one reason, whatever its letter case in the log
        {{2, 0, 0}, {0, 2, 3}, 275, 3, 240},    // in the order of the log, a reason chosen twice counted once
        {{1, 2, 0}, {0, 1, 2, 3}, 315, 4, 360}, // all of them: the total
    };
    EXPECT_EQ(std::tuple(somme_appels(l.appels, {3, 0}).centimes, somme_appels(l.appels, {3, 0}).secondes),
              std::tuple(270, 60));
    for (const auto& c : table) {
        const choix_motifs choix = choisit_motifs(p, c.choisis);
        EXPECT_EQ(choix.appels, c.appels);
        EXPECT_EQ(std::tuple(choix.somme.centimes, choix.somme.appels, choix.somme.secondes),
                  std::tuple(c.centimes, c.nombre, c.secondes));
    }
}
