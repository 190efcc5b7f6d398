#include "journal_appels.h"
#include "outils_test.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

// The call-log window on the main window's data folder, opened from its menu, driven as a user does.
class test_journal_appels : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepare_tests(); }

    // A misspelt reason merged for two calls, undone, and a forgotten "Fin" corrected: the log after each.
    void motif_annulation_et_fin_oubliee() {
        banc_principal banc;
        const fs::path journal = banc.donnees.donnees().journal();
        const texte muler = enregistrement_de({2026, 3, 2, 9}, {2026, 3, 2, 9, 5}, "Dossier M\374ler", 70);
        const texte muller =
            enregistrement_de({2026, 3, 2, 11}, {2026, 3, 2, 11, 2}, "Dossier M\374ller", 40);
        const texte oubli = enregistrement_de({2026, 3, 3, 9}, {2026, 3, 3, 15}, "Banque", 2200);
        const texte fevrier =
            enregistrement_de({2026, 2, 27, 9}, {2026, 2, 27, 9, 1}, "Dossier M\374ler", 30);
        const texte avant = fevrier + muler + muler + muller + oubli;
        ecrit_octets(journal, avant);
        banc.fenetre->fixe_alertes({.budget = true, .budget_francs = 100});
        banc.fenetre->Journaldesappels1->trigger();
        fenetre_journal* w = banc.fenetre->journal_appels;
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(w->regle->text(), u"appels commencés du 01.03.2026 au 31.03.2026"_s);
        QCOMPARE(w->budget_mois->text(), u"Ce mois\u00a0: 23,80\u00a0FS sur un budget de 100\u00a0FS"_s);
        QCOMPARE(w->appels->model()->rowCount(), 4);
        const auto ligne = [w](int l) {
            return w->appels->visualRect(w->appels->model()->index(l, 0)).center();
        };

        // The two calls of the misspelt reason, then an existing reason typed over it: they join it.
        clique(w->appels->viewport(), ligne(0));
        clique(w->appels->viewport(), ligne(1), Qt::ControlModifier);
        pendant(nullptr, [] {
            QTRY_COMPARE(QApplication::focusWidget()->window(), QApplication::activeModalWidget());
            tape(u"Dossier Müller"_s);
            touche(Qt::Key_Return);
        });
        clique(w->bouton_motif);
        const texte corrige = enregistrement_de({2026, 3, 2, 9}, {2026, 3, 2, 9, 5}, "Dossier M\374ller", 70);
        QCOMPARE(lit_octets(journal), fevrier + corrige + corrige + muller + oubli);
        QCOMPARE(w->motifs->rowCount(), 3); // Dossier Müller, Banque, and the total

        // Ctrl+Z puts the log back as it was.
        w->activateWindow(); // offscreen, nothing gives it back its activation
        QVERIFY(QTest::qWaitForWindowActive(w));
        touche(Qt::CTRL | Qt::Key_Z);
        QCOMPARE(lit_octets(journal), avant);
        QVERIFY(!w->bouton_annuler->isEnabled());

        // The forgotten "Fin": 09:00 to 15:00 becomes 09:00 to 09:10, six units of 99 s after the base
        // charge.
        clique(w->appels->viewport(), ligne(3));
        QString montre;
        pendant(nullptr, [&montre] {
            QTRY_COMPARE(QApplication::focusWidget()->window(), QApplication::activeModalWidget());
            QCOMPARE(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(), u"03.03.2026 15:00:00"_s);
            touche(Qt::CTRL | Qt::Key_A);
            tape(u"03.03.2026 09:10:00"_s);
            montre = QApplication::activeModalWidget()->findChild<QLabel*>(u"montant_corrige"_s)->text();
            touche(Qt::Key_Return);
        });
        clique(w->bouton_fin);
        QCOMPARE(montre, u"Montant corrigé : 0,80 FS"_s);
        QCOMPARE(lit_octets(journal),
                 fevrier + muler + muler + muller +
                     enregistrement_de({2026, 3, 3, 9}, {2026, 3, 3, 9, 10}, "Banque", 80));

        // A call another program logs shows at once, at the bottom.
        QVERIFY(ajoute_appel(journal, appel_du(2026, 3, 4, "Famille", 50)).ok);
        QTRY_COMPARE(w->appels->model()->rowCount(), 5);
        QCOMPARE(w->appels->model()->index(4, 5).data().toString(), u"Famille"_s);
    }
};

QTEST_MAIN(test_journal_appels)
#include "test_journal_appels.moc"
