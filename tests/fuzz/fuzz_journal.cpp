#include "horloge_factice.h"
#include "storage/journal_appels.h"
#include "storage/outils_stockage.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <unistd.h>

// Arbitrary bytes as a call log, read against the format's rules written out plainly: the totals per
// reason, then a pruning at the end date of a record picked by the input, which must write exactly the
// records kept or, when an end date does not read, leave the file as it was.

namespace {

using namespace std::chrono;
using enregistrement = std::array<std::string, 6>;

// Two names are one when they differ only by the case of Windows-1252 letters: A-Z, À-Þ but ×, Š Œ Ž Ÿ.
bool meme_nom(std::string_view a, std::string_view b) {
    const auto petite = [](unsigned char c) -> unsigned char {
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
            return c + 32;
        }
        return c == 0x8A || c == 0x8C || c == 0x8E ? c + 16 : c == 0x9F ? 0xFF : c;
    };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return petite(x) == petite(y); });
}

// A line ends at CR, a LF right after it is skipped; the content ends at Ctrl-Z; a record is six lines,
// those missing at the end empty.
std::vector<enregistrement> enregistrements(std::string_view octets) {
    octets = octets.substr(0, octets.find('\x1A'));
    std::vector<enregistrement> liste;
    for (std::size_t n = 0; !octets.empty(); ++n) {
        if (n % 6 == 0) {
            liste.emplace_back();
        }
        const std::size_t cr = std::min(octets.find('\r'), octets.size());
        liste.back()[n % 6] = octets.substr(0, cr);
        octets.remove_prefix(std::min(cr + 1, octets.size()));
        octets.remove_prefix(octets.starts_with('\n') ? 1 : 0);
    }
    return liste;
}

// Blanks, a sign, then decimal digits or "$" and hexadecimal ones, nothing after, within 32 bits (hexadecimal
// takes all 32, the sign applied modulo 2^32).
std::optional<std::int64_t> entier(std::string_view s) {
    s.remove_prefix(std::min(s.find_first_not_of(' '), s.size()));
    const bool negatif = s.starts_with('-');
    s.remove_prefix(negatif || s.starts_with('+') ? 1 : 0);
    const bool hexa = s.starts_with('$');
    s.remove_prefix(hexa ? 1 : 0);
    std::uint64_t v = 0;
    const auto [fin, erreur] = std::from_chars(s.data(), s.data() + s.size(), v, hexa ? 16 : 10);
    if (s.empty() || fin != s.data() + s.size() || erreur != std::errc() ||
        v > (hexa      ? 0xFFFF'FFFFU
             : negatif ? 0x8000'0000U
                       : 0x7FFF'FFFFU)) {
        return std::nullopt;
    }
    if (hexa) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(negatif ? 0 - v : v));
    }
    return negatif ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
}

// Line 5 less its 24-character label and its " FS": francs, a comma, centimes.
std::optional<std::int64_t> montant(std::string_view ligne) {
    const std::string_view partie = ligne.size() < 27 ? "" : ligne.substr(24, ligne.size() - 27);
    const std::size_t virgule = partie.find(',');
    const auto francs = entier(partie.substr(0, virgule));
    const auto centimes = virgule == partie.npos ? std::nullopt : entier(partie.substr(virgule + 1));
    return francs && centimes ? std::optional(*francs * 100 + *centimes) : std::nullopt;
}

// Day, ".", month, ".", year, blanks before each number, nothing after; a year below 100 is the latest one up
// to the test clock's (2026) that ends with these two digits.
std::optional<year_month_day> date(std::string_view s) {
    std::int64_t champs[3];
    for (int i = 0; i < 3; ++i) {
        s.remove_prefix(std::min(s.find_first_not_of(' '), s.size()));
        std::uint32_t v = 0;
        const auto [fin, erreur] = std::from_chars(s.data(), s.data() + s.size(), v);
        const bool chiffres = fin != s.data();
        champs[i] = erreur == std::errc() ? v : 99999; // too long: beyond any valid field
        s.remove_prefix(fin - s.data());
        if (!chiffres || (i < 2 && !s.starts_with('.'))) {
            return std::nullopt;
        }
        s.remove_prefix(i < 2 ? 1 : 0);
    }
    const auto [j, m, a] = champs;
    const std::int64_t annee = a < 100 ? 2026 - (2026 - a) % 100 : a;
    const year_month_day d{year(static_cast<int>(annee % 100000)), month(m % 256), day(j % 256)};
    if (!s.empty() || annee < 1 || annee > 9999 || m > 12 || j > 31 || !d.ok()) {
        return std::nullopt;
    }
    return d;
}

