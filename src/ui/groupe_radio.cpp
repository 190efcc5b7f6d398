#include "groupe_radio.h"

#include "infobulle.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QRadioButton>

groupe_radio::groupe_radio(const QString& titre, QWidget* parent)
    : QGroupBox(titre, parent), groupe_(new QButtonGroup(this)) {
    groupe_->setExclusive(true);
}

QString groupe_radio::element(int index) const {
    return boutons_.at(index)->text();
}

void groupe_radio::ajoute(const QString& texte) {
    auto* bouton = new QRadioButton(texte, this);
    bouton->setObjectName(QStringLiteral("zone_%1").arg(boutons_.size()));
    groupe_->addButton(bouton);
    boutons_.append(bouton);
    dispose();
    bouton->show();
}

void groupe_radio::supprime(int index) {
    if (index < 0 || index >= nombre()) {
        return;
    }
    int choisi = this->index();
    QRadioButton* bouton = boutons_.takeAt(index);
    groupe_->removeButton(bouton);
    delete bouton;
    if (choisi >= nombre()) {
        choisi = nombre() - 1;
    }
    fixe_index(choisi);
    dispose();
}

int groupe_radio::index() const {
    for (int i = 0; i < nombre(); ++i) {
        if (boutons_[i]->isChecked()) {
            return i;
        }
    }
    return -1;
}

void groupe_radio::fixe_index(int index) {
    if (index >= 0 && index < nombre()) {
        boutons_[index]->setChecked(true);
    }
}

void groupe_radio::resizeEvent(QResizeEvent* evenement) {
    QGroupBox::resizeEvent(evenement);
    dispose();
}

void groupe_radio::changeEvent(QEvent* evenement) {
    QGroupBox::changeEvent(evenement);
    if (evenement->type() == QEvent::FontChange) {
        dispose();
    }
}

void groupe_radio::dispose() {
    if (boutons_.isEmpty()) {
        return;
    }
    const int hauteur_texte = QFontMetrics(font()).height();
    const int n = nombre();
    const int disponible = height() - hauteur_texte - 5;
    const int hauteur_ligne = disponible / n;
    const int marge_haut = hauteur_texte + 1 + (disponible % n) / 2;
    for (int i = 0; i < n; ++i) {
        QRadioButton* b = boutons_[i];
        b->setGeometry(8, marge_haut + i * hauteur_ligne, width() - 10, hauteur_ligne);
        QString nom = b->text();
        nom.replace(QStringLiteral("&&"), QStringLiteral("&")); // the caption doubles "&" to show it
        b->setToolTip(infobulle_texte(nom, b->sizeHint().width() > b->width()));
    }
}
