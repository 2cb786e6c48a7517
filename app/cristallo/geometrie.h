#pragma once
// Cell geometry: crystal systems, reciprocal cell, spacings and Bragg angles.
#include "commun/angles.h"

#include <array>
#include <string>

namespace kovrin {

using Maille = std::array<double, 6>; // a, b, c (angstrom), alpha, beta, gamma (degrees)
using MatriceB = std::array<std::array<double, 3>, 3>;

// Crystal-system code deduced from six parameters; `systeme` is left as it was
// when the lengths match no rule (b = c with a different and right angles).
void systeme_de_maille(const Maille& maille, std::string& systeme);

// Reciprocal cell (a*, b*, c* in 1/angstrom, angles in degrees) and the matrix
// that turns h k l into a reciprocal-lattice vector. False when the cell has no
// volume (negative radicand, zero angle): nothing is then written.
bool calcul_reciproque(const Maille& maille, Maille& maille_reciproque, MatriceB& matrice_b);

// 1/d^2 of h k l, in 1/angstrom^2.
double inverse_d_carre(const MatriceB& matrice_b, int h, int k, int l);

double deux_theta_de_d(double d, double lambda);
double inverse_d_de_deux_theta(double deux_theta, double lambda);

} // namespace kovrin
