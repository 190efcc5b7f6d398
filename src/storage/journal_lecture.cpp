#include "storage/fichier_atomique.h"
#include "storage/journal_appels.h"
#include "storage/journal_index_motifs.h"
#include "storage/journal_lecteur.h"
#include "storage/verrou_journal.h"

namespace fs = std::filesystem;

namespace {

// Written out in blocks this large so that the writes cost little next to the reading.
constexpr std::size_t bloc_ecriture = 1 << 20;

// Reads a number of decimal digits after optional blanks; saturates far above any valid field.
std::optional<int> lit_nombre(std::string_view texte, std::size_t& i) {
    while (i < texte.size() && texte[i] == ' ') {
        ++i;
    }
    const std::size_t premier = i;
    int valeur = 0;
    while (i < texte.size() && texte[i] >= '0' && texte[i] <= '9') {
        valeur = valeur > 100'000 ? valeur : valeur * 10 + (texte[i] - '0');
        ++i;
    }
    if (i == premier) {
        return std::nullopt;
    }
    return valeur;
}

resultat_purge refus(etat_purge etat, std::string message) {
    resultat_purge r;
    r.etat = etat;
    r.message = std::move(message);
    return r;
}

} // namespace

std::optional<std::int64_t> convertit_date(std::string_view texte, int annee_courante) {
    std::size_t i = 0;
    const auto jour = lit_nombre(texte, i);
    if (!jour || i == texte.size() || texte[i] != '.') {
        return std::nullopt;
    }
    ++i;
    const auto mois = lit_nombre(texte, i);
    if (!mois || i == texte.size() || texte[i] != '.') {
        return std::nullopt;
    }
    ++i;
    auto annee = lit_nombre(texte, i);
    if (!annee || i != texte.size()) {
        return std::nullopt;
    }
    if (*annee <= 99) {
        // The log holds past calls only, so a two-digit year never lies after the current one.
        *annee += annee_courante / 100 * 100;
        if (*annee > annee_courante) {
            *annee -= 100;
        }
    }
    if (!date_valide(*annee, *mois, *jour)) {
        return std::nullopt;
    }
    return jours_depuis_origine(*annee, *mois, *jour);
}

std::string message_date_invalide(std::string_view texte) {
    return "« " + utf8_depuis_1252(texte) + " » n'est pas une date valide";
}

resultat_totaux totalise_motifs() {
    return totalise_motifs(chemin_journal());
}

resultat_totaux totalise_motifs(const fs::path& journal) {
    resultat_totaux resultat;
    lecteur_journal lecteur(journal);
    if (lecteur.absent()) {
        resultat.etat = etat_lecture::absent;
        return resultat;
    }
    index_motifs index;
    cle_motif cle;
    // The sums apart from the texts: the loop touches only this small array.
    std::vector<std::int64_t> sommes;
    const auto avec_sommes = [&](etat_lecture etat) {
        for (std::size_t i = 0; i < sommes.size(); ++i) {
            resultat.motifs[i].centimes = sommes[i];
        }
        resultat.etat = etat;
        return resultat;
    };
    lignes_enregistrement lignes;
    std::int64_t centimes = 0;
    while (lecteur.suivant(lignes)) {
        if (!lit_montant(lignes[4], centimes) || lecteur.ligne_trop_longue() >= 0) {
            return avec_sommes(etat_lecture::corrompu);
        }
        std::string_view motif = sans_prefixe(lignes[3]);
        prepare_cle(motif, cle);
        if (!cle.visible) {
            motif = libelle_motif_vide;
            prepare_cle(motif, cle);
        }
        const std::size_t position = index.cherche(cle);
        if (position != index_motifs::npos) {
            sommes[position] += centimes;
        } else {
            index.ajoute(cle);
            resultat.motifs.push_back({texte(motif), 0});
            sommes.push_back(centimes);
        }
    }
    return avec_sommes(lecteur.erreur() ? etat_lecture::erreur_lecture : etat_lecture::complet);
}

