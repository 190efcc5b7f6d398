#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

// A new version of a file, written beside it and put in its place in one step: after any failure, a crash
// or a power cut, the file is either wholly the old one or wholly the new one.
class fichier_atomique {
public:
    // Opens a temporary file in the target's folder. ouvert() says whether that worked.
    explicit fichier_atomique(std::filesystem::path cible);
    ~fichier_atomique(); // removes the temporary file unless it replaced the target
    fichier_atomique(const fichier_atomique&) = delete;
    fichier_atomique& operator=(const fichier_atomique&) = delete;

    bool ouvert() const { return flux_ != nullptr; }
    // Appends bytes; a failure is remembered and makes remplace() fail.
    void ecrit(std::string_view octets);
    // Flushes the new content to the disk, renames it over the target and flushes the folder.
    // False, with the target untouched and the temporary file removed, when any step fails.
    bool remplace();

private:
    std::filesystem::path cible_;
    std::filesystem::path temporaire_;
    std::FILE* flux_ = nullptr;
    bool erreur_ = false;
};

// The rename used by remplace(); tests swap it to make the last step fail.
extern int (*kalvo_renomme)(const char* ancien, const char* nouveau);

// Flushes a folder's entries to the disk, so that a rename in it survives a power cut.
void synchronise_dossier(const std::filesystem::path& dossier);
