#pragma once

#include "metering/horloge_locale.h"
#include "storage/dossier_donnees.h"

#include <QDialog>
#include <cstdint>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class bouton_image;
class champ_numerique;

// The cost of the logged calls per reason, the sum of any selection of reasons, and the pruning of the
// records of calls that ended before a chosen date.
class Tvisualisation final : public QDialog {
    Q_OBJECT
public:
    Tvisualisation(const horloge_locale& horloge, const dossier_donnees& donnees, QWidget* parent = nullptr);
    ~Tvisualisation() override;

    void FormShow();
    void motifsClick();
    void BitBtn1Click();
    void jourChange();

    QPushButton* OKBtn;
    QFrame* Bevel1;
    QListWidget* motifs;
    QLabel* Label1;
    QLineEdit* valeur_totale;
    QLabel* Label2;
    QFrame* Bevel2;
    QLabel* Label3;
    champ_numerique* jour;
    champ_numerique* mois;
    champ_numerique* annee;
    bouton_image* BitBtn1;
    QLabel* budget_mois; // the month's calls against the monthly budget, when one is set

protected:
    void showEvent(QShowEvent* evenement) override;

private:
    const horloge_locale& horloge_;
    const dossier_donnees donnees_;
    // The total of each reason, parallel to the items of motifs.
    std::vector<std::int64_t> totaux_motifs_;
};
