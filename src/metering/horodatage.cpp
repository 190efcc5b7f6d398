#include "metering/horodatage.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

namespace chr = std::chrono;

// Day 0 of the timestamps.
constexpr chr::sys_days origine = chr::year{1899} / chr::December / 30;

chr::sys_days jour_du_calendrier(std::int64_t jours) {
    return origine + chr::days{jours};
}

// Whole days of a count of milliseconds, rounded down (times before day 0 are negative).
std::int64_t jours_entiers(std::int64_t ms) {
    return chr::floor<chr::days>(chr::milliseconds{ms}).count();
}

chr::year_month_day date_civile(int annee, int mois, int jour) {
    return {chr::year{annee}, chr::month{static_cast<unsigned>(mois)}, chr::day{static_cast<unsigned>(jour)}};
}

} // namespace

std::int64_t jours_depuis_origine(int annee, int mois, int jour) {
    return (chr::sys_days{date_civile(annee, mois, jour)} - origine).count();
}

bool date_valide(int annee, int mois, int jour) {
    // The calendar types hold a year in a short and a month or day in a byte: out-of-range numbers would wrap
    // into valid ones before ok() sees them.
    if (annee < 1 || annee > 9999 || mois < 1 || mois > 12 || jour < 1 || jour > 31) {
        return false;
    }
    return date_civile(annee, mois, jour).ok();
}

horodatage encode_date(int annee, int mois, int jour) {
    return static_cast<double>(jours_depuis_origine(annee, mois, jour));
}

horodatage encode_heure(int heures, int minutes, int secondes, int millisecondes) {
    const std::int64_t ms = heures * 3'600'000LL + minutes * 60'000LL + secondes * 1'000LL + millisecondes;
    return static_cast<double>(ms) / static_cast<double>(ms_par_jour);
}

horodatage encode(const date_heure& dh) {
    return encode_date(dh.annee, dh.mois, dh.jour) +
           encode_heure(dh.heures, dh.minutes, dh.secondes, dh.millisecondes);
}

std::int64_t en_millisecondes(horodatage t) {
    return std::llround(t * static_cast<double>(ms_par_jour));
}

date_heure decode(horodatage t) {
    const std::int64_t total = en_millisecondes(t);
    const std::int64_t jours = jours_entiers(total);
    std::int64_t ms = total - jours * ms_par_jour;
    const chr::year_month_day date{jour_du_calendrier(jours)};
    date_heure dh;
    dh.annee = static_cast<int>(date.year());
    dh.mois = static_cast<int>(static_cast<unsigned>(date.month()));
    dh.jour = static_cast<int>(static_cast<unsigned>(date.day()));
    dh.heures = static_cast<int>(ms / 3'600'000);
    ms %= 3'600'000;
    dh.minutes = static_cast<int>(ms / 60'000);
    ms %= 60'000;
    dh.secondes = static_cast<int>(ms / 1'000);
    dh.millisecondes = static_cast<int>(ms % 1'000);
    return dh;
}

horodatage partie_date(horodatage t) {
    return static_cast<double>(jours_entiers(en_millisecondes(t)));
}

horodatage partie_heure(horodatage t) {
    const std::int64_t total = en_millisecondes(t);
    const std::int64_t ms = total - jours_entiers(total) * ms_par_jour;
    return static_cast<double>(ms) / static_cast<double>(ms_par_jour);
}

int jour_semaine(horodatage t) {
    const chr::weekday jour{jour_du_calendrier(jours_entiers(en_millisecondes(t)))};
    return static_cast<int>(jour.c_encoding()) + 1;
}

std::string texte_heure(horodatage t) {
    const date_heure dh = decode(t);
    char tampon[16];
    std::snprintf(tampon, sizeof tampon, "%02d:%02d:%02d", dh.heures, dh.minutes, dh.secondes);
    return tampon;
}

std::string texte_date(horodatage t) {
    const date_heure dh = decode(t);
    char tampon[16];
    std::snprintf(tampon, sizeof tampon, "%02d.%02d.%02d", dh.jour, dh.mois, ((dh.annee % 100) + 100) % 100);
    return tampon;
}
