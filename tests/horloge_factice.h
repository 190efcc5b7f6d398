#pragma once

#include "metering/horloge_locale.h"

// Clocks the test sets and advances.
class horloge_factice final : public horloge_locale {
public:
    explicit horloge_factice(horodatage t = encode_date(2026, 3, 4) + encode_heure(10, 0, 0, 0)) : t_(t) {}

    // From the start and the milliseconds added, as the system's clock reads the time afresh: adding one
    // second thousands of times would drift by the rounding of each step.
    horodatage maintenant() const override {
        return t_ + static_cast<double>(regle_) / static_cast<double>(ms_par_jour);
    }
    std::int64_t ms_continues() const override { return ms_; }
    // Time passes (a sleep of the machine too): both clocks move.
    void avance_ms(long long ms) { ms_ += ms, regle_ms(ms); }
    void avance_s(double s) { avance_ms(static_cast<long long>(s * 1000.0 + 0.5)); }
    // The wall clock alone is set: a change to or from summer time, a step of the network time.
    void regle_ms(long long ms) { regle_ += ms; }

private:
    horodatage t_;
    long long regle_ = 0;
    std::int64_t ms_ = 1'000'000;
};
