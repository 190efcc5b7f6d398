#include "boite_a_propos.h"
#include "bouton_image.h"
#include "champ_numerique.h"
#include "dialogue_tarifs.h"
#include "dialogue_zone.h"
#include "groupe_radio.h"
#include "outils_test.h"
#include "visualisation.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QtTest>
#include <memory>

// Keyboard and screen-reader access to every window: names, tab orders and the pop-up menu.
class test_accessibilite : public QObject {
    Q_OBJECT

    std::unique_ptr<banc_principal> banc_;
    std::unique_ptr<TAboutBox> a_propos_;
    std::unique_ptr<TTarifs_dlg> tarifs_;
    std::unique_ptr<TAjout_zone> zone_;
    std::unique_ptr<Tvisualisation> rapport_;

    TForm1& f() { return *banc_->fenetre; }

    QWidget* fenetre(const QString& nom) {
        for (QWidget* w : {static_cast<QWidget*>(&f()), static_cast<QWidget*>(a_propos_.get()),
                           static_cast<QWidget*>(tarifs_.get()), static_cast<QWidget*>(zone_.get()),
                           static_cast<QWidget*>(rapport_.get())}) {
            if (w->objectName() == nom) {
                return w;
            }
        }
        return nullptr;
    }

    static QString nom_accessible(QWidget* w) {
        QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(w);
        return interface != nullptr ? interface->text(QAccessible::Name) : QString();
    }

    // The control among `noms` that a focused widget belongs to: a spin field's line edit, a radio button of
    // the group; without names, the nearest named one.
    static QString controle(QWidget* w, QWidget* fenetre, const QStringList& noms = {}) {
        for (QWidget* v = w; v != nullptr && v != fenetre; v = v->parentWidget()) {
            if (noms.isEmpty() ? !v->objectName().isEmpty() : noms.contains(v->objectName())) {
                return v->objectName();
            }
        }
        return w == nullptr ? QStringLiteral("<aucun>") : QStringLiteral("<%1>").arg(w->objectName());
    }

