#pragma once

#include "metering/alertes.h"
#include "metering/compteur.h"
#include "metering/horloge_locale.h"
#include "metering/table_zones.h"
#include "storage/appel_en_cours.h"
#include "storage/dossier_donnees.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class dialogue_alertes;
class fenetre_journal;
class groupe_radio;
class icone_notification;

// The main window: the call meter's controls, the zone selector, the reason history and the pop-up menu
// from which every other function is reached.
class TForm1 final : public QWidget {
    Q_OBJECT
public:
    // Positions of the pop-up menu's top-level items; other windows address them by position.
    enum position_menu {
        pos_mise_a_jour = 0,
        pos_effacement = 2,
        pos_ajout_zone = 4,
        pos_modification_zone = 5,
        pos_tarifs = 7,
        pos_alertes = 8,
        pos_visualisation = 10,
        pos_journal = 11,
        pos_a_propos = 13,
    };
    static constexpr int hauteur_par_zone = 16;
    static constexpr int taille_historique = 15;

    TForm1(const horloge_locale& horloge, const dossier_donnees& donnees, QWidget* parent = nullptr);
    ~TForm1() override;

    // Call meter.
    double taux_actuel();
    void horlogeTimer();
    void start_stopClick();
    void Timer1Timer();

    // Update period.
    void N1Click();
    void N3Click();
    void N5Click();
    void N10Click();
    void coche_periode(int position);
    int periode_mise_a_jour() const { return periode_; }

    // Pop-up menu commands.
    void Proprits1Click();
    void Ajoutdunezonedappel1Click();
    void Dfinitiondestarifsdebase1Click();
    void Alertes1Click();
    void Visualisationdescotsparmotifdappel1Click();
    void Journaldesappels1Click();
    void Aproposde1Click();

    // Reason history: Enter puts the field's text at the top unless the whole text is selected.
    void mementoKeyPress(QChar& touche);

    // Zone table and the two controls kept in step with it.
    void ajoute_zone(const texte& nom, double normal_dixiemes, double reduit_dixiemes);
    void supprime_zone(const texte& nom);
    table_zones& zones() { return zones_; }
    const compteur& compteur_appel() const { return appel_; }
    const dossier_donnees& donnees() const { return donnees_; }

    // Alerts: the rules are the core's; the window shows what they say and never waits for an answer.
    const veille_alertes& alertes() const { return alertes_; }
    void fixe_alertes(const reglages_alertes& r);
    // Where the alerts go when the desktop has a tray.
    void fixe_notification(icone_notification* notification);
    // The message of the last duration alert, the one that offers to end the call; none when closed.
    QMessageBox* boite_duree() const { return boite_duree_; }
    // Ends the running call as "Fin" would have ended it at ms of the continuous clock.
    void termine_appel_a(std::int64_t ms);

    // Ends a running call and saves; runs once, at the latest when the window is destroyed.
    void FormDestroy();

    // Writes what is still owed to the log: the calls that wait, a call nothing could take yet, the leftovers
    // of killed writes beside the log. Runs every minute while anything is owed.
    void reessaie();
    // At start-up, what the recovery of an interrupted call left owed to the log.
    void prend_en_charge_le_journal(const resultat_reprise& reprise);

    QAction* position(int pos) const;
    QString legende() const { return legende_; }

    QMenu* PopupMenu1;
    QMenu* Misejourtoutesles1;
    QAction* N1;
    QAction* N3;
    QAction* N5;
    QAction* N10;
    QAction* Proprits1;
    QAction* Ajoutdunezonedappel1;
    QMenu* Modificationdedonnespourzonedappel1;
    QAction* Dfinitiondestarifsdebase1;
    QAction* Alertes1;
    QAction* Visualisationdescotsparmotifdappel1;
    QAction* Journaldesappels1;
    QAction* Aproposde1;
    QTimer* horloge;
    QTimer* Timer1;
    QTimer* reessai;
    QPushButton* start_stop;
    groupe_radio* zone;
    QLabel* taux;
    QWidget* logo;
    QComboBox* memento;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* heure;
    // Made at its first opening.
    fenetre_journal* journal_appels = nullptr;

protected:
    void showEvent(QShowEvent* evenement) override;
    void changeEvent(QEvent* evenement) override;
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void FormCreate();
    void FormShow();
    void cree_controles();
    void cree_menu();
    void ouvre_menu(const QPoint& position_globale);
    void ouvre_menu_au_clavier(QWidget* cible);
    // The update period at that position of periodes_mise_a_jour.
    void change_periode(int position);
    void fixe_legende(const QString& legende);
    void met_a_jour_titre();
    void affiche_periode(periode p);
    // What the meter says after a tick: the period, the charge in the caption, the charge and the time
    // talked in the application title.
    void montre_tick(std::int64_t ms);
    // Hands the call that just ended to the call log, or to the waiting calls when the log cannot take it.
    void enregistre_appel();
    // What "Fin" does once the meter is closed at ms: the window, the state on the disk, the log.
    void fin_appel(std::int64_t ms);
    void annonce(const std::vector<alerte>& dites);
    void montre_boite_duree();
    QMessageBox* boite_non_modale(const QString& texte);
    void ferme_alertes();
    bool journal_present() const;
    // A record neither the log nor the waiting calls could take: kept in memory and in the running call's
    // file, which no call may replace until it is written.
    void garde_non_range(const texte& enregistrement, const resultat_ecriture& pourquoi);
    // Keeps the running call on the disk, so a crash or a kill does not lose it.
    void sauve_etat_appel(std::int64_t ms, bool durable);
    // The zone dialog, found through Ajout_zone at the moment it is needed.
    void ouvre_ajout();
    void ouvre_modification(QAction* element);

    const horloge_locale& horloge_;
    const dossier_donnees donnees_;
    sauvegarde_appel sauvegarde_;
    table_zones zones_;
    compteur appel_;
    veille_alertes alertes_;
    std::unique_ptr<dialogue_alertes> Alertes_dlg; // made at its first use, a top-level window of its own
    QPointer<icone_notification> notification_;
    bool notification_duree_ = false;      // the tray's last message is about a long call
    std::optional<alerte> derniere_duree_; // of the running call
    QPointer<QMessageBox> boite_duree_;
    QList<QPointer<QMessageBox>> boites_; // the alerts' messages, which go with the main window
    int periode_ = 1000;
    QString legende_;
    bool montree_ = false;
    bool detruite_ = false;
    bool etat_non_sauve_signale_ = false;
    texte non_range_;
    bool journal_nettoye_ = true;
    bool attente_signalee_ = false; // the user was told calls wait; he is told once when they are written
};
