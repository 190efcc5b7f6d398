#include "outils_test.h"

#include "application.h"

#include <QApplication>
#include <QDir>

messages_interceptes::messages_interceptes() {
    intercepte_messages([this](genre_message genre, const QString& texte) { recus.append({genre, texte}); });
}

messages_interceptes::~messages_interceptes() {
    intercepte_messages({});
}

dossier_donnees_test::dossier_donnees_test() : ancien_(qgetenv("XDG_DATA_HOME")) {
    qputenv("XDG_DATA_HOME", dossier_.path().toLocal8Bit());
}

dossier_donnees_test::~dossier_donnees_test() {
    qputenv("XDG_DATA_HOME", ancien_);
}

QString dossier_donnees_test::chemin(const QString& fichier) const {
    return QDir(dossier_.path()).filePath(QStringLiteral("kalvo/") + fichier);
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
