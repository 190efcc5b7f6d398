#include "outils_test.h"

#include "application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

QString dossier_donnees_test::chemin(const QString& fichier) const {
    return QDir(QString::fromStdString(dossier_.chemin().string()))
        .filePath(QStringLiteral("kalvo/") + fichier);
}

QByteArray dossier_donnees_test::lit(const QString& fichier) const {
    QFile f(chemin(fichier));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

namespace {

QtMessageHandler gestionnaire_qtest = nullptr;

// The offscreen platform warns about every window feature it lacks; those warnings say nothing of Kalvo.
void filtre_messages(QtMsgType type, const QMessageLogContext& contexte, const QString& texte) {
    if (texte.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    gestionnaire_qtest(type, contexte, texte);
}

} // namespace

void prepare_tests() {
    gestionnaire_qtest = qInstallMessageHandler(filtre_messages);
    prepare_application(*qApp);
}
