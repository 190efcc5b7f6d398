#include "outils_stockage.h"
#include "storage/appel_en_cours.h"
#include "storage/repertoire_donnees.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

namespace {

// Records the flushes and renames, files named by their last component ("." for the test's folder),
// Kalvo's temporary files without their random end.
class appels_enregistres {
public:
    appels_enregistres() { kalvo_systeme = {&synchronise, &renomme}; }
    ~appels_enregistres() { kalvo_systeme = {&::fsync, &std::rename}; }
    static inline std::vector<std::string> liste;
    static inline int refuse_synchronise = -1; // the n-th flush fails, counted from 0

private:
    static std::string nom(const fs::path& p) {
        const std::string n = p.filename().string();
        return n.find(".kalvo-") != std::string::npos ? n.substr(0, n.size() - 6) : n.starts_with("kalvo-test") ? "." : n;
    }
    static int synchronise(int fd) {
        liste.push_back("fsync " + nom(fs::read_symlink("/proc/self/fd/" + std::to_string(fd))));
        return static_cast<int>(liste.size()) - 1 == refuse_synchronise ? (errno = EIO, -1) : ::fsync(fd);
    }
    static int renomme(const char* ancien, const char* nouveau) {
        liste.push_back("rename " + nom(ancien) + " " + nom(nouveau));
        return std::rename(ancien, nouveau);
    }
};

mode_t mode(const fs::path& p) {
    struct stat info {};
    ::stat(p.c_str(), &info);
    return info.st_mode & 07777;
}

} // namespace

TEST(fichier_atomique, chaque_ecriture_est_sur_le_disque_avant_de_compter) {
    using v = std::vector<std::string>;
    const appel a = appel_du(2026, 3, 4, "x", 20);
    const struct {
        const char* nom;
        std::function<bool(const dossier_temporaire&)> ecriture;
        v attendus;
    } cas[] = {
        {"remplacement", [&](auto& d) { return sauve_appel_en_cours(d.journal(), a); },
         v{"fsync .sauve.tax.kalvo-", "rename .sauve.tax.kalvo- sauve.tax", "fsync ."}},
        {"premier ajout", [&](auto& d) { return ajoute_appel(d.journal(), a).ok; }, v{"fsync sauve.tax", "fsync ."}},
        {"effacement", [&](auto& d) { return ajoute_appel(d.journal(), a).ok && efface_journal(d.journal()).ok; },
         v{"fsync sauve.tax", "fsync .", "fsync .sauve.tax.precedent.kalvo-",
           "rename .sauve.tax.precedent.kalvo- sauve.tax.precedent", "fsync .", "fsync sauve.tax"}},
    };
    for (const auto& c : cas) {
        for (int refus = -1; refus < static_cast<int>(c.attendus.size()); ++refus) {
            dossier_temporaire d;
            appels_enregistres appels;
            appels.liste.clear();
            appels.refuse_synchronise = refus;
            const bool ok = c.ecriture(d);
            if (refus < 0) {
                EXPECT_TRUE(ok) << c.nom;
                EXPECT_EQ(appels.liste, c.attendus) << c.nom;
            } else if (c.attendus[static_cast<std::size_t>(refus)].starts_with("fsync .sauve") ||
                       c.attendus[static_cast<std::size_t>(refus)] == "fsync sauve.tax") {
                EXPECT_FALSE(ok) << c.nom << " " << refus; // a write whose flush failed does not count
            }
        }
    }
}

TEST(fichier_atomique, un_lien_est_suivi_le_mode_garde_seul_un_fichier_ordinaire_remplace) {
    dossier_temporaire d;
    fs::create_directory(d.chemin() / "synchro");
    const fs::path cible = d.chemin() / "synchro" / "Kalvo.ini";
    ecrit_octets(cible, "vieux");
    ::chmod(cible.c_str(), 0600);
    fs::create_symlink("synchro/Kalvo.ini", d.ini());
    fichier_atomique lien(d.ini());
    lien.ecrit("neuf");
    ASSERT_TRUE(lien.remplace());
    EXPECT_TRUE(fs::is_symlink(d.ini()));
    EXPECT_EQ(lit_octets(cible), "neuf");
    EXPECT_EQ(mode(cible), 0600U);

    const mode_t masque = ::umask(027);
    fichier_atomique nouveau(d.journal());
    nouveau.ecrit("x");
    EXPECT_TRUE(nouveau.remplace());
    ::umask(masque);
    EXPECT_EQ(mode(d.journal()), 0640U);

    // A pipe (or a device: "purge 1.1.2020 /dev/null") stays what it is, by name or through a link.
    ASSERT_EQ(::mkfifo((d.chemin() / "tube").c_str(), 0600), 0);
    fs::create_symlink("tube", d.chemin() / "lien");
    for (const char* nom : {"tube", "lien"}) {
        fichier_atomique f(d.chemin() / nom);
        f.ecrit("x");
        EXPECT_FALSE(f.remplace()) << nom;
        EXPECT_EQ(purge_avant(d.chemin() / nom, 1, 1, 2020, horloge_systeme{}).etat, etat_purge::erreur_fichier);
        EXPECT_EQ(efface_journal(d.chemin() / nom).ok, false);
        EXPECT_TRUE(fs::is_fifo(d.chemin() / "tube")) << nom;
    }
}

TEST(fichier_atomique, les_restes_d_ecritures_tuees_partent_et_rien_d_autre) {
    dossier_temporaire d;
    const donnees_deplacees xdg(d.chemin());
    const fs::path dossier = d.chemin() / "kalvo";
    fs::create_directory(dossier);
    const std::set<std::string> a_garder = {".sauve.tax.kalvo-12345", ".sauve.tax.abcdef", "notes.kalvo-abcdef",
                                            ".Kalvo.ini.kalvo-abcdefg", "sauve.tax"};
    const auto prepare = [&] {
        for (const char* nom : {".sauve.tax.kalvo-abcdef", ".Kalvo.ini.kalvo-Xy12Z9",
                                ".appel_en_cours.tax.kalvo-000000", ".sauve.tax.precedent.kalvo-a1b2c3"}) {
            ecrit_octets(dossier / nom, "reste");
        }
        for (const std::string& nom : a_garder) {
            ecrit_octets(dossier / nom, formate_appel(appel_du(1997, 3, 3, "x", 10)));
        }
    };
    prepare();
    reprend_appel_interrompu(); // the start
    EXPECT_EQ(d.noms().size(), 1U);
    std::set<std::string> restants;
    for (const auto& e : fs::directory_iterator(dossier)) {
        restants.insert(e.path().filename().string());
    }
    EXPECT_EQ(restants, [&] { auto s = a_garder; s.insert("sauve.tax.verrou"); return s; }());

    prepare();
    ASSERT_EQ(purge_avant(1, 1, 2020, horloge_systeme{}).etat, etat_purge::fait); // a prune cleans its own
    EXPECT_FALSE(fs::exists(dossier / ".sauve.tax.kalvo-abcdef"));
    EXPECT_TRUE(fs::exists(dossier / ".sauve.tax.kalvo-12345"));
}
