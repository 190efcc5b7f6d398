#include "conversion_texte.h"
#include "outils_test.h"
#include "storage/verrou_journal.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <memory>

// The running call is kept on the disk from its start to its record in the log.
class test_appel_protege : public QObject {
    Q_OBJECT

    std::unique_ptr<banc_principal> banc_;
    std::unique_ptr<TForm1>& fenetre_() { return banc_->fenetre; }
    QByteArray lit(const QString& nom) { return banc_->donnees.lit(nom); }

private slots:
    void initTestCase() { prepare_tests(); }
    void init() { banc_ = std::make_unique<banc_principal>(); }
    void cleanup() { banc_.reset(); }

    void etat_sauve_a_chaque_tick_puis_oublie() {
        fenetre_()->start_stopClick();
        QVERIFY(lit(QStringLiteral("appel_en_cours.tax")).contains("Montant de la facture : 0,20 FS\r\n"));
        banc_->horloge.avance_s(100);
        fenetre_()->horlogeTimer();
        const QByteArray etat = lit(QStringLiteral("appel_en_cours.tax"));
        QVERIFY(etat.contains("Fin de l'appel        : mercredi 04.03.26 \xE0 10:01:40\r\n"));
        QVERIFY(etat.contains("Montant de la facture : 0,30 FS\r\n"));
        fenetre_()->start_stopClick();
        QCOMPARE(lit(QStringLiteral("sauve.tax")), etat);
        QCOMPARE(lit(QStringLiteral("appel_en_cours.tax")), QByteArray("<absent>"));
    }

    void journal_occupe_l_appel_reste_sur_le_disque() {
        messages_interceptes messages;
        {
            // kalvo-journal holds the log's lock for longer than Kalvo waits.
            attente_verrou_journal = std::chrono::milliseconds(0);
            const verrou_journal autre_programme(
                banc_->donnees.chemin(QStringLiteral("sauve.tax")).toStdString());
            fenetre_()->start_stopClick();
            fenetre_()->start_stopClick();
            fenetre_()->Proprits1Click();
            attente_verrou_journal = std::chrono::seconds(5);
        }
        QCOMPARE(messages.recus.size(), 2);
        QCOMPARE(messages.recus[0].second, depuis_utf8(message_appel_journal_occupe));
        QCOMPARE(messages.recus[1].second, depuis_utf8(message_effacement_occupe));
        QCOMPARE(lit(QStringLiteral("sauve.tax")), QByteArray("<absent>"));
        QVERIFY(lit(QStringLiteral("appel_en_cours.tax")).contains("Montant de la facture : 0,20 FS\r\n"));
    }

    void reglages_illisibles_signales() {
        fenetre_().reset(); // it saved its settings: replace that file by a folder
        QVERIFY(QFile::remove(banc_->donnees.chemin(QStringLiteral("Kalvo.ini"))));
        QVERIFY(QDir().mkpath(banc_->donnees.chemin(QStringLiteral("Kalvo.ini"))));
        messages_interceptes messages;
        fenetre_() = std::make_unique<TForm1>(banc_->horloge);
        QTRY_COMPARE(messages.recus.size(), 1);
        QVERIFY(messages.recus[0].second.startsWith(
            QStringLiteral("Le fichier de réglages Kalvo.ini n'a pas pu être lu")));
        QCOMPARE(fenetre_()->periode_mise_a_jour(), 1000);
        fenetre_().reset(); // its save fails too, and says so while the boxes are still caught
        QCOMPARE(messages.recus.size(), 2);
    }

    void etat_impossible_a_sauver_dit_une_fois() {
        // A folder with something in it where the state file goes: it cannot be replaced.
        QVERIFY(QDir().mkpath(banc_->donnees.chemin(QStringLiteral("appel_en_cours.tax/x"))));
        messages_interceptes messages;
        fenetre_()->start_stopClick();
        for (int i = 0; i < 3; ++i) {
            banc_->horloge.avance_s(1);
            fenetre_()->horlogeTimer();
        }
        QCOMPARE(messages.recus.size(), 1);
        QVERIFY(messages.recus[0].second.startsWith(
            QStringLiteral("L'appel en cours ne peut pas être sauvegardé")));
        fenetre_()->start_stopClick();
        QVERIFY(lit(QStringLiteral("sauve.tax")).contains("Montant de la facture : 0,20 FS\r\n"));
    }
};

QTEST_MAIN(test_appel_protege)
#include "test_appel_protege.moc"
