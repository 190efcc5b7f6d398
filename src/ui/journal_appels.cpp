#include "journal_appels.h"

#include "boites_message.h"
#include "conversion_texte.h"
#include "fenetre_principale.h"
#include "modele_appels.h"
#include "storage/appels_en_attente.h"
#include "storage/reglages.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <set>

namespace {

QPushButton* bouton(QWidget* parent, const char* nom, const QString& texte) {
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(QString::fromLatin1(nom));
    b->setAutoDefault(false);
    return b;
}

std::int64_t jour_de(const QDate& d) {
    return jours_depuis_origine(d.year(), d.month(), d.day());
}

QDate date_de(std::int64_t jour) {
    const date_heure d = decode(static_cast<horodatage>(jour));
    return {d.annee, d.mois, d.jour};
}

// What tells a changed log: its size and times, the change time covering a rename over it.
QString signature(const QFileInfo& journal) {
    return journal.exists() ? QStringLiteral("%1 %2 %3")
                                  .arg(journal.size())
                                  .arg(journal.lastModified().toMSecsSinceEpoch())
                                  .arg(journal.metadataChangeTime().toMSecsSinceEpoch())
                            : QString();
}

QTableWidgetItem* cellule(const QString& texte, bool nombre) {
    auto* c = new QTableWidgetItem(texte);
    c->setTextAlignment(Qt::AlignVCenter | (nombre ? Qt::AlignRight : Qt::AlignLeft));
    return c;
}

} // namespace

