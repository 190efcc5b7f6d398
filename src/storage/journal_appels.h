#pragma once

#include "metering/appel.h"
#include "metering/horloge_locale.h"
#include "metering/horodatage.h"
#include "metering/montant.h"
#include "metering/texte_1252.h"
#include "storage/fichier_atomique.h"
#include "storage/verrou_journal.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The call log sauve.tax: one six-line record per finished call, in Windows-1252 with CR LF line ends.
// The readers cut fixed widths out of lines 2, 4 and 5, so every width written here is binding.
//
// Every operation takes the log's path: the data folder's (dossier_donnees::journal) or any other, for the
// command-line companion. The writers wait up to `attente` for the log's lock, and reach the disk through
// `systeme` (tests record or refuse those calls). Failures come back as values, never as exceptions.

// Messages for the user, in UTF-8 (the encoding of this source), shown as they stand. The message of
// an impossible date (message_date_invalide, below) has no full stop: the error box adds it.
// %1 says why (a resultat_ecriture's detail); %2 names the file the call is kept in.
inline constexpr std::string_view message_appel_en_attente =
    "L'appel n'a pas pu être inscrit dans le fichier d'enregistrement des taxes : %1. Il est gardé dans %2 ; "
    "Kalvo l'y inscrira dès que possible.";
inline constexpr std::string_view message_appel_non_enregistre =
    "L'appel n'a pas pu être enregistré dans le fichier d'enregistrement des taxes : %1. Il reste dans %2 ; "
    "Kalvo réessaiera.";
inline constexpr std::string_view message_appels_inscrits =
    "Les appels en attente ont été inscrits dans le fichier d'enregistrement des taxes.";
// %1 says why.
inline constexpr std::string_view message_effacement_impossible =
    "Le fichier d'enregistrement des taxes n'a pas pu être effacé : %1.";
inline constexpr std::string_view message_reecriture_impossible =
    "Le fichier d'enregistrement des taxes n'a pas pu être réécrit";
inline constexpr std::string_view message_journal_absent =
    "Le fichier d'enregistrement des taxes n'existe pas";
inline constexpr std::string_view message_journal_corrompu =
    "Le fichier d'enregistrement des taxes est corrompu";
inline constexpr std::string_view message_journal_illisible =
    "Le fichier d'enregistrement des taxes n'a pas pu être lu.";
// Another writer (kalvo-journal, or Kalvo for kalvo-journal) kept the log's lock for the whole wait.
inline constexpr std::string_view message_journal_occupe =
    "Le fichier d'enregistrement des taxes est occupé par un autre programme : il n'a pas été modifié.";

// The name under which empty reasons (or reasons of blanks only) are totalled, in Windows-1252.
inline constexpr std::string_view libelle_motif_vide = "<<motif non-sp\xE9"
                                                       "cifi\xE9>>";

// 1 = "dimanche" to 7 = "samedi"; any other number gives "jamais".
std::string nom_jour(int numero);

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
// On failure nothing of the record stays in the log.
resultat_ecriture ajoute_appel(const std::filesystem::path& journal, const appel& a,
                               std::chrono::milliseconds attente = attente_verrou_journal,
                               const appels_systeme& systeme = systeme_reel);

// Appends records already formatted (whole six-line records, in order), with the same guarantees. With
// sauf_presents, the records the log already holds anywhere (the same six lines) are left out: a call
// recovered after a kill that came once it was appended, or one written by another Kalvo sharing the log,
// is not counted twice.
resultat_ecriture ajoute_enregistrements(const std::filesystem::path& journal,
                                         std::string_view enregistrements, bool sauf_presents = false,
                                         std::chrono::milliseconds attente = attente_verrou_journal,
                                         const appels_systeme& systeme = systeme_reel);
// The same, under the log's lock the caller holds already (for more work under that same lock).
resultat_ecriture ajoute_enregistrements(const verrou_journal& verrou, const std::filesystem::path& journal,
                                         std::string_view enregistrements, bool sauf_presents,
                                         const appels_systeme& systeme);

// Empties the log (creates it when missing); it exists with zero bytes afterwards. A log that held
// something is first copied to chemin_precedent(journal), replacing the copy of the erase before, so that
// a slip can be undone by hand; at any crash point the content is in the log, the copy or both.
resultat_ecriture efface_journal(const std::filesystem::path& journal,
                                 std::chrono::milliseconds attente = attente_verrou_journal,
                                 const appels_systeme& systeme = systeme_reel);

// One reason of the report: the text of the first record that brought it, the sum of its calls, their number
// and, in a statement for a period (releve), the time they talked.
struct total_motif {
    texte motif;
    std::int64_t centimes = 0;
    std::int64_t appels = 0;
    std::int64_t secondes = 0;
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
resultat_purge purge_avant(const std::filesystem::path& journal, int jour, int mois, int annee,
                           const horloge_locale& horloge,
                           std::chrono::milliseconds attente = attente_verrou_journal,
                           const appels_systeme& systeme = systeme_reel);
// The same with the threshold as a day count (convertit_date's).
resultat_purge purge_avant_jour(const std::filesystem::path& journal, std::int64_t seuil, int annee_courante,
                                std::chrono::milliseconds attente = attente_verrou_journal,
                                const appels_systeme& systeme = systeme_reel);

// The log's date conversion: day, ".", month, ".", year, blanks allowed before each number, nothing
// after. A year of 0 to 99 is taken in the current century, or in the one before when it would lie
// after the current year. Gives the whole day count of a valid Gregorian date.
std::optional<std::int64_t> convertit_date(std::string_view texte, int annee_courante);

// "« %s » n'est pas une date valide" with the given Windows-1252 text, in UTF-8: the one message of Kalvo
// and kalvo-journal for a date that does not convert.
std::string message_date_invalide(std::string_view texte);
