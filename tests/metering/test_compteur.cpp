#include "horloge_factice.h"
#include "metering/compteur.h"
#include "metering/duree_unite.h"

#include <gtest/gtest.h>

namespace {

// Wednesday 4 March 2026.
horodatage mercredi(int h, int m, int s, int ms = 0) {
    return encode_date(2026, 3, 4) + encode_heure(h, m, s, ms);
}

struct cas_periode {
    const char* nom;
    horodatage moment;
    periode attendue;
};

class periode_en_vigueur_test : public testing::TestWithParam<cas_periode> {};

TEST_P(periode_en_vigueur_test, limites_au_milliseme) {
    EXPECT_EQ(periode_en_vigueur(GetParam().moment), GetParam().attendue);
}

INSTANTIATE_TEST_SUITE_P(
    semaine, periode_en_vigueur_test,
    testing::Values(cas_periode{"minuit", mercredi(0, 0, 0), periode::reduite},
                    cas_periode{"huit_heures_pile", mercredi(8, 0, 0, 0), periode::reduite},
                    cas_periode{"huit_heures_et_1ms", mercredi(8, 0, 0, 1), periode::normale},
                    cas_periode{"avant_dix_sept", mercredi(16, 59, 59, 999), periode::normale},
                    cas_periode{"dix_sept_pile", mercredi(17, 0, 0, 0), periode::reduite},
                    cas_periode{"dix_neuf_pile", mercredi(19, 0, 0, 0), periode::reduite},
                    cas_periode{"dix_neuf_et_1ms", mercredi(19, 0, 0, 1), periode::normale},
                    cas_periode{"vingt_et_une_pile", mercredi(21, 0, 0, 0), periode::normale},
                    cas_periode{"vingt_et_une_et_1ms", mercredi(21, 0, 0, 1), periode::reduite},
                    cas_periode{"samedi_midi", encode_date(2026, 3, 7) + encode_heure(12, 0, 0, 0), periode::reduite},
                    cas_periode{"dimanche_midi", encode_date(2026, 3, 8) + encode_heure(12, 0, 0, 0), periode::reduite},
                    cas_periode{"lundi_midi", encode_date(2026, 3, 9) + encode_heure(12, 0, 0, 0), periode::normale}),
    [](const testing::TestParamInfo<cas_periode>& info) { return std::string(info.param.nom); });

// Drives the core the way the main window does: one reading per tick.
struct appel_simule {
    horloge_factice horloge;
    table_zones zones;
    compteur appel;
    int index_zone = 0;

    explicit appel_simule(horodatage debut) : horloge(debut) {}
    void debut() { appel.debut(horloge.maintenant(), zones.taxe_base()); }
    void tick() {
        const horodatage t = horloge.maintenant();
        appel.tick(t, zones.duree_unite(index_zone, periode_en_vigueur(t)));
    }
    void fin() {
        tick();
        appel.fin(horloge.maintenant());
    }
};

} // namespace

TEST(compteur, appel_local_en_periode_normale_tick_par_seconde) {
    appel_simule s(mercredi(10, 0, 0));
    s.debut();
    for (int seconde = 1; seconde <= 200; ++seconde) {
        s.horloge.avance_s(1);
        s.tick();
        const montant attendu = seconde < 99 ? 20 : (seconde < 198 ? 30 : 40);
        ASSERT_EQ(s.appel.montant_appel(), attendu) << "after " << seconde << " s";
    }
    EXPECT_EQ(s.appel.legende(), "Tarif: 0,40 FS");
    s.fin();
    EXPECT_EQ(s.appel.montant_appel(), 40);
    EXPECT_FALSE(s.appel.en_cours());
}

