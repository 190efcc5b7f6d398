#include "boites_message.h"

#include "placement.h"
#include "titre_application.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cstdio>

namespace {

std::function<void(genre_message, const QString&)>& intercepteur_courant() {
    static std::function<void(genre_message, const QString&)> intercepteur;
    return intercepteur;
}

bool sans_surveillance = false;

// The widest a sentence stands on one line before it wraps, in the windows' pixels.
constexpr int largeur_max_texte = 400;

// QMessageBox fixes its size only when it is shown, so it is centred on the screen then.
// Qt would not wrap below half a wide screen, and sizes the box again at each layout: the lines are cut here.
QString coupe_en_lignes(const QString& texte, const QFontMetrics& mesure) {
    QStringList lignes;
    for (const QString& paragraphe : texte.split(u'\n')) {
        QString ligne;
        for (const QString& mot : paragraphe.split(u' ')) {
            const QString essai = ligne.isEmpty() ? mot : ligne + u' ' + mot;
            if (!ligne.isEmpty() && mesure.horizontalAdvance(essai) > largeur_max_texte) {
                lignes.append(ligne);
                ligne = mot;
            } else {
                ligne = essai;
            }
        }
        lignes.append(ligne);
    }
    return lignes.join(u'\n');
}

class boite_centree final : public QMessageBox {
public:
    boite_centree(Icon icone, const QString& titre, const QString& texte)
        : QMessageBox(icone, titre, texte, Ok) {
        if (auto* etiquette = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            setText(coupe_en_lignes(texte, etiquette->fontMetrics()));
            // Nor narrower than its lines: Qt wraps past half the screen, little on a scaled one.
            const int largeur = etiquette->fontMetrics().horizontalAdvance(texte) + 1;
            etiquette->setMinimumWidth(std::min(largeur, largeur_max_texte));
        }
    }

protected:
    void showEvent(QShowEvent* evenement) override {
        QMessageBox::showEvent(evenement);
        centre_sur_ecran(this);
    }
};

void affiche(genre_message genre, const QString& texte) {
    if (const auto& intercepteur = intercepteur_courant()) {
        intercepteur(genre, texte);
        return;
    }
    if (sans_surveillance) {
        std::fprintf(stderr, "kalvo: %s\n", texte.toLocal8Bit().constData());
        return;
    }
    boite_centree boite(genre == genre_message::erreur ? QMessageBox::Critical : QMessageBox::NoIcon,
                        titre_application::texte(), texte);
    boite.setWindowModality(Qt::ApplicationModal);
    boite.exec();
}

} // namespace

void message(const QString& texte) {
    affiche(genre_message::information, texte);
}

void message_erreur(const QString& texte) {
    affiche(genre_message::erreur, texte.endsWith(u'.') ? texte : texte + u'.');
}

bool confirme(const QString& texte) {
    if (const auto& intercepteur = intercepteur_courant()) {
        intercepteur(genre_message::question, texte);
        return true;
    }
    if (sans_surveillance) {
        return false;
    }
    boite_centree boite(QMessageBox::NoIcon, titre_application::texte(), texte);
    boite.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    boite.button(QMessageBox::Yes)->setText(QStringLiteral("Oui"));
    boite.button(QMessageBox::No)->setText(QStringLiteral("Non"));
    boite.setDefaultButton(QMessageBox::No);
    boite.setEscapeButton(QMessageBox::No);
    boite.setWindowModality(Qt::ApplicationModal);
    return boite.exec() == QMessageBox::Yes;
}

void messages_sans_surveillance() {
    sans_surveillance = true;
}

void intercepte_messages(std::function<void(genre_message, const QString&)> intercepteur) {
    intercepteur_courant() = std::move(intercepteur);
}