fenetre_journal::fenetre_journal(const horloge_locale& horloge, const dossier_donnees& donnees,
                                 TForm1& principale, QWidget* parent)
    : QDialog(parent), horloge_(horloge), donnees_(donnees), principale_(principale) {
    setObjectName(QStringLiteral("journal_appels"));
    setWindowTitle(QStringLiteral("Journal des appels"));
    setModal(false);
    setSizeGripEnabled(true);

    periode = new QComboBox(this);
    periode->setObjectName(QStringLiteral("periode"));
    periode->addItems({QStringLiteral("Ce mois-ci"), QStringLiteral("Le mois dernier"),
                       QStringLiteral("Cette ann\u00e9e"), QStringLiteral("Tout"),
                       QStringLiteral("Du \u2026 au \u2026")});
    auto* etiquette_periode = new QLabel(QStringLiteral("&P\u00e9riode :"), this);
    etiquette_periode->setBuddy(periode);
    const auto champ_date = [this](const char* nom, const QString& accessible) {
        auto* d = new QDateEdit(this);
        d->setObjectName(QString::fromLatin1(nom));
        d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        d->setCalendarPopup(true);
        d->setAccessibleName(accessible);
        d->setEnabled(false);
        connect(d, &QDateEdit::dateChanged, this, [this] {
            if (periode->currentIndex() == entre_dates) {
                montre_periode();
            }
        });
        return d;
    };
    du = champ_date("du", QStringLiteral("Du"));
    au = champ_date("au", QStringLiteral("Au"));
    // A period never ends before it starts: the end follows a start moved past it.
    connect(du, &QDateEdit::dateChanged, au, &QDateEdit::setMinimumDate);
    regle = new QLabel(this);
    regle->setObjectName(QStringLiteral("regle"));
    avertissement = new QLabel(this);
    avertissement->setObjectName(QStringLiteral("avertissement"));
    avertissement->setWordWrap(true);
    avertissement->hide();

    modele_ = new modele_appels(this);
    appels = new QTableView(this);
    appels->setObjectName(QStringLiteral("appels"));
    appels->setModel(modele_);
    appels->setSelectionBehavior(QAbstractItemView::SelectRows);
    appels->setSelectionMode(QAbstractItemView::ExtendedSelection);
    appels->verticalHeader()->hide();
    // Every row as high as the first: the view then never measures the rows of a long period.
    appels->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Tab leaves the tables, as it leaves every other control.
    appels->setTabKeyNavigation(false);
    // Columns as wide as their widest text, measured once on a sample rather than on every row.
    const QString exemples[] = {QStringLiteral("00.00.0000"),  QStringLiteral("00:00:00"),
                                QStringLiteral("00:00:00"),    QStringLiteral("000:00:00"),
                                QStringLiteral("Interurbain"), QString(),
                                QStringLiteral("00000,00")};
    for (int c = 0; c < modele_appels::nb_colonnes; ++c) {
        appels->setColumnWidth(c, fontMetrics().horizontalAdvance(exemples[c]) + 16);
    }
    appels->horizontalHeader()->setSectionResizeMode(modele_appels::col_motif, QHeaderView::Stretch);
    appels->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    appels->setSortingEnabled(true);
    appels->setAccessibleName(QStringLiteral("Appels"));
    const int hauteur_ligne = fontMetrics().height() + 6;
    appels->verticalHeader()->setDefaultSectionSize(hauteur_ligne);

    motifs = new QTableWidget(0, 4, this);
    motifs->setObjectName(QStringLiteral("motifs"));
    motifs->setHorizontalHeaderLabels({QStringLiteral("Motif"), QStringLiteral("Appels"),
                                       QStringLiteral("Temps"), QStringLiteral("Montant")});
    motifs->setSelectionBehavior(QAbstractItemView::SelectRows);
    motifs->setSelectionMode(QAbstractItemView::ExtendedSelection);
    motifs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    motifs->setTabKeyNavigation(false);
    motifs->verticalHeader()->hide();
    motifs->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    motifs->verticalHeader()->setDefaultSectionSize(hauteur_ligne);
    motifs->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    motifs->setAccessibleName(QStringLiteral("Motifs"));
    connect(motifs, &QTableWidget::itemSelectionChanged, this, &fenetre_journal::filtre);
    somme = new QLineEdit(this);
    somme->setObjectName(QStringLiteral("somme"));
    somme->setReadOnly(true);
    auto* etiquette_somme = new QLabel(QStringLiteral("&Montant des motifs choisis :"), this);
    etiquette_somme->setBuddy(somme);

    bouton_motif = bouton(this, "bouton_motif", QStringLiteral("Changer le m&otif..."));
    bouton_suppression = bouton(this, "bouton_suppression", QStringLiteral("&Supprimer..."));
    bouton_fin = bouton(this, "bouton_fin", QStringLiteral("Corriger la &fin..."));
    bouton_annuler = bouton(this, "bouton_annuler", QStringLiteral("&Annuler"));
    bouton_annuler->setToolTip(QStringLiteral("Annule la derni\u00e8re correction (Ctrl+Z)"));
    bouton_export = bouton(this, "bouton_export", QStringLiteral("&Exporter..."));
    bouton_fermer = bouton(this, "bouton_fermer", QStringLiteral("Fermer"));
    connect(bouton_motif, &QPushButton::clicked, this, &fenetre_journal::change_motif);
    connect(bouton_suppression, &QPushButton::clicked, this, &fenetre_journal::supprime);
    connect(bouton_fin, &QPushButton::clicked, this, &fenetre_journal::corrige_fin);
    connect(bouton_annuler, &QPushButton::clicked, this, &fenetre_journal::annule);
    connect(bouton_export, &QPushButton::clicked, this, &fenetre_journal::exporte);
    connect(bouton_fermer, &QPushButton::clicked, this, &QDialog::close);
    auto* annulation = new QShortcut(QKeySequence::Undo, this);
    connect(annulation, &QShortcut::activated, this, &fenetre_journal::annule);
    connect(appels->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &fenetre_journal::met_a_jour_boutons);

    auto* ligne_periode = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{etiquette_periode, periode, du, au, regle}) {
        ligne_periode->addWidget(w);
    }
    ligne_periode->addStretch();
    auto* cote = new QWidget(this);
    auto* disposition_cote = new QVBoxLayout(cote);
    disposition_cote->setContentsMargins({});
    disposition_cote->addWidget(motifs);
    disposition_cote->addWidget(etiquette_somme);
    disposition_cote->addWidget(somme);
    budget_mois = new QLabel(this);
    budget_mois->setObjectName(QStringLiteral("budget_mois"));
    budget_mois->setWordWrap(true);
    disposition_cote->addWidget(budget_mois);
    auto* partage = new QSplitter(this);
    partage->addWidget(appels);
    partage->addWidget(cote);
    partage->setStretchFactor(0, 3);
    partage->setStretchFactor(1, 2);
    auto* ligne_boutons = new QHBoxLayout;
    for (QPushButton* b : {bouton_motif, bouton_suppression, bouton_fin, bouton_annuler, bouton_export}) {
        ligne_boutons->addWidget(b);
    }
    ligne_boutons->addStretch();
    ligne_boutons->addWidget(bouton_fermer);
    auto* disposition = new QVBoxLayout(this);
    disposition->addLayout(ligne_periode);
    disposition->addWidget(avertissement);
    disposition->addWidget(partage, 1);
    disposition->addLayout(ligne_boutons);
    setTabOrder(periode, du);
    setTabOrder(du, au);
    setTabOrder(au, appels);
    setTabOrder(appels, motifs);
    setTabOrder(motifs, somme);

    taille_sauvee_ = lit_taille_journal(donnees_).value_or(taille_fenetre{900, 480});
    resize(taille_sauvee_.largeur, taille_sauvee_.hauteur);

    const periode_appels mois = periode_choisie(choix_periode::ce_mois, horloge_.maintenant());
    du->setDate(date_de(*mois.du));
    au->setDate(date_de(*mois.au));
    connect(periode, &QComboBox::currentIndexChanged, this, [this](int choisi) {
        du->setEnabled(choisi == entre_dates);
        au->setEnabled(choisi == entre_dates);
        montre_periode();
    });

    // A rewrite replaces the log by a rename, which the folder's watch sees; the file's sees an append.
    surveillance_ = new QFileSystemWatcher(this);
    relecture_ = new QTimer(this);
    relecture_->setSingleShot(true);
    relecture_->setInterval(50);
    connect(relecture_, &QTimer::timeout, this, &fenetre_journal::journal_touche);
    connect(surveillance_, &QFileSystemWatcher::fileChanged, relecture_, qOverload<>(&QTimer::start));
    connect(surveillance_, &QFileSystemWatcher::directoryChanged, relecture_, qOverload<>(&QTimer::start));
}

