#include "storage/verrou_instance.h"

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

verrou_instance::etat verrou_instance::prend(const std::filesystem::path& dossier) {
    std::error_code erreur;
    std::filesystem::create_directories(dossier, erreur);
    const std::filesystem::path fichier = dossier / "kalvo.verrou";
    const int fd = ::open(fichier.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return etat::impossible;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int numero = errno;
        ::close(fd);
        return numero == EWOULDBLOCK ? etat::deja_pris : etat::impossible;
    }
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
    return etat::pris;
}
