#include "metering/table_zones.h"

#include <gtest/gtest.h>

TEST(table_zones, zones_fixes_et_tarifs_initiaux) {
    const table_zones t;
    ASSERT_EQ(t.nombre(), 3);
    EXPECT_EQ(t.nom(0), "Local");
    EXPECT_EQ(t.duree_unite(0, periode::normale), 99.0);
    EXPECT_EQ(t.duree_unite(0, periode::reduite), 224.0);
    EXPECT_EQ(t.duree_unite(1, periode::normale), 38.4);
    EXPECT_EQ(t.duree_unite(2, periode::reduite), 40.6);
    EXPECT_EQ(t.taxe_base(), 20);
}

TEST(table_zones, recherche_sans_casse_blancs_compris) {
    table_zones t;
    EXPECT_EQ(t.recherche("interurbain"), 2);
    EXPECT_EQ(t.recherche("INTERURBAIN"), 2);
    EXPECT_EQ(t.recherche("Local "), -1);
    t.ajoute("\xC9tranger", 10, 20); // Étranger
    EXPECT_EQ(t.recherche("\xE9tranger"), 3);
}

TEST(table_zones, suppression_garde_l_ordre_et_les_durees) {
    table_zones t;
    t.ajoute("A", 11, 12);
    t.ajoute("B", 21, 22);
    t.ajoute("C", 31, 32);
    t.supprime(t.recherche("b"));
    ASSERT_EQ(t.nombre(), 5);
    EXPECT_EQ(t.nom(3), "A");
    EXPECT_EQ(t.nom(4), "C");
    EXPECT_EQ(t.duree_unite(4, periode::normale), 3.1);
    EXPECT_EQ(t.duree_unite(4, periode::reduite), 3.2);
    // Built-in zones cannot be removed.
    t.supprime(0);
    EXPECT_EQ(t.nom(0), "Local");
    EXPECT_EQ(t.nombre(), 5);
}

TEST(table_zones, capacite_de_quarante_trois) {
    table_zones t;
    for (int i = 0; i < 40; ++i) {
        EXPECT_FALSE(t.pleine());
        t.ajoute("Z" + std::to_string(i), 10, 10);
    }
    EXPECT_TRUE(t.pleine());
    EXPECT_EQ(t.nombre_ajouts(), 40);
}
