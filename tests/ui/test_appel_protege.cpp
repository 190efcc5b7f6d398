#include "conversion_texte.h"
#include "outils_test.h"
#include "storage/verrou_journal.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QtTest>
#include <memory>

// The running call is kept on the disk from its start to its record in the log.
class test_appel_protege : public QObject {
    Q_OBJECT

    std::unique_ptr<banc_principal> banc_;
    TForm1& f() { return *banc_->fenetre; }
    QString chemin(const char* nom) { return banc_->donnees.chemin(QString::fromLatin1(nom)); }
    QByteArray lit(const char* nom) { return banc_->donnees.lit(QString::fromLatin1(nom)); }

private slots:
    void initTestCase() { prepare_tests(); }
    void init() {
        banc_ = std::make_unique<banc_principal>();
        f().show();
        QVERIFY(QTest::qWaitForWindowActive(&f()));
    }
    void cleanup() { banc_.reset(); }

    void etat_sauve_a_chaque_tick_puis_oublie() {
        clique(f().start_stop);
        QVERIFY(lit("appel_en_cours.tax").contains("Montant de la facture : 0,20 FS\r\n"));
        banc_->horloge.avance_s(100);
        f().horlogeTimer();
        const QByteArray etat = lit("appel_en_cours.tax"); // what "Fin" appends, as the log's tests know it
        clique(f().start_stop);
        QCOMPARE(lit("sauve.tax"), etat);
        QCOMPARE(lit("appel_en_cours.tax"), QByteArray("<absent>"));
    }

    void journal_occupe_l_appel_reste_sur_le_disque() {
        messages_interceptes messages;
        attente_verrou_journal = std::chrono::milliseconds(0);
        {
            // kalvo-journal holds the log's lock for longer than Kalvo waits.
            const verrou_journal autre_programme(chemin("sauve.tax").toStdString());
            clique(f().start_stop);
            clique(f().start_stop);
            f().Proprits1Click();
        }
        attente_verrou_journal = std::chrono::seconds(5);
        QCOMPARE(messages.recus.size(), 2);
        QCOMPARE(messages.recus[0].second, depuis_utf8(message_appel_journal_occupe));
        QCOMPARE(messages.recus[1].second, depuis_utf8(message_effacement_occupe));
        QCOMPARE(lit("sauve.tax"), QByteArray("<absent>"));
        QVERIFY(lit("appel_en_cours.tax").contains("Montant de la facture : 0,20 FS\r\n"));
    }

    void reglages_illisibles_signales() {
        banc_->fenetre.reset(); // it saved its settings: replace that file by a folder
        QVERIFY(QFile::remove(chemin("Kalvo.ini")) && QDir().mkpath(chemin("Kalvo.ini")));
        messages_interceptes messages;
        banc_->fenetre = std::make_unique<TForm1>(banc_->horloge);
        QTRY_COMPARE(messages.recus.size(), 1);
        QVERIFY(messages.recus[0].second.startsWith(
            QStringLiteral("Le fichier de réglages Kalvo.ini n'a pas pu être lu")));
        QCOMPARE(f().periode_mise_a_jour(), 1000);
        banc_->fenetre.reset(); // its save fails too, and says so while the boxes are still caught
        QCOMPARE(messages.recus.size(), 2);
    }

    void etat_impossible_a_sauver_dit_une_fois() {
        // A folder with something in it where the state file goes: it cannot be replaced.
        QVERIFY(QDir().mkpath(chemin("appel_en_cours.tax/x")));
        messages_interceptes messages;
        clique(f().start_stop);
        for (int i = 0; i < 3; ++i) {
            banc_->horloge.avance_s(1);
            f().horlogeTimer();
        }
        QCOMPARE(messages.recus.size(), 1);
        QVERIFY(messages.recus[0].second.startsWith(
            QStringLiteral("L'appel en cours ne peut pas être sauvegardé")));
        clique(f().start_stop);
        QVERIFY(lit("sauve.tax").contains("Montant de la facture : 0,20 FS\r\n"));
    }
};

QTEST_MAIN(test_appel_protege)
#include "test_appel_protege.moc"
