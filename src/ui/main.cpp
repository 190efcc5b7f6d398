#include "application.h"
#include "metering/horloge_locale.h"
#include "storage/dossier_donnees.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    prepare_application(application);
    const horloge_systeme horloge;
    return lance_kalvo(application, horloge, dossier_donnees::de_l_environnement());
}
