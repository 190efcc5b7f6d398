#pragma once

#include "metering/horodatage.h"
#include "metering/montant.h"
#include "metering/table_zones.h"

#include <cstdint>
#include <string>

// The tariff period in force at a moment: Saturday and Sunday are reduced; on weekdays up to and including
// 08:00:00.000, from 17:00:00.000 up to and including 19:00:00.000, and from 21:00:00.001 on.
periode periode_en_vigueur(horodatage moment);

// The state of one call and the arithmetic that turns its time talked into charge units. The time talked is
// read on the clock that only moves forward (horloge_locale::ms_continues), so a change of the wall clock
// during a call neither adds nor removes units; the wall clock gives the period and the logged times.
class compteur {
public:
    bool en_cours() const { return en_cours_; }
    montant montant_appel() const { return montant_; }
    horodatage date_debut() const { return date_debut_; }
    horodatage heure_debut() const { return heure_debut_; }
    horodatage date_fin() const { return date_fin_; }
    horodatage heure_fin() const { return heure_fin_; }

    // Opens a call charged with the base charge; maintenant and ms_continues come from the same moment.
    void debut(horodatage maintenant, std::int64_t ms_continues, montant taxe_base);

    // Charges 10 centimes per whole unit talked since the last charged moment and carries the part of a
    // unit already run, in whole milliseconds, into the next one.
    void tick(std::int64_t ms_continues, double unite_secondes);

    // Notes the end date and time (from the same reading) and closes the call.
    void fin(horodatage maintenant);

    // "Tarif: " + amount text + " FS".
    std::string legende() const;
    // The time talked as a time text, so modulo 24 hours.
    std::string duree(std::int64_t ms_continues) const;

private:
    bool en_cours_ = false;
    montant montant_ = 0;
    horodatage date_debut_ = 0;
    horodatage heure_debut_ = 0;
    std::int64_t debut_ms_ = 0;
    std::int64_t dernier_ms_ = 0;
    horodatage date_fin_ = 0;
    horodatage heure_fin_ = 0;
};
