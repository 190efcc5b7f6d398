#include "storage/appels_en_attente.h"

#include "storage/fichier_regulier.h"
#include "storage/periode_appels.h"
#include "storage/verrou_journal.h"

#include <system_error>

namespace fs = std::filesystem;

namespace {

// The records appended before a power cut that came in the middle of one: the whole ones only.
std::string_view enregistrements_entiers(std::string_view contenu) {
    std::size_t fin = 0;
    for (std::size_t p = 0, lignes = 0; p + 1 < contenu.size(); ++p) {
        if (contenu[p] == '\r' && contenu[p + 1] == '\n' && ++lignes % 6 == 0) {
            fin = p + 2;
        }
    }
    return contenu.substr(0, fin);
}

} // namespace

resultat_ecriture met_en_attente(const dossier_donnees& donnees, std::string_view enregistrements,
                                 const appels_systeme& systeme) {
    const resultat_fichier r = ajoute_a_la_fin(donnees.appels_en_attente(), enregistrements,
                                               donnees.mode_nouveau_fichier(), systeme);
    return r.etat == etat_fichier::ok ? resultat_ecriture{}
                                      : resultat_ecriture{false, raison_fichier(r.etat, r.numero)};
}

resultat_ecriture inscrit_appels(const dossier_donnees& donnees, std::string_view nouveaux,
                                 std::chrono::milliseconds attente, const appels_systeme& systeme) {
    const verrou_journal verrou(donnees.journal(), attente);
    if (!verrou.pris()) {
        return {false, verrou.raison(), verrou.resultat() == verrou_journal::etat::occupe};
    }
    // One record of a handful of lines each: a file far larger is no list of waiting calls, and is left
    // alone.
    texte en_attente;
    const bool a_vider =
        lit_fichier_regulier(donnees.appels_en_attente(), en_attente, 64 << 20) == etat_fichier::ok;
    const std::string_view entiers = enregistrements_entiers(en_attente);
    const resultat_ecriture r =
        ajoute_enregistrements(verrou, donnees.journal(), texte(entiers) + texte(nouveaux), true, systeme);
    if (r.ok && a_vider) {
        std::error_code erreur;
        fs::remove(donnees.appels_en_attente(), erreur);
        synchronise_dossier(donnees.chemin(), systeme);
    }
    return r;
}

bool appels_en_attente(const dossier_donnees& donnees) {
    std::error_code erreur;
    return fs::file_size(donnees.appels_en_attente(), erreur) > 0 && !erreur;
}

std::int64_t depenses_du_mois(const dossier_donnees& donnees, int annee, int mois, int annee_courante,
                              const compteur& appel) {
    const periode_appels periode = periode_mois(annee, mois);
    std::int64_t total = releve(donnees.journal(), periode, annee_courante).total.centimes +
                         releve(donnees.appels_en_attente(), periode, annee_courante).total.centimes;
    if (appel.en_cours()) {
        const date_heure debut = decode(appel.debut_horodatage());
        if (debut.annee == annee && debut.mois == mois) {
            total += appel.montant_appel();
        }
    }
    return total;
}
