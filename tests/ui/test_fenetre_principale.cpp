#include "conversion_texte.h"
#include "groupe_radio.h"
#include "icone_notification.h"
#include "outils_test.h"
#include "placement.h"
#include "saisie_1252.h"
#include "storage/verrou_journal.h"

#include <fstream>

// The main window, its call, its log and its settings, the last two in a data folder of each test's own.
class test_fenetre_principale : public QObject {
    Q_OBJECT

    std::unique_ptr<banc_principal> banc_;

    TForm1& f() { return *banc_->fenetre; }
    QByteArray journal() const { return banc_->donnees.lit(u"sauve.tax"_s); }
    QString chemin(const char* nom) { return banc_->donnees.chemin(QString::fromLatin1(nom)); }
    QByteArray lit(const char* nom) { return banc_->donnees.lit(QString::fromLatin1(nom)); }
    bool actif(int position) { return f().position(position)->isEnabled(); }
    QStringList historique() {
        QStringList l;
        for (int i = 0; i < f().memento->count(); ++i) {
            l << f().memento->itemText(i);
        }
        return l;
    }

private slots:
    void initTestCase() { prepare_tests(); }

    void init() {
        banc_ = std::make_unique<banc_principal>();
        montre_active(&f());
    }

    void cleanup() { banc_.reset(); }

