#include "outils_stockage.h"
#include "storage/appel_en_cours.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

namespace {

// The flushes and renames in order, files by their last name ("." for the test's folder), Kalvo's
// temporary files without their random end; the flush numbered `refus` fails.
std::vector<std::string> appels;
int refus = -1;

std::string nom(const fs::path& p) {
    const std::string n = p.filename().string();
    return n.find(".kalvo-") != std::string::npos ? n.substr(0, n.size() - 10)
           : n.starts_with("kalvo-test")          ? "."
                                                  : n;
}
int synchronise(int fd) {
    appels.push_back("fsync " + nom(fs::read_symlink("/proc/self/fd/" + std::to_string(fd))));
    return static_cast<int>(appels.size()) - 1 == refus ? (errno = EIO, -1) : ::fsync(fd);
}
int renomme(const char* ancien, const char* nouveau) {
    appels.push_back("rename " + nom(ancien) + " " + nom(nouveau));
    return std::rename(ancien, nouveau);
}

} // namespace

TEST(fichier_atomique, chaque_ecriture_est_sur_le_disque_avant_de_compter) {
    using v = std::vector<std::string>;
    const appel a = appel_du(2026, 3, 4, "x", 20);
    const appels_systeme enregistres = {&synchronise, &renomme};
    const auto attente = attente_verrou_journal;
    // Each write, and the system calls it makes in order.
    const std::pair<std::function<bool(const fs::path&)>, v> cas[] = {
        // The running call's file: flushed at the start, then once a minute at most.
        {[&](auto& j) {
             sauvegarde_appel s(dossier_donnees(j.parent_path()), enregistres);
             return s.sauve(a, 0) && s.sauve(a, 59'999) && s.sauve(a, 60'000);
         },
         v{"fsync .appel_en_cours.tax.kalvo-", "rename .appel_en_cours.tax.kalvo- appel_en_cours.tax",
           "fsync .", "rename .appel_en_cours.tax.kalvo- appel_en_cours.tax",
           "fsync .appel_en_cours.tax.kalvo-", "rename .appel_en_cours.tax.kalvo- appel_en_cours.tax",
           "fsync ."}},
        {[&](auto& j) { return ajoute_appel(j, a, attente, enregistres).ok; },
         v{"fsync sauve.tax", "fsync ."}},
        {[&](auto& j) {
             return ajoute_appel(j, a, attente, enregistres).ok && efface_journal(j, attente, enregistres).ok;
         },
         v{"fsync sauve.tax", "fsync .", "fsync .sauve.tax.precedent.kalvo-",
           "rename .sauve.tax.precedent.kalvo- sauve.tax.precedent", "fsync .", "fsync sauve.tax"}},
    };
    for (const auto& [ecrit, attendus] : cas) {
        for (refus = -1; refus < static_cast<int>(attendus.size()); ++refus) {
            dossier_temporaire d;
            appels.clear();
            const bool ok = ecrit(d.journal());
            if (refus < 0) {
                EXPECT_TRUE(ok);
                EXPECT_EQ(appels, attendus);
            } else if (attendus[refus].starts_with("fsync") && !attendus[refus].ends_with(" .")) {
                // A write whose flush failed does not count, nor leaves a trace.
                EXPECT_FALSE(ok) << attendus[refus];
                EXPECT_TRUE(lit_octets(d.journal()).empty() || attendus.size() > 3);
            }
        }
    }
}

