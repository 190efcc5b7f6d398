#include "storage/repertoire_donnees.h"

#include "storage/appel_en_cours.h"
#include "storage/fichier_atomique.h"
#include "storage/journal_appels.h"
#include "storage/reglages.h"
#include "storage/verrou_journal.h"

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

void nettoie_restes_donnees() {
    // Only Kalvo writes these two, and the instance lock keeps a second Kalvo out.
    nettoie_temporaires(chemin_reglages());
    nettoie_temporaires(chemin_appel_en_cours());
    const fs::path journal = chemin_journal();
    const verrou_journal verrou(journal);
    if (verrou.pris()) {
        nettoie_temporaires(journal);
        nettoie_temporaires(chemin_precedent(journal));
    }
}
