#pragma once

#include <cstdint>
#include <string>

// A charge in centimes.
using montant = std::int32_t;

// Francs, a comma, then the centimes in two digits: 120 gives "1,20", 105 gives "1,05", 0 gives "0,00".
// The log's reader takes francs and centimes as two numbers, so this form reads back the same, and so do
// the one-digit centimes of older records ("1,5" is 105). Totals may pass 32 bits.
std::string texte_montant(std::int64_t centimes);
