#pragma once

#include "metering/texte_1252.h"

#include <QString>

// The core keeps Windows-1252 bytes; the windows show Unicode.
inline QString depuis_1252(std::string_view s) {
    return QString::fromStdString(utf8_depuis_1252(s));
}

// The core's messages for the user are UTF-8 string constants.
inline QString depuis_utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline texte vers_1252(const QString& s) {
    return cp1252_depuis_utf8(s.toStdString());
}
