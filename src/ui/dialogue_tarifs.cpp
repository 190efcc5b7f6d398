#include "dialogue_tarifs.h"

#include "boites_message.h"
#include "champ_numerique.h"
#include "fenetre_principale.h"
#include "metering/duree_unite.h"
#include "placement.h"
#include "references.h"
#include "storage/reglages.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace {

// The row names are drawn larger than the rest, in black whatever the colour scheme.
QLabel* etiquette_de_ligne(QWidget* parent, const char* nom, const QString& texte, int haut) {
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QString::fromLatin1(nom));
    QFont police = l->font();
    police.setPixelSize(13);
    l->setFont(police);
    QPalette couleurs = l->palette();
    couleurs.setColor(QPalette::WindowText, Qt::black);
    l->setPalette(couleurs);
    place_etiquette(l, 24, haut);
    return l;
}

champ_numerique* champ(QWidget* parent, const char* nom, const QString& accessible, int gauche, int haut,
                       int largeur, int minimum, int maximum, int pas) {
    auto* c = new champ_numerique(parent);
    c->setObjectName(QString::fromLatin1(nom));
    c->fixe_bornes(minimum, maximum);
    c->fixe_pas(pas);
    c->setGeometry(gauche, haut, largeur, 22);
    c->setAccessibleName(accessible);
    return c;
}

// A field of the grid is named by the captions of its row and of its column.
champ_numerique* champ_duree(QGroupBox* colonne, const char* nom, const QString& ligne, int haut) {
    return champ(colonne, nom, ligne + QStringLiteral(", ") + colonne->title(), 8, haut, 57, dixiemes_min,
                 dixiemes_max, 1);
}

QGroupBox* colonne(QWidget* parent, const char* nom, const QString& titre, int gauche) {
    auto* g = new QGroupBox(titre, parent);
    g->setObjectName(QString::fromLatin1(nom));
    g->setGeometry(gauche, 24, 81, 121);
    return g;
}

} // namespace

TTarifs_dlg::TTarifs_dlg(QWidget* parent) : QDialog(parent) {
    Tarifs_dlg = this;
    setObjectName(QStringLiteral("Tarifs_dlg"));
    setWindowTitle(QStringLiteral("Tarifs t\u00e9l\u00e9phoniques"));
    fixe_cadre_dialogue(this, 313, 240);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(151, 204, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TTarifs_dlg::OKBtnClick);

    CancelBtn = new QPushButton(QStringLiteral("Annuler"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(231, 204, 75, 25);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    const QString local = QStringLiteral("Local");
    const QString suburbain = QStringLiteral("Suburbain");
    const QString interurbain = QStringLiteral("Interurbain");

    normal = colonne(this, "normal", QStringLiteral("Tarif normal"), 96);
    TLN = champ_duree(normal, "TLN", local, 24);
    TIN = champ_duree(normal, "TIN", interurbain, 88);
    TSN = champ_duree(normal, "TSN", suburbain, 56);
    reduit = colonne(this, "reduit", QStringLiteral("Tarif r\u00e9duit"), 184);
    TLR = champ_duree(reduit, "TLR", local, 24);
    TIR = champ_duree(reduit, "TIR", interurbain, 88);
    TSR = champ_duree(reduit, "TSR", suburbain, 56);

    Label1 = etiquette_de_ligne(this, "Label1", local, 56);
    Suburbain = etiquette_de_ligne(this, "Suburbain", suburbain, 88);
    Interurbain = etiquette_de_ligne(this, "Interurbain", interurbain, 120);

    Label2 = new QLabel(
        QStringLiteral(
            "Entr\u00e9es: Dur\u00e9e de communication en dixi\u00e8me de seconde pour 10 centimes"),
        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setGeometry(24, 152, 257, 33);

    Bevel1 = cree_cadre(this, "Bevel1", 8, 8, 297, 177);
    Bevel2 = cree_cadre(this, "Bevel2", 8, 192, 129, 42);

    Label3 = new QLabel(QStringLiteral("Taxe de base [cts]"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setGeometry(16, 200, 65, 33);

    tb = champ(this, "tb", Label3->text(), 88, 200, 41, centimes_min, centimes_max, 5);
    Label3->setBuddy(tb);

    // Each column runs Local, Interurbain, Suburbain: the order its fields were made in, not the rows'.
    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, TLN);
    setTabOrder(TLN, TIN);
    setTabOrder(TIN, TSN);
    setTabOrder(TSN, TLR);
    setTabOrder(TLR, TIR);
    setTabOrder(TIR, TSR);
    setTabOrder(TSR, tb);
}

TTarifs_dlg::~TTarifs_dlg() {
    if (Tarifs_dlg == this) {
        Tarifs_dlg = nullptr;
    }
}

void TTarifs_dlg::showEvent(QShowEvent* evenement) {
    QDialog::showEvent(evenement);
    if (!evenement->spontaneous()) {
        FormShow();
    }
}

void TTarifs_dlg::FormShow() {
    if (Form1 == nullptr) {
        return;
    }
    const tarifs_base t = Form1->zones().tarifs();
    champ_numerique* const normaux[] = {TLN, TSN, TIN};
    champ_numerique* const reduits[] = {TLR, TSR, TIR};
    for (std::size_t i = 0; i < t.normal.size(); ++i) {
        normaux[i]->fixe_valeur(t.normal[i]);
        reduits[i]->fixe_valeur(t.reduit[i]);
    }
    tb->fixe_valeur(t.taxe_base);
}

void TTarifs_dlg::OKBtnClick() {
    // The fields read within their ranges even if Enter came before the focus left a field with a wild
    // number.
    tarifs_base t;
    t.normal = {TLN->valeur(), TSN->valeur(), TIN->valeur()};
    t.reduit = {TLR->valeur(), TSR->valeur(), TIR->valeur()};
    t.taxe_base = tb->valeur();

    if (Form1 != nullptr) {
        Form1->zones().applique(t);
        if (const erreur_reglages erreur = sauve_tarifs(Form1->donnees(), t)) {
            message_erreur(QString::fromStdString(*erreur));
        }
    }
    // The values are in effect whether or not they reached the file.
    accept();
}