resultat_purge purge_avant(int jour, int mois, int annee, const horloge_locale& horloge) {
    return purge_avant(chemin_journal(), jour, mois, annee, horloge);
}

resultat_purge purge_avant(const fs::path& journal, int jour, int mois, int annee,
                           const horloge_locale& horloge) {
    const int annee_courante = decode(horloge.maintenant()).annee;
    const texte texte_seuil = std::to_string(jour) + "." + std::to_string(mois) + "." + std::to_string(annee);
    const auto seuil = convertit_date(texte_seuil, annee_courante);
    if (!seuil) {
        return refus(etat_purge::date_invalide, message_date_invalide(texte_seuil));
    }
    return purge_avant_jour(journal, *seuil, annee_courante);
}

resultat_purge purge_avant_jour(const fs::path& journal, std::int64_t seuil, int annee_courante) {
    // Before the lock, whose file would stay beside a log that is not there, or fail for want of a folder.
    if (std::error_code erreur; !fs::exists(journal, erreur) && !erreur) {
        return refus(etat_purge::absent, std::string(message_journal_absent));
    }
    // Held until the new log is in place: a record appended meanwhile would go to the file being replaced.
    const verrou_journal verrou(journal);
    if (verrou.resultat() == verrou_journal::etat::occupe) {
        return refus(etat_purge::erreur_fichier, std::string(message_journal_occupe));
    }
    if (!verrou.pris()) {
        // "... n'a pas pu être réécrit : ce n'est pas un fichier ordinaire."
        std::string message(
            message_reecriture_impossible.substr(0, message_reecriture_impossible.size() - 1));
        return refus(etat_purge::erreur_fichier, message + " : " + verrou.raison() + ".");
    }
    lecteur_journal lecteur(journal);
    if (lecteur.absent()) {
        return refus(etat_purge::absent, std::string(message_journal_absent));
    }
    // The kept records go to a file beside the log that replaces it in one step, so that any failure
    // before the end leaves the log as it was (the temporary file goes with the object).
    fichier_atomique nouveau(journal);
    if (lecteur.erreur() || !nouveau.ouvert()) {
        return refus(etat_purge::erreur_fichier, std::string(message_reecriture_impossible));
    }
    resultat_purge resultat;
    texte sortie;
    sortie.reserve(bloc_ecriture + 4096);
    lignes_enregistrement lignes;
    // Calls come in order, so the end date of a record is mostly that of the one before.
    texte date_precedente;
    std::int64_t jour_precedent = 0;
    while (lecteur.suivant(lignes)) {
        if (const int longue = lecteur.ligne_trop_longue(); longue >= 0) {
            // Not a date either; its first characters show where the damage starts.
            const std::string_view debut =
                std::string_view(lignes[static_cast<std::size_t>(longue)]).substr(0, 8);
            return refus(etat_purge::date_invalide, message_date_invalide(debut));
        }
        const std::string_view date_fin = texte_date_ligne(lignes[1]);
        if (date_fin != date_precedente || date_precedente.empty()) {
            const auto jour_fin = convertit_date(date_fin, annee_courante);
            if (!jour_fin) {
                return refus(etat_purge::date_invalide, message_date_invalide(date_fin));
            }
            date_precedente.assign(date_fin);
            jour_precedent = *jour_fin;
        }
        if (jour_precedent < seuil) {
            ++resultat.retires;
            continue;
        }
        ++resultat.gardes;
        if (lecteur.canonique()) {
            sortie += lecteur.brut(); // already the six lines each ended by CR LF
        } else {
            for (const std::string_view ligne : lignes) {
                sortie += ligne;
                sortie += "\r\n";
            }
        }
        if (sortie.size() >= bloc_ecriture) {
            nouveau.ecrit(sortie);
            sortie.clear();
        }
    }
    nouveau.ecrit(sortie);
    if (lecteur.erreur() || !nouveau.remplace()) {
        return refus(etat_purge::erreur_fichier, std::string(message_reecriture_impossible));
    }
    return resultat;
}
