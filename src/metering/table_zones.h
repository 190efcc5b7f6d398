#pragma once

#include "metering/montant.h"
#include "metering/texte_1252.h"

#include <array>
#include <string_view>
#include <vector>

enum class periode { normale, reduite };

// The ranges the dialogs allow, and into which values read from the settings are brought: a hand-edited file
// must not give the meter a zero or negative unit to divide by.
inline constexpr int dixiemes_min = 1;
inline constexpr int dixiemes_max = 50000;
inline constexpr montant centimes_min = 0;
inline constexpr montant centimes_max = 50000;

// One call zone: its name and the seconds one 10-centime unit buys in each tariff period.
struct Tdonnee {
    texte nom;
    double normal = 0.0;
    double reduit = 0.0;
};

// The base tariffs: the base charge, and the unit durations of the built-in zones in tenths of a second, in
// the order of the zone table (Local, Suburbain, Interurbain). These values are also the defaults.
struct tarifs_base {
    montant taxe_base = 20;
    std::array<int, 3> normal{990, 384, 226};
    std::array<int, 3> reduit{2240, 588, 406};
};

// The zones the user can call, in the order of the zone selector: the three built-in zones, whose
// durations are the base tariffs, then up to 40 added zones. The base charge lives here too.
class table_zones {
public:
    static constexpr int nb_fixes = 3;
    static constexpr int capacite = 43;
    static_assert(std::tuple_size_v<decltype(tarifs_base::normal)> == nb_fixes);

    table_zones();

    int nombre() const { return static_cast<int>(zones_.size()); }
    int nombre_ajouts() const { return nombre() - nb_fixes; }
    bool pleine() const { return nombre() >= capacite; }
    const Tdonnee& zone(int index) const { return zones_.at(static_cast<std::size_t>(index)); }
    const texte& nom(int index) const { return zone(index).nom; }

    // Index of the first zone whose name equals the given one without regard to letter case, or -1.
    int recherche(std::string_view nom) const;

    // Appends a zone; durations in tenths of a second. No check: the callers keep names unique and the
    // table within its capacity. Returns the new zone's index.
    int ajoute(texte nom, double normal_dixiemes, double reduit_dixiemes);
    // Removes the zone at that index; the zones after it move down and keep their order.
    void supprime(int index);
    void modifie_durees(int index, double normal_dixiemes, double reduit_dixiemes);

    double duree_unite(int index, periode p) const;

    montant taxe_base() const { return taxe_base_; }
    // The base charge and the built-in zones' durations, read and set in the units the user edits them in.
    tarifs_base tarifs() const;
    void applique(const tarifs_base& t);

private:
    std::vector<Tdonnee> zones_;
    montant taxe_base_ = 20;
};
