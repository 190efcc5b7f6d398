#include "groupe_radio.h"
#include "outils_test.h"
#include "titre_application.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

// The main window, its call, its log and its settings, the last two in a data folder of each test's own.
class test_fenetre_principale : public QObject {
    Q_OBJECT

    std::unique_ptr<banc_principal> banc_;

    TForm1& f() { return *banc_->fenetre; }
    QByteArray journal() const { return banc_->donnees.lit(QStringLiteral("sauve.tax")); }
    bool actif(int position) { return f().position(position)->isEnabled(); }
    QStringList historique() {
        QStringList l;
        for (int i = 0; i < f().memento->count(); ++i) {
            l << f().memento->itemText(i);
        }
        return l;
    }
    void montre() {
        f().show();
        QVERIFY(QTest::qWaitForWindowActive(&f()));
    }

private slots:
    void initTestCase() { prepare_tests(); }

    void init() {
        banc_ = std::make_unique<banc_principal>();
        montre();
    }

    void cleanup() { banc_.reset(); }

    void demarrage_puis_premiere_fermeture() {
        QCOMPARE(f().windowTitle(), QStringLiteral("Tarif: 0,0 FS"));
        QCOMPARE(titre_application::texte(), QStringLiteral("Kalvo"));
        QCOMPARE(f().zone->nombre(), 3);
        QCOMPARE(f().zone->index(), 0);
        QCOMPARE(f().taux->text(), QStringLiteral("Tarif Normal"));
        QCOMPARE(f().PopupMenu1->defaultAction(), f().position(TForm1::pos_effacement));
        QVERIFY(actif(TForm1::pos_ajout_zone) && !actif(TForm1::pos_modification_zone));
        // The history is empty: no "Memento"; the tariffs are only written by their dialog.
        banc_->fenetre.reset();
        QCOMPARE(banc_->donnees.lit(QStringLiteral("Kalvo.ini")),
                 QByteArray("[Divers]\r\nMise \xE0 jour=1000\r\n[Ajouts]\r\nNombre d'ajouts=0\r\n"));
    }

    void clic_droit_partout_ouvre_le_menu() {
        // During a call the zone selector is disabled; the menu still opens over it.
        f().start_stopClick();
        for (QWidget* cible : {static_cast<QWidget*>(f().memento), static_cast<QWidget*>(f().start_stop),
                               static_cast<QWidget*>(f().Label2), static_cast<QWidget*>(f().zone)}) {
            clique(cible, Qt::RightButton, {}, QPoint(5, 5));
            QTRY_VERIFY2(f().PopupMenu1->isVisible(), qPrintable(cible->objectName()));
            f().PopupMenu1->hide();
        }
    }

    void appel_complet_ecrit_au_journal_que_l_effacement_vide() {
        messages_interceptes messages;
        f().Visualisationdescotsparmotifdappel1Click();
        QCOMPARE(messages.recus.value(0).second, QStringLiteral("Le fichier d'enregistrement des taxes n'existe pas"));

        clique(f().memento);
        tape(QStringLiteral("Café"));
        clique(f().start_stop);
        QCOMPARE(f().start_stop->text(), QStringLiteral("Fin"));
        QVERIFY(!f().zone->isEnabled() && !actif(TForm1::pos_tarifs) && actif(TForm1::pos_ajout_zone));
        QVERIFY(f().horloge->isActive() && f().Timer1->isActive());
        // No tick at the start: the caption still shows the previous charge.
        QCOMPARE(f().windowTitle(), QStringLiteral("Tarif: 0,0 FS"));
        banc_->horloge.avance_s(1);
        f().horlogeTimer();
        QCOMPARE(titre_application::texte(), QStringLiteral("Tarif: 0,20 FS - 00:00:01"));
        banc_->horloge.avance_s(98);
        f().horlogeTimer();
        f().Timer1Timer();
        QCOMPARE(f().legende(), QStringLiteral("Tarif: 0,30 FS"));
        QCOMPARE(f().heure->text(), QStringLiteral("00:01:39"));

        banc_->horloge.avance_s(101);
        clique(f().start_stop);
        QCOMPARE(f().windowTitle(), QStringLiteral("Tarif: 0,40 FS"));
        QCOMPARE(titre_application::texte(), QStringLiteral("Kalvo"));
        QCOMPARE(f().start_stop->text(), QStringLiteral("Début"));
        QVERIFY(f().zone->isEnabled() && !f().horloge->isActive() && !f().Timer1->isActive());
        // Only built-in zones: position 5 stays disabled; position 7 comes back.
        QVERIFY(!actif(TForm1::pos_modification_zone) && actif(TForm1::pos_tarifs));
        QCOMPARE(journal(), QByteArray("D\351but de l'appel      : mercredi 04.03.26 \xE0 10:00:00\r\n"
                                       "Fin de l'appel        : mercredi 04.03.26 \xE0 10:03:20\r\n"
                                       "Cat\xE9gorie de l'appel  : Local\r\n"
                                       "Motif de l'appel      : Caf\xE9\r\n"
                                       "Montant de la facture : 0,40 FS\r\n"
                                       "-----------------------------------------\r\n"));
        f().Proprits1Click();
        QCOMPARE(journal(), QByteArray());
        QCOMPARE(messages.recus.size(), 1);
    }

