#pragma once

#include "storage/periode_appels.h"

#include <QAbstractTableModel>
#include <vector>

// The calls of the call-log window, read on demand from the core's list: a period of a long log shows at
// once, whatever its number of calls. Shown are the calls whose places in the list it is given, in that
// order until a column is sorted.
class modele_appels final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum colonne { col_date, col_debut, col_fin, col_duree, col_zone, col_motif, col_montant, nb_colonnes };

    using QAbstractTableModel::QAbstractTableModel;

    void montre(const std::vector<appel_journal>* appels, std::vector<std::size_t> places);
    // The place in the list of the call on that row.
    std::size_t place(int ligne) const { return places_.at(static_cast<std::size_t>(ligne)); }
    const appel_journal& appel(int ligne) const { return (*appels_)[place(ligne)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int colonne, Qt::SortOrder ordre) override;

private:
    const std::vector<appel_journal>* appels_ = nullptr;
    std::vector<std::size_t> places_;
    std::vector<std::size_t> ordre_fichier_;
    int tri_ = -1;
    Qt::SortOrder ordre_ = Qt::AscendingOrder;
};
