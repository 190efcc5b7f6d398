#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

// Every file of the data folder is opened here. A FIFO, a device or a folder in the place of one of Kalvo's
// files would block an open or a read for ever, or feed it without end (a link to /dev/zero): only a regular
// file gets through. A link to a regular file is followed, so the data may live in a synced folder.

enum class etat_fichier {
    ok,
    absent,        // no such file (and O_CREAT was not asked, or its folder is missing)
    pas_ordinaire, // a folder, a FIFO, a device or a socket
    lien_etranger, // a symbolic link another user owns: never followed
    trop_grand,    // lit_fichier_regulier only: larger than the cap
    erreur,        // any other failure; `numero` says which
};

struct fichier_ouvert {
    int fd = -1; // when ok; the caller closes it
    etat_fichier etat = etat_fichier::erreur;
    int numero = 0; // errno, for absent and erreur
};

// open(2) that never waits: O_NONBLOCK until fstat has seen a regular file, then cleared; O_TRUNC is
// applied only then, so nothing else is ever cut. O_CLOEXEC and O_NOCTTY are always added.
fichier_ouvert ouvre_fichier_regulier(const std::filesystem::path& chemin, int drapeaux, mode_t mode);

// The whole of a regular file into `contenu` (left empty unless ok); more than `plafond` bytes is trop_grand.
etat_fichier lit_fichier_regulier(const std::filesystem::path& chemin, std::string& contenu,
                                  std::size_t plafond);

// Why an open or a read failed, in French (UTF-8), for the detail of a message.
std::string raison_fichier(etat_fichier etat, int numero);

struct appels_systeme;

// Appends all the bytes and flushes them to the disk; on failure the file is cut back to what it was, since
// a half-written record would shift every later one. A missing file is made with exactly `mode_si_nouveau`
// (whatever the umask) and its folder entry flushed. numero is the errno of a failure.
struct resultat_fichier {
    etat_fichier etat = etat_fichier::ok;
    int numero = 0;
};
resultat_fichier ajoute_a_la_fin(const std::filesystem::path& chemin, std::string_view octets,
                                 mode_t mode_si_nouveau, const appels_systeme& systeme);
