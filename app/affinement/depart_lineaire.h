#pragma once
// A start cell from indexed lines alone: the reciprocal metric coefficients of
// Q = 1/d^2 = h^2 A + k^2 B + l^2 C + kl D + hl E + hk F, tied as the crystal
// system requires, fitted to the selected pairs by linear least squares.
#include "commun/espace_travail.h"
#include "cristallo/geometrie.h"

#include <optional>
#include <string>

namespace kovrin {

// The cell of the pairs' indices and observed angles at `lambda`. For a
// monoclinic system the free angle is the one of `maille` that is not 90
// (beta when none is). Nothing when the system is not one of the seven, when
// the indices leave a coefficient undetermined, or when the coefficients
// describe no cell.
std::optional<Maille> depart_lineaire(const ListeBornee<Paire, 500>& paires,
                                      const std::string& systeme, const Maille& maille,
                                      double lambda);

} // namespace kovrin
