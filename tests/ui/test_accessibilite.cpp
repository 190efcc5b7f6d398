#include "boite_a_propos.h"
#include "bouton_image.h"
#include "dialogue_tarifs.h"
#include "dialogue_zone.h"
#include "outils_test.h"
#include "visualisation.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QtTest>
#include <memory>

// Keyboard and screen-reader access to every window: tab orders, names and the pop-up menu's keys.
class test_accessibilite : public QObject {
    Q_OBJECT

    std::unique_ptr<banc_principal> banc_;
    std::unique_ptr<QWidget> fenetres_[4];

    TForm1& f() { return *banc_->fenetre; }

    static QString nom_accessible(QWidget* w) {
        QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(w);
        return interface != nullptr ? interface->text(QAccessible::Name) : QString();
    }

    // The control among `noms` that the focused widget belongs to (a spin field's line edit, a radio button).
    static QString controle(QWidget* w, QWidget* fenetre, const QStringList& noms) {
        for (QWidget* v = w; v != nullptr && v != fenetre; v = v->parentWidget()) {
            if (noms.contains(v->objectName())) {
                return v->objectName();
            }
        }
        return w == nullptr ? QStringLiteral("<aucun>") : QStringLiteral("<%1>").arg(w->objectName());
    }

private slots:
    void initTestCase() { prepare_tests(); }

    void init() {
        banc_ = std::make_unique<banc_principal>();
        // An added zone gives the zone dialog its "Supprimer" button.
        f().ajoute_zone("Europe", 120, 180);
        fenetres_[0] = std::make_unique<TAboutBox>();
        fenetres_[1] = std::make_unique<TTarifs_dlg>();
        fenetres_[2] = std::make_unique<TAjout_zone>();
        fenetres_[3] = std::make_unique<Tvisualisation>(banc_->horloge);
        static_cast<TAjout_zone*>(fenetres_[2].get())->supprime->show();
    }

    void cleanup() {
        for (auto& w : fenetres_) {
            w.reset();
        }
        banc_.reset();
    }

    void ordre_de_tabulation_et_noms_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QStringList>("ordre");
        QTest::newRow("principale") << "Form1" << QStringList{"start_stop", "zone", "memento"};
        QTest::newRow("a propos") << "AboutBox" << QStringList{"OKButton"};
        QTest::newRow("tarifs") << "Tarifs_dlg" << QStringList{"OKBtn", "CancelBtn", "TLN", "TIN", "TSN",
                                                               "TLR",   "TIR",       "TSR", "tb"};
        QTest::newRow("zone") << "Ajout_zone" << QStringList{"OKBtn",  "CancelBtn", "nom_zone",
                                                             "normal", "reduit",    "supprime"};
        QTest::newRow("rapport") << "visualisation" << QStringList{"OKBtn", "motifs", "valeur_totale", "jour",
                                                                   "mois",  "annee",  "BitBtn1"};
    }

    // Real Tab presses from wherever the window puts the focus first, once round the whole cycle; every stop has a
    // name of its own in its window, and a field with a label is named by it.
    void ordre_de_tabulation_et_noms() {
        QFETCH(QString, nom);
        QFETCH(QStringList, ordre);
        QWidget* w = nullptr;
        for (QWidget* t : QApplication::topLevelWidgets()) {
            w = t->objectName() == nom ? t : w;
        }
        messages_interceptes messages;
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QStringList parcours;
        QSet<QString> noms;
        for (int i = 0; i <= ordre.size(); ++i) {
            parcours << controle(QApplication::focusWidget(), w, ordre);
            const QString n = nom_accessible(QApplication::focusWidget());
            QVERIFY2(i == ordre.size() || (!n.isEmpty() && !noms.contains(n)), qPrintable(parcours.last()));
            noms.insert(n);
            for (QLabel* etiquette : w->findChildren<QLabel*>()) {
                if (etiquette->buddy() != nullptr && etiquette->buddy()->isAncestorOf(QApplication::focusWidget())) {
                    QVERIFY2(n.startsWith(etiquette->text()), qPrintable(n));
                }
            }
            touche(Qt::Key_Tab);
        }
        const auto debut = ordre.indexOf(parcours.first());
        QCOMPARE(parcours, ordre.mid(debut) + ordre.mid(0, debut + 1));
        w->hide();
    }

    // Kalvo's own keys, whatever control has the focus: the Menu key and Shift+F10, not F10 alone.
    void le_menu_s_ouvre_au_clavier_depuis_chaque_controle() {
        f().show();
        QVERIFY(QTest::qWaitForWindowActive(&f()));
        for (int arret = 0; arret < 3; ++arret) {
            touche(Qt::Key_F10);
            QVERIFY(!f().PopupMenu1->isVisible());
            for (const auto& [t, modificateurs] :
                 {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
                touche(t, modificateurs);
                QVERIFY2(f().PopupMenu1->isVisible(), qPrintable(QApplication::focusWidget()->objectName()));
                f().PopupMenu1->hide();
            }
            touche(Qt::Key_Tab);
        }
    }
};

QTEST_MAIN(test_accessibilite)
#include "test_accessibilite.moc"
