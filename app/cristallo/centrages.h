#pragma once
// Lattice centrings: each letter with its translation vectors. The centred
// copies of the operators and the lattice's reflection conditions both come
// from this table (h k l is allowed when h.t is an integer for every t).
#include "cristallo/systemes.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <span>
#include <string_view>

namespace kovrin {

using VecteurCentrage = std::array<double, 3>;

struct Centrage {
    char lettre;
    std::array<VecteurCentrage, 3> translations;
    std::size_t nombre; // translations used
    std::span<const VecteurCentrage> vecteurs() const { return {translations.data(), nombre}; }
};

// Rhombohedral R on hexagonal axes (obverse); on rhombohedral axes R is primitive.
inline constexpr std::array<Centrage, 7> table_centrages{{
    {'P', {}, 0},
    {'A', {{{0, 0.5, 0.5}}}, 1},
    {'B', {{{0.5, 0, 0.5}}}, 1},
    {'C', {{{0.5, 0.5, 0}}}, 1},
    {'I', {{{0.5, 0.5, 0.5}}}, 1},
    {'F', {{{0, 0.5, 0.5}, {0.5, 0, 0.5}, {0.5, 0.5, 0}}}, 3},
    {'R',
     {{{0.3333333333, 0.6666666666, 0.6666666666}, {0.6666666666, 0.3333333333, 0.3333333333}}},
     2},
}};

// The centring of a lattice letter in a crystal system ("HEXA", "RHOM"...), or
// nullptr for an unknown letter or R on other axes than these two.
inline const Centrage* centrage_de(std::string_view reseau, std::string_view systeme) {
    if (reseau.size() != 1) return nullptr;
    if (reseau == "R" && !est(systeme, Systeme::hexagonal))
        return est(systeme, Systeme::rhomboedrique) ? &table_centrages[0] : nullptr;
    for (const Centrage& c : table_centrages)
        if (c.lettre == reseau[0]) return &c;
    return nullptr;
}

// h k l satisfies the reflection conditions of the centring.
inline bool permise_par_centrage(const Centrage& c, int h, int k, int l) {
    for (const VecteurCentrage& t : c.vecteurs()) {
        const double phase = h * t[0] + k * t[1] + l * t[2];
        if (std::fabs(phase - std::round(phase)) > 1e-6) return false;
    }
    return true;
}

} // namespace kovrin
