#include "metering/alertes.h"

#include <utility>

std::string message_alerte(const alerte& a, const reglages_alertes& r) {
    switch (a.genre) {
    case genre_alerte::duree:
        return "L'appel dure depuis " + std::to_string(a.valeur * r.duree_minutes) +
               " minutes : si vous avez raccroché sans appuyer sur « Fin », terminez-le à l'heure où vous "
               "parliez encore.";
    case genre_alerte::cout:
        return "L'appel coûte déjà " + texte_montant(a.valeur) + " FS, plus que les " +
               std::to_string(r.cout_francs) + " FS prévus.";
    case genre_alerte::budget_80:
        return "Les appels de ce mois coûtent " + texte_montant(a.valeur) +
               " FS : 80 % du budget mensuel de " + std::to_string(r.budget_francs) + " FS.";
    case genre_alerte::budget_100:
        return "Les appels de ce mois coûtent " + texte_montant(a.valeur) + " FS : le budget mensuel de " +
               std::to_string(r.budget_francs) + " FS est atteint.";
    }
    return {};
}

std::string message_pas_un_entier(std::string_view texte) {
    return "« " + std::string(texte) + " » n'est pas un nombre entier";
}

std::string texte_budget_mois(std::int64_t centimes, const reglages_alertes& r) {
    // No break between an amount and its unit, nor before the colon, in the report's narrow column.
    return "Ce mois\u00a0: " + texte_montant(centimes) + "\u00a0FS sur un budget de " +
           std::to_string(r.budget_francs) + "\u00a0FS";
}

std::string libelle_fin_proposee(const compteur& appel, const alerte& a) {
    return "Terminer l'appel à " + texte_heure(appel.moment(a.fin_proposee_ms)).substr(0, 5);
}

void veille_alertes::fixe_reglages(const reglages_alertes& r, const compteur& appel, std::int64_t ms) {
    if (r == reglages_) {
        return;
    }
    const reglages_alertes avant = std::exchange(reglages_, r);
    if (!appel.en_cours()) {
        return;
    }
    // The multiples of a new threshold already behind and a cost already passed count as said; a setting
    // left as it was keeps what was said, and the end offered, as they were.
    if (r.duree != avant.duree || r.duree_minutes != avant.duree_minutes) {
        duree_dite_ = (ms - appel.debut_ms()) / seuil_ms();
        poursuites_ = duree_dite_;
    }
    if (r.cout != avant.cout || r.cout_francs != avant.cout_francs) {
        cout_dit_ = appel.montant_appel() > std::int64_t{reglages_.cout_francs} * 100;
    }
    if (r.budget && !avant.budget && !mois_lu_ && lit_mois_) {
        montant_mois_ = lit_mois_(mois_ / 100, mois_ % 100);
        mois_lu_ = true;
    }
}

std::vector<alerte> veille_alertes::debut(const compteur& appel,
                                          const std::function<std::int64_t(int, int)>& montant_du_mois) {
    duree_dite_ = 0;
    poursuites_ = 0;
    cout_dit_ = false;
    // A call counts in the month it started in, as statements count it, even when it ends in the next.
    const date_heure jour = decode(appel.debut_horodatage());
    mois_ = jour.annee * 100 + jour.mois;
    // The log is read only for a budget: most calls are made without one, and this is the click on "Début".
    lit_mois_ = montant_du_mois;
    mois_lu_ = reglages_.budget;
    montant_mois_ = mois_lu_ ? montant_du_mois(jour.annee, jour.mois) : 0;
    return tick(appel, appel.debut_ms());
}

void veille_alertes::budget(const compteur& appel, std::vector<alerte>& dites) {
    if (!reglages_.budget) {
        return;
    }
    const std::int64_t total = total_mois(appel);
    const std::int64_t centimes = std::int64_t{reglages_.budget_francs} * 100;
    const std::pair<int, genre_alerte> niveaux[] = {{100, genre_alerte::budget_100},
                                                    {80, genre_alerte::budget_80}};
    // The highest level reached is said; one below it passed at the same time goes without saying.
    bool dit = false;
    for (const auto& [pour_cent, genre] : niveaux) {
        if (total * 100 >= centimes * pour_cent &&
            budget_dit_.emplace(mois_, pour_cent, reglages_.budget_francs).second && !dit) {
            dites.push_back({genre, total, 0});
            budget_annonce_ = std::int64_t{mois_} * 1000 + pour_cent;
            dit = true;
        }
    }
}

void veille_alertes::reprend_budget_annonce(std::int64_t code) {
    budget_annonce_ = code;
    for (const int pour_cent : {80, 100}) {
        if (code > 0 && pour_cent <= code % 1000) {
            budget_dit_.emplace(static_cast<int>(code / 1000), pour_cent, reglages_.budget_francs);
        }
    }
}

std::vector<alerte> veille_alertes::tick(const compteur& appel, std::int64_t ms) {
    std::vector<alerte> dites;
    if (!appel.en_cours()) {
        return dites;
    }
    if (reglages_.duree) {
        const std::int64_t atteints = (ms - appel.debut_ms()) / seuil_ms();
        // A tick late by more than a threshold (a machine asleep) says it once, not once per multiple.
        if (atteints > duree_dite_) {
            duree_dite_ = atteints;
            dites.push_back(
                {genre_alerte::duree, atteints, appel.debut_ms() + seuil_ms() * (poursuites_ + 1)});
        }
    }
    if (reglages_.cout && !cout_dit_ && appel.montant_appel() > std::int64_t{reglages_.cout_francs} * 100) {
        cout_dit_ = true;
        dites.push_back({genre_alerte::cout, appel.montant_appel(), 0});
    }
    budget(appel, dites);
    return dites;
}
