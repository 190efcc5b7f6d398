#pragma once

#include <QPushButton>

// A push button with its caption above a small picture, the picture greyed when the button is disabled.
class bouton_image final : public QPushButton {
    Q_OBJECT
public:
    bouton_image(const QString& texte, const QIcon& image, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* evenement) override;

private:
    QIcon image_;
};

// The 16 × 16 picture of the buttons that delete: a waste basket.
QIcon image_suppression();
