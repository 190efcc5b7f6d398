// The main window's side of the alerts: it shows what the core's watch says, without ever waiting for an
// answer, and ends the call where the user asks.
#include "conversion_texte.h"
#include "fenetre_principale.h"
#include "icone_notification.h"
#include "storage/reglages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

// A message that leaves the meter and the window alone: the ticks go on while it is shown. A window of its
// own, not one that belongs to the main window, which a window manager would hide with it when the main
// window is minimised, as it mostly is during a long call.
QMessageBox* TForm1::boite_non_modale(const QString& texte) {
    auto* boite = new QMessageBox(QMessageBox::Warning, QStringLiteral("Kalvo"), texte);
    boite->setObjectName(QStringLiteral("alerte"));
    boite->setAttribute(Qt::WA_DeleteOnClose);
    boite->setWindowModality(Qt::NonModal);
    boites_.removeIf([](const QPointer<QMessageBox>& b) { return b.isNull(); });
    boites_.append(boite);
    return boite;
}

void TForm1::fixe_alertes(const reglages_alertes& r) {
    alertes_.fixe_reglages(r, appel_, horloge_.ms_continues());
}

void TForm1::fixe_notification(icone_notification* notification) {
    notification_ = notification;
    if (notification != nullptr) {
        // A click on the tray's message about a long call opens the one that can end the call.
        connect(notification, &icone_notification::message_clique, this, [this] {
            if (notification_duree_) {
                montre_boite_duree();
            }
        });
    }
}

void TForm1::annonce(const std::vector<alerte>& dites) {
    for (const alerte& a : dites) {
        if (a.genre == genre_alerte::budget_80 || a.genre == genre_alerte::budget_100) {
            // Kept so that the next run does not say it again; a failed write costs only that repeat, not
            // a box in the middle of the call.
            (void)sauve_budget_annonce(donnees_, alertes_.budget_annonce());
        }
        const QString texte = depuis_utf8(message_alerte(a, alertes_.reglages()));
        if (a.genre == genre_alerte::duree) {
            derniere_duree_ = a;
        }
        if (notification_ != nullptr && notification_->annonce(QStringLiteral("Kalvo"), texte)) {
            notification_duree_ = a.genre == genre_alerte::duree;
        } else if (a.genre == genre_alerte::duree) {
            montre_boite_duree();
        } else {
            QMessageBox* boite = boite_non_modale(texte);
            boite->addButton(QMessageBox::Ok);
            boite->show();
        }
        QApplication::alert(this);
    }
}

void TForm1::montre_boite_duree() {
    if (!derniere_duree_ || !appel_.en_cours()) {
        return;
    }
    // One such message at a time: the newest says how long the call has lasted.
    if (boite_duree_ != nullptr) {
        boite_duree_->close();
    }
    const alerte a = *derniere_duree_;
    QMessageBox* boite = boite_non_modale(depuis_utf8(message_alerte(a, alertes_.reglages())));
    boite->setObjectName(QStringLiteral("alerte_duree"));
    QPushButton* terminer =
        boite->addButton(u'&' + depuis_utf8(libelle_fin_proposee(appel_, a)), QMessageBox::ActionRole);
    terminer->setObjectName(QStringLiteral("terminer"));
    QPushButton* continuer = boite->addButton(QStringLiteral("&Continuer"), QMessageBox::RejectRole);
    continuer->setObjectName(QStringLiteral("continuer"));
    // Enter goes on with the call: ending it is a choice made on purpose.
    boite->setDefaultButton(continuer);
    connect(terminer, &QPushButton::clicked, this, [this, fin = a.fin_proposee_ms] {
        if (appel_.en_cours()) {
            termine_appel_a(fin);
        }
    });
    connect(continuer, &QPushButton::clicked, this, [this] { alertes_.continue_appel(); });
    boite_duree_ = boite;
    boite->show();
}

void TForm1::ferme_alertes() {
    derniere_duree_.reset();
    // Its offer is about this call; what was said of the cost or the month stays for the user to read.
    if (boite_duree_ != nullptr) {
        boite_duree_->close();
    }
}

void TForm1::termine_appel_a(std::int64_t ms) {
    if (!appel_.en_cours()) {
        return;
    }
    appel_ = appel_.termine_a(ms);
    fin_appel(ms);
}
