#include "outils_stockage.h"
#include "storage/journal_corrections.h"

#include <gtest/gtest.h>

namespace {

const auto enr = enregistrement_de;
const texte a = enr({2025, 12, 10, 9}, {2025, 12, 10, 9, 5}, "Ancien", 50);
const texte b = enr({2026, 3, 2, 10}, {2026, 3, 2, 10, 5}, "Dossier M\xFCler", 50);
// Tuesday 3 March 2026, a Local call left running from 09:00 to 15:00.
const texte c = enr({2026, 3, 3, 9}, {2026, 3, 3, 15}, "Dossier M\xFCller", 2200);
const texte d = enr({2026, 3, 4, 10}, {2026, 3, 4, 10, 5}, "Dossier M\xFCler", 50);
const texte journal_initial = a + b + c + d;

std::vector<identite_appel> identites(const fs::path& journal, std::vector<std::size_t> places) {
    const lecture_appels l = lit_appels(journal, {}, 2026);
    std::vector<identite_appel> r;
    for (const std::size_t p : places) {
        r.push_back(l.appels.at(p).identite());
    }
    return r;
}

resultat_correction applique(const fs::path& journal, const correction& corr) {
    return applique_correction(journal, corr, 2026);
}

} // namespace

// Each correction, then its inverse; records with the same bytes are told apart by their order.
TEST(journal_corrections, chaque_correction_puis_son_annulation) {
    const auto renomme = [](std::vector<std::size_t> places, const texte& motif) {
        return [=](const fs::path& j) { return change_motif(identites(j, places), motif); };
    };
    const auto supprime = [](const fs::path& j) { return supprime_appels(identites(j, {1, 2})); };
    const auto fin = [](const fs::path& j) {
        table_zones tarifs_du_jour;
        tarifs_du_jour.applique({30, {600, 384, 226}, {2240, 588, 406}}); // Local: 60 s a unit
        const fin_corrigee f =
            corrige_fin(identites(j, {2})[0], encode({2026, 3, 3, 9, 5}), tarifs_du_jour, 1000, 2026);
        EXPECT_EQ(f.centimes, 80); // 30 + 5 units of 60 s
        return f.a_appliquer;
    };
    const texte b_x = enr({2026, 3, 2, 10}, {2026, 3, 2, 10, 5}, "X", 50);
    const struct {
        texte avant;
        std::function<correction(const fs::path&)> corrige;
        texte attendu;
    } table[] = {
        {journal_initial, renomme({1, 3}, "Dossier M\xFCller"),
         a + enr({2026, 3, 2, 10}, {2026, 3, 2, 10, 5}, "Dossier M\xFCller", 50) + c +
             enr({2026, 3, 4, 10}, {2026, 3, 4, 10, 5}, "Dossier M\xFCller", 50)},
        {journal_initial, supprime, a + d},
        {journal_initial, fin, a + b + enr({2026, 3, 3, 9}, {2026, 3, 3, 9, 5}, "Dossier M\xFCller", 80) + d},
        {b + b + c, renomme({1}, "X"), b + b_x + c},
        {b + b + c, renomme({0}, "X"), b_x + b + c},
        {b + b + c, renomme({0, 1}, "X"), b_x + b_x + c},
    };
    for (const auto& cas : table) {
        dossier_temporaire dossier;
        ecrit_octets(dossier.journal(), cas.avant);
        const resultat_correction r = applique(dossier.journal(), cas.corrige(dossier.journal()));
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_EQ(lit_octets(dossier.journal()), cas.attendu);
        ASSERT_TRUE(applique(dossier.journal(), r.inverse).ok);
        EXPECT_EQ(lit_octets(dossier.journal()), cas.avant);
        EXPECT_EQ(dossier.noms(), (std::set<std::string>{"sauve.tax", "sauve.tax.verrou"}));
    }
}

TEST(journal_corrections, refusees_sans_rien_changer) {
    dossier_temporaire dossier;
    ecrit_octets(dossier.journal(), journal_initial);
    identite_appel absent = identites(dossier.journal(), {1})[0];
    absent.occurrence = 1; // a second record of the same bytes
    const texte corrompu = journal_initial + enregistrement_brut("Fin", "x", "1.0");
    const std::tuple<texte, correction, std::string_view> table[] = {
        {journal_initial, supprime_appels({absent}), message_appel_disparu},
        {corrompu, change_motif(identites(dossier.journal(), {0}), "x"), message_correction_journal_corrompu},
    };
    for (const auto& [contenu, corr, message] : table) {
        ecrit_octets(dossier.journal(), contenu);
        const resultat_correction r = applique(dossier.journal(), corr);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, message);
        EXPECT_EQ(lit_octets(dossier.journal()), contenu);
    }
    // The end of a call: its zone must still exist, the end follow its start by at most seven days.
    texte europe = c;
    europe.replace(europe.find("Local"), 5, "Europe");
    texte debut_illisible = c;
    debut_illisible.replace(debut_illisible.find("03.03.26"), 8, "3.3.26  ");
    const std::tuple<texte, date_heure, std::string> fins[] = {
        {europe,
         {2026, 3, 3, 9, 5},
         "La zone « Europe » n'existe plus : le montant de l'appel ne peut pas être "
         "calculé à nouveau."},
        {c, {2026, 3, 3, 8, 59, 59}, std::string(message_fin_hors_limites)},
        {c, {2026, 3, 10, 9, 0, 1}, std::string(message_fin_hors_limites)},
        {debut_illisible, {2026, 3, 3, 9, 5}, std::string(message_debut_illisible)},
    };
    for (const auto& [brut, fin, message] : fins) {
        EXPECT_EQ(corrige_fin({brut, 0}, encode(fin), table_zones(), 1000, 2026).message, message);
    }
}

TEST(journal_corrections, annulees_apres_la_purge_d_un_autre_programme) {
    dossier_temporaire dossier;
    ecrit_octets(dossier.journal(), journal_initial);
    const resultat_correction renomme =
        applique(dossier.journal(), change_motif(identites(dossier.journal(), {2}), "Client"));
    const resultat_correction supprime =
        applique(dossier.journal(), supprime_appels(identites(dossier.journal(), {1})));
    ASSERT_TRUE(renomme.ok && supprime.ok);
    // Meanwhile kalvo-journal prunes 2025 and Kalvo logs a call.
    const std::string commande =
        std::string(KALVO_JOURNAL) + " purge 01.01.2026 " + dossier.journal().string();
    ASSERT_EQ(std::system(commande.c_str()), 0);
    const texte e = enr({2026, 3, 5, 10}, {2026, 3, 5, 10, 1}, "Nouveau", 30);
    ASSERT_TRUE(ajoute_enregistrements(dossier.journal(), e).ok);

    // Newest first. The call deleted goes back before the first call that started after it.
    ASSERT_TRUE(applique(dossier.journal(), supprime.inverse).ok);
    ASSERT_TRUE(applique(dossier.journal(), renomme.inverse).ok);
    EXPECT_EQ(lit_octets(dossier.journal()), b + c + d + e);
}
