#include "storage/dossier_donnees.h"
#include "storage/fichier_atomique.h"
#include "storage/fichier_regulier.h"
#include "storage/journal_appels.h"
#include "storage/journal_lecteur.h"
#include "storage/raison_systeme.h"
#include "storage/verrou_journal.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Labels padded with blanks to the 22nd character, then ": ". The readers cut by width, not by label.
constexpr std::string_view prefixe_debut = "D\xE9"
                                           "but de l'appel      : ";
constexpr std::string_view prefixe_fin = "Fin de l'appel        : ";
constexpr std::string_view prefixe_zone = "Cat\xE9gorie de l'appel  : ";
constexpr std::string_view prefixe_motif = "Motif de l'appel      : ";
constexpr std::string_view prefixe_montant = "Montant de la facture : ";
constexpr std::string_view tirets = "-----------------------------------------";

static_assert(prefixe_debut.size() == 24 && prefixe_fin.size() == 24 && prefixe_zone.size() == 24 &&
              prefixe_motif.size() == 24 && prefixe_montant.size() == 24);
static_assert(tirets.size() == 41);

constexpr std::string_view fin_ligne = "\r\n";

// A CR or LF would shift the six-line structure and a Ctrl-Z would end the log for every reader.
void ajoute_nettoye(texte& sortie, std::string_view champ) {
    for (const char c : champ) {
        sortie += (c == '\r' || c == '\n' || c == '\x1A') ? ' ' : c;
    }
}

void ajoute_moment(texte& sortie, horodatage date, horodatage heure) {
    sortie += nom_jour(jour_semaine(date));
    sortie += ' ';
    sortie += texte_date(date);
    sortie += " \xE0 ";
    sortie += texte_heure(heure);
}

resultat_ecriture echec(int numero) {
    return {false, raison_systeme(numero)};
}

resultat_ecriture refus(const verrou_journal& verrou) {
    return {false, verrou.raison(), verrou.resultat() == verrou_journal::etat::occupe};
}

resultat_ecriture echec(const fichier_ouvert& f) {
    return {false, raison_fichier(f.etat, f.numero)};
}

// Devices that cannot be flushed say EINVAL; their data went through all the same.
bool synchronise(const appels_systeme& systeme, int fd) {
    return systeme.synchronise(fd) == 0 || errno == EINVAL;
}

// Those of the whole records (each six lines ended by CR LF) that the log does not hold, in their order. A
// log that cannot be read holds none of them as far as anyone can tell: better a call twice than lost.
std::string absents(const fs::path& journal, std::string_view enregistrements) {
    std::vector<std::string_view> candidats;
    for (std::size_t debut = 0, p = 0, lignes = 0; p + 1 < enregistrements.size(); ++p) {
        if (enregistrements[p] == '\r' && enregistrements[p + 1] == '\n' && ++lignes % 6 == 0) {
            candidats.push_back(enregistrements.substr(debut, p + 2 - debut));
            debut = p + 2;
        }
    }
    std::unordered_set<std::string_view> cherches(candidats.begin(), candidats.end());
    lecteur_journal lecteur(journal);
    lignes_enregistrement lignes;
    std::string vu;
    while (!cherches.empty() && lecteur.suivant(lignes)) {
        vu.clear();
        for (const std::string_view ligne : lignes) {
            vu.append(ligne).append("\r\n");
        }
        cherches.erase(vu);
    }
    std::string reste;
    for (const std::string_view c : candidats) {
        if (cherches.count(c) != 0) {
            reste += c;
        }
    }
    return reste;
}

