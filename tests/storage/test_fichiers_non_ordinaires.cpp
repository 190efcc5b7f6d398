#include "horloge_factice.h"
#include "outils_stockage.h"
#include "storage/appel_en_cours.h"
#include "storage/fichier_profil.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

enum class genre { dossier, tube, lien_vers_dev_zero, lien_vers_fichier };

// A file of that kind at `chemin`; the link to a regular file points at `chemin` + ".cible", holding
// `contenu`.
void cree(genre g, const fs::path& chemin, std::string_view contenu) {
    const fs::path cible = chemin.string() + ".cible";
    if (g == genre::dossier) {
        fs::create_directory(chemin);
    } else if (g == genre::tube) {
        ASSERT_EQ(::mkfifo(chemin.c_str(), 0600), 0);
    } else {
        ecrit_octets(cible, contenu);
        fs::create_symlink(g == genre::lien_vers_fichier ? cible : fs::path("/dev/zero"), chemin);
    }
}

} // namespace

// Each file Kalvo or kalvo-journal opens, as each kind of file. Only a regular file (a link to one is
// followed) is used; anything else fails at once and is left as it is. A FIFO would block the open, a link to
// /dev/zero feed a read without end: the alarm ends the program rather than let the test hang.
TEST(fichiers_non_ordinaires, refuses_sans_attendre_liens_suivis) {
    ::alarm(60);
    const std::string enregistrement = formate_appel(appel_du(2026, 3, 2, "Bureau", 120));
    for (const genre g : {genre::dossier, genre::tube, genre::lien_vers_dev_zero, genre::lien_vers_fichier}) {
        SCOPED_TRACE(static_cast<int>(g));
        const bool ordinaire = g == genre::lien_vers_fichier;
        dossier_temporaire d;

        cree(g, d.journal(), "");
        const fs::file_type type = fs::symlink_status(d.journal()).type();
        EXPECT_EQ(ajoute_enregistrements(d.journal(), enregistrement).ok, ordinaire);
        EXPECT_EQ(totalise_motifs(d.journal()).etat,
                  ordinaire ? etat_lecture::complet : etat_lecture::erreur_lecture);
        EXPECT_EQ(efface_journal(d.journal()).ok, ordinaire);
        EXPECT_EQ(lit_octets(d.journal().string() + ".cible"), "");
        EXPECT_EQ(purge_avant(d.journal(), 1, 1, 2000, horloge_factice()).etat,
                  ordinaire ? etat_purge::fait : etat_purge::erreur_fichier);
        EXPECT_TRUE(ordinaire || fs::symlink_status(d.journal()).type() == type); // left as it was

        // The running call: never saved over, set aside when it is not a regular file, never appended.
        const dossier_donnees autre(d.chemin() / "autre");
        fs::create_directory(autre.chemin());
        cree(g, autre.appel_en_cours(), enregistrement);
        EXPECT_EQ(sauvegarde_appel(autre).sauve(appel_du(2026, 3, 2, "Bureau", 120), 0), ordinaire);
        EXPECT_TRUE(ordinaire || fs::symlink_status(autre.appel_en_cours()).type() == type);
        EXPECT_EQ(reprend_appel_interrompu(autre, attente_verrou_journal).etat,
                  ordinaire ? etat_reprise::enregistre : etat_reprise::illisible);
        EXPECT_EQ(lit_octets(autre.journal()), ordinaire ? enregistrement : "");

        texte contenu;
        cree(g, d.ini(), "[Divers]\r\n");
        EXPECT_EQ(lit_contenu(d.ini(), contenu), ordinaire ? lecture::lue : lecture::impossible);
    }
    ::alarm(0);
}
