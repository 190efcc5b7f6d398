#include "outils_stockage.h"
#include "storage/appel_en_cours.h"
#include "storage/verrou_journal.h"

#include <gtest/gtest.h>

namespace {

constexpr std::chrono::milliseconds sans_attendre{0};

// The system calls of a writer that stops itself at its first flush, while it holds the log's lock: a prune
// has written its copy and not yet renamed it, an append has written its record and not yet flushed it.
int arrete_une_fois(int fd) {
    static bool arrete = false;
    if (!arrete) {
        arrete = true;
        ::raise(SIGSTOP);
    }
    return ::fsync(fd);
}
const appels_systeme arrete_au_premier_flush = {&arrete_une_fois, &std::rename};

} // namespace

// A second process writes the log and stops itself in the middle; every other writer must wait for it and
// change nothing, or a record appended meanwhile would be lost with the file it went to.
TEST(verrou_journal, un_autre_ecrivain_attend_et_ne_change_rien) {
    dossier_temporaire d;
    const fs::path fichier = d.donnees().appel_en_cours();
    const std::string vieux = formate_appel(appel_du(2020, 3, 4, "vieux", 20));
    const std::string garde = formate_appel(appel_du(2026, 3, 4, "garde", 20));
    const std::string nouveau = formate_appel(appel_du(2026, 3, 5, "nouveau", 30));
    const auto purge = [&](std::chrono::milliseconds attente, const appels_systeme& systeme = systeme_reel) {
        return purge_avant(d.journal(), 1, 1, 2026, horloge_systeme{}, attente, systeme);
    };
    // What the stopped writer does, the log while it is stopped, and after it.
    const std::tuple<std::function<bool()>, std::string, std::string> enfants[] = {
        {[&] { return purge(attente_verrou_journal, arrete_au_premier_flush).etat == etat_purge::fait; },
         vieux + garde, garde},
        {[&] {
             return ajoute_enregistrements(d.journal(), nouveau, false, attente_verrou_journal,
                                           arrete_au_premier_flush)
                 .ok;
         },
         vieux + garde + nouveau, vieux + garde + nouveau},
    };
    const std::function<bool()> ecrivains[] = {
        [&] { return !ajoute_appel(d.journal(), appel_du(2026, 3, 5, "nouveau", 30), sans_attendre).occupe; },
        [&] { return !efface_journal(d.journal(), sans_attendre).occupe; },
        [&] { return purge(sans_attendre).message != message_journal_occupe; },
        // Recovery: the call the log refuses waits with the calls not yet written.
        [&] {
            const etat_reprise e = reprend_appel_interrompu(d.donnees(), sans_attendre).etat;
            return e != etat_reprise::en_attente && e != etat_reprise::non_ajoute;
        },
    };
    for (const auto& [enfant_ecrit, pendant, apres] : enfants) {
        for (const auto& ecrit : ecrivains) {
            ecrit_octets(d.journal(), vieux + garde);
            ecrit_octets(fichier, nouveau);
            fs::remove(d.donnees().appels_en_attente());
            autre_processus enfant(enfant_ecrit);
            ASSERT_TRUE(enfant.arrete());
            EXPECT_FALSE(ecrit());
            EXPECT_EQ(lit_octets(d.journal()), pendant);
            EXPECT_EQ(lit_octets(fichier) + lit_octets(d.donnees().appels_en_attente()), nouveau);
            EXPECT_TRUE(enfant.reprend());
            EXPECT_EQ(lit_octets(d.journal()), apres);
            EXPECT_TRUE(ecrit()); // the lock is free again
        }
    }
}

// A log reached through a link into a synced folder: writers through the link and through the target take
// the same lock, and the erase keeps its copy beside the target, not beside the link.
TEST(verrou_journal, un_journal_lie_un_seul_verrou_et_la_copie_pres_de_la_cible) {
    dossier_temporaire d;
    fs::create_directory(d.chemin() / "synchro");
    const fs::path cible = d.chemin() / "synchro" / "sauve.tax";
    const std::string appel_un = formate_appel(appel_du(2026, 3, 4, "un", 20));
    ecrit_octets(cible, appel_un);
    fs::create_symlink("synchro/sauve.tax", d.journal());
    {
        const verrou_journal par_le_lien(d.journal(), sans_attendre);
        ASSERT_TRUE(par_le_lien.pris());
        EXPECT_TRUE(ajoute_appel(cible, appel_du(2026, 3, 4, "deux", 20), sans_attendre).occupe);
    }
    {
        const verrou_journal par_la_cible(cible, sans_attendre);
        EXPECT_TRUE(efface_journal(d.journal(), sans_attendre).occupe);
    }
    ASSERT_TRUE(efface_journal(d.journal()).ok);
    EXPECT_TRUE(fs::is_symlink(d.journal()));
    EXPECT_EQ(lit_octets(cible), "");
    EXPECT_EQ(lit_octets(cible.string() + ".precedent"), appel_un);
    EXPECT_EQ(d.noms(), (std::set<std::string>{"sauve.tax", "synchro"}));
}
