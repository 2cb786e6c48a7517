#pragma once
// The lattices the dichotomy searches, each as a family of index terms: a
// line of spacing d is indexed by a term when 1/d^2 = sum_j coef_j X_j, the X_j
// being the linear parameters of the reciprocal metric (1/a^2, 1/b^2 ... for
// the orthogonal axes; A, B, C, D of h^2 A + k^2 B + l^2 C + h l D for the
// monoclinic; the six terms g11 g22 g33 g12 g13 g23 of the reciprocal metric
// for the triclinic, Q = h^2 g11 + ... + 2 h k g12 + ...: these two families
// serve the refinement of the cells found by zones).
// The dichotomy itself works on the direct parameters: the lengths.
#include "cristallo/geometrie.h"
#include "cristallo/metrique.h"
#include "indexation/reseaux.h"

#include <array>
#include <optional>
#include <vector>

namespace kovrin::indexation {

inline constexpr int nb_x_max = 6;
using Coefficients = std::array<double, nb_x_max>;
using Parametres = std::array<double, nb_x_max>;

struct Terme {
    Coefficients coef{};
    std::array<int, 3> hkl{};
};

// How the direct parameters of a box are ordered to search each cell once.
enum class Ordre { aucun, a_b, a_b_c };

struct Famille {
    Reseau reseau;
    int n = 1; // parameters (direct and X alike)
    Ordre ordre = Ordre::aucun;
    std::vector<Terme> termes; // allowed, with distinct coefficients, in their order
    // Per term, the next one whose first coefficient, or first two, differ:
    // where a scan goes on once the partial sum is too large.
    std::vector<std::size_t> saut0, saut1;
};

// The family of a lattice with every term of 1/d^2 up to q_max for edges up
// to arete_max. The dichotomy searches the families of one to three parameters.
std::optional<Famille> famille_de(Reseau r, double q_max, double arete_max);

// The linear parameters of the direct ones (a, b, c, beta for the monoclinic,
// the whole cell for the triclinic), and the cell of linear parameters
// (nothing when they describe no cell).
Parametres x_de_directs(const Famille& f, const Parametres& p);
std::optional<Maille> maille_de_x(const Famille& f, const Parametres& x);

// The direct cell of a reciprocal metric (nothing when it is not positive definite).
std::optional<Maille> maille_de_tenseur_reciproque(const Metrique& g);

// 1/d^2 of a term.
double q_de(const Terme& t, const Parametres& x, int n);

// A range of 1/d^2.
struct Intervalle {
    double bas, haut;
};

// The edges of a box of the dichotomy, whose families have three parameters
// at most.
using Aretes = std::array<double, 3>;

// The smallest conventional volume of a box: that of its lower edges.
double volume_min(const Famille& f, const Aretes& bas);

} // namespace kovrin::indexation
