#include "storage/fichier_profil.h"

#include "storage/fichier_atomique.h"
#include "storage/fichier_regulier.h"

#include <cstdio>
#include <optional>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view fin_de_ligne = "\r\n";

bool fin_ligne(char c) {
    return c == '\r' || c == '\n';
}

// One line of the file as bytes: [debut, fin) is its text, [fin, suite) the run of CR and LF after it,
// which swallows the empty lines.
struct ligne {
    std::size_t debut = 0;
    std::size_t fin = 0;
    std::size_t suite = 0;
};

std::vector<ligne> decoupe(std::string_view contenu) {
    std::vector<ligne> lignes;
    std::size_t i = 0;
    while (i < contenu.size()) {
        ligne l;
        l.debut = i;
        while (i < contenu.size() && !fin_ligne(contenu[i])) {
            ++i;
        }
        l.fin = i;
        while (i < contenu.size() && fin_ligne(contenu[i])) {
            ++i;
        }
        l.suite = i;
        lignes.push_back(l);
    }
    return lignes;
}

enum class genre { vide, commentaire, entete, entree };

struct ligne_lue {
    genre g = genre::vide;
    std::string_view nom;                   // section name of a header, key name of an entry
    std::optional<std::string_view> valeur; // absent when the entry has no "="
};

ligne_lue analyse(std::string_view brut) {
    const std::string_view t = sans_blancs(brut);
    if (t.empty()) {
        return {};
    }
    if (t.front() == ';') {
        return {genre::commentaire, {}, std::nullopt};
    }
    if (t.front() == '[') {
        // The last "]" closes the name, so a name may itself hold "]"; a line without one is an entry.
        const std::size_t ferme = t.rfind(']');
        if (ferme != std::string_view::npos && ferme > 0) {
            return {genre::entete, sans_blancs(t.substr(1, ferme - 1)), std::nullopt};
        }
    }
    const std::size_t egal = t.find('=');
    if (egal == std::string_view::npos) {
        return {genre::entree, t, std::nullopt};
    }
    return {genre::entree, sans_blancs(t.substr(0, egal)), sans_blancs(t.substr(egal + 1))};
}

std::string_view texte_de(std::string_view contenu, const ligne& l) {
    return contenu.substr(l.debut, l.fin - l.debut);
}

// Where a key is, or would go: only the first section of the name is searched, and its first such key wins.
struct emplacement {
    std::optional<std::size_t> entete;
    std::size_t derniere_non_vide = 0; // the header or the section's last non-blank line
    std::optional<std::size_t> cle;
};

emplacement cherche(std::string_view contenu, const std::vector<ligne>& lignes, std::string_view section,
                    std::string_view cle) {
    emplacement e;
    section = sans_blancs(section);
    cle = sans_blancs(cle);
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        const ligne_lue l = analyse(texte_de(contenu, lignes[i]));
        if (!e.entete) {
            if (l.g == genre::entete && egal_sans_casse(l.nom, section)) {
                e.entete = i;
                e.derniere_non_vide = i;
            }
            continue;
        }
        if (l.g == genre::entete) {
            break;
        }
        if (l.g != genre::vide) {
            e.derniere_non_vide = i;
        }
        if (l.g == genre::entree && egal_sans_casse(l.nom, cle)) {
            e.cle = i;
            break;
        }
    }
    return e;
}

texte coupe(std::string_view s) {
    return texte(s.substr(0, longueur_max_valeur));
}

} // namespace

// Far above any real settings file (a few kilobytes), low enough that a stray huge file cannot exhaust
// memory: a larger one reads as unreadable.
constexpr std::size_t taille_max_profil = 64 * 1024 * 1024;

lecture lit_contenu(const fs::path& fichier, texte& contenu) {
    switch (lit_fichier_regulier(fichier, contenu, taille_max_profil)) {
    case etat_fichier::ok:
        return lecture::lue;
    case etat_fichier::absent:
        return lecture::absente;
    default:
        return lecture::impossible;
    }
}

