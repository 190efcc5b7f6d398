#include "storage/raison_systeme.h"

#include <cerrno>

std::string raison_systeme(int numero) {
    switch (numero) {
    case ENOENT:
        return "fichier ou dossier introuvable";
    case EISDIR:
        return "c'est un dossier";
    case EACCES:
    case EPERM:
        return "accès refusé";
    case EROFS:
        return "dossier en lecture seule";
    case ENOSPC:
    case EDQUOT:
        return "plus de place sur le disque";
    case ENOTDIR:
        return "un élément du chemin n'est pas un dossier";
    case ELOOP:
        return "trop de liens symboliques";
    case ENOLCK:
    case EOPNOTSUPP:
        return "verrouillage impossible sur ce système de fichiers";
    case EIO:
        return "erreur d'entrée-sortie";
    case ENXIO: // a socket, or a FIFO nobody reads
    case ENODEV:
        return "ce n'est pas un fichier ordinaire";
    case EWOULDBLOCK:
    case EBUSY:
    case ETXTBSY:
        return "occupé par un autre programme";
    case EMFILE:
    case ENFILE:
        return "trop de fichiers ouverts";
    case ENAMETOOLONG:
        return "nom trop long";
    case EFBIG:
        return "fichier trop grand";
    default:
        return "erreur système " + std::to_string(numero);
    }
}
