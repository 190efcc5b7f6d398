#pragma once

#include "metering/compteur.h"
#include "storage/dossier_donnees.h"
#include "storage/journal_appels.h"

#include <chrono>
#include <string_view>

// Finished calls the log could not take when they ended (another program held it, the disk was full, the
// folder was read-only...). They wait in the data folder's appels_en_attente.tax, in the log's own format,
// until a write of the log takes them: never in the running call's file, which the next call replaces.

// Appends whole records to the waiting calls, flushed to the disk; the file is made with the log's
// permissions.
resultat_ecriture met_en_attente(const dossier_donnees& donnees, std::string_view enregistrements,
                                 const appels_systeme& systeme = systeme_reel);

// Writes to the log, under its lock, the waiting calls first, in order, then `nouveaux` (whole records), each
// unless the log holds it already; then empties the waiting calls. A kill at any moment leaves each call in
// the waiting calls, in the log, or in both, and then it is known as written. Waits up to `attente` for the
// lock.
resultat_ecriture inscrit_appels(const dossier_donnees& donnees, std::string_view nouveaux,
                                 std::chrono::milliseconds attente,
                                 const appels_systeme& systeme = systeme_reel);

// Whether calls wait to be written.
bool appels_en_attente(const dossier_donnees& donnees);

// What the calls started in that month cost, in centimes: the log's, those still waiting for it, and the
// running call when it started in that month.
std::int64_t depenses_du_mois(const dossier_donnees& donnees, int annee, int mois, int annee_courante,
                              const compteur& appel = compteur{});
