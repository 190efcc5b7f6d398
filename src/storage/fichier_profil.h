#pragma once

#include "metering/texte_1252.h"

#include <cstddef>
#include <deque>
#include <filesystem>
#include <string_view>
#include <unordered_map>
#include <vector>

// A Windows profile file (sections in square brackets, lines key=value), read and written by the rules of
// the Windows profile functions, so that a Kalvo.ini written by them on Windows reads the same here, and
// one written here reads the same there.
// Everything is Windows-1252 bytes; section and key names match without regard to letter case.

// The blanks the format trims: 0x09 to 0x0D, 0x1A and the space.
bool blanc_profil(char c);
std::string_view sans_blancs(std::string_view s);

// The platform reads into a 1024-byte buffer, so a longer value comes back cut to this many characters.
inline constexpr std::size_t longueur_max_valeur = 1023;

// The text of a profile file, parsed once, read and changed in memory. Each write gives exactly the bytes
// the platform's one-key write would give on the current text, but without parsing the whole file again:
// a save of a hundred keys costs one pass over the file, not a hundred.
class profil_en_memoire {
public:
    explicit profil_en_memoire(texte contenu = {});
    profil_en_memoire(const profil_en_memoire&) = delete; // its lines point into its own bytes
    profil_en_memoire& operator=(const profil_en_memoire&) = delete;

    // The key's value, its enclosing pair of quotes removed; the default (less its trailing blanks) when
    // the section or the key is missing or the key's line has no "=".
    texte valeur(std::string_view section, std::string_view cle, std::string_view defaut) const;

    // Only that key's line changes, or one line (and maybe its section header) is added; every other byte
    // stays. Leading blanks of the value are dropped. False when the key already held that value.
    bool ecrit(std::string_view section, std::string_view cle, std::string_view valeur);

    texte contenu() const;

private:
    static constexpr std::size_t aucune = static_cast<std::size_t>(-1);

    // One line: its text and the run of CR and LF after it, which swallows the empty lines.
    struct ligne {
        std::string_view texte_ligne;
        std::string_view fin;
        std::size_t suivante = aucune; // lines are chained in file order, so an insertion moves nothing
    };
    // The first section of a name, indexed on first use.
    struct section_indexee {
        std::size_t derniere_non_vide = 0;           // the header or the section's last non-blank line
        std::unordered_map<texte, std::size_t> cles; // folded key name: its first entry line
    };

    void analyse_tout(texte contenu);
    section_indexee& section(std::size_t entete) const;
    std::size_t insere_apres(std::size_t precedente, std::string_view texte_ligne, std::string_view fin);
    std::string_view garde(texte t);

    texte octets_;              // the file as read
    std::deque<texte> ajouts_;  // the text of lines written since; a deque never moves them
    std::vector<ligne> lignes_; // in the order they were made
    std::size_t premiere_ = aucune;
    std::size_t derniere_ = aucune;
    std::unordered_map<texte, std::size_t> sections_; // folded name: its first header line
    mutable std::unordered_map<std::size_t, section_indexee> index_;
};

// One read or one write on a whole text, for a single key.
texte valeur_profil(std::string_view contenu, std::string_view section, std::string_view cle,
                    std::string_view defaut);
texte profil_modifie(std::string_view contenu, std::string_view section, std::string_view cle,
                     std::string_view valeur);

// Far above any real settings file (a few kilobytes), low enough that a stray huge file cannot exhaust
// memory. One rule for reading and writing: a larger file reads as unreadable, so none is ever written.
inline constexpr std::size_t taille_max_profil = 64 * 1024 * 1024;

// The whole file. Missing is not an error: the file is then read as empty and created by the first write.
enum class lecture { lue, absente, impossible };
lecture lit_contenu(const std::filesystem::path& fichier, texte& contenu);
