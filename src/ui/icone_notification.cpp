#include "icone_notification.h"

#include "icone.h"
#include "titre_application.h"

#include <QSystemTrayIcon>
#include <QWidget>

icone_notification::icone_notification(QWidget* fenetre, QObject* parent)
    : QObject(parent), fenetre_(fenetre) {
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        icone_ = new QSystemTrayIcon(icone_kalvo(), this);
        connect(icone_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason raison) {
            // The context-menu button is left to the tray; any click or double click means "show me".
            if (raison != QSystemTrayIcon::Context) {
                montre_fenetre();
            }
        });
        connect(icone_, &QSystemTrayIcon::messageClicked, this, &icone_notification::message_clique);
    }
    connect(&titre_application::instance(), &titre_application::change, this,
            &icone_notification::fixe_infobulle);
    fixe_infobulle(titre_application::texte());
    if (icone_ != nullptr) {
        icone_->show();
    }
}

icone_notification::~icone_notification() = default;

bool icone_notification::affichee() const {
    return icone_ != nullptr && icone_->isVisible();
}

void icone_notification::fixe_infobulle(const QString& texte) {
    infobulle_ = texte;
    if (icone_ != nullptr) {
        icone_->setToolTip(texte);
    }
}

void icone_notification::montre_fenetre() {
    if (fenetre_ == nullptr) {
        return;
    }
    if (fenetre_->isMinimized()) {
        fenetre_->setWindowState(fenetre_->windowState() & ~Qt::WindowMinimized);
    }
    fenetre_->show();
    fenetre_->raise();
    fenetre_->activateWindow();
}

bool icone_notification::annonce(const QString& titre, const QString& texte) {
    if (!affichee() || !QSystemTrayIcon::supportsMessages()) {
        return false;
    }
    icone_->showMessage(titre, texte, QSystemTrayIcon::Warning);
    return true;
}
