#include "boite_a_propos.h"
#include "bouton_image.h"
#include "dialogue_tarifs.h"
#include "dialogue_zone.h"
#include "outils_test.h"
#include "visualisation.h"

#include <QAccessible>
#include <QMenu>
#include <QSet>
#include <QtTest>
#include <memory>

// Keyboard and screen-reader access to every window: tab orders, names and the pop-up menu's keys.
class test_accessibilite : public QObject {
    Q_OBJECT

    struct fenetres {
        banc_principal principal;
        TAboutBox a_propos;
        TTarifs_dlg tarifs;
        TAjout_zone zone;
        Tvisualisation rapport{principal.horloge};
    };
    std::unique_ptr<fenetres> f_;

private slots:
    void initTestCase() { prepare_tests(); }

    void init() {
        f_ = std::make_unique<fenetres>();
        // An added zone gives the zone dialog its "Supprimer" button.
        f_->principal.fenetre->ajoute_zone("Europe", 120, 180);
        f_->zone.supprime->show();
    }

    void cleanup() { f_.reset(); }

    void ordre_de_tabulation_et_noms_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("suite");
        QTest::newRow("principale") << "Form1"
                                    << "start_stop zone memento";
        QTest::newRow("tarifs") << "Tarifs_dlg"
                                << "OKBtn CancelBtn TLN TIN TSN TLR TIR TSR tb";
        QTest::newRow("zone") << "Ajout_zone"
                              << "OKBtn CancelBtn nom_zone normal reduit supprime";
        QTest::newRow("rapport") << "visualisation"
                                 << "OKBtn motifs valeur_totale jour mois annee BitBtn1";
    }

    // Real Tab presses from wherever the window puts the focus first, once round the whole cycle. Every stop
    // has a name of its own in its window, and on the main window the
    // Menu key and Shift+F10 open the pop-up menu (F10 alone does not).
    void ordre_de_tabulation_et_noms() {
        QFETCH(QString, nom);
        QFETCH(QString, suite);
        const QStringList ordre = suite.split(QLatin1Char(' '));
        const QWidgetList hautes = QApplication::topLevelWidgets();
        QWidget* w =
            *std::find_if(hautes.begin(), hautes.end(), [&](QWidget* t) { return t->objectName() == nom; });
        QMenu* menu = f_->principal.fenetre->PopupMenu1;
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QStringList parcours;
        QSet<QString> noms;
        for (int i = 0; i <= ordre.size(); ++i) {
            QWidget* focus = QApplication::focusWidget();
            parcours << QStringLiteral("<%1>").arg(focus->objectName());
            for (const QString& o : ordre) {
                parcours.last() = w->findChild<QWidget*>(o)->isAncestorOf(focus) ? o : parcours.last();
            }
            const QString n = QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name);
            QVERIFY2(i == ordre.size() || (!n.isEmpty() && !noms.contains(n)), qPrintable(parcours.last()));
            noms.insert(n);
            for (const auto& [t, modificateurs] :
                 {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier},
                  std::pair{Qt::Key_F10, Qt::NoModifier}}) {
                if (w == f_->principal.fenetre.get()) {
                    touche(t, modificateurs);
                    QCOMPARE(menu->isVisible(), t == Qt::Key_Menu || modificateurs == Qt::ShiftModifier);
                    menu->hide();
                }
            }
            touche(Qt::Key_Tab);
        }
        const auto debut = ordre.indexOf(parcours.first());
        QCOMPARE(parcours, ordre.mid(debut) + ordre.mid(0, debut + 1));
    }
};

QTEST_MAIN(test_accessibilite)
#include "test_accessibilite.moc"
