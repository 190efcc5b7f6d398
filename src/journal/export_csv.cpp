#include "journal/export_csv.h"

#include "storage/journal_lecteur.h"

#include <string>

namespace {

// A field with a separator, a quote or a line end goes between quotes, its quotes doubled.
void ajoute_champ(std::string& ligne, std::string_view texte_1252) {
    const std::string valeur = utf8_depuis_1252(texte_1252);
    if (valeur.find_first_of(",\"\r\n") == std::string::npos) {
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

etat_lecture exporte_csv(const std::filesystem::path& journal, int annee_courante, std::FILE* sortie) {
    lecteur_journal lecteur(journal);
    if (lecteur.absent()) {
        return etat_lecture::absent;
    }
    std::string ligne = "debut,fin,zone,motif,montant_cts\r\n";
    std::fwrite(ligne.data(), 1, ligne.size(), sortie);
    lignes_enregistrement lignes;
    while (lecteur.suivant(lignes)) {
        const auto centimes = montant_lu(lignes[4]);
        if (!centimes) {
            return etat_lecture::corrompu;
        }
        ligne = moment_iso(lignes[0], annee_courante);
        ligne += ',';
        ligne += moment_iso(lignes[1], annee_courante);
        ligne += ',';
        ajoute_champ(ligne, sans_prefixe(lignes[2]));
        ligne += ',';
        ajoute_champ(ligne, sans_prefixe(lignes[3]));
        ligne += ',';
        ligne += std::to_string(*centimes);
        ligne += "\r\n";
        std::fwrite(ligne.data(), 1, ligne.size(), sortie);
    }
    return lecteur.erreur() ? etat_lecture::erreur_lecture : etat_lecture::complet;
}
