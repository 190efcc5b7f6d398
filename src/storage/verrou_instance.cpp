#include "storage/verrou_instance.h"

#include "storage/raison_systeme.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

verrou_instance::~verrou_instance() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

verrou_instance::etat verrou_instance::prend(const dossier_donnees& donnees) {
    const std::filesystem::path& dossier = donnees.chemin();
    std::error_code erreur;
    std::filesystem::create_directories(dossier, erreur);
    if (!std::filesystem::is_directory(dossier, erreur)) {
        return etat::dossier_impossible;
    }
    const std::filesystem::path fichier = donnees.verrou_instance();
    int fd = ::open(fichier.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        fd = ::open(fichier.c_str(), O_RDONLY | O_CLOEXEC); // a lock needs no write access
        if (fd < 0 && errno == ENOENT && ::access(dossier.c_str(), W_OK) != 0) {
            return etat::lecture_seule; // no file can be written there, so two Kalvos cannot clash
        }
    }
    const int numero = fd < 0 ? errno : (::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno);
    if (numero == EWOULDBLOCK) {
        ::close(fd);
        return etat::deja_pris;
    }
    if (numero != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        message_ = "Kalvo ne peut pas démarrer : son fichier de verrou " + fichier.string() +
                   " est inutilisable (" + raison_systeme(numero) + "). Supprimez-le ou corrigez ses droits.";
        return etat::fichier_inutilisable;
    }
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
    return etat::pris;
}
