#pragma once

#include "metering/horodatage.h"
#include "metering/texte_1252.h"
#include "storage/journal_appels.h"
#include "storage/journal_lecteur.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Statements for a period. A call belongs to the day it started, as a telephone bill counts it: the date of
// its record's line 1, read by the log's date rule (convertit_date, two-digit years included).

struct periode_appels {
    std::optional<std::int64_t> du; // first day, inclusive (a day count); none: from the first call
    std::optional<std::int64_t> au; // last day, inclusive; none: up to the last call

    bool bornee() const { return du.has_value() || au.has_value(); }
    bool contient(std::int64_t jour) const { return (!du || jour >= *du) && (!au || jour <= *au); }
};

periode_appels periode_mois(int annee, int mois);

// The periods the call-log window offers, from today's local date.
enum class choix_periode { ce_mois, mois_dernier, cette_annee, tout };
periode_appels periode_choisie(choix_periode choix, horodatage aujourd_hui);

// The rule applied, said to the user (UTF-8): "appels commencés du 01.03.2026 au 31.03.2026".
std::string description_periode(const periode_appels& periode);
// A day count as dd.mm.yyyy.
std::string texte_jour(std::int64_t jour);

// Messages for the user, in UTF-8.
inline constexpr std::string_view message_mois_et_dates =
    "Une période se donne par --mois, ou par --du et --au, pas par les deux.";
inline constexpr std::string_view message_periode_a_l_envers =
    "La période finit avant de commencer : la date de --au précède celle de --du.";
// "« %s » n'est pas un mois valide (MM.AAAA)", the text in Windows-1252 (a date: message_date_invalide).
std::string message_mois_saisi(std::string_view texte);

// A period typed by the user (Windows-1252; none where the option was not given): a first and a last day
// as JJ.MM.AAAA, or a month as MM.AAAA, each checked as the prune's date is. `message` is empty when the
// period reads.
struct periode_saisie {
    periode_appels periode;
    std::string message;
};
periode_saisie lit_periode(std::optional<std::string_view> du, std::optional<std::string_view> au,
                           std::optional<std::string_view> mois, int annee_courante);

// "h:mm:ss", as many hours as there are: 3725 seconds give "1:02:05".
std::string texte_duree(std::int64_t secondes);

// The log's date rule with the last text remembered: records come in order, so a date is mostly that of the
// record before.
class dates_lues {
public:
    explicit dates_lues(int annee_courante) : annee_courante_(annee_courante) {}
    std::optional<std::int64_t> jour(std::string_view date);

private:
    int annee_courante_;
    texte derniere_;
    std::optional<std::int64_t> jour_;
};

// The moment of line 1 or 2 (date and time) in seconds from day 0, when both read.
std::optional<std::int64_t> moment_ligne(std::string_view ligne, dates_lues& dates);

// The time talked of a record, in seconds: its end (line 2) minus its start (line 1), dates and times both,
// so a call over midnight counts right. None when either does not read or the end comes before the start
// (a clock set back): such a call counts no time, though its calls and amount count.
std::optional<std::int64_t> duree_appel(const lignes_enregistrement& lignes, int annee_courante);
// The same with the dates of the records read before remembered.
std::optional<std::int64_t> duree_appel(const lignes_enregistrement& lignes, dates_lues& dates);

// Totals per reason: reasons are one when they differ only in letter case, an empty reason (or one of
// blanks) counts as libelle_motif_vide, and each is named as in the first call that brought it.
class totaux_par_motif {
public:
    // Counts one call; gives the place of its reason in motifs().
    std::size_t ajoute(std::string_view motif, std::int64_t centimes, std::int64_t secondes = 0);
    const std::vector<total_motif>& motifs() const { return motifs_; }
    std::vector<total_motif> prend_motifs() { return std::move(motifs_); }
    // All calls counted, under no reason.
    const total_motif& total() const { return total_; }

private:
    std::vector<total_motif> motifs_;
    std::unordered_map<texte, std::size_t> places_; // by folded reason
    total_motif total_;
};

// How a reading of the period ended. A record whose amount does not read, or with a line longer than
// longueur_max_ligne, is damage, as for the totals; so is, when the period has a bound, a start date that
// does not read. Reading stops there, what came before stands.
struct resultat_parcours {
    etat_lecture etat = etat_lecture::complet;
    std::int64_t ligne_fautive = 0; // when corrompu: the number of the first line that does not read, from 1
};