    // The widgets that Tab stops on, in the window's focus chain.
    static QList<QWidget*> arrets_de_tabulation(QWidget* fenetre) {
        QList<QWidget*> arrets;
        for (QWidget* w = fenetre->nextInFocusChain(); w != fenetre; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(fenetre) && w->focusProxy() == nullptr) {
                arrets << w;
            }
        }
        return arrets;
    }

    void montre(QWidget* w) {
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

private slots:
    void initTestCase() { prepare_tests(); }

    void init() {
        banc_ = std::make_unique<banc_principal>();
        // An added zone enables the modify submenu and gives the zone dialog its "Supprimer" button.
        f().ajoute_zone("Europe", 120, 180);
        a_propos_ = std::make_unique<TAboutBox>();
        tarifs_ = std::make_unique<TTarifs_dlg>();
        zone_ = std::make_unique<TAjout_zone>();
        rapport_ = std::make_unique<Tvisualisation>(banc_->horloge);
    }

    void cleanup() {
        rapport_.reset();
        zone_.reset();
        tarifs_.reset();
        a_propos_.reset();
        banc_.reset();
    }

    void tout_arret_de_tabulation_a_un_nom_propre_a_sa_fenetre() {
        const auto fenetres = {QStringLiteral("Form1"), QStringLiteral("AboutBox"),
                               QStringLiteral("Tarifs_dlg"), QStringLiteral("Ajout_zone"),
                               QStringLiteral("visualisation")};
        zone_->supprime->show();
        for (const QString& nom : fenetres) {
            QWidget* w = fenetre(nom);
            QSet<QString> noms;
            const QList<QWidget*> arrets = arrets_de_tabulation(w);
            QVERIFY2(!arrets.isEmpty(), qPrintable(nom));
            for (QWidget* arret : arrets) {
                const QString n = nom_accessible(arret);
                const QString ou = nom + QLatin1Char('/') + controle(arret, w);
                QVERIFY2(!n.isEmpty(), qPrintable(ou + " n'a pas de nom accessible"));
                QVERIFY2(!noms.contains(n), qPrintable(ou + " porte le nom d'un autre contrôle : " + n));
                noms.insert(n);
            }
        }
    }

    void un_champ_porte_la_legende_de_son_etiquette() {
        zone_->supprime->show();
        for (QWidget* w :
             {fenetre("Form1"), fenetre("Tarifs_dlg"), fenetre("Ajout_zone"), fenetre("visualisation")}) {
            for (QLabel* etiquette : w->findChildren<QLabel*>()) {
                if (etiquette->buddy() == nullptr) {
                    continue;
                }
                QWidget* champ = etiquette->buddy();
                // A spin field and an editable combo box take the focus in their line edit.
                if (auto* c = qobject_cast<champ_numerique*>(champ)) {
                    champ = c->findChild<QLineEdit*>();
                } else if (auto* c = qobject_cast<QComboBox*>(champ)) {
                    champ = c->lineEdit();
                }
                QVERIFY2(nom_accessible(champ).startsWith(etiquette->text()),
                         qPrintable(etiquette->text() + " -> " + nom_accessible(champ)));
            }
        }
        // The duration grid names each field by its row and its column, which its tab order does not follow.
        QCOMPARE(nom_accessible(tarifs_->TIN->findChild<QLineEdit*>()),
                 QStringLiteral("Interurbain, Tarif normal"));
        QCOMPARE(nom_accessible(tarifs_->TSR->findChild<QLineEdit*>()),
                 QStringLiteral("Suburbain, Tarif réduit"));
        QCOMPARE(nom_accessible(rapport_->annee->findChild<QLineEdit*>()),
                 QStringLiteral("Suppression des entrées antérieures au : année"));
    }

    void ordre_de_tabulation_data() {
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

    // Real Tab presses, once round the whole cycle and back to the start.
    void ordre_de_tabulation() {
        QFETCH(QString, nom);
        QFETCH(QStringList, ordre);
        messages_interceptes messages;
        QWidget* w = fenetre(nom);
        if (w == zone_.get()) {
            zone_->supprime->show();
        }
        montre(w);
        w->findChild<QWidget*>(ordre.first())->setFocus(Qt::TabFocusReason);
        QStringList parcours{controle(QApplication::focusWidget(), w, ordre)};
        for (int i = 0; i < ordre.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            parcours << controle(QApplication::focusWidget(), w, ordre);
        }
        QCOMPARE(parcours, ordre + QStringList{ordre.first()});
        w->hide();
    }

    void le_menu_s_ouvre_au_clavier_depuis_chaque_controle() {
        montre(&f());
        const QList<QWidget*> cibles = {f().start_stop, f().memento->lineEdit(),
                                        f().zone->findChild<QRadioButton*>(), &f()};
        for (QWidget* cible : cibles) {
            for (const auto& [touche, modificateurs] :
                 {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
                QTest::keyClick(cible, touche, modificateurs);
                QVERIFY2(f().PopupMenu1->isVisible(), qPrintable(cible->objectName()));
                f().PopupMenu1->hide();
            }
        }
        // F10 alone is no menu key.
        QTest::keyClick(f().start_stop, Qt::Key_F10);
        QVERIFY(!f().PopupMenu1->isVisible());
    }

    void chaque_commande_du_menu_est_atteinte_au_clavier() {
        montre(&f());
        QTest::keyClick(f().start_stop, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() == f().PopupMenu1);
        QSet<QAction*> atteintes;
        for (int i = 0; i < f().PopupMenu1->actions().size(); ++i) {
            QTest::keyClick(f().PopupMenu1, Qt::Key_Down);
            atteintes.insert(f().PopupMenu1->activeAction());
        }
        for (QAction* a : f().PopupMenu1->actions()) {
            QVERIFY2(a->isSeparator() || atteintes.contains(a), qPrintable(a->text()));
        }

        // Into a submenu and out of it again with the arrows, then a choice with Enter.
        f().PopupMenu1->setActiveAction(f().position(TForm1::pos_modification_zone));
        QTest::keyClick(f().PopupMenu1, Qt::Key_Right);
        QTRY_VERIFY(QApplication::activePopupWidget() == f().Modificationdedonnespourzonedappel1);
        QCOMPARE(f().Modificationdedonnespourzonedappel1->activeAction()->text(), QStringLiteral("Europe"));
        QTest::keyClick(f().Modificationdedonnespourzonedappel1, Qt::Key_Left);
        QTRY_VERIFY(QApplication::activePopupWidget() == f().PopupMenu1);
        f().PopupMenu1->setActiveAction(f().position(TForm1::pos_mise_a_jour));
        QTest::keyClick(f().PopupMenu1, Qt::Key_Right);
        QTRY_VERIFY(QApplication::activePopupWidget() == f().Misejourtoutesles1);
        QTest::keyClick(f().Misejourtoutesles1, Qt::Key_Down);
        QTest::keyClick(f().Misejourtoutesles1, Qt::Key_Down);
        QTest::keyClick(f().Misejourtoutesles1, Qt::Key_Return);
        QCOMPARE(f().periode_mise_a_jour(), 5000);
        QVERIFY(!f().PopupMenu1->isVisible());
    }
};

QTEST_MAIN(test_accessibilite)
#include "test_accessibilite.moc"
