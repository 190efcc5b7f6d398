#include "metering/duree_unite.h"
#include "metering/horodatage.h"
#include "metering/montant.h"
#include "metering/texte_1252.h"

#include <gtest/gtest.h>

TEST(texte_montant, centimes_sans_zero_de_tete) {
    EXPECT_EQ(texte_montant(120), "1,20");
    EXPECT_EQ(texte_montant(105), "1,5");
    EXPECT_EQ(texte_montant(100), "1,0");
    EXPECT_EQ(texte_montant(7), "0,7");
    EXPECT_EQ(texte_montant(0), "0,0");
    EXPECT_EQ(texte_montant(5'000'000'000LL), "50000000,0");
}

TEST(horodatage, origine_et_jours_de_la_semaine) {
    EXPECT_EQ(encode_date(1899, 12, 30), 0.0);
    EXPECT_EQ(encode_date(1900, 1, 1), 2.0);
    EXPECT_EQ(encode_date(2026, 3, 5), 46086.0);
    EXPECT_EQ(jour_semaine(encode_date(1899, 12, 30)), 7); // a Saturday
    EXPECT_EQ(jour_semaine(encode_date(2026, 3, 1)), 1);   // a Sunday
    EXPECT_EQ(jour_semaine(encode_date(1997, 3, 3)), 2);   // a Monday
    EXPECT_EQ(jour_semaine(encode_date(2026, 12, 6) + encode_heure(23, 59, 59, 999)), 1);
}

TEST(horodatage, textes_a_largeur_fixe) {
    const horodatage t = encode_date(1997, 3, 3) + encode_heure(9, 5, 7, 0);
    EXPECT_EQ(texte_date(t), "03.03.97");
    EXPECT_EQ(texte_heure(t), "09:05:07");
    EXPECT_EQ(texte_date(encode_date(2000, 1, 9)), "09.01.00");
    // Half a millisecond before midnight rounds to the next day, not to 23:59:60.
    const horodatage presque = encode_date(2026, 3, 4) + (ms_par_jour - 0.4) / ms_par_jour;
    EXPECT_EQ(texte_heure(presque), "00:00:00");
    EXPECT_EQ(texte_date(presque), "05.03.26");
}

TEST(horodatage, decode_au_milliseme) {
    const horodatage t = encode_date(2026, 2, 28) + encode_heure(23, 59, 59, 999);
    const date_heure dh = decode(t);
    EXPECT_EQ(dh.annee, 2026);
    EXPECT_EQ(dh.mois, 2);
    EXPECT_EQ(dh.jour, 28);
    EXPECT_EQ(dh.heures, 23);
    EXPECT_EQ(dh.minutes, 59);
    EXPECT_EQ(dh.secondes, 59);
    EXPECT_EQ(dh.millisecondes, 999);
    EXPECT_EQ(partie_date(t), encode_date(2026, 2, 28));
    EXPECT_TRUE(date_valide(2024, 2, 29));
    EXPECT_FALSE(date_valide(2026, 2, 29));
    EXPECT_FALSE(date_valide(2026, 4, 31));
}

TEST(duree_unite, dixiemes_aller_retour) {
    EXPECT_EQ(secondes_depuis_dixiemes(226), 22.6);
    EXPECT_EQ(secondes_depuis_dixiemes(384), 38.4);
    EXPECT_EQ(dixiemes_depuis_secondes(22.6), 226);
    EXPECT_EQ(dixiemes_depuis_secondes(22.4), 224);
    // Halves go to the even neighbour.
    EXPECT_EQ(dixiemes_depuis_secondes(0.25), 2);
    EXPECT_EQ(dixiemes_depuis_secondes(0.75), 8);
    for (int d = 1; d <= 50000; ++d) {
        ASSERT_EQ(dixiemes_depuis_secondes(secondes_depuis_dixiemes(d)), d);
    }
}

TEST(texte_1252, casse_des_lettres_accentuees) {
    EXPECT_TRUE(egal_sans_casse("\xE9t\xE9", "\xC9T\xC9")); // été / ÉTÉ
    EXPECT_TRUE(egal_sans_casse("INTERURBAIN", "interurbain"));
    EXPECT_TRUE(egal_sans_casse("\x8A\x8C\x9F", "\x9A\x9C\xFF")); // Š Œ Ÿ
    EXPECT_FALSE(egal_sans_casse("Local", "Local "));
    EXPECT_FALSE(egal_sans_casse("e", "\xE9"));
    EXPECT_FALSE(egal_sans_casse("\xD7", "\xF7")); // × and ÷ are not letters
}

TEST(texte_1252, conversion_utf8_aller_retour) {
    EXPECT_EQ(utf8_depuis_1252("D\xE9" "but \x80"), "D\xC3\xA9" "but \xE2\x82\xAC");
    EXPECT_EQ(cp1252_depuis_utf8("co\xC3\xBBts \xE2\x80\x99"), "co\xFBts \x92");
    EXPECT_EQ(cp1252_depuis_utf8("\xE2\x98\x8E"), "?"); // ☎ has no place in the code page
    std::string tous;
    for (int b = 1; b < 256; ++b) {
        tous += static_cast<char>(b);
    }
    EXPECT_EQ(cp1252_depuis_utf8(utf8_depuis_1252(tous)), tous);
}
