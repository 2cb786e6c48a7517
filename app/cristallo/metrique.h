#pragma once
// Metric tensors of a cell in full double precision, with radians from pi
// itself: the arithmetic of the results computed beyond the engine (standard
// errors, diagnostics, the linear start). Its reciprocal is its inverse, so
// one inversion turns a direct cell into its reciprocal and back.
#include "cristallo/geometrie.h"

#include <array>
#include <optional>

namespace kovrin {

using Metrique = std::array<std::array<double, 3>, 3>;

// G_ij = a_i . a_j of a cell (lengths, angles in degrees).
Metrique tenseur_metrique(const Maille& maille);

// The cell whose metric tensor is `g`; nothing when `g` is not positive definite.
std::optional<Maille> maille_de_tenseur(const Metrique& g);

// The reciprocal cell (a*, b*, c* in 1/angstrom, angles in degrees), or the
// direct cell of a reciprocal one; nothing for a cell without volume.
std::optional<Maille> maille_inverse(const Maille& maille);

// Volume of a cell, angstrom^3 (0 for a cell without volume).
double volume_maille(const Maille& maille);

// 1/d^2 of h k l from a reciprocal metric tensor.
double q_de_indices(const Metrique& g_etoile, int h, int k, int l);

} // namespace kovrin
