#include "horloge_factice.h"
#include "metering/compteur.h"

#include <gtest/gtest.h>
#include <limits>
#include <tuple>

namespace {

// Wednesday 4 March 2026.
horodatage mercredi(int h, int m, int s, int ms = 0) {
    return encode_date(2026, 3, 4) + encode_heure(h, m, s, ms);
}

// The zones of a fresh start and one added zone, "Europe": 10 s normal, 15 s reduced.
table_zones zones_test() {
    table_zones z;
    z.ajoute("Europe", 100, 150);
    return z;
}

// A call as the main window's timer drives it: a tick every period (re-armed when the period changes), and
// "Fin" after `duree_s` seconds.
struct appel_du_tableau {
    const char* nom;
    horodatage debut;
    int zone;
    int periode_ms;
    int change_a_s; // 0: no change of the update period
    int nouvelle_periode_ms;
    int duree_s;
    montant attendu;
};

// What a record says, to the millisecond.
std::tuple<std::int64_t, std::int64_t, texte, montant> vu(const appel& a) {
    return {en_millisecondes(a.date_debut + a.heure_debut), en_millisecondes(a.date_fin + a.heure_fin),
            a.zone, a.centimes};
}

void parle(compteur& c, horloge_factice& h, const appel_du_tableau& a) {
    const table_zones zones = zones_test();
    c.debut(zones.zone(a.zone), zones.taxe_base(), h.maintenant(), h.ms_continues(), a.periode_ms);
    const std::int64_t debut = h.ms_continues();
    const std::int64_t fin = debut + a.duree_s * 1000LL;
    std::int64_t repere = debut;
    int periode = a.periode_ms;
    for (std::int64_t t = debut + periode; t < fin; t += periode) {
        if (a.change_a_s != 0 && repere == debut && t > debut + a.change_a_s * 1000LL) {
            t = repere = debut + a.change_a_s * 1000LL;
            h.avance_ms(t - h.ms_continues());
            periode = a.nouvelle_periode_ms;
            c.change_periode(periode, t);
            continue;
        }
        h.avance_ms(t - h.ms_continues());
        c.tick(h.maintenant(), t);
    }
    h.avance_ms(fin - h.ms_continues());
    c.fin(h.maintenant(), fin);
}

} // namespace

TEST(compteur, periode_en_vigueur_au_milliseme_pres) {
    const std::pair<horodatage, periode> cas[] = {
        {mercredi(8, 0, 0, 0), periode::reduite},
        {mercredi(8, 0, 0, 1), periode::normale},
        {mercredi(16, 59, 59, 999), periode::normale},
        {mercredi(17, 0, 0, 0), periode::reduite},
        {mercredi(19, 0, 0, 0), periode::reduite},
        {mercredi(19, 0, 0, 1), periode::normale},
        {mercredi(21, 0, 0, 0), periode::normale},
        {mercredi(21, 0, 0, 1), periode::reduite},
        {encode_date(2026, 3, 7) + encode_heure(12, 0, 0, 0), periode::reduite}, // Saturday
        {encode_date(2026, 3, 8) + encode_heure(12, 0, 0, 0), periode::reduite}, // Sunday
        {encode_date(2026, 3, 9) + encode_heure(12, 0, 0, 0), periode::normale}, // Monday
    };
    for (const auto& [moment, attendue] : cas) {
        EXPECT_EQ(periode_en_vigueur(moment), attendue) << texte_date(moment) << " " << texte_heure(moment);
    }
}

// Each row checked by hand: the unit in force is the one of the period at each tick, the part of a unit
// already run carries over, and the charge of "Fin" at any moment is what the meter had then.
TEST(compteur, appels_a_travers_les_changements_de_tarif) {
    const appel_du_tableau table[] = {
        // 08:00:00.000 is reduced: the first normal tick, 08:00:01, finds 121 s run against 99 s.
        {"Local across 08:00", mercredi(7, 58, 0), 0, 1000, 0, 0, 300, 50},
        // Three normal units of 38.4 s by 16:59:56, then 58.8-s units from the 4.8 s already run.
        {"Suburbain across 17:00", mercredi(16, 58, 0), 1, 1000, 0, 0, 240, 70},
        // Ticks every 5 s: 19:00:00 is still reduced (40.6 s), 19:00:05 normal (22.6 s).
        {"Interurbain across 19:00", mercredi(18, 59, 0), 2, 5000, 0, 0, 120, 60},
        // An added zone, ticks every 10 s; 21:00:00.000 is still normal (10 s), then 15-s units.
        {"Europe across 21:00", mercredi(20, 59, 30), 3, 10000, 0, 0, 90, 90},
        // The 99 s talked by 16:59:59 count as a normal unit only if a tick sees them before 17:00.
        {"10-s ticks across 17:00", mercredi(16, 58, 20), 0, 10000, 0, 0, 330, 30},
        {"1-s ticks from 55 s on", mercredi(16, 58, 20), 0, 10000, 55, 1000, 330, 40},
        // An hour, as a forgotten call is ended: 44 reduced units of 40.6 s by 08:00:00, then from the 13.6 s
        // run 80 normal units of 22.6 s.
        {"Interurbain for an hour across 08:00", mercredi(7, 30, 0), 2, 10000, 0, 0, 3600, 1260},
        // 14 reduced units, then 27 normal ones from the 31.6 s run.
        {"Interurbain for 20 min across 08:00", mercredi(7, 50, 0), 2, 1000, 0, 0, 1200, 430},
    };
    for (const appel_du_tableau& a : table) {
        horloge_factice h(a.debut);
        compteur c;
        parle(c, h, a);
        EXPECT_EQ(c.montant_appel(), a.attendu) << a.nom;
        EXPECT_FALSE(c.en_cours()) << a.nom;
        const appel fini = c.enregistrement("motif");
        EXPECT_EQ(texte_heure(fini.heure_fin), texte_heure(a.debut + a.duree_s / 86400.0)) << a.nom;
        EXPECT_EQ(fini.zone, zones_test().nom(a.zone)) << a.nom;

        // Ended at any moment, the call has what "Fin" at that moment would have given it.
        for (int fin_s : {a.duree_s / 3, a.duree_s / 2 + 1, a.duree_s}) {
            horloge_factice h_court(a.debut);
            compteur court;
            appel_du_tableau a_court = a;
            a_court.duree_s = fin_s;
            a_court.change_a_s = a.change_a_s < fin_s ? a.change_a_s : 0;
            parle(court, h_court, a_court);
            const compteur calcule = c.termine_a(h_court.ms_continues());
            EXPECT_FALSE(calcule.en_cours());
            EXPECT_EQ(vu(calcule.enregistrement("")), vu(court.enregistrement("")))
                << a.nom << " ended at " << fin_s;
        }
    }
}

