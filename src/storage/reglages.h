#pragma once

#include "metering/montant.h"
#include "metering/table_zones.h"
#include "metering/texte_1252.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The settings file Kalvo.ini: base tariffs, update period, reason history and added zones. All texts here,
// section and key names included, are Windows-1252 bytes.

// Empty when every write was made; otherwise the message for the error box ("Unable to write to Kalvo.ini").
// The writes before the failing one stay in the file, the later ones are not made.
using erreur_reglages = std::optional<std::string>;

// One file, read and written a key at a time; nothing is kept between calls.
class acces_reglages {
public:
    explicit acces_reglages(std::filesystem::path fichier);

    texte lit_texte(std::string_view section, std::string_view cle, std::string_view defaut) const;
    // "0x" or "0X" before hexadecimal digits, or the Pascal-style integer; the default when the key is
    // missing or empty or its value does not convert.
    std::int32_t lit_entier(std::string_view section, std::string_view cle, std::int32_t defaut) const;

    // A value that would not read back as written (blanks at either end, or a pair of quotes around it)
    // is written inside one more pair of double quotes, which the read removes.
    [[nodiscard]] erreur_reglages ecrit_texte(std::string_view section, std::string_view cle,
                                              std::string_view valeur);
    [[nodiscard]] erreur_reglages ecrit_entier(std::string_view section, std::string_view cle,
                                               std::int64_t valeur);

    // True once a read found the file there but unreadable (its defaults were then used).
    bool illisible() const { return illisible_; }

private:
    std::filesystem::path fichier_;
    mutable std::optional<texte> contenu_;
    mutable bool illisible_ = false;
};

struct zone_lue {
    texte nom;
    int normal_dixiemes = 1;
    int reduit_dixiemes = 1;
};

// What the file holds, with the defaults filled in and the values brought into safe ranges.
// Durations are in tenths of a second.
struct reglages_lus {
    montant taxe_base = 20;
    int local_reduit = 2240;
    int suburbain_reduit = 588;
    int interurbain_reduit = 406;
    int local_normal = 990;
    int suburbain_normal = 384;
    int interurbain_normal = 226;
    int periode_ms = 1000; // 1000, 3000, 5000 or 10000
    std::vector<texte> historique;
    std::vector<zone_lue> zones; // at most 40, each name one the zone dialog would accept
    bool illisible = false;      // the file is there but could not be read: all of the above are defaults
};

inline constexpr std::string_view message_reglages_illisibles =
    "Le fichier de réglages Kalvo.ini n'a pas pu être lu : Kalvo démarre avec les réglages par défaut.";

// Kalvo.ini in the data folder. The overloads without a path use it and create the folder when missing.
std::filesystem::path chemin_reglages();

reglages_lus lit_reglages(const std::filesystem::path& fichier);
reglages_lus lit_reglages();

// The update period, then the history under keys "1" to n, then the added zones of the table (durations
// in seconds there, written in tenths). Section "Tarifs" is left alone.
[[nodiscard]] erreur_reglages sauve_reglages(const std::filesystem::path& fichier, int periode_ms,
                                             const std::vector<texte>& historique, const table_zones& zones);
[[nodiscard]] erreur_reglages sauve_reglages(int periode_ms, const std::vector<texte>& historique,
                                             const table_zones& zones);

// The base charge in centimes and the six built-in durations in tenths, as confirmed in the dialog.
[[nodiscard]] erreur_reglages sauve_tarifs(const std::filesystem::path& fichier, montant taxe_base,
                                           int local_reduit, int suburbain_reduit, int interurbain_reduit,
                                           int local_normal, int suburbain_normal, int interurbain_normal);
[[nodiscard]] erreur_reglages sauve_tarifs(montant taxe_base, int local_reduit, int suburbain_reduit,
                                           int interurbain_reduit, int local_normal, int suburbain_normal,
                                           int interurbain_normal);

// A zone name becomes part of two key names: "=" in it would split the key, and a "[" or ";" first would
// make a line that can read as a section header or that reads as a comment. Works on Windows-1252 and UTF-8
// text alike.
bool nom_zone_brise_cles(std::string_view nom);
inline constexpr const char* message_nom_zone_cles =
    "Le nom de zone ne doit pas comporter '=' ni commencer par '[' ou ';'.";

// Two zone names that would share their keys: equal once the blanks at both ends are gone, case ignored.
bool noms_zone_confondus(std::string_view a, std::string_view b);
