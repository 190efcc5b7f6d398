#include "storage/periode_appels.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace fs = std::filesystem;

namespace {

namespace chr = std::chrono;

std::int64_t jour_de(chr::year_month_day date) {
    return jours_depuis_origine(static_cast<int>(date.year()),
                                static_cast<int>(static_cast<unsigned>(date.month())),
                                static_cast<int>(static_cast<unsigned>(date.day())));
}

// Records hashed by their start and length: those that share them are the rare calls logged twice over.
struct hache_debut {
    std::size_t operator()(std::string_view brut) const {
        return std::hash<std::string_view>{}(brut.substr(0, 64)) ^ brut.size();
    }
};

} // namespace

std::string texte_jour(std::int64_t jour) {
    const date_heure d = decode(static_cast<horodatage>(jour));
    char tampon[24];
    std::snprintf(tampon, sizeof tampon, "%02d.%02d.%04d", d.jour, d.mois, d.annee);
    return tampon;
}

periode_appels periode_mois(int annee, int mois) {
    const chr::year_month ym{chr::year{annee}, chr::month{static_cast<unsigned>(mois)}};
    return {jour_de(ym / chr::day{1}), jour_de(chr::year_month_day{ym / chr::last})};
}

periode_appels periode_choisie(choix_periode choix, horodatage aujourd_hui) {
    const date_heure d = decode(aujourd_hui);
    switch (choix) {
    case choix_periode::ce_mois:
        return periode_mois(d.annee, d.mois);
    case choix_periode::mois_dernier:
        return d.mois == 1 ? periode_mois(d.annee - 1, 12) : periode_mois(d.annee, d.mois - 1);
    case choix_periode::cette_annee:
        return {jours_depuis_origine(d.annee, 1, 1), jours_depuis_origine(d.annee, 12, 31)};
    case choix_periode::tout:
        break;
    }
    return {};
}

std::string description_periode(const periode_appels& p) {
    if (p.du && p.au) {
        return "appels commencés du " + texte_jour(*p.du) + " au " + texte_jour(*p.au);
    }
    if (p.du) {
        return "appels commencés à partir du " + texte_jour(*p.du);
    }
    if (p.au) {
        return "appels commencés jusqu'au " + texte_jour(*p.au);
    }
    return "tous les appels";
}

std::string message_mois_saisi(std::string_view texte) {
    return "« " + utf8_depuis_1252(texte) + " » n'est pas un mois valide (MM.AAAA)";
}

periode_saisie lit_periode(std::optional<std::string_view> du, std::optional<std::string_view> au,
                           std::optional<std::string_view> mois, int annee_courante) {
    periode_saisie r;
    if (mois && (du || au)) {
        r.message = message_mois_et_dates;
        return r;
    }
    if (mois) {
        // The first of the month, by the same rule as a whole date.
        const auto premier = convertit_date("1." + texte(*mois), annee_courante);
        if (!premier) {
            r.message = message_mois_saisi(*mois);
            return r;
        }
        const date_heure d = decode(static_cast<horodatage>(*premier));
        r.periode = periode_mois(d.annee, d.mois);
        return r;
    }
    for (const auto& [saisie, borne] : {std::pair{du, &r.periode.du}, std::pair{au, &r.periode.au}}) {
        if (saisie) {
            *borne = convertit_date(*saisie, annee_courante);
            if (!*borne) {
                r.message = message_date_invalide(*saisie);
                return r;
            }
        }
    }
    if (r.periode.du && r.periode.au && *r.periode.au < *r.periode.du) {
        r.message = message_periode_a_l_envers;
    }
    return r;
}

std::string texte_duree(std::int64_t secondes) {
    char tampon[32];
    std::snprintf(tampon, sizeof tampon, "%lld:%02d:%02d", static_cast<long long>(secondes / 3600),
                  static_cast<int>(secondes / 60 % 60), static_cast<int>(secondes % 60));
    return tampon;
}

