#pragma once

#include "storage/dossier_donnees.h"
#include "storage/journal_appels.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// The running call, kept on the disk so that a crash or a kill does not lose it: the file holds the record
// the call would leave if it ended at its last tick, in the log's own format. It is replaced atomically at
// the start of the call and at every tick, and removed once the real record is in the log or waits for it.
//
// A kill loses nothing that was written, flushed or not; only a power cut loses what the disk has not got.
// So the file is flushed at the start and at the end of the call and at most once a minute between: a
// laptop's disk is not woken every second, and a power cut costs at most the last minute of a call.
class sauvegarde_appel {
public:
    explicit sauvegarde_appel(dossier_donnees donnees, const appels_systeme& systeme = systeme_reel)
        : donnees_(std::move(donnees)), systeme_(systeme) {}

    // The state at `ms` on the clock of the time talked. Flushed when `durable`, or when the last flush is a
    // minute old or more. False when it could not be written; the previous state, if any, is then still
    // there.
    bool sauve(const appel& a, std::int64_t ms, bool durable = false);
    // The record is in the log, or waits for it: the file goes.
    void oublie();

private:
    dossier_donnees donnees_;
    const appels_systeme systeme_; // a copy: two pointers, and a caller may pass a temporary
    std::optional<std::int64_t> dernier_flush_;
};

enum class etat_reprise {
    aucun,      // no interrupted call
    enregistre, // its record is now in the log and the file is gone
    en_attente, // the log could not take it (`detail` says why): it waits with the calls not yet written
    non_ajoute, // neither the log nor the waiting calls took it; the file stays for the next start
    illisible,  // the file does not hold one whole record; it was set aside under mis_de_cote
};

struct resultat_reprise {
    etat_reprise etat = etat_reprise::aucun;
    std::filesystem::path mis_de_cote;
    std::string detail;
    texte enregistrement;         // non_ajoute: the call's record, which nothing may overwrite until written
    bool journal_nettoye = false; // the leftovers beside the log are gone (its lock was had)
};

// At start-up, before any new call: removes what killed writes left in the data folder, then writes the
// record of a call that was running when the program stopped, with the waiting calls. Waits up to `attente`
// for the log's lock; the log's own leftovers wait for nettoie_restes_journal when the lock was busy.
resultat_reprise reprend_appel_interrompu(const dossier_donnees& donnees, std::chrono::milliseconds attente);

// Removes the leftovers of killed writes of the log and of its erase copy, under the log's lock; false when
// the lock was not had.
bool nettoie_restes_journal(const dossier_donnees& donnees, std::chrono::milliseconds attente);

// Messages for the user, in UTF-8.
inline constexpr std::string_view message_appel_repris =
    "Un appel interrompu a été enregistré dans le fichier d'enregistrement des taxes.";
// %1 is why the log could not take it, %2 the file of the waiting calls.
inline constexpr std::string_view message_appel_repris_en_attente =
    "Un appel interrompu n'a pas pu être inscrit dans le fichier d'enregistrement des taxes (%1) : il est "
    "gardé dans %2 et Kalvo l'y inscrira dès que possible.";
inline constexpr std::string_view message_appel_non_repris =
    "Un appel interrompu n'a pas pu être enregistré dans le fichier d'enregistrement des taxes (%1) ; "
    "Kalvo réessaiera au prochain démarrage.";
inline constexpr std::string_view message_appel_illisible =
    "L'appel interrompu n'a pas pu être relu ; son fichier a été mis de côté sous le nom %1.";
inline constexpr std::string_view message_appel_non_sauve =
    "L'appel en cours ne peut pas être sauvegardé dans le dossier de données : il serait perdu si Kalvo "
    "s'arrêtait brutalement.";
