#pragma once

#include <cstdint>
#include <string>

// Local date and time as a count of days since 30 December 1899; the fraction is the time of day.
// Millisecond resolution: every reading of a timestamp rounds it to the nearest millisecond.
using horodatage = double;

inline constexpr std::int64_t ms_par_jour = 86'400'000;

struct date_heure {
    int annee = 1899;
    int mois = 12;
    int jour = 30;
    int heures = 0;
    int minutes = 0;
    int secondes = 0;
    int millisecondes = 0;
};

// Whole days since 30 December 1899 for a Gregorian date (no range check).
std::int64_t jours_depuis_origine(int annee, int mois, int jour);
bool date_valide(int annee, int mois, int jour);

horodatage encode_date(int annee, int mois, int jour);
horodatage encode_heure(int heures, int minutes, int secondes, int millisecondes);
horodatage encode(const date_heure& dh);

// The timestamp in whole milliseconds, rounded to the nearest.
std::int64_t en_millisecondes(horodatage t);
date_heure decode(horodatage t);

// The date alone (whole days) and the time of day alone (the fraction) of a timestamp.
horodatage partie_date(horodatage t);
horodatage partie_heure(horodatage t);

// 1 = Sunday to 7 = Saturday.
int jour_semaine(horodatage t);

// hh:mm:ss of the time-of-day part, 24-hour clock, always 8 characters.
std::string texte_heure(horodatage t);
// dd.mm.yy, the year modulo 100, always 8 characters.
std::string texte_date(horodatage t);
