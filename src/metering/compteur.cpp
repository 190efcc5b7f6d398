#include "metering/compteur.h"

#include <cmath>
#include <cstdlib>

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

void compteur::debut(horodatage maintenant, montant taxe_base) {
    montant_ = taxe_base;
    date_debut_ = partie_date(maintenant);
    heure_debut_ = partie_heure(maintenant);
    // The first charged moment keeps its date: as a bare time of day, a clock set back before the first
    // unit was charged would read as nearly 24 hours run instead of the few minutes it went back.
    dernier_moment_ = date_debut_ + heure_debut_;
    en_cours_ = true;
}

void compteur::tick(horodatage maintenant, double unite_secondes) {
    // Elapsed time of day since the last charged moment, in whole milliseconds; a clock set back makes the
    // difference negative and its size is measured.
    const double d = maintenant - dernier_moment_;
    const std::int64_t e = std::llround(std::fabs(d) * static_cast<double>(ms_par_jour)) % ms_par_jour;

    // Unit durations are whole tenths of a second, so whole milliseconds: the division is exact in integers.
    std::int64_t u = std::llround(unite_secondes * 1000.0);
    if (u < 1) {
        u = 1;
    }
    if (e < u) {
        return;
    }
    const std::int64_t n = e / u;
    montant_ += static_cast<montant>(10 * n);
    const std::int64_t reste = e - n * u;
    dernier_moment_ = maintenant - static_cast<double>(reste) / static_cast<double>(ms_par_jour);
}

void compteur::fin(horodatage maintenant) {
    heure_fin_ = partie_heure(maintenant);
    date_fin_ = partie_date(maintenant);
    en_cours_ = false;
}

std::string compteur::legende() const {
    return "Tarif: " + texte_montant(montant_) + " FS";
}

std::string compteur::duree(horodatage maintenant) const {
    return texte_heure(maintenant - heure_debut_);
}