fenetre_journal::~fenetre_journal() {
    if (isVisible()) {
        sauve_taille();
    }
}

void fenetre_journal::showEvent(QShowEvent* evenement) {
    QDialog::showEvent(evenement);
    if (!evenement->spontaneous()) {
        surveillance_->addPath(QString::fromStdString(donnees_.chemin().string()));
        relit();
    }
}

void fenetre_journal::hideEvent(QHideEvent* evenement) {
    QDialog::hideEvent(evenement);
    if (!evenement->spontaneous()) {
        sauve_taille();
        surveillance_->removePaths(surveillance_->files() + surveillance_->directories());
    }
}

// Kalvo.ini is rewritten whole: only for a size the user changed.
void fenetre_journal::sauve_taille() {
    const taille_fenetre taille{width(), height()};
    if (taille == taille_sauvee_) {
        return;
    }
    taille_sauvee_ = taille;
    if (const erreur_reglages erreur = sauve_taille_journal(donnees_, taille)) {
        message_erreur(QString::fromStdString(*erreur));
    }
}

int fenetre_journal::annee_courante() const {
    return decode(horloge_.maintenant()).annee;
}

periode_appels fenetre_journal::periode_en_vigueur() const {
    switch (periode->currentIndex()) {
    case mois_dernier:
        return periode_choisie(choix_periode::mois_dernier, horloge_.maintenant());
    case cette_annee:
        return periode_choisie(choix_periode::cette_annee, horloge_.maintenant());
    case tout:
        return periode_choisie(choix_periode::tout, horloge_.maintenant());
    case entre_dates:
        return {jour_de(du->date()), jour_de(au->date())};
    default:
        return periode_choisie(choix_periode::ce_mois, horloge_.maintenant());
    }
}

void fenetre_journal::journal_touche() {
    if (isVisible() &&
        signature(QFileInfo(QString::fromStdString(donnees_.journal().string()))) != signature_) {
        relit();
    }
}

void fenetre_journal::relit() {
    // The reading before goes first: the two are never held at once.
    modele_->montre(nullptr, {});
    lecture_ = {};
    lecture_ = lit_appels(donnees_.journal(), {}, annee_courante());

    const QString chemin = QString::fromStdString(donnees_.journal().string());
    const QFileInfo journal(chemin);
    signature_ = signature(journal);
    if (isVisible() && journal.exists() && !surveillance_->files().contains(chemin)) {
        surveillance_->addPath(chemin);
    }
    montre_budget();
    montre_periode();
}

