#include "outils_fuzz.h"
#include "storage/conversion_entier.h"
#include "storage/fichier_profil.h"
#include "storage/journal_appels.h"
#include "storage/reglages.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The integer conversion against its plain model, also behind the settings' "0x" prefix; the log's date
// conversion against a model built on the standard calendar, and every date it accepts written out again
// in the log's two forms must read back as the same day.

namespace {

namespace fs = std::filesystem;

// Blanks, digits; the value saturates far above any valid field, like a long run of digits would.
std::optional<std::int64_t> nombre_modele(std::string_view& s) {
    s.remove_prefix(std::min(s.find_first_not_of(' '), s.size()));
    const std::size_t n = std::min(s.find_first_not_of("0123456789"), s.size());
    if (n == 0) {
        return std::nullopt;
    }
    std::int64_t v = 0;
    for (const char c : s.substr(0, n)) {
        v = std::min<std::int64_t>(v * 10 + (c - '0'), 1'000'000'000);
    }
    s.remove_prefix(n);
    return v;
}

std::optional<std::int64_t> date_modele(std::string_view s, int annee_courante) {
    std::optional<std::int64_t> champs[3];
    for (int i = 0; i < 3; ++i) {
        champs[i] = nombre_modele(s);
        if (!champs[i]) {
            return std::nullopt;
        }
        if (i < 2) {
            if (s.empty() || s.front() != '.') {
                return std::nullopt;
            }
            s.remove_prefix(1);
        }
    }
    if (!s.empty()) {
        return std::nullopt;
    }
    std::int64_t annee = *champs[2];
    if (annee <= 99) {
        annee += annee_courante / 100 * 100;
        if (annee > annee_courante) {
            annee -= 100;
        }
    }
    if (annee < 1 || annee > 9999 || *champs[1] > 12 || *champs[0] > 31) {
        return std::nullopt;
    }
    using namespace std::chrono;
    const year_month_day date{year(static_cast<int>(annee)), month(static_cast<unsigned>(*champs[1])),
                              day(static_cast<unsigned>(*champs[0]))};
    if (!date.ok()) {
        return std::nullopt;
    }
    return (sys_days(date) - sys_days(year(1899) / December / 30)).count();
}

void verifie_date(std::string_view texte_date_lu, int annee_courante) {
    const auto jour = convertit_date(texte_date_lu, annee_courante);
    if (jour != date_modele(texte_date_lu, annee_courante)) {
        std::abort();
    }
    if (!jour) {
        return;
    }
    const date_heure d = decode(static_cast<horodatage>(*jour));
    if (!date_valide(d.annee, d.mois, d.jour) || jours_depuis_origine(d.annee, d.mois, d.jour) != *jour) {
        std::abort();
    }
    // The threshold's form: plain numbers, the year whole (below 100 it would read as two digits).
    if (d.annee >= 100) {
        const std::string seuil =
            std::to_string(d.jour) + "." + std::to_string(d.mois) + "." + std::to_string(d.annee);
        if (convertit_date(seuil, annee_courante) != jour) {
            std::abort();
        }
    }
    // The record's form, dd.mm.yy: it names the same day only within the hundred years up to now.
    if (d.annee > annee_courante - 100 && d.annee <= annee_courante &&
        convertit_date(texte_date(static_cast<horodatage>(*jour)), annee_courante) != jour) {
        std::abort();
    }
}

// The text must come back from the file as it was written for the read to see it whole.
bool relu_tel_quel(std::string_view v) {
    return v.find_first_of("\r\n") == std::string_view::npos && v.size() <= longueur_max_valeur &&
           sans_blancs(v) == v &&
           !(v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front());
}

void verifie_entier_reglages(std::string_view v) {
    const fs::path fichier = dossier_fuzz() / "Kalvo.ini";
    ecrit_fichier(fichier, "[s]\r\nk=" + texte(v) + "\r\n");
    const bool prefixe = v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X');
    const auto attendu = prefixe ? modele_entier("$" + texte(v.substr(2))) : modele_entier(v);
    const acces_reglages ini(fichier);
    if (ini.lit_entier("s", "k", 1) != attendu.value_or(1) ||
        ini.lit_entier("s", "k", 2) != attendu.value_or(2)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::string_view octets(reinterpret_cast<const char*>(donnees), taille);

    if (convertit_entier(octets) != modele_entier(octets)) {
        std::abort();
    }
    if (relu_tel_quel(octets)) {
        verifie_entier_reglages(octets);
    }

    verifie_date(octets, 2026);
    // The first two bytes as the current year, anywhere in the calendar's range, the rest as the date.
    if (taille >= 2) {
        const int annee_courante = 1 + (donnees[0] | donnees[1] << 8) % 9999;
        verifie_date(octets.substr(2), annee_courante);
    }
    return 0;
}
