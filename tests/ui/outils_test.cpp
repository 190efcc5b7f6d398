#include "outils_test.h"

#include "application.h"

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
