#include "bouton_image.h"
#include "champ_numerique.h"
#include "dialogue_zone.h"
#include "outils_test.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

class test_dialogue_zone : public QObject {
    Q_OBJECT

    std::unique_ptr<banc_principal> banc_;
    std::unique_ptr<TAjout_zone> dialogue_;

    TForm1& f() { return *banc_->fenetre; }
    TAjout_zone& d() { return *dialogue_; }
    table_zones& zones() { return f().zones(); }
    QAction* element_modification(int i) { return f().Modificationdedonnespourzonedappel1->actions().at(i); }

    // Acts on the dialog once its modal loop runs, then closes it if the action left it open, so a failed
    // check cannot hang the test.
    void pendant_le_dialogue(std::function<void()> action) {
        QTimer::singleShot(0, dialogue_.get(), [this, action] {
            QVERIFY(QTest::qWaitForWindowActive(dialogue_.get())); // keys go where the focus is
            action();
            if (d().isVisible()) {
                d().reject();
            }
        });
    }

    // Tabs to the field as the user does (Tab selects its text), then types over it.
    static void tape(QWidget* champ, const QString& texte) {
        for (int i = 0; i < 8 && !champ->isAncestorOf(QApplication::focusWidget()) &&
                        QApplication::focusWidget() != champ;
             ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        for (const QChar c : texte) { // keyClicks() takes ASCII only
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c), {});
        }
    }
    static void entree() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

    void verifie_mode_ajout() {
        QVERIFY(d().nom_zone->text().isEmpty());
        QVERIFY(!d().nom_zone->isReadOnly());
        QCOMPARE(d().normal->texte(), QStringLiteral("1"));
        QCOMPARE(d().reduit->texte(), QStringLiteral("1"));
        QVERIFY(!d().supprime->isVisible());
        QCOMPARE(QApplication::focusWidget(), d().nom_zone);
    }

