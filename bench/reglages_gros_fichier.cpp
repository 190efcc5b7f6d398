// Loading and saving the settings when Kalvo.ini has grown to about 50 MB (a million lines of notes kept in
// a section of their own), with 40 added zones whose durations all change before the save, as at a close.
// Prints the size and the time of each step.
//
//   make bench (or: cmake --build build --target kalvo-bench-reglages && build/bin/kalvo-bench-reglages)

#include "storage/dossier_donnees.h"
#include "storage/reglages.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

double secondes_depuis(std::chrono::steady_clock::time_point debut) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
}

} // namespace

int main() {
    std::string modele = (fs::temp_directory_path() / "kalvo-bench-XXXXXX").string();
    if (::mkdtemp(modele.data()) == nullptr) {
        return 1;
    }
    const fs::path dossier = modele;
    const dossier_donnees donnees(dossier);
    const fs::path ini = donnees.reglages();
    {
        std::ofstream f(ini, std::ios::binary);
        f << "[Divers]\r\nMise \340 jour=1000\r\n[Memento]\r\n";
        for (int n = 1; n <= 15; ++n) {
            f << n << "=Motif " << n << "\r\n";
        }
        f << "[Ajouts]\r\nNombre d'ajouts=40\r\n";
        for (int n = 1; n <= 40; ++n) {
            f << n << "=Zone " << n << "\r\nZone " << n << " au tarif normal=100\r\n"
              << "Zone " << n << " au tarif r\351duit=200\r\n";
        }
        f << "[Notes]\r\n";
        for (int n = 0; n < 1000000; ++n) {
            f << "note " << n << "=une ligne de remplissage, pour le poids\r\n";
        }
    }

    auto debut = std::chrono::steady_clock::now();
    const reglages_lus r = lit_reglages(donnees);
    const double lecture = secondes_depuis(debut);

    table_zones zones;
    for (const zone_lue& z : r.zones) {
        zones.ajoute(z.nom, z.normal_dixiemes + 1, z.reduit_dixiemes + 1);
    }
    debut = std::chrono::steady_clock::now();
    const erreur_reglages erreur = sauve_reglages(donnees, 3000, r.historique, zones);
    const double sauvegarde = secondes_depuis(debut);

    std::printf("Kalvo.ini: %.1f MB, %zu zones\n", static_cast<double>(fs::file_size(ini)) / 1e6,
                r.zones.size());
    std::printf("lit_reglages:   %.2f s\n", lecture);
    std::printf("sauve_reglages: %.2f s%s\n", sauvegarde, erreur ? " (failed)" : "");
    fs::remove_all(dossier);
    return erreur ? 1 : 0;
}
