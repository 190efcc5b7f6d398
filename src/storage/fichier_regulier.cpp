#include "storage/fichier_regulier.h"

#include "storage/fichier_atomique.h"
#include "storage/raison_systeme.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

fichier_ouvert ouvre_fichier_regulier(const std::filesystem::path& chemin, int drapeaux, mode_t mode) {
    if (lien_etranger(chemin)) {
        return {-1, etat_fichier::lien_etranger, 0};
    }
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
    case etat_fichier::lien_etranger:
        return "c'est un lien symbolique d'un autre utilisateur";
    case etat_fichier::ok:
        return {};
    case etat_fichier::absent:
    case etat_fichier::erreur:
        break;
    }
    return raison_systeme(numero);
}

namespace {

// Writes everything, resuming after short writes and signals.
bool ecrit_tout(int fd, std::string_view octets) {
    while (!octets.empty()) {
        const ssize_t n = ::write(fd, octets.data(), octets.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            errno = n == 0 ? EIO : errno;
            return false;
        }
        octets.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

resultat_fichier ajoute_a_la_fin(const std::filesystem::path& chemin, std::string_view octets,
                                 mode_t mode_si_nouveau, const appels_systeme& systeme) {
    fichier_ouvert f =
        ouvre_fichier_regulier(chemin, O_WRONLY | O_APPEND | O_CREAT | O_EXCL, mode_si_nouveau);
    const bool nouveau = f.etat == etat_fichier::ok;
    if (nouveau) {
        ::fchmod(f.fd, mode_si_nouveau); // open() took the umask off
    } else if (f.numero == EEXIST) {
        f = ouvre_fichier_regulier(chemin, O_WRONLY | O_APPEND, 0);
    }
    if (f.etat != etat_fichier::ok) {
        return {f.etat, f.numero};
    }
    const off_t taille_avant = ::lseek(f.fd, 0, SEEK_END);
    // Devices that cannot be flushed say EINVAL; their data went through all the same.
    if (!ecrit_tout(f.fd, octets) || (systeme.synchronise(f.fd) != 0 && errno != EINVAL)) {
        const int numero = errno;
        if (taille_avant >= 0) {
            [[maybe_unused]] const int ignore = ::ftruncate(f.fd, taille_avant);
        }
        ::close(f.fd);
        return {etat_fichier::erreur, numero};
    }
    if (::close(f.fd) != 0) {
        return {etat_fichier::erreur, errno};
    }
    if (nouveau) {
        // A file just made is only found again after a power cut once its folder entry is on the disk.
        synchronise_dossier(chemin_reel(chemin).parent_path(), systeme);
    }
    return {};
}
