#include "bouton_image.h"
#include "champ_numerique.h"
#include "dialogue_zone.h"
#include "outils_test.h"
#include "saisie_1252.h"

class test_dialogue_zone : public QObject {
    Q_OBJECT

    struct banc : banc_principal {
        TAjout_zone dialogue; // goes first, before the window that saves into the data folder
    };
    std::unique_ptr<banc> banc_;

    TForm1& f() { return *banc_->fenetre; }
    TAjout_zone& d() { return banc_->dialogue; }
    table_zones& zones() { return f().zones(); }
    QAction* element_modification(int i) { return f().Modificationdedonnespourzonedappel1->actions().at(i); }

    // Types each text over a field's own, from the focus field on, with Tab between, as the user does.
    static void saisit(const QStringList& textes, QKeyCombination fin = Qt::Key_Return) {
        touche(Qt::CTRL | Qt::Key_A);
        for (const QString& texte : textes) {
            touche(Qt::Key_Delete);
            tape(texte);
            touche(&texte == &textes.last() ? fin : Qt::Key_Tab);
        }
    }

private slots:
    void initTestCase() { prepare_tests(); }

    void init() { banc_ = std::make_unique<banc>(); }
    void cleanup() { banc_.reset(); }

    void zone_refusee_puis_ajoutee_modifiee_supprimee() {
        messages_interceptes messages;
        pendant(&d(), [this] {
            for (const QString& nom : {u"local"_s, u"Zone {1"_s, u" [x"_s}) {
                saisit({nom});
                QCOMPARE(d().nom_zone->text(), nom); // the dialog stays open with what was typed
            }
            // Enter before the field corrects its text: OK reads it within the range all the same.
            // What the settings' code page cannot hold is refused as typed, left out of a paste with one
            // beep.
            QSignalSpy bips(d().findChild<saisie_1252*>(), &saisie_1252::caractere_refuse);
            QApplication::clipboard()->setText(u" & th\u03A9é \U0001F600"_s);
            saisit({u"Ca\u03A9fé"_s}, Qt::CTRL | Qt::Key_V);
            QCOMPARE(bips.count(), 2);
            touche(Qt::Key_Tab);
            saisit({u"226"_s, u"99999"_s});
        });
        f().Ajoutdunezonedappel1Click();
        const QString existe = u"Le nom de zone ne doit ni déjà exister ni comporter '{' ou '}'."_s;
        QCOMPARE(messages.recus.value(1), qMakePair(genre_message::information, existe));
        QCOMPARE(messages.recus.value(0), messages.recus.value(1));
        QCOMPARE(messages.recus.value(2).second,
                 u"Le nom de zone ne doit pas comporter '=' ni commencer par '[' ou ';'."_s);

        // The item's caption shows "&&"; the dialog finds the zone by its real name, which cannot change.
        pendant(&d(), [this] {
            QVERIFY(d().nom_zone->isReadOnly() && d().supprime->isVisible());
            QCOMPARE(d().normal->texte() + u'/' + d().reduit->texte(), u"226/50000"_s);
            saisit({u"xyz"_s, u"300"_s, u"0"_s});
        });
        element_modification(0)->trigger();
        QCOMPARE(zones().duree_unite(3, periode::reduite), 0.1);
        banc_->redemarre();
        QCOMPARE(zones().nom(3), texte("Caf\xE9 & th\xE9 "));
        QCOMPARE(zones().duree_unite(3, periode::normale), 30.0);

        // Deleted without a question; the next add opening starts afresh, and cancelling adds nothing.
        pendant(&d(), [this] { clique(d().supprime); });
        element_modification(0)->trigger();
        QVERIFY(f().Modificationdedonnespourzonedappel1->actions().isEmpty());
        pendant(&d(), [this] {
            QVERIFY(d().nom_zone->text().isEmpty() && !d().nom_zone->isReadOnly() &&
                    !d().supprime->isVisible());
            QCOMPARE(d().normal->texte() + d().reduit->texte() + d().CancelBtn->text(), u"11Annuler"_s);
            QCOMPARE(QApplication::focusWidget(), d().nom_zone);
            saisit({u"Monde"_s}, Qt::Key_Escape);
        });
        f().Ajoutdunezonedappel1Click();
        QCOMPARE(zones().nombre(), 3);
        QCOMPARE(messages.recus.size(), 3);
    }
};

QTEST_MAIN(test_dialogue_zone)
#include "test_dialogue_zone.moc"
