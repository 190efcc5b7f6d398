#include "horloge_factice.h"
#include "metering/compteur.h"
#include "metering/montant.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

// Wednesday 4 March 2026.
horodatage mercredi(int h, int m, int s, int ms = 0) {
    return encode_date(2026, 3, 4) + encode_heure(h, m, s, ms);
}

// Drives the core the way the main window does: one reading per tick. The call starts at once.
struct appel_simule {
    horloge_factice horloge;
    table_zones zones;
    compteur appel;

    explicit appel_simule(horodatage debut) : horloge(debut) {
        appel.debut(horloge.maintenant(), horloge.ms_continues(), zones.taxe_base());
    }
    // Lets time pass, ticks, and gives the charge.
    montant tick_apres_ms(long long ms) {
        horloge.avance_ms(ms);
        appel.tick(horloge.ms_continues(), zones.duree_unite(0, periode_en_vigueur(horloge.maintenant())));
        return appel.montant_appel();
    }
    montant tick_apres_s(double s) { return tick_apres_ms(static_cast<long long>(s * 1000)); }
    void fin_apres_s(double s) {
        tick_apres_s(s);
        appel.fin(horloge.maintenant());
    }
};

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

TEST(compteur, la_part_d_unite_courue_passe_a_l_unite_suivante) {
    appel_simule s(mercredi(10, 0, 0));
    EXPECT_EQ(s.tick_apres_ms(150'500), 30); // 1 unit and 51.5 s of the next
    EXPECT_EQ(s.tick_apres_ms(47'499), 30);  // 98.999 s of the second unit
    EXPECT_EQ(s.tick_apres_ms(1), 40);
}

TEST(compteur, une_periode_de_dix_secondes_et_une_unite_d_un_dixieme) {
    appel_simule s(mercredi(10, 0, 0));
    s.zones.modifie_durees(0, 1, 1);
    EXPECT_EQ(s.tick_apres_s(10), 20 + 1000);
    s.horloge.avance_s(300 * 86400.0); // a machine asleep for 300 days: the charge stops short of wrapping
    EXPECT_EQ(s.tick_apres_s(0), std::numeric_limits<montant>::max());
}

TEST(compteur, le_temps_parle_est_compte_meme_quand_l_heure_change) {
    // Ticks every second of talk; after `a` seconds the wall clock alone moves by `regle` (a clock change),
    // or both clocks by `veille` (the machine sleeps and the call goes on). The wall clock keeps the period
    // and gives the end logged.
    struct cas {
        const char* nom;
        horodatage debut;
        int parle, a, regle, veille;
        montant attendu;
        const char *duree, *fin;
    };
    const cas table[] = {
        {"200 s", mercredi(10, 0, 0), 200, 0, 0, 0, 40, "00:03:20", "04.03.26 10:03:20"},
        {"across 17:00", mercredi(16, 59, 0), 224, 0, 0, 0, 30, "00:03:44", "04.03.26 17:02:44"},
        {"past midnight", mercredi(23, 59, 50), 224, 0, 0, 0, 30, "00:03:44", "05.03.26 00:03:34"},
        {"spring", encode_date(2026, 3, 29) + encode_heure(1, 59, 50, 0), 30, 10, 3600, 0, 20, "00:00:30",
         "29.03.26 03:00:20"},
        {"autumn", encode_date(2026, 10, 25) + encode_heure(2, 30, 0, 0), 4920, 1800, -3600, 0, 230,
         "01:22:00", "25.10.26 02:52:00"},
        {"10 min back", mercredi(10, 0, 0), 200, 100, -600, 0, 40, "00:03:20", "04.03.26 09:53:20"},
        {"10 min on, into the reduced period", mercredi(16, 55, 0), 300, 60, 600, 0, 30, "00:05:00",
         "04.03.26 17:10:00"},
        {"asleep 25 h", mercredi(10, 0, 0), 60, 50, 0, 25 * 3600, 20 + 10 * (90'060 / 99), "01:01:00",
         "05.03.26 11:01:00"},
    };
    for (const cas& c : table) {
        appel_simule s(c.debut);
        for (int seconde = 1; seconde <= c.parle; ++seconde) {
            s.tick_apres_s(1);
            if (seconde == c.a) {
                s.horloge.regle_ms(c.regle * 1000LL);
                s.horloge.avance_s(c.veille);
            }
        }
        s.fin_apres_s(0);
        EXPECT_EQ(s.appel.montant_appel(), c.attendu) << c.nom;
        EXPECT_EQ(s.appel.duree(s.horloge.ms_continues()), c.duree) << c.nom;
        EXPECT_EQ(texte_date(s.appel.date_fin()) + " " + texte_heure(s.appel.heure_fin()), c.fin) << c.nom;
    }
}
