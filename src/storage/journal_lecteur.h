#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The one reader of the call log, shared by the totals, the pruning and the command-line export.
// It streams: memory holds one buffer and the record being read, whatever the size of the log.

using lignes_enregistrement = std::array<std::string_view, 6>;

// No line Kalvo writes comes near this (the window's reason field takes at most 32767 characters): a longer
// one is damage, or a file with no line ends at all, and reading stops there so that memory stays bounded.
inline constexpr std::size_t longueur_max_ligne = 64 * 1024;

class lecteur_journal {
public:
    explicit lecteur_journal(const std::filesystem::path& journal);
    ~lecteur_journal();
    lecteur_journal(const lecteur_journal&) = delete;
    lecteur_journal& operator=(const lecteur_journal&) = delete;

    // The file does not exist (nothing was read).
    bool absent() const { return absent_; }
    // Opening or reading failed; what was returned before stays valid. raison() says why, in French.
    bool erreur() const { return erreur_; }
    std::string raison() const;

    // The next six lines, counted from the start of the file. A line ends at CR (a LF right after it
    // belongs to the line end; a lone LF is an ordinary character) and the content ends at the end of
    // the file or at the first byte 0x1A; lines missing at the end read as empty. False once the
    // content has ended or reading failed. The views last until the next call.
    bool suivant(lignes_enregistrement& lignes);

    // The line (0 to 5) of the record last returned that was longer than longueur_max_ligne, or -1. That
    // record ends with the line's first longueur_max_ligne bytes, the lines after it empty, and the content
    // ends there: the record is corrupt, whatever its other lines say.
    int ligne_trop_longue() const { return ligne_trop_longue_; }

    // The bytes of the record last returned, as they stand in the file, and whether they are exactly its
    // six lines each followed by CR LF (then a copy of them is a copy of the lines).
    std::string_view brut() const { return brut_; }
    bool canonique() const { return canonique_; }

private:
    void remplit();
    bool decoupe(lignes_enregistrement& lignes);

    int fd_ = -1;
    std::unique_ptr<char[]> tampon_; // the record being read, then what was read after it
    std::size_t debut_ = 0;          // first byte not yet handed out
    std::size_t fin_ = 0;            // end of the content read
    bool contenu_fini_ = false;
    std::string_view brut_;
    bool canonique_ = false;
    int ligne_trop_longue_ = -1;
    bool absent_ = false;
    bool erreur_ = false;
    int etat_erreur_ = 0; // an etat_fichier
    int numero_erreur_ = 0;
};

// Fixed-width cuts. The prefixes are never checked: only their width counts.

// Line 3 or 4 without its 24-character prefix (empty when shorter).
std::string_view sans_prefixe(std::string_view ligne);

// The amount of line 5, as francs "," centimes between the prefix and the 3 last characters (" FS").
// No value when either number does not convert: the record is corrupt.
std::optional<std::int64_t> montant_lu(std::string_view ligne5);

// Of line 1 or 2: the 8 characters before " à " and the time, and the time itself (the 8 last).
// Shorter lines give what there is, possibly nothing.
std::string_view texte_date_ligne(std::string_view ligne);
std::string_view texte_heure_ligne(std::string_view ligne);

// "hh:mm:ss", 24-hour clock, as seconds since midnight.
std::optional<int> secondes_du_jour(std::string_view texte);
