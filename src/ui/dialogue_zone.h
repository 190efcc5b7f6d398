#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class bouton_image;
class champ_numerique;

// Adds a call zone, or changes or deletes an added one. The mode is told by the name field alone: editable
// when adding, read-only when a zone is shown for modification.
class TAjout_zone final : public QDialog {
    Q_OBJECT
public:
    explicit TAjout_zone(QWidget* parent = nullptr);
    ~TAjout_zone() override;

    // Add mode: an empty editable name, both durations at 1, no delete button. The caller then runs exec().
    void prepare_ajout();
    // Modify mode for the zone of a modify item (its name is in the item's data); runs the dialog. Any
    // other sender does nothing.
    void FormClick(QObject* sender);
    // Adds the zone or stores the durations; a refused name keeps the dialog open with what was typed.
    void OKBtnClick();
    // Deletes the zone shown, without a question, and closes.
    void supprimeClick();

    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QFrame* Bevel1;
    QLineEdit* nom_zone;
    QLabel* Label1;
    champ_numerique* normal;
    champ_numerique* reduit;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    bouton_image* supprime;

protected:
    void showEvent(QShowEvent* evenement) override;
};
