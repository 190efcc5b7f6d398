#pragma once

#include <QObject>
#include <QString>

// The application title: "Kalvo" outside a call, the running charge and the elapsed time during one. It is
// what a taskbar shows for the minimised main window and the caption of every message box.
class titre_application final : public QObject {
    Q_OBJECT
public:
    static titre_application& instance();
    static QString texte() { return instance().texte_; }
    static void fixe(const QString& texte);

signals:
    void change(const QString& texte);

private:
    titre_application() = default;
    QString texte_ = QStringLiteral("Kalvo");
};