// Copies the log into its ".precedent" file, as private as the log itself. The reason of a failure, or
// nothing.
std::optional<std::string> garde_precedent(const fs::path& journal, const appels_systeme& systeme) {
    const fichier_ouvert f = ouvre_fichier_regulier(journal, O_RDONLY, 0);
    struct stat info {};
    if (f.etat != etat_fichier::ok) {
        return f.etat == etat_fichier::absent ? std::nullopt // nothing to keep
                                              : std::optional(raison_fichier(f.etat, f.numero));
    }
    std::optional<std::string> raison;
    if (::fstat(f.fd, &info) != 0) {
        raison = raison_systeme(errno);
    } else if (info.st_size > 0) { // an erase of an empty log keeps the copy of the erase before
        fichier_atomique copie(chemin_precedent(journal), systeme);
        copie.impose_mode(info.st_mode & 07777);
        std::string bloc(1 << 20, '\0');
        ssize_t n = 0;
        while ((n = ::read(f.fd, bloc.data(), bloc.size())) > 0 || (n < 0 && errno == EINTR)) {
            copie.ecrit(std::string_view(bloc.data(), static_cast<std::size_t>(std::max<ssize_t>(n, 0))));
        }
        if (n != 0) {
            raison = raison_systeme(errno);
        } else if (!copie.remplace()) {
            raison = copie.raison();
        }
    }
    ::close(f.fd);
    return raison;
}

} // namespace

std::string nom_jour(int numero) {
    static constexpr std::array<std::string_view, 7> noms = {"dimanche", "lundi",    "mardi", "mercredi",
                                                             "jeudi",    "vendredi", "samedi"};
    if (numero < 1 || numero > 7) {
        return "jamais";
    }
    return std::string(noms[static_cast<std::size_t>(numero - 1)]);
}

texte formate_appel(const appel& a) {
    texte r;
    r.reserve(256);
    r += prefixe_debut;
    ajoute_moment(r, a.date_debut, a.heure_debut);
    r += fin_ligne;
    r += prefixe_fin;
    ajoute_moment(r, a.date_fin, a.heure_fin);
    r += fin_ligne;
    r += prefixe_zone;
    ajoute_nettoye(r, a.zone);
    r += fin_ligne;
    r += prefixe_motif;
    ajoute_nettoye(r, a.motif);
    r += fin_ligne;
    r += prefixe_montant;
    r += texte_montant(a.centimes);
    r += " FS";
    r += fin_ligne;
    r += tirets;
    r += fin_ligne;
    return r;
}

resultat_ecriture ajoute_appel(const fs::path& journal, const appel& a, std::chrono::milliseconds attente,
                               const appels_systeme& systeme) {
    return ajoute_enregistrements(journal, formate_appel(a), false, attente, systeme);
}

resultat_ecriture ajoute_enregistrements(const fs::path& journal, std::string_view enregistrements,
                                         bool sauf_presents, std::chrono::milliseconds attente,
                                         const appels_systeme& systeme) {
    const verrou_journal verrou(journal, attente);
    if (!verrou.pris()) {
        return refus(verrou);
    }
    return ajoute_enregistrements(verrou, journal, enregistrements, sauf_presents, systeme);
}

resultat_ecriture ajoute_enregistrements(const verrou_journal&, const fs::path& journal,
                                         std::string_view enregistrements, bool sauf_presents,
                                         const appels_systeme& systeme) {
    std::string restants;
    if (sauf_presents) {
        restants = absents(journal, enregistrements);
        enregistrements = restants;
    }
    if (enregistrements.empty()) {
        return {};
    }
    const resultat_fichier r = ajoute_a_la_fin(journal, enregistrements, mode_selon_umask(), systeme);
    return r.etat == etat_fichier::ok ? resultat_ecriture{}
                                      : resultat_ecriture{false, raison_fichier(r.etat, r.numero)};
}

resultat_ecriture efface_journal(const fs::path& journal, std::chrono::milliseconds attente,
                                 const appels_systeme& systeme) {
    const verrou_journal verrou(journal, attente);
    if (!verrou.pris()) {
        return refus(verrou);
    }
    // The copy is whole on the disk before the log is cut: a crash in between leaves both.
    if (const auto raison = garde_precedent(journal, systeme)) {
        return {false, *raison};
    }
    const fichier_ouvert f = ouvre_fichier_regulier(journal, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (f.etat != etat_fichier::ok) {
        return echec(f);
    }
    const int fd = f.fd;
    if (!synchronise(systeme, fd)) {
        const int numero = errno;
        ::close(fd);
        return echec(numero);
    }
    if (::close(fd) != 0) {
        return echec(errno);
    }
    return {};
}
