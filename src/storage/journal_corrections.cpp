#include "storage/journal_corrections.h"

#include "metering/compteur.h"
#include "storage/journal_reecriture.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

namespace fs = std::filesystem;

namespace {

texte joint(const lignes_enregistrement& lignes) {
    texte r;
    ajoute_lignes(r, lignes);
    return r;
}

// Records looked for by their bytes; most records are ruled out by their length alone.
template <typename valeur> class par_octets {
public:
    valeur& operator[](std::string_view octets) {
        tailles_.insert(octets.size());
        return valeurs_[octets];
    }
    valeur* cherche(std::string_view octets) {
        if (!tailles_.contains(octets.size())) {
            return nullptr;
        }
        const auto it = valeurs_.find(octets);
        return it == valeurs_.end() ? nullptr : &it->second;
    }

private:
    std::unordered_set<std::size_t> tailles_;
    std::unordered_map<std::string_view, valeur> valeurs_;
};

// One pass of a correction over the log: the calls it looks for, the records it writes, and the inverse it
// builds, which names those records as the new log holds them.
class passe_correction {
public:
    passe_correction(const correction& c, int annee_courante)
        : c_(c), trouve_(c.remplacements.size()), dates_(annee_courante) {
        for (std::size_t i = 0; i < c.remplacements.size(); ++i) {
            cherches_[c.remplacements[i].appel.brut].remplacements.push_back(i);
            if (c.remplacements[i].par) {
                ecrits_[*c.remplacements[i].par] = 0;
            }
        }
        // Records put back, in the order of their starts; one whose start does not read goes at the end.
        for (const texte& r : c.retablis) {
            ecrits_[r] = 0;
            debuts_.push_back(moment_ligne(lignes_de(r)[0], dates_));
        }
        ordre_.resize(c.retablis.size());
        std::iota(ordre_.begin(), ordre_.end(), 0);
        std::stable_sort(ordre_.begin(), ordre_.end(), [this](std::size_t x, std::size_t y) {
            return debuts_[x].has_value() && (!debuts_[y] || *debuts_[x] < *debuts_[y]);
        });
    }

    bool traite(const lecteur_journal& lecteur, const lignes_enregistrement& lignes, texte& sortie) {
        if (lecteur.ligne_trop_longue() >= 0 || !montant_lu(lignes[4])) {
            corrompu_ = true;
            return false;
        }
        if (prochain_ < ordre_.size()) {
            const auto debut = moment_ligne(lignes[0], dates_);
            while (debut && prochain_ < ordre_.size() && debuts_[ordre_[prochain_]] &&
                   *debuts_[ordre_[prochain_]] < *debut) {
                retablit(sortie, ordre_[prochain_++]);
            }
        }
        const correction::remplacement* r = cherche(lecteur.brut());
        if (r == nullptr) {
            const std::size_t avant = sortie.size();
            recopie(sortie, lecteur, lignes);
            compte(std::string_view(sortie).substr(avant));
        } else if (r->par) {
            sortie += *r->par;
            inverse_.remplacements.push_back({{*r->par, compte(*r->par)}, joint(lignes)});
        } else {
            inverse_.retablis.push_back(joint(lignes));
        }
        return true;
    }

    // False when a call named was not met.
    bool termine(texte& sortie) {
        while (prochain_ < ordre_.size()) {
            retablit(sortie, ordre_[prochain_++]);
        }
        return std::find(trouve_.begin(), trouve_.end(), false) == trouve_.end();
    }

    bool corrompu() const { return corrompu_; }
    correction inverse() && { return std::move(inverse_); }

private:
    // The replacement of this record, if it is a call named.
    const correction::remplacement* cherche(std::string_view brut) {
        cherche_octets* ch = cherches_.cherche(brut);
        if (ch == nullptr) {
            return nullptr;
        }
        const std::int64_t occurrence = ch->vus++;
        const correction::remplacement* r = nullptr;
        for (const std::size_t i : ch->remplacements) {
            if (c_.remplacements[i].appel.occurrence == occurrence) {
                trouve_[i] = true; // the same call named twice is changed once
                r = r != nullptr ? r : &c_.remplacements[i];
            }
        }
        return r;
    }

    // How many records of these bytes the new log held before them, for those this correction writes.
    std::int64_t compte(std::string_view octets) {
        std::int64_t* n = ecrits_.cherche(octets);
        return n != nullptr ? (*n)++ : 0;
    }

