#include "saisie_1252.h"

#include "metering/texte_1252.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

saisie_1252::saisie_1252(QLineEdit* champ, QWidget* porte) : QValidator(champ) {
    champ->setValidator(this);
    // A combo box hands the keys to its line edit past the line edit's filters.
    porte->installEventFilter(this);
}

// Whatever reaches the text other than by a key (a paste, a drop, an input method) loses what does not fit.
QValidator::State saisie_1252::validate(QString& texte, int& position) const {
    QString garde;
    int curseur = position;
    qsizetype lu = 0;
    for (const char32_t c : texte.toStdU32String()) {
        const QString caractere = QString::fromUcs4(&c, 1);
        if (tient_en_1252(c)) {
            garde += caractere;
        } else if (lu < position) {
            curseur -= static_cast<int>(caractere.size());
        }
        lu += caractere.size();
    }
    if (garde.size() != texte.size()) {
        texte = garde;
        position = curseur;
        refuse();
    }
    return Acceptable;
}

bool saisie_1252::eventFilter(QObject*, QEvent* evenement) {
    if (evenement->type() != QEvent::KeyPress) {
        return false;
    }
    const std::u32string caracteres = static_cast<QKeyEvent*>(evenement)->text().toStdU32String();
    if (std::all_of(caracteres.begin(), caracteres.end(), tient_en_1252)) {
        return false;
    }
    refuse();
    return true;
}

void saisie_1252::refuse() const {
    QApplication::beep();
    emit caractere_refuse();
}