TEST(compteur, la_part_d_unite_courue_passe_a_l_unite_suivante) {
    appel_simule s(mercredi(10, 0, 0));
    s.debut();
    s.horloge.avance_ms(150'500); // 1 unit and 51.5 s of the next
    s.tick();
    EXPECT_EQ(s.appel.montant_appel(), 30);
    s.horloge.avance_ms(47'499); // 98.999 s of the second unit
    s.tick();
    EXPECT_EQ(s.appel.montant_appel(), 30);
    s.horloge.avance_ms(1);
    s.tick();
    EXPECT_EQ(s.appel.montant_appel(), 40);
}

TEST(compteur, appel_fini_avant_le_premier_tick) {
    appel_simule s(mercredi(10, 0, 0));
    s.debut();
    s.horloge.avance_ms(500);
    s.fin();
    EXPECT_EQ(s.appel.montant_appel(), 20);

    appel_simule longue(mercredi(10, 0, 0));
    longue.debut();
    longue.horloge.avance_s(250); // no tick ran, the last one charges the whole units
    longue.fin();
    EXPECT_EQ(longue.appel.montant_appel(), 40);
}

TEST(compteur, une_periode_de_dix_secondes_et_une_unite_d_un_dixieme) {
    appel_simule s(mercredi(10, 0, 0));
    s.zones.ajoute("Rapide", 1, 1);
    s.index_zone = 3;
    s.debut();
    s.horloge.avance_s(10);
    s.tick();
    EXPECT_EQ(s.appel.montant_appel(), 20 + 1000);
}

TEST(compteur, appel_a_cheval_sur_dix_sept_heures) {
    appel_simule s(mercredi(16, 59, 0));
    s.debut();
    s.horloge.avance_s(59); // 16:59:59, normal: 59 s of a 99 s unit
    s.tick();
    EXPECT_EQ(s.appel.montant_appel(), 20);
    s.horloge.avance_s(1); // 17:00:00: 60 s run, measured against the reduced 224 s unit
    s.tick();
    EXPECT_EQ(s.appel.montant_appel(), 20);
    s.horloge.avance_s(163);
    s.tick();
    EXPECT_EQ(s.appel.montant_appel(), 20);
    s.horloge.avance_s(1); // 224 s since the start
    s.tick();
    EXPECT_EQ(s.appel.montant_appel(), 30);
}

TEST(compteur, appel_apres_minuit_et_de_plus_de_24_heures) {
    appel_simule s(mercredi(23, 59, 50));
    s.debut();
    s.horloge.avance_s(20);
    s.tick();
    EXPECT_EQ(s.appel.duree(s.horloge.maintenant()), "00:00:20");
    s.horloge.avance_s(204); // 224 s of the reduced night tariff
    s.tick();
    EXPECT_EQ(s.appel.montant_appel(), 30);

    s.horloge.avance_s(24 * 3600.0 + 60);
    EXPECT_EQ(s.appel.duree(s.horloge.maintenant()), "00:04:44");
    s.fin();
    EXPECT_EQ(s.appel.date_fin(), encode_date(2026, 3, 6));
    EXPECT_EQ(texte_heure(s.appel.heure_fin()), "00:04:34");
}

TEST(compteur, horloge_reculee_derriere_le_dernier_moment_compte_la_valeur_absolue) {
    appel_simule s(mercredi(10, 0, 0));
    s.debut();
    s.horloge.avance_s(-120); // the clock set back two minutes before the first unit
    s.tick();
    EXPECT_EQ(s.appel.montant_appel(), 30);

    appel_simule ete(mercredi(10, 0, 0));
    ete.debut();
    ete.horloge.avance_s(150);
    ete.tick(); // one unit, 51 s carried
    ete.horloge.avance_s(-3600); // back from summer time
    ete.tick();
    EXPECT_EQ(ete.appel.montant_appel(), 30 + 10 * ((3600 - 51) / 99)); // 51 s were already counted
}

TEST(compteur, debut_et_fin_notent_date_et_heure_d_une_seule_lecture) {
    appel_simule s(encode_date(2026, 3, 4) + encode_heure(23, 59, 59, 999));
    s.debut();
    EXPECT_EQ(s.appel.date_debut(), encode_date(2026, 3, 4));
    EXPECT_EQ(texte_heure(s.appel.heure_debut()), "23:59:59");
    EXPECT_EQ(s.appel.montant_appel(), 20);
    EXPECT_TRUE(s.appel.en_cours());
}
