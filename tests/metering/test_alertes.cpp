#include "horloge_factice.h"
#include "metering/alertes.h"

#include <gtest/gtest.h>
#include <string>

namespace {

const char* nom(genre_alerte g) {
    const char* noms[] = {"duree", "cout", "80%", "100%"};
    return noms[static_cast<int>(g)];
}

// A call in Local (99-s units, 20 centimes at the start) on a weekday morning, a tick every periode_ms, and
// what each tick said: "duree@120>60" is the duration alert at 120 s offering an end at 60 s.
struct banc_alertes {
    horloge_factice h;
    compteur appel;
    veille_alertes veille;
    std::string dit;

    void note(const std::vector<alerte>& alertes) {
        const std::int64_t s = (h.ms_continues() - appel.debut_ms()) / 1000;
        for (const alerte& a : alertes) {
            dit += std::string(nom(a.genre)) + "@" + std::to_string(s);
            if (a.genre == genre_alerte::duree) {
                dit += ">" + std::to_string((a.fin_proposee_ms - appel.debut_ms()) / 1000);
            }
            dit += " ";
        }
    }
    void debut(int periode_ms, std::int64_t mois_avant = 0) {
        appel.debut(table_zones().zone(0), 20, h.maintenant(), h.ms_continues(), periode_ms);
        note(veille.debut(appel, [mois_avant](int, int) { return mois_avant; }));
    }
    void parle(int periode_ms, int secondes) {
        for (int t = periode_ms; t <= secondes * 1000; t += periode_ms) {
            h.avance_ms(periode_ms);
            appel.tick(h.maintenant(), h.ms_continues());
            note(veille.tick(appel, h.ms_continues()));
        }
    }
};

} // namespace

// Thresholds reached exactly on a tick or between two, with ticks every second and every ten.
TEST(alertes, seuils_a_la_limite_et_repetition) {
    reglages_alertes une_minute{true, 1, false, 10, false, 100};
    reglages_alertes un_franc{false, 60, true, 1, false, 100};
    reglages_alertes budget{false, 60, false, 10, true, 1};
    struct cas {
        const char* nom;
        reglages_alertes r;
        int periode_ms, secondes;
        std::int64_t mois_avant;
        const char* attendu;
    } table[] = {
        {"59 s", une_minute, 1000, 59, 0, ""},
        {"repeats every minute, 1-s ticks", une_minute, 1000, 185, 0,
         "duree@60>60 duree@120>60 duree@180>60 "},
        {"10-s ticks", une_minute, 10000, 125, 0, "duree@60>60 duree@120>60 "},
        {"2 minutes", {true, 2, false, 10, false, 100}, 10000, 230, 0, "duree@120>120 "},
        // 1,00 FS after eight units (792 s) is not more than 1 FS; 1,10 after nine (891 s) is.
        {"cost, 1-s ticks", un_franc, 1000, 900, 0, "cout@891 "},
        {"cost, 10-s ticks", un_franc, 10000, 900, 0, "cout@900 "},
        {"month at 79 % and 89 % after 98 s", budget, 1000, 98, 59, ""},
        {"80 % at the start, 100 % at 1,00", budget, 1000, 300, 60, "80%@0 100%@198 "},
        {"past 100 % at the start: that alone", budget, 1000, 300, 150, "100%@0 "},
    };
    for (const cas& c : table) {
        banc_alertes b;
        b.veille = veille_alertes(c.r);
        b.debut(c.periode_ms, c.mois_avant);
        b.parle(c.periode_ms, c.secondes);
        EXPECT_EQ(b.dit, c.attendu) << c.nom;
    }
}

TEST(alertes, poursuite_et_reglages_changes_pendant_l_appel) {
    banc_alertes b;
    b.veille = veille_alertes({true, 1, false, 10, false, 100});
    b.debut(1000);
    b.parle(1000, 60);
    b.veille.continue_appel(); // the user was there at the first alert: the next offers an end at 120 s
    b.parle(1000, 70);
    EXPECT_EQ(b.dit, "duree@60>60 duree@120>120 ");
    // At 130 s: 2 minutes passed once and a cost over 0 FS are taken as said; 4 minutes will be said.
    b.dit.clear();
    b.veille.fixe_reglages({true, 2, true, 0, false, 100}, b.appel, b.h.ms_continues());
    b.parle(1000, 120);
    EXPECT_EQ(b.dit, "duree@240>240 ");
}

// A call counts in the month it started in; each level is said once per month.
TEST(alertes, budget_par_mois_a_travers_la_fin_du_mois) {
    banc_alertes b;
    b.h = horloge_factice(encode_date(2026, 1, 31) + encode_heure(23, 58, 0, 0));
    b.veille = veille_alertes({false, 60, false, 10, true, 1});
    std::string mois;
    const auto debut = [&](std::int64_t janvier, std::int64_t fevrier) {
        b.appel.debut(table_zones().zone(0), 20, b.h.maintenant(), b.h.ms_continues(), 1000);
        b.note(b.veille.debut(b.appel, [&](int annee, int m) {
            mois += std::to_string(m) + "." + std::to_string(annee) + " ";
            return m == 1 ? janvier : fevrier;
        }));
    };
    // 224-s units at night. 80 % of January at once, 100 % after midnight: still January's.
    debut(60, 0);
    b.parle(1000, 450);
    b.appel.fin(b.h.maintenant(), b.h.ms_continues());
    debut(260, 0); // February starts afresh: 80 % at 0,80 FS
    b.parle(1000, 1350);
    b.appel.fin(b.h.maintenant(), b.h.ms_continues());
    debut(260, 100); // 80 % of February was said
    EXPECT_EQ(mois, "1.2026 2.2026 2.2026 ");
    EXPECT_EQ(b.dit, "80%@0 100%@448 80%@1344 100%@0 ");
    // What was said is kept across a restart.
    veille_alertes apres({false, 60, false, 10, true, 1});
    apres.reprend_budget_annonce(b.veille.budget_annonce());
    EXPECT_EQ(b.veille.budget_annonce(), 202602100);
    EXPECT_TRUE(apres.debut(b.appel, [](int, int) { return 100; }).empty());
}

// The log is read for the month only with a budget: at "Début", or when one is set during the call.
TEST(alertes, mois_lu_seulement_pour_un_budget) {
    banc_alertes b;
    int lectures = 0;
    b.appel.debut(table_zones().zone(0), 20, b.h.maintenant(), b.h.ms_continues(), 1000);
    b.note(b.veille.debut(b.appel, [&lectures](int, int) { return ++lectures, std::int64_t{90}; }));
    b.parle(1000, 10);
    EXPECT_EQ(lectures, 0);
    b.veille.fixe_reglages({true, 60, false, 10, true, 1}, b.appel, b.h.ms_continues());
    b.parle(1000, 1);
    EXPECT_EQ(lectures, 1);
    EXPECT_EQ(b.dit, "100%@11 "); // 0,90 FS logged and 0,20 FS running pass 1 FS at once
}
