#include "bouton_image.h"
#include "champ_numerique.h"
#include "dialogue_zone.h"
#include "fenetre_principale.h"
#include "horloge_factice.h"
#include "outils_test.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

const QString refus_nom = QStringLiteral("Le nom de zone ne doit ni déjà exister ni comporter '{' ou '}'.");
const QString refus_cles = QStringLiteral("Le nom de zone ne doit pas comporter '=' ni commencer par '['.");

} // namespace

class test_dialogue_zone : public QObject {
    Q_OBJECT

    std::unique_ptr<dossier_donnees_test> donnees_;
    std::unique_ptr<horloge_factice> horloge_;
    std::unique_ptr<TForm1> principale_;
    std::unique_ptr<TAjout_zone> dialogue_;

    TForm1& f() { return *principale_; }
    TAjout_zone& d() { return *dialogue_; }
    table_zones& zones() { return principale_->zones(); }
    QAction* element_modification(int i) { return f().Modificationdedonnespourzonedappel1->actions().at(i); }
    void redemarre() {
        principale_.reset();
        principale_ = std::make_unique<TForm1>(*horloge_);
    }

    // Acts on the dialog once its modal loop runs, then closes it if the action left it open, so a failed
    // check cannot hang the test.
    void pendant_le_dialogue(std::function<void()> action) {
        QTimer::singleShot(0, dialogue_.get(), [this, action] {
            QVERIFY(d().isVisible());
            action();
            if (d().isVisible()) {
                d().reject();
            }
        });
    }

    void verifie_mode_ajout() {
        QVERIFY(d().nom_zone->text().isEmpty());
        QVERIFY(!d().nom_zone->isReadOnly());
        QCOMPARE(d().normal->texte(), QStringLiteral("1"));
        QCOMPARE(d().reduit->texte(), QStringLiteral("1"));
        QVERIFY(!d().supprime->isVisible());
        QCOMPARE(d().focusWidget(), d().nom_zone);
    }

private slots:
    void initTestCase() { prepare_tests(); }

    void init() {
        donnees_ = std::make_unique<dossier_donnees_test>();
        horloge_ = std::make_unique<horloge_factice>();
        principale_ = std::make_unique<TForm1>(*horloge_);
        dialogue_ = std::make_unique<TAjout_zone>();
    }

    void cleanup() {
        dialogue_.reset();
        principale_.reset();
        horloge_.reset();
        donnees_.reset();
    }

    void ajout_par_le_menu_puis_annulation() {
        messages_interceptes messages;
        pendant_le_dialogue([this] {
            verifie_mode_ajout();
            d().nom_zone->setText(QStringLiteral("Europe"));
            d().normal->fixe_texte(QStringLiteral("226"));
            d().reduit->fixe_texte(QStringLiteral("99999"));
            QTest::mouseClick(d().OKBtn, Qt::LeftButton);
        });
        f().Ajoutdunezonedappel1Click();
        QCOMPARE(d().result(), int(QDialog::Accepted));
        QCOMPARE(zones().nombre(), 4);
        QCOMPARE(zones().nom(3), texte("Europe"));
        QCOMPARE(zones().duree_unite(3, periode::normale), 22.6);
        QCOMPARE(zones().duree_unite(3, periode::reduite), 5000.0);
        QVERIFY(f().position(TForm1::pos_modification_zone)->isEnabled());

        // Each opening starts afresh; cancelling adds nothing.
        pendant_le_dialogue([this] {
            verifie_mode_ajout();
            d().nom_zone->setText(QStringLiteral("Monde"));
            QTest::keyClick(&d(), Qt::Key_Escape);
        });
        f().Ajoutdunezonedappel1Click();
        QCOMPARE(d().result(), int(QDialog::Rejected));
        QCOMPARE(zones().nombre(), 4);
        QVERIFY(messages.recus.isEmpty());
    }