std::optional<std::int64_t> dates_lues::jour(std::string_view date) {
    if (date != derniere_ || derniere_.empty()) {
        derniere_.assign(date);
        jour_ = convertit_date(date, annee_courante_);
    }
    return jour_;
}

std::optional<std::int64_t> moment_ligne(std::string_view ligne, dates_lues& dates) {
    const auto jour = dates.jour(texte_date_ligne(ligne));
    const auto heure = secondes_du_jour(texte_heure_ligne(ligne));
    if (!jour || !heure) {
        return std::nullopt;
    }
    return *jour * 86'400 + *heure;
}

std::optional<std::int64_t> duree_appel(const lignes_enregistrement& lignes, int annee_courante) {
    dates_lues dates(annee_courante);
    return duree_appel(lignes, dates);
}

std::optional<std::int64_t> duree_appel(const lignes_enregistrement& lignes, dates_lues& dates) {
    const auto debut = moment_ligne(lignes[0], dates);
    const auto fin = moment_ligne(lignes[1], dates);
    if (!debut || !fin || *fin < *debut) {
        return std::nullopt;
    }
    return *fin - *debut;
}

std::size_t totaux_par_motif::ajoute(std::string_view motif, std::int64_t centimes, std::int64_t secondes) {
    if (std::none_of(motif.begin(), motif.end(), [](unsigned char c) { return c > ' '; })) {
        motif = libelle_motif_vide;
    }
    const auto [place, nouvelle] = places_.try_emplace(replie_casse(motif), motifs_.size());
    if (nouvelle) {
        motifs_.push_back({texte(motif)});
    }
    for (total_motif* t : {&motifs_[place->second], &total_}) {
        t->centimes += centimes;
        t->appels += 1;
        t->secondes += secondes;
    }
    return place->second;
}

resultat_parcours parcourt_periode(const fs::path& journal, const periode_appels& periode, int annee_courante,
                                   const std::function<void(const enregistrement_periode&)>& visite) {
    lecteur_journal lecteur(journal);
    if (lecteur.absent()) {
        return {etat_lecture::absent};
    }
    dates_lues dates(annee_courante);
    lignes_enregistrement lignes;
    // Records are counted in sixes of lines from the start of the file.
    for (std::int64_t premiere = 1; lecteur.suivant(lignes); premiere += 6) {
        if (const int longue = lecteur.ligne_trop_longue(); longue >= 0) {
            return {etat_lecture::corrompu, premiere + longue};
        }
        const auto centimes = montant_lu(lignes[4]);
        if (!centimes) {
            return {etat_lecture::corrompu, premiere + 4};
        }
        const auto jour = dates.jour(texte_date_ligne(lignes[0]));
        if (!jour && periode.bornee()) {
            return {etat_lecture::corrompu, premiere};
        }
        if (!jour || periode.contient(*jour)) {
            visite({lignes, lecteur.brut(), premiere, jour, *centimes});
        }
    }
    return {lecteur.erreur() ? etat_lecture::erreur_lecture : etat_lecture::complet};
}

releve_periode releve(const fs::path& journal, const periode_appels& periode, int annee_courante) {
    totaux_par_motif totaux;
    releve_periode r;
    r.lecture = parcourt_periode(journal, periode, annee_courante, [&](const enregistrement_periode& e) {
        totaux.ajoute(sans_prefixe(e.lignes[3]), e.centimes,
                      duree_appel(e.lignes, annee_courante).value_or(0));
    });
    r.total = totaux.total();
    r.motifs = totaux.prend_motifs();
    return r;
}

