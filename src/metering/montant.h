#pragma once

#include <cstdint>
#include <string>

// A charge in centimes.
using montant = std::int32_t;

// Francs, a comma, then the centimes without zero padding: 120 gives "1,20", 105 gives "1,5", 0 gives "0,0".
// The call log is written and read back in this form, so it must not change. Totals may pass 32 bits.
std::string texte_montant(std::int64_t centimes);
