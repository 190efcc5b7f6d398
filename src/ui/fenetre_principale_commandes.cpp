// The main window's handlers: the call meter, the update period, the reason history, the zone table and
// the pop-up menu's commands.
#include "boite_a_propos.h"
#include "boites_message.h"
#include "conversion_texte.h"
#include "dialogue_alertes.h"
#include "dialogue_tarifs.h"
#include "dialogue_zone.h"
#include "fenetre_principale.h"
#include "groupe_radio.h"
#include "journal_appels.h"
#include "references.h"
#include "storage/appels_en_attente.h"
#include "storage/journal_appels.h"
#include "storage/reglages.h"
#include "titre_application.h"
#include "visualisation.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

void TForm1::affiche_periode(periode p) {
    const bool reduite = p == periode::reduite;
    taux->setText(reduite ? QStringLiteral("Tarif R\u00e9duit") : QStringLiteral("Tarif Normal"));
    taux->adjustSize();
    logo->setStyleSheet(reduite
                            ? QStringLiteral("background-color: rgb(0, 128, 0); border: 1px solid black;")
                            : QStringLiteral("background-color: rgb(255, 0, 0); border: 1px solid black;"));
}

double TForm1::taux_actuel() {
    const periode p = periode_en_vigueur(horloge_.maintenant());
    affiche_periode(p);
    return zones_.duree_unite(zone->index(), p);
}

void TForm1::montre_tick(std::int64_t ms) {
    affiche_periode(appel_.periode_courante());
    fixe_legende(QString::fromStdString(appel_.legende()));
    titre_application::fixe(legende_ + QStringLiteral(" - ") + QString::fromStdString(appel_.duree(ms)));
}

void TForm1::horlogeTimer() {
    const std::int64_t ms = horloge_.ms_continues();
    appel_.tick(horloge_.maintenant(), ms);
    montre_tick(ms);
    sauve_etat_appel(ms, false);
    annonce(alertes_.tick(appel_, ms));
}

void TForm1::start_stopClick() {
    const std::int64_t ms = horloge_.ms_continues();
    if (!appel_.en_cours()) {
        Timer1->start();
        appel_.debut(zones_.zone(zone->index()), zones_.taxe_base(), horloge_.maintenant(), ms, periode_);
        start_stop->setText(QStringLiteral("Fin"));
        zone->setEnabled(false);
        position(pos_modification_zone)->setEnabled(false);
        position(pos_tarifs)->setEnabled(false);
        horloge->start();
        etat_non_sauve_signale_ = false;
        sauve_etat_appel(ms, true);
        // The month's logged calls are read here once, not at every tick.
        annonce(alertes_.debut(
            appel_, [this](int annee, int mois) { return depenses_du_mois(donnees_, annee, mois, annee); }));
        return;
    }
    appel_.fin(horloge_.maintenant(), ms);
    fin_appel(ms);
}

void TForm1::fin_appel(std::int64_t ms) {
    Timer1->stop();
    ferme_alertes();
    // The call ends at its last tick: the record kept on the disk is byte for byte the one appended, so a
    // recovery after a kill in between finds it in the log.
    montre_tick(ms);
    sauve_etat_appel(ms, true);
    start_stop->setText(QStringLiteral("D\u00e9but"));
    zone->setEnabled(true);
    horloge->stop();
    titre_application::fixe(QStringLiteral("Kalvo"));
    enregistre_appel();
    position(pos_modification_zone)->setEnabled(zones_.nombre_ajouts() > 0);
    position(pos_tarifs)->setEnabled(true);
}

void TForm1::sauve_etat_appel(std::int64_t ms, bool durable) {
    // The file still holds a finished call nothing else has: it is not replaced until that call is written.
    if (non_range_.empty() &&
        sauvegarde_.sauve(appel_.enregistrement(vers_1252(memento->currentText())), ms, durable)) {
        return;
    }
    // Said once per call: a box at every tick would make the program unusable.
    if (!etat_non_sauve_signale_) {
        etat_non_sauve_signale_ = true;
        message(depuis_utf8(message_appel_non_sauve));
    }
}

