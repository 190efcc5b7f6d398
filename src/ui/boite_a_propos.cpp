#include "boite_a_propos.h"

#include "icone.h"
#include "placement.h"
#include "references.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    AboutBox = this;
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("A propos de..."));
    fixe_cadre_dialogue(this, 218, 190);

    // A raised panel inside a lowered frame.
    auto* exterieur = new QFrame(this);
    exterieur->setObjectName(QStringLiteral("Panel1"));
    exterieur->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    exterieur->setGeometry(8, 8, 201, 137);
    auto* interieur = new QFrame(exterieur);
    interieur->setFrameStyle(QFrame::Panel | QFrame::Raised);
    interieur->setGeometry(1, 1, 199, 135);

    ProgramIcon = new QLabel(exterieur);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(16, 16, 57, 57);
    ProgramIcon->setAccessibleName(QStringLiteral("Ic\u00f4ne de Kalvo"));
    dessine_image();

    ProductName = new QLabel(QStringLiteral("Kalvo"), exterieur);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont gras = font();
    gras.setPixelSize(13);
    gras.setBold(true);
    ProductName->setFont(gras);
    place_etiquette(ProductName, 88, 8);

    Version = new QLabel(QStringLiteral("Version 1.0"), exterieur);
    Version->setObjectName(QStringLiteral("Version"));
    place_etiquette(Version, 88, 64);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(71, 156, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

TAboutBox::~TAboutBox() {
    if (AboutBox == this) {
        AboutBox = nullptr;
    }
}

void TAboutBox::dessine_image() {
    // Drawn for the pixel ratio of the screen the box is on, so the icon stays sharp on a HiDPI screen.
    const qreal echelle = devicePixelRatioF();
    const QPixmap actuelle = ProgramIcon->pixmap();
    if (actuelle.isNull() || actuelle.devicePixelRatio() != echelle) {
        ProgramIcon->setPixmap(dessine_icone(57, echelle));
    }
}

void TAboutBox::showEvent(QShowEvent* evenement) {
    QDialog::showEvent(evenement);
    dessine_image();
    if (!suit_ecran_ && windowHandle() != nullptr) {
        suit_ecran_ = true;
        connect(windowHandle(), &QWindow::screenChanged, this, &TAboutBox::dessine_image);
    }
}
