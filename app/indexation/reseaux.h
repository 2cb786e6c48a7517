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

// Whether the holohedry of lattice a strictly contains that of b, so that a
// lattice of a's can be described, with the same lines, by a derivative cell
// of b's. The ranks of symmetry are no chain: m-3m contains 4/mmm and -3m but
// not 6/mmm, which contains -3m and mmm but not 4/mmm.
inline bool holoedrie_contient(Reseau a, Reseau b) {
    // By holohedry, m-3m, 6/mmm, 4/mmm, -3m, mmm, 2/m, -1: those it contains, as bits.
    constexpr std::array<unsigned, 7> contenues{0b1111100, 0b1111000, 0b1110000, 0b1100000,
                                                0b1100000, 0b1000000, 0};
    const auto holoedrie = [](Reseau r) {
        switch (fiche(r).systeme) {
        case Systeme::cubique:
            return 0;
        case Systeme::hexagonal:
            return r == Reseau::hR ? 3 : 1;
        case Systeme::tetragonal:
            return 2;
        case Systeme::rhomboedrique:
            return 3;
        case Systeme::orthorhombique:
            return 4;
        case Systeme::monoclinique:
            return 5;
        default:
            return 6;
        }
    };
    return (contenues[static_cast<std::size_t>(holoedrie(a))] >> holoedrie(b) & 1U) != 0;
}

} // namespace kovrin
