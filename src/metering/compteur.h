#pragma once

#include "metering/horodatage.h"
#include "metering/montant.h"
#include "metering/table_zones.h"

#include <string>

// The tariff period in force at a moment: Saturday and Sunday are reduced; on weekdays up to and including
// 08:00:00.000, from 17:00:00.000 up to and including 19:00:00.000, and from 21:00:00.001 on.
periode periode_en_vigueur(horodatage moment);

// The state of one call and the arithmetic that turns its elapsed time into charge units.
class compteur {
public:
    bool en_cours() const { return en_cours_; }
    montant montant_appel() const { return montant_; }
    horodatage date_debut() const { return date_debut_; }
    horodatage heure_debut() const { return heure_debut_; }
    horodatage date_fin() const { return date_fin_; }
    horodatage heure_fin() const { return heure_fin_; }
    horodatage dernier_moment() const { return dernier_moment_; }

    // Opens a call charged with the base charge. The start time is a time of day without a date, so the
    // elapsed time shown stays right across midnight (modulo 24 hours).
    void debut(horodatage maintenant, montant taxe_base);

    // Charges 10 centimes per whole unit run since the last charged moment and carries the part of a
    // unit already run, truncated to whole milliseconds, into the next one.
    void tick(horodatage maintenant, double unite_secondes);

    // Notes the end date and time (from the same reading) and closes the call.
    void fin(horodatage maintenant);

    // "Tarif: " + amount text + " FS".
    std::string legende() const;
    // The time text of now minus the start time.
    std::string duree(horodatage maintenant) const;

private:
    bool en_cours_ = false;
    montant montant_ = 0;
    horodatage date_debut_ = 0;
    horodatage heure_debut_ = 0;
    horodatage dernier_moment_ = 0;
    horodatage date_fin_ = 0;
    horodatage heure_fin_ = 0;
};
