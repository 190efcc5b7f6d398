#include "metering/texte_1252.h"

#include <array>
#include <cstdint>

namespace {

// Unicode code points of the bytes 0x80 to 0x9F; 0 marks the five bytes the code page leaves undefined,
// which are carried through as the control characters of the same number.
constexpr std::array<char32_t, 32> zone_80_9f = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char32_t point_de_code(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F && zone_80_9f[b - 0x80] != 0) {
        return zone_80_9f[b - 0x80];
    }
    return b;
}

int octet_depuis_point_de_code(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<int>(cp);
    }
    for (std::size_t i = 0; i < zone_80_9f.size(); ++i) {
        if (zone_80_9f[i] == cp || (zone_80_9f[i] == 0 && cp == 0x80 + i)) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

void ajoute_utf8(std::string& sortie, char32_t cp) {
    if (cp < 0x80) {
        sortie += static_cast<char>(cp);
    } else if (cp < 0x800) {
        sortie += static_cast<char>(0xC0 | (cp >> 6));
        sortie += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        sortie += static_cast<char>(0xE0 | (cp >> 12));
        sortie += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        sortie += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

char minuscule_1252(char c) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) {
        return static_cast<char>(b + 0x20);
    }
    switch (b) {
    case 0x8A: return static_cast<char>(0x9A); // Š
    case 0x8C: return static_cast<char>(0x9C); // Œ
    case 0x8E: return static_cast<char>(0x9E); // Ž
    case 0x9F: return static_cast<char>(0xFF); // Ÿ
    default: return c;
    }
}

texte replie_casse(std::string_view s) {
    texte r(s);
    for (char& c : r) {
        c = minuscule_1252(c);
    }
    return r;
}

bool egal_sans_casse(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (minuscule_1252(a[i]) != minuscule_1252(b[i])) {
            return false;
        }
    }
    return true;
}

bool tient_en_1252(char32_t point_de_code) {
    return octet_depuis_point_de_code(point_de_code) >= 0;
}

std::string utf8_depuis_1252(std::string_view s) {
    std::string sortie;
    sortie.reserve(s.size());
    for (char c : s) {
        ajoute_utf8(sortie, point_de_code(static_cast<unsigned char>(c)));
    }
    return sortie;
}

texte cp1252_depuis_utf8(std::string_view s) {
    texte sortie;
    sortie.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        char32_t cp = 0;
        std::size_t longueur = 1;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            longueur = 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            longueur = 3;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            longueur = 4;
        } else {
            sortie += '?';
            ++i;
            continue;
        }
        bool valide = i + longueur <= s.size();
        for (std::size_t k = 1; valide && k < longueur; ++k) {
            const auto suite = static_cast<unsigned char>(s[i + k]);
            valide = (suite & 0xC0) == 0x80;
            cp = (cp << 6) | (suite & 0x3F);
        }
        if (!valide) {
            sortie += '?';
            ++i;
            continue;
        }
        const int octet = octet_depuis_point_de_code(cp);
        sortie += octet < 0 ? '?' : static_cast<char>(octet);
        i += longueur;
    }
    return sortie;
}
