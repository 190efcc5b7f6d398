#pragma once

#include "metering/horodatage.h"

// The local wall clock. The meter and the windows receive it, so tests can set and advance the time.
class horloge_locale {
public:
    virtual ~horloge_locale() = default;
    // Local date and time of day from one reading, to the millisecond.
    virtual horodatage maintenant() const = 0;
};

// The C library's local time.
class horloge_systeme final : public horloge_locale {
public:
    horodatage maintenant() const override;
};
