#pragma once

#include "boites_message.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

// Catches the message boxes a test provokes, so they neither block nor go unnoticed.
class messages_interceptes {
public:
    messages_interceptes();
    ~messages_interceptes();
    messages_interceptes(const messages_interceptes&) = delete;
    messages_interceptes& operator=(const messages_interceptes&) = delete;

    QList<QPair<genre_message, QString>> recus;
};

// A fresh data folder for one test: XDG_DATA_HOME points into it while the object lives.
class dossier_donnees_test {
public:
    dossier_donnees_test();
    ~dossier_donnees_test();
    QString chemin(const QString& fichier) const; // a file inside the kalvo folder

private:
    QTemporaryDir dossier_;
    QByteArray ancien_;
};

// The style and font of the program, for every window test.
void prepare_tests();
