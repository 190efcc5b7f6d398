// Writes the program's icon as the PNG files of the hicolor icon theme, from the very drawing the windows
// show, so the installed icons never drift from it. Run by the build.
// Usage: kalvo-icones FOLDER NAME SIZE...   writes FOLDER/SIZExSIZE/apps/NAME.png for each size.

#include "icone.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fputs("Usage : kalvo-icones DOSSIER NOM TAILLE...\n", stderr);
        return 2;
    }
    // A build has no display to lean on.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    const QDir racine(QString::fromLocal8Bit(argv[1]));
    const QString nom = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int taille = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || taille <= 0) {
            std::fprintf(stderr, "kalvo-icones : taille invalide : %s\n", argv[i]);
            return 2;
        }
        const QString dossier = QStringLiteral("%1x%1/apps").arg(taille);
        const QString chemin = racine.filePath(dossier + QLatin1Char('/') + nom + QStringLiteral(".png"));
        if (!racine.mkpath(dossier) || !dessine_icone(taille).save(chemin, "PNG")) {
            std::fprintf(stderr, "kalvo-icones : écriture impossible : %s\n", qPrintable(chemin));
            return 1;
        }
    }
    return 0;
}