bool blanc_profil(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x09 && b <= 0x0D) || b == 0x1A || b == 0x20;
}

std::string_view sans_blancs(std::string_view s) {
    while (!s.empty() && blanc_profil(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blanc_profil(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

texte valeur_profil(std::string_view contenu, std::string_view section, std::string_view cle,
                    std::string_view defaut) {
    const std::vector<ligne> lignes = decoupe(contenu);
    const emplacement e = cherche(contenu, lignes, section, cle);
    std::optional<std::string_view> valeur;
    if (e.cle) {
        valeur = analyse(texte_de(contenu, lignes[*e.cle])).valeur;
    }
    if (!valeur) {
        while (!defaut.empty() && blanc_profil(defaut.back())) {
            defaut.remove_suffix(1);
        }
        return coupe(defaut);
    }
    std::string_view v = *valeur;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return coupe(v);
}

texte profil_modifie(std::string_view contenu, std::string_view section, std::string_view cle,
                     std::string_view valeur) {
    while (!valeur.empty() && blanc_profil(valeur.front())) {
        valeur.remove_prefix(1);
    }
    section = sans_blancs(section);
    cle = sans_blancs(cle);
    const std::vector<ligne> lignes = decoupe(contenu);
    const emplacement e = cherche(contenu, lignes, section, cle);
    texte resultat;
    resultat.reserve(contenu.size() + section.size() + cle.size() + valeur.size() + 8);

    if (e.cle) {
        // The key keeps its spelling and place; the line end that follows it stays as it was.
        const ligne& l = lignes[*e.cle];
        const ligne_lue lue = analyse(texte_de(contenu, l));
        if (lue.valeur && *lue.valeur == valeur) {
            return texte(contenu);
        }
        resultat.append(contenu.substr(0, l.debut));
        resultat.append(lue.nom).append("=").append(valeur);
        resultat.append(contenu.substr(l.fin));
        return resultat;
    }

    if (e.entete) {
        // After the section's last line, before the blank lines that lead to the next header.
        const ligne& l = lignes[e.derniere_non_vide];
        std::size_t apres = l.fin;
        if (apres < contenu.size()) {
            apres += contenu.substr(apres, 2) == fin_de_ligne ? 2 : 1;
        }
        resultat.append(contenu.substr(0, apres));
        if (apres == l.fin) {
            resultat.append(fin_de_ligne);
        }
        resultat.append(cle).append("=").append(valeur).append(fin_de_ligne);
        resultat.append(contenu.substr(apres));
        return resultat;
    }

    resultat.append(contenu);
    if (!contenu.empty() && !fin_ligne(contenu.back())) {
        resultat.append(fin_de_ligne);
    }
    resultat.append("[").append(section).append("]").append(fin_de_ligne);
    resultat.append(cle).append("=").append(valeur).append(fin_de_ligne);
    return resultat;
}

texte lit_profil(const fs::path& fichier, std::string_view section, std::string_view cle,
                 std::string_view defaut) {
    texte contenu;
    if (lit_contenu(fichier, contenu) != lecture::lue) {
        contenu.clear();
    }
    return valeur_profil(contenu, section, cle, defaut);
}

bool ecrit_profil(const fs::path& fichier, std::string_view section, std::string_view cle,
                  std::string_view valeur) {
    texte ancien;
    const lecture l = lit_contenu(fichier, ancien);
    if (l == lecture::impossible) {
        return false;
    }
    const texte nouveau = profil_modifie(ancien, section, cle, valeur);
    if (l == lecture::lue && nouveau == ancien) {
        return true; // the same value again: the file is not touched
    }
    fichier_atomique sortie(fichier);
    if (!sortie.ouvert()) {
        return false;
    }
    sortie.ecrit(nouveau);
    return sortie.remplace();
}