private slots:
    void initTestCase() { prepare_tests(); }

    void init() {
        banc_ = std::make_unique<banc_principal>();
        dialogue_ = std::make_unique<TAjout_zone>();
    }

    void cleanup() {
        dialogue_.reset();
        banc_.reset();
    }

    void ajout_par_le_menu_puis_annulation() {
        messages_interceptes messages;
        pendant_le_dialogue([this] {
            verifie_mode_ajout();
            tape(d().nom_zone, QStringLiteral("Europe"));
            tape(d().normal, QStringLiteral("226"));
            tape(d().reduit, QStringLiteral("99999"));
            entree(); // before the field corrects its text: OK reads it within the range all the same
        });
        f().Ajoutdunezonedappel1Click();
        QCOMPARE(zones().nombre(), 4);
        QCOMPARE(zones().nom(3), texte("Europe"));
        QCOMPARE(zones().duree_unite(3, periode::normale), 22.6);
        QCOMPARE(zones().duree_unite(3, periode::reduite), 5000.0);
        QVERIFY(f().position(TForm1::pos_modification_zone)->isEnabled());

        // Each opening starts afresh; cancelling adds nothing.
        pendant_le_dialogue([this] {
            verifie_mode_ajout();
            tape(d().nom_zone, QStringLiteral("Monde"));
            QTest::keyClick(&d(), Qt::Key_Escape);
        });
        f().Ajoutdunezonedappel1Click();
        QCOMPARE(zones().nombre(), 4);
        QVERIFY(messages.recus.isEmpty());
    }

    void noms_refuses_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("message");
        const QString existe =
            QStringLiteral("Le nom de zone ne doit ni déjà exister ni comporter '{' ou '}'.");
        QTest::newRow("existe") << "local" << existe;
        QTest::newRow("accolade") << "Zone {1" << existe;
        QTest::newRow("brise les cles")
            << " [x"
            << QStringLiteral("Le nom de zone ne doit pas comporter '=' ni commencer par '[' ou ';'.");
    }

    void noms_refuses() {
        QFETCH(QString, nom);
        QFETCH(QString, message);
        messages_interceptes messages;
        pendant_le_dialogue([this, nom] {
            tape(d().nom_zone, nom);
            entree();
            QVERIFY(d().isVisible());
            QCOMPARE(d().nom_zone->text(), nom);
        });
        f().Ajoutdunezonedappel1Click();
        QCOMPARE(messages.recus.size(), 1);
        QCOMPARE(messages.recus[0].first, genre_message::information);
        QCOMPARE(messages.recus[0].second, message);
        QCOMPARE(zones().nombre(), 3);
    }

    void quarante_trois_zones_puis_suppression() {
        for (int i = 0; i < 39; ++i) {
            f().ajoute_zone("Z" + std::to_string(i), 10, 10);
        }
        QVERIFY(f().position(TForm1::pos_ajout_zone)->isEnabled());
        pendant_le_dialogue([this] {
            tape(d().nom_zone, QStringLiteral("Dernière"));
            entree();
        });
        f().Ajoutdunezonedappel1Click();
        QCOMPARE(zones().nombre(), 43);
        QVERIFY(!f().position(TForm1::pos_ajout_zone)->isEnabled());

        pendant_le_dialogue([this] { QTest::mouseClick(d().supprime, Qt::LeftButton); });
        element_modification(0)->trigger();
        QCOMPARE(zones().nombre(), 42);
        QCOMPARE(zones().nom(3), texte("Z1"));
        QVERIFY(f().position(TForm1::pos_ajout_zone)->isEnabled());
    }

    void ajout_pendant_un_appel_laisse_la_modification_desactivee() {
        f().start_stopClick();
        pendant_le_dialogue([this] {
            tape(d().nom_zone, QStringLiteral("Europe"));
            entree();
        });
        f().Ajoutdunezonedappel1Click();
        QCOMPARE(zones().nombre(), 4);
        QVERIFY(!f().position(TForm1::pos_modification_zone)->isEnabled());
        f().start_stopClick();
        QVERIFY(f().position(TForm1::pos_modification_zone)->isEnabled());
    }

    void zone_ajoutee_modifiee_supprimee_survit_au_redemarrage() {
        messages_interceptes messages;
        pendant_le_dialogue([this] {
            tape(d().nom_zone, QStringLiteral("Café & thé "));
            tape(d().normal, QStringLiteral("226"));
            tape(d().reduit, QStringLiteral("406"));
            entree();
        });
        f().Ajoutdunezonedappel1Click();
        banc_->redemarre();
        QCOMPARE(zones().nom(3), texte("Caf\xE9 & th\xE9 "));
        QCOMPARE(zones().duree_unite(3, periode::reduite), 40.6);

        // The item's caption shows "&&"; the dialog finds the zone by its real name, which cannot change.
        pendant_le_dialogue([this] {
            QVERIFY(d().nom_zone->isReadOnly());
            QCOMPARE(d().normal->texte(), QStringLiteral("226"));
            QCOMPARE(d().reduit->texte(), QStringLiteral("406"));
            QVERIFY(d().supprime->isVisible());
            tape(d().nom_zone, QStringLiteral("xyz"));
            tape(d().normal, QStringLiteral("300"));
            tape(d().reduit, QStringLiteral("0"));
            entree();
        });
        element_modification(0)->trigger();
        QCOMPARE(zones().duree_unite(3, periode::reduite), 0.1);
        banc_->redemarre();
        QCOMPARE(zones().nom(3), texte("Caf\xE9 & th\xE9 "));
        QCOMPARE(zones().duree_unite(3, periode::normale), 30.0);

        // Deleted without a question; the next add opening hides the button again.
        pendant_le_dialogue([this] { QTest::mouseClick(d().supprime, Qt::LeftButton); });
        element_modification(0)->trigger();
        banc_->redemarre();
        QCOMPARE(zones().nombre(), 3);
        QVERIFY(f().Modificationdedonnespourzonedappel1->actions().isEmpty());
        QVERIFY(messages.recus.isEmpty());
        pendant_le_dialogue([this] { verifie_mode_ajout(); });
        f().Ajoutdunezonedappel1Click();
    }
};

QTEST_MAIN(test_dialogue_zone)
#include "test_dialogue_zone.moc"