void TForm1::enregistre_appel() {
    const texte enregistrement = formate_appel(appel_.enregistrement(vers_1252(memento->currentText())));
    const resultat_ecriture ecrit = inscrit_appels(donnees_, enregistrement, essai_bref);
    if (ecrit.ok) {
        sauvegarde_.oublie();
        reessaie(); // says so if calls were waiting
        return;
    }
    const resultat_ecriture garde = met_en_attente(donnees_, enregistrement);
    if (!garde.ok) {
        garde_non_range(enregistrement, garde);
        return;
    }
    sauvegarde_.oublie();
    reessai->start();
    if (!attente_signalee_) {
        attente_signalee_ = true;
        message(depuis_utf8(message_appel_en_attente)
                    .arg(QString::fromStdString(ecrit.detail),
                         QString::fromStdString(donnees_.appels_en_attente().string())));
    }
}

void TForm1::garde_non_range(const texte& enregistrement, const resultat_ecriture& pourquoi) {
    non_range_ = enregistrement;
    reessai->start();
    attente_signalee_ = true;
    message(depuis_utf8(message_appel_non_enregistre)
                .arg(QString::fromStdString(pourquoi.detail),
                     QString::fromStdString(donnees_.appel_en_cours().string())));
}

void TForm1::prend_en_charge_le_journal(const resultat_reprise& reprise) {
    journal_nettoye_ = reprise.journal_nettoye;
    non_range_ = reprise.enregistrement;
    // Calls left waiting by an earlier run are written now if the log is free, and the user told so.
    attente_signalee_ = !non_range_.empty() || appels_en_attente(donnees_);
    if (!journal_nettoye_ || attente_signalee_) {
        QTimer::singleShot(0, this, &TForm1::reessaie);
    }
}

void TForm1::reessaie() {
    if (!journal_nettoye_) {
        journal_nettoye_ = nettoie_restes_journal(donnees_, essai_bref);
    }
    if (!non_range_.empty() || appels_en_attente(donnees_)) {
        const bool etait_non_range = !non_range_.empty();
        if (inscrit_appels(donnees_, non_range_, essai_bref).ok ||
            (etait_non_range && met_en_attente(donnees_, non_range_).ok)) {
            non_range_.clear();
        }
        // The running call's file held that call: it goes, or takes the running call's state at last.
        if (etait_non_range && non_range_.empty()) {
            if (appel_.en_cours()) {
                sauve_etat_appel(horloge_.ms_continues(), true);
            } else {
                sauvegarde_.oublie();
            }
        }
    }
    if (!journal_nettoye_ || !non_range_.empty() || appels_en_attente(donnees_)) {
        reessai->start();
        return;
    }
    reessai->stop();
    if (attente_signalee_) {
        attente_signalee_ = false;
        message(depuis_utf8(message_appels_inscrits));
    }
}

void TForm1::Timer1Timer() {
    heure->setText(QString::fromStdString(appel_.duree(horloge_.ms_continues())));
    heure->adjustSize();
}

void TForm1::coche_periode(int position) {
    const QList<QAction*> elements = Misejourtoutesles1->actions();
    for (int i = 0; i < elements.size(); ++i) {
        elements[i]->setChecked(i == position - 1);
    }
}

void TForm1::change_periode(int position) {
    periode_ = periodes_mise_a_jour.at(static_cast<std::size_t>(position));
    coche_periode(position + 1);
    // Re-arming the timer only on a real change keeps the rhythm when the same period is chosen again.
    if (horloge->interval() != periode_) {
        horloge->setInterval(periode_); // a running timer starts its period again from now
        appel_.change_periode(periode_, horloge_.ms_continues());
    }
}

void TForm1::N1Click() {
    change_periode(0);
}

void TForm1::N3Click() {
    change_periode(1);
}

void TForm1::N5Click() {
    change_periode(2);
}

void TForm1::N10Click() {
    change_periode(3);
}

void TForm1::mementoKeyPress(QChar& touche) {
    if (touche != QChar(13)) {
        return;
    }
    QLineEdit* edition = memento->lineEdit();
    const QString texte = edition->text();
    if (texte == edition->selectedText()) {
        return;
    }
    memento->insertItem(0, texte);
    if (memento->count() > taille_historique) {
        memento->removeItem(taille_historique);
    }
    // The new entry becomes the current item, so the arrow keys move on from it to the older ones.
    memento->setCurrentIndex(0);
    edition->selectAll();
}

