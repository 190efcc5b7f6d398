#include "outils_test.h"
#include "ui/champ_numerique.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>
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

    // A field of the base-charge kind (0 to 50000, step 5) beside a default button that can take the focus.
    void init() {
        fenetre_ = new QDialog;
        champ_ = new champ_numerique(fenetre_);
        champ_->setGeometry(8, 8, 41, 22);
        champ_->fixe_bornes(0, 50000);
        champ_->fixe_pas(5);
        champ_->fixe_valeur(20);
        ok_ = new QPushButton("OK", fenetre_);
        ok_->setGeometry(60, 8, 75, 25);
        ok_->setDefault(true);
        connect(ok_, &QPushButton::clicked, fenetre_, &QDialog::accept);
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

    void raccourcis_et_touches_de_commande_passent() {
        QSignalSpy refuses(champ_, &champ_numerique::caractere_refuse);
        QTest::keyClick(champ_, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(champ_, "7");
        QCOMPARE(champ_->texte(), "7");
        QTest::keyClick(champ_, Qt::Key_Backspace);
        QTest::keyClick(champ_, Qt::Key_Escape);
        QCOMPARE(champ_->texte(), "");
        QCOMPARE(refuses.count(), 0);
    }

    void lecture_data() {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<int>("valeur");
        QTest::newRow("signe plus") << "+35" << 35;
        QTest::newRow("au-dessus") << "60000" << 50000;
        QTest::newRow("en dessous") << "-3" << 0;
        QTest::newRow("trop long pour 64 bits") << "123456789012345678901234" << 50000;
        QTest::newRow("vide") << "" << 0;
        QTest::newRow("signe seul") << "-" << 0;
        QTest::newRow("decimal") << "12.5" << 0;
        QTest::newRow("lettres collees") << "12abc" << 0;
    }

    void lecture() {
        QFETCH(QString, texte);
        QFETCH(int, valeur);
        champ_->fixe_texte(texte);
        QCOMPARE(champ_->valeur(), valeur);
        champ_->fixe_bornes(10, 50000);
        QCOMPARE(champ_->valeur(), std::max(valeur, 10));
    }

    void fixe_valeur_ramene_dans_les_bornes() {
        champ_->fixe_bornes(1996, 2100);
        champ_->fixe_valeur(2200);
        QCOMPARE(champ_->texte(), "2100");
        champ_->fixe_valeur(1990);
        QCOMPARE(champ_->texte(), "1996");
    }

    void hors_bornes_corrige_a_la_perte_du_focus_seulement() {
        champ_->fixe_texte("");
        QTest::keyClicks(champ_, "60000");
        QCOMPARE(champ_->texte(), "60000");
        QCOMPARE(champ_->valeur(), 50000);
        ok_->setFocus(Qt::TabFocusReason);
        QCOMPARE(champ_->texte(), "50000");

        champ_->fixe_bornes(1, 50000);
        champ_->setFocus();
        champ_->fixe_texte("0");
        ok_->setFocus(Qt::MouseFocusReason);
        QCOMPARE(champ_->texte(), "1");

        // Not a number: left for the user to fix, read as the minimum meanwhile.
        champ_->setFocus();
        champ_->fixe_texte("1.5");
        ok_->setFocus(Qt::TabFocusReason);
        QCOMPARE(champ_->texte(), "1.5");
    }

    void entree_atteint_le_bouton_par_defaut_avec_la_valeur_bornee() {
        champ_->fixe_texte("60000");
        int lue = -1;
        connect(fenetre_, &QDialog::accepted, this, [&] { lue = champ_->valeur(); });
        QTest::keyClick(champ_, Qt::Key_Return);
        QCOMPARE(lue, 50000);
    }

    void fleches_du_clavier_avancent_du_pas_dans_les_bornes() {
        QTest::keyClick(champ_, Qt::Key_Up);
        QCOMPARE(champ_->texte(), "25");
        QTest::keyClick(champ_, Qt::Key_Down);
        QTest::keyClick(champ_, Qt::Key_Down);
        QCOMPARE(champ_->texte(), "15");

        champ_->fixe_valeur(49998);
        QTest::keyClick(champ_, Qt::Key_Up);
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

    void clic_avance_une_fois_au_relachement_sur_le_bouton() {
        QTest::mousePress(bouton("haut"), Qt::LeftButton);
        QCOMPARE(champ_->texte(), "20");
        QTest::mouseRelease(bouton("haut"), Qt::LeftButton);
        QCOMPARE(champ_->texte(), "25");
        QTest::mouseClick(bouton("bas"), Qt::LeftButton);
        QTest::mouseClick(bouton("bas"), Qt::LeftButton);
        QCOMPARE(champ_->texte(), "15");

        QTest::mousePress(bouton("haut"), Qt::LeftButton);
        QTest::mouseRelease(bouton("haut"), Qt::LeftButton, {}, QPoint(-20, -20));
        QCOMPARE(champ_->texte(), "15");
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

    void signal_a_chaque_changement_du_texte() {
        QSignalSpy modifie(champ_, &champ_numerique::texte_modifie);
        QTest::keyClicks(champ_, "3");
        champ_->fixe_valeur(7);
        QTest::keyClick(champ_, Qt::Key_Up);
        QTest::mouseClick(bouton("bas"), Qt::LeftButton);
        QCOMPARE(modifie.count(), 4);
        QTest::keyClicks(champ_, "x");
        QCOMPARE(modifie.count(), 4);
    }

    void focus_et_nom_accessible_vont_a_l_edition() {
        auto* edition = champ_->findChild<QLineEdit*>("edition");
        champ_->setAccessibleName("Jour");
        QCOMPARE(edition->accessibleName(), "Jour");

        QWidget::setTabOrder(ok_, champ_);
        ok_->setFocus();
        QTest::keyClick(ok_, Qt::Key_Tab);
        QVERIFY(edition->hasFocus());

        // Pressing an arrow takes the focus from another field, which then corrects its text.
        auto* autre = new champ_numerique(fenetre_);
        autre->fixe_bornes(1, 31);
        autre->show();
        autre->fixe_texte("45");
        autre->setFocus();
        QTest::mouseClick(bouton("haut"), Qt::LeftButton);
        QVERIFY(edition->hasFocus());
        QCOMPARE(autre->texte(), "31");
    }
};

QTEST_MAIN(test_champ_numerique)
#include "test_champ_numerique.moc"
