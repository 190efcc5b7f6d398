#pragma once

#include "boites_message.h"
#include "fenetre_principale.h"
#include "horloge_factice.h"
#include "storage/outils_stockage.h"

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

// Catches the message boxes a test provokes, so they neither block nor go unnoticed.
class messages_interceptes {
public:
    messages_interceptes() {
        intercepte_messages([this](genre_message genre, const QString& texte) {
            recus.append({genre, texte});
        });
    }
    ~messages_interceptes() { intercepte_messages({}); }

    QList<QPair<genre_message, QString>> recus;
};

// A fresh data folder for one test, made as Kalvo's start-up makes it.
class dossier_donnees_test {
public:
    dossier_donnees_test() { fs::create_directory(donnees_.chemin()); }
    const dossier_donnees& donnees() const { return donnees_; }

    QString chemin(const QString& fichier) const { // a file inside the kalvo folder
        return QDir(QString::fromStdString(dossier_.chemin().string())).filePath(u"kalvo/"_s + fichier);
    }
    QByteArray lit(const QString& fichier) const { // its bytes, or "<absent>"
        QFile f(chemin(fichier));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
    }

private:
    dossier_temporaire dossier_;
    dossier_donnees donnees_{dossier_.chemin() / "kalvo"};
};

// The main window on a fresh data folder, with a fake clock at Wednesday 4 March 2026, 10:00 (normal tariff).
struct banc_principal {
    dossier_donnees_test donnees;
    horloge_factice horloge;
    std::unique_ptr<TForm1> fenetre = std::make_unique<TForm1>(horloge, donnees.donnees());

    // Closes the window, which saves the settings, and opens a new one, which loads them.
    void redemarre() {
        fenetre.reset();
        fenetre = std::make_unique<TForm1>(horloge, donnees.donnees());
    }
};

// The style and font of the program, for every window test.
void prepare_tests();

// Input where the user's arrives: the mouse goes to the top-level window at the place of the target (its
// middle unless told), which hands it to whatever lies there; keys go to the widget that has the focus.
inline void clique(QWidget* cible, QPoint ou = {}, Qt::KeyboardModifiers modificateurs = {},
                   QTest::MouseAction action = QTest::MouseClick) {
    const QPoint point = cible->mapTo(cible->window(), ou.isNull() ? cible->rect().center() : ou);
    QTest::mouseEvent(action, cible->window()->windowHandle(), Qt::LeftButton, modificateurs, point);
}
inline void touche(QKeyCombination touche) {
    QTest::keyClick(QApplication::focusWidget(), touche.key(), touche.keyboardModifiers());
}
// As a keyboard layout sends them: each character as an event's text, accented ones included.
inline void tape(const QString& texte) {
    for (const QChar c : texte) {
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c), {});
    }
}

// Shows a window and waits until it is active, so that keys go where its focus is.
inline void montre_active(QWidget* fenetre) {
    fenetre->show();
    QVERIFY(QTest::qWaitForWindowActive(fenetre));
}

// Acts on a modal dialog (without one, the message box about to open) once its loop runs, then closes it if
// the action left it open, so that a failed check cannot hang the test.
inline void pendant(QDialog* dialogue, const std::function<void()>& action) {
    QTimer::singleShot(0, qApp, [dialogue, action] {
        QWidget* d = dialogue != nullptr ? dialogue : QApplication::activeModalWidget();
        QVERIFY(QTest::qWaitForWindowActive(d)); // keys go where the focus is
        action();
        d->close();
    });
}
