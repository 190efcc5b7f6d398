#include "storage/journal_lecteur.h"

#include "storage/conversion_entier.h"
#include "storage/fichier_regulier.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Large enough that a read costs little next to the search of its bytes, and that the record being read,
// kept at the front, always leaves room for more.
constexpr std::size_t taille_tampon = 1 << 20;
static_assert(taille_tampon > 6 * (longueur_max_ligne + 2));
constexpr std::size_t largeur_prefixe = 24;

} // namespace

lecteur_journal::lecteur_journal(const std::filesystem::path& journal) {
    const fichier_ouvert f = ouvre_fichier_regulier(journal, O_RDONLY, 0);
    if (f.etat != etat_fichier::ok) {
        absent_ = f.etat == etat_fichier::absent;
        erreur_ = !absent_;
        etat_erreur_ = static_cast<int>(f.etat);
        numero_erreur_ = f.numero;
        contenu_fini_ = true;
        return;
    }
    fd_ = f.fd;
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    // Not cleared: only the bytes read are looked at.
    tampon_ = std::make_unique_for_overwrite<char[]>(taille_tampon);
}

lecteur_journal::~lecteur_journal() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

// Reads on after the bytes not yet handed out, moved to the front first. Nothing after the first Ctrl-Z
// is kept.
void lecteur_journal::remplit() {
    std::memmove(tampon_.get(), tampon_.get() + debut_, fin_ - debut_);
    fin_ -= debut_;
    debut_ = 0;
    ssize_t lus = 0;
    do {
        lus = ::read(fd_, tampon_.get() + fin_, taille_tampon - fin_);
    } while (lus < 0 && errno == EINTR);
    if (lus <= 0) {
        erreur_ = lus < 0;
        etat_erreur_ = static_cast<int>(etat_fichier::erreur);
        numero_erreur_ = errno;
        contenu_fini_ = true;
        return;
    }
    const char* nouveaux = tampon_.get() + fin_;
    fin_ += static_cast<std::size_t>(lus);
    if (const void* ctrl_z = std::memchr(nouveaux, '\x1A', static_cast<std::size_t>(lus))) {
        fin_ = static_cast<std::size_t>(static_cast<const char*>(ctrl_z) - tampon_.get());
        contenu_fini_ = true;
    }
}

// Cuts the record that starts at debut_ into its lines. False when the bytes read end inside it and more
// may come: the caller reads on and cuts it again from its start.
bool lecteur_journal::decoupe(lignes_enregistrement& lignes) {
    const char* const base = tampon_.get();
    std::size_t p = debut_;
    bool canonique = true;
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        const auto* cr = static_cast<const char*>(std::memchr(base + p, '\r', fin_ - p));
        const std::size_t q = cr != nullptr ? static_cast<std::size_t>(cr - base) : fin_;
        // Known too long as soon as that many bytes are in without a line end: reading stops there.
        if (q - p > longueur_max_ligne) {
            lignes[i] = std::string_view(base + p, longueur_max_ligne);
            std::fill(lignes.begin() + static_cast<std::ptrdiff_t>(i) + 1, lignes.end(), std::string_view{});
            ligne_trop_longue_ = static_cast<int>(i);
            p += longueur_max_ligne;
            fin_ = p;
            contenu_fini_ = true;
            canonique = false;
            break;
        }
        // The line, or the LF after its CR, may go on in the next block.
        if ((cr == nullptr || q + 1 == fin_) && !contenu_fini_) {
            return false;
        }
        lignes[i] = std::string_view(base + p, q - p);
        p = cr != nullptr ? q + 1 : q;
        if (cr != nullptr && p < fin_ && base[p] == '\n') {
            ++p;
        } else {
            canonique = false;
        }
    }
    brut_ = std::string_view(base + debut_, p - debut_);
    canonique_ = canonique;
    debut_ = p;
    return true;
}

bool lecteur_journal::suivant(lignes_enregistrement& lignes) {
    while (!erreur_) {
        if (debut_ < fin_ && decoupe(lignes)) {
            return true;
        }
        if (contenu_fini_) {
            return false;
        }
        remplit();
    }
    return false;
}

std::string lecteur_journal::raison() const {
    return raison_fichier(static_cast<etat_fichier>(etat_erreur_), numero_erreur_);
}

std::string_view sans_prefixe(std::string_view ligne) {
    return ligne.size() > largeur_prefixe ? ligne.substr(largeur_prefixe) : std::string_view{};
}

std::optional<std::int64_t> montant_lu(std::string_view ligne5) {
    std::string_view partie = sans_prefixe(ligne5);
    partie = partie.size() >= 3 ? partie.substr(0, partie.size() - 3) : std::string_view{};
    const std::size_t virgule = partie.find(',');
    if (virgule == std::string_view::npos) {
        return std::nullopt;
    }
    const auto francs = convertit_entier(partie.substr(0, virgule));
    const auto centimes = convertit_entier(partie.substr(virgule + 1));
    if (!francs || !centimes) {
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
    for (std::size_t i = 0; i < 3; ++i) {
        // Two digits each: from_chars would also take a sign.
        const char* debut = texte.data() + 3 * i;
        const auto [fin, erreur] = std::from_chars(debut, debut + 2, champs[i]);
        if (erreur != std::errc() || fin != debut + 2 || *debut == '-') {
            return std::nullopt;
        }
    }
    if (champs[0] > 23 || champs[1] > 59 || champs[2] > 59) {
        return std::nullopt;
    }
    return champs[0] * 3600 + champs[1] * 60 + champs[2];
}