void TForm1::ajoute_zone(const texte& nom, double normal_dixiemes, double reduit_dixiemes) {
    const QString libelle = depuis_1252(nom);
    QString affiche = libelle;
    affiche.replace(u'&', QStringLiteral("&&")); // a name is shown as typed, never as a shortcut
    zone->ajoute(affiche);
    zone->resize(zone->width(), zone->height() + hauteur_par_zone);
    setFixedSize(width(), height() + hauteur_par_zone);
    zones_.ajoute(nom, normal_dixiemes, reduit_dixiemes);

    QAction* modification = Modificationdedonnespourzonedappel1->addAction(affiche);
    modification->setData(QByteArray::fromStdString(nom));
    connect(modification, &QAction::triggered, this,
            [this, modification] { ouvre_modification(modification); });
    position(pos_modification_zone)->setEnabled(true);
}

void TForm1::supprime_zone(const texte& nom) {
    const int idx = zones_.recherche(nom);
    if (idx < table_zones::nb_fixes) {
        return;
    }
    QAction* modification = Modificationdedonnespourzonedappel1->actions().at(idx - table_zones::nb_fixes);
    Modificationdedonnespourzonedappel1->removeAction(modification);
    modification->deleteLater();
    zone->supprime(idx);
    zone->resize(zone->width(), zone->height() - hauteur_par_zone);
    setFixedSize(width(), height() - hauteur_par_zone);
    zones_.supprime(idx);
    if (zones_.nombre_ajouts() == 0) {
        position(pos_modification_zone)->setEnabled(false);
    }
    position(pos_ajout_zone)->setEnabled(true);
}

void TForm1::ouvre_ajout() {
    // The item is disabled at 43 zones; the table must never pass its capacity whoever calls this.
    if (Ajout_zone == nullptr || zones_.pleine()) {
        return;
    }
    Ajout_zone->prepare_ajout();
    Ajout_zone->exec();
}

void TForm1::ouvre_modification(QAction* element) {
    if (Ajout_zone != nullptr) {
        Ajout_zone->FormClick(element);
    }
}

void TForm1::Proprits1Click() {
    // The calls that ended before the erase go with it, into the copy it keeps.
    reessaie();
    const resultat_ecriture resultat = efface_journal(donnees_.journal(), essai_bref);
    if (!resultat.ok) {
        message(depuis_utf8(message_effacement_impossible).arg(QString::fromStdString(resultat.detail)));
    }
}

void TForm1::Ajoutdunezonedappel1Click() {
    ouvre_ajout();
    if (appel_.en_cours()) {
        position(pos_modification_zone)->setEnabled(false);
    }
    if (zones_.pleine()) {
        position(pos_ajout_zone)->setEnabled(false);
    }
}

void TForm1::Dfinitiondestarifsdebase1Click() {
    if (Tarifs_dlg != nullptr) {
        Tarifs_dlg->exec();
    }
}

void TForm1::Alertes1Click() {
    if (Alertes_dlg == nullptr) {
        Alertes_dlg = std::make_unique<dialogue_alertes>();
    }
    Alertes_dlg->exec();
}

// Both windows on the log say first when there is none.
bool TForm1::journal_present() const {
    std::error_code erreur;
    if (!std::filesystem::exists(donnees_.journal(), erreur)) {
        message(depuis_utf8(message_journal_absent));
        return false;
    }
    return true;
}

void TForm1::Visualisationdescotsparmotifdappel1Click() {
    if (!journal_present()) {
        return;
    }
    if (visualisation != nullptr) {
        visualisation->exec();
    }
}

void TForm1::Journaldesappels1Click() {
    if (!journal_present()) {
        return;
    }
    if (journal_appels == nullptr) {
        journal_appels = new fenetre_journal(horloge_, donnees_, *this, this);
    }
    journal_appels->show();
    journal_appels->raise();
    journal_appels->activateWindow();
}

void TForm1::Aproposde1Click() {
    if (AboutBox != nullptr) {
        AboutBox->exec();
    }
}

void TForm1::FormDestroy() {
    if (detruite_) {
        return;
    }
    detruite_ = true;
    if (appel_.en_cours()) {
        start_stopClick();
    }
    std::vector<texte> historique;
    for (int i = 0; i < memento->count(); ++i) {
        historique.push_back(vers_1252(memento->itemText(i)));
    }
    if (const erreur_reglages erreur = sauve_reglages(donnees_, periode_, historique, zones_)) {
        message_erreur(QString::fromStdString(*erreur));
    }
}