TEST(fichier_atomique, un_lien_est_suivi_mode_et_proprietaire_gardes_seul_un_fichier_ordinaire_remplace) {
    dossier_temporaire d;
    fs::create_directory(d.chemin() / "synchro");
    const fs::path cible = d.chemin() / "synchro" / "Kalvo.ini";
    ecrit_octets(cible, "vieux");
    ::chmod(cible.c_str(), 0600);
    const bool root = ::geteuid() == 0; // only root can give a file away, and must give it back (sudo)
    ASSERT_TRUE(!root || ::chown(cible.c_str(), 65534, 65534) == 0);
    fs::create_symlink("synchro/Kalvo.ini", d.ini());
    ecrit_octets(d.chemin() / "synchro" / ".Kalvo.ini.kalvo-abcdef.tmp", "left by a killed save");
    {
        fichier_atomique echoue(d.ini(), renommages_refuses());
        echoue.ecrit("neuf");
        EXPECT_FALSE(echoue.remplace());
    } // a failed write clears the leftovers of its target
    EXPECT_EQ(d.noms("synchro"), std::set<std::string>{"Kalvo.ini"});
    const mode_t masque = ::umask(027);
    for (const fs::path& p : {d.ini(), d.journal()}) {
        fichier_atomique f(p);
        f.ecrit("neuf");
        EXPECT_TRUE(f.remplace());
    }
    ::umask(masque);
    EXPECT_TRUE(fs::is_symlink(d.ini()));
    EXPECT_EQ(lit_octets(cible), "neuf");
    EXPECT_EQ(fs::status(cible).permissions(), fs::perms(0600));
    struct stat info {};
    EXPECT_TRUE(!root || (::stat(cible.c_str(), &info) == 0 && info.st_uid == 65534 && info.st_gid == 65534));
    EXPECT_EQ(fs::status(d.journal()).permissions(), fs::perms(0640)); // a new file: 0666 less the umask
}

// Only Kalvo's own leftovers go: the user's files with names alike, another user's, and the temporary of
// another Kalvo saving the same Kalvo.ini through a link at that moment, stay.
TEST(fichier_atomique, les_restes_d_ecritures_tuees_partent_au_demarrage_et_rien_d_autre) {
    dossier_temporaire d;
    const dossier_donnees donnees(d.chemin() / "kalvo");
    fs::create_directory(donnees.chemin());
    std::set<std::string> a_garder = {".sauve.tax.kalvo-12345.tmp", ".sauve.tax.abcdef.tmp",
                                      "notes.kalvo-abcdef.tmp",     ".Kalvo.ini.kalvo-abcdefg.tmp",
                                      ".sauve.tax.kalvo-backup",    "sauve.tax.verrou"};
    for (const std::string& nom : a_garder) {
        ecrit_octets(donnees.chemin() / nom, "reste");
    }
    for (const std::string nom :
         {".sauve.tax.kalvo-abcdef.tmp", ".Kalvo.ini.kalvo-Xy12Z9.tmp",
          ".appel_en_cours.tax.kalvo-000000.tmp", ".sauve.tax.precedent.kalvo-a1b2c3.tmp"}) {
        ecrit_octets(donnees.chemin() / nom, "reste");
    }
    if (::geteuid() == 0) {
        ecrit_octets(donnees.chemin() / ".sauve.tax.kalvo-autre0.tmp", "reste");
        ASSERT_EQ(::chown((donnees.chemin() / ".sauve.tax.kalvo-autre0.tmp").c_str(), 65534, 65534), 0);
        a_garder.insert(".sauve.tax.kalvo-autre0.tmp");
    }
    // Another Kalvo stopped at its rename: its temporary is written, flushed and closed.
    autre_processus autre_kalvo([&] {
        fichier_atomique f(donnees.reglages(), {systeme_reel.synchronise, [](const char* a, const char* b) {
                                                    ::raise(SIGSTOP);
                                                    return std::rename(a, b);
                                                }});
        f.ecrit("[Divers]\r\n");
        return f.remplace();
    });
    ASSERT_TRUE(autre_kalvo.arrete());
    reprend_appel_interrompu(donnees, attente_verrou_journal);
    EXPECT_TRUE(autre_kalvo.reprend());
    EXPECT_EQ(lit_octets(donnees.reglages()), "[Divers]\r\n");
    a_garder.insert("Kalvo.ini");
    EXPECT_EQ(d.noms("kalvo"), a_garder);
}
