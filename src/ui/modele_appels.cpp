#include "modele_appels.h"

#include "conversion_texte.h"
#include "metering/montant.h"

#include <algorithm>
#include <tuple>

namespace {

QString texte_heure_jour(const std::optional<int>& secondes) {
    return secondes ? QString::fromStdString(texte_heure(encode_heure(0, 0, *secondes, 0))) : QString();
}

// What a column sorts by: numbers as numbers, texts without regard to letter case.
std::tuple<std::int64_t, QString> cle(const appel_journal& a, int colonne) {
    switch (colonne) {
    case modele_appels::col_date:
        return {a.jour.value_or(-1) * 86'400 + a.debut.value_or(0), {}};
    case modele_appels::col_debut:
        return {a.debut.value_or(-1), {}};
    case modele_appels::col_fin:
        return {a.fin.value_or(-1), {}};
    case modele_appels::col_duree:
        return {a.duree.value_or(-1), {}};
    case modele_appels::col_zone:
        return {0, depuis_1252(a.zone()).toCaseFolded()};
    case modele_appels::col_motif:
        return {0, depuis_1252(a.motif()).toCaseFolded()};
    default:
        return {a.centimes, {}};
    }
}

} // namespace

void modele_appels::montre(const std::vector<appel_journal>* appels, std::vector<std::size_t> places) {
    beginResetModel();
    appels_ = appels;
    places_ = std::move(places);
    ordre_fichier_ = places_;
    endResetModel();
    if (tri_ >= 0) {
        sort(tri_, ordre_);
    }
}

int modele_appels::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(places_.size());
}

int modele_appels::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : nb_colonnes;
}

QVariant modele_appels::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        const bool nombre = index.column() == col_duree || index.column() == col_montant;
        return QVariant::fromValue(Qt::AlignVCenter | (nombre ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    const appel_journal& a = appel(index.row());
    switch (index.column()) {
    case col_date:
        return a.jour ? QString::fromStdString(texte_jour(*a.jour)) : QString();
    case col_debut:
        return texte_heure_jour(a.debut);
    case col_fin:
        return texte_heure_jour(a.fin);
    case col_duree:
        return a.duree ? QString::fromStdString(texte_duree(*a.duree)) : QString();
    case col_zone:
        return depuis_1252(a.zone());
    case col_motif:
        return depuis_1252(a.motif());
    case col_montant:
        return QString::fromStdString(texte_montant(a.centimes));
    default:
        return {};
    }
}

QVariant modele_appels::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char16_t* const titres[] = {u"Date", u"D\u00e9but", u"Fin",    u"Dur\u00e9e",
                                             u"Zone", u"Motif",      u"Montant"};
    return section >= 0 && section < nb_colonnes ? QString::fromUtf16(titres[section]) : QString();
}

void modele_appels::sort(int colonne, Qt::SortOrder ordre) {
    tri_ = colonne;
    ordre_ = ordre;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The selection follows its calls to their new rows.
    const QModelIndexList avant = persistentIndexList();
    std::vector<std::size_t> places_avant;
    for (const QModelIndex& i : avant) {
        places_avant.push_back(place(i.row()));
    }
    places_ = ordre_fichier_;
    if (colonne >= 0 && colonne < nb_colonnes) {
        std::vector<std::tuple<std::int64_t, QString>> cles(appels_ == nullptr ? 0 : appels_->size());
        for (const std::size_t p : places_) {
            cles[p] = cle((*appels_)[p], colonne);
        }
        // Stable: equal keys keep the order of the file.
        std::stable_sort(places_.begin(), places_.end(), [&](std::size_t x, std::size_t y) {
            return ordre == Qt::AscendingOrder ? cles[x] < cles[y] : cles[y] < cles[x];
        });
    }
    std::vector<int> ligne_de(appels_ == nullptr ? 0 : appels_->size());
    for (std::size_t l = 0; l < places_.size(); ++l) {
        ligne_de[places_[l]] = static_cast<int>(l);
    }
    QModelIndexList apres;
    for (qsizetype k = 0; k < avant.size(); ++k) {
        apres.append(index(ligne_de[places_avant[static_cast<std::size_t>(k)]], avant[k].column()));
    }
    changePersistentIndexList(avant, apres);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
