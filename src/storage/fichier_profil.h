#pragma once

#include "metering/texte_1252.h"

#include <cstddef>
#include <filesystem>
#include <string_view>

// A Windows profile file (sections in square brackets, lines key=value), read and written one key at a time
// the way the Windows profile functions do it, so that a file can go back and forth with the old program.
// Everything is Windows-1252 bytes; section and key names match without regard to letter case.

// The blanks the format trims: 0x09 to 0x0D, 0x1A and the space.
bool blanc_profil(char c);
std::string_view sans_blancs(std::string_view s);

// The platform reads into a 1024-byte buffer, so a longer value comes back cut to this many characters.
inline constexpr std::size_t longueur_max_valeur = 1023;

// The value of a key in the text of a profile file, its enclosing pair of quotes removed; the default (less
// its trailing blanks) when the section or the key is missing or the key's line has no "=".
texte valeur_profil(std::string_view contenu, std::string_view section, std::string_view cle,
                    std::string_view defaut);

// The text of the file after writing one key: only that key's line changes, or one line (and maybe its
// section header) is added; every other byte stays. Leading blanks of the value are dropped.
texte profil_modifie(std::string_view contenu, std::string_view section, std::string_view cle,
                     std::string_view valeur);

// The whole file. Missing is not an error: the file is then read as empty and created by the first write.
enum class lecture { lue, absente, impossible };
lecture lit_contenu(const std::filesystem::path& fichier, texte& contenu);

// The same on a file. A file that is missing or cannot be read gives the default.
texte lit_profil(const std::filesystem::path& fichier, std::string_view section, std::string_view cle,
                 std::string_view defaut);

// Replaces the file in one step with its new text; the file is created when missing, its folder is not.
// False when the file cannot be read or replaced, and the old file is then left as it was.
[[nodiscard]] bool ecrit_profil(const std::filesystem::path& fichier, std::string_view section,
                                std::string_view cle, std::string_view valeur);
