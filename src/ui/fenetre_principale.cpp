#include "fenetre_principale.h"

#include "boites_message.h"
#include "conversion_texte.h"
#include "dialogue_alertes.h"
#include "groupe_radio.h"
#include "icone.h"
#include "placement.h"
#include "references.h"
#include "saisie_1252.h"
#include "storage/reglages.h"
#include "titre_application.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int largeur_client = 222;
constexpr int hauteur_client = 160;
constexpr int hauteur_zone_initiale = 105;

QAction* separateur(QMenu* menu, const char* nom) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(nom));
    return action;
}

QAction* element(QMenu* menu, const char* nom, const QString& texte) {
    QAction* action = menu->addAction(texte);
    action->setObjectName(QString::fromLatin1(nom));
    return action;
}

} // namespace

TForm1::TForm1(const horloge_locale& horloge, const dossier_donnees& donnees, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      horloge_(horloge), donnees_(donnees), sauvegarde_(donnees) {
    Form1 = this;
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(icone_kalvo());
    setFixedSize(largeur_client, hauteur_client);
    move(426, 130);
    cree_controles();
    cree_menu();
    fixe_legende(QStringLiteral("Tarif: 0,00 FS"));
    connect(&titre_application::instance(), &titre_application::change, this, &TForm1::met_a_jour_titre);
    qApp->installEventFilter(this);
    FormCreate();
    // The place is meant for a 96-dpi screen; a scaled or small one must still show the whole window.
    garde_sur_ecran(this);
}

TForm1::~TForm1() {
    FormDestroy();
    for (const QPointer<QMessageBox>& boite : std::as_const(boites_)) {
        delete boite.data();
    }
    qApp->removeEventFilter(this);
    if (Form1 == this) {
        Form1 = nullptr;
    }
}

void TForm1::cree_controles() {
    start_stop = new QPushButton(QStringLiteral("D\u00e9but"), this);
    start_stop->setObjectName(QStringLiteral("start_stop"));
    start_stop->setGeometry(112, 48, 97, 25);
    // Enter presses it when it has the focus, as in the dialogs, where Qt makes every button do so.
    start_stop->setAutoDefault(true);
    connect(start_stop, &QPushButton::clicked, this, &TForm1::start_stopClick);

    zone = new groupe_radio(QStringLiteral("Zone d'appel"), this);
    zone->setObjectName(QStringLiteral("zone"));
    zone->setGeometry(8, 48, 89, hauteur_zone_initiale);
    for (int i = 0; i < zones_.nombre(); ++i) {
        zone->ajoute(depuis_1252(zones_.nom(i)));
    }
    zone->fixe_index(0);

    logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setGeometry(176, 88, 33, 33);

    taux = new QLabel(this);
    taux->setObjectName(QStringLiteral("taux"));
    taux->move(112, 96);

    Label1 = new QLabel(QStringLiteral("Motif de l'appel"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    place_etiquette(Label1, 8, 16);

    memento = new QComboBox(this);
    memento->setObjectName(QStringLiteral("memento"));
    memento->setEditable(true);
    memento->setInsertPolicy(QComboBox::NoInsert); // the history is kept by mementoKeyPress alone
    memento->setCompleter(nullptr);
    memento->setMaxVisibleItems(8);
    memento->setGeometry(88, 12, 121, 20);
    // A reason picked from the list stands wholly selected, so Enter does not add it again.
    connect(memento, &QComboBox::activated, memento->lineEdit(), &QLineEdit::selectAll);
    new saisie_1252(memento->lineEdit(), memento); // the log keeps the reason in Windows-1252
    Label1->setBuddy(memento);
    // The edit field is what takes the focus, so a screen reader asks it for the name.
    memento->setAccessibleName(Label1->text());
    memento->lineEdit()->setAccessibleName(Label1->text());

    Label2 = new QLabel(QStringLiteral("Dur\u00e9e :"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    place_etiquette(Label2, 112, 128);

    heure = new QLabel(this);
    heure->setObjectName(QStringLiteral("heure"));
    heure->move(152, 128);

    horloge = new QTimer(this);
    horloge->setObjectName(QStringLiteral("horloge"));
    horloge->setTimerType(Qt::PreciseTimer);
    horloge->setInterval(periode_);
    connect(horloge, &QTimer::timeout, this, &TForm1::horlogeTimer);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    // Runs only while something is owed to the log, so an idle Kalvo never wakes up.
    reessai = new QTimer(this);
    reessai->setObjectName(QStringLiteral("reessai"));
    reessai->setInterval(60'000);
    connect(reessai, &QTimer::timeout, this, &TForm1::reessaie);

    setTabOrder(start_stop, zone);
    setTabOrder(zone, memento);
}

void TForm1::cree_menu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));

    Misejourtoutesles1 = new QMenu(QStringLiteral("Mise \u00e0 jour toutes les..."), PopupMenu1);
    Misejourtoutesles1->setObjectName(QStringLiteral("Misejourtoutesles1"));
    Misejourtoutesles1->menuAction()->setObjectName(QStringLiteral("Misejourtoutesles1"));
    PopupMenu1->addMenu(Misejourtoutesles1);
    // One item per period the meter knows, named and handled by its number of seconds.
    void (TForm1::*const gestionnaires[])() = {&TForm1::N1Click, &TForm1::N3Click, &TForm1::N5Click,
                                               &TForm1::N10Click};
    static_assert(std::size(gestionnaires) == periodes_mise_a_jour.size());
    QAction** const elements[] = {&N1, &N3, &N5, &N10};
    for (std::size_t i = 0; i < periodes_mise_a_jour.size(); ++i) {
        const int secondes = periodes_mise_a_jour[i] / 1000;
        QAction* a = element(Misejourtoutesles1, ("N" + std::to_string(secondes)).c_str(),
                             secondes == 1 ? QStringLiteral("1 seconde")
                                           : QStringLiteral("%1 secondes").arg(secondes));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, gestionnaires[i]);
        *elements[i] = a;
    }

    separateur(PopupMenu1, "barre");
    Proprits1 =
        element(PopupMenu1, "Proprits1", QStringLiteral("Effacement complet fichier de donn\u00e9es"));
    PopupMenu1->setDefaultAction(Proprits1);
    connect(Proprits1, &QAction::triggered, this, &TForm1::Proprits1Click);
    separateur(PopupMenu1, "N2");

    Ajoutdunezonedappel1 =
        element(PopupMenu1, "Ajoutdunezonedappel1", QStringLiteral("Ajout d'une zone d'appel"));
    connect(Ajoutdunezonedappel1, &QAction::triggered, this, &TForm1::Ajoutdunezonedappel1Click);

    Modificationdedonnespourzonedappel1 = new QMenu(
        QStringLiteral("Modification ou suppression de donn\u00e9es pour zone d'appel..."), PopupMenu1);
    Modificationdedonnespourzonedappel1->setObjectName(QStringLiteral("Modificationdedonnespourzonedappel1"));
    Modificationdedonnespourzonedappel1->menuAction()->setObjectName(
        QStringLiteral("Modificationdedonnespourzonedappel1"));
    PopupMenu1->addMenu(Modificationdedonnespourzonedappel1);
    separateur(PopupMenu1, "N4");

    Dfinitiondestarifsdebase1 = element(PopupMenu1, "Dfinitiondestarifsdebase1",
                                        QStringLiteral("D\u00e9finition des tarifs de base..."));
    connect(Dfinitiondestarifsdebase1, &QAction::triggered, this, &TForm1::Dfinitiondestarifsdebase1Click);
    Alertes1 = element(PopupMenu1, "Alertes1", QStringLiteral("Alertes..."));
    connect(Alertes1, &QAction::triggered, this, &TForm1::Alertes1Click);
    separateur(PopupMenu1, "N7");

    Visualisationdescotsparmotifdappel1 =
        element(PopupMenu1, "Visualisationdescotsparmotifdappel1",
                QStringLiteral("Visualisation des co\u00fbts par motif d'appel"));
    connect(Visualisationdescotsparmotifdappel1, &QAction::triggered, this,
            &TForm1::Visualisationdescotsparmotifdappel1Click);
    Journaldesappels1 = element(PopupMenu1, "Journaldesappels1", QStringLiteral("Journal des appels..."));
    connect(Journaldesappels1, &QAction::triggered, this, &TForm1::Journaldesappels1Click);
    separateur(PopupMenu1, "N6");

    Aproposde1 = element(PopupMenu1, "Aproposde1", QStringLiteral("A propos de..."));
    connect(Aproposde1, &QAction::triggered, this, &TForm1::Aproposde1Click);
}

QAction* TForm1::position(int pos) const {
    return PopupMenu1->actions().at(pos);
}

void TForm1::FormCreate() {
    Timer1->stop();
    heure->clear();
    const reglages_lus r = lit_reglages(donnees_);
    zones_.applique(r.tarifs);

    periode_ = r.periode_ms;
    horloge->setInterval(periode_);
    coche_periode(position_periode(periode_) + 1);

    for (const texte& motif : r.historique) {
        memento->addItem(depuis_1252(motif));
    }
    if (memento->count() > 0) {
        memento->setEditText(memento->itemText(0));
        memento->lineEdit()->selectAll();
    }

    for (const zone_lue& z : r.zones) {
        ajoute_zone(z.nom, z.normal_dixiemes, z.reduit_dixiemes);
    }
    alertes_ = veille_alertes(r.alertes);
    alertes_.reprend_budget_annonce(r.budget_annonce);
    taux_actuel();
    if (r.illisible) {
        // Said once the window is up, so the box has something to stand before.
        QTimer::singleShot(0, this, [] { message(depuis_utf8(message_reglages_illisibles)); });
    }
}

void TForm1::showEvent(QShowEvent* evenement) {
    QWidget::showEvent(evenement);
    if (!montree_) {
        montree_ = true;
        FormShow();
    }
}

void TForm1::FormShow() {
    if (zones_.nombre_ajouts() == 0) {
        position(pos_modification_zone)->setEnabled(false);
    }
    if (zones_.pleine()) {
        position(pos_ajout_zone)->setEnabled(false);
    }
}

void TForm1::fixe_legende(const QString& legende) {
    legende_ = legende;
    met_a_jour_titre();
}

void TForm1::met_a_jour_titre() {
    // A Linux taskbar shows the window's title: while minimised it carries the application title.
    setWindowTitle(isMinimized() ? titre_application::texte() : legende_);
}

void TForm1::changeEvent(QEvent* evenement) {
    QWidget::changeEvent(evenement);
    if (evenement->type() == QEvent::WindowStateChange) {
        met_a_jour_titre();
    }
}

void TForm1::ouvre_menu(const QPoint& position_globale) {
    const int demi_largeur = PopupMenu1->sizeHint().width() / 2;
    PopupMenu1->popup(QPoint(position_globale.x() - demi_largeur, position_globale.y()));
}

void TForm1::ouvre_menu_au_clavier(QWidget* cible) {
    // On X11 the Menu key also arrives as a context-menu event: the menu is already open then.
    if (PopupMenu1->isVisible()) {
        return;
    }
    ouvre_menu(cible->mapToGlobal(cible->rect().center()));
}

bool TForm1::eventFilter(QObject* objet, QEvent* evenement) {
    // Keys typed into the reason field reach the combo box, which holds the focus and hands them to its line
    // edit directly, past any filter on the line edit: they are caught here, on whichever of the two.
    if ((objet == memento || objet == memento->lineEdit()) && evenement->type() == QEvent::KeyPress) {
        const auto* touche = static_cast<QKeyEvent*>(evenement);
        if (touche->key() == Qt::Key_Return || touche->key() == Qt::Key_Enter) {
            QChar caractere(13);
            mementoKeyPress(caractere);
            // Enter does nothing else here; the combo box's own handling would replace the text by a
            // list entry that differs only in letter case.
            return true;
        }
    }
    if (!objet->isWidgetType() || static_cast<QWidget*>(objet)->window() != this) {
        return false;
    }
    // The pop-up menu opens when the right button is released anywhere over the window, its controls
    // included, instead of their own context menus.
    if (evenement->type() == QEvent::ContextMenu) {
        const auto* demande = static_cast<QContextMenuEvent*>(evenement);
        if (demande->reason() == QContextMenuEvent::Keyboard) {
            ouvre_menu_au_clavier(static_cast<QWidget*>(objet));
        }
        return true;
    }
    // The Menu key and Shift+F10, whatever the platform turns into a context-menu event.
    if (evenement->type() == QEvent::KeyPress) {
        const auto* touche = static_cast<QKeyEvent*>(evenement);
        if (touche->key() == Qt::Key_Menu ||
            (touche->key() == Qt::Key_F10 && touche->modifiers() == Qt::ShiftModifier)) {
            ouvre_menu_au_clavier(static_cast<QWidget*>(objet));
            return true;
        }
    }
    if (evenement->type() == QEvent::MouseButtonRelease) {
        const auto* souris = static_cast<QMouseEvent*>(evenement);
        if (souris->button() == Qt::RightButton) {
            ouvre_menu(souris->globalPosition().toPoint());
            return true;
        }
    }
    return false;
}
