#pragma once
// Space-group symbols as crystallographers write them ("P 1 21/c 1", "P m -3 m",
// "P2_1/c", "F d -3 m:2", "R -3 m:H", "P 4/m 2/m 2/m"...), recognised by gemmi's
// symbol table and matched with the entry of one of the program's two lists
// that holds the same symmetry operators.
#include "commun/espace_travail.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

// Entry (0-based) of et.liste_hm whose .pos block holds the operators of the
// group and setting `symbole` names, for et.systeme; -1 when none does or the
// symbol names no group. Without an origin suffix, origin choice 2 is tried
// before choice 1; R groups are taken on rhombohedral axes in "RHOM", on
// hexagonal axes elsewhere, unless ":R" or ":H" says otherwise.
int entree_hm_du_symbole(const EspaceTravail& et, std::string_view symbole);

// The same in et.liste_orsab, each entry's operators being those liborsab
// loads for its H-M symbol.
int entree_orsab_du_symbole(const EspaceTravail& et, std::string_view symbole);

// At most `n` symbols of a list (the H-M part of Orsab entries when `hall`),
// closest first to `symbole` in their writing, blanks and case aside.
std::vector<std::string> entrees_proches(const ListeSymboles& liste, std::string_view symbole,
                                         bool hall, std::size_t n);

} // namespace kovrin
