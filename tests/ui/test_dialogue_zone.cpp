#include "bouton_image.h"
#include "champ_numerique.h"
#include "dialogue_zone.h"
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
const QString refus_cles =
    QStringLiteral("Le nom de zone ne doit pas comporter '=' ni commencer par '[' ou ';'.");

} // namespace

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
            d().nom_zone->setText(QStringLiteral("Europe"));
            d().normal->fixe_texte(QStringLiteral("226"));
            d().reduit->fixe_texte(QStringLiteral("99999"));
            QTest::mouseClick(d().OKBtn, Qt::LeftButton);
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
            d().nom_zone->setText(QStringLiteral("Monde"));
            QTest::keyClick(&d(), Qt::Key_Escape);
        });
        f().Ajoutdunezonedappel1Click();
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
        QTest::newRow("point-virgule en tete") << ";x" << refus_cles;
    }

    void noms_refuses() {
        QFETCH(QString, nom);
        QFETCH(QString, message);
        f().ajoute_zone("Europe", 100, 200);
        messages_interceptes messages;
        d().prepare_ajout();
        d().show();
        d().nom_zone->setText(nom);
        d().OKBtnClick();
        QCOMPARE(messages.recus.size(), 1);
        QCOMPARE(messages.recus[0].first, genre_message::information);
        QCOMPARE(messages.recus[0].second, message);
        QVERIFY(d().isVisible());
        QCOMPARE(zones().nombre(), 4);
    }

    void nom_vide_accepte_une_seule_fois() {
        // Only a leading "[" breaks a key; an empty name is a name like any other, so blanks then equal it.
        messages_interceptes messages;
        for (const QString& nom : {QStringLiteral("x[y"), QString(), QStringLiteral("  ")}) {
            d().prepare_ajout();
            d().show();
            d().nom_zone->setText(nom);
            d().OKBtnClick();
        }
        QCOMPARE(zones().nombre(), 5);
        QCOMPARE(zones().nom(4), texte());
        QCOMPARE(messages.recus.size(), 1);
        QVERIFY(d().isVisible());
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

        pendant_le_dialogue([this] { QTest::mouseClick(d().supprime, Qt::LeftButton); });
        element_modification(0)->trigger();
        QCOMPARE(zones().nombre(), 42);
        QCOMPARE(zones().nom(3), texte("Z1"));
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
        f().start_stopClick();
        QVERIFY(f().position(TForm1::pos_modification_zone)->isEnabled());
    }

    void zone_ajoutee_modifiee_supprimee_survit_au_redemarrage() {
        messages_interceptes messages;
        pendant_le_dialogue([this] {
            d().nom_zone->setText(QStringLiteral("Café & thé "));
            d().normal->fixe_texte(QStringLiteral("226"));
            d().reduit->fixe_texte(QStringLiteral("406"));
            d().OKBtnClick();
        });
        f().Ajoutdunezonedappel1Click();
        banc_->redemarre();
        QCOMPARE(zones().nombre(), 4);
        QCOMPARE(zones().nom(3), texte("Caf\xE9 & th\xE9 "));
        QVERIFY(f().position(TForm1::pos_modification_zone)->isEnabled());
        QCOMPARE(zones().duree_unite(3, periode::reduite), 40.6);

        // The item's caption shows "&&"; the dialog finds the zone by its real name, which cannot change.
        pendant_le_dialogue([this] {
            QVERIFY(d().nom_zone->isReadOnly());
            QCOMPARE(d().normal->texte(), QStringLiteral("226"));
            QCOMPARE(d().reduit->texte(), QStringLiteral("406"));
            QVERIFY(d().supprime->isVisible());
            QTest::keyClicks(d().nom_zone, QStringLiteral("xyz"));
            d().normal->fixe_texte(QStringLiteral("300"));
            d().reduit->fixe_texte(QStringLiteral("0"));
            d().OKBtnClick();
        });
        element_modification(0)->trigger();
        QCOMPARE(zones().duree_unite(3, periode::reduite), 0.1);
        banc_->redemarre();
        QCOMPARE(zones().nom(3), texte("Caf\xE9 & th\xE9 "));
        QCOMPARE(zones().duree_unite(3, periode::normale), 30.0);

        // Deleted without a question; the next add opening hides the button again.
        pendant_le_dialogue([this] { d().supprimeClick(); });
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