    void titre_de_la_fenetre_reduite_est_le_titre_de_l_application() {
        f().start_stopClick();
        banc_->horloge.avance_s(3);
        f().horlogeTimer();
        f().showMinimized();
        QTRY_COMPARE(f().windowTitle(), QStringLiteral("Tarif: 0,20 FS - 00:00:03"));
        f().showNormal();
        QTRY_COMPARE(f().windowTitle(), QStringLiteral("Tarif: 0,20 FS"));
    }

    void une_periode_seule_cochee_et_le_tick_rearme_si_elle_change() {
        f().start_stopClick();
        const int avant = f().horloge->timerId();
        f().N1->trigger();
        QCOMPARE(f().horloge->timerId(), avant);
        f().N10->trigger();
        QCOMPARE(f().horloge->interval(), 10000);
        QVERIFY(f().horloge->remainingTime() > 9000);
        QVERIFY(!f().N1->isChecked() && !f().N3->isChecked() && !f().N5->isChecked() && f().N10->isChecked());
    }

    void fermeture_pendant_un_appel_le_termine_et_l_ecrit_au_journal() {
        f().start_stopClick();
        banc_->horloge.avance_s(200);
        banc_->fenetre.reset(); // the window is destroyed at shutdown
        QCOMPARE(titre_application::texte(), QStringLiteral("Kalvo"));
        QVERIFY(journal().contains("Fin de l'appel        : mercredi 04.03.26 \xE0 10:03:20\r\n"));
        QVERIFY(journal().contains("Montant de la facture : 0,40 FS\r\n"));
    }

    void un_appel_non_enregistre_est_signale() {
        // A folder where the log should be: the record cannot be appended.
        QVERIFY(QDir().mkpath(banc_->donnees.chemin(QStringLiteral("sauve.tax"))));
        messages_interceptes messages;
        f().start_stopClick();
        f().start_stopClick();
        QVERIFY(!f().compteur_appel().en_cours());
        f().Proprits1Click();
        QCOMPARE(messages.recus.size(), 2);
        QCOMPARE(
            messages.recus[0].second,
            QStringLiteral("L'appel n'a pas pu être enregistré dans le fichier d'enregistrement des taxes."));
        QCOMPARE(messages.recus[1].second,
                 QStringLiteral("Le fichier d'enregistrement des taxes n'a pas pu être effacé."));
    }

    // Return and keypad Enter as the keyboard delivers them, after a click on the field.
    void historique_des_motifs() {
        clique(f().memento);
        QVERIFY(f().memento->hasFocus());
        tape(QStringLiteral("Bureau"));
        touche(Qt::Key_Return);
        QCOMPARE(historique(), QStringList{QStringLiteral("Bureau")});
        QCOMPARE(f().memento->lineEdit()->selectedText(), QStringLiteral("Bureau"));
        touche(Qt::Key_Enter, Qt::KeypadModifier); // the whole text is selected: nothing is added
        QCOMPARE(historique().size(), 1);

        tape(QStringLiteral("bureau")); // replaces the selection
        for (int i = 0; i < 3; ++i) {
            touche(Qt::Key_Left, Qt::ShiftModifier);
        }
        touche(Qt::Key_Enter, Qt::KeypadModifier); // part of the text selected: the whole text goes in
        QCOMPARE(historique(), (QStringList{QStringLiteral("bureau"), QStringLiteral("Bureau")}));
        QCOMPARE(f().memento->currentText(), QStringLiteral("bureau"));
        touche(Qt::Key_Backspace);
        touche(Qt::Key_Return); // an empty field adds nothing
        QCOMPARE(historique().size(), 2);

        touche(Qt::Key_Down); // an entry picked from the list stands selected: Enter adds it not again
        QCOMPARE(f().memento->currentText(), QStringLiteral("Bureau"));
        touche(Qt::Key_Return);
        QCOMPARE(historique().size(), 2);

        // Copies go on top too; past fifteen entries the oldest goes.
        for (int i = 1; i <= 14; ++i) {
            tape(QStringLiteral("m%1").arg(i));
            touche(Qt::Key_Return);
        }
        QCOMPARE(historique().size(), 15);
        QCOMPARE(historique().last(), QStringLiteral("bureau"));
        tape(QStringLiteral("m14"));
        touche(Qt::Key_Return);
        QCOMPARE(historique().mid(0, 2), (QStringList{QStringLiteral("m14"), QStringLiteral("m14")}));
        QCOMPARE(historique().last(), QStringLiteral("m1"));
    }

