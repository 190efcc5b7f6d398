// The call-log window's corrections and export: each hands the user's choice to the core and shows its
// answer.

#include "boites_message.h"
#include "conversion_texte.h"
#include "dialogues_journal.h"
#include "fenetre_principale.h"
#include "journal_appels.h"
#include "modele_appels.h"
#include "storage/appels_en_attente.h"
#include "storage/export_csv.h"
#include "storage/journal_reecriture.h"

#include <QFileDialog>
#include <QItemSelectionModel>
#include <QSaveFile>
#include <QTableView>
#include <algorithm>

std::vector<identite_appel> fenetre_journal::appels_choisis() const {
    std::vector<identite_appel> r;
    QModelIndexList lignes = appels->selectionModel()->selectedRows();
    std::sort(lignes.begin(), lignes.end());
    for (const QModelIndex& i : lignes) {
        r.push_back(modele_->appel(i.row()).identite());
    }
    return r;
}

resultat_correction fenetre_journal::ecrit(const correction& c) {
    // Calls waiting for the log go in first, as before every write of it.
    inscrit_appels(donnees_, {}, essai_bref);
    const resultat_correction r = applique_correction(donnees_.journal(), c, annee_courante(), essai_bref);
    relit();
    if (!r.ok) {
        message(depuis_utf8(r.message));
    }
    return r;
}

bool fenetre_journal::applique(const correction& c) {
    const resultat_correction r = ecrit(c);
    if (r.ok) {
        annulations_.push_back(r.inverse);
        met_a_jour_boutons();
    }
    return r.ok;
}

void fenetre_journal::change_motif() {
    const std::vector<identite_appel> choisis = appels_choisis();
    if (choisis.empty()) {
        return;
    }
    QStringList existants;
    for (const total_motif& m : par_motif_.motifs) {
        existants.append(depuis_1252(m.motif));
    }
    const QModelIndex courant = appels->selectionModel()->selectedRows().value(0);
    const std::optional<QString> motif =
        demande_motif(this, existants, depuis_1252(modele_->appel(courant.row()).motif()));
    if (motif) {
        applique(::change_motif(choisis, vers_1252(*motif)));
    }
}

void fenetre_journal::supprime() {
    const std::vector<identite_appel> choisis = appels_choisis();
    if (choisis.empty()) {
        return;
    }
    std::vector<std::size_t> places;
    for (const QModelIndex& i : appels->selectionModel()->selectedRows()) {
        places.push_back(modele_->place(i.row()));
    }
    const std::int64_t centimes = somme_appels(lecture_.appels, places).centimes;
    const QString question = choisis.size() == 1
                                 ? QStringLiteral("Supprimer cet appel de %1 FS\u00a0?")
                                       .arg(QString::fromStdString(texte_montant(centimes)))
                                 : QStringLiteral("Supprimer ces %1 appels, de %2 FS en tout\u00a0?")
                                       .arg(choisis.size())
                                       .arg(QString::fromStdString(texte_montant(centimes)));
    if (confirme(question)) {
        applique(supprime_appels(choisis));
    }
}

void fenetre_journal::corrige_fin() {
    const QModelIndexList lignes = appels->selectionModel()->selectedRows();
    if (lignes.size() != 1) {
        return;
    }
    const appel_journal a = modele_->appel(lignes.front().row());
    const QString libelle =
        QStringLiteral("Appel du %1 \u00e0 %2, zone %3, motif %4")
            .arg(modele_->data(modele_->index(lignes.front().row(), 0), Qt::DisplayRole).toString(),
                 modele_->data(modele_->index(lignes.front().row(), 1), Qt::DisplayRole).toString(),
                 depuis_1252(a.zone()), depuis_1252(a.motif()));
    const int annee = annee_courante();
    // Its own copy: the log may be read again while the dialog is open.
    const identite_appel identite = a.identite();
    const std::optional<correction> c = demande_fin(this, libelle, a.fin_ecrite(), [&](horodatage fin) {
        return ::corrige_fin(identite, fin, principale_.zones(), principale_.periode_mise_a_jour(), annee);
    });
    if (c) {
        applique(*c);
    }
}

void fenetre_journal::annule() {
    if (annulations_.empty()) {
        return;
    }
    const resultat_correction r = ecrit(annulations_.back());
    // An undo whose calls are gone never can be made: the one before comes next. One the log refused for
    // now (busy, unreadable) stays to be tried again.
    if (r.ok || r.message == message_appel_disparu) {
        annulations_.pop_back();
        met_a_jour_boutons();
    }
}

void fenetre_journal::exporte() {
    const QString fichier =
        QFileDialog::getSaveFileName(this, QStringLiteral("Exporter les appels montr\u00e9s"),
                                     QStringLiteral("appels.csv"), QStringLiteral("Fichiers CSV (*.csv)"));
    if (fichier.isEmpty()) {
        return;
    }
    // The separator spreadsheets under a French locale expect.
    const char separateur = ';';
    std::string contenu = entete_csv(separateur);
    const int annee = annee_courante();
    for (int ligne = 0; ligne < modele_->rowCount(); ++ligne) {
        const appel_journal& a = modele_->appel(ligne);
        ajoute_ligne_csv(contenu, lignes_de(a.brut()), a.centimes, annee, separateur);
    }
    QSaveFile sortie(fichier);
    if (!sortie.open(QIODevice::WriteOnly) ||
        sortie.write(contenu.data(), static_cast<qint64>(contenu.size())) !=
            static_cast<qint64>(contenu.size()) ||
        !sortie.commit()) {
        message(depuis_utf8(message_export_impossible).arg(fichier));
    }
}
