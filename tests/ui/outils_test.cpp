#include "outils_test.h"

#include "application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

QString dossier_donnees_test::chemin(const QString& fichier) const {
    return QDir(QString::fromStdString(dossier_.chemin().string())).filePath(u"kalvo/"_s + fichier);
}

QByteArray dossier_donnees_test::lit(const QString& fichier) const {
    QFile f(chemin(fichier));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

void prepare_tests() {
    // The offscreen platform warns about every window feature it lacks; those warnings say nothing of Kalvo.
    static const QtMessageHandler suivant =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& contexte, const QString& texte) {
            if (!texte.startsWith(QLatin1String("This plugin does not support"))) {
                suivant(type, contexte, texte);
            }
        });
    prepare_application(*qApp);
}
