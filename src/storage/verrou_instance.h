#pragma once

#include <filesystem>

// One Kalvo per data folder: two would overwrite each other's settings and running call. The lock is an
// advisory lock on a file of the folder; the system drops it when the process ends, however it ends, so a
// lock left by a process that died is simply taken over.
class verrou_instance {
public:
    enum class etat { pris, deja_pris, impossible };

    verrou_instance() = default;
    ~verrou_instance();
    verrou_instance(const verrou_instance&) = delete;
    verrou_instance& operator=(const verrou_instance&) = delete;

    // Creates the folder when missing. impossible: the folder or the lock file cannot be had.
    etat prend(const std::filesystem::path& dossier);

private:
    int fd_ = -1;
};

inline constexpr const char* message_deja_lance = "Kalvo est déjà en cours d'exécution.";
// %1 is the folder.
inline constexpr const char* message_dossier_impossible =
    "Le dossier de données %1 n'a pas pu être créé : les appels ne pourront pas être enregistrés.";
