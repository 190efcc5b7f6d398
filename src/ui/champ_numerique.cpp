#include "ui/champ_numerique.h"

#include "metering/duree_unite.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QStyleOptionSpinBox>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <limits>
#include <optional>
#include <utility>

namespace {

// The width of the arrows, their separating line included: narrow, as a Windows spin button's, so that
// a field of 41 pixels still shows four digits.
constexpr int largeur_fleches = 9;

// QAbstractSpinBox takes the delays of a held arrow from the style; these are a Windows spin button's.
// The style also gives the text the room that Fusion's wide arrows and thick margins take.
class style_champ : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QRect subControlRect(ComplexControl controle, const QStyleOptionComplex* option, SubControl partie,
                         const QWidget* widget) const override {
        const QRect r = QProxyStyle::subControlRect(controle, option, partie, widget);
        const int fleches = option->rect.width() - 1 - largeur_fleches;
        if (controle != CC_SpinBox) {
            return r;
        }
        switch (partie) {
        case SC_SpinBoxUp:
        case SC_SpinBoxDown:
            return {fleches, r.top(), largeur_fleches, r.height()};
        case SC_SpinBoxEditField:
            return {1, r.top(), fleches - 1, r.height()}; // the frame is one pixel wide
        default:
            return r;
        }
    }
    int styleHint(StyleHint indice, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* retour) const override {
        switch (indice) {
        case SH_SpinBox_ClickAutoRepeatThreshold:
            return 400;
        case SH_SpinBox_ClickAutoRepeatRate:
            return 100;
        default:
            return QProxyStyle::styleHint(indice, option, widget, retour);
        }
    }
};

// One for every field, over the application's style.
QStyle* style_champs() {
    static QPointer<QStyle> style;
    if (style == nullptr) {
        style = new style_champ(QApplication::style()->name());
        style->setParent(qApp);
    }
    return style;
}

