#include "champ_numerique.h"
#include "dialogue_tarifs.h"
#include "outils_test.h"
#include "storage/reglages.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

class test_dialogue_tarifs : public QObject {
    Q_OBJECT

    std::unique_ptr<banc_principal> banc_;
    std::unique_ptr<TTarifs_dlg> dialogue_;

    TTarifs_dlg& d() { return *dialogue_; }
    table_zones& zones() { return banc_->fenetre->zones(); }
    reglages_lus relus() const {
        return lit_reglages(banc_->donnees.chemin(QStringLiteral("Kalvo.ini")).toStdString());
    }
    QByteArray ini() const { return banc_->donnees.lit(QStringLiteral("Kalvo.ini")); }
    void montre() {
        d().show();
        QVERIFY(QTest::qWaitForWindowActive(dialogue_.get()));
    }
    // Tabs to the field as the user does (Tab selects its text), then types over it.
    static void tape(champ_numerique* champ, const QString& texte) {
        for (int i = 0; i < 10 && !champ->isAncestorOf(QApplication::focusWidget()); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        QTest::keyClicks(QApplication::focusWidget(), texte);
    }

private slots:
    void initTestCase() { prepare_tests(); }

    void init() {
        banc_ = std::make_unique<banc_principal>();
        dialogue_ = std::make_unique<TTarifs_dlg>();
    }

    void cleanup() {
        dialogue_.reset();
        banc_.reset();
    }

    void valeurs_initiales_ok_sans_changement_ecrit_les_sept_cles_dans_l_ordre() {
        montre();
        const champ_numerique* champs[] = {d().TLN, d().TSN, d().TIN, d().TLR, d().TSR, d().TIR, d().tb};
        const int attendus[] = {990, 384, 226, 2240, 588, 406, 20};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(champs[i]->texte(), QString::number(attendus[i]));
        }
        QTest::mouseClick(d().OKBtn, Qt::LeftButton);
        QCOMPARE(d().result(), int(QDialog::Accepted));
        QCOMPARE(ini(), QByteArray("[Tarifs]\r\n"
                                   "Taxe de base=20\r\n"
                                   "Dur\351e local r\351duit=2240\r\n"
                                   "Dur\351e suburbain r\351duit=588\r\n"
                                   "Dur\351e interurbain r\351duit=406\r\n"
                                   "Dur\351e local normal=990\r\n"
                                   "Dur\351e suburbain normal=384\r\n"
                                   "Dur\351e interurbain normal=226\r\n"));
    }

    void textes_hors_bornes_ou_illisibles_lus_comme_bornes_meme_par_entree() {
        montre();
        tape(d().TSR, QStringLiteral("0"));
        tape(d().TIN, QStringLiteral("-"));
        tape(d().TLR, QStringLiteral("2,5"));
        tape(d().tb, QString());
        tape(d().TLN, QStringLiteral("60000"));
        // Still uncorrected: the field has kept the focus. Enter reaches OK all the same.
        QCOMPARE(d().TLN->texte(), QStringLiteral("60000"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(d().result(), int(QDialog::Accepted));
        QCOMPARE(zones().duree_unite(0, periode::normale), 5000.0);
        QCOMPARE(zones().duree_unite(1, periode::reduite), 0.1);
        QCOMPARE(zones().duree_unite(2, periode::normale), 0.1);
        QCOMPARE(zones().duree_unite(0, periode::reduite), 0.1);
        QCOMPARE(zones().taxe_base(), 0);
        const reglages_lus r = relus();
        QCOMPARE(r.tarifs.normal[0], 50000);
        QCOMPARE(r.tarifs.reduit[1], 1);
        QCOMPARE(r.tarifs.taxe_base, 0);
    }

    void annuler_ne_change_rien_et_chaque_ouverture_relit() {
        // Opened from the main window's menu, as the user does; the check runs inside its modal loop.
        QTimer::singleShot(0, dialogue_.get(), [this] {
            QVERIFY(QTest::qWaitForWindowActive(dialogue_.get()));
            tape(d().TLN, QStringLiteral("500"));
            tape(d().tb, QStringLiteral("20"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up); // the base charge steps by 5
            QCOMPARE(d().tb->valeur(), 25);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        banc_->fenetre->Dfinitiondestarifsdebase1Click();
        QCOMPARE(d().result(), int(QDialog::Rejected));

        // What is in force changes between showings: the next one shows it, not the cancelled edit.
        zones().fixe_duree(1, periode::reduite, 40.6);
        montre();
        QCOMPARE(d().TLN->valeur(), 990);
        QCOMPARE(d().tb->valeur(), 20);
        QCOMPARE(d().TSR->valeur(), 406);
        QCOMPARE(zones().duree_unite(0, periode::normale), 99.0);
        QCOMPARE(zones().taxe_base(), 20);
        QCOMPARE(ini(), QByteArray("<absent>"));
    }

    void ecriture_impossible_signalee_valeurs_en_vigueur_quand_meme() {
        // A folder where the settings file should be: nothing can be written.
        QVERIFY(QDir().mkpath(banc_->donnees.chemin(QStringLiteral("Kalvo.ini"))));
        messages_interceptes messages;
        montre();
        tape(d().TLN, QStringLiteral("500"));
        QTest::mouseClick(d().OKBtn, Qt::LeftButton);
        QCOMPARE(messages.recus.size(), 1);
        QCOMPARE(messages.recus[0].first, genre_message::erreur);
        QCOMPARE(messages.recus[0].second, QStringLiteral("Unable to write to Kalvo.ini."));
        QCOMPARE(d().result(), int(QDialog::Accepted));
        QCOMPARE(zones().duree_unite(0, periode::normale), 50.0);
        banc_->fenetre.reset(); // its own save fails too; the box must be caught while the interceptor lives
    }
};

QTEST_MAIN(test_dialogue_tarifs)
#include "test_dialogue_tarifs.moc"
