#pragma once

#include "storage/dossier_donnees.h"
#include "storage/fichier_atomique.h"
#include "storage/journal_appels.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

// A fresh folder for one test, removed with everything in it afterwards.
class dossier_temporaire {
public:
    dossier_temporaire() {
        std::string modele = (fs::temp_directory_path() / "kalvo-test-XXXXXX").string();
        chemin_ = ::mkdtemp(modele.data()) != nullptr ? fs::path(modele) : fs::path();
    }
    ~dossier_temporaire() { fs::remove_all(chemin_, erreur_); }

    const fs::path& chemin() const { return chemin_; }
    // The folder as Kalvo's data folder.
    dossier_donnees donnees() const { return dossier_donnees(chemin_); }
    fs::path journal() const { return chemin_ / "sauve.tax"; }
    fs::path ini() const { return chemin_ / "Kalvo.ini"; }

    // The names in the folder (or one inside it), to see that no temporary file was left behind.
    std::set<std::string> noms(const fs::path& sous_dossier = {}) const {
        std::set<std::string> n;
        for (const auto& entree : fs::directory_iterator(chemin_ / sous_dossier)) {
            n.insert(entree.path().filename().string());
        }
        return n;
    }

private:
    fs::path chemin_;
    std::error_code erreur_;
};

// System calls whose renames, the ones that put atomic writes in place, fail from the n-th on (counted from
// the making of the object).
class renommages_refuses {
public:
    explicit renommages_refuses(int a_partir_du = 1) { compte_ = 0, a_partir_du_ = a_partir_du; }
    operator const appels_systeme&() const { return systeme_; }

private:
    static inline int compte_ = 0;
    static inline int a_partir_du_ = 1;
    static int renomme(const char* ancien, const char* nouveau) {
        return ++compte_ >= a_partir_du_ ? (errno = EIO, -1) : std::rename(ancien, nouveau);
    }
    static inline const appels_systeme systeme_ = {systeme_reel.synchronise, &renomme};
};

// Another process running `corps` until it stops itself (SIGSTOP), is killed or ends; killed with the object
// if still stopped.
class autre_processus {
public:
    explicit autre_processus(const std::function<bool()>& corps) {
        if ((pid_ = ::fork()) == 0) {
            ::_exit(corps() ? 0 : 1);
        }
        ::waitpid(pid_, &statut_, WUNTRACED);
    }
    autre_processus(const autre_processus&) = delete;
    ~autre_processus() {
        if (arrete()) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool arrete() const { return WIFSTOPPED(statut_); }
    bool tue() const { return WIFSIGNALED(statut_) && WTERMSIG(statut_) == SIGKILL; }
    // Lets it go on to its end, if stopped: whether its body succeeded.
    bool reprend() {
        if (arrete()) {
            ::kill(pid_, SIGCONT);
            ::waitpid(pid_, &statut_, 0);
        }
        return WIFEXITED(statut_) && WEXITSTATUS(statut_) == 0;
    }

private:
    pid_t pid_ = -1;
    int statut_ = 0;
};

inline std::string lit_octets(const fs::path& fichier) {
    std::ifstream flux(fichier, std::ios::binary);
    return {std::istreambuf_iterator<char>(flux), std::istreambuf_iterator<char>()};
}

inline void ecrit_octets(const fs::path& fichier, std::string_view octets) {
    std::ofstream flux(fichier, std::ios::binary | std::ios::trunc);
    flux.write(octets.data(), static_cast<std::streamsize>(octets.size()));
}

// A Local call from 10:00 to 10:05 on the given day, with a reason and an amount.
inline appel appel_du(int annee, int mois, int jour, texte motif, montant centimes) {
    const horodatage date = encode_date(annee, mois, jour);
    return {date,    encode_heure(10, 0, 0, 0), date,    encode_heure(10, 5, 0, 0),
            "Local", std::move(motif),          centimes};
}

// The record Kalvo writes for a Local call between these two moments.
inline texte enregistrement_de(date_heure debut, date_heure fin, std::string_view motif, montant centimes) {
    const horodatage d = encode(debut), f = encode(fin);
    return formate_appel(
        {partie_date(d), partie_heure(d), partie_date(f), partie_heure(f), "Local", texte(motif), centimes});
}

// Six lines of a record with the given line 2, reason and amount text, each ended by CR LF.
inline std::string enregistrement_brut(std::string_view ligne2, std::string_view motif,
                                       std::string_view montant_txt) {
    return "D\351but de l'appel      : lundi 03.03.97 \xE0 09:05:07\r\n" + std::string(ligne2) +
           "\r\nCat\xE9gorie de l'appel  : Local\r\nMotif de l'appel      : " + std::string(motif) +
           "\r\nMontant de la facture : " + std::string(montant_txt) +
           " FS\r\n-----------------------------------------\r\n";
}

// Each `de` in `s` replaced with `par` (a CR alone where each CR LF was, for instance).
inline std::string remplace_tout(std::string s, std::string_view de, std::string_view par) {
    for (std::size_t i = s.find(de); i != std::string::npos; i = s.find(de, i + par.size())) {
        s.replace(i, de.size(), par);
    }
    return s;
}