lecture_appels lit_appels(const fs::path& journal, const periode_appels& periode, int annee_courante) {
    lecture_appels r;
    texte& octets = *r.octets;
    if (!periode.bornee()) {
        // The whole log: its bytes in one step, and its calls in one, a record being some 230 bytes.
        std::error_code erreur;
        const std::uintmax_t taille = fs::file_size(journal, erreur);
        if (!erreur && taille < (std::uintmax_t{1} << 30)) {
            octets.reserve(static_cast<std::size_t>(taille));
            r.appels.reserve(static_cast<std::size_t>(taille / 200));
        }
    }
    dates_lues dates(annee_courante);
    r.lecture = parcourt_periode(journal, periode, annee_courante, [&](const enregistrement_periode& e) {
        const auto place_de = [&e, &octets](std::string_view partie) {
            return partie.empty()
                       ? appel_journal::place{octets.size(), 0}
                       : appel_journal::place{octets.size() +
                                                  static_cast<std::size_t>(partie.data() - e.brut.data()),
                                              partie.size()};
        };
        appel_journal& a = r.appels.emplace_back();
        a.octets = &octets;
        a.zone_ = place_de(sans_prefixe(e.lignes[2]));
        a.motif_ = place_de(sans_prefixe(e.lignes[3]));
        a.brut_ = {octets.size(), e.brut.size()};
        octets += e.brut;
        a.premiere_ligne = e.premiere_ligne;
        a.jour = e.jour;
        a.debut = secondes_du_jour(texte_heure_ligne(e.lignes[0]));
        a.fin = secondes_du_jour(texte_heure_ligne(e.lignes[1]));
        a.duree = duree_appel(e.lignes, dates);
        a.centimes = e.centimes;
    });
    // Identical records have the same start, so all of them are in the period or none: counting them here
    // counts them in the whole log.
    std::unordered_map<std::string_view, std::int64_t, hache_debut> vus;
    vus.reserve(r.appels.size());
    for (appel_journal& a : r.appels) {
        a.occurrence = vus[a.brut()]++;
    }
    return r;
}

appels_periode appels_de_la_periode(const lecture_appels& tout, const periode_appels& periode) {
    appels_periode r{tout.lecture, {}};
    for (std::size_t i = 0; i < tout.appels.size(); ++i) {
        const appel_journal& a = tout.appels[i];
        if (!a.jour && periode.bornee()) {
            r.lecture = {etat_lecture::corrompu, a.premiere_ligne};
            break;
        }
        if (!a.jour || periode.contient(*a.jour)) {
            r.places.push_back(i);
        }
    }
    return r;
}

appels_par_motif regroupe_par_motif(const std::vector<appel_journal>& appels,
                                    const std::vector<std::size_t>& places) {
    totaux_par_motif totaux;
    appels_par_motif r;
    r.places = places;
    r.motif_de.reserve(places.size());
    for (const std::size_t p : places) {
        const appel_journal& a = appels[p];
        r.motif_de.push_back(totaux.ajoute(a.motif(), a.centimes, a.duree.value_or(0)));
    }
    r.total = totaux.total();
    r.motifs = totaux.prend_motifs();
    return r;
}

choix_motifs choisit_motifs(const appels_par_motif& par_motif, const std::vector<std::size_t>& choisis) {
    choix_motifs r;
    std::vector<bool> choisi(par_motif.motifs.size());
    for (const std::size_t m : choisis) {
        if (m < choisi.size() && !choisi[m]) {
            choisi[m] = true;
            r.somme.centimes += par_motif.motifs[m].centimes;
            r.somme.appels += par_motif.motifs[m].appels;
            r.somme.secondes += par_motif.motifs[m].secondes;
        }
    }
    for (std::size_t i = 0; i < par_motif.motif_de.size(); ++i) {
        if (choisis.empty() || choisi[par_motif.motif_de[i]]) {
            r.appels.push_back(par_motif.places[i]);
        }
    }
    return r;
}

total_motif somme_appels(const std::vector<appel_journal>& appels, const std::vector<std::size_t>& places) {
    total_motif r;
    for (const std::size_t p : places) {
        r.centimes += appels.at(p).centimes;
        r.appels += 1;
        r.secondes += appels.at(p).duree.value_or(0);
    }
    return r;
}

std::string message_dommage(std::int64_t ligne) {
    return "Le fichier d'enregistrement des taxes est corrompu à partir de la ligne " +
           std::to_string(ligne) +
           " : seuls les appels qui la précèdent sont montrés, et rien ne peut être corrigé tant qu'il n'est "
           "pas réparé.";
}
