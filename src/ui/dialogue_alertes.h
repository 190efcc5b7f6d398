#pragma once

#include "metering/alertes.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class champ_numerique;

// The alerts: a call that lasts or costs more than a threshold, and the monthly budget, each turned on by
// its check box. OK puts them into effect and writes them to the settings at once.
class dialogue_alertes final : public QDialog {
    Q_OBJECT
public:
    explicit dialogue_alertes(QWidget* parent = nullptr);

    // Loads the fields from the settings in force; runs at every showing, so a cancelled edit is forgotten.
    void FormShow();
    void OKBtnClick();

    QCheckBox* duree;
    champ_numerique* minutes;
    QCheckBox* cout;
    champ_numerique* cout_francs;
    QCheckBox* budget;
    champ_numerique* budget_francs;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* evenement) override;
};
