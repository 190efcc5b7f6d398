#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QSystemTrayIcon;
class QWidget;

// Kalvo's icon in the desktop's system tray, where there is one: its tooltip is the application title, so
// the running charge and the elapsed time can be read there as on a taskbar, and a click brings the main
// window forward. Without a tray it shows nothing and changes nothing.
class icone_notification final : public QObject {
    Q_OBJECT
public:
    explicit icone_notification(QWidget* fenetre, QObject* parent = nullptr);
    ~icone_notification() override;

    // The tooltip's text, kept whether or not a tray shows it.
    QString infobulle() const { return infobulle_; }
    bool affichee() const;

    // Shows the main window in front of the others, restored if it was minimised.
    void montre_fenetre();
    // A message from the icon; false without a tray, where it says nothing.
    bool annonce(const QString& titre, const QString& texte);

signals:
    // The user clicked the last message.
    void message_clique();

private:
    void fixe_infobulle(const QString& texte);

    QPointer<QWidget> fenetre_;
    QSystemTrayIcon* icone_ = nullptr;
    QString infobulle_;
};
