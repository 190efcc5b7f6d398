#pragma once

#include "storage/dossier_donnees.h"

#include <string>

// One Kalvo per data folder: two would overwrite each other's settings and running call. The lock is an
// advisory lock on a file of the folder; the system drops it when the process ends, however it ends, so a
// lock left by a process that died is simply taken over.
class verrou_instance {
public:
    enum class etat {
        pris,
        deja_pris,
        dossier_impossible,   // the folder cannot be created: nothing can be written, Kalvo may run
        lecture_seule,        // the folder cannot be written and holds no lock file: Kalvo may run
        fichier_inutilisable, // kalvo.verrou cannot be locked in a folder Kalvo can write: it must not run
    };

    verrou_instance() = default;
    ~verrou_instance();
    verrou_instance(const verrou_instance&) = delete;
    verrou_instance& operator=(const verrou_instance&) = delete;

    // Creates the folder when missing.
    etat prend(const dossier_donnees& donnees);
    // For fichier_inutilisable: the message, naming the file and the reason (UTF-8).
    const std::string& message() const { return message_; }

private:
    int fd_ = -1;
    std::string message_;
};

inline constexpr const char* message_deja_lance = "Kalvo est déjà en cours d'exécution.";
// %1 is the folder.
inline constexpr const char* message_dossier_impossible =
    "Le dossier de données %1 n'a pas pu être créé : les appels ne pourront pas être enregistrés.";
inline constexpr const char* message_dossier_lecture_seule =
    "Le dossier de données %1 est en lecture seule : les appels ne pourront pas être enregistrés.";
