#include "placement.h"

#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <algorithm>

namespace {

// Centres the window it watches each time that window is shown.
class centreur final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override {
        if (evenement->type() == QEvent::Show && objet->isWidgetType()) {
            centre_sur_ecran(static_cast<QWidget*>(objet));
        }
        return false;
    }
};

} // namespace

void fixe_cadre_dialogue(QDialog* dialogue, int largeur, int hauteur) {
    dialogue->setFixedSize(largeur, hauteur);
    dialogue->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                             Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialogue->setModal(true);
    dialogue->installEventFilter(new centreur(dialogue));
}

void place_etiquette(QLabel* etiquette, int gauche, int haut) {
    etiquette->move(gauche, haut);
    etiquette->adjustSize();
}

void centre_sur_ecran(QWidget* fenetre) {
    const QScreen* ecran = fenetre->screen() != nullptr ? fenetre->screen() : QGuiApplication::primaryScreen();
    if (ecran != nullptr) {
        // The window itself is placed, not its frame: the window manager's frame is not known before the
        // first showing, so a frame centred from the second showing on would stand lower than the first.
        fenetre->setGeometry(
            QRect(ecran->availableGeometry().center() - fenetre->rect().center(), fenetre->size()));
    }
}

void garde_sur_ecran(QWidget* fenetre) {
    const QScreen* ecran =
        fenetre->screen() != nullptr ? fenetre->screen() : QGuiApplication::primaryScreen();
    if (ecran == nullptr) {
        return;
    }
    const QRect libre = ecran->availableGeometry();
    const QRect cadre = fenetre->frameGeometry();
    const int x = std::max(libre.left(), std::min(cadre.left(), libre.right() + 1 - cadre.width()));
    const int y = std::max(libre.top(), std::min(cadre.top(), libre.bottom() + 1 - cadre.height()));
    fenetre->move(fenetre->pos() + QPoint(x - cadre.left(), y - cadre.top()));
}

QFrame* cree_cadre(QWidget* parent, const char* nom, int gauche, int haut, int largeur, int hauteur) {
    auto* cadre = new QFrame(parent);
    cadre->setObjectName(QString::fromLatin1(nom));
    cadre->setFrameStyle(QFrame::Box | QFrame::Sunken);
    cadre->setGeometry(gauche, haut, largeur, hauteur);
    cadre->setAttribute(Qt::WA_TransparentForMouseEvents);
    cadre->lower();
    return cadre;
}
