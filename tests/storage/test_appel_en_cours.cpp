#include "outils_stockage.h"
#include "storage/appel_en_cours.h"
#include "storage/verrou_instance.h"

#include <gtest/gtest.h>

TEST(appel_en_cours, reprise_ajoute_le_dernier_etat_et_oublie_le_fichier) {
    dossier_temporaire d;
    const fs::path fichier = d.chemin() / "appel_en_cours.tax";
    ASSERT_TRUE(ajoute_appel(d.journal(), appel_du(2026, 3, 3, "Avant", 100)).ok);
    ASSERT_TRUE(sauve_appel_en_cours(fichier, appel_du(2026, 3, 4, "Bureau", 20)));
    ASSERT_TRUE(sauve_appel_en_cours(fichier, appel_du(2026, 3, 4, "Bureau", 70))); // the next tick

    EXPECT_EQ(reprend_appel_interrompu(fichier, d.journal()).etat, etat_reprise::enregistre);
    EXPECT_EQ(lit_octets(d.journal()), formate_appel(appel_du(2026, 3, 3, "Avant", 100)) +
                                           formate_appel(appel_du(2026, 3, 4, "Bureau", 70)));
    EXPECT_EQ(d.noms(), (std::set<std::string>{"sauve.tax"}));
    EXPECT_EQ(reprend_appel_interrompu(fichier, d.journal()).etat, etat_reprise::aucun);
}

TEST(appel_en_cours, journal_refuse_le_fichier_reste_pour_le_prochain_demarrage) {
    dossier_temporaire d;
    const fs::path fichier = d.chemin() / "appel_en_cours.tax";
    ASSERT_TRUE(sauve_appel_en_cours(fichier, appel_du(2026, 3, 4, "Bureau", 20)));
    fs::create_directory(d.journal()); // a folder where the log should be
    EXPECT_EQ(reprend_appel_interrompu(fichier, d.journal()).etat, etat_reprise::non_ajoute);
    EXPECT_EQ(lit_octets(fichier), formate_appel(appel_du(2026, 3, 4, "Bureau", 20)));

    fs::remove(d.journal());
    fs::create_symlink("/dev/full", d.journal()); // no space left
    EXPECT_EQ(reprend_appel_interrompu(fichier, d.journal()).etat, etat_reprise::non_ajoute);
    EXPECT_TRUE(fs::exists(fichier));
}

TEST(appel_en_cours, etat_illisible_mis_de_cote_sans_toucher_au_journal) {
    dossier_temporaire d;
    const fs::path fichier = d.chemin() / "appel_en_cours.tax";
    ecrit_octets(fichier, enregistrement_brut("Fin de l'appel        : lundi 03.03.97", "x", "abc"));
    const resultat_reprise r = reprend_appel_interrompu(fichier, d.journal());
    EXPECT_EQ(r.etat, etat_reprise::illisible);
    EXPECT_FALSE(fs::exists(d.journal()));
    EXPECT_TRUE(fs::exists(r.mis_de_cote));
    EXPECT_FALSE(fs::exists(fichier));
}

TEST(verrou_instance, un_seul_kalvo_par_dossier) {
    dossier_temporaire d;
    auto premier = std::make_unique<verrou_instance>();
    EXPECT_EQ(premier->prend(d.chemin() / "kalvo"), verrou_instance::etat::pris);
    verrou_instance second;
    EXPECT_EQ(second.prend(d.chemin() / "kalvo"), verrou_instance::etat::deja_pris);
    premier.reset(); // the first one ends: its lock is taken over
    EXPECT_EQ(second.prend(d.chemin() / "kalvo"), verrou_instance::etat::pris);

    ecrit_octets(d.chemin() / "fichier", "x");
    verrou_instance impossible;
    EXPECT_EQ(impossible.prend(d.chemin() / "fichier" / "kalvo"), verrou_instance::etat::impossible);
}
