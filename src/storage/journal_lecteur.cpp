#include "storage/journal_lecteur.h"

#include "storage/conversion_entier.h"
#include "storage/fichier_regulier.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#if defined(__SSE2__) || defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// Large enough that a read costs little next to the scan of its bytes. The fuzzing build makes it tiny, so
// that small inputs cross block ends and make the buffer grow.
#ifdef KALVO_TAMPON_JOURNAL
constexpr std::size_t taille_tampon = KALVO_TAMPON_JOURNAL;
#else
constexpr std::size_t taille_tampon = 1 << 20;
#endif
static_assert(taille_tampon >= 64 && taille_tampon % 64 == 0);
// The line search reads whole 64-byte groups, past the end of the data and its Ctrl-Z stop.
constexpr std::size_t marge = 128;
constexpr std::size_t largeur_prefixe = 24;

// One bit per byte of the 64 at p: set for a CR or a Ctrl-Z, the only bytes the splitting looks for.
inline std::uint64_t masque_fins(const char* p) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i ctrl_z = _mm_set1_epi8(0x1A);
    const auto bits = [&](int i) {
        const __m128i groupe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const int m =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(groupe, cr), _mm_cmpeq_epi8(groupe, ctrl_z)));
        return static_cast<std::uint64_t>(static_cast<unsigned>(m)) << (16 * i);
    };
    return bits(0) | bits(1) | bits(2) | bits(3);
#else
    std::uint64_t masque = 0;
    for (int i = 0; i < 64; ++i) {
        masque |= static_cast<std::uint64_t>(p[i] == '\r' || p[i] == '\x1A') << i;
    }
    return masque;
#endif
}

// The masks of `nombre` words of 64 bytes from `octets`.
void masques_fins(const char* octets, std::uint64_t* masques, std::size_t nombre) {
    for (std::size_t i = 0; i < nombre; ++i) {
        masques[i] = masque_fins(octets + 64 * i);
    }
}

// KALVO_SANS_AVX2 keeps the plain path on any processor, so that it can be fuzzed on one with AVX2.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(KALVO_SANS_AVX2)
// The same 32 bytes at a time where the processor has AVX2; chosen once per block, as it is read.
[[gnu::target("avx2")]] void masques_fins_avx2(const char* octets, std::uint64_t* masques,
                                               std::size_t nombre) {
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i ctrl_z = _mm256_set1_epi8(0x1A);
    for (std::size_t i = 0; i < nombre; ++i) {
        const char* p = octets + 64 * i;
        const __m256i bas = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i haut = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
        const auto m_bas = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_or_si256(_mm256_cmpeq_epi8(bas, cr), _mm256_cmpeq_epi8(bas, ctrl_z))));
        const auto m_haut = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_or_si256(_mm256_cmpeq_epi8(haut, cr), _mm256_cmpeq_epi8(haut, ctrl_z))));
        masques[i] = std::uint64_t{m_bas} | (std::uint64_t{m_haut} << 32);
    }
}

const auto calcule_masques = __builtin_cpu_supports("avx2") ? &masques_fins_avx2 : &masques_fins;
#else
const auto calcule_masques = &masques_fins;
#endif

} // namespace

lecteur_journal::lecteur_journal(const std::filesystem::path& journal) {
    const fichier_ouvert f = ouvre_fichier_regulier(journal, O_RDONLY, 0);
    if (f.etat != etat_fichier::ok) {
        absent_ = f.etat == etat_fichier::absent;
        erreur_ = !absent_;
        contenu_fini_ = true;
        return;
    }
    fd_ = f.fd;
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    capacite_ = taille_tampon;
    tampon_.resize(capacite_ + marge);
    fins_.resize(capacite_ / 64 + 2);
}

lecteur_journal::~lecteur_journal() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