    void historique_et_periode_survivent_a_un_redemarrage() {
        touche(Qt::Key_Tab); // from "Début" over the zones to the reason field
        touche(Qt::Key_Tab);
        tape(QStringLiteral("  Bureau "));
        touche(Qt::Key_Return);
        f().N10Click();
        banc_->redemarre();
        QVERIFY(f().N10->isChecked());
        QCOMPARE(f().horloge->interval(), 10000);
        QCOMPARE(historique(), QStringList{QStringLiteral("  Bureau ")});
    }

    void kalvo_ini_existant_donne_tarifs_periode_et_historique() {
        banc_->fenetre.reset();
        banc_->donnees.ecrit(QStringLiteral("Kalvo.ini"),
                             "[Tarifs]\r\nTaxe de base=30\r\nDur\351e local normal=500\r\n"
                             "[Divers]\r\nMise \xE0 jour=5000\r\n"
                             "[Memento]\r\n1=Bureau\r\n2=Caf\xE9\r\n");
        banc_->redemarre();
        QVERIFY(f().N5->isChecked());
        QCOMPARE(f().horloge->interval(), 5000);
        QCOMPARE(historique(), (QStringList{QStringLiteral("Bureau"), QStringLiteral("Café")}));
        QCOMPARE(f().memento->lineEdit()->selectedText(), QStringLiteral("Bureau"));
        QCOMPARE(f().zones().taxe_base(), 30);
        QCOMPARE(f().zones().duree_unite(0, periode::normale), 50.0);
    }

    void reglages_non_enregistres_signales_a_la_fermeture() {
        // A folder in place of the settings file.
        QVERIFY(QDir().mkpath(banc_->donnees.chemin(QStringLiteral("Kalvo.ini"))));
        messages_interceptes messages;
        f().start_stopClick();
        banc_->fenetre.reset();
        QCOMPARE(messages.recus.size(), 1);
        QCOMPARE(messages.recus[0].first, genre_message::erreur);
        QCOMPARE(messages.recus[0].second, QStringLiteral("Unable to write to Kalvo.ini."));
        // The call was recorded before the settings were saved.
        QVERIFY(journal().contains("Montant de la facture : 0,20 FS\r\n"));
    }

    void ajout_et_suppression_de_zones() {
        f().zone->fixe_index(1);
        f().ajoute_zone("Europe", 100, 200);
        QCOMPARE(f().zone->height(), 121);
        QCOMPARE(f().height(), 176);
        QCOMPARE(f().zone->index(), 1);
        QVERIFY(actif(TForm1::pos_modification_zone));
        f().ajoute_zone("Monde", 10, 20);
        f().ajoute_zone("Lune & Mars", 1, 2);
        QCOMPARE(f().Modificationdedonnespourzonedappel1->actions().at(2)->text(),
                 QStringLiteral("Lune && Mars"));

        // Deleting the selected zone in the middle selects the one that followed it.
        f().zone->fixe_index(3);
        f().supprime_zone("europe");
        QCOMPARE(f().zone->index(), 3);
        QCOMPARE(f().zone->element(3), QStringLiteral("Monde"));
        QCOMPARE(f().zones().duree_unite(3, periode::reduite), 2.0);
        // Deleting the selected last zone selects the new last one.
        f().zone->fixe_index(4);
        f().supprime_zone("Lune & Mars");
        QCOMPARE(f().zone->index(), 3);
        QCOMPARE(f().Modificationdedonnespourzonedappel1->actions().size(), 1);
        f().supprime_zone("Monde");
        QVERIFY(!actif(TForm1::pos_modification_zone));
        QCOMPARE(f().height(), 160);
    }
};

QTEST_MAIN(test_fenetre_principale)
#include "test_fenetre_principale.moc"
