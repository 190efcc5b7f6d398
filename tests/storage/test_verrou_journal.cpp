#include "outils_stockage.h"
#include "storage/appel_en_cours.h"
#include "storage/verrou_journal.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

int vers_parent = -1;
int du_parent = -1;

// The child's rename: says it is inside the prune, waits for the go, then renames.
int renomme_apres_le_feu_vert(const char* ancien, const char* nouveau) {
    char c = 'p';
    if (::write(vers_parent, &c, 1) != 1 || ::read(du_parent, &c, 1) != 1) {
        return -1;
    }
    return std::rename(ancien, nouveau);
}

} // namespace

// A second process prunes the log and stops just before its rename; every other writer must wait for it
// and change nothing, or a record appended meanwhile would be lost with the file it went to.
TEST(verrou_journal, un_autre_ecrivain_attend_la_fin_de_la_purge_et_ne_change_rien) {
    dossier_temporaire d;
    const fs::path fichier = d.chemin() / "appel_en_cours.tax";
    const std::string vieux = formate_appel(appel_du(2020, 3, 4, "vieux", 20));
    const std::string garde = formate_appel(appel_du(2026, 3, 4, "garde", 20));
    const std::string nouveau = formate_appel(appel_du(2026, 3, 5, "nouveau", 30));
    const struct {
        const char* nom;
        std::function<bool()> ecrit;
    } ecrivains[] = {
        {"ajout", [&] { return !ajoute_appel(d.journal(), appel_du(2026, 3, 5, "nouveau", 30)).occupe; }},
        {"effacement", [&] { return !efface_journal(d.journal()).occupe; }},
        {"purge", [&] { return purge_avant(d.journal(), 1, 1, 2026, horloge_systeme{}).message != message_journal_occupe; }},
        {"reprise", [&] { return reprend_appel_interrompu(fichier, d.journal()).etat != etat_reprise::non_ajoute; }},
    };
    for (const auto& e : ecrivains) {
        ecrit_octets(d.journal(), vieux + garde);
        ecrit_octets(fichier, nouveau);
        int pause[2];
        int feu_vert[2];
        ASSERT_EQ(::pipe(pause), 0);
        ASSERT_EQ(::pipe(feu_vert), 0);
        const pid_t enfant = ::fork();
        if (enfant == 0) {
            vers_parent = pause[1];
            du_parent = feu_vert[0];
            kalvo_systeme.renomme = &renomme_apres_le_feu_vert;
            ::_exit(purge_avant(d.journal(), 1, 1, 2026, horloge_systeme{}).etat == etat_purge::fait ? 0 : 1);
        }
        char c = 0;
        ASSERT_EQ(::read(pause[0], &c, 1), 1);
        attente_verrou_journal = std::chrono::milliseconds(0);
        EXPECT_FALSE(e.ecrit()) << e.nom;
        attente_verrou_journal = std::chrono::seconds(5);
        EXPECT_EQ(lit_octets(d.journal()), vieux + garde) << e.nom;
        EXPECT_EQ(lit_octets(fichier), nouveau) << e.nom;
        ASSERT_EQ(::write(feu_vert[1], &c, 1), 1);
        int statut = 0;
        ASSERT_EQ(::waitpid(enfant, &statut, 0), enfant);
        EXPECT_TRUE(WIFEXITED(statut) && WEXITSTATUS(statut) == 0) << e.nom;
        for (int fd : {pause[0], pause[1], feu_vert[0], feu_vert[1]}) {
            ::close(fd);
        }
        EXPECT_EQ(lit_octets(d.journal()), garde) << e.nom;
        EXPECT_TRUE(e.ecrit()) << e.nom; // the lock is free again
    }
}
