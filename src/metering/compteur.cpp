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

int position_periode(int periode_ms) {
    const auto* p = std::find(periodes_mise_a_jour.begin(), periodes_mise_a_jour.end(), periode_ms);
    return p == periodes_mise_a_jour.end() ? -1 : static_cast<int>(p - periodes_mise_a_jour.begin());
}

void compteur::debut(const Tdonnee& zone, montant taxe_base, horodatage maintenant, std::int64_t ms,
                     int periode_ms) {
    zone_ = zone;
    taxe_base_ = taxe_base;
    montant_ = taxe_base;
    debut_ = maintenant;
    dernier_moment_ = maintenant;
    debut_ms_ = ms;
    dernier_ms_ = ms;
    periodes_ = {{ms, periode_ms}};
    en_cours_ = true;
}

void compteur::change_periode(int periode_ms, std::int64_t ms) {
    if (en_cours_) {
        periodes_.push_back({ms, periode_ms});
    }
}

void compteur::tick(horodatage maintenant, std::int64_t ms) {
    if (!en_cours_) {
        return;
    }
    dernier_moment_ = maintenant;
    periode_ = periode_en_vigueur(maintenant);
    // Unit durations are whole tenths of a second, so whole milliseconds: the division is exact in integers.
    const std::int64_t u = std::max<std::int64_t>(
        1, std::llround((periode_ == periode::normale ? zone_.normal : zone_.reduit) * 1000.0));
    const std::int64_t e = ms - dernier_ms_;
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

void compteur::fin(horodatage maintenant, std::int64_t ms) {
    tick(maintenant, ms);
    en_cours_ = false;
}

std::string compteur::legende() const {
    return "Tarif: " + texte_montant(montant_) + " FS";
}

std::string compteur::duree(std::int64_t ms) const {
    return texte_heure(static_cast<double>(ms - debut_ms_) / static_cast<double>(ms_par_jour));
}

appel compteur::enregistrement(texte motif) const {
    return {partie_date(debut_),
            partie_heure(debut_),
            partie_date(dernier_moment_),
            partie_heure(dernier_moment_),
            zone_.nom,
            std::move(motif),
            montant_};
}

horodatage compteur::moment(std::int64_t ms) const {
    return debut_ + static_cast<double>(ms - debut_ms_) / static_cast<double>(ms_par_jour);
}

compteur compteur::termine_a(std::int64_t ms) const {
    if (periodes_.empty()) {
        return *this; // never started
    }
    ms = std::max(ms, debut_ms_);
    compteur c;
    c.debut(zone_, taxe_base_, debut_, debut_ms_, periodes_.front().periode_ms);
    for (std::size_t i = 0; i < periodes_.size(); ++i) {
        // A change re-arms the tick: the ticks of a period run until the next change.
        const std::int64_t limite = i + 1 < periodes_.size() ? std::min(periodes_[i + 1].ms, ms) : ms;
        for (std::int64_t t = periodes_[i].ms + periodes_[i].periode_ms; t < limite;
             t += periodes_[i].periode_ms) {
            c.tick(moment(t), t);
        }
    }
    c.periodes_ = periodes_;
    c.fin(moment(ms), ms);
    return c;
}
