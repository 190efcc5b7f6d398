#include "metering/table_zones.h"

#include "metering/duree_unite.h"

#include <utility>

table_zones::table_zones() {
    zones_.reserve(capacite);
    zones_.push_back({"Local", secondes_depuis_dixiemes(990), secondes_depuis_dixiemes(2240)});
    zones_.push_back({"Suburbain", secondes_depuis_dixiemes(384), secondes_depuis_dixiemes(588)});
    zones_.push_back({"Interurbain", secondes_depuis_dixiemes(226), secondes_depuis_dixiemes(406)});
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
    zones_.push_back(
        {std::move(nom), secondes_depuis_dixiemes(normal_dixiemes), secondes_depuis_dixiemes(reduit_dixiemes)});
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

void table_zones::fixe_duree(int index, periode p, double secondes) {
    Tdonnee& z = zones_.at(static_cast<std::size_t>(index));
    (p == periode::normale ? z.normal : z.reduit) = secondes;
}
