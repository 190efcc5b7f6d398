#pragma once

#include "storage/journal_appels.h"

#include <filesystem>
#include <string>

// The running call, kept on the disk so that a crash, a kill or a power cut does not lose it. The file holds
// the record the call would leave if it ended at its last tick, in the log's own format; it is replaced
// atomically at the start of the call and at every tick, and removed once the real record is in the log.

// The data folder + "appel_en_cours.tax".
std::filesystem::path chemin_appel_en_cours();

// False when the state could not be written; the previous state, if any, is then still there.
bool sauve_appel_en_cours(const std::filesystem::path& fichier, const appel& a);
bool sauve_appel_en_cours(const appel& a);

void oublie_appel_en_cours(const std::filesystem::path& fichier);
void oublie_appel_en_cours();

enum class etat_reprise {
    aucun,      // no interrupted call
    enregistre, // its record is now in the log and the file is gone
    non_ajoute, // the log refused the record; the file stays for the next start
    illisible,  // the file does not hold one whole record; it was set aside under mis_de_cote
};

struct resultat_reprise {
    etat_reprise etat = etat_reprise::aucun;
    std::filesystem::path mis_de_cote;
};

// Appends the record of a call that was running when the program stopped, unless the log already ends
// with it. The path-less form also removes the leftovers of killed writes (nettoie_restes_donnees).
resultat_reprise reprend_appel_interrompu(const std::filesystem::path& fichier,
                                          const std::filesystem::path& journal);
resultat_reprise reprend_appel_interrompu();

// Messages for the user, in UTF-8.
inline constexpr std::string_view message_appel_repris =
    "Un appel interrompu a été enregistré dans le fichier d'enregistrement des taxes.";
inline constexpr std::string_view message_appel_non_repris =
    "Un appel interrompu n'a pas pu être enregistré dans le fichier d'enregistrement des taxes ; "
    "Kalvo réessaiera au prochain démarrage.";
inline constexpr std::string_view message_appel_illisible =
    "L'appel interrompu n'a pas pu être relu ; son fichier a été mis de côté sous le nom %1.";
inline constexpr std::string_view message_appel_non_sauve =
    "L'appel en cours ne peut pas être sauvegardé dans le dossier de données : il serait perdu si Kalvo "
    "s'arrêtait brutalement.";
