#include "metering/duree_unite.h"

#include <cmath>

long dixiemes_depuis_secondes(double secondes) {
    // The default rounding mode is to nearest, ties to even.
    return std::lrint(secondes * 10.0);
}
