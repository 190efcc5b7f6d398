#include "dialogue_alertes.h"

#include "boites_message.h"
#include "champ_numerique.h"
#include "conversion_texte.h"
#include "fenetre_principale.h"
#include "placement.h"
#include "references.h"
#include "storage/reglages.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace {

constexpr int largeur_client = 330;
constexpr int hauteur_client = 138;

// One line: the check box that turns the alert on, its field, and the unit after the field. The field
// counts only when the box is checked, so it is greyed otherwise.
champ_numerique* ligne(QWidget* parent, QCheckBox*& case_a_cocher, const char* nom_case,
                       const char* nom_champ, const QString& texte, const QString& unite, int haut,
                       int minimum, int maximum) {
    case_a_cocher = new QCheckBox(texte, parent);
    case_a_cocher->setObjectName(QString::fromLatin1(nom_case));
    case_a_cocher->setGeometry(8, haut, 212, 20);
    auto* champ = new champ_numerique(parent);
    champ->setObjectName(QString::fromLatin1(nom_champ));
    champ->fixe_bornes(minimum, maximum);
    champ->setGeometry(224, haut - 1, 57, 22);
    champ->setAccessibleName(texte + QLatin1Char(' ') + unite);
    auto* etiquette = new QLabel(unite, parent);
    place_etiquette(etiquette, 288, haut + 3);
    QObject::connect(case_a_cocher, &QCheckBox::toggled, champ, &QWidget::setEnabled);
    return champ;
}

} // namespace

dialogue_alertes::dialogue_alertes(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Alertes_dlg"));
    setWindowTitle(QStringLiteral("Alertes"));
    fixe_cadre_dialogue(this, largeur_client, hauteur_client);

    minutes =
        ligne(this, duree, "duree", "minutes", QStringLiteral("Pr\u00e9venir quand un appel dure plus de"),
              QStringLiteral("minutes"), 12, minutes_min, minutes_max);
    cout_francs = ligne(this, cout, "cout", "cout_francs",
                        QStringLiteral("Pr\u00e9venir quand un appel co\u00fbte plus de"),
                        QStringLiteral("FS"), 42, francs_min, francs_max);
    budget_francs = ligne(this, budget, "budget", "budget_francs", QStringLiteral("Budget mensuel :"),
                          QStringLiteral("FS"), 72, francs_min, francs_max);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(166, 106, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &dialogue_alertes::OKBtnClick);

    CancelBtn = new QPushButton(QStringLiteral("Annuler"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(246, 106, 75, 25);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(duree, minutes);
    setTabOrder(minutes, cout);
    setTabOrder(cout, cout_francs);
    setTabOrder(cout_francs, budget);
    setTabOrder(budget, budget_francs);
    setTabOrder(budget_francs, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
}

void dialogue_alertes::showEvent(QShowEvent* evenement) {
    QDialog::showEvent(evenement);
    if (!evenement->spontaneous()) {
        FormShow();
    }
}

void dialogue_alertes::FormShow() {
    if (Form1 == nullptr) {
        return;
    }
    const reglages_alertes r = Form1->alertes().reglages();
    duree->setChecked(r.duree);
    minutes->fixe_valeur(r.duree_minutes);
    minutes->setEnabled(r.duree);
    cout->setChecked(r.cout);
    cout_francs->fixe_valeur(r.cout_francs);
    cout_francs->setEnabled(r.cout);
    budget->setChecked(r.budget);
    budget_francs->fixe_valeur(r.budget_francs);
    budget_francs->setEnabled(r.budget);
    duree->setFocus();
}

void dialogue_alertes::OKBtnClick() {
    // "2,50" would read as the field's minimum, far from what was meant: the user corrects it first.
    for (champ_numerique* champ : {minutes, cout_francs, budget_francs}) {
        if (champ->isEnabled() && !champ->texte_entier()) {
            message_erreur(depuis_utf8(message_pas_un_entier(champ->texte().toStdString())));
            champ->setFocus();
            champ->selectAll();
            return;
        }
    }
    const reglages_alertes r{duree->isChecked(),    minutes->valeur(),   cout->isChecked(),
                             cout_francs->valeur(), budget->isChecked(), budget_francs->valeur()};
    if (Form1 != nullptr) {
        Form1->fixe_alertes(r);
        if (const erreur_reglages erreur = sauve_alertes(Form1->donnees(), r)) {
            message_erreur(QString::fromStdString(*erreur));
        }
    }
    accept();
}
