#pragma once
// The residual plot of the last refinement: for every selected pair, the
// observed less the calculated 2theta (the angular term included) against the
// observed 2theta; suspect pairs in red with their row number, and the band of
// two standard deviations of the fit.
#include "commun/espace_travail.h"
#include "profil/trace.h"

#include <vector>

namespace kovrin {

// A tick step of 1, 2 or 5 times a power of ten giving about `n` steps over `etendue`.
double pas_rond(double etendue, int n);

// The plot for a picture of `largeur` x `hauteur` pixels; a line of text alone
// before any successful refinement.
Dessin dessin_residus(const EspaceTravail& et, int largeur, int hauteur);

} // namespace kovrin
