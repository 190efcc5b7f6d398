#pragma once

#include <QSpinBox>
#include <QStyle>

// An integer field with up and down arrows, as a Windows spin edit behaves.
//
// Unlike a plain QSpinBox it lets the user type any number, also one outside the range: the value is the
// text read as an integer and brought into [minimum, maximum], and a number outside the range is only
// replaced by the nearer bound when the field loses the focus. A text that is not an integer reads as the
// minimum, so callers always get a value within the range, even when OK is pressed before the field
// corrects its text. The arrows and the Up and Down keys step from the typed number, then bring the
// result into the range. A click on an arrow steps once, at the release; a held arrow also steps after
// 400 ms, then every 100 ms. The wheel steps only a field that has the focus.
class champ_numerique : public QSpinBox {
    Q_OBJECT

public:
    explicit champ_numerique(QWidget* parent = nullptr);

    void fixe_bornes(int minimum, int maximum) { setRange(minimum, maximum); }
    // The amount the arrows add or subtract.
    void fixe_pas(int pas) { setSingleStep(pas); }

    int valeur() const { return value(); }
    // Shows the value brought into the range.
    void fixe_valeur(int valeur) { setValue(valeur); }

    QString texte() const { return text(); }
    // Whether the text reads as a whole number (in the range or not).
    bool texte_entier() const;
    // Shows the text as it is, like typing it would.
    void fixe_texte(const QString& texte);

    void monte() { stepUp(); }
    void descend() { stepDown(); }

    // Hides QWidget's so that screen readers that look into the field's line edit get the name too.
    void setAccessibleName(const QString& nom);

    QValidator::State validate(QString& texte, int& position) const override;
    void stepBy(int pas) override;

signals:
    // A change of the text, typed or by a change of the value (possibly twice for one change).
    void texte_modifie();
    // A typed character was refused (the field has already beeped).
    void caractere_refuse();

protected:
    // Both ways always: at a bound a step still replaces a text out of range by the bound.
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
    int valueFromText(const QString& texte) const override;
    QString textFromValue(int valeur) const override;
    void focusOutEvent(QFocusEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;
    void mousePressEvent(QMouseEvent* evenement) override;
    void mouseReleaseEvent(QMouseEvent* evenement) override;
    void wheelEvent(QWheelEvent* evenement) override;

private:
    QStyle::SubControl fleche_sous(const QPoint& point) const;

    // The arrow pressed and not yet repeated: the release steps once if it comes over this arrow.
    int pas_retenu_ = 0;
    bool presse_en_cours_ = false;
};

// Shows a unit duration as whole tenths of a second (half to even), brought into the field's range.
void affiche_dixiemes(champ_numerique* champ, double secondes);
