#include "metering/horodatage.h"

#include <cmath>
#include <cstdio>

namespace {

std::int64_t division_plancher(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

// Days of 1970-01-01 relative to the civil date (Howard Hinnant's algorithm).
std::int64_t jours_depuis_1970(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civil_depuis_1970(std::int64_t z, int& annee, int& mois, int& jour) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    jour = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    mois = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    annee = static_cast<int>(y + (mois <= 2));
}

// 30 December 1899 counted from 1 January 1970.
constexpr std::int64_t origine_depuis_1970 = -25569;

} // namespace

std::int64_t jours_depuis_origine(int annee, int mois, int jour) {
    return jours_depuis_1970(annee, static_cast<unsigned>(mois), static_cast<unsigned>(jour)) -
           origine_depuis_1970;
}

bool date_valide(int annee, int mois, int jour) {
    if (annee < 1 || annee > 9999 || mois < 1 || mois > 12 || jour < 1) {
        return false;
    }
    static constexpr int longueurs[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bissextile = (annee % 4 == 0 && annee % 100 != 0) || annee % 400 == 0;
    const int longueur = longueurs[mois - 1] + (mois == 2 && bissextile ? 1 : 0);
    return jour <= longueur;
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
    const std::int64_t jours = division_plancher(total, ms_par_jour);
    std::int64_t ms = total - jours * ms_par_jour;
    date_heure dh;
    civil_depuis_1970(jours + origine_depuis_1970, dh.annee, dh.mois, dh.jour);
    dh.heures = static_cast<int>(ms / 3'600'000);
    ms %= 3'600'000;
    dh.minutes = static_cast<int>(ms / 60'000);
    ms %= 60'000;
    dh.secondes = static_cast<int>(ms / 1'000);
    dh.millisecondes = static_cast<int>(ms % 1'000);
    return dh;
}

horodatage partie_date(horodatage t) {
    return static_cast<double>(division_plancher(en_millisecondes(t), ms_par_jour));
}

horodatage partie_heure(horodatage t) {
    const std::int64_t total = en_millisecondes(t);
    const std::int64_t ms = total - division_plancher(total, ms_par_jour) * ms_par_jour;
    return static_cast<double>(ms) / static_cast<double>(ms_par_jour);
}

int jour_semaine(horodatage t) {
    // 30 December 1899, day 0, was a Saturday.
    const std::int64_t jours = static_cast<std::int64_t>(partie_date(t));
    const std::int64_t r = ((jours % 7) + 7) % 7;
    return static_cast<int>((r + 6) % 7 + 1);
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