    void noms_refuses_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("message");
        QTest::newRow("zone fixe, casse ignoree") << "local" << refus_nom;
        QTest::newRow("zone ajoutee, casse ignoree") << "EUROPE" << refus_nom;
        QTest::newRow("blancs autour d'un nom existant") << " Europe " << refus_nom;
        QTest::newRow("accolade ouvrante") << "Zone {1" << refus_nom;
        QTest::newRow("accolade fermante") << "}" << refus_nom;
        QTest::newRow("egal") << "a=b" << refus_cles;
        QTest::newRow("crochet en tete apres des blancs") << " [x" << refus_cles;
    }

    void noms_refuses() {
        QFETCH(QString, nom);
        QFETCH(QString, message);
        f().ajoute_zone("Europe", 100, 200);
        messages_interceptes messages;
        d().prepare_ajout();
        d().show();
        d().nom_zone->setText(nom);
        d().normal->fixe_texte(QStringLiteral("70000"));
        d().OKBtnClick();
        QCOMPARE(messages.recus.size(), 1);
        QCOMPARE(messages.recus[0].first, genre_message::information);
        QCOMPARE(messages.recus[0].second, message);
        QVERIFY(d().isVisible());
        QCOMPARE(d().nom_zone->text(), nom);
        QCOMPARE(d().normal->texte(), QStringLiteral("70000"));
        QCOMPARE(zones().nombre(), 4);
    }

    void noms_proches_acceptes_nom_vide_une_seule_fois() {
        messages_interceptes messages;
        for (const QString& nom : {QStringLiteral("x[y"), QString()}) {
            d().prepare_ajout();
            d().show();
            d().nom_zone->setText(nom);
            d().OKBtnClick();
            QVERIFY2(!d().isVisible(), qPrintable(nom));
        }
        QCOMPARE(zones().nombre(), 5);
        QCOMPARE(zones().nom(4), texte());
        QVERIFY(messages.recus.isEmpty());

        for (const QString& nom : {QString(), QStringLiteral("  ")}) {
            d().nom_zone->setText(nom);
            d().show();
            d().OKBtnClick();
            QVERIFY(d().isVisible());
        }
        QCOMPARE(messages.recus.size(), 2);
        QCOMPARE(zones().nombre(), 5);
    }

    void modification_ne_change_que_les_durees() {
        // The item's caption shows "&&"; the dialog must find the zone by its real name.
        f().ajoute_zone("Lune & Mars", 226, 406);
        pendant_le_dialogue([this] {
            QCOMPARE(d().nom_zone->text(), QStringLiteral("Lune & Mars"));
            QVERIFY(d().nom_zone->isReadOnly());
            QCOMPARE(d().normal->texte(), QStringLiteral("226"));
            QCOMPARE(d().reduit->texte(), QStringLiteral("406"));
            QVERIFY(d().supprime->isVisible());
            QCOMPARE(d().focusWidget(), d().nom_zone);
            QTest::keyClicks(d().nom_zone, QStringLiteral("xyz"));
            d().reduit->fixe_texte(QStringLiteral("0"));
            QTest::mouseClick(d().OKBtn, Qt::LeftButton);
        });
        element_modification(0)->trigger();
        QCOMPARE(d().result(), int(QDialog::Accepted));
        QCOMPARE(zones().nom(3), texte("Lune & Mars"));
        QCOMPARE(zones().duree_unite(3, periode::normale), 22.6);
        QCOMPARE(zones().duree_unite(3, periode::reduite), 0.1);

        // Anything but a menu item leaves the dialog closed and the table alone.
        d().FormClick(&d());
        QVERIFY(!d().isVisible());
    }

    void supprimer_sans_question() {
        f().ajoute_zone("Europe", 100, 200);
        f().ajoute_zone("Monde", 10, 20);
        messages_interceptes messages;
        pendant_le_dialogue([this] { QTest::mouseClick(d().supprime, Qt::LeftButton); });
        element_modification(0)->trigger();
        QCOMPARE(d().result(), int(QDialog::Accepted));
        QCOMPARE(zones().nombre(), 4);
        QCOMPARE(zones().nom(3), texte("Monde"));
        QVERIFY(messages.recus.isEmpty());

        // The next add opening hides the button again.
        pendant_le_dialogue([this] { verifie_mode_ajout(); });
        f().Ajoutdunezonedappel1Click();
    }

    void quarante_trois_zones_puis_suppression() {
        for (int i = 0; i < 39; ++i) {
            f().ajoute_zone("Z" + std::to_string(i), 10, 10);
        }
        QVERIFY(f().position(TForm1::pos_ajout_zone)->isEnabled());
        pendant_le_dialogue([this] {
            d().nom_zone->setText(QStringLiteral("Dernière"));
            d().OKBtnClick();
        });
        f().Ajoutdunezonedappel1Click();
        QCOMPARE(zones().nombre(), 43);
        QVERIFY(!f().position(TForm1::pos_ajout_zone)->isEnabled());

        pendant_le_dialogue([this] { d().supprimeClick(); });
        element_modification(39)->trigger();
        QCOMPARE(zones().nombre(), 42);
        QVERIFY(f().position(TForm1::pos_ajout_zone)->isEnabled());
    }

    void ajout_pendant_un_appel_laisse_la_modification_desactivee() {
        f().start_stopClick();
        pendant_le_dialogue([this] {
            d().nom_zone->setText(QStringLiteral("Europe"));
            d().OKBtnClick();
        });
        f().Ajoutdunezonedappel1Click();
        QCOMPARE(zones().nombre(), 4);
        QVERIFY(!f().position(TForm1::pos_modification_zone)->isEnabled());
        QVERIFY(f().compteur_appel().en_cours());
        f().start_stopClick();
        QVERIFY(f().position(TForm1::pos_modification_zone)->isEnabled());
    }

    void zone_ajoutee_modifiee_supprimee_survit_au_redemarrage() {
        pendant_le_dialogue([this] {
            d().nom_zone->setText(QStringLiteral("Café & thé "));
            d().normal->fixe_texte(QStringLiteral("226"));
            d().reduit->fixe_texte(QStringLiteral("406"));
            d().OKBtnClick();
        });
        f().Ajoutdunezonedappel1Click();
        redemarre();
        QCOMPARE(zones().nombre(), 4);
        QCOMPARE(zones().nom(3), texte("Caf\xE9 & th\xE9 "));
        QCOMPARE(zones().duree_unite(3, periode::reduite), 40.6);

        pendant_le_dialogue([this] {
            d().normal->fixe_texte(QStringLiteral("300"));
            d().OKBtnClick();
        });
        element_modification(0)->trigger();
        redemarre();
        QCOMPARE(zones().duree_unite(3, periode::normale), 30.0);
        QCOMPARE(zones().duree_unite(3, periode::reduite), 40.6);

        pendant_le_dialogue([this] { d().supprimeClick(); });
        element_modification(0)->trigger();
        redemarre();
        QCOMPARE(zones().nombre(), 3);
        QVERIFY(f().Modificationdedonnespourzonedappel1->actions().isEmpty());
    }
};

QTEST_MAIN(test_dialogue_zone)
#include "test_dialogue_zone.moc"
