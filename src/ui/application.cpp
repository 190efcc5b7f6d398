#include "application.h"

#include "boite_a_propos.h"
#include "dialogue_tarifs.h"
#include "dialogue_zone.h"
#include "fenetre_principale.h"
#include "icone.h"
#include "references.h"
#include "titre_application.h"
#include "visualisation.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

#include <memory>

void prepare_application(QApplication& application) {
    QApplication::setApplicationName(QStringLiteral("kalvo"));
    // Fusion draws the pop-up menu's default item in bold, as the classic menus do.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont police = QApplication::font();
    // MS Sans Serif 8 points at 96 dpi is 11 pixels high; where it is missing a metric-alike sans serif
    // of the same pixel height takes its place.
    police.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                        QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    police.setStyleHint(QFont::SansSerif);
    police.setPixelSize(11);
    QApplication::setFont(police);
    QApplication::setWindowIcon(icone_kalvo());
    application.setQuitOnLastWindowClosed(true);
    titre_application::fixe(QStringLiteral("Kalvo"));
}

int lance_kalvo(QApplication& application, const horloge_locale& horloge) {
    titre_application::fixe(QStringLiteral("Kalvo"));
    auto principale = std::make_unique<TForm1>(horloge);
    auto a_propos = std::make_unique<TAboutBox>();
    AboutBox = a_propos.get();
    auto tarifs = std::make_unique<TTarifs_dlg>();
    auto ajout_zone = std::make_unique<TAjout_zone>();
    auto rapport = std::make_unique<Tvisualisation>(horloge);

    principale->show();
    application.exec();

    principale.reset();
    AboutBox = nullptr;
    return 0;
}
