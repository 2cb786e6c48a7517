#pragma once
// What the searches of the indexing share: the measured lines in Q, the
// refinement of a trial cell in Q and its figures of merit.
#include "indexation/familles.h"
#include "indexation/indexation.h"

#include <optional>
#include <vector>

namespace kovrin::indexation {

struct Raies {
    std::vector<double> deux_theta; // increasing
    std::vector<double> q;          // 1/d^2
    std::vector<double> pente;      // dQ/d(2theta), per degree
    // Q of each line within the tolerance, for each slice of the zero's range:
    // the dichotomy cuts the zero's range too, so that each window stays narrow.
    std::vector<std::vector<Intervalle>> fenetres;
    double lambda = 1;
    int n_test = 0;           // the lines the dichotomy must index: the first 20
    int non_indexees_max = 0; // of these, the lines left unindexed (impurities)
};

Raies prepare_raies(std::vector<double> deux_theta, double lambda,
                    const OptionsIndexation& options);

double q_de_deux_theta(double deux_theta, double lambda);
double deux_theta_de_q(double q, double lambda);

// The trial cell of linear parameters `x` refined in Q with its zero: lines
// indexed by their nearest term, cell and zero by linear least squares,
// again; then its figures of merit. Nothing when it indexes too few lines.
std::optional<SolutionIndexation> affine_essai(const Famille& f, const Raies& raies,
                                               const Parametres& x,
                                               const OptionsIndexation& options);

// Lattice points per conventional cell of a centring.
inline int multiplicite(char centrage) {
    switch (centrage) {
    case 'P':
        return 1;
    case 'F':
        return 4;
    case 'R':
        return 3;
    default:
        return 2;
    }
}

// Merges equivalent cells and multiples, and ranks the rest, best first.
std::vector<SolutionIndexation> classe(std::vector<SolutionIndexation> solutions,
                                       const OptionsIndexation& options);

} // namespace kovrin::indexation
