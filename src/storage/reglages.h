#pragma once

#include "metering/alertes.h"
#include "metering/compteur.h"
#include "metering/montant.h"
#include "metering/table_zones.h"
#include "metering/texte_1252.h"
#include "storage/dossier_donnees.h"
#include "storage/fichier_atomique.h"
#include "storage/fichier_profil.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The settings file Kalvo.ini: base tariffs, update period, reason history and added zones. All texts here,
// section and key names included, are Windows-1252 bytes.

// Empty when the file was written; otherwise the message for the error box ("Kalvo.ini n'a pas pu être
// écrit", in UTF-8, without the full stop the box adds), and the file is then as it was before.
using erreur_reglages = std::optional<std::string>;

// One file: read once, changed in memory, and replaced in one step by enregistre().
class acces_reglages {
public:
    explicit acces_reglages(const dossier_donnees& donnees, const appels_systeme& systeme = systeme_reel);

    texte lit_texte(std::string_view section, std::string_view cle, std::string_view defaut) const;
    // "0x" or "0X" before hexadecimal digits, or the Pascal-style integer; the default when the key is
    // missing or empty or its value does not convert.
    std::int32_t lit_entier(std::string_view section, std::string_view cle, std::int32_t defaut) const;

    // A value that would not read back as written (blanks at either end, or a pair of quotes around it)
    // is written inside one more pair of double quotes, which the read removes.
    void ecrit_texte(std::string_view section, std::string_view cle, std::string_view valeur);
    void ecrit_entier(std::string_view section, std::string_view cle, std::int64_t valeur);
    // All the writes at once: the file holds either none of them or all. Nothing is written when they
    // changed nothing.
    [[nodiscard]] erreur_reglages enregistre();

    // True once a read found the file there but unreadable (its defaults were then used).
    bool illisible() const;

private:
    profil_en_memoire& charge() const;

    std::filesystem::path fichier_;
    mode_t mode_si_nouveau_;
    const appels_systeme systeme_; // a copy: two pointers, and a caller may pass a temporary
    mutable std::optional<profil_en_memoire> profil_;
    mutable lecture lecture_ = lecture::absente;
    bool modifie_ = false;
};

struct zone_lue {
    texte nom;
    int normal_dixiemes = 1;
    int reduit_dixiemes = 1;
};

// What the file holds, with the defaults filled in and the values brought into the ranges above.
struct reglages_lus {
    tarifs_base tarifs;
    int periode_ms = periodes_mise_a_jour[0]; // one of periodes_mise_a_jour
    std::vector<texte> historique;
    std::vector<zone_lue> zones;     // at most 40, each name one examine_nom_zone accepts
    reglages_alertes alertes;        // section "Alertes"; any value not 0 turns an alert on
    std::int32_t budget_annonce = 0; // veille_alertes::budget_annonce of the last run
    bool illisible = false;          // the file is there but could not be read: all of the above are defaults
};

inline constexpr std::string_view message_reglages_illisibles =
    "Le fichier de réglages Kalvo.ini n'a pas pu être lu : Kalvo démarre avec les réglages par défaut.";

// The data folder's Kalvo.ini. A new one gets the log's permissions (it holds the reasons).
reglages_lus lit_reglages(const dossier_donnees& donnees);

// The update period, then the history under keys "1" to n, then the added zones of the table (durations
// in seconds there, written in tenths). Section "Tarifs" is left alone.
[[nodiscard]] erreur_reglages sauve_reglages(const dossier_donnees& donnees, int periode_ms,
                                             const std::vector<texte>& historique, const table_zones& zones,
                                             const appels_systeme& systeme = systeme_reel);

// The size the call-log window had when it was last closed, in its own section: none when a key is missing
// or outside taille_min_fenetre to taille_max_fenetre pixels.
struct taille_fenetre {
    int largeur = 0;
    int hauteur = 0;
    bool operator==(const taille_fenetre&) const = default;
};
inline constexpr int taille_min_fenetre = 200;
inline constexpr int taille_max_fenetre = 10'000;
std::optional<taille_fenetre> lit_taille_journal(const dossier_donnees& donnees);
[[nodiscard]] erreur_reglages sauve_taille_journal(const dossier_donnees& donnees, taille_fenetre taille,
                                                   const appels_systeme& systeme = systeme_reel);

// Section "Tarifs", as confirmed in the dialog.
[[nodiscard]] erreur_reglages sauve_tarifs(const dossier_donnees& donnees, const tarifs_base& tarifs,
                                           const appels_systeme& systeme = systeme_reel);

// Section "Alertes", as confirmed in its dialog.
[[nodiscard]] erreur_reglages sauve_alertes(const dossier_donnees& donnees, const reglages_alertes& alertes,
                                            const appels_systeme& systeme = systeme_reel);

// The last budget level said, written when it is said.
[[nodiscard]] erreur_reglages sauve_budget_annonce(const dossier_donnees& donnees, std::int64_t code);

// Why a name cannot be given to a new zone. A zone name becomes part of two key names: "=" in it would
// split the key, and a "[" or ";" first would make a line that can read as a section header or that reads
// as a comment. Two names equal once the blanks at both ends are gone, case ignored, would share their
// keys. Works on Windows-1252 and UTF-8 text alike.
enum class refus_nom_zone { aucun, accolade, deja_pris, brise_cles };
refus_nom_zone examine_nom_zone(std::string_view nom, const table_zones& zones);