void fenetre_journal::montre_budget() {
    const reglages_alertes& r = principale_.alertes().reglages();
    budget_mois->setVisible(r.budget);
    if (r.budget) {
        // The calls written or waiting to be: the running call changes at every tick, and this window
        // reads again when it ends.
        const date_heure jour = decode(horloge_.maintenant());
        budget_mois->setText(
            depuis_utf8(texte_budget_mois(depenses_du_mois(donnees_, jour.annee, jour.mois, jour.annee), r)));
    }
}

void fenetre_journal::montre_periode() {
    const periode_appels p = periode_en_vigueur();
    regle->setText(QString::fromStdString(description_periode(p)));
    const appels_periode choisis = appels_de_la_periode(lecture_, p);
    par_motif_ = regroupe_par_motif(lecture_.appels, choisis.places);

    QString dit;
    switch (choisis.lecture.etat) {
    case etat_lecture::corrompu:
        dit = depuis_utf8(message_dommage(choisis.lecture.ligne_fautive));
        break;
    case etat_lecture::absent:
        dit = depuis_utf8(message_journal_absent) + u'.';
        break;
    case etat_lecture::erreur_lecture:
        dit = depuis_utf8(message_journal_illisible);
        break;
    case etat_lecture::complet:
        break;
    }
    avertissement->setText(dit);
    avertissement->setVisible(!dit.isEmpty());
    montre_motifs();
}

void fenetre_journal::montre_motifs() {
    // The reasons chosen stay chosen while they are still there.
    std::set<QString> choisis;
    for (const QModelIndex& i : motifs->selectionModel()->selectedRows()) {
        choisis.insert(motifs->item(i.row(), 0)->text());
    }
    const QSignalBlocker blocage(motifs);
    motifs->clearSelection();
    const auto& liste = par_motif_.motifs;
    motifs->setRowCount(static_cast<int>(liste.size()) + 1);
    const auto remplit = [this](int ligne, const QString& nom, const total_motif& t) {
        motifs->setItem(ligne, 0, cellule(nom, false));
        motifs->setItem(ligne, 1, cellule(QString::number(t.appels), true));
        motifs->setItem(ligne, 2, cellule(QString::fromStdString(texte_duree(t.secondes)), true));
        motifs->setItem(ligne, 3, cellule(QString::fromStdString(texte_montant(t.centimes)), true));
    };
    for (std::size_t i = 0; i < liste.size(); ++i) {
        const QString nom = depuis_1252(liste[i].motif);
        remplit(static_cast<int>(i), nom, liste[i]);
        if (choisis.contains(nom)) {
            motifs->selectRow(static_cast<int>(i));
        }
    }
    const int total = static_cast<int>(liste.size());
    remplit(total, QStringLiteral("Total"), par_motif_.total);
    for (int c = 0; c < motifs->columnCount(); ++c) {
        QTableWidgetItem* t = motifs->item(total, c);
        t->setFlags(Qt::ItemIsEnabled); // not a reason: it cannot be chosen
        QFont gras = t->font();
        gras.setBold(true);
        t->setFont(gras);
    }
    // Once the table is filled: measuring at each cell would take as long as the rows squared.
    for (int c = 1; c < motifs->columnCount(); ++c) {
        motifs->resizeColumnToContents(c);
    }
    filtre();
}

void fenetre_journal::filtre() {
    std::vector<std::size_t> choisis;
    for (const QModelIndex& i : motifs->selectionModel()->selectedRows()) {
        if (i.row() < static_cast<int>(par_motif_.motifs.size())) {
            choisis.push_back(static_cast<std::size_t>(i.row()));
        }
    }
    choix_motifs choix = choisit_motifs(par_motif_, choisis);
    somme->setText(QString::fromStdString(texte_montant(choix.somme.centimes)));
    modele_->montre(&lecture_.appels, std::move(choix.appels));
    // The newest call in view, and where the keyboard starts from.
    if (const int lignes = modele_->rowCount(); lignes > 0) {
        appels->selectionModel()->setCurrentIndex(modele_->index(lignes - 1, 0),
                                                  QItemSelectionModel::NoUpdate);
    }
    appels->scrollToBottom();
    met_a_jour_boutons();
}

void fenetre_journal::met_a_jour_boutons() {
    const auto choisis = appels->selectionModel()->selectedRows().size();
    bouton_motif->setEnabled(choisis > 0);
    bouton_suppression->setEnabled(choisis > 0);
    bouton_fin->setEnabled(choisis == 1);
    bouton_annuler->setEnabled(!annulations_.empty());
}
