#include "storage/conversion_entier.h"

std::optional<std::int32_t> convertit_entier(std::string_view texte) {
    std::size_t i = 0;
    while (i < texte.size() && texte[i] == ' ') {
        ++i;
    }
    bool negatif = false;
    if (i < texte.size() && (texte[i] == '+' || texte[i] == '-')) {
        negatif = texte[i] == '-';
        ++i;
    }
    const bool hexa = i < texte.size() && texte[i] == '$';
    if (hexa) {
        ++i;
    }
    if (i == texte.size()) {
        return std::nullopt;
    }
    const std::uint64_t limite = hexa ? 0xFFFF'FFFFULL : (negatif ? 0x8000'0000ULL : 0x7FFF'FFFFULL);
    std::uint64_t valeur = 0;
    for (; i < texte.size(); ++i) {
        const char c = texte[i];
        int chiffre = -1;
        if (c >= '0' && c <= '9') {
            chiffre = c - '0';
        } else if (hexa && c >= 'a' && c <= 'f') {
            chiffre = c - 'a' + 10;
        } else if (hexa && c >= 'A' && c <= 'F') {
            chiffre = c - 'A' + 10;
        }
        if (chiffre < 0) {
            return std::nullopt;
        }
        valeur = valeur * (hexa ? 16 : 10) + static_cast<std::uint64_t>(chiffre);
        if (valeur > limite) {
            return std::nullopt;
        }
    }
    auto resultat = static_cast<std::int64_t>(static_cast<std::uint32_t>(valeur));
    if (hexa) {
        resultat = static_cast<std::int32_t>(static_cast<std::uint32_t>(valeur));
    }
    return static_cast<std::int32_t>(negatif ? -resultat : resultat);
}
