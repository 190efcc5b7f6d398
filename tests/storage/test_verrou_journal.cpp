#include "outils_stockage.h"
#include "storage/appel_en_cours.h"
#include "storage/verrou_journal.h"

#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>

// A second process prunes the log and stops itself just before its rename; every other writer must wait for
// it and change nothing, or a record appended meanwhile would be lost with the file it went to.
TEST(verrou_journal, un_autre_ecrivain_attend_la_fin_de_la_purge_et_ne_change_rien) {
    dossier_temporaire d;
    const fs::path fichier = d.donnees().appel_en_cours();
    const std::string vieux = formate_appel(appel_du(2020, 3, 4, "vieux", 20));
    const std::string garde = formate_appel(appel_du(2026, 3, 4, "garde", 20));
    const std::string nouveau = formate_appel(appel_du(2026, 3, 5, "nouveau", 30));
    const auto purge = [&](std::chrono::milliseconds attente, const appels_systeme& systeme = systeme_reel) {
        return purge_avant(d.journal(), 1, 1, 2026, horloge_systeme{}, attente, systeme);
    };
    const std::chrono::milliseconds sans_attendre{0};
    const std::function<bool()> ecrivains[] = {
        [&] { return !ajoute_appel(d.journal(), appel_du(2026, 3, 5, "nouveau", 30), sans_attendre).occupe; },
        [&] { return !efface_journal(d.journal(), sans_attendre).occupe; },
        [&] { return purge(sans_attendre).message != message_journal_occupe; },
        [&] { return reprend_appel_interrompu(d.donnees(), sans_attendre).etat != etat_reprise::non_ajoute; },
    };
    for (const auto& ecrit : ecrivains) {
        ecrit_octets(d.journal(), vieux + garde);
        ecrit_octets(fichier, nouveau);
        const pid_t enfant = ::fork();
        if (enfant == 0) {
            const appels_systeme arrete_avant_de_renommer = {
                systeme_reel.synchronise, [](const char* ancien, const char* nouveau) {
                    return ::raise(SIGSTOP) == 0 ? std::rename(ancien, nouveau) : -1;
                }};
            ::_exit(purge(attente_verrou_journal, arrete_avant_de_renommer).etat == etat_purge::fait ? 0 : 1);
        }
        int statut = 0;
        ASSERT_EQ(::waitpid(enfant, &statut, WUNTRACED), enfant);
        ASSERT_TRUE(WIFSTOPPED(statut));
        EXPECT_FALSE(ecrit());
        EXPECT_EQ(lit_octets(d.journal()), vieux + garde);
        EXPECT_EQ(lit_octets(fichier), nouveau);
        ::kill(enfant, SIGCONT);
        ASSERT_EQ(::waitpid(enfant, &statut, 0), enfant);
        EXPECT_TRUE(WIFEXITED(statut) && WEXITSTATUS(statut) == 0);
        EXPECT_EQ(lit_octets(d.journal()), garde);
        EXPECT_TRUE(ecrit()); // the lock is free again
    }
}
