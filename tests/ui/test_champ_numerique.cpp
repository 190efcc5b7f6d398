#include "outils_test.h"
#include "ui/champ_numerique.h"

class test_champ_numerique : public QObject {
    Q_OBJECT

    std::unique_ptr<QDialog> fenetre_;
    champ_numerique* champ_ = nullptr;

    // The characters the field shows, as its line edit finds them at its two edges once painted.
    QString montre() const {
        auto* e = champ_->findChild<QLineEdit*>();
        e->repaint();
        const int debut = e->cursorPositionAt({0, e->height() / 2});
        return e->text().mid(debut, e->cursorPositionAt({e->width() - 1, e->height() / 2}) - debut);
    }

private slots:
    void initTestCase() { prepare_tests(); }

    // A field of 10 to 50000 by 5, beside a button that can take the focus.
    void init() {
        fenetre_ = std::make_unique<QDialog>();
        champ_ = new champ_numerique(fenetre_.get());
        champ_->setGeometry(8, 8, 41, 22);
        champ_->fixe_bornes(10, 50000);
        champ_->fixe_pas(5);
        (new QPushButton("OK", fenetre_.get()))->setGeometry(60, 8, 75, 25);
        montre_active(fenetre_.get());
        clique(champ_, QPoint(4, 11));
    }

    // What is typed, the text and the beeps it gives, the value read, then a key (Up, Down or Tab to leave),
    // the text after it and what of it shows: the field is as wide as the base charge's, which shows four
    // digits, and a text wider than that shows its start once the field is left.
    void frappe_data() {
        for (const char* colonne : {"frappe", "texte", "refus", "valeur", "touche", "apres", "montre"}) {
            QTest::addColumn<QString>(colonne);
        }
        // clang-format off
        QTest::newRow("lettres refusees") << "1a2B" << "12" << "2" << "12" << "Up" << "17" << "17";
        QTest::newRow("espace, ponctuation, hors ASCII") << " 3/e*é٣" << "3" << "6" << "10" << "Down" << "10" << "10";
        QTest::newRow("signes et separateurs") << "-1,5+.2" << "-1,5+.2" << "0" << "10" << "Tab" << "-1,5+.2" << "-1,5+.";
        QTest::newRow("vide") << "" << "" << "0" << "10" << "Up" << "15" << "15";
        QTest::newRow("signe plus, quatre chiffres") << "+1000" << "+1000" << "0" << "1000" << "Tab" << "1000" << "1000";
        // A step goes from the number typed, then into the range.
        QTest::newRow("au-dessus") << "60000" << "60000" << "0" << "50000" << "Down" << "50000" << "5000";
        QTest::newRow("au-dessous") << "7" << "7" << "0" << "10" << "Up" << "12" << "12";
        QTest::newRow("negatif") << "-5" << "-5" << "0" << "10" << "Up" << "10" << "10";
        QTest::newRow("trop long pour 64 bits") << "123456789012345678901234" << "123456789012345678901234" << "0" << "50000" << "Tab" << "50000" << "5000";
        QTest::newRow("negatif trop long") << "-99999999999999999999" << "-99999999999999999999" << "0" << "10" << "Tab" << "10" << "10";
        // clang-format on
    }

    void frappe() {
        QFETCH(QString, frappe);
        QFETCH(QString, touche);
        QSignalSpy refuses(champ_, &champ_numerique::caractere_refuse);
        champ_->fixe_texte("");
        tape(frappe); // keyClicks() only takes Latin-1; a keyboard can send any character
        QTEST(champ_->texte(), "texte");
        QTEST(QString::number(refuses.count()), "refus");
        QTEST(QString::number(champ_->valeur()), "valeur");
        ::touche(QKeySequence(touche)[0]);
        QTEST(champ_->texte(), "apres");
        QTEST(montre(), "montre");
    }

    // The wheel over a field steps it only once the field has the focus: first it is on the button.
    void molette_seulement_avec_le_focus() {
        touche(Qt::Key_Tab);
        for (const int attendu : {10, 15}) {
            QWheelEvent roue(champ_->mapTo(fenetre_.get(), QPoint(4, 11)), {}, {}, {0, 120}, Qt::NoButton,
                             Qt::NoModifier, Qt::NoScrollPhase, false);
            QSpontaneKeyEvent::setSpontaneous(&roue); // as the system's: it goes up from the line edit
            qApp->notify(fenetre_->windowHandle(), &roue);
            QCOMPARE(champ_->valeur(), attendu);
            clique(champ_, QPoint(4, 11));
        }
    }

    void clic_avance_au_relachement_et_fleche_tenue_repete_menu_en_francais() {
        // The field's own context menu speaks French like the rest of Kalvo.
        QCOMPARE(QCoreApplication::translate("QAbstractSpinBox", "&Step up"), u"&Augmenter"_s);
        const QPoint haut(champ_->width() - 6, 5), bas(champ_->width() - 6, champ_->height() - 5);
        clique(champ_, haut, {}, QTest::MousePress);
        QCOMPARE(champ_->valeur(), 10);
        clique(champ_, haut, {}, QTest::MouseRelease);
        clique(champ_, bas, {}, QTest::MousePress);
        clique(champ_, haut, {}, QTest::MouseRelease); // off the arrow pressed: no step
        QCOMPARE(champ_->valeur(), 15);
        // Held 450 ms: nothing before 400 ms, a step then, and one more at the release; the repetition
        // stops with the release.
        clique(champ_, haut, {}, QTest::MousePress);
        QTest::qWait(350);
        QCOMPARE(champ_->valeur(), 15);
        QTest::qWait(100);
        clique(champ_, haut, {}, QTest::MouseRelease);
        QCOMPARE(champ_->valeur(), 25);
        QTest::qWait(150);
        clique(champ_, bas);
        QCOMPARE(champ_->valeur(), 20);
    }
};

QTEST_MAIN(test_champ_numerique)
#include "test_champ_numerique.moc"
