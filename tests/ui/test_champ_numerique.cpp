#include "outils_test.h"
#include "ui/champ_numerique.h"

#include <QAbstractButton>
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class test_champ_numerique : public QObject {
    Q_OBJECT

    QDialog* fenetre_ = nullptr;
    champ_numerique* champ_ = nullptr;
    QPushButton* ok_ = nullptr;

    QAbstractButton* bouton(const char* nom) const { return champ_->findChild<QAbstractButton*>(nom); }

private slots:
    void initTestCase() { prepare_tests(); }

    // A field of the base-charge kind (0 to 50000, step 5) beside a button that can take the focus.
    void init() {
        fenetre_ = new QDialog;
        champ_ = new champ_numerique(fenetre_);
        champ_->setGeometry(8, 8, 41, 22);
        champ_->fixe_bornes(0, 50000);
        champ_->fixe_pas(5);
        champ_->fixe_valeur(20);
        ok_ = new QPushButton("OK", fenetre_);
        ok_->setGeometry(60, 8, 75, 25);
        fenetre_->show();
        QVERIFY(QTest::qWaitForWindowActive(fenetre_));
        champ_->setFocus();
    }

    void cleanup() { delete fenetre_; }

    void frappe_data() {
        QTest::addColumn<QString>("frappe");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<int>("refus");
        // clang-format off
        QTest::newRow("signes et separateurs") << "-1,5+.2" << "-1,5+.2" << 0;
        QTest::newRow("lettres") << "1a2B" << "12" << 2;
        QTest::newRow("espace et ponctuation") << " 3/e*" << "3" << 4;
        QTest::newRow("hors ASCII") << "4é٣" << "4" << 2;
        // clang-format on
    }

    void frappe() {
        QFETCH(QString, frappe);
        QFETCH(QString, texte);
        QFETCH(int, refus);
        champ_->fixe_texte("");
        QSignalSpy refuses(champ_, &champ_numerique::caractere_refuse);
        // keyClicks() only takes Latin-1; a keyboard can send any character.
        for (const QChar c : frappe) {
            QTest::sendKeyEvent(QTest::Click, champ_, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QCOMPARE(champ_->texte(), texte);
        QCOMPARE(refuses.count(), refus);
    }

    void lecture_data() {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<int>("valeur");
        QTest::newRow("signe plus") << "+35" << 35;
        QTest::newRow("en dessous") << "-3" << 0;
        QTest::newRow("trop long pour 64 bits") << "123456789012345678901234" << 50000;
        QTest::newRow("vide") << "" << 0;
        QTest::newRow("decimal") << "12.5" << 0;
    }

    void lecture() {
        QFETCH(QString, texte);
        QFETCH(int, valeur);
        champ_->fixe_texte(texte);
        QCOMPARE(champ_->valeur(), valeur);
        champ_->fixe_bornes(10, 50000);
        QCOMPARE(champ_->valeur(), std::max(valeur, 10));
    }

    void hors_bornes_corrige_a_la_perte_du_focus_seulement() {
        champ_->fixe_texte("");
        QTest::keyClicks(champ_, "60000");
        QCOMPARE(champ_->texte(), "60000");
        ok_->setFocus(Qt::TabFocusReason);
        QCOMPARE(champ_->texte(), "50000");

        champ_->setFocus();
        champ_->fixe_texte("-3");
        ok_->setFocus(Qt::MouseFocusReason);
        QCOMPARE(champ_->texte(), "0");

        // Not a number: left for the user to fix, read as the minimum meanwhile.
        champ_->setFocus();
        champ_->fixe_texte("1.5");
        ok_->setFocus(Qt::TabFocusReason);
        QCOMPARE(champ_->texte(), "1.5");
    }

    void fleches_du_clavier_avancent_du_pas_dans_les_bornes() {
        QTest::keyClick(champ_, Qt::Key_Up);
        QCOMPARE(champ_->texte(), "25");
        champ_->fixe_valeur(49998);
        QTest::keyClick(champ_, Qt::Key_Up);
        QCOMPARE(champ_->texte(), "50000");
        champ_->fixe_valeur(3);
        QTest::keyClick(champ_, Qt::Key_Down);
        QCOMPARE(champ_->texte(), "0");

        // Stepping starts from the value as read, not from the raw text.
        champ_->fixe_texte("60000");
        QTest::keyClick(champ_, Qt::Key_Down);
        QCOMPARE(champ_->texte(), "49995");
        champ_->fixe_texte("abc");
        QTest::keyClick(champ_, Qt::Key_Up);
        QCOMPARE(champ_->texte(), "5");
    }

    void bouton_tenu_repete_sans_pas_de_plus_au_relachement() {
        QTest::mousePress(bouton("haut"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(champ_->valeur() >= 40, 5000);
        const QString avant = champ_->texte();
        QTest::mouseRelease(bouton("haut"), Qt::LeftButton);
        QCOMPARE(champ_->texte(), avant);

        // The next click is a new press: it steps again.
        QTest::mouseClick(bouton("haut"), Qt::LeftButton);
        QCOMPARE(champ_->valeur(), avant.toInt() + 5);
    }
};

QTEST_MAIN(test_champ_numerique)
#include "test_champ_numerique.moc"
