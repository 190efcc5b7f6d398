#include "ui/champ_numerique.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QStyleOptionButton>
#include <QTimerEvent>
#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr int largeur_fleches = 15;
constexpr int delai_repetition_ms = 400;
constexpr int intervalle_repetition_ms = 100;

// An optional sign then ASCII digits. A number too long even for 64 bits keeps its sign: it lies beyond any
// bound, so it must still read as the nearer bound, not as a non-number.
std::optional<qint64> lit_entier(const QString& texte) {
    qsizetype debut = 0;
    bool negatif = false;
    if (!texte.isEmpty() && (texte.front() == u'+' || texte.front() == u'-')) {
        negatif = texte.front() == u'-';
        debut = 1;
    }
    if (debut == texte.size()) {
        return std::nullopt;
    }
    for (qsizetype i = debut; i < texte.size(); ++i) {
        if (texte[i] < u'0' || texte[i] > u'9') {
            return std::nullopt;
        }
    }
    bool ok = false;
    const qint64 nombre = texte.toLongLong(&ok);
    if (ok) {
        return nombre;
    }
    return negatif ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

// One arrow of the pair. It never takes the focus, which stays in the line edit as in a Windows spin edit.
class bouton_fleche : public QAbstractButton {
public:
    bouton_fleche(Qt::ArrowType fleche, QWidget* parent) : QAbstractButton(parent), fleche_(fleche) {
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter peintre(this);
        QStyleOptionButton panneau;
        panneau.initFrom(this);
        panneau.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &panneau, &peintre, this);

        QStyleOption fleche;
        fleche.initFrom(this);
        // The arrow moves down and right by a pixel while pressed, so the button looks pushed in.
        const int decalage = isDown() ? 1 : 0;
        fleche.rect = rect().adjusted(3 + decalage, 2 + decalage, -3 + decalage, -2 + decalage);
        const auto primitive =
            fleche_ == Qt::UpArrow ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown;
        style()->drawPrimitive(primitive, &fleche, &peintre, this);
    }

private:
    Qt::ArrowType fleche_;
};

} // namespace

champ_numerique::champ_numerique(QWidget* parent)
    : QWidget(parent), edition_(new QLineEdit(this)), haut_(new bouton_fleche(Qt::UpArrow, this)),
      bas_(new bouton_fleche(Qt::DownArrow, this)) {
    edition_->setObjectName(QStringLiteral("edition"));
    haut_->setObjectName(QStringLiteral("haut"));
    bas_->setObjectName(QStringLiteral("bas"));
    haut_->setAccessibleName(tr("Augmenter"));
    bas_->setAccessibleName(tr("Diminuer"));

    // The arrows sit inside the line edit's frame; the text must stop before them.
    edition_->setTextMargins(0, 0, largeur_fleches, 0);
    haut_->raise();
    bas_->raise();

    // A click on an arrow, which takes no focus, gives it to the nearest parent that does: this field, hence
    // the line edit. So another field left with a number out of range corrects it, as in any dialog.
    setFocusProxy(edition_);
    setFocusPolicy(edition_->focusPolicy());
    edition_->installEventFilter(this);
    haut_->installEventFilter(this);
    bas_->installEventFilter(this);

    connect(edition_, &QLineEdit::textChanged, this, &champ_numerique::texte_modifie);
    connect(haut_, &QAbstractButton::pressed, this, [this] { bouton_enfonce(1); });
    connect(bas_, &QAbstractButton::pressed, this, [this] { bouton_enfonce(-1); });
    connect(haut_, &QAbstractButton::released, this, &champ_numerique::bouton_relache);
    connect(bas_, &QAbstractButton::released, this, &champ_numerique::bouton_relache);
    connect(haut_, &QAbstractButton::clicked, this, [this] { bouton_clique(1); });
    connect(bas_, &QAbstractButton::clicked, this, [this] { bouton_clique(-1); });

    fixe_valeur(minimum_);
    place_enfants();
}

void champ_numerique::fixe_minimum(int minimum) {
    fixe_bornes(minimum, std::max(minimum, maximum_));
}

void champ_numerique::fixe_maximum(int maximum) {
    fixe_bornes(std::min(minimum_, maximum), maximum);
}

void champ_numerique::fixe_bornes(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
}

void champ_numerique::fixe_pas(int pas) {
    pas_ = std::max(1, pas);
}

int champ_numerique::valeur() const {
    const auto nombre = lit_entier(edition_->text());
    if (!nombre) {
        return minimum_;
    }
    return static_cast<int>(std::clamp<qint64>(*nombre, minimum_, maximum_));
}

void champ_numerique::fixe_valeur(int valeur) {
    edition_->setText(QString::number(std::clamp(valeur, minimum_, maximum_)));
}

QString champ_numerique::texte() const {
    return edition_->text();
}

void champ_numerique::fixe_texte(const QString& texte) {
    edition_->setText(texte);
}

void champ_numerique::monte() {
    avance(1);
}

