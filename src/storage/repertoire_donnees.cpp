#include "storage/repertoire_donnees.h"

#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

fs::path repertoire_donnees() {
    // The one place that says where the data lives; a Windows build would return the Windows folder.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && *xdg == '/') {
        return fs::path(xdg) / "kalvo";
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr && *home != '\0' ? home : ".") / ".local" / "share" / "kalvo";
}

bool assure_repertoire_donnees() {
    std::error_code erreur;
    const fs::path dossier = repertoire_donnees();
    fs::create_directories(dossier, erreur);
    return fs::is_directory(dossier, erreur);
}
