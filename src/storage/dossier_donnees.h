#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>

// The data folder and the names of the files Kalvo keeps in it. Made once at start-up and passed to what
// reads or writes them, as the clock is; the tests make theirs in a folder of their own.
class dossier_donnees {
public:
    explicit dossier_donnees(std::filesystem::path chemin) : chemin_(std::move(chemin)) {}
    // $XDG_DATA_HOME/kalvo, or ~/.local/share/kalvo when the variable is unset, empty or not absolute.
    static dossier_donnees de_l_environnement();

    const std::filesystem::path& chemin() const { return chemin_; }
    std::filesystem::path journal() const { return chemin_ / "sauve.tax"; }
    std::filesystem::path reglages() const { return chemin_ / "Kalvo.ini"; }
    std::filesystem::path appel_en_cours() const { return chemin_ / "appel_en_cours.tax"; }
    std::filesystem::path verrou_instance() const { return chemin_ / "kalvo.verrou"; }
    std::filesystem::path appels_en_attente() const { return chemin_ / "appels_en_attente.tax"; }

    // The permissions a file of the folder gets when it is made: the log's, since a user who made the log
    // private made the reasons private too.
    mode_t mode_nouveau_fichier() const;

    // Why the folder must not be used, in French, or nothing. It must be the user's and nobody else may
    // write in it (but a group of the user's alone, as with a umask of 002), or another user could plant
    // links and files in it; a folder not made yet is fine.
    std::optional<std::string> refus() const;

private:
    std::filesystem::path chemin_;
};

// A log may be reached through a symbolic link (into a synced folder): its lock and its erase copy lie beside
// the file the link finally names, where every program that writes that log finds them. kalvo-journal works
// on any log, so these take the log's path.
std::filesystem::path chemin_verrou_journal(const std::filesystem::path& journal);
std::filesystem::path chemin_precedent(const std::filesystem::path& journal);
// The permissions of the log's file, for the files made beside it; 0666 less the umask while it is missing.
mode_t mode_du_journal(const std::filesystem::path& journal);

// The message for a data folder refused (UTF-8): %1 is the folder, %2 the reason.
inline constexpr const char* message_dossier_refuse =
    "Kalvo n'utilise pas le dossier de données %1 : %2. Rendez-le vôtre et retirez aux autres le droit "
    "d'y écrire (chown et chmod go-w), ou supprimez-le pour que Kalvo en crée un nouveau.";
