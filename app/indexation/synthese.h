#pragma once
// Synthetic peak lists of known cells, to measure the indexing: the
// reflections the core generates for a cell of each Bravais lattice, the
// first 30 lines, a zero shift, Gaussian scatter of the positions, lines
// dropped and impurity lines added, all from one seed.
#include "cristallo/geometrie.h"
#include "indexation/reseaux.h"

#include <cstdint>
#include <vector>

namespace kovrin {

struct ListeSynthetique {
    Reseau reseau = Reseau::aP;
    Maille maille{}; // conventional
    double lambda = 1.5406, zero = 0;
    int impuretes = 0;
    std::vector<double> deux_theta; // increasing
};

struct OptionsSynthese {
    int nb_raies = 30;
    double zero_max = 0.05, ecart_type = 0.01; // degrees 2theta
    double part_perdue = 0.15;
    int impuretes_max = 2;
    double lambda = 1.5406;
};

// A random cell of the lattice: edges 3 to 20 angstrom, volume up to 3000
// angstrom^3, no accidental higher symmetry (no 2-fold axis of the lattice
// beyond those of its holohedry, within 1 degree).
Maille maille_aleatoire(Reseau r, std::uint64_t graine);

// The list of a given cell; the same seed gives the same list.
ListeSynthetique liste_synthetique(Reseau r, const Maille& maille, std::uint64_t graine,
                                   const OptionsSynthese& options = {});

// The angles (degrees 2theta, sorted) of the reflections the core generates
// for a cell of the lattice, its centring alone ruling out any.
std::vector<double> angles_du_reseau(Reseau r, const Maille& maille, double lambda);

// Whether two cells give the same powder pattern up to the angle `jusqua`:
// the lines a pattern shows apart (those within `tolerance` of each other
// counted once) pair one to one within `tolerance`. No search can then tell
// the cells apart: a cubic P cell a and the tetragonal a/sqrt2, a/sqrt2, a.
bool meme_diagramme(Reseau r1, const Maille& m1, Reseau r2, const Maille& m2, double lambda,
                    double jusqua, double tolerance = 0.03);

// Both: a random cell and its list.
ListeSynthetique liste_synthetique(Reseau r, std::uint64_t graine,
                                   const OptionsSynthese& options = {});

} // namespace kovrin
