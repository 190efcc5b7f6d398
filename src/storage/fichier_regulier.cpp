#include "storage/fichier_regulier.h"

#include "storage/raison_systeme.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

fichier_ouvert ouvre_fichier_regulier(const std::filesystem::path& chemin, int drapeaux, mode_t mode) {
    const bool tronque = (drapeaux & O_TRUNC) != 0;
    const int fd = ::open(chemin.c_str(), (drapeaux & ~O_TRUNC) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode);
    if (fd < 0) {
        const int numero = errno;
        switch (numero) {
        case ENOENT:
            return {-1, etat_fichier::absent, numero};
        case ENXIO:  // a FIFO without a reader, opened for writing; a socket
        case EISDIR: // a folder, opened for writing
            return {-1, etat_fichier::pas_ordinaire, numero};
        default:
            return {-1, etat_fichier::erreur, numero};
        }
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int numero = errno;
        ::close(fd);
        return {-1, etat_fichier::erreur, numero};
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return {-1, etat_fichier::pas_ordinaire, 0};
    }
    const int etat = ::fcntl(fd, F_GETFL);
    if (etat < 0 || ::fcntl(fd, F_SETFL, etat & ~O_NONBLOCK) != 0 || (tronque && ::ftruncate(fd, 0) != 0)) {
        const int numero = errno;
        ::close(fd);
        return {-1, etat_fichier::erreur, numero};
    }
    return {fd, etat_fichier::ok, 0};
}

etat_fichier lit_fichier_regulier(const std::filesystem::path& chemin, std::string& contenu,
                                  std::size_t plafond) {
    contenu.clear();
    const fichier_ouvert f = ouvre_fichier_regulier(chemin, O_RDONLY, 0);
    if (f.etat != etat_fichier::ok) {
        return f.etat;
    }
    etat_fichier etat = etat_fichier::ok;
    char tampon[65536];
    for (;;) {
        const ssize_t lus = ::read(f.fd, tampon, sizeof tampon);
        if (lus < 0 && errno == EINTR) {
            continue;
        }
        if (lus <= 0) {
            etat = lus == 0 ? etat_fichier::ok : etat_fichier::erreur;
            break;
        }
        if (static_cast<std::size_t>(lus) > plafond - contenu.size()) {
            etat = etat_fichier::trop_grand;
            break;
        }
        contenu.append(tampon, static_cast<std::size_t>(lus));
    }
    ::close(f.fd);
    if (etat != etat_fichier::ok) {
        contenu.clear();
    }
    return etat;
}

std::string raison_fichier(etat_fichier etat, int numero) {
    switch (etat) {
    case etat_fichier::pas_ordinaire:
        return "ce n'est pas un fichier ordinaire";
    case etat_fichier::trop_grand:
        return "le fichier est trop grand";
    case etat_fichier::ok:
        return {};
    case etat_fichier::absent:
    case etat_fichier::erreur:
        break;
    }
    return raison_systeme(numero);
}
