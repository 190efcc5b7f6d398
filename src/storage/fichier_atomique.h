#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <sys/types.h>

// A new version of a file, written beside it and put in its place in one step: after any failure, a crash
// or a power cut, the file is either wholly the old one or wholly the new one. A symbolic link is followed:
// its target is replaced in the target's folder (data kept in a synced folder stays there). Only a regular
// file is ever replaced; the new file keeps the old one's permissions, or gets 0666 less the umask.
class fichier_atomique {
public:
    // Opens a temporary file in the target's folder. ouvert() says whether that worked; it does not when
    // the target exists and is not a regular file.
    explicit fichier_atomique(const std::filesystem::path& cible);
    ~fichier_atomique(); // removes the temporary file unless it replaced the target
    fichier_atomique(const fichier_atomique&) = delete;
    fichier_atomique& operator=(const fichier_atomique&) = delete;

    bool ouvert() const { return flux_ != nullptr; }
    // Gives the new file these permissions instead (a copy that must stay as private as its source).
    void impose_mode(mode_t mode) { mode_ = mode; }
    // Appends bytes; a failure is remembered and makes remplace() fail.
    void ecrit(std::string_view octets);
    // Flushes the new content to the disk, renames it over the target and flushes the folder.
    // False, with the target untouched and the temporary file removed, when any step fails.
    bool remplace();

private:
    std::filesystem::path cible_;
    std::filesystem::path temporaire_;
    std::FILE* flux_ = nullptr;
    std::optional<mode_t> mode_;
    bool erreur_ = false;
};

// The system calls whose effect no test can read back from the files: a test swaps them to record their
// order or to make one fail. synchronise serves files and folders alike.
struct appels_systeme {
    int (*synchronise)(int fd);
    int (*renomme)(const char* ancien, const char* nouveau);
};
extern appels_systeme kalvo_systeme;

// Flushes a folder's entries to the disk, so that a rename in it survives a power cut.
void synchronise_dossier(const std::filesystem::path& dossier);

// The file a path finally names, symbolic links followed (a missing file's own path).
std::filesystem::path chemin_reel(const std::filesystem::path& chemin);

// Removes the temporary files a killed replacement of `cible` left in its folder, recognised by their
// names; never anything else. The caller holds whatever keeps others from replacing `cible` meanwhile.
void nettoie_temporaires(const std::filesystem::path& cible);