// The general splitting's search: the first CR or Ctrl-Z at or after p, or fin_, from the bit mask made
// when the block was read.
std::size_t lecteur_journal::fin_de_ligne(std::size_t p) const {
    std::size_t mot = p / 64;
    std::uint64_t restant = fins_[mot] & (~std::uint64_t{0} << (p % 64));
    while (restant == 0) {
        ++mot;
        if (mot * 64 >= fin_) {
            return fin_;
        }
        restant = fins_[mot];
    }
    // Bytes past the end of the data are stale; an end found there is the end of the data.
    const std::size_t q = mot * 64 + static_cast<std::size_t>(__builtin_ctzll(restant));
    return q < fin_ ? q : fin_;
}

// The usual record, six lines each ended by CR LF, whole in the buffer. The byte after the data is a
// Ctrl-Z with its bit set, so every search stops by the end of the data; anything else (a lone CR, a
// Ctrl-Z, a record cut by the end of the buffer) is left to the general splitting.
[[gnu::always_inline]] inline bool lecteur_journal::decoupe_rapide(lignes_enregistrement& lignes) {
    const char* base = tampon_.data();
    if (!curseur_valide_) {
        mot_ = debut_ / 64;
        restant_ = fins_[mot_] & (~std::uint64_t{0} << (debut_ % 64));
        curseur_valide_ = true;
    }
    // After a CR LF the next line end is simply the next bit of the mask: clearing the lowest bit keeps
    // the chain from one line to the next short.
    std::size_t p = debut_;
    for (std::string_view& ligne : lignes) {
        while (restant_ == 0) {
            restant_ = fins_[++mot_];
        }
        const std::size_t q = mot_ * 64 + static_cast<std::size_t>(std::countr_zero(restant_));
        if (base[q] != '\r' || base[q + 1] != '\n' || q - p > longueur_max_ligne) {
            curseur_valide_ = false;
            return false;
        }
        restant_ &= restant_ - 1;
        ligne = std::string_view(base + p, q - p);
        p = q + 2;
    }
    brut_ = std::string_view(base + debut_, p - debut_);
    canonique_ = true;
    debut_ = p;
    return true;
}

bool lecteur_journal::remplit() {
    curseur_valide_ = false;
    // Keep the unfinished record at the front; a record longer than the buffer makes it grow.
    if (debut_ > 0) {
        std::memmove(tampon_.data(), tampon_.data() + debut_, fin_ - debut_);
        fin_ -= debut_;
        debut_ = 0;
    }
    if (fin_ == capacite_) {
        capacite_ *= 2;
        tampon_.resize(capacite_ + marge);
        fins_.resize(capacite_ / 64 + 2);
    }
    ssize_t lus = 0;
    do {
        lus = ::read(fd_, tampon_.data() + fin_, capacite_ - fin_);
    } while (lus < 0 && errno == EINTR);
    if (lus < 0) {
        erreur_ = true;
        return false;
    }
    fin_ += static_cast<std::size_t>(lus);
    tampon_[fin_] = '\x1A'; // the fast splitting's stop
    calcule_masques(tampon_.data(), fins_.data(), fin_ / 64 + 1);
    contenu_fini_ = lus == 0;
    return true;
}

// The record up to an overlong line that starts at p, cut there; nothing after it is read.
void lecteur_journal::coupe_trop_longue(lignes_enregistrement& lignes, std::size_t ligne, std::size_t p) {
    lignes[ligne] = std::string_view(tampon_.data() + p, longueur_max_ligne);
    for (std::size_t i = ligne + 1; i < lignes.size(); ++i) {
        lignes[i] = {};
    }
    ligne_trop_longue_ = static_cast<int>(ligne);
    brut_ = std::string_view(tampon_.data() + debut_, p + longueur_max_ligne - debut_);
    canonique_ = false;
    debut_ = fin_;
    contenu_fini_ = true;
}

