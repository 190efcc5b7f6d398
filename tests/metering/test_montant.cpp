#include "metering/montant.h"

#include <gtest/gtest.h>

TEST(texte_montant, centimes_sans_zero_de_tete) {
    EXPECT_EQ(texte_montant(120), "1,20");
    EXPECT_EQ(texte_montant(105), "1,5");
    EXPECT_EQ(texte_montant(100), "1,0");
    EXPECT_EQ(texte_montant(7), "0,7");
    EXPECT_EQ(texte_montant(0), "0,0");
    EXPECT_EQ(texte_montant(5'000'000'000LL), "50000000,0");
}
