#include "boites_message.h"

#include "titre_application.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <cstdio>

namespace {

std::function<void(genre_message, const QString&)>& intercepteur_courant() {
    static std::function<void(genre_message, const QString&)> intercepteur;
    return intercepteur;
}

bool sans_surveillance = false;

// QMessageBox fixes its size only when it is shown, so it is centred on the screen then.
class boite_centree final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* evenement) override {
        QMessageBox::showEvent(evenement);
        if (const QScreen* ecran = QGuiApplication::primaryScreen()) {
            move(ecran->availableGeometry().center() - rect().center());
        }
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
                        titre_application::texte(), texte, QMessageBox::Ok);
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

void messages_sans_surveillance() {
    sans_surveillance = true;
}

void intercepte_messages(std::function<void(genre_message, const QString&)> intercepteur) {
    intercepteur_courant() = std::move(intercepteur);
}