TEST(compteur, deux_appels_de_suite_chacun_sa_zone_et_sa_taxe) {
    horloge_factice h(mercredi(10, 0, 0));
    compteur c;
    parle(c, h, {"Local", mercredi(10, 0, 0), 0, 1000, 0, 0, 200, 40});
    EXPECT_EQ(c.legende(), "Tarif: 0,40 FS");
    // 100 s at 22.6 s: four units on the base charge, not on the last call's amount.
    parle(c, h, {"Interurbain", h.maintenant(), 2, 1000, 0, 0, 100, 60});
    EXPECT_EQ(c.montant_appel(), 60);
    EXPECT_EQ(c.enregistrement("").zone, "Interurbain");
}

TEST(compteur, une_periode_de_dix_secondes_et_une_unite_d_un_dixieme) {
    horloge_factice h(mercredi(10, 0, 0));
    compteur c;
    c.debut({"Rapide", 0.1, 0.1}, 20, h.maintenant(), h.ms_continues(), 10000);
    h.avance_s(10);
    c.tick(h.maintenant(), h.ms_continues());
    EXPECT_EQ(c.montant_appel(), 20 + 1000);
    h.avance_s(300 * 86400.0); // a machine asleep for 300 days: the charge stops short of wrapping
    c.tick(h.maintenant(), h.ms_continues());
    EXPECT_EQ(c.montant_appel(), std::numeric_limits<montant>::max());
}

TEST(compteur, le_temps_parle_est_compte_meme_quand_l_heure_change) {
    // Ticks every second of talk; after `a` seconds the wall clock alone moves by `regle` (a clock change),
    // or both clocks by `veille` (the machine sleeps and the call goes on). The wall clock keeps the period
    // and gives the end logged.
    // Start, seconds talked, `a`, `regle`, `veille`, the charge, the time shown and the end logged.
    const std::tuple<horodatage, int, int, int, int, montant, const char*, const char*> table[] = {
        {mercredi(10, 0, 0), 200, 0, 0, 0, 40, "00:03:20", "04.03.26 10:03:20"},
        {mercredi(23, 59, 50), 224, 0, 0, 0, 30, "00:03:44", "05.03.26 00:03:34"}, // past midnight
        {encode_date(2026, 3, 29) + encode_heure(1, 59, 50, 0), 30, 10, 3600, 0, 20, "00:00:30",
         "29.03.26 03:00:20"}, // spring
        {encode_date(2026, 10, 25) + encode_heure(2, 30, 0, 0), 4920, 1800, -3600, 0, 230, "01:22:00",
         "25.10.26 02:52:00"},                                                        // autumn
        {mercredi(10, 0, 0), 200, 100, -600, 0, 40, "00:03:20", "04.03.26 09:53:20"}, // 10 min back
        {mercredi(16, 55, 0), 300, 60, 600, 0, 30, "00:05:00", "04.03.26 17:10:00"},  // on, into the reduced
        {mercredi(10, 0, 0), 60, 50, 0, 25 * 3600, 20 + 10 * (90'060 / 99), "01:01:00",
         "05.03.26 11:01:00"}, // asleep 25 h
    };
    const table_zones zones;
    for (const auto& [debut, parle, a, regle, veille, attendu, duree, fin] : table) {
        horloge_factice h(debut);
        compteur appel_test;
        appel_test.debut(zones.zone(0), zones.taxe_base(), h.maintenant(), h.ms_continues(), 1000);
        for (int seconde = 1; seconde <= parle; ++seconde) {
            h.avance_s(1);
            appel_test.tick(h.maintenant(), h.ms_continues());
            if (seconde == a) {
                h.regle_ms(regle * 1000LL);
                h.avance_s(veille);
            }
        }
        appel_test.fin(h.maintenant(), h.ms_continues());
        const appel fini = appel_test.enregistrement("");
        EXPECT_EQ(appel_test.montant_appel(), attendu) << fin;
        EXPECT_EQ(appel_test.duree(h.ms_continues()), duree) << fin;
        EXPECT_EQ(texte_date(fini.date_fin) + " " + texte_heure(fini.heure_fin), fin);
    }
}
