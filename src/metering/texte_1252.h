#pragma once

#include <string>
#include <string_view>

// Text inside the core is kept as the Windows-1252 bytes the files hold; one byte is one character.
using texte = std::string;

// Lower-case form of one Windows-1252 character: ASCII letters and the accented letters of the code page.
char minuscule_1252(char c);

// The text with every letter in lower case; two texts are equal without regard to case when their folds are.
texte replie_casse(std::string_view s);

// Equality of zone names and of reasons: every character counts, letter case does not.
bool egal_sans_casse(std::string_view a, std::string_view b);

// Whether Windows-1252 holds the Unicode character, so that a text made of such characters is kept as typed.
bool tient_en_1252(char32_t point_de_code);

// The conversions at the edge of the core. A character that Windows-1252 cannot hold becomes "?".
std::string utf8_depuis_1252(std::string_view s);
texte cp1252_depuis_utf8(std::string_view s);
