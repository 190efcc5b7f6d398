#include "bouton_image.h"
#include "champ_numerique.h"
#include "outils_test.h"
#include "visualisation.h"

class test_visualisation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepare_tests(); }

    // The list is a list box: eight rows show, and a long reason is cut at the edge, never scrolled to.
    void motifs_sommes_suppression_et_journal_corrompu() {
        dossier_donnees_test donnees;
        const horloge_factice horloge{encode_date(2026, 3, 5) + encode_heure(14, 0, 0, 0)};
        Tvisualisation v{horloge, donnees.donnees()};
        const fs::path journal = donnees.donnees().journal();
        QVERIFY(ajoute_appel(journal, appel_du(2026, 3, 3, "Bureau", 250)).ok);
        QVERIFY(ajoute_appel(journal, appel_du(2026, 3, 3, "", 100)).ok);
        QVERIFY(ajoute_appel(journal, appel_du(2026, 3, 5, "bureau", 5)).ok);
        for (const texte motif :
             {"Assurance maladie compl\351mentaire et accidents", "b", "b ", "d", "e", "f", "g"}) {
            QVERIFY(ajoute_appel(journal, appel_du(2026, 3, 4, motif, 10)).ok);
        }
        montre_active(&v);
        QCOMPARE(std::tuple(v.jour->valeur(), v.mois->valeur(), v.annee->valeur()), std::tuple(5, 3, 2026));
        QCOMPARE(v.motifs->count(), 9);
        QCOMPARE(v.motifs->item(0)->text(), u"Bureau"_s);
        QVERIFY(!v.motifs->horizontalScrollBar()->isVisible());
        QVERIFY(v.motifs->visualItemRect(v.motifs->item(7)).top() < v.motifs->viewport()->height());
        QVERIFY(v.valeur_totale->text().isEmpty());
        // Its tooltip shows a reason cut off whole, and one with a blank at its end between quotes.
        QCOMPARE(v.motifs->item(2)->toolTip(), u"Assurance maladie complémentaire et accidents"_s);
        QCOMPARE(v.motifs->item(3)->toolTip() + u'|' + v.motifs->item(4)->toolTip(), u"|«b »"_s);

        const QPoint premier = v.motifs->visualItemRect(v.motifs->item(0)).center();
        clique(v.motifs->viewport(), premier);
        QCOMPARE(v.valeur_totale->text(), u"2,55"_s);
        clique(v.motifs->viewport(), premier, Qt::ControlModifier);
        QCOMPARE(v.valeur_totale->text(), u"0,00"_s);

        // Pruning: an impossible date goes to the error box and leaves the log and the button as they were.
        messages_interceptes messages;
        v.mois->fixe_valeur(2);
        v.jour->fixe_valeur(31);
        clique(v.BitBtn1);
        QCOMPARE(messages.recus.value(0),
                 qMakePair(genre_message::erreur, u"« 31.2.2026 » n'est pas une date valide."_s));
        QVERIFY(v.BitBtn1->isEnabled());
        // Today's date prunes once; the list keeps showing the log as it was until the window is shown again.
        // Enter presses the button, which has the focus since its click.
        v.mois->fixe_valeur(3);
        v.jour->fixe_valeur(5);
        touche(Qt::Key_Return);
        QVERIFY(!v.BitBtn1->isEnabled());
        QCOMPARE(messages.recus.size(), 1);
        QCOMPARE(v.motifs->count(), 9);
        QCOMPARE(totalise_motifs(journal).motifs.size(), std::size_t{1});
        clique(v.jour);
        touche(Qt::Key_Down);
        QVERIFY(v.BitBtn1->isEnabled());
        v.hide();
        montre_active(&v);
        QCOMPARE(v.motifs->count(), 1);

        // A corrupt record: the reasons read before it stay, and the user is told.
        std::ofstream(journal, std::ios::binary | std::ios::app) << "D\351but\r\nFin\r\nCat\r\nMotif\r\n";
        v.hide();
        montre_active(&v);
        QCOMPARE(v.motifs->count(), 1);
        QCOMPARE(messages.recus.value(1), qMakePair(genre_message::information,
                                                    u"Le fichier d'enregistrement des taxes est corrompu"_s));
    }
};

QTEST_MAIN(test_visualisation)
#include "test_visualisation.moc"
