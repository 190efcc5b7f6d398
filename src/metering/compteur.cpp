#include "metering/compteur.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int64_t heure_ms = 3'600'000;

std::int64_t ms_du_jour(horodatage moment) {
    const std::int64_t total = en_millisecondes(moment);
    return ((total % ms_par_jour) + ms_par_jour) % ms_par_jour;
}

} // namespace

periode periode_en_vigueur(horodatage moment) {
    const int jour = jour_semaine(moment);
    if (jour == 1 || jour == 7) {
        return periode::reduite;
    }
    const std::int64_t t = ms_du_jour(moment);
    const bool reduite = t <= 8 * heure_ms || (t >= 17 * heure_ms && t <= 19 * heure_ms) || t > 21 * heure_ms;
    return reduite ? periode::reduite : periode::normale;
}

void compteur::debut(horodatage maintenant, std::int64_t ms_continues, montant taxe_base) {
    montant_ = taxe_base;
    date_debut_ = partie_date(maintenant);
    heure_debut_ = partie_heure(maintenant);
    debut_ms_ = ms_continues;
    dernier_ms_ = ms_continues;
    en_cours_ = true;
}

void compteur::tick(std::int64_t ms_continues, double unite_secondes) {
    const std::int64_t e = ms_continues - dernier_ms_;
    // Unit durations are whole tenths of a second, so whole milliseconds: the division is exact in integers.
    std::int64_t u = std::llround(unite_secondes * 1000.0);
    if (u < 1) {
        u = 1;
    }
    if (e < u) {
        return;
    }
    const std::int64_t n = e / u;
    // A long sleep at a tiny unit could pass 32 bits: the charge stops at its largest value instead of
    // wrapping.
    montant_ =
        static_cast<montant>(std::min<std::int64_t>(montant_ + 10 * n, std::numeric_limits<montant>::max()));
    // The part of a unit already run stays on the meter for the next unit.
    dernier_ms_ += n * u;
}

void compteur::fin(horodatage maintenant) {
    heure_fin_ = partie_heure(maintenant);
    date_fin_ = partie_date(maintenant);
    en_cours_ = false;
}

std::string compteur::legende() const {
    return "Tarif: " + texte_montant(montant_) + " FS";
}

std::string compteur::duree(std::int64_t ms_continues) const {
    return texte_heure(static_cast<double>(ms_continues - debut_ms_) / static_cast<double>(ms_par_jour));
}
