#include "metering/horodatage.h"
#include "metering/texte_1252.h"

#include <gtest/gtest.h>

TEST(horodatage, jours_depuis_1899_arrondis_a_la_milliseconde) {
    // The last millisecond of a day stays in it; half a millisecond before midnight rounds to the next
    // day, not to 23:59:60.
    const horodatage fin_fevrier = encode_date(2026, 2, 28) + encode_heure(23, 59, 59, 999);
    EXPECT_EQ(decode(fin_fevrier).millisecondes, 999);
    EXPECT_EQ(texte_date(fin_fevrier), "28.02.26");
    const horodatage presque = encode_date(2026, 3, 4) + (ms_par_jour - 0.4) / ms_par_jour;
    EXPECT_EQ(texte_heure(presque), "00:00:00");
    EXPECT_EQ(texte_date(presque), "05.03.26");
}

TEST(texte_1252, casse_des_lettres_accentuees) {
    EXPECT_TRUE(egal_sans_casse("\xE9t\xE9", "\xC9T\xC9"));       // été / ÉTÉ
    EXPECT_TRUE(egal_sans_casse("\x8A\x8C\x9F", "\x9A\x9C\xFF")); // Š Œ Ÿ
    EXPECT_FALSE(egal_sans_casse("Local", "Local "));
    EXPECT_FALSE(egal_sans_casse("e", "\xE9"));
    EXPECT_FALSE(egal_sans_casse("\xD7", "\xF7")); // × and ÷ are not letters
}

TEST(texte_1252, conversion_utf8_aller_retour) {
    EXPECT_EQ(utf8_depuis_1252("D\351but \x80"), "D\303\251but \xE2\x82\xAC");
    EXPECT_EQ(cp1252_depuis_utf8("\xE2\x98\x8E"), "?"); // ☎ has no place in the code page
    // U+0081 is carried through the byte the code page leaves undefined; U+0080 has none (0x80 is the euro).
    EXPECT_TRUE(tient_en_1252(U'\u00E9') && tient_en_1252(U'\u20AC') && tient_en_1252(U'\u0081'));
    EXPECT_FALSE(tient_en_1252(U'\u260E') || tient_en_1252(U'\u0080') || tient_en_1252(U'\U0001F600'));
    std::string tous;
    for (int b = 1; b < 256; ++b) {
        tous += static_cast<char>(b);
    }
    EXPECT_EQ(cp1252_depuis_utf8(utf8_depuis_1252(tous)), tous);
}
