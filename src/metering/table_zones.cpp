#include "metering/table_zones.h"

#include "metering/duree_unite.h"

#include <utility>

table_zones::table_zones() {
    zones_.reserve(capacite);
    for (const char* nom : {"Local", "Suburbain", "Interurbain"}) {
        zones_.push_back({nom, 0.0, 0.0});
    }
    applique(tarifs_base{});
}

int table_zones::recherche(std::string_view nom) const {
    for (int i = 0; i < nombre(); ++i) {
        if (egal_sans_casse(zones_[static_cast<std::size_t>(i)].nom, nom)) {
            return i;
        }
    }
    return -1;
}

int table_zones::ajoute(texte nom, double normal_dixiemes, double reduit_dixiemes) {
    zones_.push_back({std::move(nom), secondes_depuis_dixiemes(normal_dixiemes),
                      secondes_depuis_dixiemes(reduit_dixiemes)});
    return nombre() - 1;
}

void table_zones::supprime(int index) {
    if (index < nb_fixes || index >= nombre()) {
        return;
    }
    zones_.erase(zones_.begin() + index);
}

void table_zones::modifie_durees(int index, double normal_dixiemes, double reduit_dixiemes) {
    Tdonnee& z = zones_.at(static_cast<std::size_t>(index));
    z.normal = secondes_depuis_dixiemes(normal_dixiemes);
    z.reduit = secondes_depuis_dixiemes(reduit_dixiemes);
}

double table_zones::duree_unite(int index, periode p) const {
    const Tdonnee& z = zone(index);
    return p == periode::normale ? z.normal : z.reduit;
}

tarifs_base table_zones::tarifs() const {
    tarifs_base t;
    t.taxe_base = taxe_base_;
    for (std::size_t i = 0; i < t.normal.size(); ++i) {
        t.normal[i] = static_cast<int>(dixiemes_depuis_secondes(zones_[i].normal));
        t.reduit[i] = static_cast<int>(dixiemes_depuis_secondes(zones_[i].reduit));
    }
    return t;
}

void table_zones::applique(const tarifs_base& t) {
    taxe_base_ = t.taxe_base;
    for (std::size_t i = 0; i < t.normal.size(); ++i) {
        zones_[i].normal = secondes_depuis_dixiemes(t.normal[i]);
        zones_[i].reduit = secondes_depuis_dixiemes(t.reduit[i]);
    }
}
