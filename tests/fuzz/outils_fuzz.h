#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>

// Shared by the fuzz targets: a scratch folder and a plain model of the integer conversion.

// One folder per fuzzing process, in memory when the machine has /dev/shm: the targets write and replace
// files on every input, and a flush to a real disk would be most of the time spent. It goes at exit, with
// the static objects; after a crash it stays for the investigation.
class dossier_fuzz_processus {
public:
    dossier_fuzz_processus() {
        const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string modele = std::string(base) + "/kalvo-fuzz-XXXXXX";
        if (::mkdtemp(modele.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        chemin_ = modele;
    }
    ~dossier_fuzz_processus() {
        std::error_code e;
        std::filesystem::remove_all(chemin_, e);
    }
    dossier_fuzz_processus(const dossier_fuzz_processus&) = delete;
    dossier_fuzz_processus& operator=(const dossier_fuzz_processus&) = delete;
    const std::filesystem::path& chemin() const { return chemin_; }

private:
    std::filesystem::path chemin_;
};

inline const std::filesystem::path& dossier_fuzz() {
    static const dossier_fuzz_processus dossier;
    return dossier.chemin();
}

inline void ecrit_fichier(const std::filesystem::path& chemin, std::string_view octets) {
    std::ofstream sortie(chemin, std::ios::binary | std::ios::trunc);
    sortie.write(octets.data(), static_cast<std::streamsize>(octets.size()));
    if (!sortie.flush()) {
        std::abort(); // a harness that cannot write its input would report false findings
    }
}

inline std::string lit_fichier(const std::filesystem::path& chemin) {
    std::ifstream entree(chemin, std::ios::binary);
    return {std::istreambuf_iterator<char>(entree), std::istreambuf_iterator<char>()};
}

// The integer conversion written the slow and obvious way: blanks, sign, "$", digits, nothing after;
// decimal within 32 signed bits, hexadecimal any 32 bits with the sign applied modulo 2^32.
inline std::optional<std::int32_t> modele_entier(std::string_view s) {
    std::size_t i = s.find_first_not_of(' ');
    if (i == std::string_view::npos) {
        return std::nullopt;
    }
    const bool negatif = s[i] == '-';
    if (s[i] == '-' || s[i] == '+') {
        ++i;
    }
    const bool hexa = i < s.size() && s[i] == '$';
    if (hexa) {
        ++i;
    }
    const std::string_view chiffres = s.substr(i);
    const std::string_view admis = hexa ? "0123456789abcdefABCDEF" : "0123456789";
    if (chiffres.empty() || chiffres.find_first_not_of(admis) != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view utiles =
        chiffres.substr(std::min(chiffres.find_first_not_of('0'), chiffres.size()));
    if (utiles.size() > (hexa ? 8U : 10U)) {
        return std::nullopt;
    }
    const std::int64_t valeur = utiles.empty() ? 0 : std::stoll(std::string(utiles), nullptr, hexa ? 16 : 10);
    if (hexa) {
        const auto bits = static_cast<std::uint32_t>(valeur);
        return static_cast<std::int32_t>(negatif ? 0U - bits : bits);
    }
    const std::int64_t signe = negatif ? -valeur : valeur;
    if (signe < INT32_MIN || signe > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(signe);
}
