#include "storage/dossier_donnees.h"

#include "storage/fichier_atomique.h"

#include <cstdlib>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

dossier_donnees dossier_donnees::de_l_environnement() {
    // The one place that says where the data lives; a Windows build would give the Windows folder.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && *xdg == '/') {
        return dossier_donnees(fs::path(xdg) / "kalvo");
    }
    const char* home = std::getenv("HOME");
    return dossier_donnees(fs::path(home != nullptr && *home != '\0' ? home : ".") / ".local" / "share" /
                           "kalvo");
}

namespace {

// A group only the user is in: none of its listed members is someone else, and no other user has it as
// his own group.
bool groupe_prive(gid_t gid, uid_t uid) {
    const passwd* moi = ::getpwuid(uid);
    const group* g = ::getgrgid(gid);
    if (moi == nullptr || g == nullptr) {
        return false;
    }
    const std::string nom = moi->pw_name;
    for (char** membre = g->gr_mem; *membre != nullptr; ++membre) {
        if (nom != *membre) {
            return false;
        }
    }
    bool seul = true;
    ::setpwent();
    while (const passwd* autre = ::getpwent()) {
        seul = seul && (autre->pw_gid != gid || autre->pw_uid == uid);
    }
    ::endpwent();
    return seul;
}

} // namespace

mode_t dossier_donnees::mode_nouveau_fichier() const {
    return mode_du_journal(journal());
}

std::optional<std::string> dossier_donnees::refus() const {
    struct stat info {};
    if (::stat(chemin_.c_str(), &info) != 0) {
        return std::nullopt;
    }
    if (info.st_uid != ::geteuid()) {
        return "il appartient à un autre utilisateur";
    }
    if ((info.st_mode & S_IWOTH) != 0) {
        return "tous les utilisateurs peuvent y écrire";
    }
    if ((info.st_mode & S_IWGRP) != 0 && !groupe_prive(info.st_gid, info.st_uid)) {
        return "les autres membres de son groupe peuvent y écrire";
    }
    return std::nullopt;
}

mode_t mode_du_journal(const fs::path& journal) {
    struct stat info {};
    return ::stat(chemin_reel(journal).c_str(), &info) == 0 ? info.st_mode & 0666 : mode_selon_umask();
}

fs::path chemin_verrou_journal(const fs::path& journal) {
    fs::path p = chemin_reel(journal);
    p += ".verrou";
    return p;
}

fs::path chemin_precedent(const fs::path& journal) {
    fs::path p = chemin_reel(journal);
    p += ".precedent";
    return p;
}
