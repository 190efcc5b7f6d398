#include "bouton_image.h"
#include "champ_numerique.h"
#include "dialogue_zone.h"
#include "outils_test.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
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

    void pendant_le_dialogue(const std::function<void()>& action) { pendant(dialogue_.get(), action); }

    // Types each text over a field's own, from the focus field on, with Tab between, as the user does.
    static void saisit(const QStringList& textes, Qt::Key fin = Qt::Key_Return) {
        touche(Qt::Key_A, Qt::ControlModifier);
        for (const QString& texte : textes) {
            if (&texte != &textes.first()) {
                touche(Qt::Key_Tab);
            }
            touche(Qt::Key_Delete);
            tape(texte);
        }
        touche(fin);
    }

private slots:
    void initTestCase() { prepare_tests(); }

    void init() { // the last ones go with the test object, before the application
        dialogue_.reset();
        banc_.reset(); // first, for it saves into the data folder it made
        banc_ = std::make_unique<banc_principal>();
        dialogue_ = std::make_unique<TAjout_zone>();
    }

    void zone_refusee_puis_ajoutee_modifiee_supprimee() {
        messages_interceptes messages;
        pendant_le_dialogue([this] {
            for (const QString& nom :
                 {QStringLiteral("local"), QStringLiteral("Zone {1"), QStringLiteral(" [x")}) {
                saisit({nom});
                QCOMPARE(d().nom_zone->text(), nom); // the dialog stays open with what was typed
            }
            // Enter before the field corrects its text: OK reads it within the range all the same.
            saisit({QStringLiteral("Café & thé "), QStringLiteral("226"), QStringLiteral("99999")});
        });
        f().Ajoutdunezonedappel1Click();
        const QString existe =
            QStringLiteral("Le nom de zone ne doit ni déjà exister ni comporter '{' ou '}'.");
        QCOMPARE(messages.recus.value(1), qMakePair(genre_message::information, existe));
        QCOMPARE(messages.recus.value(0), messages.recus.value(1));
        QCOMPARE(messages.recus.value(2).second,
                 QStringLiteral("Le nom de zone ne doit pas comporter '=' ni commencer par '[' ou ';'."));

        // The item's caption shows "&&"; the dialog finds the zone by its real name, which cannot change.
        pendant_le_dialogue([this] {
            QVERIFY(d().nom_zone->isReadOnly());
            QCOMPARE(d().normal->texte(), QStringLiteral("226"));
            QCOMPARE(d().reduit->texte(), QStringLiteral("50000"));
            QVERIFY(d().supprime->isVisible());
            saisit({QStringLiteral("xyz"), QStringLiteral("300"), QStringLiteral("0")});
        });
        element_modification(0)->trigger();
        QCOMPARE(zones().duree_unite(3, periode::reduite), 0.1);
        banc_->redemarre();
        QCOMPARE(zones().nom(3), texte("Caf\xE9 & th\xE9 "));
        QCOMPARE(zones().duree_unite(3, periode::normale), 30.0);

        // Deleted without a question; the next add opening starts afresh, and cancelling adds nothing.
        pendant_le_dialogue([this] { clique(d().supprime); });
        element_modification(0)->trigger();
        QVERIFY(f().Modificationdedonnespourzonedappel1->actions().isEmpty());
        pendant_le_dialogue([this] {
            QVERIFY(d().nom_zone->text().isEmpty() && !d().nom_zone->isReadOnly() &&
                    !d().supprime->isVisible());
            QCOMPARE(d().normal->texte() + d().reduit->texte(), QStringLiteral("11"));
            QCOMPARE(QApplication::focusWidget(), d().nom_zone);
            saisit({QStringLiteral("Monde")}, Qt::Key_Escape);
        });
        f().Ajoutdunezonedappel1Click();
        QCOMPARE(zones().nombre(), 3);
        QCOMPARE(messages.recus.size(), 3);
    }

    void quarante_trois_zones_pendant_un_appel_puis_suppression() {
        for (int i = 0; i < 39; ++i) {
            f().ajoute_zone("Z" + std::to_string(i), 10, 10);
        }
        f().start_stopClick();
        pendant_le_dialogue([] { saisit({QStringLiteral("Dernière")}); });
        f().Ajoutdunezonedappel1Click();
        QCOMPARE(zones().nombre(), 43);
        QVERIFY(!f().position(TForm1::pos_ajout_zone)->isEnabled());
        QVERIFY(!f().position(TForm1::pos_modification_zone)->isEnabled());
        f().start_stopClick();
        QVERIFY(f().position(TForm1::pos_modification_zone)->isEnabled());

        pendant_le_dialogue([this] { clique(d().supprime); });
        element_modification(0)->trigger();
        QVERIFY(f().position(TForm1::pos_ajout_zone)->isEnabled());
    }
};

QTEST_MAIN(test_dialogue_zone)
#include "test_dialogue_zone.moc"
