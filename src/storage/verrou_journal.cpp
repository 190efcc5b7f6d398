#include "storage/verrou_journal.h"

#include "storage/dossier_donnees.h"
#include "storage/fichier_atomique.h"
#include "storage/fichier_regulier.h"
#include "storage/raison_systeme.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

verrou_journal::verrou_journal(const fs::path& journal, std::chrono::milliseconds attente) {
    const fs::path reel = chemin_reel(journal);
    const fs::path fichier = chemin_verrou_journal(journal);
    struct stat info {};
    if (lien_etranger(reel) || lien_etranger(fichier)) {
        etat_ = etat::pas_un_fichier;
        raison_ = raison_fichier(etat_fichier::lien_etranger, 0);
        return;
    }
    if (::stat(reel.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        etat_ = etat::pas_un_fichier;
        raison_ = raison_fichier(etat_fichier::pas_ordinaire, 0);
        return;
    }
    // Made with the log's permissions, so that whoever shares the log (a group's folder) can lock it too.
    fd_ = ::open(fichier.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd_ >= 0) {
        ::fchmod(fd_, mode_du_journal(journal));
    } else if (errno == EEXIST) {
        fd_ = ::open(fichier.c_str(), O_RDWR | O_CLOEXEC);
    }
    if (fd_ < 0 && (errno == EACCES || errno == EROFS)) {
        fd_ = ::open(fichier.c_str(), O_RDONLY | O_CLOEXEC); // a lock needs no write access
        if (fd_ < 0 && errno == ENOENT) {
            // A folder nobody can write: no writer can replace the log in it, and appends are atomic.
            etat_ = etat::pris;
            return;
        }
    }
    if (fd_ < 0) {
        raison_ =
            "son fichier de verrou " + fichier.string() + " est inutilisable (" + raison_systeme(errno) + ")";
        return;
    }
    const auto limite = std::chrono::steady_clock::now() + attente;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            raison_ = "son fichier de verrou " + fichier.string() + " est inutilisable (" +
                      raison_systeme(errno) + ")";
            return;
        }
        if (std::chrono::steady_clock::now() >= limite) {
            etat_ = etat::occupe;
            raison_ = "il est occupé par un autre programme (kalvo-journal ?)";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    etat_ = etat::pris;
}

verrou_journal::~verrou_journal() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}
