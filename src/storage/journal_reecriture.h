#pragma once

#include "metering/texte_1252.h"
#include "storage/fichier_atomique.h"
#include "storage/journal_lecteur.h"
#include "storage/verrou_journal.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

// The log rewritten in one step, as the prune and the corrections do it: under the log's lock for the whole
// read-modify-replace, each record read in order gives what takes its place, written to a temporary file
// beside the log, flushed and renamed over it, its mode kept. Any failure or refusal leaves the log byte for
// byte as it was.

enum class etat_reecriture {
    faite,
    arretee,        // the caller's function stopped it; the caller knows why
    absent,         // no such file
    erreur_fichier, // the lock, reading, writing or replacing failed; `message` says which (UTF-8)
};

struct resultat_reecriture {
    etat_reecriture etat = etat_reecriture::faite;
    std::string message;
};

// Called for each record in order: appends to `sortie` what stands in its place, or returns false to stop.
using traite_enregistrement =
    std::function<bool(const lecteur_journal& lecteur, const lignes_enregistrement& lignes, texte& sortie)>;
// Called once after the last record, for what goes at the end; false stops too.
using termine_reecriture = std::function<bool(texte& sortie)>;

resultat_reecriture reecrit_journal(const std::filesystem::path& journal, const traite_enregistrement& traite,
                                    const termine_reecriture& termine = {},
                                    std::chrono::milliseconds attente = attente_verrou_journal,
                                    const appels_systeme& systeme = systeme_reel);

// The six lines, each followed by CR LF.
void ajoute_lignes(texte& sortie, const lignes_enregistrement& lignes);
// The record last read, unchanged: its bytes when they are already its six lines each ended by CR LF.
void recopie(texte& sortie, const lecteur_journal& lecteur, const lignes_enregistrement& lignes);
// A record's lines as the reader cuts them (a CR ends a line, a LF right after it belongs to the line end);
// views into `brut`.
lignes_enregistrement lignes_de(std::string_view brut);
