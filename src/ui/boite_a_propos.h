#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox final : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* evenement) override;

private:
    void dessine_image();

    bool suit_ecran_ = false;
};
