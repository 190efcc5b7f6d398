#pragma once

#include "metering/texte_1252.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

// The reasons met while totalling the log, found by their case-folded text. Every record is looked up,
// so folding, hashing and comparing work on 8-byte words, and the table is open-addressed with the
// first 16 folded bytes of each reason stored in its slot: a lookup usually touches one slot only.

// A reason folded to lower case, as whole words padded with zero bytes.
struct cle_motif {
    std::vector<std::uint64_t> mots; // only grows: its first nombre_mots words are the key
    std::size_t nombre_mots = 0;
    std::uint32_t longueur = 0;
    std::uint64_t hachage = 0;
    bool visible = false; // holds a character of code above 32
};

// The words are read from memory and shifted as numbers, which needs the low byte first.
static_assert(std::endian::native == std::endian::little);

namespace detail_index {

constexpr std::uint64_t hauts = 0x8080808080808080ULL;
constexpr std::uint64_t multiplicateur = 0x9E3779B97F4A7C15ULL;

inline std::uint64_t charge(const char* p) {
    std::uint64_t mot = 0;
    std::memcpy(&mot, p, 8);
    return mot;
}

inline const std::array<unsigned char, 256>& minuscules() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (std::size_t i = 0; i < t.size(); ++i) {
            t[i] = static_cast<unsigned char>(minuscule_1252(static_cast<char>(i)));
        }
        return t;
    }();
    return table;
}

// Lower case of 8 characters: arithmetic on ASCII, the code page's table when any byte is above 0x7F.
inline std::uint64_t replie_mot(std::uint64_t mot) {
    if ((mot & hauts) != 0) {
        const auto& table = minuscules();
        std::uint64_t replie = 0;
        for (int i = 0; i < 8; ++i) {
            replie |= std::uint64_t{table[(mot >> (8 * i)) & 0xFF]} << (8 * i);
        }
        return replie;
    }
    const std::uint64_t au_moins_a = mot + 0x3F3F3F3F3F3F3F3FULL; // high bit where byte >= 'A'
    const std::uint64_t apres_z = mot + 0x2525252525252525ULL;    // high bit where byte > 'Z'
    return mot | ((au_moins_a & ~apres_z & hauts) >> 2);
}

// Whether any byte is above 32; bytes above 0x7F always are.
inline bool a_du_visible(std::uint64_t mot) {
    return (((mot & ~hauts) + 0x5F5F5F5F5F5F5F5FULL) | mot) & hauts;
}

} // namespace detail_index

// Folds and hashes `motif` into `cle` in one pass. Reads only the bytes of the text.
inline void prepare_cle(std::string_view motif, cle_motif& cle) {
    using namespace detail_index;
    const std::size_t n = motif.size();
    const std::size_t pleins = n / 8;
    const std::size_t reste = n % 8;
    cle.nombre_mots = pleins + (reste != 0 ? 1 : 0);
    if (cle.mots.size() < cle.nombre_mots + 2) {
        cle.mots.resize(cle.nombre_mots + 2);
    }
    cle.mots[cle.nombre_mots] = 0; // the slots hold two words, the second zero for short keys
    cle.mots[cle.nombre_mots + 1] = 0;
    cle.longueur = static_cast<std::uint32_t>(n);
    bool visible = false;
    std::uint64_t h = n * multiplicateur;
    const auto ajoute = [&](std::size_t i, std::uint64_t mot) {
        visible = visible || a_du_visible(mot);
        mot = replie_mot(mot);
        cle.mots[i] = mot;
        h = (h ^ mot) * multiplicateur;
        h ^= h >> 29;
    };
    for (std::size_t i = 0; i < pleins; ++i) {
        ajoute(i, charge(motif.data() + 8 * i));
    }
    if (reste != 0) {
        std::uint64_t mot = 0;
        if (n >= 8) {
            mot = charge(motif.data() + n - 8) >> (8 * (8 - reste)); // the last 8 bytes, overlap dropped
        } else {
            std::memcpy(&mot, motif.data(), reste);
        }
        ajoute(pleins, mot);
    }
    cle.hachage = h ^ (h >> 32);
    cle.visible = visible;
}

class index_motifs {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // The position of the reason among those added, or npos.
    std::size_t cherche(const cle_motif& cle) const {
        const std::uint64_t debut0 = cle.mots[0];
        const std::uint64_t debut1 = cle.mots[1];
        for (std::size_t i = cle.hachage & masque(); cases_[i].position != 0; i = (i + 1) & masque()) {
            const entree& e = cases_[i];
            if (e.hachage == cle.hachage && e.longueur == cle.longueur && e.debut[0] == debut0 &&
                e.debut[1] == debut1 &&
                (cle.nombre_mots <= 2 || memes_suites(suites_[e.position - 1], cle))) {
                return e.position - 1;
            }
        }
        return npos;
    }

    // Adds a reason not yet there; it takes the next position.
    void ajoute(const cle_motif& cle) {
        entree e;
        e.hachage = cle.hachage;
        e.longueur = cle.longueur;
        e.position = static_cast<std::uint32_t>(suites_.size() + 1);
        e.debut[0] = cle.mots[0];
        e.debut[1] = cle.mots[1];
        suites_.emplace_back(cle.mots.begin(),
                             cle.mots.begin() + static_cast<std::ptrdiff_t>(cle.nombre_mots));
        place(e);
        if (suites_.size() * 2 > cases_.size()) {
            std::vector<entree> anciennes(cases_.size() * 2);
            anciennes.swap(cases_);
            for (const entree& ancienne : anciennes) {
                if (ancienne.position != 0) {
                    place(ancienne);
                }
            }
        }
    }

private:
    struct entree {
        std::uint64_t hachage = 0;
        std::uint32_t longueur = 0;
        std::uint32_t position = 0; // position + 1; 0 marks a free slot
        std::array<std::uint64_t, 2> debut{};
    };

    static bool memes_suites(const std::vector<std::uint64_t>& mots, const cle_motif& cle) {
        return mots.size() == cle.nombre_mots && std::equal(mots.begin(), mots.end(), cle.mots.begin());
    }

    std::size_t masque() const { return cases_.size() - 1; }

    void place(const entree& e) {
        std::size_t i = e.hachage & masque();
        while (cases_[i].position != 0) {
            i = (i + 1) & masque();
        }
        cases_[i] = e;
    }

    std::vector<entree> cases_ = std::vector<entree>(1024);
    std::vector<std::vector<std::uint64_t>> suites_; // whole folded text of each reason
};
