#pragma once

#include "metering/horloge_locale.h"
#include "storage/dossier_donnees.h"
#include "storage/journal_corrections.h"
#include "storage/periode_appels.h"
#include "storage/reglages.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QDateEdit;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class QTimer;
class TForm1;
class modele_appels;

// The call-log window: the calls of a period, their totals per reason, and the corrections of a wrong reason,
// a call to delete or a forgotten "Fin", each undone newest first. Not modal, so that a call can be ended
// while it is open; it follows the log as Kalvo or kalvo-journal write it.
class fenetre_journal final : public QDialog {
    Q_OBJECT
public:
    // The items of `periode`, in order.
    enum choix { ce_mois, mois_dernier, cette_annee, tout, entre_dates };

    // The zones and the update period of `principale` work out a corrected end.
    fenetre_journal(const horloge_locale& horloge, const dossier_donnees& donnees, TForm1& principale,
                    QWidget* parent = nullptr);
    ~fenetre_journal() override;

    // Reads the log again and shows the chosen period of it.
    void relit();
    void change_motif();
    void supprime();
    void corrige_fin();
    void annule();
    void exporte();

    QComboBox* periode;
    QDateEdit* du;
    QDateEdit* au;
    QLabel* regle;
    QLabel* avertissement;
    QTableView* appels;
    QTableWidget* motifs;
    QLineEdit* somme;
    QLabel* budget_mois; // the month's calls against the monthly budget, when one is set
    QPushButton* bouton_motif;
    QPushButton* bouton_suppression;
    QPushButton* bouton_fin;
    QPushButton* bouton_annuler;
    QPushButton* bouton_export;
    QPushButton* bouton_fermer;

protected:
    void showEvent(QShowEvent* evenement) override;
    void hideEvent(QHideEvent* evenement) override;

private:
    periode_appels periode_en_vigueur() const;
    // The chosen period of the log as last read.
    void montre_periode();
    int annee_courante() const;
    void montre_motifs();
    void montre_budget();
    // The calls of the reasons chosen in `motifs`, and their sum.
    void filtre();
    void met_a_jour_boutons();
    std::vector<identite_appel> appels_choisis() const;
    // Hands a correction to the core; true when it was made.
    bool applique(const correction& c);
    // Writes the waiting calls then the correction, reads the log again and says a refusal.
    resultat_correction ecrit(const correction& c);
    // The log changed on the disk (Kalvo, kalvo-journal, or a correction): read it again if it did.
    void journal_touche();
    void sauve_taille();

    const horloge_locale& horloge_;
    const dossier_donnees donnees_;
    TForm1& principale_;
    lecture_appels lecture_;
    appels_par_motif par_motif_;
    modele_appels* modele_;
    QFileSystemWatcher* surveillance_;
    QTimer* relecture_;
    std::vector<correction> annulations_; // newest last
    QString signature_;                   // the log's size and time as last read
    taille_fenetre taille_sauvee_;        // as Kalvo.ini holds it
};
