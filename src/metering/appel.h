#pragma once

#include "metering/horodatage.h"
#include "metering/montant.h"
#include "metering/texte_1252.h"

// One finished call, as the call log records it. Dates and times are timestamps: only the date part of the
// dates and the time-of-day part of the times count. Zone and reason are Windows-1252 text.
struct appel {
    horodatage date_debut = 0;
    horodatage heure_debut = 0;
    horodatage date_fin = 0;
    horodatage heure_fin = 0;
    texte zone;
    texte motif;
    montant centimes = 0;
};
