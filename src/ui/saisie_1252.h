#pragma once

#include <QValidator>

class QLineEdit;

// Keeps a text field to what Windows-1252, the code page of Kalvo's files, can hold, so that a name or a
// reason is saved as it shows. A typed character outside it is refused with a beep, as a spin field refuses
// a letter; a pasted or dropped text keeps the characters that fit, with one beep for the rest.
class saisie_1252 final : public QValidator {
    Q_OBJECT
public:
    // `porte` receives the keys typed into the field: the field itself, or the combo box it belongs to.
    saisie_1252(QLineEdit* champ, QWidget* porte);

    State validate(QString& texte, int& position) const override;

signals:
    // Characters were refused (the field has already beeped).
    void caractere_refuse() const;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void refuse() const;
};
