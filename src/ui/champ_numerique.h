#pragma once

#include <QBasicTimer>
#include <QString>
#include <QWidget>

class QLineEdit;
class QAbstractButton;

// An integer field with up and down arrow buttons beside it.
//
// Unlike QSpinBox it lets the user type any number, also one outside the range: the value is the text read
// as an integer and brought into [minimum, maximum], and a number outside the range is only replaced by the
// nearer bound when the field loses the focus. A text that is not an integer reads as the minimum, so callers
// always get a value within the range, even when OK is pressed before the field corrects its text.
class champ_numerique : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int minimum READ minimum WRITE fixe_minimum)
    Q_PROPERTY(int maximum READ maximum WRITE fixe_maximum)
    Q_PROPERTY(int pas READ pas WRITE fixe_pas)
    Q_PROPERTY(int valeur READ valeur WRITE fixe_valeur)
    Q_PROPERTY(QString texte READ texte WRITE fixe_texte NOTIFY texte_modifie)

public:
    explicit champ_numerique(QWidget* parent = nullptr);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int pas() const { return pas_; }
    void fixe_minimum(int minimum);
    void fixe_maximum(int maximum);
    // A maximum below the minimum is raised to the minimum. The text is left as it is.
    void fixe_bornes(int minimum, int maximum);
    // The amount the arrows add or subtract; at least 1.
    void fixe_pas(int pas);

    // The text read as an integer within the range; a text that is not an integer gives the minimum.
    int valeur() const;
    // Shows the value brought into the range.
    void fixe_valeur(int valeur);

    QString texte() const;
    // Shows the text as it is, like typing it would.
    void fixe_texte(const QString& texte);

    // Adds or subtracts the step to the value as read, within the range.
    void monte();
    void descend();

    // Hides QWidget's so that screen readers, which see the line edit, get the name too.
    void setAccessibleName(const QString& nom);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Every change of the text, typed or set by the program.
    void texte_modifie();
    // A typed character was refused (the field has already beeped).
    void caractere_refuse();

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;
    void keyReleaseEvent(QKeyEvent* evenement) override;
    void resizeEvent(QResizeEvent* evenement) override;
    void timerEvent(QTimerEvent* evenement) override;
    void changeEvent(QEvent* evenement) override;

private:
    void place_enfants();
    void bouton_enfonce(int sens);
    void bouton_relache();
    void bouton_clique(int sens);
    void avance(int sens);
    bool touche_refusee(const QKeyEvent& touche) const;
    void corrige_hors_bornes();

    QLineEdit* edition_;
    QAbstractButton* haut_;
    QAbstractButton* bas_;
    int minimum_ = 0;
    int maximum_ = 99;
    int pas_ = 1;

    // Auto-repeat of a held arrow. Not QAbstractButton's own: that one adds an extra step at the release.
    QBasicTimer repetition_;
    int sens_repete_ = 0;
    bool a_repete_ = false;
};
