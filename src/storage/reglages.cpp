#include "storage/reglages.h"

#include "metering/compteur.h"
#include "metering/duree_unite.h"
#include "storage/conversion_entier.h"

#include <algorithm>
#include <string>
#include <utility>

namespace fs = std::filesystem;

namespace {

// Section and key names as the file holds them, in Windows-1252: \351 is "é" (0xE9), \340 is "à" (0xE0).
// Octal, because a hexadecimal escape would swallow the letters a to f that follow it.
constexpr std::string_view section_tarifs = "Tarifs";
constexpr std::string_view cle_taxe_base = "Taxe de base";
// The durations of the built-in zones, in the order of the zone table: Local, Suburbain, Interurbain.
constexpr std::string_view cles_normal[] = {"Dur\351e local normal", "Dur\351e suburbain normal",
                                            "Dur\351e interurbain normal"};
constexpr std::string_view cles_reduit[] = {"Dur\351e local r\351duit", "Dur\351e suburbain r\351duit",
                                            "Dur\351e interurbain r\351duit"};

constexpr std::string_view section_divers = "Divers";
constexpr std::string_view cle_mise_a_jour = "Mise \340 jour";

constexpr std::string_view section_memento = "Memento";
constexpr int taille_historique = 15;

constexpr std::string_view section_ajouts = "Ajouts";
constexpr std::string_view section_journal = "Journal des appels";
constexpr std::string_view cle_nombre_ajouts = "Nombre d'ajouts";
constexpr std::string_view suffixe_normal = " au tarif normal";
constexpr std::string_view suffixe_reduit = " au tarif r\351duit";

constexpr std::string_view section_alertes = "Alertes";
constexpr std::string_view cle_duree_active = "Dur\351e active";
constexpr std::string_view cle_duree = "Dur\351e en minutes";
constexpr std::string_view cle_cout_actif = "Co\373t actif";
constexpr std::string_view cle_cout = "Co\373t en francs";
constexpr std::string_view cle_budget_actif = "Budget actif";
constexpr std::string_view cle_budget = "Budget mensuel en francs";
constexpr std::string_view cle_budget_annonce = "Budget annonc\351";

constexpr int max_ajouts = table_zones::capacite - table_zones::nb_fixes;

int duree_sure(std::int32_t dixiemes) {
    return std::clamp(dixiemes, dixiemes_min, dixiemes_max);
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

} // namespace

acces_reglages::acces_reglages(const dossier_donnees& donnees, const appels_systeme& systeme)
    : fichier_(donnees.reglages()), mode_si_nouveau_(donnees.mode_nouveau_fichier()), systeme_(systeme) {}

profil_en_memoire& acces_reglages::charge() const {
    // Read once for all the reads and writes of one operation: starting up reads over a hundred keys.
    if (!profil_) {
        texte contenu;
        lecture_ = lit_contenu(fichier_, contenu);
        if (lecture_ == lecture::impossible) {
            contenu.clear();
        }
        profil_.emplace(std::move(contenu));
    }
    return *profil_;
}

bool acces_reglages::illisible() const {
    return profil_ && lecture_ == lecture::impossible;
}

texte acces_reglages::lit_texte(std::string_view section, std::string_view cle,
                                std::string_view defaut) const {
    return charge().valeur(section, cle, defaut);
}

std::int32_t acces_reglages::lit_entier(std::string_view section, std::string_view cle,
                                        std::int32_t defaut) const {
    texte valeur = lit_texte(section, cle, "");
    if (valeur.size() > 2 && valeur[0] == '0' && (valeur[1] == 'x' || valeur[1] == 'X')) {
        valeur = "$" + valeur.substr(2);
    }
    return convertit_entier(valeur).value_or(defaut);
}

void acces_reglages::ecrit_texte(std::string_view section, std::string_view cle, std::string_view valeur) {
    const bool change = a_proteger(valeur) ? charge().ecrit(section, cle, "\"" + texte(valeur) + "\"")
                                           : charge().ecrit(section, cle, valeur);
    modifie_ = modifie_ || change;
}

void acces_reglages::ecrit_entier(std::string_view section, std::string_view cle, std::int64_t valeur) {
    ecrit_texte(section, cle, std::to_string(valeur));
}

erreur_reglages acces_reglages::enregistre() {
    const profil_en_memoire& p = charge();
    if (lecture_ != lecture::impossible && !modifie_) {
        return std::nullopt;
    }
    const texte contenu = p.contenu();
    if (contenu.size() > taille_max_profil) {
        return fichier_.filename().string() + " n'a pas pu être écrit : il dépasserait " +
               std::to_string(taille_max_profil >> 20) + " Mo, plus que Kalvo n'en relit";
    }
    if (lecture_ != lecture::impossible) {
        fichier_atomique sortie(fichier_, systeme_);
        sortie.mode_si_nouveau(mode_si_nouveau_);
        if (sortie.ouvert()) {
            sortie.ecrit(contenu);
            if (sortie.remplace()) {
                lecture_ = lecture::lue;
                modifie_ = false;
                return std::nullopt;
            }
        }
    }
    return fichier_.filename().string() + " n'a pas pu être écrit";
}

reglages_lus lit_reglages(const dossier_donnees& donnees) {
    const acces_reglages ini(donnees);
    reglages_lus r;
    tarifs_base& t = r.tarifs;
    t.taxe_base =
        std::clamp(ini.lit_entier(section_tarifs, cle_taxe_base, t.taxe_base), centimes_min, centimes_max);
    for (std::size_t i = 0; i < t.reduit.size(); ++i) {
        t.reduit[i] = duree_sure(ini.lit_entier(section_tarifs, cles_reduit[i], t.reduit[i]));
    }
    for (std::size_t i = 0; i < t.normal.size(); ++i) {
        t.normal[i] = duree_sure(ini.lit_entier(section_tarifs, cles_normal[i], t.normal[i]));
    }

    const std::int32_t periode = ini.lit_entier(section_divers, cle_mise_a_jour, periodes_mise_a_jour[0]);
    r.periode_ms = position_periode(periode) >= 0 ? periode : periodes_mise_a_jour[0];

    for (int n = 1; n <= taille_historique; ++n) {
        texte entree = ini.lit_texte(section_memento, std::to_string(n), "");
        if (!entree.empty()) {
            r.historique.push_back(std::move(entree));
        }
    }

    // Only names the zone dialog would accept are loaded. One that clashes with a zone already there could
    // send a lookup to a built-in zone or share its keys; one with "=" or a leading "[" would be saved under
    // keys that never read back (a new line at each save) or that read as a section header.
    table_zones prises;
    const std::int32_t nombre = ini.lit_entier(section_ajouts, cle_nombre_ajouts, 0);
    for (std::int32_t n = 1; n <= nombre && static_cast<int>(r.zones.size()) < max_ajouts; ++n) {
        texte nom = ini.lit_texte(section_ajouts, std::to_string(n), "bogue ligne " + std::to_string(n));
        if (examine_nom_zone(nom, prises) != refus_nom_zone::aucun) {
            continue;
        }
        const int normal = duree_sure(ini.lit_entier(section_ajouts, nom + texte(suffixe_normal), 1));
        const int reduit = duree_sure(ini.lit_entier(section_ajouts, nom + texte(suffixe_reduit), 1));
        prises.ajoute(nom, normal, reduit);
        r.zones.push_back({std::move(nom), normal, reduit});
    }
    reglages_alertes& a = r.alertes;
    a.duree = ini.lit_entier(section_alertes, cle_duree_active, a.duree) != 0;
    a.duree_minutes =
        std::clamp(ini.lit_entier(section_alertes, cle_duree, a.duree_minutes), minutes_min, minutes_max);
    a.cout = ini.lit_entier(section_alertes, cle_cout_actif, a.cout) != 0;
    a.cout_francs =
        std::clamp(ini.lit_entier(section_alertes, cle_cout, a.cout_francs), francs_min, francs_max);
    a.budget = ini.lit_entier(section_alertes, cle_budget_actif, a.budget) != 0;
    a.budget_francs =
        std::clamp(ini.lit_entier(section_alertes, cle_budget, a.budget_francs), francs_min, francs_max);
    r.budget_annonce = ini.lit_entier(section_alertes, cle_budget_annonce, 0);
    r.illisible = ini.illisible();
    return r;
}

erreur_reglages sauve_reglages(const dossier_donnees& donnees, int periode_ms,
                               const std::vector<texte>& historique, const table_zones& zones,
                               const appels_systeme& systeme) {
    acces_reglages ini(donnees, systeme);
    ini.ecrit_entier(section_divers, cle_mise_a_jour, periode_ms);
    for (std::size_t i = 0; i < historique.size(); ++i) {
        ini.ecrit_texte(section_memento, std::to_string(i + 1), historique[i]);
    }
    ini.ecrit_entier(section_ajouts, cle_nombre_ajouts, zones.nombre_ajouts());
    for (int index = table_zones::nb_fixes; index < zones.nombre(); ++index) {
        const Tdonnee& z = zones.zone(index);
        ini.ecrit_texte(section_ajouts, std::to_string(index - table_zones::nb_fixes + 1), z.nom);
        ini.ecrit_entier(section_ajouts, z.nom + texte(suffixe_normal), dixiemes_depuis_secondes(z.normal));
        ini.ecrit_entier(section_ajouts, z.nom + texte(suffixe_reduit), dixiemes_depuis_secondes(z.reduit));
    }
    return ini.enregistre();
}

std::optional<taille_fenetre> lit_taille_journal(const dossier_donnees& donnees) {
    const acces_reglages ini(donnees);
    const taille_fenetre t{ini.lit_entier(section_journal, "Largeur", 0),
                           ini.lit_entier(section_journal, "Hauteur", 0)};
    for (const int cote : {t.largeur, t.hauteur}) {
        if (cote < taille_min_fenetre || cote > taille_max_fenetre) {
            return std::nullopt;
        }
    }
    return t;
}

erreur_reglages sauve_taille_journal(const dossier_donnees& donnees, taille_fenetre taille,
                                     const appels_systeme& systeme) {
    acces_reglages ini(donnees, systeme);
    ini.ecrit_entier(section_journal, "Largeur", taille.largeur);
    ini.ecrit_entier(section_journal, "Hauteur", taille.hauteur);
    return ini.enregistre();
}

erreur_reglages sauve_tarifs(const dossier_donnees& donnees, const tarifs_base& tarifs,
                             const appels_systeme& systeme) {
    acces_reglages ini(donnees, systeme);
    ini.ecrit_entier(section_tarifs, cle_taxe_base, tarifs.taxe_base);
    for (std::size_t i = 0; i < tarifs.reduit.size(); ++i) {
        ini.ecrit_entier(section_tarifs, cles_reduit[i], tarifs.reduit[i]);
    }
    for (std::size_t i = 0; i < tarifs.normal.size(); ++i) {
        ini.ecrit_entier(section_tarifs, cles_normal[i], tarifs.normal[i]);
    }
    return ini.enregistre();
}

erreur_reglages sauve_alertes(const dossier_donnees& donnees, const reglages_alertes& a,
                              const appels_systeme& systeme) {
    acces_reglages ini(donnees, systeme);
    ini.ecrit_entier(section_alertes, cle_duree_active, a.duree ? 1 : 0);
    ini.ecrit_entier(section_alertes, cle_duree, a.duree_minutes);
    ini.ecrit_entier(section_alertes, cle_cout_actif, a.cout ? 1 : 0);
    ini.ecrit_entier(section_alertes, cle_cout, a.cout_francs);
    ini.ecrit_entier(section_alertes, cle_budget_actif, a.budget ? 1 : 0);
    ini.ecrit_entier(section_alertes, cle_budget, a.budget_francs);
    return ini.enregistre();
}

erreur_reglages sauve_budget_annonce(const dossier_donnees& donnees, std::int64_t code) {
    acces_reglages ini(donnees);
    ini.ecrit_entier(section_alertes, cle_budget_annonce, code);
    return ini.enregistre();
}

refus_nom_zone examine_nom_zone(std::string_view nom, const table_zones& zones) {
    if (nom.find_first_of("{}") != std::string_view::npos) {
        return refus_nom_zone::accolade;
    }
    for (int i = 0; i < zones.nombre(); ++i) {
        if (egal_sans_casse(sans_blancs(zones.nom(i)), sans_blancs(nom))) {
            return refus_nom_zone::deja_pris;
        }
    }
    const std::string_view sans = sans_blancs(nom);
    if (nom.find('=') != std::string_view::npos ||
        (!sans.empty() && (sans.front() == '[' || sans.front() == ';'))) {
        return refus_nom_zone::brise_cles;
    }
    return refus_nom_zone::aucun;
}
