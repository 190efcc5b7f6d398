#pragma once

#include <filesystem>

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

private:
    std::filesystem::path chemin_;
};

// A log may be reached through a symbolic link (into a synced folder): its lock and its erase copy lie beside
// the file the link finally names, where every program that writes that log finds them. kalvo-journal works
// on any log, so these take the log's path.
std::filesystem::path chemin_verrou_journal(const std::filesystem::path& journal);
std::filesystem::path chemin_precedent(const std::filesystem::path& journal);
