#include "storage/fichier_atomique.h"

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

const appels_systeme systeme_reel = {&::fsync, &std::rename};

namespace {

// ".sauve.tax.kalvo-" + six characters of mkstemp: a name no user gives a file by chance.
std::string prefixe_temporaire(const fs::path& cible) {
    return "." + cible.filename().string() + ".kalvo-";
}

mode_t mode_nouveau_fichier() {
    const mode_t masque = ::umask(0);
    ::umask(masque);
    return 0666 & ~masque;
}

} // namespace

void synchronise_dossier(const fs::path& dossier, const appels_systeme& systeme) {
    const int fd = ::open(dossier.empty() ? "." : dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        systeme.synchronise(fd);
        ::close(fd);
    }
}

fs::path chemin_reel(const fs::path& chemin) {
    fs::path p = chemin;
    for (int i = 0; i < 40; ++i) { // the kernel's own limit on a chain of links
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
        const std::string nom = it->path().filename().string();
        std::error_code e;
        if (nom.size() == prefixe.size() + 6 && nom.starts_with(prefixe) && it->is_regular_file(e) &&
            !it->is_symlink(e)) {
            fs::remove(it->path(), e);
        }
    }
}

fichier_atomique::fichier_atomique(const fs::path& cible, const appels_systeme& systeme)
    : cible_(chemin_reel(cible)), systeme_(systeme) {
    struct stat info {};
    if (::lstat(cible_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return; // a device, a pipe or a folder is never replaced by a plain file
    }
    std::string modele = (cible_.parent_path() / (prefixe_temporaire(cible_) + "XXXXXX")).string();
    const int fd = ::mkstemp(modele.data());
    if (fd < 0) {
        return;
    }
    temporaire_ = modele;
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
}

void fichier_atomique::ecrit(std::string_view octets) {
    if (flux_ == nullptr || erreur_) {
        erreur_ = true;
        return;
    }
    if (!octets.empty() && std::fwrite(octets.data(), 1, octets.size(), flux_) != octets.size()) {
        erreur_ = true;
    }
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
    const mode_t mode = existe ? info.st_mode & 07777 : mode_nouveau_fichier();
    bool ok = !erreur_ && ::fchmod(fd, mode_.value_or(mode)) == 0 && std::fflush(flux_) == 0 &&
              (!durable || systeme_.synchronise(fd) == 0);
    ok = std::fclose(flux_) == 0 && ok;
    flux_ = nullptr;
    if (!ok || systeme_.renomme(temporaire_.c_str(), cible_.c_str()) != 0) {
        return false; // the destructor removes the temporary file
    }
    temporaire_.clear();
    if (durable) {
        synchronise_dossier(cible_.parent_path(), systeme_);
    }
    return true;
}
