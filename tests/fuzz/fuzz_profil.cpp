#include "outils_fuzz.h"
#include "storage/fichier_profil.h"
#include "storage/reglages.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// An arbitrary settings file, then a few writes decoded from the input, then every key written must read
// back as it was written last. The input is the file's bytes up to the first NUL, then NUL-separated
// fields in fours: kind of write, section, key, value. Names and values are first brought within what the
// format can hold: no line end anywhere, no "=" in a key nor a key that reads as a header or a comment,
// and for the raw layer no blanks at the ends of a value, no enclosing quotes and at most 1023 characters
// (the settings layer quotes what needs it, so only the line ends and the length are its limits).

namespace {

namespace fs = std::filesystem;

enum class genre_ecriture { profil, texte, entier };

struct ecriture {
    texte section;
    texte cle;
    texte valeur;
    genre_ecriture genre = genre_ecriture::profil;
    std::int32_t entier = 0;
};

texte sans_fins_de_ligne(std::string_view s) {
    texte t;
    for (const char c : s) {
        if (c != '\r' && c != '\n') {
            t += c;
        }
    }
    return t;
}

bool entre_guillemets(std::string_view v) {
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

texte valeur_brute_sure(std::string_view v) {
    texte t(sans_blancs(v.substr(0, longueur_max_valeur)));
    while (entre_guillemets(t)) {
        t = texte(sans_blancs(std::string_view(t).substr(0, t.size() - 1)));
    }
    return t;
}

bool cle_sure(std::string_view cle) {
    const std::string_view t = sans_blancs(cle);
    return t.find('=') == std::string_view::npos && (t.empty() || (t.front() != '[' && t.front() != ';'));
}

std::vector<std::string_view> champs(std::string_view reste) {
    std::vector<std::string_view> c;
    while (!reste.empty()) {
        const std::size_t nul = reste.find('\0');
        c.push_back(reste.substr(0, nul));
        reste = nul == std::string_view::npos ? std::string_view{} : reste.substr(nul + 1);
    }
    return c;
}

std::int32_t entier_de(std::string_view champ) {
    if (const auto v = modele_entier(champ)) {
        return *v;
    }
    std::uint32_t bits = 0;
    if (!champ.empty()) {
        std::memcpy(&bits, champ.data(), std::min(champ.size(), sizeof bits));
    }
    return static_cast<std::int32_t>(bits);
}

std::vector<ecriture> ecritures_de(std::string_view reste) {
    const std::vector<std::string_view> c = champs(reste);
    std::vector<ecriture> e;
    for (std::size_t i = 0; i < c.size() && e.size() < 16; i += 4) {
        const auto champ = [&](std::size_t j) { return i + j < c.size() ? c[i + j] : std::string_view{}; };
        ecriture w;
        const unsigned char choix = champ(0).empty() ? 0 : static_cast<unsigned char>(champ(0).front());
        w.genre = static_cast<genre_ecriture>(choix % 3);
        w.section = sans_fins_de_ligne(champ(1));
        w.cle = sans_fins_de_ligne(champ(2));
        if (!cle_sure(w.cle)) {
            continue;
        }
        if (w.genre == genre_ecriture::profil) {
            w.valeur = valeur_brute_sure(sans_fins_de_ligne(champ(3)));
        } else if (w.genre == genre_ecriture::texte) {
            w.valeur = sans_fins_de_ligne(champ(3)).substr(0, longueur_max_valeur);
        } else {
            w.entier = entier_de(champ(3));
        }
        e.push_back(std::move(w));
    }
    return e;
}

bool meme_place(const ecriture& a, const ecriture& b) {
    return egal_sans_casse(sans_blancs(a.section), sans_blancs(b.section)) &&
           egal_sans_casse(sans_blancs(a.cle), sans_blancs(b.cle));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::string_view octets(reinterpret_cast<const char*>(donnees), taille);
    const std::size_t nul = octets.find('\0');
    texte contenu(octets.substr(0, nul));
    const std::vector<ecriture> ecritures =
        ecritures_de(nul == std::string_view::npos ? std::string_view{} : octets.substr(nul + 1));

    // Reading any file at all must hold: a few lookups that cannot be steered by the writes below.
    (void)valeur_profil(contenu, "Tarifs", "Taxe de base", "20");
    (void)valeur_profil(contenu, "", "", "");

    const fs::path fichier = dossier_fuzz() / "Kalvo.ini";
    std::vector<const ecriture*> derniere; // the last write of each place, in order of first write
    for (const ecriture& w : ecritures) {
        if (w.genre == genre_ecriture::profil) {
            contenu = profil_modifie(contenu, w.section, w.cle, w.valeur);
            if (profil_modifie(contenu, w.section, w.cle, w.valeur) != contenu) {
                std::abort(); // writing the same value again must change nothing
            }
        } else {
            ecrit_fichier(fichier, contenu);
            acces_reglages ini(fichier);
            if (w.genre == genre_ecriture::texte) {
                ini.ecrit_texte(w.section, w.cle, w.valeur);
            } else {
                ini.ecrit_entier(w.section, w.cle, w.entier);
            }
            if (ini.enregistre()) {
                std::abort();
            }
            contenu = lit_fichier(fichier);
        }
        bool remplace = false;
        for (const ecriture*& d : derniere) {
            if (meme_place(*d, w)) {
                d = &w;
                remplace = true;
            }
        }
        if (!remplace) {
            derniere.push_back(&w);
        }
    }

    ecrit_fichier(fichier, contenu);
    const acces_reglages relu(fichier); // a new one: an access may keep what it read
    for (const ecriture* w : derniere) {
        if (w->genre == genre_ecriture::entier) {
            if (relu.lit_entier(w->section, w->cle, 1) != w->entier ||
                relu.lit_entier(w->section, w->cle, 2) != w->entier) {
                std::abort();
            }
            continue;
        }
        // Two defaults: a key that went missing would read as one of them.
        if (valeur_profil(contenu, w->section, w->cle, "a") != w->valeur ||
            relu.lit_texte(w->section, w->cle, "b") != w->valeur) {
            std::abort();
        }
    }
    return 0;
}
