#include "storage/fichier_atomique.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

int (*kalvo_renomme)(const char*, const char*) = &std::rename;

void synchronise_dossier(const fs::path& dossier) {
    const int fd = ::open(dossier.empty() ? "." : dossier.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

fichier_atomique::fichier_atomique(fs::path cible) : cible_(std::move(cible)) {
    std::string modele = (cible_.parent_path() / ("." + cible_.filename().string() + ".XXXXXX")).string();
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

bool fichier_atomique::remplace() {
    if (flux_ == nullptr) {
        return false;
    }
    bool ok = !erreur_ && std::fflush(flux_) == 0 && ::fsync(::fileno(flux_)) == 0;
    // Keep the permissions of the file being replaced, like an edit in place would.
    struct stat info {};
    if (ok && ::stat(cible_.c_str(), &info) == 0) {
        ::fchmod(::fileno(flux_), info.st_mode & 07777);
    } else if (ok) {
        ::fchmod(::fileno(flux_), 0644);
    }
    ok = std::fclose(flux_) == 0 && ok;
    flux_ = nullptr;
    if (!ok || kalvo_renomme(temporaire_.c_str(), cible_.c_str()) != 0) {
        return false; // the destructor removes the temporary file
    }
    temporaire_.clear();
    synchronise_dossier(cible_.parent_path());
    return true;
}
