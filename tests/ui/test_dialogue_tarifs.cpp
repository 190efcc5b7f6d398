#include "champ_numerique.h"
#include "dialogue_tarifs.h"
#include "outils_test.h"

class test_dialogue_tarifs : public QObject {
    Q_OBJECT

    // Tabs to the field as the user does, then types over its text.
    static void remplit(champ_numerique* champ, const QString& texte) {
        for (int i = 0; i < 10 && !champ->isAncestorOf(QApplication::focusWidget()); ++i) {
            touche(Qt::Key_Tab);
        }
        touche(Qt::CTRL | Qt::Key_A);
        touche(Qt::Key_Delete);
        tape(texte);
    }

private slots:
    void initTestCase() { prepare_tests(); }

    void annuler_puis_textes_hors_bornes_puis_ecriture_impossible() {
        messages_interceptes messages; // also while the window goes, whose own save may fail: never a box
        banc_principal banc;
        TTarifs_dlg d;
        table_zones& zones = banc.fenetre->zones();
        const auto ini = [&banc] { return banc.donnees.lit(u"Kalvo.ini"_s); };
        // Opened from the main window's menu, as the user does; the check runs inside its modal loop.
        pendant(&d, [&d] {
            remplit(d.TLN, u"500"_s);
            remplit(d.tb, u"20"_s);
            touche(Qt::Key_Up);
            touche(Qt::Key_Escape);
        });
        banc.fenetre->Dfinitiondestarifsdebase1Click();
        QCOMPARE(d.tb->valeur(), 25); // the base charge steps by 5
        QCOMPARE(ini(), QByteArray("<absent>"));

        // The next showing loads what is in force, not the cancelled edit.
        tarifs_base t;
        t.reduit[1] = 406;
        zones.applique(t);
        montre_active(&d);
        QCOMPARE(std::tuple(d.TLN->valeur(), d.TSR->valeur(), d.tb->valeur()), std::tuple(990, 406, 20));
        remplit(d.TSR, u"0"_s);
        remplit(d.tb, QString());
        remplit(d.TLN, u"60000"_s);
        // Still uncorrected: the field has kept the focus. Enter reaches OK all the same.
        QCOMPARE(d.TLN->texte(), u"60000"_s);
        touche(Qt::Key_Return);
        QCOMPARE(zones.duree_unite(0, periode::normale), 5000.0);
        QCOMPARE(zones.duree_unite(1, periode::reduite), 0.1);
        QCOMPARE(zones.taxe_base(), 0);
        QCOMPARE(ini(), QByteArray("[Tarifs]\r\nTaxe de base=0\r\nDur\351e local r\351duit=2240\r\n"
                                   "Dur\351e suburbain r\351duit=1\r\nDur\351e interurbain r\351duit=406\r\n"
                                   "Dur\351e local normal=50000\r\nDur\351e suburbain normal=384\r\n"
                                   "Dur\351e interurbain normal=226\r\n"));

        // With a folder where the settings file should be, OK says it could not write, and the values are
        // in force all the same.
        QVERIFY(QFile::remove(banc.donnees.chemin(u"Kalvo.ini"_s)));
        QVERIFY(QDir().mkpath(banc.donnees.chemin(u"Kalvo.ini"_s)));
        montre_active(&d);
        remplit(d.TLN, u"500"_s);
        clique(d.OKBtn);
        QCOMPARE(messages.recus.value(0),
                 qMakePair(genre_message::erreur, u"Kalvo.ini n'a pas pu être écrit."_s));
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(zones.duree_unite(0, periode::normale), 50.0);
    }
};

QTEST_MAIN(test_dialogue_tarifs)
#include "test_dialogue_tarifs.moc"
