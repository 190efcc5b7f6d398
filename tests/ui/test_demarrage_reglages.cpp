#include "fenetre_principale.h"
#include "groupe_radio.h"
#include "horloge_factice.h"
#include "outils_test.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QtTest>

#include <memory>

// The main window takes its settings from Kalvo.ini when it is created and saves them when destroyed.
class test_demarrage_reglages : public QObject {
    Q_OBJECT

    std::unique_ptr<dossier_donnees_test> donnees_;
    horloge_factice horloge_;

    void ecrit_reglages(const QByteArray& contenu) {
        QVERIFY(QDir().mkpath(QFileInfo(donnees_->chemin(QStringLiteral("Kalvo.ini"))).path()));
        QFile f(donnees_->chemin(QStringLiteral("Kalvo.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contenu);
    }
    QByteArray reglages() {
        QFile f(donnees_->chemin(QStringLiteral("Kalvo.ini")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
    }

private slots:
    void initTestCase() { prepare_tests(); }
    void init() { donnees_ = std::make_unique<dossier_donnees_test>(); }
    void cleanup() { donnees_.reset(); }

    void premier_demarrage_puis_fermeture() {
        {
            TForm1 f(horloge_);
            QVERIFY(f.N1->isChecked());
            QCOMPARE(f.memento->count(), 0);
        }
        QCOMPARE(reglages(), QByteArray("[Divers]\r\nMise \xE0 jour=1000\r\n"
                                        "[Ajouts]\r\nNombre d'ajouts=0\r\n"));
    }

    void reglages_enregistres_par_l_ancien_programme() {
        ecrit_reglages("[Tarifs]\r\nTaxe de base=30\r\nDur\xE9" "e local normal=500\r\n"
                       "[Divers]\r\nMise \xE0 jour=5000\r\n"
                       "[Memento]\r\n1=Bureau\r\n2=Caf\xE9\r\n5=Famille\r\n"
                       "[Ajouts]\r\nNombre d'ajouts=0x2\r\n1=Europe\r\n2=Natel\r\n"
                       "Europe au tarif normal=226\r\nEurope au tarif r\xE9" "duit=406\r\n");
        TForm1 f(horloge_);
        QVERIFY(f.N5->isChecked());
        QVERIFY(!f.N1->isChecked());
        QCOMPARE(f.horloge->interval(), 5000);
        QCOMPARE(f.memento->count(), 3);
        QCOMPARE(f.memento->itemText(1), QStringLiteral("Café"));
        QCOMPARE(f.memento->currentText(), QStringLiteral("Bureau"));
        QCOMPARE(f.memento->lineEdit()->selectedText(), QStringLiteral("Bureau"));
        QCOMPARE(f.zone->nombre(), 5);
        QCOMPARE(f.zone->element(4), QStringLiteral("Natel"));
        QCOMPARE(f.zones().taxe_base(), 30);
        QCOMPARE(f.zones().duree_unite(0, periode::normale), 50.0);
        QCOMPARE(f.zones().duree_unite(3, periode::reduite), 40.6);
        QCOMPARE(f.zones().duree_unite(4, periode::normale), 0.1); // missing keys read as one tenth
        QCOMPARE(f.height(), 160 + 2 * 16);
        f.show();
        QVERIFY(f.position(TForm1::pos_modification_zone)->isEnabled());
    }

    void periode_inconnue_et_historique_sauve_sans_trous() {
        ecrit_reglages("[Divers]\r\nMise \xE0 jour=2000\r\n[Memento]\r\n1=a\r\n5=b\r\n9=c\r\n");
        {
            TForm1 f(horloge_);
            QVERIFY(f.N1->isChecked());
            QCOMPARE(f.periode_mise_a_jour(), 1000);
        }
        // Saved under 1 to 3, new keys last in their section; the old 5 and 9 stay.
        QCOMPARE(reglages(), QByteArray("[Divers]\r\nMise \xE0 jour=1000\r\n"
                                        "[Memento]\r\n1=a\r\n5=b\r\n9=c\r\n2=b\r\n3=c\r\n"
                                        "[Ajouts]\r\nNombre d'ajouts=0\r\n"));
    }

    void ecriture_impossible_signalee_a_la_fermeture() {
        // A folder in place of the settings file.
        QVERIFY(QDir().mkpath(donnees_->chemin(QStringLiteral("Kalvo.ini"))));
        messages_interceptes messages;
        {
            TForm1 f(horloge_);
            f.start_stopClick();
        }
        QCOMPARE(messages.recus.size(), 1);
        QCOMPARE(messages.recus[0].first, genre_message::erreur);
        QCOMPARE(messages.recus[0].second, QStringLiteral("Unable to write to Kalvo.ini."));
        // The call was recorded before the settings were saved.
        QFile journal(donnees_->chemin(QStringLiteral("sauve.tax")));
        QVERIFY(journal.open(QIODevice::ReadOnly));
        QVERIFY(journal.readAll().contains("Montant de la facture : 0,20 FS\r\n"));
    }

    void historique_et_periode_survivent_a_un_redemarrage() {
        {
            TForm1 f(horloge_);
            f.memento->lineEdit()->setText(QStringLiteral("  Bureau "));
            QTest::keyClick(f.memento->lineEdit(), Qt::Key_Return);
            f.N10Click();
        }
        TForm1 f(horloge_);
        QCOMPARE(f.periode_mise_a_jour(), 10000);
        QVERIFY(f.N10->isChecked());
        QCOMPARE(f.memento->itemText(0), QStringLiteral("  Bureau "));
    }
};

QTEST_MAIN(test_demarrage_reglages)
#include "test_demarrage_reglages.moc"
