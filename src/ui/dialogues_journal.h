#pragma once

#include "storage/journal_corrections.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

// The two questions of the call-log window's corrections, each a modal dialog ("OK" or "Annuler").

// The new reason of the chosen calls: typed, or one of `existants` to merge them into it. None when
// cancelled.
std::optional<QString> demande_motif(QWidget* parent, const QStringList& existants, const QString& actuel);

// The real end of a call, from `proposee` on; each end typed shows what `calcule` makes of it (the charge, or
// why it cannot be corrected), and "OK" is offered only for an end that can be. None when cancelled.
std::optional<correction> demande_fin(QWidget* parent, const QString& appel, horodatage proposee,
                                      const std::function<fin_corrigee(horodatage)>& calcule);
