#pragma once
// The fourteen Bravais lattices, one row each: the symbol a solution of the
// indexing reports, its crystal system, the centring of its conventional cell
// and the space group of the lattice without further conditions, the group a
// refinement starts from when the indexing hands its cell on.
#include "cristallo/systemes.h"

#include <array>
#include <string_view>

namespace kovrin {

enum class Reseau { cP, cI, cF, tP, tI, hP, hR, oP, oS, oI, oF, mP, mS, aP };

struct FicheReseau {
    Reseau reseau;
    std::string_view symbole; // "cF"
    Systeme systeme;          // hR on hexagonal axes: the hexagonal system's list
    char centrage;            // of the conventional cell; 'R': obverse, hexagonal axes
    std::string_view groupe;  // "F m -3 m"
};

// In order of decreasing order of the holohedry: a tie between two solutions goes to the first.
inline constexpr std::array<FicheReseau, 14> table_reseaux{{
    {Reseau::cP, "cP", Systeme::cubique, 'P', "P m -3 m"},
    {Reseau::cI, "cI", Systeme::cubique, 'I', "I m -3 m"},
    {Reseau::cF, "cF", Systeme::cubique, 'F', "F m -3 m"},
    {Reseau::hP, "hP", Systeme::hexagonal, 'P', "P 6/m m m"},
    {Reseau::tP, "tP", Systeme::tetragonal, 'P', "P 4/m m m"},
    {Reseau::tI, "tI", Systeme::tetragonal, 'I', "I 4/m m m"},
    {Reseau::hR, "hR", Systeme::hexagonal, 'R', "R -3 m"},
    {Reseau::oP, "oP", Systeme::orthorhombique, 'P', "P m m m"},
    {Reseau::oS, "oS", Systeme::orthorhombique, 'C', "C m m m"},
    {Reseau::oI, "oI", Systeme::orthorhombique, 'I', "I m m m"},
    {Reseau::oF, "oF", Systeme::orthorhombique, 'F', "F m m m"},
    {Reseau::mP, "mP", Systeme::monoclinique, 'P', "P 1 2/m 1"},
    {Reseau::mS, "mS", Systeme::monoclinique, 'C', "C 1 2/m 1"},
    {Reseau::aP, "aP", Systeme::triclinique, 'P', "P -1"},
}};

inline const FicheReseau& fiche(Reseau r) {
    for (const FicheReseau& f : table_reseaux)
        if (f.reseau == r) return f;
    return table_reseaux.back();
}

// Rank of symmetry: 0 for the highest.
inline int rang_symetrie(Reseau r) {
    return static_cast<int>(&fiche(r) - table_reseaux.data());
}

} // namespace kovrin
