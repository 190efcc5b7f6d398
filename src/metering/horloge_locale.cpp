#include "metering/horloge_locale.h"

#include <ctime>

horodatage horloge_systeme::maintenant() const {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm local{};
    localtime_r(&ts.tv_sec, &local);
    date_heure dh;
    dh.annee = local.tm_year + 1900;
    dh.mois = local.tm_mon + 1;
    dh.jour = local.tm_mday;
    dh.heures = local.tm_hour;
    dh.minutes = local.tm_min;
    // A leap second reads as the last second of its minute.
    dh.secondes = local.tm_sec > 59 ? 59 : local.tm_sec;
    dh.millisecondes = static_cast<int>(ts.tv_nsec / 1'000'000);
    return encode(dh);
}

std::int64_t horloge_systeme::ms_continues() const {
    // CLOCK_MONOTONIC (and steady_clock) stop while the machine is suspended; a call goes on meanwhile.
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000;
}
