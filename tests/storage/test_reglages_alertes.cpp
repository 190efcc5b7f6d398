#include "outils_stockage.h"
#include "storage/reglages.h"

#include <gtest/gtest.h>

// Section "Alertes": absent, the defaults; out of range, the nearer bound; any number but 0 turns one on.
TEST(reglages_alertes, defauts_et_bornes) {
    dossier_temporaire dossier;
    ecrit_octets(dossier.ini(), "[Divers]\r\nMise \340 jour=1000\r\n");
    EXPECT_EQ(lit_reglages(dossier.donnees()).alertes, reglages_alertes{});
    ecrit_octets(dossier.ini(),
                 "[Alertes]\r\nDur\351e active=0\r\nDur\351e en minutes=0\r\nCo\373t actif=-1\r\n"
                 "Co\373t en francs=100000\r\nBudget actif=oui\r\nBudget mensuel en francs=0x10\r\n"
                 "Budget annonc\351=202603080\r\n");
    const reglages_lus r = lit_reglages(dossier.donnees());
    EXPECT_EQ(r.alertes, (reglages_alertes{false, 1, true, 99999, false, 16}));
    EXPECT_EQ(r.budget_annonce, 202603080);
}