void verifie_totaux(const fs::path& journal, const std::vector<enregistrement>& liste) {
    resultat_totaux attendu;
    for (const enregistrement& e : liste) {
        const auto centimes = montant(e[4]);
        if (!centimes) {
            attendu.etat = etat_lecture::corrompu;
            break;
        }
        std::string motif = e[3].size() > 24 ? e[3].substr(24) : "";
        if (std::all_of(motif.begin(), motif.end(), [](unsigned char c) { return c <= 32; })) {
            motif = libelle_motif_vide;
        }
        const auto deja = std::find_if(attendu.motifs.begin(), attendu.motifs.end(),
                                       [&](const total_motif& t) { return meme_nom(t.motif, motif); });
        deja == attendu.motifs.end() ? attendu.motifs.push_back({motif, *centimes})
                                     : void(deja->centimes += *centimes);
    }
    const auto resume = [](const resultat_totaux& t) {
        std::string r(1, static_cast<char>(t.etat));
        for (const total_motif& m : t.motifs) {
            r += m.motif + '\0' + std::to_string(m.centimes) + '\0';
        }
        return r;
    };
    if (resume(totalise_motifs(journal)) != resume(attendu)) {
        std::abort();
    }
}

// The end date as the pruning reads it: line 2 less " à " and the time, then its last 8 characters.
std::optional<year_month_day> date_fin(std::string_view ligne) {
    ligne.remove_suffix(std::min<std::size_t>(ligne.size(), 11));
    return date(ligne.substr(ligne.size() - std::min<std::size_t>(ligne.size(), 8)));
}

void verifie_purge(const fs::path& journal, std::string_view octets,
                   const std::vector<enregistrement>& liste) {
    const auto choisie = liste.empty() ? std::nullopt : date_fin(liste[octets.size() % liste.size()][1]);
    const year_month_day seuil = choisie.value_or(year(100) / 1 / 1);
    const resultat_purge r =
        purge_avant(journal, static_cast<int>(unsigned(seuil.day())),
                    static_cast<int>(unsigned(seuil.month())), int(seuil.year()), horloge_factice());
    std::string gardes;
    std::int64_t n = 0;
    for (const enregistrement& e : liste) {
        const auto fin = date_fin(e[1]);
        if (!fin) { // the pruning stops there and the log stays as it was
            return r.etat == etat_purge::date_invalide && lit_octets(journal) == octets ? void()
                                                                                        : std::abort();
        }
        if (sys_days(*fin) >= sys_days(seuil)) {
            ++n;
            for (const std::string& ligne : e) {
                gardes += ligne + "\r\n";
            }
        }
    }
    if (r.etat != etat_purge::fait || r.gardes != n ||
        r.retires != static_cast<std::int64_t>(liste.size()) - n || lit_octets(journal) != gardes ||
        std::any_of(fs::directory_iterator(journal.parent_path()), {}, [](const fs::directory_entry& f) {
            return f.path().filename() != "sauve.tax" && f.path().filename() != "sauve.tax.verrou";
        })) { // a temporary file left behind
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::string_view octets(reinterpret_cast<const char*>(donnees), taille);
    static const fs::path dossier = fs::temp_directory_path() / ("kalvo-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(dossier);
    const fs::path journal = dossier / "sauve.tax";
    std::ofstream(journal, std::ios::binary).write(octets.data(), static_cast<std::streamsize>(taille));
    const std::vector<enregistrement> liste = enregistrements(octets);
    verifie_totaux(journal, liste);
    verifie_purge(journal, octets, liste);
    return 0;
}
