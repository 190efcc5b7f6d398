#pragma once

#include "metering/compteur.h"
#include "metering/montant.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

// What the user asked to be warned of. Amounts in whole francs, as the dialog edits them.
struct reglages_alertes {
    bool duree = true;
    int duree_minutes = 60;
    bool cout = false;
    int cout_francs = 10;
    bool budget = false;
    int budget_francs = 100;

    bool operator==(const reglages_alertes&) const = default;
};

// The ranges the dialog and the settings file keep the values in.
inline constexpr int minutes_min = 1, minutes_max = 1440;
inline constexpr int francs_min = 1, francs_max = 99999;

enum class genre_alerte { duree, cout, budget_80, budget_100 };

struct alerte {
    genre_alerte genre;
    // Duration: how many times the threshold has been reached. Cost: the call's amount. Budget: the month's.
    std::int64_t valeur = 0;
    // Duration: the moment offered as the call's end (continuous clock): its start plus the threshold as
    // many times as the user said he was still talking, plus one.
    std::int64_t fin_proposee_ms = 0;
};

// What the user is told, in UTF-8.
std::string message_alerte(const alerte& a, const reglages_alertes& r);
// "« 2,50 » n'est pas un nombre entier": the thresholds and the budget are whole minutes and francs.
std::string message_pas_un_entier(std::string_view texte);
// "Ce mois : 12,30 FS sur un budget de 100 FS", in UTF-8, with no-break spaces.
std::string texte_budget_mois(std::int64_t centimes, const reglages_alertes& r);
// "Terminer l'appel à 11:00": the wall-clock time of the end offered by a duration alert, in UTF-8.
std::string libelle_fin_proposee(const compteur& appel, const alerte& a);

// Watches the running call and the month's spending. The duration alert comes at the first tick at or past
// each multiple of the threshold; the cost alert once, at the first tick where the call costs more than its
// threshold; each budget level (80 %, 100 %) once per month and budget, when the month's calls, the
// running one included, reach it. A call's month is the one it started in, as statements count it.
// Settings changed during a call apply from then on: a duration or cost threshold the call has already
// passed is not said; a new budget is compared at the next tick like any other.
class veille_alertes {
public:
    explicit veille_alertes(reglages_alertes r = {}) : reglages_(r) {}

    const reglages_alertes& reglages() const { return reglages_; }
    // `appel` is the running call, if any, at `ms`.
    void fixe_reglages(const reglages_alertes& r, const compteur& appel, std::int64_t ms);

    // At "Début", with the amount of the calls already logged that started in the month given (the one the
    // call starts in), asked for only when a budget is set, then or later during the call.
    std::vector<alerte> debut(const compteur& appel,
                              const std::function<std::int64_t(int annee, int mois)>& montant_du_mois);
    std::vector<alerte> tick(const compteur& appel, std::int64_t ms);
    // The user answered a duration alert by going on: the next one offers a later end.
    void continue_appel() { poursuites_ = duree_dite_; }

    // The month's calls with the running one, in centimes.
    std::int64_t total_mois(const compteur& appel) const { return montant_mois_ + appel.montant_appel(); }

    // The last budget level said, as AAAAMM * 1000 + the level (0: none), kept from one run to the next so
    // that a restart does not say it again.
    std::int64_t budget_annonce() const { return budget_annonce_; }
    void reprend_budget_annonce(std::int64_t code);

private:
    std::int64_t seuil_ms() const { return std::int64_t{reglages_.duree_minutes} * 60'000; }
    void budget(const compteur& appel, std::vector<alerte>& dites);

    reglages_alertes reglages_;
    std::int64_t duree_dite_ = 0; // multiples of the threshold said for this call
    std::int64_t poursuites_ = 0;
    bool cout_dit_ = false;
    int mois_ = 0; // AAAAMM of the running call
    std::int64_t montant_mois_ = 0;
    bool mois_lu_ = false; // montant_mois_ read: only once a budget is set
    std::function<std::int64_t(int annee, int mois)> lit_mois_;
    std::set<std::tuple<int, int, int>> budget_dit_; // month, level, budget
    std::int64_t budget_annonce_ = 0;
};
