#include "outils_stockage.h"
#include "storage/journal_corrections.h"

#include <functional>
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

TEST(journal_corrections, chaque_correction_puis_son_annulation) {
    const auto renomme = [](const fs::path& j) {
        return change_motif(identites(j, {1, 3}), "Dossier M\xFCller");
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
    const struct {
        std::function<correction(const fs::path&)> corrige;
        texte attendu;
    } table[] = {
        {renomme, a + enr({2026, 3, 2, 10}, {2026, 3, 2, 10, 5}, "Dossier M\xFCller", 50) + c +
                      enr({2026, 3, 4, 10}, {2026, 3, 4, 10, 5}, "Dossier M\xFCller", 50)},
        {supprime, a + d},
        {fin, a + b + enr({2026, 3, 3, 9}, {2026, 3, 3, 9, 5}, "Dossier M\xFCller", 80) + d},
    };
    for (const auto& cas : table) {
        dossier_temporaire dossier;
        ecrit_octets(dossier.journal(), journal_initial);
        const resultat_correction r = applique(dossier.journal(), cas.corrige(dossier.journal()));
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_EQ(lit_octets(dossier.journal()), cas.attendu);
        ASSERT_TRUE(applique(dossier.journal(), r.inverse).ok);
        EXPECT_EQ(lit_octets(dossier.journal()), journal_initial);
        EXPECT_EQ(dossier.noms(), (std::set<std::string>{"sauve.tax", "sauve.tax.verrou"}));
    }
}

TEST(journal_corrections, refusees_sans_rien_changer) {
    dossier_temporaire dossier;
    ecrit_octets(dossier.journal(), journal_initial);
    identite_appel absent = identites(dossier.journal(), {1})[0];
    absent.occurrence = 1; // a second record of the same bytes
    const texte corrompu = journal_initial + enregistrement_brut("Fin", "x", "1.0");
    const struct {
        texte contenu;
        correction corr;
        std::string_view message;
    } table[] = {
        {journal_initial, supprime_appels({absent}), message_appel_disparu},
        {corrompu, change_motif(identites(dossier.journal(), {0}), "x"), message_correction_journal_corrompu},
    };
    for (const auto& cas : table) {
        ecrit_octets(dossier.journal(), cas.contenu);
        const resultat_correction r = applique(dossier.journal(), cas.corr);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, cas.message);
        EXPECT_EQ(lit_octets(dossier.journal()), cas.contenu);
    }
    // The end of a call: its zone must still exist, the end follow its start by at most seven days.
    texte europe = c;
    europe.replace(europe.find("Local"), 5, "Europe");
    texte debut_illisible = c;
    debut_illisible.replace(debut_illisible.find("03.03.26"), 8, "3.3.26  ");
    const struct {
        texte brut;
        date_heure fin;
        std::string message;
    } fins[] = {
        {europe,
         {2026, 3, 3, 9, 5},
         "La zone « Europe » n'existe plus : le montant de l'appel ne peut pas être "
         "calculé à nouveau."},
        {c, {2026, 3, 3, 8, 59, 59}, std::string(message_fin_hors_limites)},
        {c, {2026, 3, 10, 9, 0, 1}, std::string(message_fin_hors_limites)},
        {debut_illisible, {2026, 3, 3, 9, 5}, std::string(message_debut_illisible)},
    };
    for (const auto& f : fins) {
        EXPECT_EQ(corrige_fin({f.brut, 0}, encode(f.fin), table_zones(), 1000, 2026).message, f.message);
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

TEST(journal_corrections, enregistrements_identiques_distingues_par_leur_ordre) {
    const texte b_x = enr({2026, 3, 2, 10}, {2026, 3, 2, 10, 5}, "X", 50);
    const struct {
        std::vector<std::size_t> places;
        texte attendu;
    } table[] = {{{1}, b + b_x + c}, {{0}, b_x + b + c}, {{0, 1}, b_x + b_x + c}};
    for (const auto& cas : table) {
        dossier_temporaire dossier;
        ecrit_octets(dossier.journal(), b + b + c);
        const resultat_correction r =
            applique(dossier.journal(), change_motif(identites(dossier.journal(), cas.places), "X"));
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(lit_octets(dossier.journal()), cas.attendu);
        ASSERT_TRUE(applique(dossier.journal(), r.inverse).ok);
        EXPECT_EQ(lit_octets(dossier.journal()), b + b + c);
    }
}