void champ_numerique::descend() {
    avance(-1);
}

void champ_numerique::setAccessibleName(const QString& nom) {
    QWidget::setAccessibleName(nom);
    edition_->setAccessibleName(nom);
}

QSize champ_numerique::sizeHint() const {
    const int chiffres = fontMetrics().horizontalAdvance(QStringLiteral("00000"));
    return {chiffres + largeur_fleches + 12, edition_->sizeHint().height()};
}

QSize champ_numerique::minimumSizeHint() const {
    return {largeur_fleches + 16, edition_->minimumSizeHint().height()};
}

bool champ_numerique::eventFilter(QObject* objet, QEvent* evenement) {
    if (objet == edition_) {
        if (evenement->type() == QEvent::KeyPress) {
            auto* touche = static_cast<QKeyEvent*>(evenement);
            const bool modifie =
                touche->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (!modifie && (touche->key() == Qt::Key_Up || touche->key() == Qt::Key_Down)) {
                avance(touche->key() == Qt::Key_Up ? 1 : -1);
                return true;
            }
            if (touche_refusee(*touche)) {
                QApplication::beep();
                emit caractere_refuse();
                return true;
            }
        } else if (evenement->type() == QEvent::FocusOut) {
            // A context menu of the line edit takes the focus only for a moment.
            if (static_cast<QFocusEvent*>(evenement)->reason() != Qt::PopupFocusReason) {
                corrige_hors_bornes();
            }
        }
    } else if ((objet == haut_ || objet == bas_) && evenement->type() == QEvent::MouseButtonPress) {
        // A new press; moving off the arrow and back while held does not start one.
        a_repete_ = false;
    }
    return QWidget::eventFilter(objet, evenement);
}

// Keys sent to the field itself (a test, a caller) go where typed keys go. Calling the line edit's event()
// directly, not sendEvent(), lets an ignored key (Enter for the default button) travel up from here.
void champ_numerique::keyPressEvent(QKeyEvent* evenement) {
    if (!eventFilter(edition_, evenement)) {
        static_cast<QObject*>(edition_)->event(evenement);
    }
}

void champ_numerique::keyReleaseEvent(QKeyEvent* evenement) {
    static_cast<QObject*>(edition_)->event(evenement);
}

void champ_numerique::resizeEvent(QResizeEvent*) {
    place_enfants();
}

void champ_numerique::timerEvent(QTimerEvent* evenement) {
    if (evenement->timerId() != repetition_.timerId()) {
        QWidget::timerEvent(evenement);
        return;
    }
    const QAbstractButton* bouton = sens_repete_ > 0 ? haut_ : bas_;
    if (!bouton->isDown()) {
        repetition_.stop();
        return;
    }
    a_repete_ = true;
    avance(sens_repete_);
    repetition_.start(intervalle_repetition_ms, this);
}

void champ_numerique::changeEvent(QEvent* evenement) {
    if (evenement->type() == QEvent::EnabledChange && !isEnabled()) {
        repetition_.stop();
    }
    QWidget::changeEvent(evenement);
}

void champ_numerique::place_enfants() {
    edition_->setGeometry(rect());
    const int cadre = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edition_);
    const QRect interieur = rect().adjusted(cadre, cadre, -cadre, -cadre);
    const int gauche = interieur.right() + 1 - largeur_fleches;
    const int moitie = interieur.height() / 2;
    haut_->setGeometry(gauche, interieur.top(), largeur_fleches, moitie);
    bas_->setGeometry(gauche, interieur.top() + moitie, largeur_fleches, interieur.height() - moitie);
}

void champ_numerique::bouton_enfonce(int sens) {
    sens_repete_ = sens;
    repetition_.start(delai_repetition_ms, this);
}

void champ_numerique::bouton_relache() {
    repetition_.stop();
}

void champ_numerique::bouton_clique(int sens) {
    // Once a held arrow has repeated, the release only ends the repetition.
    if (!a_repete_) {
        avance(sens);
    }
}

void champ_numerique::avance(int sens) {
    const qint64 suivante = qint64{valeur()} + qint64{sens} * pas_;
    fixe_valeur(static_cast<int>(std::clamp<qint64>(suivante, minimum_, maximum_)));
}

// Only what can make up a number is typed; anything else printable is refused, control keys and shortcuts
// pass.
bool champ_numerique::touche_refusee(const QKeyEvent& touche) const {
    if (touche.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    const QString decimale = locale().decimalPoint();
    for (const QChar c : touche.text()) {
        if (!c.isPrint()) {
            continue;
        }
        const bool permis = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.' || c == u',' ||
                            decimale.contains(c);
        if (!permis) {
            return true;
        }
    }
    return false;
}

void champ_numerique::corrige_hors_bornes() {
    const auto nombre = lit_entier(edition_->text());
    if (nombre && (*nombre < minimum_ || *nombre > maximum_)) {
        fixe_valeur(valeur());
    }
}
