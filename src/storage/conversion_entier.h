#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The integer conversion both files are read with: optional leading blanks, an optional sign, then decimal
// digits, or "$" and hexadecimal digits; nothing may follow. Empty text, any other character and a value
// outside 32 bits give no value. Hexadecimal takes all 32 bits, so "$FFFFFFFF" is -1.
std::optional<std::int32_t> convertit_entier(std::string_view texte);
