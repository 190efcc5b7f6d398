#include "storage/journal_appels.h"
#include "storage/journal_lecteur.h"
#include "storage/journal_reecriture.h"
#include "storage/periode_appels.h"

#include <charconv>

namespace fs = std::filesystem;

namespace {

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

std::string message_date_invalide(std::string_view date) {
    // A damaged log may hold NUL or other control bytes: shown as they are they would garble the message.
    std::string lisible(date);
    for (char& c : lisible) {
        c = static_cast<unsigned char>(c) < 0x20 || c == '\x7F' ? '?' : c;
    }
    return "« " + utf8_depuis_1252(lisible) + " » n'est pas une date valide";
}

resultat_totaux totalise_motifs(const fs::path& journal) {
    resultat_totaux resultat;
    lecteur_journal lecteur(journal);
    if (lecteur.absent()) {
        resultat.etat = etat_lecture::absent;
        return resultat;
    }
    totaux_par_motif totaux;
    lignes_enregistrement lignes;
    while (lecteur.suivant(lignes)) {
        const auto centimes = montant_lu(lignes[4]);
        if (!centimes || lecteur.ligne_trop_longue() >= 0) {
            resultat.etat = etat_lecture::corrompu;
            break;
        }
        totaux.ajoute(sans_prefixe(lignes[3]), *centimes);
    }
    if (resultat.etat != etat_lecture::corrompu && lecteur.erreur()) {
        resultat.etat = etat_lecture::erreur_lecture;
    }
    resultat.motifs = totaux.prend_motifs();
    return resultat;
}

resultat_purge purge_avant(const fs::path& journal, int jour, int mois, int annee,
                           const horloge_locale& horloge, std::chrono::milliseconds attente,
                           const appels_systeme& systeme) {
    const int annee_courante = decode(horloge.maintenant()).annee;
    const texte texte_seuil = std::to_string(jour) + "." + std::to_string(mois) + "." + std::to_string(annee);
    const auto seuil = convertit_date(texte_seuil, annee_courante);
    if (!seuil) {
        return refus(etat_purge::date_invalide, message_date_invalide(texte_seuil));
    }
    return purge_avant_jour(journal, *seuil, annee_courante, attente, systeme);
}

resultat_purge purge_avant_jour(const fs::path& journal, std::int64_t seuil, int annee_courante,
                                std::chrono::milliseconds attente, const appels_systeme& systeme) {
    resultat_purge resultat;
    dates_lues dates(annee_courante);
    const auto garde_ou_retire = [&](const lecteur_journal& lecteur, const lignes_enregistrement& lignes,
                                     texte& sortie) {
        if (const int longue = lecteur.ligne_trop_longue(); longue >= 0) {
            // Not a date either; its first characters show where the damage starts.
            const std::string_view debut =
                std::string_view(lignes[static_cast<std::size_t>(longue)]).substr(0, 8);
            resultat = refus(etat_purge::date_invalide, message_date_invalide(debut));
            return false;
        }
        const std::string_view date_fin = texte_date_ligne(lignes[1]);
        const auto jour_fin = dates.jour(date_fin);
        if (!jour_fin) {
            resultat = refus(etat_purge::date_invalide, message_date_invalide(date_fin));
            return false;
        }
        if (*jour_fin < seuil) {
            ++resultat.retires;
        } else {
            ++resultat.gardes;
            recopie(sortie, lecteur, lignes);
        }
        return true;
    };
    const resultat_reecriture r = reecrit_journal(journal, garde_ou_retire, {}, attente, systeme);
    switch (r.etat) {
    case etat_reecriture::faite:
    case etat_reecriture::arretee:
        return resultat;
    case etat_reecriture::absent:
        return refus(etat_purge::absent, r.message);
    case etat_reecriture::erreur_fichier:
        break;
    }
    return refus(etat_purge::erreur_fichier, r.message);
}