// An optional sign then ASCII digits. A number too long even for 64 bits keeps its sign: it lies beyond any
// bound, so it must still read as the nearer bound, not as a non-number.
std::optional<qint64> lit_entier(const QString& texte) {
    const qsizetype debut = texte.startsWith(u'+') || texte.startsWith(u'-') ? 1 : 0;
    if (debut == texte.size() ||
        !std::all_of(texte.begin() + debut, texte.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        return std::nullopt;
    }
    bool ok = false;
    const qint64 nombre = texte.toLongLong(&ok);
    if (ok) {
        return nombre;
    }
    return texte.startsWith(u'-') ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

} // namespace

champ_numerique::champ_numerique(QWidget* parent) : QSpinBox(parent) {
    setStyle(style_champs());
    setFocusPolicy(Qt::StrongFocus); // not Qt::WheelFocus: the wheel neither takes the focus nor steps
    // The line edit refuses what validate() finds invalid; QSpinBox does it silently.
    connect(lineEdit(), &QLineEdit::inputRejected, this, [this] {
        QApplication::beep();
        emit caractere_refuse();
    });
    // Typing changes the line edit's text; a step or a value set changes it with the line edit's signals
    // blocked, and QSpinBox tells it instead.
    connect(lineEdit(), &QLineEdit::textChanged, this, &champ_numerique::texte_modifie);
    connect(this, &QSpinBox::textChanged, this, &champ_numerique::texte_modifie);
}

void champ_numerique::fixe_texte(const QString& texte) {
    lineEdit()->setText(texte);
}

void champ_numerique::setAccessibleName(const QString& nom) {
    QSpinBox::setAccessibleName(nom);
    lineEdit()->setAccessibleName(nom);
}

// Only what can make up a number is typed, also a decimal separator. Any such text is acceptable: it reads
// as a value within the range (valueFromText), so the field's value always follows its text.
QValidator::State champ_numerique::validate(QString& texte, int&) const {
    const QString decimale = locale().decimalPoint();
    const bool permis = std::all_of(texte.cbegin(), texte.cend(), [&decimale](QChar c) {
        return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.' || c == u',' ||
               decimale.contains(c);
    });
    return permis ? QValidator::Acceptable : QValidator::Invalid;
}

bool champ_numerique::texte_entier() const {
    return lit_entier(text()).has_value();
}

int champ_numerique::valueFromText(const QString& texte) const {
    const auto nombre = lit_entier(texte);
    return nombre ? static_cast<int>(std::clamp<qint64>(*nombre, minimum(), maximum())) : minimum();
}

// Plain ASCII digits whatever the locale, so that the text can be typed back.
QString champ_numerique::textFromValue(int valeur) const {
    return QString::number(valeur);
}

// On leaving, QSpinBox shows the value its text reads as. A number outside the range is so corrected, but
// a text that is not a number is left for the user to fix (it reads as the minimum meanwhile).
void champ_numerique::focusOutEvent(QFocusEvent* evenement) {
    const QString texte = text();
    QSpinBox::focusOutEvent(evenement);
    if (!lit_entier(texte)) {
        const QSignalBlocker bloque(lineEdit());
        lineEdit()->setText(texte);
    }
    // A text wider than the field shows its start, not the end where the cursor was.
    lineEdit()->setCursorPosition(0);
}

// Enter reads the text as leaving the field does, before the dialog's default button takes the key: a text
// that is not a number stays for the dialog to see and the user to fix.
void champ_numerique::keyPressEvent(QKeyEvent* evenement) {
    const QString texte = text();
    QSpinBox::keyPressEvent(evenement);
    if ((evenement->key() == Qt::Key_Return || evenement->key() == Qt::Key_Enter) && !lit_entier(texte)) {
        const QSignalBlocker bloque(lineEdit());
        lineEdit()->setText(texte);
    }
}

// QSpinBox steps as an arrow is pressed; here the press only arms the arrow: a held arrow repeats
// (QSpinBox's timers, delays from the style), and the release over the same arrow steps once more.
void champ_numerique::mousePressEvent(QMouseEvent* evenement) {
    presse_en_cours_ = true;
    QSpinBox::mousePressEvent(evenement);
    presse_en_cours_ = false;
}

// A typed number outside the range is stepped from, then brought into the range: "0" + Up gives the
// minimum, not the minimum plus a step as QSpinBox (which steps from the value read) would.
void champ_numerique::stepBy(int pas) {
    if (presse_en_cours_) {
        pas_retenu_ = pas;
        return;
    }
    const auto nombre = lit_entier(text());
    if (!nombre || (*nombre >= minimum() && *nombre <= maximum())) {
        QSpinBox::stepBy(pas);
        return;
    }
    const qint64 suivant = std::clamp<qint64>(*nombre, INT_MIN, INT_MAX) + qint64{pas} * singleStep();
    setValue(static_cast<int>(std::clamp<qint64>(suivant, minimum(), maximum())));
    selectAll();
}

// Scrolling over a dialog must not change a tariff by accident: the wheel acts only on the focus field.
void champ_numerique::wheelEvent(QWheelEvent* evenement) {
    if (hasFocus()) {
        QSpinBox::wheelEvent(evenement);
    } else {
        evenement->ignore();
    }
}

void champ_numerique::mouseReleaseEvent(QMouseEvent* evenement) {
    const int pas = std::exchange(pas_retenu_, 0);
    QSpinBox::mouseReleaseEvent(evenement);
    const QStyle::SubControl fleche = fleche_sous(evenement->position().toPoint());
    if ((pas > 0 && fleche == QStyle::SC_SpinBoxUp) || (pas < 0 && fleche == QStyle::SC_SpinBoxDown)) {
        stepBy(pas);
    }
}

void affiche_dixiemes(champ_numerique* champ, double secondes) {
    // The field brings the value into its own range; only the conversion to int must not overflow first.
    const long dixiemes = dixiemes_depuis_secondes(secondes);
    champ->fixe_valeur(static_cast<int>(std::clamp<long>(dixiemes, INT_MIN, INT_MAX)));
}

QStyle::SubControl champ_numerique::fleche_sous(const QPoint& point) const {
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->hitTestComplexControl(QStyle::CC_SpinBox, &option, point, this);
}
