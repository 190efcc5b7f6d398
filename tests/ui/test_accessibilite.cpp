#include "bouton_image.h"
#include "dialogue_tarifs.h"
#include "dialogue_zone.h"
#include "outils_test.h"
#include "visualisation.h"

// Keyboard and screen-reader access to every window: tab orders, names and the pop-up menu's keys.
class test_accessibilite : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepare_tests(); }

    void ordre_de_tabulation_et_noms_data() {
        QTest::addColumn<int>("fenetre");
        QTest::addColumn<QString>("suite");
        QTest::newRow("principale") << 0 << "start_stop zone memento";
        QTest::newRow("tarifs") << 1 << "OKBtn CancelBtn TLN TIN TSN TLR TIR TSR tb";
        QTest::newRow("zone") << 2 << "OKBtn CancelBtn nom_zone normal reduit supprime";
        QTest::newRow("rapport") << 3 << "OKBtn motifs valeur_totale jour mois annee BitBtn1";
    }

    // Real Tab presses from wherever the window puts the focus first, once round the whole cycle. Every stop
    // has a name of its own in its window, and on the main window the Menu key and Shift+F10 open the pop-up
    // menu (F10 alone does not).
    void ordre_de_tabulation_et_noms() {
        QFETCH(int, fenetre);
        QFETCH(QString, suite);
        const QStringList ordre = suite.split(u' ');
        banc_principal principal;
        principal.fenetre->ajoute_zone("Europe", 120, 180); // gives the zone dialog its "Supprimer" button
        TTarifs_dlg tarifs;
        TAjout_zone zone;
        zone.supprime->show();
        Tvisualisation rapport{principal.horloge, principal.donnees.donnees()};
        QWidget* w = QWidgetList{principal.fenetre.get(), &tarifs, &zone, &rapport}.at(fenetre);
        montre_active(w);
        QStringList parcours;
        QSet<QString> noms;
        for (int i = 0; i <= ordre.size(); ++i) {
            QWidget* focus = QApplication::focusWidget();
            parcours << u"<%1>"_s.arg(focus->objectName());
            for (const QString& o : ordre) {
                parcours.last() = w->findChild<QWidget*>(o)->isAncestorOf(focus) ? o : parcours.last();
            }
            const QString n = QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name);
            QVERIFY2(i == ordre.size() || (!n.isEmpty() && !noms.contains(n)), qPrintable(parcours.last()));
            noms.insert(n);
            for (const QString& k :
                 fenetre == 0 ? QStringList{u"Menu"_s, u"Shift+F10"_s, u"F10"_s} : QStringList{}) {
                touche(QKeySequence(k)[0]);
                QCOMPARE(principal.fenetre->PopupMenu1->isVisible(), k != u"F10");
                principal.fenetre->PopupMenu1->hide();
            }
            touche(Qt::Key_Tab);
        }
        const auto debut = ordre.indexOf(parcours.first());
        QCOMPARE(parcours, ordre.mid(debut) + ordre.mid(0, debut + 1));
    }
};

QTEST_MAIN(test_accessibilite)
#include "test_accessibilite.moc"
