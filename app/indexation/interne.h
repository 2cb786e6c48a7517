#pragma once
// What the searches of the indexing share: the measured lines in Q, the
// refinement of a trial cell in Q and its figures of merit.
#include "indexation/familles.h"
#include "indexation/indexation.h"

#include <functional>
#include <optional>
#include <vector>

namespace kovrin::indexation {

// The shortest lattice translation searched, angstrom: no crystal has a
// shorter one.
inline constexpr double arete_min = 2.0;

struct Raies {
    std::vector<double> deux_theta; // increasing
    std::vector<double> q;          // 1/d^2
    std::vector<double> pente;      // dQ/d(2theta), per degree
    // Q of each line within the tolerance, for each slice of the zero's range:
    // the dichotomy cuts the zero's range too, so that each window stays narrow.
    std::vector<std::vector<Intervalle>> fenetres;
    std::vector<Intervalle> fenetre_entiere; // over the zero's whole range
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

// Tolerances from every calculated line past which a line is isolated: no
// slight distortion of the cell would index it.
inline constexpr double ecart_isole = 3;

// The distance in 2theta of x to the nearest calculated line (sorted), at
// most plafond.
double ecart_au_plus_proche(const std::vector<double>& possibles, double x, double plafond);

// Whether some space group of the lattice, on its conventional cell (hR on
// hexagonal axes, the monoclinic ones with b unique), rules out the
// reflection hkl: a glide plane or a screw axis may account for its absence.
bool absence_possible(Reseau r, const std::array<int, 3>& hkl);

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

// Same lattice: two Niggli-reduced primitive cells whose seven shortest
// vectors agree within tol_l (relative) and whose volumes agree within what
// tol_l and an angle error of tol_a (degrees) allow.
bool reduites_egales(const Maille& a, const Maille& b, double tol_l, double tol_a);

// A conventional monoclinic cell: a, b, c (angstrom), beta (degrees, >= 90).
struct Monoclinique {
    Reseau reseau; // mP or mS
    Parametres directs;
};

// The monoclinic cells of a lattice given by a primitive cell, one per 2-fold
// axis of the lattice within the obliquity (degrees): a lattice of higher
// symmetry gives one for each of its axes.
std::vector<Monoclinique> monocliniques(const Maille& primitive, double obliquite_max);

// The 2-fold axes of a lattice given by a primitive cell, within the obliquity
// (degrees): 0 triclinic, 1 monoclinic, 3 orthorhombic or rhombohedral, 5
// tetragonal, 7 hexagonal, 9 cubic.
std::size_t nb_axes_ordre_deux(const Maille& primitive, double obliquite_max);

// The monoclinic and triclinic solutions found by zones, refined on the
// `familles` given (mP, mS, aP), with `fils` threads; `arrete` says when to
// stop (it is called from each thread).
std::vector<SolutionIndexation> cherche_par_zones(const Raies& raies,
                                                  const std::vector<Famille>& familles,
                                                  const OptionsIndexation& options, int fils,
                                                  const std::function<bool()>& arrete);

// What a cell of the solution's system fits by chance alone, as a factor
// on M(20) (1 up to the orthorhombic system).
double exigence(const SolutionIndexation& s);
// The ranking's figure of a solution: its ranking M(20), over that factor.
double m20_compare(const SolutionIndexation& s);

// Merges equivalent cells and multiples, and ranks the rest, best first: by
// m20_compare, weighed against the parameters fitted per indexed line. The
// wavelength and the last measured line (0: unknown) let a multiple's lines
// be compared with its smaller cell's.
std::vector<SolutionIndexation> classe(std::vector<SolutionIndexation> solutions,
                                       const OptionsIndexation& options, double lambda,
                                       double deux_theta_max);

} // namespace kovrin::indexation
