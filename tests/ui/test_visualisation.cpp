#include "bouton_image.h"
#include "champ_numerique.h"
#include "outils_test.h"
#include "visualisation.h"

#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QtTest>
#include <memory>

class test_visualisation : public QObject {
    Q_OBJECT

    std::unique_ptr<dossier_donnees_test> donnees_;
    const horloge_factice horloge_{encode_date(2026, 3, 5) + encode_heure(14, 0, 0, 0)};
    std::unique_ptr<Tvisualisation> fenetre_;

    Tvisualisation& v() { return *fenetre_; }
    void ecrit(int jour, const texte& motif, montant centimes) {
        QVERIFY(ajoute_appel(appel_du(2026, 3, jour, motif, centimes)).ok);
    }
    void montre() {
        fenetre_->show();
        QVERIFY(QTest::qWaitForWindowActive(fenetre_.get()));
    }
    void clique_motif(int ligne, Qt::KeyboardModifiers modificateurs = {}) {
        const QRect place = v().motifs->visualItemRect(v().motifs->item(ligne));
        clique(v().motifs->viewport(), Qt::LeftButton, modificateurs, place.center());
    }

private slots:
    void initTestCase() { prepare_tests(); }

    void init() {
        donnees_ = std::make_unique<dossier_donnees_test>();
        fenetre_ = std::make_unique<Tvisualisation>(horloge_);
    }

    void cleanup() {
        fenetre_.reset();
        donnees_.reset();
    }

    void motifs_et_sommes_de_la_selection() {
        ecrit(3, "Bureau", 250);
        ecrit(3, "", 100);
        ecrit(4, "bureau", 5);
        montre();
        QCOMPARE(QList<int>({v().jour->valeur(), v().mois->valeur(), v().annee->valeur()}),
                 QList<int>({5, 3, 2026}));
        QCOMPARE(v().motifs->count(), 2);
        QCOMPARE(v().motifs->item(0)->text(), QStringLiteral("Bureau"));
        QCOMPARE(v().motifs->item(1)->text(), QStringLiteral("<<motif non-spécifié>>"));
        QVERIFY(v().valeur_totale->text().isEmpty());

        clique_motif(0);
        QCOMPARE(v().valeur_totale->text(), QStringLiteral("2,55"));
        clique_motif(1, Qt::ControlModifier);
        QCOMPARE(v().valeur_totale->text(), QStringLiteral("3,55"));
        clique_motif(0, Qt::ControlModifier);
        clique_motif(1, Qt::ControlModifier);
        QCOMPARE(v().valeur_totale->text(), QStringLiteral("0,0"));
    }

    // As a list box: eight rows show, and a long reason is cut at the edge rather than scrolled to.
    void liste_sans_barre_de_defilement_horizontale() {
        ecrit(3, "Assurance maladie compl\351mentaire et accidents", 10);
        for (int i = 1; i < 10; ++i) {
            ecrit(3, "m" + std::to_string(i), 10);
        }
        montre();
        QVERIFY(!v().motifs->horizontalScrollBar()->isVisible());
        QVERIFY(v().motifs->visualItemRect(v().motifs->item(7)).top() < v().motifs->viewport()->height());
    }

    void suppression_une_fois_par_date() {
        ecrit(3, "Vieux", 100);
        ecrit(5, "Neuf", 200);
        messages_interceptes messages;
        montre();
        clique(v().BitBtn1);
        QVERIFY(!v().BitBtn1->isEnabled());
        QVERIFY(messages.recus.isEmpty());
        // The list keeps showing the log as it was until the window is shown again.
        QCOMPARE(v().motifs->count(), 2);
        const resultat_totaux apres = totalise_motifs();
        QCOMPARE(apres.motifs.size(), std::size_t{1});
        QCOMPARE(apres.motifs[0].motif, texte("Neuf"));

        clique(v().jour);
        touche(Qt::Key_Down);
        QVERIFY(v().BitBtn1->isEnabled());
        v().hide();
        montre();
        QCOMPARE(v().motifs->count(), 1);
        QCOMPARE(v().jour->valeur(), 5);
    }

    void date_impossible_dans_la_boite_d_erreur() {
        ecrit(3, "Bureau", 100);
        messages_interceptes messages;
        montre();
        v().jour->fixe_valeur(31);
        v().mois->fixe_valeur(2);
        clique(v().BitBtn1);
        QCOMPARE(messages.recus.size(), 1);
        QCOMPARE(messages.recus[0].first, genre_message::erreur);
        QCOMPARE(messages.recus[0].second, QStringLiteral("'31.2.2026' is not a valid date."));
        QVERIFY(v().BitBtn1->isEnabled());
    }

    void journal_corrompu_garde_les_motifs_lus() {
        ecrit(3, "Bureau", 100);
        std::ofstream(chemin_journal(), std::ios::binary | std::ios::app)
            << "D\351but\r\nFin\r\nCat\r\nMotif\r\n";
        messages_interceptes messages;
        montre();
        QCOMPARE(v().motifs->count(), 1);
        QCOMPARE(messages.recus.size(), 1);
        QCOMPARE(messages.recus[0].first, genre_message::information);
        QCOMPARE(messages.recus[0].second,
                 QStringLiteral("Le fichier d'enregistrement des taxes est corrompu"));
    }
};

QTEST_MAIN(test_visualisation)
#include "test_visualisation.moc"