lecteur_journal::decoupe lecteur_journal::decoupe_enregistrement(lignes_enregistrement& lignes) {
    const char* base = tampon_.data();
    std::size_t p = debut_;
    bool canonique = true;
    for (std::size_t numero = 0; numero < lignes.size(); ++numero) {
        std::string_view& ligne = lignes[numero];
        if (p == fin_) {
            if (!contenu_fini_) {
                return decoupe::manque;
            }
            ligne = {};
            canonique = false;
            continue;
        }
        const std::size_t q = fin_de_ligne(p);
        if (q < fin_ && base[q] == '\x1A') {
            // The bytes are searched in file order, so this is the first Ctrl-Z: the content ends here.
            fin_ = q;
            contenu_fini_ = true;
            if (p == debut_ && p == fin_) {
                return decoupe::termine; // before a record, not inside one
            }
        }
        // Known too long as soon as that many bytes are in without a line end: the buffer stops growing.
        if (q - p > longueur_max_ligne) {
            coupe_trop_longue(lignes, numero, p);
            return decoupe::complet;
        }
        if (q == fin_) {
            if (!contenu_fini_) {
                return decoupe::manque;
            }
            ligne = std::string_view(base + p, fin_ - p);
            p = fin_;
            canonique = false;
            continue;
        }
        if (q + 1 == fin_ && !contenu_fini_) {
            return decoupe::manque; // a LF may follow in the next block
        }
        ligne = std::string_view(base + p, q - p);
        p = q + 1;
        if (p < fin_ && base[p] == '\n') {
            ++p;
        } else {
            canonique = false;
        }
    }
    brut_ = std::string_view(base + debut_, p - debut_);
    canonique_ = canonique;
    debut_ = p;
    return decoupe::complet;
}

bool lecteur_journal::suivant(lignes_enregistrement& lignes) {
    while (!erreur_) {
        if (debut_ == fin_ && contenu_fini_) {
            return false;
        }
        if (debut_ < fin_) {
            if (decoupe_rapide(lignes)) {
                return true;
            }
            const decoupe d = decoupe_enregistrement(lignes);
            if (d == decoupe::complet) {
                return true;
            }
            if (d == decoupe::termine) {
                return false;
            }
        }
        if (!remplit()) {
            return false;
        }
    }
    return false;
}

std::string_view sans_prefixe(std::string_view ligne) {
    return ligne.size() > largeur_prefixe ? ligne.substr(largeur_prefixe) : std::string_view{};
}

std::optional<std::int64_t> montant_lu_general(std::string_view ligne5) {
    std::string_view partie = sans_prefixe(ligne5);
    partie = partie.size() >= 3 ? partie.substr(0, partie.size() - 3) : std::string_view{};
    const std::size_t virgule = partie.find(',');
    if (virgule == std::string_view::npos) {
        return std::nullopt;
    }
    const auto francs = convertit_entier(partie.substr(0, virgule));
    if (!francs) {
        return std::nullopt;
    }
    const auto centimes = convertit_entier(partie.substr(virgule + 1));
    if (!centimes) {
        return std::nullopt;
    }
    return std::int64_t{*francs} * 100 + *centimes;
}

std::string_view texte_date_ligne(std::string_view ligne) {
    // " à " and the 8-character time close the line; the date is the 8 characters before them.
    const std::string_view avant =
        ligne.size() > 11 ? ligne.substr(0, ligne.size() - 11) : std::string_view{};
    return avant.size() > 8 ? avant.substr(avant.size() - 8) : avant;
}

std::string_view texte_heure_ligne(std::string_view ligne) {
    return ligne.size() > 8 ? ligne.substr(ligne.size() - 8) : ligne;
}

std::optional<int> secondes_du_jour(std::string_view texte) {
    if (texte.size() != 8 || texte[2] != ':' || texte[5] != ':') {
        return std::nullopt;
    }
    int champs[3] = {};
    for (int i = 0; i < 3; ++i) {
        const char d = texte[static_cast<std::size_t>(i * 3)];
        const char u = texte[static_cast<std::size_t>(i * 3 + 1)];
        if (d < '0' || d > '9' || u < '0' || u > '9') {
            return std::nullopt;
        }
        champs[i] = (d - '0') * 10 + (u - '0');
    }
    if (champs[0] > 23 || champs[1] > 59 || champs[2] > 59) {
        return std::nullopt;
    }
    return champs[0] * 3600 + champs[1] * 60 + champs[2];
}
