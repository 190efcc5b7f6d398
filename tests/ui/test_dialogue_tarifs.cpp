#include "champ_numerique.h"
#include "dialogue_tarifs.h"
#include "fenetre_principale.h"
#include "horloge_factice.h"
#include "outils_test.h"
#include "storage/reglages.h"

#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

class test_dialogue_tarifs : public QObject {
    Q_OBJECT

    std::unique_ptr<dossier_donnees_test> donnees_;
    std::unique_ptr<horloge_factice> horloge_;
    std::unique_ptr<TForm1> principale_;
    std::unique_ptr<TTarifs_dlg> dialogue_;

    TTarifs_dlg& d() { return *dialogue_; }
    table_zones& zones() { return principale_->zones(); }
    std::filesystem::path chemin_ini() const {
        return donnees_->chemin(QStringLiteral("Kalvo.ini")).toStdString();
    }
    QByteArray ini() const {
        QFile f(donnees_->chemin(QStringLiteral("Kalvo.ini")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
    }
    void montre() {
        d().show();
        QVERIFY(QTest::qWaitForWindowActive(dialogue_.get()));
    }
    static void tape(champ_numerique* champ, const QString& texte) {
        champ->setFocus();
        champ->fixe_texte(QString());
        QTest::keyClicks(champ, texte);
    }
    QString nom_du_focus() const {
        // A spin field's focus is in its line edit.
        const QWidget* w = QApplication::focusWidget();
        const auto* champ = qobject_cast<champ_numerique*>(w->parentWidget());
        return champ != nullptr ? champ->objectName() : w->objectName();
    }

private slots:
    void initTestCase() { prepare_tests(); }

    void init() {
        donnees_ = std::make_unique<dossier_donnees_test>();
        horloge_ = std::make_unique<horloge_factice>();
        principale_ = std::make_unique<TForm1>(*horloge_);
        dialogue_ = std::make_unique<TTarifs_dlg>();
    }

    void cleanup() {
        dialogue_.reset();
        principale_.reset();
        horloge_.reset();
        donnees_.reset();
    }

    void valeurs_initiales_et_pas_de_la_taxe() {
        montre();
        const champ_numerique* champs[] = {d().TLN, d().TSN, d().TIN, d().TLR, d().TSR, d().TIR, d().tb};
        const int attendus[] = {990, 384, 226, 2240, 588, 406, 20};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(champs[i]->texte(), QString::number(attendus[i]));
        }
        d().tb->monte();
        QCOMPARE(d().tb->valeur(), 25);
    }

    void ok_sans_changement_ecrit_les_sept_cles_dans_l_ordre() {
        montre();
        QTest::mouseClick(d().OKBtn, Qt::LeftButton);
        QVERIFY(!d().isVisible());
        QCOMPARE(d().result(), int(QDialog::Accepted));
        // clang-format off
        QCOMPARE(ini(), QByteArray("[Tarifs]\r\n"
                                   "Taxe de base=20\r\n"
                                   "Dur\xE9" "e local r\xE9" "duit=2240\r\n"
                                   "Dur\xE9" "e suburbain r\xE9" "duit=588\r\n"
                                   "Dur\xE9" "e interurbain r\xE9" "duit=406\r\n"
                                   "Dur\xE9" "e local normal=990\r\n"
                                   "Dur\xE9" "e suburbain normal=384\r\n"
                                   "Dur\xE9" "e interurbain normal=226\r\n"));
        // clang-format on
        QCOMPARE(zones().duree_unite(1, periode::normale), 38.4);
        QCOMPARE(zones().taxe_base(), 20);
    }

    void entree_sans_quitter_le_champ_lit_la_borne() {
        montre();
        tape(d().TLN, QStringLiteral("60000"));
        // Still uncorrected: the field has kept the focus.
        QCOMPARE(nom_du_focus(), QStringLiteral("TLN"));
        QCOMPARE(d().TLN->texte(), QStringLiteral("60000"));
        QTest::keyClick(d().TLN, Qt::Key_Return);
        QVERIFY(!d().isVisible());
        QCOMPARE(d().result(), int(QDialog::Accepted));
        QCOMPARE(zones().duree_unite(0, periode::normale), 5000.0);
        QCOMPARE(lit_reglages(chemin_ini()).local_normal, 50000);
    }

    void textes_hors_bornes_ou_illisibles_lus_comme_bornes() {
        montre();
        tape(d().TSR, QStringLiteral("0"));
        tape(d().TIN, QStringLiteral("-"));
        tape(d().TLR, QStringLiteral("2,5"));
        tape(d().tb, QString());
        d().OKBtnClick();
        QCOMPARE(zones().duree_unite(1, periode::reduite), 0.1);
        QCOMPARE(zones().duree_unite(2, periode::normale), 0.1);
        QCOMPARE(zones().duree_unite(0, periode::reduite), 0.1);
        QCOMPARE(zones().taxe_base(), 0);
        const reglages_lus r = lit_reglages(chemin_ini());
        QCOMPARE(r.suburbain_reduit, 1);
        QCOMPARE(r.interurbain_normal, 1);
        QCOMPARE(r.local_reduit, 1);
        QCOMPARE(r.taxe_base, 0);
        QCOMPARE(r.local_normal, 990);
    }

    void annuler_ne_change_rien_et_chaque_ouverture_relit() {
        // Opened from the main window's menu, as the user does; the check runs inside its modal loop.
        QTimer::singleShot(0, dialogue_.get(), [this] {
            QVERIFY(d().isVisible());
            d().TLN->fixe_texte(QStringLiteral("500"));
            d().tb->fixe_texte(QStringLiteral("35"));
            QTest::mouseClick(d().CancelBtn, Qt::LeftButton);
        });
        principale_->Dfinitiondestarifsdebase1Click();
        QCOMPARE(d().result(), int(QDialog::Rejected));

        // What is in force changes between showings: the next one shows it, not the cancelled edit.
        zones().fixe_duree(1, periode::reduite, 40.6);
        montre();
        QCOMPARE(d().TLN->valeur(), 990);
        QCOMPARE(d().tb->valeur(), 20);
        QCOMPARE(d().TSR->valeur(), 406);
        tape(d().TSR, QStringLiteral("7"));
        QTest::keyClick(&d(), Qt::Key_Escape);
        QVERIFY(!d().isVisible());

        QCOMPARE(zones().duree_unite(0, periode::normale), 99.0);
        QCOMPARE(zones().duree_unite(1, periode::reduite), 40.6);
        QCOMPARE(zones().taxe_base(), 20);
        QCOMPARE(ini(), QByteArray("<absent>"));
    }

    void ordre_de_tabulation_par_colonne() {
        montre();
        d().OKBtn->setFocus(Qt::TabFocusReason);
        QStringList parcours;
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            parcours << nom_du_focus();
        }
        QCOMPARE(parcours,
                 (QStringList{"CancelBtn", "TLN", "TIN", "TSN", "TLR", "TIR", "TSR", "tb", "OKBtn"}));
    }

    void ecriture_impossible_signalee_valeurs_en_vigueur_quand_meme() {
        // A folder where the settings file should be: nothing can be written.
        QVERIFY(QDir().mkpath(donnees_->chemin(QStringLiteral("Kalvo.ini"))));
        messages_interceptes messages;
        montre();
        tape(d().TLN, QStringLiteral("500"));
        QTest::mouseClick(d().OKBtn, Qt::LeftButton);
        QCOMPARE(messages.recus.size(), 1);
        QCOMPARE(messages.recus[0].first, genre_message::erreur);
        QCOMPARE(messages.recus[0].second, QStringLiteral("Unable to write to Kalvo.ini."));
        QVERIFY(!d().isVisible());
        QCOMPARE(d().result(), int(QDialog::Accepted));
        QCOMPARE(zones().duree_unite(0, periode::normale), 50.0);
        principale_.reset(); // its own save fails too; the box must be caught while the interceptor lives
    }
};

QTEST_MAIN(test_dialogue_tarifs)
#include "test_dialogue_tarifs.moc"
