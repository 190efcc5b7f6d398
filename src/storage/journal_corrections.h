#pragma once

#include "metering/horodatage.h"
#include "metering/montant.h"
#include "metering/table_zones.h"
#include "storage/periode_appels.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Corrections of the call log, each on a set of calls named by their identite_appel (lit_appels gives
// them). A correction rewrites the log as the prune does (reecrit_journal): under its lock, the records it
// does not change copied byte for byte. It reads the log as it is then, so a call another program added or
// removed since the caller read it changes nothing as long as the calls named are still there; when one of
// them is gone it is refused and the log stays as it was.
//
// Applying a correction gives its inverse, named in the new log: undoing is applying that, to the log as it
// is by then, so a call added meanwhile (by kalvo-journal, a recovery) survives an undo. A call deleted and
// put back goes before the first record that started after it, at the end when there is none (or its own
// start does not read): where it was, in a log written in the order of the calls.

struct correction {
    struct remplacement {
        identite_appel appel;
        std::optional<texte> par; // the new record (six lines, CR LF); none: the call is deleted
    };
    std::vector<remplacement> remplacements;
    std::vector<texte> retablis; // records put back

    bool vide() const { return remplacements.empty() && retablis.empty(); }
};

// Messages for the user, in UTF-8.
inline constexpr std::string_view message_appel_disparu =
    "Un des appels à corriger n'est plus dans le fichier d'enregistrement des taxes (un autre programme l'a "
    "modifié) : rien n'a été changé.";
inline constexpr std::string_view message_correction_journal_corrompu =
    "Le fichier d'enregistrement des taxes est corrompu : il ne peut pas être corrigé tant qu'il n'est pas "
    "réparé.";
inline constexpr std::string_view message_debut_illisible =
    "Le début de cet appel ne se lit pas : sa fin ne peut pas être corrigée.";
inline constexpr std::string_view message_fin_hors_limites =
    "La fin corrigée doit suivre le début de l'appel, de sept jours au plus.";
// "La zone « %s » n'existe plus : ...", the name in Windows-1252.
std::string message_zone_disparue(std::string_view zone);

// The reason of each call becomes `motif` (a reason that exists already: the calls join it).
correction change_motif(const std::vector<identite_appel>& appels, std::string_view motif);
correction supprime_appels(const std::vector<identite_appel>& appels);

// The end of a call that was not ended in time: its charge worked out again from its start by the meter's own
// rule, with the zone's unit durations, the base charge and the update period in force now.
struct fin_corrigee {
    std::string message; // empty when it can be corrected; otherwise why not
    montant centimes = 0;
    correction a_appliquer;
};
fin_corrigee corrige_fin(const identite_appel& appel, horodatage fin, const table_zones& zones,
                         int periode_ms, int annee_courante);

struct resultat_correction {
    bool ok = true;
    std::string message; // why not, when refused (UTF-8)
    correction inverse;  // undoes it, when ok
};
resultat_correction applique_correction(const std::filesystem::path& journal, const correction& c,
                                        int annee_courante,
                                        std::chrono::milliseconds attente = attente_verrou_journal,
                                        const appels_systeme& systeme = systeme_reel);
