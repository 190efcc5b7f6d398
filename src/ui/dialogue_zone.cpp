#include "dialogue_zone.h"

#include "boites_message.h"
#include "bouton_image.h"
#include "champ_numerique.h"
#include "conversion_texte.h"
#include "fenetre_principale.h"
#include "placement.h"
#include "references.h"
#include "saisie_1252.h"
#include "storage/reglages.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

QString message_refus(refus_nom_zone refus) {
    if (refus == refus_nom_zone::brise_cles) {
        return QStringLiteral("Le nom de zone ne doit pas comporter '=' ni commencer par '[' ou ';'.");
    }
    return QStringLiteral("Le nom de zone ne doit ni d\u00e9j\u00e0 exister ni comporter '{' ou '}'.");
}

QLabel* etiquette(QWidget* parent, const char* nom, const QString& texte, int haut) {
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QString::fromLatin1(nom));
    place_etiquette(l, 24, haut);
    return l;
}

champ_numerique* champ_duree(QWidget* parent, const char* nom, QLabel* etiquette, int haut) {
    auto* c = new champ_numerique(parent);
    c->setObjectName(QString::fromLatin1(nom));
    c->fixe_bornes(dixiemes_min, dixiemes_max);
    c->setGeometry(104, haut, 65, 22);
    c->setAccessibleName(etiquette->text());
    etiquette->setBuddy(c);
    return c;
}

} // namespace

TAjout_zone::TAjout_zone(QWidget* parent) : QDialog(parent) {
    Ajout_zone = this;
    setObjectName(QStringLiteral("Ajout_zone"));
    setWindowTitle(QStringLiteral("Ajout d'une zone de tarification"));
    fixe_cadre_dialogue(this, 283, 199);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(55, 164, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TAjout_zone::OKBtnClick);

    CancelBtn = new QPushButton(QStringLiteral("Annuler"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(135, 164, 75, 25);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    Bevel1 = cree_cadre(this, "Bevel1", 8, 8, 265, 145);

    const QString aide =
        QStringLiteral("Doit \u00eatre diff\u00e9rent des autres zones et ne doit pas contenir le "
                       "caract\u00e8re '{' ou '}'");
    nom_zone = new QLineEdit(this);
    nom_zone->setObjectName(QStringLiteral("nom_zone"));
    nom_zone->setGeometry(104, 16, 153, 20);
    nom_zone->setToolTip(aide);
    new saisie_1252(nom_zone, nom_zone); // the settings file keeps the name in Windows-1252

    Label1 = etiquette(this, "Label1", QStringLiteral("Nom de la zone"), 24);
    Label1->setToolTip(aide);
    Label1->setBuddy(nom_zone);
    nom_zone->setAccessibleName(Label1->text());

    Label3 = etiquette(this, "Label3", QStringLiteral("Tarif Normal"), 56);
    normal = champ_duree(this, "normal", Label3, 48);
    Label4 = etiquette(this, "Label4", QStringLiteral("Tarif R\u00e9duit"), 88);
    reduit = champ_duree(this, "reduit", Label4, 80);

    Label2 = new QLabel(
        QStringLiteral(
            "Entr\u00e9es: Dur\u00e9e de communication en dixi\u00e8mes de seconde pour 10 centimes"),
        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setGeometry(24, 112, 241, 33);

    supprime = new bouton_image(QStringLiteral("Supprimer"), image_suppression(), this);
    supprime->setObjectName(QStringLiteral("supprime"));
    supprime->setGeometry(176, 48, 81, 57);
    connect(supprime, &QPushButton::clicked, this, &TAjout_zone::supprimeClick);

    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, nom_zone);
    setTabOrder(nom_zone, normal);
    setTabOrder(normal, reduit);
    setTabOrder(reduit, supprime);

    prepare_ajout();
}

TAjout_zone::~TAjout_zone() {
    if (Ajout_zone == this) {
        Ajout_zone = nullptr;
    }
}

void TAjout_zone::showEvent(QShowEvent* evenement) {
    QDialog::showEvent(evenement);
    if (!evenement->spontaneous()) {
        nom_zone->setFocus(Qt::OtherFocusReason);
    }
}

void TAjout_zone::prepare_ajout() {
    nom_zone->clear();
    nom_zone->setReadOnly(false);
    normal->fixe_valeur(1);
    reduit->fixe_valeur(1);
    supprime->hide();
}

void TAjout_zone::FormClick(QObject* sender) {
    auto* element = qobject_cast<QAction*>(sender);
    if (element == nullptr || Form1 == nullptr) {
        return;
    }
    // The item's caption doubles "&" so that it shows; its data holds the name itself.
    const texte nom = element->data().toByteArray().toStdString();
    const table_zones& zones = Form1->zones();
    const int idx = zones.recherche(nom);
    if (idx < 0) {
        return;
    }
    nom_zone->setText(depuis_1252(nom));
    affiche_dixiemes(normal, zones.duree_unite(idx, periode::normale));
    affiche_dixiemes(reduit, zones.duree_unite(idx, periode::reduite));
    nom_zone->setReadOnly(true);
    supprime->show();
    exec();
}

void TAjout_zone::OKBtnClick() {
    if (Form1 == nullptr) {
        reject();
        return;
    }
    table_zones& zones = Form1->zones();
    const texte nom = vers_1252(nom_zone->text());
    if (nom_zone->isReadOnly()) {
        // The built-in zones' durations belong to the base tariffs; this dialog only reaches added ones.
        const int idx = zones.recherche(nom);
        if (idx >= table_zones::nb_fixes) {
            zones.modifie_durees(idx, normal->valeur(), reduit->valeur());
        }
        accept();
        return;
    }
    if (const refus_nom_zone refus = examine_nom_zone(nom, zones); refus != refus_nom_zone::aucun) {
        message(message_refus(refus));
        return;
    }
    Form1->ajoute_zone(nom, normal->valeur(), reduit->valeur());
    accept();
}

void TAjout_zone::supprimeClick() {
    if (Form1 != nullptr) {
        Form1->supprime_zone(vers_1252(nom_zone->text()));
    }
    accept();
}
