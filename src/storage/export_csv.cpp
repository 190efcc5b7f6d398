#include "storage/export_csv.h"

#include <algorithm>
#include <string>

namespace {

// A text field: neutralised when a spreadsheet would read it as a formula; between quotes, its quotes
// doubled, when it holds a separator, a quote or a line end.
void ajoute_champ(std::string& ligne, std::string_view texte_1252, char separateur) {
    std::string valeur = utf8_depuis_1252(texte_1252);
    if (!valeur.empty() && std::string_view("=+-@\t\r").find(valeur.front()) != std::string_view::npos) {
        valeur.insert(0, 1, '\'');
    }
    const char a_guillemeter[] = {separateur, '"', '\r', '\n', '\0'};
    if (valeur.find_first_of(a_guillemeter) == std::string::npos) {
        ligne += valeur;
        return;
    }
    ligne += '"';
    for (const char c : valeur) {
        if (c == '"') {
            ligne += '"';
        }
        ligne += c;
    }
    ligne += '"';
}

// Start or end moment of a record from line 1 or 2, or nothing when either part does not read.
std::string moment_iso(std::string_view ligne, int annee_courante) {
    const auto jour = convertit_date(texte_date_ligne(ligne), annee_courante);
    const auto secondes = secondes_du_jour(texte_heure_ligne(ligne));
    if (!jour || !secondes) {
        return {};
    }
    const date_heure dh = decode(static_cast<horodatage>(*jour));
    char tampon[32];
    std::snprintf(tampon, sizeof tampon, "%04d-%02d-%02dT%02d:%02d:%02d", dh.annee, dh.mois, dh.jour,
                  *secondes / 3600, *secondes / 60 % 60, *secondes % 60);
    return tampon;
}

} // namespace

std::string entete_csv(char separateur) {
    std::string entete = "debut,fin,zone,motif,montant_cts\r\n";
    std::replace(entete.begin(), entete.end(), ',', separateur);
    return entete;
}

void ajoute_ligne_csv(std::string& sortie, const lignes_enregistrement& lignes, std::int64_t centimes,
                      int annee_courante, char separateur) {
    sortie += moment_iso(lignes[0], annee_courante);
    sortie += separateur;
    sortie += moment_iso(lignes[1], annee_courante);
    sortie += separateur;
    ajoute_champ(sortie, sans_prefixe(lignes[2]), separateur);
    sortie += separateur;
    ajoute_champ(sortie, sans_prefixe(lignes[3]), separateur);
    sortie += separateur;
    sortie += std::to_string(centimes);
    sortie += "\r\n";
}

etat_lecture exporte_csv(const std::filesystem::path& journal, int annee_courante, std::FILE* sortie,
                         char separateur, const periode_appels& periode) {
    std::string ligne;
    bool entete = false;
    const auto ecrit_entete = [&] {
        const std::string debut = entete_csv(separateur);
        std::fwrite(debut.data(), 1, debut.size(), sortie);
        entete = true;
    };
    const resultat_parcours lecture =
        parcourt_periode(journal, periode, annee_courante, [&](const enregistrement_periode& e) {
            if (!entete) {
                ecrit_entete();
            }
            ligne.clear();
            ajoute_ligne_csv(ligne, e.lignes, e.centimes, annee_courante, separateur);
            std::fwrite(ligne.data(), 1, ligne.size(), sortie);
        });
    // A log with no call of the period still gives the header; one that cannot be read gives nothing.
    if (!entete && lecture.etat != etat_lecture::absent && lecture.etat != etat_lecture::erreur_lecture) {
        ecrit_entete();
    }
    return lecture.etat;
}
