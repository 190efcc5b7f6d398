#include "outils_stockage.h"
#include "storage/appel_en_cours.h"
#include "storage/verrou_instance.h"

#include <gtest/gtest.h>

TEST(appel_en_cours, reprise_une_seule_fois_etats_illisibles_mis_de_cote_chacun_sous_son_nom) {
    dossier_temporaire d;
    const fs::path fichier = d.donnees().appel_en_cours();
    sauvegarde_appel sauvegarde(d.donnees());
    const auto reprend = [&] { return reprend_appel_interrompu(d.donnees(), attente_verrou_journal).etat; };
    const std::string avant = formate_appel(appel_du(2026, 3, 3, "Avant", 100));
    const std::string bureau = formate_appel(appel_du(2026, 3, 4, "Bureau", 70));
    ecrit_octets(d.journal(), avant);
    ASSERT_TRUE(sauvegarde.sauve(appel_du(2026, 3, 4, "Bureau", 20), 0));
    ASSERT_TRUE(sauvegarde.sauve(appel_du(2026, 3, 4, "Bureau", 70), 1000)); // the next tick
    EXPECT_EQ(reprend(), etat_reprise::enregistre);
    EXPECT_EQ(lit_octets(d.journal()), avant + bureau);
    EXPECT_EQ(reprend(), etat_reprise::aucun);
    EXPECT_EQ(d.noms(), (std::set<std::string>{"sauve.tax", "sauve.tax.verrou"}));

    // An amount that does not read, then two records: each set aside under its own name, nothing appended.
    const std::string faux[] = {enregistrement_brut("Fin de l'appel        : lundi 03.03.97", "x", "abc"),
                                bureau + bureau};
    for (const std::string& contenu : faux) {
        ecrit_octets(fichier, contenu);
        EXPECT_EQ(reprend(), etat_reprise::illisible);
    }
    EXPECT_EQ(lit_octets(fichier.string() + ".illisible"), faux[0]);
    EXPECT_EQ(lit_octets(fichier.string() + ".illisible-2"), faux[1]);
    EXPECT_EQ(d.noms().size(), 4U); // the log and its lock beside them, no running-call file
    EXPECT_EQ(lit_octets(d.journal()), avant + bureau);
}

TEST(verrou_instance, un_seul_kalvo_par_dossier_et_jamais_sans_verrou_dans_un_dossier_inscriptible) {
    dossier_temporaire d;
    auto premier = std::make_unique<verrou_instance>();
    const auto dans = [&](const fs::path& sous_dossier) {
        return dossier_donnees(d.chemin() / sous_dossier);
    };
    EXPECT_EQ(premier->prend(dans("kalvo")), verrou_instance::etat::pris);
    verrou_instance second;
    EXPECT_EQ(second.prend(dans("kalvo")), verrou_instance::etat::deja_pris);
    premier.reset(); // the first one ends: its lock is taken over
    EXPECT_EQ(second.prend(dans("kalvo")), verrou_instance::etat::pris);

    ecrit_octets(d.chemin() / "fichier", "x");
    EXPECT_EQ(second.prend(dans("fichier/kalvo")), verrou_instance::etat::dossier_impossible);
    fs::create_directories(d.chemin() / "dossier" / "kalvo.verrou");
    EXPECT_EQ(second.prend(dans("dossier")), verrou_instance::etat::fichier_inutilisable);
    EXPECT_NE(second.message().find(d.chemin().string() +
                                    "/dossier/kalvo.verrou est inutilisable (c'est un dossier)"),
              std::string::npos);
    fs::create_directory(d.chemin() / "lecture");
    fs::permissions(d.chemin() / "lecture", fs::perms::owner_read | fs::perms::owner_exec);
    if (::geteuid() != 0) { // root writes everywhere
        EXPECT_EQ(second.prend(dans("lecture")), verrou_instance::etat::lecture_seule);
    }
}

TEST(dossier_donnees, xdg_data_home_s_il_est_absolu_sinon_le_dossier_personnel) {
    const char* avant = std::getenv("XDG_DATA_HOME");
    const std::string garde = avant != nullptr ? avant : "";
    ::setenv("HOME", "/home/u", 1);
    for (const auto& [xdg, attendu] :
         {std::pair{"/x/y", "/x/y/kalvo"}, std::pair{"", "/home/u/.local/share/kalvo"},
          std::pair{"relatif", "/home/u/.local/share/kalvo"}}) {
        ::setenv("XDG_DATA_HOME", xdg, 1);
        EXPECT_EQ(dossier_donnees::de_l_environnement().journal(), fs::path(attendu) / "sauve.tax") << xdg;
    }
    ::setenv("XDG_DATA_HOME", garde.c_str(), 1);
}
