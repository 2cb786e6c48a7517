#pragma once
// Synthetic peak lists of known cells, to measure the indexing: the
// reflections the core generates for a cell of each Bravais lattice, the
// first 30 lines, a zero shift, Gaussian scatter of the positions, lines
// dropped and impurity lines added, all from one seed. The reflections of a
// lattice's cell serve the ranking too, to compare two cells' lines.
#include "cristallo/geometrie.h"
#include "indexation/reseaux.h"

#include <array>
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

struct RaieDuReseau {
    double deux_theta;
    std::array<int, 3> hkl;
};

// The reflections the core generates for a cell of the lattice, its centring
// alone ruling out any, by increasing angle (degrees 2theta) up to `jusqua`;
// their angles.
std::vector<RaieDuReseau> raies_du_reseau(Reseau r, const Maille& maille, double lambda,
                                          double jusqua = 120);
std::vector<double> angles_du_reseau(Reseau r, const Maille& maille, double lambda,
                                     double jusqua = 120);

// The fewest of a list's lines of its own cell (those within `ecart` of one,
// its zero taken off) that lie off one zone [uvw] of the cell (u, v, w from
// -1 to 1): below three, the lines cannot fix the cell's third vector, free
// in three parameters (a cell with one short axis whose listed lines all lie
// below the first line off the zone normal to it).
int raies_hors_zone(const ListeSynthetique& l, double ecart = 0.05);

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
