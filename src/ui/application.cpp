#include "application.h"

#include "arret_propre.h"
#include "boite_a_propos.h"
#include "boites_message.h"
#include "conversion_texte.h"
#include "dialogue_tarifs.h"
#include "dialogue_zone.h"
#include "fenetre_principale.h"
#include "icone.h"
#include "icone_notification.h"
#include "references.h"
#include "storage/appel_en_cours.h"
#include "storage/verrou_instance.h"
#include "titre_application.h"
#include "visualisation.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>
#include <memory>

void prepare_application(QApplication& application) {
    QApplication::setApplicationName(QStringLiteral("kalvo"));
    // Names the installed desktop entry, so that a Wayland desktop finds the window's icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("ch.kalvo.Kalvo"));
    // Fusion draws the pop-up menu's default item in bold, as Windows menus do.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont police = QApplication::font();
    // MS Sans Serif 8 points at 96 dpi is 11 pixels high; where it is missing a metric-alike sans serif
    // of the same pixel height takes its place.
    police.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                        QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                        QStringLiteral("DejaVu Sans")});
    police.setStyleHint(QFont::SansSerif);
    police.setPixelSize(11);
    QApplication::setFont(police);
    QApplication::setWindowIcon(icone_kalvo());
    application.setQuitOnLastWindowClosed(true);
    // Qt's own texts (the edit fields' context menu, the spin fields' steps) in French like the rest; without
    // the translation installed they stay in English, which is no reason to stop.
    auto* traduction = new QTranslator(&application);
    if (traduction->load(QLocale(QLocale::French, QLocale::Switzerland), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(traduction);
    }
    titre_application::fixe(QStringLiteral("Kalvo"));
}

namespace {

// What the user is told about a call that was running when Kalvo last stopped.
QString message_reprise(const resultat_reprise& reprise, const dossier_donnees& donnees) {
    const QString detail = QString::fromStdString(reprise.detail);
    switch (reprise.etat) {
    case etat_reprise::enregistre:
        return depuis_utf8(message_appel_repris);
    case etat_reprise::en_attente:
        return depuis_utf8(message_appel_repris_en_attente)
            .arg(detail, QString::fromStdString(donnees.appels_en_attente().string()));
    case etat_reprise::non_ajoute:
        return depuis_utf8(message_appel_non_repris).arg(detail);
    case etat_reprise::illisible:
        return depuis_utf8(message_appel_illisible).arg(QString::fromStdString(reprise.mis_de_cote.string()));
    case etat_reprise::aucun:
        break;
    }
    return {};
}

} // namespace

int lance_kalvo(QApplication& application, const horloge_locale& horloge, const dossier_donnees& donnees) {
    titre_application::fixe(QStringLiteral("Kalvo"));
    const QString dossier = QString::fromStdString(donnees.chemin().string());
    if (const auto refus = donnees.refus()) {
        message(depuis_utf8(message_dossier_refuse).arg(dossier, depuis_utf8(*refus)));
        return 1;
    }
    verrou_instance verrou;
    switch (verrou.prend(donnees)) {
    case verrou_instance::etat::deja_pris:
        message(depuis_utf8(message_deja_lance));
        return 1;
    case verrou_instance::etat::fichier_inutilisable:
        message(depuis_utf8(verrou.message()));
        return 1;
    case verrou_instance::etat::dossier_impossible:
        message(depuis_utf8(message_dossier_impossible).arg(dossier));
        break;
    case verrou_instance::etat::lecture_seule:
        message(depuis_utf8(message_dossier_lecture_seule).arg(dossier));
        break;
    case verrou_instance::etat::pris:
        break;
    }
    // Before any window exists, so that no new call can overwrite the interrupted one. Only a short try: a
    // log another program holds takes the call later, from the waiting calls.
    const resultat_reprise reprise = reprend_appel_interrompu(donnees, essai_bref);
    const QString dit = message_reprise(reprise, donnees);
    const arret_propre arret;

    auto principale = std::make_unique<TForm1>(horloge, donnees);
    principale->prend_en_charge_le_journal(reprise);
    principale->show();
    // The hidden windows, in their fixed order, and the tray icon come at the first turn of the message loop,
    // so that the main window shows without waiting for them (the menu's commands do nothing until then).
    std::unique_ptr<TAboutBox> a_propos;
    std::unique_ptr<TTarifs_dlg> tarifs;
    std::unique_ptr<TAjout_zone> ajout_zone;
    std::unique_ptr<Tvisualisation> rapport;
    std::unique_ptr<icone_notification> notification;
    QTimer::singleShot(0, principale.get(), [&] {
        a_propos = std::make_unique<TAboutBox>();
        tarifs = std::make_unique<TTarifs_dlg>();
        ajout_zone = std::make_unique<TAjout_zone>();
        rapport = std::make_unique<Tvisualisation>(horloge, donnees);
        notification = std::make_unique<icone_notification>(principale.get());
        principale->fixe_notification(notification.get());
    });
    if (!dit.isEmpty()) {
        QTimer::singleShot(0, principale.get(), [dit] { message(dit); });
    }
    application.exec();

    // The main window goes first: it ends a running call and saves while the dialogs still exist.
    principale.reset();
    return 0;
}
