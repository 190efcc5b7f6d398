#include "storage/dossier_donnees.h"

#include "storage/fichier_atomique.h"

#include <cstdlib>

namespace fs = std::filesystem;

dossier_donnees dossier_donnees::de_l_environnement() {
    // The one place that says where the data lives; a Windows build would give the Windows folder.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && *xdg == '/') {
        return dossier_donnees(fs::path(xdg) / "kalvo");
    }
    const char* home = std::getenv("HOME");
    return dossier_donnees(fs::path(home != nullptr && *home != '\0' ? home : ".") / ".local" / "share" /
                           "kalvo");
}

fs::path chemin_verrou_journal(const fs::path& journal) {
    fs::path p = chemin_reel(journal);
    p += ".verrou";
    return p;
}

fs::path chemin_precedent(const fs::path& journal) {
    fs::path p = chemin_reel(journal);
    p += ".precedent";
    return p;
}
