#include "storage/reglages.h"

#include "metering/duree_unite.h"
#include "storage/conversion_entier.h"
#include "storage/fichier_profil.h"
#include "storage/repertoire_donnees.h"

#include <algorithm>
#include <string>
#include <utility>

namespace fs = std::filesystem;

namespace {

// Section and key names as the file holds them, in Windows-1252: \351 is "é" (0xE9), \340 is "à" (0xE0).
// Octal, because a hexadecimal escape would swallow the letters a to f that follow it.
constexpr std::string_view section_tarifs = "Tarifs";
constexpr std::string_view cle_taxe_base = "Taxe de base";
constexpr std::string_view cle_local_reduit = "Dur\351e local r\351duit";
constexpr std::string_view cle_suburbain_reduit = "Dur\351e suburbain r\351duit";
constexpr std::string_view cle_interurbain_reduit = "Dur\351e interurbain r\351duit";
constexpr std::string_view cle_local_normal = "Dur\351e local normal";
constexpr std::string_view cle_suburbain_normal = "Dur\351e suburbain normal";
constexpr std::string_view cle_interurbain_normal = "Dur\351e interurbain normal";

constexpr std::string_view section_divers = "Divers";
constexpr std::string_view cle_mise_a_jour = "Mise \340 jour";

constexpr std::string_view section_memento = "Memento";
constexpr int taille_historique = 15;

constexpr std::string_view section_ajouts = "Ajouts";
constexpr std::string_view cle_nombre_ajouts = "Nombre d'ajouts";
constexpr std::string_view suffixe_normal = " au tarif normal";
constexpr std::string_view suffixe_reduit = " au tarif r\351duit";

constexpr int max_ajouts = table_zones::capacite - table_zones::nb_fixes;

// The dialogs keep durations within these bounds; a hand-edited file must not give the meter a zero or
// negative unit to divide by.
constexpr std::int32_t duree_min = 1;
constexpr std::int32_t duree_max = 50000;
constexpr std::int32_t taxe_max = 50000;

int duree_sure(std::int32_t dixiemes) {
    return std::clamp(dixiemes, duree_min, duree_max);
}

bool a_proteger(std::string_view valeur) {
    if (valeur.empty()) {
        return false;
    }
    if (blanc_profil(valeur.front()) || blanc_profil(valeur.back())) {
        return true;
    }
    return valeur.size() >= 2 && (valeur.front() == '"' || valeur.front() == '\'') &&
           valeur.back() == valeur.front();
}

bool zone_refusee(std::string_view nom, const std::vector<texte>& noms_pris) {
    if (nom.find_first_of("{}") != std::string_view::npos || nom_zone_brise_cles(nom)) {
        return true;
    }
    return std::any_of(noms_pris.begin(), noms_pris.end(),
                       [nom](const texte& pris) { return noms_zone_confondus(pris, nom); });
}

} // namespace

acces_reglages::acces_reglages(fs::path fichier) : fichier_(std::move(fichier)) {}

texte acces_reglages::lit_texte(std::string_view section, std::string_view cle,
                                std::string_view defaut) const {
    // Read once for all the reads of one operation: starting up reads over a hundred keys.
    if (!contenu_) {
        contenu_.emplace();
        illisible_ = lit_contenu(fichier_, *contenu_) == lecture::impossible;
        if (illisible_) {
            contenu_->clear();
        }
    }
    return valeur_profil(*contenu_, section, cle, defaut);
}

std::int32_t acces_reglages::lit_entier(std::string_view section, std::string_view cle,
                                        std::int32_t defaut) const {
    texte valeur = lit_texte(section, cle, "");
    if (valeur.size() > 2 && valeur[0] == '0' && (valeur[1] == 'x' || valeur[1] == 'X')) {
        valeur = "$" + valeur.substr(2);
    }
    return convertit_entier(valeur).value_or(defaut);
}

erreur_reglages acces_reglages::ecrit_texte(std::string_view section, std::string_view cle,
                                            std::string_view valeur) {
    contenu_.reset(); // the file changes: a later read takes it anew
    const bool ok = a_proteger(valeur) ? ecrit_profil(fichier_, section, cle, "\"" + texte(valeur) + "\"")
                                       : ecrit_profil(fichier_, section, cle, valeur);
    if (ok) {
        return std::nullopt;
    }
    return "Unable to write to " + fichier_.filename().string();
}

erreur_reglages acces_reglages::ecrit_entier(std::string_view section, std::string_view cle,
                                             std::int64_t valeur) {
    return ecrit_texte(section, cle, std::to_string(valeur));
}

fs::path chemin_reglages() {
    return repertoire_donnees() / "Kalvo.ini";
}