    // The window at start-up; the call by the mouse, its captions, the tray icon's tooltip, the update period
    // and the log.
    void appel_complet_puis_effacement_du_journal() {
        QCOMPARE(f().windowTitle(), u"Tarif: 0,00 FS"_s);
        QCOMPARE(f().taux->text(), u"Tarif Normal"_s);
        QCOMPARE(f().PopupMenu1->defaultAction(), f().position(TForm1::pos_effacement));
        QVERIFY(actif(TForm1::pos_ajout_zone) && !actif(TForm1::pos_modification_zone) &&
                f().N1->isChecked());
        messages_interceptes messages;
        f().Visualisationdescotsparmotifdappel1Click();
        QCOMPARE(messages.recus.value(0).second, u"Le fichier d'enregistrement des taxes n'existe pas"_s);

        clique(f().memento);
        tape(u"Café"_s);
        clique(f().start_stop);
        QCOMPARE(f().start_stop->text(), u"Fin"_s);
        QVERIFY(!f().zone->isEnabled() && !actif(TForm1::pos_tarifs) && actif(TForm1::pos_ajout_zone));
        QVERIFY(f().horloge->isActive() && f().Timer1->isActive());
        banc_->horloge.avance_s(1);
        f().horlogeTimer();
        icone_notification icone(&f());
        QCOMPARE(icone.infobulle(), u"Tarif: 0,20 FS - 00:00:01"_s);
        // Minimised, the window shows the application title; the icon brings it back.
        f().showMinimized();
        QTRY_COMPARE(f().windowTitle(), u"Tarif: 0,20 FS - 00:00:01"_s);
        icone.montre_fenetre();
        QTRY_COMPARE(f().windowTitle(), u"Tarif: 0,20 FS"_s);
        // The same period leaves the tick alone; another re-arms it.
        const int tick_avant = f().horloge->timerId();
        f().N1->trigger();
        QCOMPARE(f().horloge->timerId(), tick_avant);
        f().N10->trigger();
        QVERIFY(f().horloge->remainingTime() > 9000);
        QVERIFY(!f().N1->isChecked() && !f().N3->isChecked() && !f().N5->isChecked() && f().N10->isChecked());

        banc_->horloge.avance_s(98);
        // The wall clock set back 10 minutes charges nothing: the time talked is what counts.
        banc_->horloge.regle_ms(-600'000);
        f().horlogeTimer();
        f().Timer1Timer();
        QCOMPARE(icone.infobulle(), u"Tarif: 0,30 FS - 00:01:39"_s);
        QCOMPARE(f().heure->text(), u"00:01:39"_s);
        banc_->horloge.avance_s(101);
        touche(Qt::Key_Return); // the button the click gave the focus to, pressed by the keyboard
        QCOMPARE(f().windowTitle(), u"Tarif: 0,40 FS"_s);
        QCOMPARE(icone.infobulle(), u"Kalvo"_s);
        QCOMPARE(f().start_stop->text(), u"Début"_s);
        QVERIFY(f().zone->isEnabled() && !f().horloge->isActive() && !f().Timer1->isActive());
        // Only built-in zones: position 5 stays disabled; position 7 comes back.
        QVERIFY(!actif(TForm1::pos_modification_zone) && actif(TForm1::pos_tarifs));
        QVERIFY(journal().contains("Montant de la facture : 0,40 FS\r\n"));
        QCOMPARE(lit("appel_en_cours.tax"), QByteArray("<absent>"));
        // The next call, in the zone the user picks: Interurbain's 22.6-s units on the base charge alone.
        clique(f().zone->findChildren<QRadioButton*>().at(2));
        clique(f().start_stop);
        banc_->horloge.avance_s(100);
        clique(f().start_stop);
        QCOMPARE(f().windowTitle(), u"Tarif: 0,60 FS"_s);
        QVERIFY(journal().endsWith(
            "Interurbain\r\nMotif de l'appel      : Caf\351\r\nMontant de la facture : 0,60 FS\r\n"
            "-----------------------------------------\r\n"));
        f().Proprits1Click();
        QCOMPARE(journal(), QByteArray());
        QCOMPARE(messages.recus.size(), 1);
    }

    // Return and keypad Enter as the keyboard delivers them, after a click on the field.
    void historique_des_motifs() {
        clique(f().memento);
        // What the log's code page cannot hold is refused as typed, and left out of a paste with one beep.
        QSignalSpy bips(f().findChild<saisie_1252*>(), &saisie_1252::caractere_refuse);
        tape(u"Bu\u03A9"_s);
        QApplication::clipboard()->setText(u"r\u260Eeau\U0001F600"_s);
        touche(Qt::CTRL | Qt::Key_V);
        QCOMPARE(bips.count(), 2);
        touche(Qt::Key_Return);
        QCOMPARE(f().memento->lineEdit()->selectedText(), u"Bureau"_s);
        touche(Qt::KeypadModifier | Qt::Key_Enter); // the whole text is selected: nothing is added
        QCOMPARE(historique().size(), 1);

        tape(u"bureau"_s); // replaces the selection
        touche(Qt::SHIFT | Qt::Key_Left);
        touche(Qt::KeypadModifier | Qt::Key_Enter); // part of the text selected: the whole text goes in
        QCOMPARE(historique(), (QStringList{u"bureau"_s, u"Bureau"_s}));
        QCOMPARE(f().memento->currentText(), u"bureau"_s);
        touche(Qt::Key_Backspace);
        touche(Qt::Key_Return); // an empty field adds nothing
        touche(Qt::Key_Down);   // an entry picked from the list stands selected: Enter adds it not again
        QCOMPARE(f().memento->currentText(), u"Bureau"_s);
        touche(Qt::Key_Return);
        QCOMPARE(historique().size(), 2);

        // Copies go on top too; past fifteen entries the oldest goes.
        for (int i = 1; i <= 15; ++i) {
            tape(u"m%1"_s.arg(std::min(i, 14)));
            touche(Qt::Key_Return);
        }
        QCOMPARE(historique().join(u' '), u"m14 m14 m13 m12 m11 m10 m9 m8 m7 m6 m5 m4 m3 m2 m1"_s);
    }

    void kalvo_ini_existant_donne_tarifs_periode_et_historique() {
        banc_->fenetre.reset();
        std::ofstream ini(banc_->donnees.chemin(u"Kalvo.ini"_s).toStdString(), std::ios::binary);
        ini << "[Tarifs]\r\nTaxe de base=30\r\nDur\351e local normal=500\r\n"
            << "[Divers]\r\nMise \xE0 jour=5000\r\n[Memento]\r\n1=Bureau\r\n2=Caf\xE9\r\n[Ajouts]\r\nNombre "
               "d'ajouts=40\r\n";
        for (int n = 1; n <= 40; ++n) {
            ini << n << "=z" << n << "\r\n";
        }
        ini.close();
        banc_->redemarre();
        f().show();
        // The table is full: no zone can be added, and the window has grown by one row per zone.
        QCOMPARE(std::tuple(f().zone->nombre(), actif(TForm1::pos_ajout_zone), f().height()),
                 std::tuple(43, false, 160 + 40 * 16));
        QVERIFY(f().N5->isChecked() && f().horloge->interval() == 5000);
        QCOMPARE(historique(), (QStringList{u"Bureau"_s, u"Café"_s}));
        QCOMPARE(f().memento->lineEdit()->selectedText(), u"Bureau"_s);
        QCOMPARE(std::pair(f().zones().taxe_base(), f().zones().duree_unite(0, periode::normale)),
                 std::pair(30, 50.0));
        // No zone is changed during a call; a zone deleted makes room for another.
        clique(f().start_stop);
        QVERIFY(!actif(TForm1::pos_modification_zone));
        clique(f().start_stop);
        f().supprime_zone("z1");
        QVERIFY(actif(TForm1::pos_modification_zone) && actif(TForm1::pos_ajout_zone));
    }

    void ajout_et_suppression_de_zones() {
        f().zone->fixe_index(1);
        for (const char* nom : {"Europe", "Monde ", "Lune & Mars, V\xE9nus"}) {
            f().ajoute_zone(nom, 10, 20);
        }
        QCOMPARE(std::tuple(f().height(), f().zone->height(), f().zone->index()), std::tuple(208, 153, 1));
        QCOMPARE(f().Modificationdedonnespourzonedappel1->actions().at(2)->text(), u"Lune && Mars, Vénus"_s);
        // A name cut off, or with a blank at its end, can be read whole in its tooltip.
        const auto boutons = f().zone->findChildren<QWidget*>(); // its radio buttons, in zone order
        QCOMPARE(boutons[4]->toolTip() + u'|' + boutons[5]->toolTip(), u"«Monde »|Lune & Mars, Vénus"_s);
        // Deleting the selected zone in the middle selects the one that followed it; the last, the new last.
        f().zone->fixe_index(3);
        f().supprime_zone("europe");
        QCOMPARE(f().zone->element(f().zone->index()), u"Monde "_s);
        f().zone->fixe_index(4);
        f().supprime_zone("Lune & Mars, V\xE9nus");
        QCOMPARE(f().zone->index(), 3);
        f().supprime_zone("Monde ");
        QVERIFY(!actif(TForm1::pos_modification_zone));
        QCOMPARE(f().height(), 160);
    }

    // Placed for a 96-dpi screen, a window still lies on a smaller one: moved the least, or to its top left.
    void garde_sur_ecran() {
        const QRect e = QGuiApplication::primaryScreen()->availableGeometry();
        const QSize s(222, 160);
        const QPoint o = e.topLeft(), coin = e.bottomRight() + QPoint(1, 1) - QPoint(222, 160);
        for (const auto& [avant, apres] :
             {std::pair{QRect(o + QPoint(10, 20), s), o + QPoint(10, 20)},
              std::pair{QRect(e.bottomRight() - QPoint(100, 50), s), coin},
              std::pair{QRect(o - QPoint(30, 5), s), o},
              std::pair{QRect(o + QPoint(40, 40), e.size() + QSize(100, 100)), o}}) {
            QWidget fenetre;
            fenetre.setGeometry(avant);
            ::garde_sur_ecran(&fenetre);
            QCOMPARE(fenetre.geometry(), QRect(apres, avant.size()));
        }
    }

    // Another program holds the log: the calls wait, the next call overwrites none, and once the log is free
    // they are written in order. The user is told once that they wait and once that they are written.
    void journal_occupe_les_appels_attendent_puis_sont_inscrits() {
        messages_interceptes messages;
        QProcess autre_programme;
        autre_programme.start(u"flock"_s, {u"-o"_s, chemin("sauve.tax.verrou"), u"sh"_s, u"-c"_s,
                                           u"echo pris; exec sleep 60"_s});
        QVERIFY(autre_programme.waitForReadyRead(5000));
        for (const char* motif : {"un", "deux"}) {
            f().memento->setEditText(QString::fromLatin1(motif));
            clique(f().start_stop);
            banc_->horloge.avance_s(1);
            clique(f().start_stop);
        }
        f().Proprits1Click();
        QCOMPARE(lit("appel_en_cours.tax"), QByteArray("<absent>"));
        const QByteArray en_attente = lit("appels_en_attente.tax");
        QVERIFY(en_attente.indexOf(": un\r\n") > 0 &&
                en_attente.indexOf(": un\r\n") < en_attente.indexOf(": deux\r\n"));
        QCOMPARE(messages.recus.size(), 2);
        QVERIFY(messages.recus[0].second.contains(u"occupé par un autre programme"_s));
        QVERIFY(messages.recus[0].second.contains(chemin("appels_en_attente.tax")));
        QVERIFY(messages.recus[1].second.startsWith(
            u"Le fichier d'enregistrement des taxes n'a pas pu être effacé : il est occupé"_s));
        QVERIFY(f().reessai->isActive());
        autre_programme.kill();
        autre_programme.waitForFinished();
        f().reessaie();
        QCOMPARE(lit("sauve.tax"), en_attente);
        QCOMPARE(lit("appels_en_attente.tax"), QByteArray("<absent>"));
        QCOMPARE(messages.recus.value(2).second, depuis_utf8(message_appels_inscrits));
        QVERIFY(!f().reessai->isActive());
    }

    // A box is as wide as its sentence, up to a limit past which it wraps between words, whatever the scale:
    // also run at scale 2 on a 1280-pixel screen, where QMessageBox would wrap at half of its 640 points.
    void boites_a_la_largeur_du_texte() {
        for (const auto& [texte, lignes] :
             {std::pair{u"Le nom de zone ne doit ni déjà exister ni comporter '{' ou '}'."_s, 1},
              std::pair{depuis_utf8(message_appel_non_sauve), 2}}) {
            int vues = 0;
            pendant(nullptr, [&vues] {
                const auto* e = QApplication::activeModalWidget()->findChild<QLabel*>(u"qt_msgbox_label"_s);
                vues = e->height() / e->fontMetrics().lineSpacing();
            });
            message(texte);
            QCOMPARE(vues, lignes);
        }
    }

    // A Kalvo.ini too large to read (damage, or a hand-made mistake) and a folder in place of the log: the
    // user is told what could not be done, and the settings are never overwritten with the defaults.
    void fichiers_illisibles_ou_non_ecrits_signales() {
        banc_->fenetre.reset();
        QFile ini(chemin("Kalvo.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.resize(64 * 1024 * 1024 + 1));
        ini.close();
        QVERIFY(QDir().mkpath(chemin("sauve.tax")));
        messages_interceptes messages;
        banc_->fenetre = std::make_unique<TForm1>(banc_->horloge, banc_->donnees.donnees());
        QTRY_COMPARE(messages.recus.size(), 1);
        QVERIFY(messages.recus[0].second.startsWith(
            QStringLiteral("Le fichier de réglages Kalvo.ini n'a pas pu être lu")));
        QCOMPARE(f().periode_mise_a_jour(), 1000);
        f().Proprits1Click();
        banc_->fenetre.reset(); // its save fails too, and says so while the boxes are still caught
        QCOMPARE(
            messages.recus.mid(1),
            (QList{qMakePair(genre_message::information, depuis_utf8(message_effacement_impossible)
                                                             .arg(u"ce n'est pas un fichier ordinaire"_s)),
                   qMakePair(genre_message::erreur, u"Kalvo.ini n'a pas pu être écrit."_s)}));
        QCOMPARE(QFileInfo(chemin("Kalvo.ini")).size(), 64 * 1024 * 1024 + 1);
    }

    void etat_impossible_a_sauver_dit_une_fois() {
        // A folder with something in it where the state file goes: it cannot be replaced.
        QVERIFY(QDir().mkpath(chemin("appel_en_cours.tax/x")));
        messages_interceptes messages;
        clique(f().start_stop);
        for (int i = 0; i < 3; ++i) {
            banc_->horloge.avance_s(1);
            f().horlogeTimer();
        }
        QCOMPARE(messages.recus.size(), 1);
        QVERIFY(messages.recus[0].second.startsWith(
            QStringLiteral("L'appel en cours ne peut pas être sauvegardé")));
        clique(f().start_stop);
        QVERIFY(lit("sauve.tax").contains("Montant de la facture : 0,20 FS\r\n"));
    }
};

QTEST_MAIN(test_fenetre_principale)
#include "test_fenetre_principale.moc"
