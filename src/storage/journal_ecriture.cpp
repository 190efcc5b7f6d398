#include "storage/dossier_donnees.h"
#include "storage/fichier_atomique.h"
#include "storage/fichier_regulier.h"
#include "storage/journal_appels.h"
#include "storage/raison_systeme.h"
#include "storage/verrou_journal.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

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

// Writes everything, resuming after short writes and signals.
bool ecrit_tout(int fd, std::string_view octets) {
    while (!octets.empty()) {
        const ssize_t n = ::write(fd, octets.data(), octets.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            errno = n == 0 ? EIO : errno;
            return false;
        }
        octets.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Devices that cannot be flushed say EINVAL; their data went through all the same.
bool synchronise(const appels_systeme& systeme, int fd) {
    return systeme.synchronise(fd) == 0 || errno == EINVAL;
}

// Whether the file ends with exactly these bytes.
bool finit_par(int fd, std::string_view octets) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || static_cast<std::size_t>(info.st_size) < octets.size()) {
        return false;
    }
    std::string fin(octets.size(), '\0');
    const off_t debut = info.st_size - static_cast<off_t>(octets.size());
    return ::pread(fd, fin.data(), fin.size(), debut) == static_cast<ssize_t>(fin.size()) && fin == octets;
}

// Copies the log into its ".precedent" file, as private as the log itself.
bool garde_precedent(const fs::path& journal, const appels_systeme& systeme) {
    const fichier_ouvert f = ouvre_fichier_regulier(journal, O_RDONLY, 0);
    const int source = f.fd;
    struct stat info {};
    if (f.etat != etat_fichier::ok || ::fstat(source, &info) != 0) {
        if (f.etat == etat_fichier::ok) {
            ::close(source);
        }
        errno = f.etat == etat_fichier::pas_ordinaire ? EINVAL : f.numero;
        return f.etat == etat_fichier::absent; // nothing to keep
    }
    bool ok = true;
    if (info.st_size > 0) { // an erase of an empty log keeps the copy of the erase before
        fichier_atomique copie(chemin_precedent(journal), systeme);
        copie.impose_mode(info.st_mode & 07777);
        std::string bloc(1 << 20, '\0');
        ssize_t n = 0;
        while ((n = ::read(source, bloc.data(), bloc.size())) > 0 || (n < 0 && errno == EINTR)) {
            copie.ecrit(std::string_view(bloc.data(), static_cast<std::size_t>(std::max<ssize_t>(n, 0))));
        }
        ok = n == 0 && copie.remplace();
    }
    ::close(source);
    return ok;
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
    return ajoute_enregistrement(journal, formate_appel(a), false, attente, systeme);
}

resultat_ecriture ajoute_enregistrement(const fs::path& journal, std::string_view enregistrement,
                                        bool sauf_si_dernier, std::chrono::milliseconds attente,
                                        const appels_systeme& systeme) {
    const verrou_journal verrou(journal, attente);
    if (!verrou.pris()) {
        return refus(verrou);
    }
    const fichier_ouvert f =
        ouvre_fichier_regulier(journal, (sauf_si_dernier ? O_RDWR : O_WRONLY) | O_APPEND | O_CREAT, 0666);
    if (f.etat != etat_fichier::ok) {
        return echec(f);
    }
    const int fd = f.fd;
    if (sauf_si_dernier && finit_par(fd, enregistrement)) {
        ::close(fd);
        return {};
    }
    // A half-written record would shift every later one; cut it off again if the write fails.
    const off_t taille_avant = ::lseek(fd, 0, SEEK_END);
    if (!ecrit_tout(fd, enregistrement) || !synchronise(systeme, fd)) {
        const int numero = errno;
        if (taille_avant >= 0) {
            [[maybe_unused]] const int ignore = ::ftruncate(fd, taille_avant);
        }
        ::close(fd);
        return echec(numero);
    }
    if (::close(fd) != 0) {
        return echec(errno);
    }
    if (taille_avant == 0) {
        // A log just created is only found again after a power cut once its folder entry is on the disk.
        synchronise_dossier(chemin_reel(journal).parent_path(), systeme);
    }
    return {};
}

resultat_ecriture efface_journal(const fs::path& journal, std::chrono::milliseconds attente,
                                 const appels_systeme& systeme) {
    const verrou_journal verrou(journal, attente);
    if (!verrou.pris()) {
        return refus(verrou);
    }
    // The copy is whole on the disk before the log is cut: a crash in between leaves both.
    if (!garde_precedent(journal, systeme)) {
        return echec(errno);
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
