#include "horloge_factice.h"
#include "outils_fuzz.h"
#include "storage/journal_appels.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Arbitrary bytes as a call log. The streaming reader, its fast amount reading and the word-wise reason
// index are checked against a plain byte-by-byte reading of the format; pruning must either leave the file
// untouched or write exactly the kept records, each line followed by CR LF.

namespace {

namespace fs = std::filesystem;

using enregistrement = std::array<std::string, 6>;

constexpr std::string_view fin_ligne = "\r\n";

std::vector<enregistrement> enregistrements_modele(std::string_view octets) {
    octets = octets.substr(0, octets.find('\x1A'));
    std::vector<enregistrement> resultat;
    std::size_t p = 0;
    while (p < octets.size()) {
        enregistrement e;
        for (std::string& ligne : e) {
            if (p == octets.size()) {
                continue; // lines missing at the end read as empty
            }
            const std::size_t cr = octets.find('\r', p);
            const std::size_t fin = cr == std::string_view::npos ? octets.size() : cr;
            ligne.assign(octets.substr(p, fin - p));
            p = cr == std::string_view::npos ? fin : fin + 1;
            if (cr != std::string_view::npos && p < octets.size() && octets[p] == '\n') {
                ++p;
            }
        }
        resultat.push_back(std::move(e));
    }
    return resultat;
}

std::optional<std::int64_t> montant_modele(std::string_view ligne5) {
    if (ligne5.size() < 24 + 3) {
        return std::nullopt;
    }
    const std::string_view partie = ligne5.substr(24, ligne5.size() - 24 - 3);
    const std::size_t virgule = partie.find(',');
    if (virgule == std::string_view::npos) {
        return std::nullopt;
    }
    const auto francs = modele_entier(partie.substr(0, virgule));
    const auto centimes = modele_entier(partie.substr(virgule + 1));
    if (!francs || !centimes) {
        return std::nullopt;
    }
    return std::int64_t{*francs} * 100 + *centimes;
}

resultat_totaux totaux_modele(const std::vector<enregistrement>& enregistrements) {
    resultat_totaux r;
    std::vector<texte> cles;
    for (const enregistrement& e : enregistrements) {
        const auto montant = montant_modele(e[4]);
        if (!montant) {
            r.etat = etat_lecture::corrompu;
            return r;
        }
        texte motif = e[3].size() > 24 ? e[3].substr(24) : texte();
        const bool visible = std::any_of(motif.begin(), motif.end(),
                                         [](char c) { return static_cast<unsigned char>(c) > 32; });
        if (!visible) {
            motif = libelle_motif_vide;
        }
        const texte cle = replie_casse(motif);
        std::size_t i = 0;
        while (i < cles.size() && cles[i] != cle) {
            ++i;
        }
        if (i == cles.size()) {
            cles.push_back(cle);
            r.motifs.push_back({motif, 0});
        }
        r.motifs[i].centimes += *montant;
    }
    return r;
}

void verifie_totaux(const fs::path& journal, const std::vector<enregistrement>& enregistrements) {
    const resultat_totaux lu = totalise_motifs(journal);
    const resultat_totaux attendu = totaux_modele(enregistrements);
    if (lu.etat != attendu.etat || lu.motifs.size() != attendu.motifs.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < lu.motifs.size(); ++i) {
        if (lu.motifs[i].motif != attendu.motifs[i].motif ||
            lu.motifs[i].centimes != attendu.motifs[i].centimes) {
            std::abort();
        }
    }
}

texte canonique(const std::vector<enregistrement>& enregistrements) {
    texte t;
    for (const enregistrement& e : enregistrements) {
        for (const std::string& ligne : e) {
            t.append(ligne).append(fin_ligne);
        }
    }
    return t;
}

// The end date of a record as the pruning reads it: line 2 less " à " and the time, its last 8 characters.
std::string_view texte_date_fin(const enregistrement& e) {
    const std::string_view ligne = e[1];
    const std::string_view avant =
        ligne.size() > 11 ? ligne.substr(0, ligne.size() - 11) : std::string_view{};
    return avant.size() > 8 ? avant.substr(avant.size() - 8) : avant;
}

void verifie_purge(const fs::path& journal, std::string_view octets,
                   const std::vector<enregistrement>& enregistrements, const date_heure& seuil) {
    ecrit_fichier(journal, octets);
    const horloge_factice horloge;
    const int annee_courante = decode(horloge.maintenant()).annee;
    const std::int64_t jour_seuil = jours_depuis_origine(seuil.annee, seuil.mois, seuil.jour);
    const resultat_purge r = purge_avant(journal, seuil.jour, seuil.mois, seuil.annee, horloge);

    std::vector<enregistrement> gardes;
    std::optional<std::string_view> date_fausse;
    for (const enregistrement& e : enregistrements) {
        const auto jour = convertit_date(texte_date_fin(e), annee_courante);
        if (!jour) {
            date_fausse = texte_date_fin(e);
            break;
        }
        if (*jour >= jour_seuil) {
            gardes.push_back(e);
        }
    }

    for (const auto& entree : fs::directory_iterator(journal.parent_path())) {
        if (entree.path() != journal) {
            std::abort(); // a temporary file was left behind
        }
    }
    if (date_fausse) {
        if (r.etat != etat_purge::date_invalide || r.message != message_date_invalide(*date_fausse) ||
            lit_fichier(journal) != octets) {
            std::abort();
        }
        return;
    }
    if (r.etat != etat_purge::fait || r.gardes != static_cast<std::int64_t>(gardes.size()) ||
        r.gardes + r.retires != static_cast<std::int64_t>(enregistrements.size()) ||
        lit_fichier(journal) != canonique(gardes)) {
        std::abort();
    }
    verifie_totaux(journal, gardes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::string_view octets(reinterpret_cast<const char*>(donnees), taille);
    const fs::path dossier = dossier_fuzz() / "journal";
    fs::create_directories(dossier);
    const fs::path journal = dossier / "sauve.tax";
    ecrit_fichier(journal, octets);

    const std::vector<enregistrement> enregistrements = enregistrements_modele(octets);
    verifie_totaux(journal, enregistrements);

    // Year 100 lies before any date a record can hold, so every record stays.
    verifie_purge(journal, octets, enregistrements, {100, 1, 1});

    // A threshold on the end date of a record picked by the input, so that some records go and some stay.
    if (!enregistrements.empty()) {
        const enregistrement& choisi = enregistrements[taille % enregistrements.size()];
        const int annee_courante = decode(horloge_factice().maintenant()).annee;
        if (const auto jour = convertit_date(texte_date_fin(choisi), annee_courante)) {
            verifie_purge(journal, octets, enregistrements, decode(static_cast<horodatage>(*jour)));
        }
    }
    return 0;
}
