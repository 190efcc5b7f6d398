// Writes a call log of N records for the benchmark: calls spread over 2016 to 2025, a few hundred
// distinct reasons typed in mixed letter case, some left empty. Deterministic, so runs compare.

#include "storage/journal_appels.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A small fixed generator: the same log on every machine.
std::uint64_t etat = 0x9E3779B97F4A7C15ULL;
std::uint32_t aleatoire(std::uint32_t borne) {
    etat = etat * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>((etat >> 33) % borne);
}

texte variante_casse(texte motif, std::uint32_t choix) {
    for (char& c : motif) {
        if (choix == 1) {
            c = minuscule_1252(c);
        } else if (choix == 2 && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return motif;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage : %s NOMBRE FICHIER\n", argv[0]);
        return 1;
    }
    const long nombre = std::strtol(argv[1], nullptr, 10);
    std::FILE* sortie = std::fopen(argv[2], "wb");
    if (sortie == nullptr) {
        std::perror(argv[2]);
        return 1;
    }
    static char tampon[1 << 20];
    std::setvbuf(sortie, tampon, _IOFBF, sizeof tampon);

    static const char* const familles[] = {"Bureau",
                                           "Client",
                                           "Fournisseur",
                                           "Famille",
                                           "M\xE9"
                                           "decin",
                                           "Banque",
                                           "R\xE9"
                                           "paration",
                                           "Ami"};
    static const char* const zones[] = {"Local", "Suburbain", "Interurbain"};
    const std::int64_t premier_jour = jours_depuis_origine(2016, 1, 1);
    const std::int64_t etendue = jours_depuis_origine(2025, 12, 31) - premier_jour;
    for (long i = 0; i < nombre; ++i) {
        appel a;
        const std::int64_t jour =
            premier_jour + static_cast<std::int64_t>(i) * etendue / (nombre > 1 ? nombre - 1 : 1);
        const int debut_s = static_cast<int>(aleatoire(80'000));
        const int duree_s = static_cast<int>(aleatoire(3'600));
        a.date_debut = static_cast<horodatage>(jour);
        a.heure_debut = encode_heure(0, 0, debut_s, 0);
        a.date_fin = a.date_debut;
        a.heure_fin = encode_heure(0, 0, debut_s + duree_s, 0);
        a.zone = zones[aleatoire(3)];
        if (aleatoire(50) != 0) {
            const std::uint32_t n = aleatoire(400);
            a.motif = variante_casse(std::string(familles[n % 8]) + " " + std::to_string(n), aleatoire(3));
        }
        a.centimes = static_cast<montant>(20 + 10 * aleatoire(500));
        const texte enregistrement = formate_appel(a);
        std::fwrite(enregistrement.data(), 1, enregistrement.size(), sortie);
    }
    if (std::fclose(sortie) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
