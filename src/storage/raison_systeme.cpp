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
        return "système de fichiers en lecture seule";
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
    default:
        return "erreur système " + std::to_string(numero);
    }
}
