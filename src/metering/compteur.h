#pragma once

#include "metering/appel.h"
#include "metering/horodatage.h"
#include "metering/montant.h"
#include "metering/table_zones.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The tariff period in force at a moment: Saturday and Sunday are reduced; on weekdays up to and including
// 08:00:00.000, from 17:00:00.000 up to and including 19:00:00.000, and from 21:00:00.001 on.
periode periode_en_vigueur(horodatage moment);

// The periods the meter can tick at, in milliseconds, in the order the menu offers them.
inline constexpr std::array<int, 4> periodes_mise_a_jour = {1000, 3000, 5000, 10000};
// The position of a period in that table, or -1 for any other number.
int position_periode(int periode_ms);

// The running call: its zone, its start, its amount and the part of a unit already run. The window passes
// the clocks in at each tick and shows what the meter says.
//
// Two clocks are read together: the wall clock (local date and time) decides the tariff period and gives
// the times logged; the time talked is measured on the clock that only moves forward
// (horloge_locale::ms_continues), so a change of the wall clock during a call neither adds nor removes units.
class compteur {
public:
    // Opens a call charged with the base charge. The zone's durations are taken now: neither the call's zone
    // nor the tariffs can change while it runs. The tick comes every periode_ms from now.
    void debut(const Tdonnee& zone, montant taxe_base, horodatage maintenant, std::int64_t ms,
               int periode_ms);
    // The tick was re-armed at that moment with another period: the next one comes a full period later.
    void change_periode(int periode_ms, std::int64_t ms);
    // Decides the period from the wall clock, then charges 10 centimes per whole unit talked since the last
    // charged moment and carries the part of a unit already run, in whole milliseconds, into the next one.
    void tick(horodatage maintenant, std::int64_t ms);
    // A last tick, then the call is closed; it ends at that moment.
    void fin(horodatage maintenant, std::int64_t ms);

    bool en_cours() const { return en_cours_; }
    // The start on the continuous clock and on the wall clock.
    std::int64_t debut_ms() const { return debut_ms_; }
    horodatage debut_horodatage() const { return debut_; }
    // The wall clock at ms, had it run with the time talked since the start.
    horodatage moment(std::int64_t ms) const;
    montant montant_appel() const { return montant_; }
    // The period found at the last tick.
    periode periode_courante() const { return periode_; }
    // "Tarif: " + amount text + " FS".
    std::string legende() const;
    // The time talked up to ms as a time text, so modulo 24 hours.
    std::string duree(std::int64_t ms) const;
    // The record the call leaves if it ends at its last tick (at its start before the first one).
    appel enregistrement(texte motif) const;

    // The call as it would stand had "Fin" been pressed at ms (not before the start): its ticks every update
    // period as the timer gives them from the start, the wall clock running with the time talked, then the
    // last tick of "Fin" at ms. Closed.
    compteur termine_a(std::int64_t ms) const;

private:
    struct changement_periode {
        std::int64_t ms;
        int periode_ms;
    };

    Tdonnee zone_;
    montant taxe_base_ = 0;
    bool en_cours_ = false;
    montant montant_ = 0;
    periode periode_ = periode::normale;
    horodatage debut_ = 0;
    std::int64_t debut_ms_ = 0;
    horodatage dernier_moment_ = 0; // of the last tick, for the end logged
    std::int64_t dernier_ms_ = 0;   // the last charged moment
    std::vector<changement_periode> periodes_;
};
