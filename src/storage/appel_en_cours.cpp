#include "storage/appel_en_cours.h"

#include "storage/appels_en_attente.h"
#include "storage/fichier_atomique.h"
#include "storage/fichier_regulier.h"
#include "storage/journal_lecteur.h"
#include "storage/verrou_journal.h"

#include <system_error>

namespace fs = std::filesystem;

namespace {

// One record of six lines that the log's reader takes whole; anything larger is not a saved state.
constexpr std::size_t taille_max_appel = 6 * (longueur_max_ligne + 2);

// What a saved state must look like: exactly one whole record whose amount reads back.
bool un_enregistrement_entier(const fs::path& fichier, const texte& contenu) {
    std::size_t lignes = 0;
    for (std::size_t i = 0; i + 1 < contenu.size(); ++i) {
        if (contenu[i] == '\r' && contenu[i + 1] == '\n') {
            ++lignes;
        }
    }
    if (lignes != 6 || contenu.size() < 2 || contenu.substr(contenu.size() - 2) != "\r\n") {
        return false;
    }
    const resultat_totaux lu = totalise_motifs(fichier);
    return lu.etat == etat_lecture::complet && lu.motifs.size() == 1;
}

resultat_reprise reprend(const dossier_donnees& donnees, std::chrono::milliseconds attente) {
    const fs::path fichier = donnees.appel_en_cours();
    texte contenu;
    const etat_fichier lu = lit_fichier_regulier(fichier, contenu, taille_max_appel);
    if (lu == etat_fichier::absent) {
        return {};
    }
    std::error_code erreur;
    if (lu != etat_fichier::ok || !un_enregistrement_entier(fichier, contenu)) {
        // Appending it could shift every later record of the log; keep it aside for the user instead,
        // under a name of its own: an earlier one set aside may still wait for the user.
        fs::path cote = fichier;
        cote += ".illisible";
        for (int n = 2; fs::exists(fs::symlink_status(cote, erreur)) && n < 1000; ++n) {
            cote = fichier;
            cote += ".illisible-" + std::to_string(n);
        }
        fs::rename(fichier, cote, erreur);
        return {etat_reprise::illisible, cote, {}, {}};
    }
    // A kill between the append at "Fin" and the removal of this file left the record in the log already:
    // inscrit_appels then leaves it out.
    const resultat_ecriture ecrit = inscrit_appels(donnees, contenu, attente);
    resultat_reprise r{etat_reprise::enregistre, {}, ecrit.detail, {}};
    if (!ecrit.ok) {
        const resultat_ecriture garde = met_en_attente(donnees, contenu);
        if (!garde.ok) {
            return {etat_reprise::non_ajoute, {}, garde.detail, contenu};
        }
        r.etat = etat_reprise::en_attente;
    }
    sauvegarde_appel(donnees).oublie();
    return r;
}

} // namespace

bool nettoie_restes_journal(const dossier_donnees& donnees, std::chrono::milliseconds attente) {
    const fs::path journal = donnees.journal();
    const verrou_journal verrou(journal, attente);
    if (verrou.pris()) {
        nettoie_temporaires(journal);
        nettoie_temporaires(chemin_precedent(journal));
    }
    return verrou.pris();
}

resultat_reprise reprend_appel_interrompu(const dossier_donnees& donnees, std::chrono::milliseconds attente) {
    // Only this Kalvo writes these two: the instance lock keeps a second one out of the folder.
    nettoie_temporaires(donnees.reglages());
    nettoie_temporaires(donnees.appel_en_cours());
    const bool nettoye = nettoie_restes_journal(donnees, attente);
    resultat_reprise r = reprend(donnees, attente);
    r.journal_nettoye = nettoye;
    return r;
}

bool sauvegarde_appel::sauve(const appel& a, std::int64_t ms, bool durable) {
    durable = durable || !dernier_flush_ || ms - *dernier_flush_ >= 60'000;
    fichier_atomique nouveau(donnees_.appel_en_cours(), systeme_);
    if (!dernier_flush_) {
        nouveau.mode_si_nouveau(donnees_.mode_nouveau_fichier()); // made at the start of the call
    }
    nouveau.ecrit(formate_appel(a));
    if (!nouveau.remplace(durable)) {
        return false;
    }
    if (durable) {
        dernier_flush_ = ms;
    }
    return true;
}

void sauvegarde_appel::oublie() {
    std::error_code erreur;
    if (fs::remove(donnees_.appel_en_cours(), erreur)) {
        synchronise_dossier(donnees_.chemin(), systeme_);
    }
    dernier_flush_.reset();
}
