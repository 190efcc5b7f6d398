#pragma once

#include <QString>
#include <QTextDocument>

// The tooltip of a name or a reason shown in a row that may cut it off: its whole text when it is cut
// (`coupe`), or when it starts or ends with blanks the eye cannot see; then it stands between quotes, so
// that "Bureau " is told from "Bureau". Empty otherwise: a text that shows whole needs no tooltip.
inline QString infobulle_texte(const QString& texte, bool coupe) {
    const bool blancs = !texte.isEmpty() && (texte.front().isSpace() || texte.back().isSpace());
    if (!coupe && !blancs) {
        return {};
    }
    const QString bulle = blancs ? u'\u00ab' + texte + u'\u00bb' : texte;
    // A reason that looks like markup is still shown as typed.
    return Qt::mightBeRichText(bulle) ? Qt::convertFromPlainText(bulle, Qt::WhiteSpacePre) : bulle;
}
