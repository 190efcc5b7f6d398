#include "storage/fichier_atomique.h"

#include "storage/fichier_regulier.h"
#include "storage/raison_systeme.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

const appels_systeme systeme_reel = {&::fsync, &std::rename};

namespace {

// ".sauve.tax.kalvo-" + six characters of mkstemp + ".tmp": a name no user gives a file by chance (a user's
// ".sauve.tax.kalvo-backup" is no temporary).
std::string prefixe_temporaire(const fs::path& cible) {
    return "." + cible.filename().string() + ".kalvo-";
}
constexpr std::string_view suffixe_temporaire = ".tmp";

bool nom_de_temporaire(std::string_view nom, std::string_view prefixe) {
    constexpr std::string_view lettres_mkstemp =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    return nom.size() == prefixe.size() + 6 + suffixe_temporaire.size() && nom.starts_with(prefixe) &&
           nom.ends_with(suffixe_temporaire) &&
           nom.substr(prefixe.size(), 6).find_first_not_of(lettres_mkstemp) == std::string_view::npos;
}

} // namespace

mode_t mode_selon_umask() {
    const mode_t masque = ::umask(0);
    ::umask(masque);
    return 0666 & ~masque;
}

bool lien_etranger(const fs::path& chemin) {
    struct stat info {};
    return ::lstat(chemin.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && info.st_uid != ::geteuid();
}

void synchronise_dossier(const fs::path& dossier, const appels_systeme& systeme) {
    const int fd = ::open(dossier.empty() ? "." : dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        systeme.synchronise(fd);
        ::close(fd);
    }
}

fs::path chemin_reel(const fs::path& chemin) {
    fs::path p = chemin;
    for (int i = 0; i < 40 && !lien_etranger(p); ++i) { // the kernel's own limit on a chain of links
        std::error_code erreur;
        const fs::path lien = fs::read_symlink(p, erreur);
        if (erreur) {
            return p;
        }
        p = lien.is_absolute() ? lien : p.parent_path() / lien;
    }
    return p;
}

void nettoie_temporaires(const fs::path& cible) {
    const fs::path reelle = chemin_reel(cible);
    const std::string prefixe = prefixe_temporaire(reelle);
    std::error_code erreur;
    const fs::path dossier = reelle.parent_path().empty() ? fs::path(".") : reelle.parent_path();
    for (fs::directory_iterator it(dossier, erreur), fin; !erreur && it != fin; it.increment(erreur)) {
        const fs::path& p = it->path();
        struct stat info {};
        if (!nom_de_temporaire(p.filename().string(), prefixe) || ::lstat(p.c_str(), &info) != 0 ||
            !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
            continue;
        }
        // A program writing its temporary holds a lock on it (another Kalvo sharing the file through a
        // link): only one nobody holds is a leftover.
        const int fd = ::open(p.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(p.c_str());
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

fichier_atomique::fichier_atomique(const fs::path& cible, const appels_systeme& systeme)
    : cible_(chemin_reel(cible)), systeme_(systeme) {
    struct stat info {};
    if (::lstat(cible_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return; // a device, a pipe or a folder is never replaced by a plain file
    }
    int fd = -1;
    std::string modele;
    // A clean-up may remove the new file between its making and its lock: it is then made again.
    for (int essai = 0; essai < 3 && fd < 0; ++essai) {
        modele =
            (cible_.parent_path() / (prefixe_temporaire(cible_) + "XXXXXX" + std::string(suffixe_temporaire)))
                .string();
        fd = ::mkostemps(modele.data(), static_cast<int>(suffixe_temporaire.size()), O_CLOEXEC);
        if (fd < 0) {
            numero_ = errno;
            return;
        }
        // Where the file system has no such locks, the clean-up cannot take one either and leaves it.
        [[maybe_unused]] const int verrouille = ::flock(fd, LOCK_EX);
        struct stat info {};
        if (::fstat(fd, &info) != 0 || info.st_nlink == 0) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0) {
        numero_ = ENOENT;
        return;
    }
    temporaire_ = modele;
    // The lock lasts as long as any descriptor of the file is open: this one keeps it through the rename,
    // after the stream is closed.
    verrou_ = ::dup(fd);
    flux_ = ::fdopen(fd, "wb");
    if (flux_ == nullptr) {
        ::close(fd);
        ::unlink(temporaire_.c_str());
        temporaire_.clear();
    }
}

fichier_atomique::~fichier_atomique() {
    if (flux_ != nullptr) {
        std::fclose(flux_);
    }
    if (!temporaire_.empty()) {
        ::unlink(temporaire_.c_str());
        nettoie_temporaires(cible_);
    }
    if (verrou_ >= 0) {
        ::close(verrou_);
    }
}

void fichier_atomique::ecrit(std::string_view octets) {
    if (flux_ == nullptr || erreur_) {
        erreur_ = true;
        return;
    }
    if (!octets.empty() && std::fwrite(octets.data(), 1, octets.size(), flux_) != octets.size()) {
        erreur_ = true;
        numero_ = errno;
    }
}

std::string fichier_atomique::raison() const {
    return numero_ == 0 ? raison_fichier(etat_fichier::pas_ordinaire, 0) : raison_systeme(numero_);
}

bool fichier_atomique::remplace(bool durable) {
    if (flux_ == nullptr) {
        return false;
    }
    // mkstemp makes the file 0600 and ours: give it what the file it replaces had, as an edit in place would.
    struct stat info {};
    const bool existe = ::stat(cible_.c_str(), &info) == 0;
    const int fd = ::fileno(flux_);
    if (existe) {
        // Refused to an ordinary user for another owner; the file is then the user's, as any new one.
        [[maybe_unused]] const int ignore = ::fchown(fd, info.st_uid, info.st_gid);
    }
    const mode_t mode = existe ? info.st_mode & 07777 : mode_si_nouveau_.value_or(mode_selon_umask());
    bool ok = !erreur_ && ::fchmod(fd, mode_.value_or(mode)) == 0 && std::fflush(flux_) == 0 &&
              (!durable || systeme_.synchronise(fd) == 0);
    numero_ = ok ? numero_ : errno;
    ok = std::fclose(flux_) == 0 && ok;
    flux_ = nullptr;
    if (!ok || systeme_.renomme(temporaire_.c_str(), cible_.c_str()) != 0) {
        numero_ = numero_ != 0 ? numero_ : errno;
        return false; // the destructor removes the temporary file
    }
    temporaire_.clear();
    if (durable) {
        synchronise_dossier(cible_.parent_path(), systeme_);
    }
    return true;
}