    void retablit(texte& sortie, std::size_t i) {
        sortie += c_.retablis[i];
        inverse_.remplacements.push_back({{c_.retablis[i], compte(c_.retablis[i])}, std::nullopt});
    }

    struct cherche_octets {
        std::int64_t vus = 0; // records of these bytes met so far
        std::vector<std::size_t> remplacements;
    };
    const correction& c_;
    par_octets<cherche_octets> cherches_;
    std::vector<bool> trouve_;
    par_octets<std::int64_t> ecrits_;
    dates_lues dates_;
    std::vector<std::optional<std::int64_t>> debuts_;
    std::vector<std::size_t> ordre_;
    std::size_t prochain_ = 0;
    correction inverse_;
    bool corrompu_ = false;
};

} // namespace

std::string message_zone_disparue(std::string_view zone) {
    return "La zone « " + utf8_depuis_1252(zone) +
           " » n'existe plus : le montant de l'appel ne peut pas être calculé à nouveau.";
}

correction change_motif(const std::vector<identite_appel>& appels, std::string_view motif) {
    appel modele;
    modele.motif = texte(motif);
    const texte formate = formate_appel(modele); // the writer's own line, line ends in the reason blanked
    const std::string_view ligne = lignes_de(formate)[3];
    correction c;
    for (const identite_appel& a : appels) {
        lignes_enregistrement lignes = lignes_de(a.brut);
        lignes[3] = ligne;
        c.remplacements.push_back({a, joint(lignes)});
    }
    return c;
}

correction supprime_appels(const std::vector<identite_appel>& appels) {
    correction c;
    for (const identite_appel& a : appels) {
        c.remplacements.push_back({a, std::nullopt});
    }
    return c;
}

fin_corrigee corrige_fin(const identite_appel& a, horodatage fin, const table_zones& zones, int periode_ms,
                         int annee_courante) {
    fin_corrigee r;
    lignes_enregistrement lignes = lignes_de(a.brut);
    dates_lues dates(annee_courante);
    const auto debut_s = moment_ligne(lignes[0], dates);
    if (!debut_s) {
        r.message = message_debut_illisible;
        return r;
    }
    const std::int64_t duree_ms = en_millisecondes(fin) - *debut_s * 1000;
    if (duree_ms < 0 || duree_ms > 7 * ms_par_jour) {
        r.message = message_fin_hors_limites;
        return r;
    }
    const int zone = zones.recherche(sans_prefixe(lignes[2]));
    if (zone < 0) {
        r.message = message_zone_disparue(sans_prefixe(lignes[2]));
        return r;
    }
    compteur meter;
    meter.debut(zones.zone(zone), zones.taxe_base(), static_cast<double>(*debut_s) / 86'400.0, 0, periode_ms);
    const compteur fini = meter.termine_a(duree_ms);
    r.centimes = fini.montant_appel();
    // Lines 2 and 5 as the writer puts them; the others stay as they are.
    const texte formate = formate_appel(fini.enregistrement({}));
    const lignes_enregistrement nouvelles = lignes_de(formate);
    lignes[1] = nouvelles[1];
    lignes[4] = nouvelles[4];
    r.a_appliquer.remplacements.push_back({a, joint(lignes)});
    return r;
}

resultat_correction applique_correction(const fs::path& journal, const correction& c, int annee_courante,
                                        std::chrono::milliseconds attente, const appels_systeme& systeme) {
    if (c.vide()) {
        return {};
    }
    passe_correction passe(c, annee_courante);
    const resultat_reecriture r = reecrit_journal(
        journal,
        [&passe](const lecteur_journal& lecteur, const lignes_enregistrement& lignes, texte& sortie) {
            return passe.traite(lecteur, lignes, sortie);
        },
        [&passe](texte& sortie) { return passe.termine(sortie); }, attente, systeme);
    switch (r.etat) {
    case etat_reecriture::faite:
        return {true, {}, std::move(passe).inverse()};
    case etat_reecriture::arretee:
        return {false,
                std::string(passe.corrompu() ? message_correction_journal_corrompu : message_appel_disparu),
                {}};
    case etat_reecriture::absent:
    case etat_reecriture::erreur_fichier:
        break;
    }
    return {false, r.message, {}};
}