reglages_lus lit_reglages(const fs::path& fichier) {
    const acces_reglages ini(fichier);
    reglages_lus r;
    r.taxe_base = std::clamp(ini.lit_entier(section_tarifs, cle_taxe_base, 20), 0, taxe_max);
    r.local_reduit = duree_sure(ini.lit_entier(section_tarifs, cle_local_reduit, 2240));
    r.suburbain_reduit = duree_sure(ini.lit_entier(section_tarifs, cle_suburbain_reduit, 588));
    r.interurbain_reduit = duree_sure(ini.lit_entier(section_tarifs, cle_interurbain_reduit, 406));
    r.local_normal = duree_sure(ini.lit_entier(section_tarifs, cle_local_normal, 990));
    r.suburbain_normal = duree_sure(ini.lit_entier(section_tarifs, cle_suburbain_normal, 384));
    r.interurbain_normal = duree_sure(ini.lit_entier(section_tarifs, cle_interurbain_normal, 226));

    const std::int32_t periode = ini.lit_entier(section_divers, cle_mise_a_jour, 1000);
    const bool permise = periode == 1000 || periode == 3000 || periode == 5000 || periode == 10000;
    r.periode_ms = permise ? periode : 1000;

    for (int n = 1; n <= taille_historique; ++n) {
        texte entree = ini.lit_texte(section_memento, std::to_string(n), "");
        if (!entree.empty()) {
            r.historique.push_back(std::move(entree));
        }
    }

    // Only names the zone dialog would accept are loaded. One that clashes with a zone already there could
    // send a lookup to a built-in zone or share its keys; one with "=" or a leading "[" would be saved under
    // keys that never read back (a new line at each save) or that read as a section header.
    const table_zones fixes;
    std::vector<texte> noms_pris;
    for (int i = 0; i < fixes.nombre(); ++i) {
        noms_pris.push_back(fixes.nom(i));
    }
    const std::int32_t nombre = ini.lit_entier(section_ajouts, cle_nombre_ajouts, 0);
    for (std::int32_t n = 1; n <= nombre && static_cast<int>(r.zones.size()) < max_ajouts; ++n) {
        texte nom = ini.lit_texte(section_ajouts, std::to_string(n), "bogue ligne " + std::to_string(n));
        if (zone_refusee(nom, noms_pris)) {
            continue;
        }
        const int normal = duree_sure(ini.lit_entier(section_ajouts, nom + texte(suffixe_normal), 1));
        const int reduit = duree_sure(ini.lit_entier(section_ajouts, nom + texte(suffixe_reduit), 1));
        noms_pris.push_back(nom);
        r.zones.push_back({std::move(nom), normal, reduit});
    }
    r.illisible = ini.illisible();
    return r;
}

reglages_lus lit_reglages() {
    assure_repertoire_donnees();
    return lit_reglages(chemin_reglages());
}

erreur_reglages sauve_reglages(const fs::path& fichier, int periode_ms, const std::vector<texte>& historique,
                               const table_zones& zones) {
    acces_reglages ini(fichier);
    if (auto erreur = ini.ecrit_entier(section_divers, cle_mise_a_jour, periode_ms)) {
        return erreur;
    }
    for (std::size_t i = 0; i < historique.size(); ++i) {
        if (auto erreur = ini.ecrit_texte(section_memento, std::to_string(i + 1), historique[i])) {
            return erreur;
        }
    }
    if (auto erreur = ini.ecrit_entier(section_ajouts, cle_nombre_ajouts, zones.nombre_ajouts())) {
        return erreur;
    }
    for (int index = table_zones::nb_fixes; index < zones.nombre(); ++index) {
        const Tdonnee& z = zones.zone(index);
        const int n = index - table_zones::nb_fixes + 1;
        if (auto erreur = ini.ecrit_texte(section_ajouts, std::to_string(n), z.nom)) {
            return erreur;
        }
        if (auto erreur = ini.ecrit_entier(section_ajouts, z.nom + texte(suffixe_normal),
                                           dixiemes_depuis_secondes(z.normal))) {
            return erreur;
        }
        if (auto erreur = ini.ecrit_entier(section_ajouts, z.nom + texte(suffixe_reduit),
                                           dixiemes_depuis_secondes(z.reduit))) {
            return erreur;
        }
    }
    return std::nullopt;
}

erreur_reglages sauve_reglages(int periode_ms, const std::vector<texte>& historique,
                               const table_zones& zones) {
    assure_repertoire_donnees();
    return sauve_reglages(chemin_reglages(), periode_ms, historique, zones);
}

erreur_reglages sauve_tarifs(const fs::path& fichier, montant taxe_base, int local_reduit,
                             int suburbain_reduit, int interurbain_reduit, int local_normal,
                             int suburbain_normal, int interurbain_normal) {
    acces_reglages ini(fichier);
    const std::pair<std::string_view, std::int64_t> valeurs[] = {
        {cle_taxe_base, taxe_base},
        {cle_local_reduit, local_reduit},
        {cle_suburbain_reduit, suburbain_reduit},
        {cle_interurbain_reduit, interurbain_reduit},
        {cle_local_normal, local_normal},
        {cle_suburbain_normal, suburbain_normal},
        {cle_interurbain_normal, interurbain_normal},
    };
    for (const auto& [cle, valeur] : valeurs) {
        if (auto erreur = ini.ecrit_entier(section_tarifs, cle, valeur)) {
            return erreur;
        }
    }
    return std::nullopt;
}

erreur_reglages sauve_tarifs(montant taxe_base, int local_reduit, int suburbain_reduit,
                             int interurbain_reduit, int local_normal, int suburbain_normal,
                             int interurbain_normal) {
    assure_repertoire_donnees();
    return sauve_tarifs(chemin_reglages(), taxe_base, local_reduit, suburbain_reduit, interurbain_reduit,
                        local_normal, suburbain_normal, interurbain_normal);
}

bool nom_zone_brise_cles(std::string_view nom) {
    if (nom.find('=') != std::string_view::npos) {
        return true;
    }
    const std::string_view sans = sans_blancs(nom);
    return !sans.empty() && (sans.front() == '[' || sans.front() == ';');
}

bool noms_zone_confondus(std::string_view a, std::string_view b) {
    return egal_sans_casse(sans_blancs(a), sans_blancs(b));
}
