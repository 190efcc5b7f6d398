#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

// The system calls whose effect no test can read back from the files: a test passes its own to record their
// order or to make one fail. synchronise serves files and folders alike.
struct appels_systeme {
    int (*synchronise)(int fd);
    int (*renomme)(const char* ancien, const char* nouveau);
};
extern const appels_systeme systeme_reel; // fsync and rename

// A new version of a file, written beside it and put in its place in one step: after any failure, a crash
// or a power cut, the file is either wholly the old one or wholly the new one. A symbolic link is followed:
// its target is replaced in the target's folder (data kept in a synced folder stays there). Only a regular
// file is ever replaced; the new file keeps the old one's permissions, and its owner and group where the
// process may give them (a root running kalvo-journal on a user's log), or gets 0666 less the umask.
class fichier_atomique {
public:
    // Opens a temporary file in the target's folder. ouvert() says whether that worked; it does not when
    // the target exists and is not a regular file.
    explicit fichier_atomique(const std::filesystem::path& cible,
                              const appels_systeme& systeme = systeme_reel);
    // Removes the temporary file unless it replaced the target; after a failure, also what earlier killed
    // replacements of the target left.
    ~fichier_atomique();
    fichier_atomique(const fichier_atomique&) = delete;
    fichier_atomique& operator=(const fichier_atomique&) = delete;

    bool ouvert() const { return flux_ != nullptr; }
    // Why a step failed, in French.
    std::string raison() const;
    // Gives the new file these permissions instead (a copy that must stay as private as its source).
    void impose_mode(mode_t mode) { mode_ = mode; }
    // The permissions when there is no file to replace yet (the log's, for the files that hold reasons).
    void mode_si_nouveau(mode_t mode) { mode_si_nouveau_ = mode; }
    // Appends bytes; a failure is remembered and makes remplace() fail.
    void ecrit(std::string_view octets);
    // Flushes the new content to the disk, renames it over the target and flushes the folder. Without
    // `durable` only the rename is made: a kill loses nothing (the system keeps what was written), a power
    // cut may. False, with the target untouched and the temporary file removed, when any step fails.
    bool remplace(bool durable = true);

private:
    std::filesystem::path cible_;
    const appels_systeme systeme_; // a copy: two pointers, and a caller may pass a temporary
    std::filesystem::path temporaire_;
    std::FILE* flux_ = nullptr;
    int verrou_ = -1; // holds the temporary's lock until the end
    std::optional<mode_t> mode_;
    std::optional<mode_t> mode_si_nouveau_;
    bool erreur_ = false;
    int numero_ = 0; // errno of the failure; 0: the target is not a regular file
};

// Flushes a folder's entries to the disk, so that a rename in it survives a power cut.
void synchronise_dossier(const std::filesystem::path& dossier, const appels_systeme& systeme = systeme_reel);

// The file a path finally names, symbolic links followed (a missing file's own path). A link that another
// user owns is not followed: planted in a folder others can reach, it could point at a private file of the
// user's, which a write would then replace.
std::filesystem::path chemin_reel(const std::filesystem::path& chemin);
bool lien_etranger(const std::filesystem::path& chemin);

// 0666 less the process's umask: what a file made with open() gets.
mode_t mode_selon_umask();

// Removes the temporary files a killed replacement of `cible` left in its folder: regular files of the user's
// with exactly the names Kalvo gives them, that no running program holds; never anything else. Run at
// start-up and after a failed write, not at every write: the running call's file is replaced every second.
// The caller holds whatever keeps others from replacing `cible` meanwhile.
void nettoie_temporaires(const std::filesystem::path& cible);
