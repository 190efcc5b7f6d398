#include "visualisation.h"

#include "boites_message.h"
#include "bouton_image.h"
#include "champ_numerique.h"
#include "conversion_texte.h"
#include "fenetre_principale.h"
#include "infobulle.h"
#include "placement.h"
#include "references.h"
#include "storage/appels_en_attente.h"
#include "storage/journal_appels.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

namespace {

// A reason of the list. Its tooltip is asked for when the pointer rests over it, once the list has its
// rows' final width (a scroll bar may have come since the filling).
class element_motif final : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    QVariant data(int role) const override {
        const QListWidget* liste = listWidget();
        if (role != Qt::ToolTipRole || liste == nullptr) {
            return QListWidgetItem::data(role);
        }
        const int largeur = liste->sizeHintForIndex(liste->indexFromItem(this)).width();
        return infobulle_texte(text(), largeur > liste->viewport()->width());
    }
};

champ_numerique* champ_date(QWidget* parent, const char* nom, const QString& accessible, int gauche,
                            int largeur, int minimum, int maximum) {
    auto* c = new champ_numerique(parent);
    c->setObjectName(QString::fromLatin1(nom));
    c->fixe_bornes(minimum, maximum);
    c->setGeometry(gauche, 216, largeur, 22);
    c->setAccessibleName(accessible);
    return c;
}

} // namespace

Tvisualisation::Tvisualisation(const horloge_locale& horloge, const dossier_donnees& donnees, QWidget* parent)
    : QDialog(parent), horloge_(horloge), donnees_(donnees) {
    visualisation = this;
    setObjectName(QStringLiteral("visualisation"));
    setWindowTitle(QStringLiteral("Visualisation des co\u00fbts par motif d'appel"));
    fixe_cadre_dialogue(this, 384, 265);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(300, 8, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    Bevel1 = cree_cadre(this, "Bevel1", 8, 8, 281, 153);
    Label1 = new QLabel(QStringLiteral("Motifs disponibles:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    place_etiquette(Label1, 24, 24);
    Label2 = new QLabel(QStringLiteral("Montant total:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    place_etiquette(Label2, 152, 24);

    motifs = new QListWidget(this);
    motifs->setObjectName(QStringLiteral("motifs"));
    motifs->setGeometry(24, 40, 121, 105);
    motifs->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A list box: no horizontal scroll bar, which would hide the eighth row; a long reason is cut at the
    // edge.
    motifs->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    motifs->setTextElideMode(Qt::ElideNone);
    motifs->setAccessibleName(Label1->text());
    Label1->setBuddy(motifs);
    connect(motifs, &QListWidget::itemSelectionChanged, this, &Tvisualisation::motifsClick);

    valeur_totale = new QLineEdit(this);
    valeur_totale->setObjectName(QStringLiteral("valeur_totale"));
    valeur_totale->setGeometry(152, 40, 89, 20);
    valeur_totale->setReadOnly(true);
    valeur_totale->setAccessibleName(Label2->text());
    Label2->setBuddy(valeur_totale);

    Bevel2 = cree_cadre(this, "Bevel2", 8, 168, 281, 89);
    Label3 = new QLabel(QStringLiteral("Suppression des entr\u00e9es ant\u00e9rieures au :"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // 148 pixels wide rather than 113: the fonts that stand in for MS Sans Serif need it to fit two lines.
    Label3->setGeometry(16, 184, 148, 33);

    // The three fields share one label: each name adds the part of the date it holds.
    const QString date = Label3->text() + QLatin1Char(' ');
    jour = champ_date(this, "jour", date + QStringLiteral("jour"), 16, 41, 1, 31);
    mois = champ_date(this, "mois", date + QStringLiteral("mois"), 56, 41, 1, 12);
    annee = champ_date(this, "annee", date + QStringLiteral("ann\u00e9e"), 96, 49, 1996, 2100);
    Label3->setBuddy(jour);
    for (champ_numerique* c : {jour, mois, annee}) {
        connect(c, &champ_numerique::texte_modifie, this, &Tvisualisation::jourChange);
    }

    BitBtn1 = new bouton_image(QStringLiteral("Suppression"), image_suppression(), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(168, 184, 75, 57);
    connect(BitBtn1, &QPushButton::clicked, this, &Tvisualisation::BitBtn1Click);

    budget_mois = new QLabel(this);
    budget_mois->setObjectName(QStringLiteral("budget_mois"));
    budget_mois->setWordWrap(true);
    budget_mois->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    budget_mois->setGeometry(298, 168, 80, 89);

    setTabOrder(OKBtn, motifs);
    setTabOrder(motifs, valeur_totale);
    setTabOrder(valeur_totale, jour);
    setTabOrder(jour, mois);
    setTabOrder(mois, annee);
    setTabOrder(annee, BitBtn1);
}

Tvisualisation::~Tvisualisation() {
    if (visualisation == this) {
        visualisation = nullptr;
    }
}

void Tvisualisation::showEvent(QShowEvent* evenement) {
    QDialog::showEvent(evenement);
    if (!evenement->spontaneous()) {
        FormShow();
    }
}

void Tvisualisation::FormShow() {
    const date_heure aujourd_hui = decode(horloge_.maintenant());
    jour->fixe_valeur(aujourd_hui.jour);
    mois->fixe_valeur(aujourd_hui.mois);
    annee->fixe_valeur(aujourd_hui.annee);

    motifs->clear();
    BitBtn1->setEnabled(true);
    valeur_totale->clear();
    totaux_motifs_.clear();

    budget_mois->hide();
    if (Form1 != nullptr && Form1->alertes().reglages().budget) {
        const std::int64_t total = depenses_du_mois(donnees_, aujourd_hui.annee, aujourd_hui.mois,
                                                    aujourd_hui.annee, Form1->compteur_appel());
        budget_mois->setText(depuis_utf8(texte_budget_mois(total, Form1->alertes().reglages())));
        budget_mois->show();
    }

    const resultat_totaux totaux = totalise_motifs(donnees_.journal());
    for (const total_motif& m : totaux.motifs) {
        motifs->addItem(new element_motif(depuis_1252(m.motif)));
        totaux_motifs_.push_back(m.centimes);
    }
    if (totaux.etat == etat_lecture::corrompu) {
        message(depuis_utf8(message_journal_corrompu));
    } else if (totaux.etat == etat_lecture::erreur_lecture) {
        message(depuis_utf8(message_journal_illisible));
    }
}

void Tvisualisation::motifsClick() {
    std::int64_t somme = 0;
    for (int i = 0; i < motifs->count(); ++i) {
        if (motifs->item(i)->isSelected()) {
            somme += totaux_motifs_.at(static_cast<std::size_t>(i));
        }
    }
    valeur_totale->setText(QString::fromStdString(texte_montant(somme)));
}

void Tvisualisation::BitBtn1Click() {
    // Calls waiting for the log go in first, as before every write of it.
    inscrit_appels(donnees_, {}, essai_bref);
    const resultat_purge resultat = purge_avant(donnees_.journal(), jour->valeur(), mois->valeur(),
                                                annee->valeur(), horloge_, essai_bref);
    switch (resultat.etat) {
    case etat_purge::fait:
        BitBtn1->setEnabled(false);
        break;
    case etat_purge::date_invalide:
        message_erreur(depuis_utf8(resultat.message));
        break;
    case etat_purge::absent:
        message(depuis_utf8(message_journal_absent));
        break;
    case etat_purge::erreur_fichier:
        message(depuis_utf8(resultat.message));
        break;
    }
}

void Tvisualisation::jourChange() {
    BitBtn1->setEnabled(true);
}
