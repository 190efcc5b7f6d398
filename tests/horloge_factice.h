#pragma once

#include "metering/horloge_locale.h"

// A clock the test sets and advances.
class horloge_factice final : public horloge_locale {
public:
    explicit horloge_factice(horodatage t = encode_date(2026, 3, 4) + encode_heure(10, 0, 0, 0)) : t_(t) {}

    horodatage maintenant() const override { return t_; }
    void avance_ms(long long ms) { t_ += static_cast<double>(ms) / static_cast<double>(ms_par_jour); }
    void avance_s(double s) { avance_ms(static_cast<long long>(s * 1000.0 + (s >= 0 ? 0.5 : -0.5))); }

private:
    horodatage t_;
};
