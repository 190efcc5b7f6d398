#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP, and the end of the desktop session, stop Kalvo the way closing its main window
// does: every event loop ends, also a dialog's or a message box's, then the windows are destroyed, which
// records a running call and saves the settings. Nobody is there to answer a message box then, so boxes
// go to the standard error output instead.
class arret_propre final : public QObject {
    Q_OBJECT
public:
    explicit arret_propre(QObject* parent = nullptr);
    ~arret_propre() override;

private:
    void arrete();

    QSocketNotifier* notificateur_ = nullptr;
};
