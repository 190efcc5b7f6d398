#pragma once

#include <QGroupBox>
#include <QList>

class QButtonGroup;
class QRadioButton;

// A captioned column of radio buttons spread evenly over the group's height: rows of
// (height − text height − 5) ÷ count pixels, so they shrink as items are added.
class groupe_radio final : public QGroupBox {
    Q_OBJECT
public:
    explicit groupe_radio(const QString& titre, QWidget* parent = nullptr);

    int nombre() const { return static_cast<int>(boutons_.size()); }
    QString element(int index) const;
    void ajoute(const QString& texte);
    // Removes an item. When the selected index is then past the last item, the last item is selected;
    // otherwise the selected index keeps its number.
    void supprime(int index);

    int index() const;
    void fixe_index(int index);

protected:
    void resizeEvent(QResizeEvent* evenement) override;
    void changeEvent(QEvent* evenement) override;

private:
    void dispose();

    QButtonGroup* groupe_;
    QList<QRadioButton*> boutons_;
};
