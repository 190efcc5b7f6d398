#include "storage/fichier_profil.h"

#include "storage/fichier_regulier.h"

#include <cstdio>
#include <optional>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view fin_de_ligne = "\r\n";

bool fin_ligne(char c) {
    return c == '\r' || c == '\n';
}

bool a_fin_de_ligne(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
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

// A written line reads back as the same kind of line under the same name. When it would not (a key that
// starts with ";", holds "=" or turns the line into a header), the file is parsed afresh.
bool relue_comme(std::string_view texte_ligne, genre g, std::string_view nom) {
    const ligne_lue l = analyse(texte_ligne);
    return l.g == g && l.nom == nom;
}

texte coupe(std::string_view s) {
    return texte(s.substr(0, longueur_max_valeur));
}

} // namespace

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

profil_en_memoire::profil_en_memoire(texte contenu) {
    analyse_tout(std::move(contenu));
}

void profil_en_memoire::analyse_tout(texte contenu) {
    octets_ = std::move(contenu);
    ajouts_.clear();
    lignes_.clear();
    sections_.clear();
    index_.clear();
    premiere_ = derniere_ = aucune;
    const std::string_view c = octets_;
    std::size_t i = 0;
    while (i < c.size()) {
        const std::size_t debut = i;
        while (i < c.size() && !fin_ligne(c[i])) {
            ++i;
        }
        const std::size_t fin = i;
        while (i < c.size() && fin_ligne(c[i])) {
            ++i;
        }
        const std::size_t n = insere_apres(derniere_, c.substr(debut, fin - debut), c.substr(fin, i - fin));
        const ligne_lue l = analyse(lignes_[n].texte_ligne);
        if (l.g == genre::entete) {
            sections_.try_emplace(replie_casse(l.nom), n); // only the first section of a name is searched
        }
    }
}

std::string_view profil_en_memoire::garde(texte t) {
    return ajouts_.emplace_back(std::move(t));
}

// A line after the given one; after none only while there is no line yet.
std::size_t profil_en_memoire::insere_apres(std::size_t precedente, std::string_view texte_ligne,
                                            std::string_view fin) {
    const std::size_t n = lignes_.size();
    lignes_.push_back({texte_ligne, fin});
    if (precedente == aucune) {
        premiere_ = n;
    } else {
        lignes_[n].suivante = lignes_[precedente].suivante;
        lignes_[precedente].suivante = n;
    }
    if (precedente == derniere_) {
        derniere_ = n;
    }
    return n;
}

profil_en_memoire::section_indexee& profil_en_memoire::section(std::size_t entete) const {
    auto [it, nouvelle] = index_.try_emplace(entete);
    section_indexee& s = it->second;
    if (nouvelle) {
        s.derniere_non_vide = entete;
        for (std::size_t i = lignes_[entete].suivante; i != aucune; i = lignes_[i].suivante) {
            const ligne_lue l = analyse(lignes_[i].texte_ligne);
            if (l.g == genre::entete) {
                break;
            }
            if (l.g != genre::vide) {
                s.derniere_non_vide = i;
            }
            if (l.g == genre::entree) {
                s.cles.try_emplace(replie_casse(l.nom), i); // the first matching key wins
            }
        }
    }
    return s;
}

texte profil_en_memoire::valeur(std::string_view nom_section, std::string_view cle,
                                std::string_view defaut) const {
    std::optional<std::string_view> valeur;
    if (const auto s = sections_.find(replie_casse(sans_blancs(nom_section))); s != sections_.end()) {
        const section_indexee& index = section(s->second);
        if (const auto c = index.cles.find(replie_casse(sans_blancs(cle))); c != index.cles.end()) {
            valeur = analyse(lignes_[c->second].texte_ligne).valeur;
        }
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

bool profil_en_memoire::ecrit(std::string_view nom_section, std::string_view cle, std::string_view valeur) {
    while (!valeur.empty() && blanc_profil(valeur.front())) {
        valeur.remove_prefix(1);
    }
    nom_section = sans_blancs(nom_section);
    cle = sans_blancs(cle);
    const texte cle_repliee = replie_casse(cle);
    // A line end in a name or a value makes new lines: only a fresh parse knows them.
    bool sur = !a_fin_de_ligne(nom_section) && !a_fin_de_ligne(cle) && !a_fin_de_ligne(valeur);
    std::size_t apres = aucune; // the line a new entry follows
    std::string_view fin = fin_de_ligne;
    section_indexee* index = nullptr;

    if (const auto s = sections_.find(replie_casse(nom_section)); s == sections_.end()) {
        // A new section at the end, after a line end if the file's last line has none.
        if (derniere_ != aucune && lignes_[derniere_].fin.empty()) {
            lignes_[derniere_].fin = fin_de_ligne;
        }
        apres = insere_apres(derniere_, garde("[" + texte(nom_section) + "]"), fin_de_ligne);
        sections_.emplace(replie_casse(nom_section), apres);
        index = &index_[apres];
    } else if (index = &section(s->second); index->cles.count(cle_repliee) != 0) {
        // The key keeps its spelling and place; the line end that follows it stays as it was.
        ligne& l = lignes_[index->cles[cle_repliee]];
        const ligne_lue lue = analyse(l.texte_ligne);
        if (lue.valeur && *lue.valeur == valeur) {
            return false;
        }
        const texte nom(lue.nom);
        l.texte_ligne = garde(nom + "=" + texte(valeur));
        sur = sur && relue_comme(l.texte_ligne, genre::entree, nom);
    } else {
        // After the section's last line and its first line end, before the blank lines that lead to the
        // next header.
        apres = index->derniere_non_vide;
        ligne& d = lignes_[apres];
        if (d.fin.empty()) {
            d.fin = fin_de_ligne;
        } else {
            const std::size_t longueur = d.fin.substr(0, 2) == fin_de_ligne ? 2 : 1;
            if (d.fin.size() > longueur) {
                fin = garde(texte(fin_de_ligne) + texte(d.fin.substr(longueur)));
            }
            d.fin = d.fin.substr(0, longueur);
        }
    }
    if (apres != aucune) {
        const std::string_view ecrite = garde(texte(cle) + "=" + texte(valeur));
        index->derniere_non_vide = insere_apres(apres, ecrite, fin);
        index->cles.emplace(cle_repliee, index->derniere_non_vide);
        sur = sur && relue_comme(ecrite, genre::entree, cle);
    }
    if (!sur) {
        analyse_tout(contenu());
    }
    return true;
}

texte profil_en_memoire::contenu() const {
    std::size_t taille = 0;
    for (std::size_t i = premiere_; i != aucune; i = lignes_[i].suivante) {
        taille += lignes_[i].texte_ligne.size() + lignes_[i].fin.size();
    }
    texte t;
    t.reserve(taille);
    for (std::size_t i = premiere_; i != aucune; i = lignes_[i].suivante) {
        t.append(lignes_[i].texte_ligne).append(lignes_[i].fin);
    }
    return t;
}

texte valeur_profil(std::string_view contenu, std::string_view section, std::string_view cle,
                    std::string_view defaut) {
    return profil_en_memoire(texte(contenu)).valeur(section, cle, defaut);
}

texte profil_modifie(std::string_view contenu, std::string_view section, std::string_view cle,
                     std::string_view valeur) {
    profil_en_memoire p{texte(contenu)};
    p.ecrit(section, cle, valeur);
    return p.contenu();
}
