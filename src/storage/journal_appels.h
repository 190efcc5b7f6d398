#pragma once

#include "metering/horloge_locale.h"
#include "metering/horodatage.h"
#include "metering/montant.h"
#include "metering/texte_1252.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The call log sauve.tax: one six-line record per finished call, in Windows-1252 with CR LF line ends.
// The readers cut fixed widths out of lines 2, 4 and 5, so every width written here is binding.
//
// Every operation exists twice: without a path it works on chemin_journal(), with one on that file
// (the command-line companion and the tests). Failures come back as values, never as exceptions.

// Messages for the user, in UTF-8 (the encoding of this source), shown as they stand. The message of
// an impossible date (message_date_invalide, below) has no full stop: the error box adds it.
inline constexpr std::string_view message_appel_non_enregistre =
    "L'appel n'a pas pu être enregistré dans le fichier d'enregistrement des taxes.";
inline constexpr std::string_view message_effacement_impossible =
    "Le fichier d'enregistrement des taxes n'a pas pu être effacé.";
inline constexpr std::string_view message_reecriture_impossible =
    "Le fichier d'enregistrement des taxes n'a pas pu être réécrit.";
inline constexpr std::string_view message_journal_absent =
    "Le fichier d'enregistrement des taxes n'existe pas";
inline constexpr std::string_view message_journal_corrompu =
    "Le fichier d'enregistrement des taxes est corrompu";
inline constexpr std::string_view message_journal_illisible =
    "Le fichier d'enregistrement des taxes n'a pas pu être lu.";
// Another writer (kalvo-journal, or Kalvo for kalvo-journal) kept the log's lock for the whole wait.
inline constexpr std::string_view message_appel_journal_occupe =
    "Le fichier d'enregistrement des taxes est occupé par un autre programme : l'appel n'y a pas été "
    "inscrit ; il le sera au prochain démarrage de Kalvo.";
inline constexpr std::string_view message_effacement_occupe =
    "Le fichier d'enregistrement des taxes est occupé par un autre programme : il n'a pas été effacé.";
inline constexpr std::string_view message_journal_occupe =
    "Le fichier d'enregistrement des taxes est occupé par un autre programme : il n'a pas été modifié.";

// The name under which empty reasons (or reasons of blanks only) are totalled, in Windows-1252.
inline constexpr std::string_view libelle_motif_vide = "<<motif non-sp\xE9"
                                                       "cifi\xE9>>";

// The data folder + "sauve.tax"; built anew on each call.
std::filesystem::path chemin_journal();

// 1 = "dimanche" to 7 = "samedi"; any other number gives "jamais".
std::string nom_jour(int numero);

// One finished call. Dates and times are timestamps: only the date part of the dates and the
// time-of-day part of the times are written. Zone and reason are Windows-1252 text.
struct appel {
    horodatage date_debut = 0;
    horodatage heure_debut = 0;
    horodatage date_fin = 0;
    horodatage heure_fin = 0;
    texte zone;
    texte motif;
    montant centimes = 0;
};

// The six lines of the call's record, each ended by CR LF, exactly as appended to the log.
texte formate_appel(const appel& a);

// Outcome of a write (append or erase): ok, or the reason in `detail` (French, UTF-8). occupe: another
// writer held the log's lock for the whole wait, and nothing was written.
struct resultat_ecriture {
    bool ok = true;
    std::string detail;
    bool occupe = false;
};

// Appends the call's record and flushes it to the disk before reporting success, under the log's lock.
// The path-less form creates the data folder when missing. On failure nothing of the record stays in the log.
resultat_ecriture ajoute_appel(const appel& a);
resultat_ecriture ajoute_appel(const std::filesystem::path& journal, const appel& a);

// Appends records already formatted (whole six-line records), with the same guarantees. With
// sauf_si_dernier, nothing is appended when the log already ends with exactly these bytes (a record
// appended just before a crash that kept its copy).
resultat_ecriture ajoute_enregistrement(const std::filesystem::path& journal, std::string_view enregistrement,
                                        bool sauf_si_dernier = false);

// Empties the log (creates it when missing); it exists with zero bytes afterwards. A log that held
// something is first copied to chemin_precedent(journal), replacing the copy of the erase before, so that
// a slip can be undone by hand; at any crash point the content is in the log, the copy or both.
resultat_ecriture efface_journal();
resultat_ecriture efface_journal(const std::filesystem::path& journal);

// The erased log's copy: the log's file (a link's target) + ".precedent".
std::filesystem::path chemin_precedent(const std::filesystem::path& journal);

// One reason of the report: the text of the first record that brought it, and the sum of its calls.
struct total_motif {
    texte motif;
    std::int64_t centimes = 0;
};

enum class etat_lecture {
    complet,       // the whole log was read
    corrompu,      // stopped at a record whose amount does not read; the totals before it stand
    absent,        // no such file
    erreur_lecture // the file could not be opened or read; the totals read so far stand
};

struct resultat_totaux {
    etat_lecture etat = etat_lecture::complet;
    std::vector<total_motif> motifs; // in order of first appearance
};

// Totals per reason over the whole log; reasons are one when they differ only in letter case.
resultat_totaux totalise_motifs();
resultat_totaux totalise_motifs(const std::filesystem::path& journal);

enum class etat_purge {
    fait,
    date_invalide,  // the threshold or a record's end date does not convert; `message` says which
    absent,         // no such file
    erreur_fichier, // reading, writing or replacing the log failed
};

struct resultat_purge {
    etat_purge etat = etat_purge::fait;
    std::string message;     // UTF-8, for the user; empty when fait
    std::int64_t gardes = 0; // records kept, when fait
    std::int64_t retires = 0;
};

// Removes the records of calls that ended before the given day; calls that ended on it stay. Two-digit
// years read against the clock's current year. Holds the log's lock throughout; on any failure the log
// stays byte for byte as it was.
resultat_purge purge_avant(int jour, int mois, int annee, const horloge_locale& horloge);
resultat_purge purge_avant(const std::filesystem::path& journal, int jour, int mois, int annee,
                           const horloge_locale& horloge);
// The same with the threshold as a day count (convertit_date's).
resultat_purge purge_avant_jour(const std::filesystem::path& journal, std::int64_t seuil, int annee_courante);

// The log's date conversion: day, ".", month, ".", year, blanks allowed before each number, nothing
// after. A year of 0 to 99 is taken in the current century, or in the one before when it would lie
// after the current year. Gives the whole day count of a valid Gregorian date.
std::optional<std::int64_t> convertit_date(std::string_view texte, int annee_courante);

// "« %s » n'est pas une date valide" with the given Windows-1252 text, in UTF-8: the one message of Kalvo
// and kalvo-journal for a date that does not convert.
std::string message_date_invalide(std::string_view texte);
