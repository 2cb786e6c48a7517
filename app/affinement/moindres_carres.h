#pragma once
// Dense least-squares arithmetic in double precision (on GSL) for what the
// core computes beside the engine: numerical Jacobians, the inverse of the
// normal matrix, a linear fit.
#include <functional>
#include <optional>
#include <vector>

namespace kovrin {

using Vecteur = std::vector<double>;
using Matrice = std::vector<Vecteur>; // rows

// df_i / dx_k by central differences, step 1e-6 of each value (at least 1e-8).
Matrice jacobien(const std::function<Vecteur(const Vecteur&)>& f, const Vecteur& x);

// (J^T J)^-1 of a design matrix J (n rows, p columns); nothing when J^T J is
// singular or too ill-conditioned to invert (after scaling its columns).
std::optional<Matrice> inverse_normale(const Matrice& j);

// The least-squares solution of X c = y; nothing when X has dependent columns.
std::optional<Vecteur> resout_lineaire(const Matrice& x, const Vecteur& y);

// Diagonal of the hat matrix J (J^T J)^-1 J^T.
Vecteur leviers(const Matrice& j, const Matrice& inverse);

// A C^T for a p x p matrix C and rows A (m x p): the propagated covariance.
Matrice propage(const Matrice& a, const Matrice& c);

} // namespace kovrin