// One record of the period, as parcourt_periode hands it over; the views last until the next.
struct enregistrement_periode {
    const lignes_enregistrement& lignes;
    std::string_view brut;            // its bytes in the file
    std::int64_t premiere_ligne;      // the number of its line 1
    std::optional<std::int64_t> jour; // its start day, when it reads
    std::int64_t centimes;
};

// Streams the log and hands over its records of the period, in the order of the file.
resultat_parcours parcourt_periode(const std::filesystem::path& journal, const periode_appels& periode,
                                   int annee_courante,
                                   const std::function<void(const enregistrement_periode&)>& visite);

// The statement of a period: per reason the calls, the time talked and the amount, then all of them.
struct releve_periode {
    resultat_parcours lecture;
    std::vector<total_motif> motifs; // in order of first appearance
    total_motif total;
};
releve_periode releve(const std::filesystem::path& journal, const periode_appels& periode,
                      int annee_courante);

// A call as the corrections name it: its record's bytes as they stand in the file, and how many records of
// exactly those bytes come before it (two calls logged twice over are told apart by their order).
struct identite_appel {
    texte brut;
    std::int64_t occurrence = 0;
    bool operator==(const identite_appel&) const = default;
};

// A call of the period, for the call-log window. Its bytes lie in the one buffer of the reading it came from
// (lecture_appels), so a long log costs one allocation, not one per call: it is valid while that reading, or
// a copy of it, lives.
struct appel_journal {
    std::int64_t occurrence = 0; // as in identite_appel
    std::int64_t premiere_ligne = 0;
    std::optional<std::int64_t> jour; // start day
    std::optional<int> debut;         // start and end times of day, in seconds
    std::optional<int> fin;
    std::optional<std::int64_t> duree; // duree_appel
    std::int64_t centimes = 0;

    std::string_view brut() const { return partie(brut_); }
    std::string_view zone() const { return partie(zone_); } // line 3 less its prefix
    std::string_view motif() const { return partie(motif_); }
    identite_appel identite() const { return {texte(brut()), occurrence}; }
    // The end the log gives it (its start and duration), which a correction of a forgotten "Fin" offers.
    horodatage fin_ecrite() const {
        return static_cast<double>(jour.value_or(0) * 86'400 + debut.value_or(0) + duree.value_or(0)) / 86'400.0;
    }

    // Where the parts lie in `octets`; from the reading.
    struct place {
        std::size_t debut = 0;
        std::size_t taille = 0;
    };
    const texte* octets = nullptr;
    place brut_, zone_, motif_;

private:
    std::string_view partie(place p) const { return std::string_view(*octets).substr(p.debut, p.taille); }
};

struct lecture_appels {
    resultat_parcours lecture;
    std::vector<appel_journal> appels;                         // in the order of the file
    std::shared_ptr<texte> octets = std::make_shared<texte>(); // the calls' records, one after the other
};
lecture_appels lit_appels(const std::filesystem::path& journal, const periode_appels& periode,
                          int annee_courante);

// The calls of a period taken from a reading of the whole log, as lit_appels reads them for that period
// (a start date that does not read is damage when the period has a bound): switching periods reads no file.
struct appels_periode {
    resultat_parcours lecture;
    std::vector<std::size_t> places; // in the whole reading, in the order of the file
};
appels_periode appels_de_la_periode(const lecture_appels& tout, const periode_appels& periode);

// The per-reason table of the call-log window: the calls' reasons (those at `places`) placed by
// totaux_par_motif's rule.
struct appels_par_motif {
    std::vector<total_motif> motifs; // in order of first appearance
    total_motif total;
    std::vector<std::size_t> places;   // the calls, as given
    std::vector<std::size_t> motif_de; // per call, the place of its reason in motifs
};
appels_par_motif regroupe_par_motif(const std::vector<appel_journal>& appels,
                                    const std::vector<std::size_t>& places);

// Reasons chosen in that table (places in motifs): their calls (places in `appels`), in the order of the
// list, and their sum, as the report sums its selection. No reason chosen shows every call, and sums nothing.
struct choix_motifs {
    std::vector<std::size_t> appels;
    total_motif somme;
};
choix_motifs choisit_motifs(const appels_par_motif& par_motif, const std::vector<std::size_t>& choisis);

// The calls at these places, their time and their amount together, as a deletion names them.
total_motif somme_appels(const std::vector<appel_journal>& appels, const std::vector<std::size_t>& places);

// Where a damaged log stops being read, said to the user (UTF-8).
std::string message_dommage(std::int64_t ligne);
