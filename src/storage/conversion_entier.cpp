#include "storage/conversion_entier.h"

#include <charconv>

std::optional<std::int32_t> convertit_entier(std::string_view texte) {
    std::size_t i = texte.find_first_not_of(' ');
    if (i == std::string_view::npos) {
        return std::nullopt;
    }
    const bool negatif = texte[i] == '-';
    i += negatif || texte[i] == '+' ? 1 : 0;
    const bool hexa = i < texte.size() && texte[i] == '$';
    i += hexa ? 1 : 0;
    // Unsigned, so that from_chars refuses a second sign.
    std::uint32_t valeur = 0;
    const char* const fin = texte.data() + texte.size();
    const auto [arret, erreur] = std::from_chars(texte.data() + i, fin, valeur, hexa ? 16 : 10);
    if (erreur != std::errc() || arret != fin || (!hexa && valeur > (negatif ? 0x8000'0000U : 0x7FFF'FFFFU))) {
        return std::nullopt;
    }
    // Modulo 2^32: hexadecimal takes all 32 bits, so "$FFFFFFFF" is -1.
    return static_cast<std::int32_t>(negatif ? 0U - valeur : valeur);
}
