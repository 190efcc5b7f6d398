#pragma once

#include "storage/journal_appels.h"
#include "storage/periode_appels.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// Writes the log's records as RFC 4180 CSV in UTF-8: header debut,fin,zone,motif,montant_cts, times as
// YYYY-MM-DDTHH:MM:SS (empty when the log's text does not read as one), the amount in centimes. The
// separator is "," or ";" (what spreadsheets under a French locale expect). A zone or reason that starts
// with =, +, -, @, a tab or a CR gets a leading apostrophe, so that a spreadsheet shows it as text instead
// of running it as a formula. Only the calls that started in the period. Stops at a corrupt record, like the
// totals, after the rows before it.
etat_lecture exporte_csv(const std::filesystem::path& journal, int annee_courante, std::FILE* sortie,
                         char separateur = ',', const periode_appels& periode = {});

// The same rows one at a time, for calls already read: the header, then a record's row, each ended by CR LF.
std::string entete_csv(char separateur);
void ajoute_ligne_csv(std::string& sortie, const lignes_enregistrement& lignes, std::int64_t centimes,
                      int annee_courante, char separateur);

// %1 names the file (UTF-8).
inline constexpr std::string_view message_export_impossible = "Le fichier %1 n'a pas pu être écrit.";
