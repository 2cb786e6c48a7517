#pragma once
// What the core tells beyond the engine after a refinement: the usual
// standard errors and, for every pair, its residual, leverage and
// studentised residual. The engine's own errors are sqrt(S) / (Nref - Npar)
// times the root of the inverse normal matrix; the usual ones take
// sqrt(S / (Nref - Npar)), so they are larger by sqrt(Nref - Npar). Both come
// from the same model, the same flagged parameters and the same length ties.
#include "affinement/resultats.h"
#include "commun/espace_travail.h"

#include <array>
#include <optional>
#include <vector>

namespace kovrin {

// Beyond this magnitude a studentised residual marks a pair as suspect
// (mis-indexed, or overlapped by another line).
inline constexpr double seuil_suspect = 3.0;

struct DiagnosticPaire {
    double residu = 0; // observed less calculated 2theta, angular term included, degrees
    double levier = 0; // diagonal element of the hat matrix
    // Externally studentised residual: the residual over its standard error
    // estimated without the pair itself, so that one bad line cannot hide
    // behind the spread it causes. None when too few pairs are left.
    std::optional<double> studentise;
    bool suspecte = false;
};

struct Diagnostic {
    // Usual standard errors in the engine's order and units (0 for fixed parameters).
    std::array<double, nb_parametres> sigmas_usuels{};
    double volume = 0, sigma_volume = 0; // of the refined cell, angstrom^3
    double ecart_type = 0;               // sqrt(S / (Nref - Npar)), degrees 2theta
    std::vector<DiagnosticPaire> paires; // one per selected pair, in order
};

// From the refined values the engine returned (et.moteur) and the selected
// pairs; nothing before a successful refinement, with no more pairs than
// refined parameters, or when the parameters are not independent.
std::optional<Diagnostic> diagnostique(const EspaceTravail& et);

// Calculated 2theta of each pair from eight parameters in the engine's order
// (zero or eccentricity term in degrees 2theta, lambda, the direct cell), the
// angular term included: the model of the engine, in double precision.
std::vector<double> deux_theta_modele(const std::array<double, nb_parametres>& parametres,
                                      int mode_decalage, const ListeBornee<Paire, 500>& paires);

} // namespace kovrin
