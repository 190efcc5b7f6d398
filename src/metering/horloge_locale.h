#pragma once

#include "metering/horodatage.h"

#include <cstdint>

// The clocks a call needs. The meter and the windows receive them, so tests can set and advance the time.
class horloge_locale {
public:
    virtual ~horloge_locale() = default;
    // Local date and time of day from one reading, to the millisecond: the tariff period and the times
    // logged.
    virtual horodatage maintenant() const = 0;
    // Milliseconds on a clock that only moves forward and keeps counting while the machine sleeps: the time
    // talked. A change to or from summer time or a step of the wall clock leaves it alone.
    virtual std::int64_t ms_continues() const = 0;
};

// The C library's local time and the Linux boot-time clock.
class horloge_systeme final : public horloge_locale {
public:
    horodatage maintenant() const override;
    std::int64_t ms_continues() const override;
};
