#include "storage/fichier_atomique.h"
#include "storage/journal_appels.h"
#include "storage/journal_lecteur.h"
#include "storage/verrou_journal.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

namespace fs = std::filesystem;

namespace {

// Written out in blocks this large so that the writes cost little next to the reading.
constexpr std::size_t bloc_ecriture = 1 << 20;

// Decimal digits after optional blanks; no sign. A number too large for an int is no part of a date.
std::optional<int> lit_nombre(std::string_view texte, std::size_t& i) {
    while (i < texte.size() && texte[i] == ' ') {
        ++i;
    }
    int valeur = 0;
    if (i == texte.size() || texte[i] < '0' || texte[i] > '9') {
        return std::nullopt;
    }
    const auto [fin, erreur] = std::from_chars(texte.data() + i, texte.data() + texte.size(), valeur);
    i = static_cast<std::size_t>(fin - texte.data());
    return erreur == std::errc() ? std::optional<int>(valeur) : std::nullopt;
}

resultat_purge refus(etat_purge etat, std::string message, std::string_view date_fautive = {}) {
    resultat_purge r;
    r.etat = etat;
    r.message = std::move(message);
    r.date_fautive = date_fautive;
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
    return "'" + utf8_depuis_1252(texte) + "' is not a valid date";
}

resultat_totaux totalise_motifs(const fs::path& journal) {
    resultat_totaux resultat;
    lecteur_journal lecteur(journal);
    if (lecteur.absent()) {
        resultat.etat = etat_lecture::absent;
        return resultat;
    }
    // Reasons that differ only in letter case are one: each folded reason gives its place in the result.
    std::unordered_map<texte, std::size_t> places;
    lignes_enregistrement lignes;
    while (lecteur.suivant(lignes)) {
        const auto centimes = montant_lu(lignes[4]);
        if (!centimes || lecteur.ligne_trop_longue() >= 0) {
            resultat.etat = etat_lecture::corrompu;
            return resultat;
        }
        std::string_view motif = sans_prefixe(lignes[3]);
        if (std::none_of(motif.begin(), motif.end(), [](unsigned char c) { return c > ' '; })) {
            motif = libelle_motif_vide;
        }
        const auto [place, nouvelle] = places.try_emplace(replie_casse(motif), resultat.motifs.size());
        if (nouvelle) {
            resultat.motifs.push_back({texte(motif), 0});
        }
        resultat.motifs[place->second].centimes += *centimes;
    }
    resultat.etat = lecteur.erreur() ? etat_lecture::erreur_lecture : etat_lecture::complet;
    return resultat;
}

resultat_purge purge_avant(const fs::path& journal, int jour, int mois, int annee,
                           const horloge_locale& horloge, std::chrono::milliseconds attente,
                           const appels_systeme& systeme) {
    const int annee_courante = decode(horloge.maintenant()).annee;
    const texte texte_seuil = std::to_string(jour) + "." + std::to_string(mois) + "." + std::to_string(annee);
    const auto seuil = convertit_date(texte_seuil, annee_courante);
    if (!seuil) {
        return refus(etat_purge::date_invalide, message_date_invalide(texte_seuil), texte_seuil);
    }
    return purge_avant_jour(journal, *seuil, annee_courante, attente, systeme);
}

resultat_purge purge_avant_jour(const fs::path& journal, std::int64_t seuil, int annee_courante,
                                std::chrono::milliseconds attente, const appels_systeme& systeme) {
    // Held until the new log is in place: a record appended meanwhile would go to the file being replaced.
    const verrou_journal verrou(journal, attente);
    if (verrou.resultat() == verrou_journal::etat::occupe) {
        return refus(etat_purge::erreur_fichier, std::string(message_journal_occupe));
    }
    const auto non_reecrit = [](const std::string& raison) {
        return refus(etat_purge::erreur_fichier, texte(message_reecriture_impossible) + " : " + raison + ".");
    };
    if (!verrou.pris()) {
        return non_reecrit(verrou.raison());
    }
    lecteur_journal lecteur(journal);
    if (lecteur.absent()) {
        return refus(etat_purge::absent, std::string(message_journal_absent));
    }
    // The kept records go to a file beside the log that replaces it in one step, so that any failure
    // before the end leaves the log as it was (the temporary file goes with the object).
    fichier_atomique nouveau(journal, systeme);
    if (lecteur.erreur() || !nouveau.ouvert()) {
        return non_reecrit(lecteur.erreur() ? lecteur.raison() : nouveau.raison());
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
            return refus(etat_purge::date_invalide, message_date_invalide(debut), debut);
        }
        const std::string_view date_fin = texte_date_ligne(lignes[1]);
        if (date_fin != date_precedente || date_precedente.empty()) {
            const auto jour_fin = convertit_date(date_fin, annee_courante);
            if (!jour_fin) {
                return refus(etat_purge::date_invalide, message_date_invalide(date_fin), date_fin);
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
        return non_reecrit(lecteur.erreur() ? lecteur.raison() : nouveau.raison());
    }
    return resultat;
}
