#include "storage/journal_reecriture.h"

#include "storage/journal_appels.h"

#include <system_error>

namespace fs = std::filesystem;

namespace {

// Written out in blocks this large so that the writes cost little next to the reading.
constexpr std::size_t bloc_ecriture = 1 << 20;

resultat_reecriture echec(std::string message) {
    return {etat_reecriture::erreur_fichier, std::move(message)};
}

// "... n'a pas pu être réécrit : ce n'est pas un fichier ordinaire."
resultat_reecriture non_reecrit(const std::string& raison) {
    return echec(std::string(message_reecriture_impossible) + " : " + raison + ".");
}

} // namespace

void ajoute_lignes(texte& sortie, const lignes_enregistrement& lignes) {
    for (const std::string_view ligne : lignes) {
        sortie += ligne;
        sortie += "\r\n";
    }
}

void recopie(texte& sortie, const lecteur_journal& lecteur, const lignes_enregistrement& lignes) {
    if (lecteur.canonique()) {
        sortie += lecteur.brut();
    } else {
        ajoute_lignes(sortie, lignes);
    }
}

resultat_reecriture reecrit_journal(const fs::path& journal, const traite_enregistrement& traite,
                                    const termine_reecriture& termine, std::chrono::milliseconds attente,
                                    const appels_systeme& systeme) {
    // Before the lock, whose file would stay beside a log that is not there, or fail for want of a folder.
    if (std::error_code erreur; !fs::exists(journal, erreur) && !erreur) {
        return {etat_reecriture::absent, std::string(message_journal_absent)};
    }
    // Held until the new log is in place: a record appended meanwhile would go to the file being replaced.
    const verrou_journal verrou(journal, attente);
    if (verrou.resultat() == verrou_journal::etat::occupe) {
        return echec(std::string(message_journal_occupe));
    }
    if (!verrou.pris()) {
        return non_reecrit(verrou.raison());
    }
    lecteur_journal lecteur(journal);
    if (lecteur.absent()) {
        return {etat_reecriture::absent, std::string(message_journal_absent)};
    }
    // The temporary file goes with the object unless it replaced the log.
    fichier_atomique nouveau(journal, systeme);
    if (lecteur.erreur() || !nouveau.ouvert()) {
        return non_reecrit(lecteur.erreur() ? lecteur.raison() : nouveau.raison());
    }
    texte sortie;
    sortie.reserve(bloc_ecriture + 4096);
    lignes_enregistrement lignes;
    while (lecteur.suivant(lignes)) {
        if (!traite(lecteur, lignes, sortie)) {
            return {etat_reecriture::arretee, {}};
        }
        if (sortie.size() >= bloc_ecriture) {
            nouveau.ecrit(sortie);
            sortie.clear();
        }
    }
    if (termine && !termine(sortie)) {
        return {etat_reecriture::arretee, {}};
    }
    nouveau.ecrit(sortie);
    if (lecteur.erreur() || !nouveau.remplace()) {
        return non_reecrit(lecteur.erreur() ? lecteur.raison() : nouveau.raison());
    }
    return {};
}

lignes_enregistrement lignes_de(std::string_view brut) {
    lignes_enregistrement lignes;
    for (std::string_view& ligne : lignes) {
        const std::size_t cr = std::min(brut.find('\r'), brut.size());
        ligne = brut.substr(0, cr);
        brut.remove_prefix(std::min(cr + 1, brut.size()));
        if (brut.starts_with('\n')) {
            brut.remove_prefix(1);
        }
    }
    return lignes;
}
