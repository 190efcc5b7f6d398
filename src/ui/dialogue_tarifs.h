#pragma once

#include <QDialog>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class champ_numerique;

// The base tariffs: the unit durations of the three built-in zones in both tariff periods, in tenths of a
// second, and the base charge in centimes. OK puts them into effect and writes them to the settings at once.
class TTarifs_dlg final : public QDialog {
    Q_OBJECT
public:
    explicit TTarifs_dlg(QWidget* parent = nullptr);
    ~TTarifs_dlg() override;

    // Loads the fields from the values in force; runs at every showing, so a cancelled edit is forgotten.
    void FormShow();
    // Puts the fields' values into effect, writes them, and closes with OK even if the write failed.
    void OKBtnClick();

    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QGroupBox* normal;
    champ_numerique* TLN;
    champ_numerique* TIN;
    champ_numerique* TSN;
    QGroupBox* reduit;
    champ_numerique* TLR;
    champ_numerique* TIR;
    champ_numerique* TSR;
    QLabel* Label1;
    QLabel* Suburbain;
    QLabel* Interurbain;
    QLabel* Label2;
    QFrame* Bevel1;
    QFrame* Bevel2;
    QLabel* Label3;
    champ_numerique* tb;

protected:
    void showEvent(QShowEvent* evenement) override;
};
