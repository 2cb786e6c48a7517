// The candidates of the searches, reduced, merged and ranked.
#include "indexation/interne.h"

#include "cristallo/metrique.h"

#include <gemmi/cellred.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace kovrin {

Maille maille_reduite(const Maille& m, char centrage) {
    const gemmi::UnitCell u(m[0], m[1], m[2], m[3], m[4], m[5]);
    gemmi::GruberVector g(u, centrage);
    g.niggli_reduce(1e-6 * g.A);
    return g.cell_parameters();
}

namespace {

// The three angles folded onto 0 ... 90 degrees, sorted: a reduced cell of a
// nearly right-angled lattice falls on either side of 90 with its errors.
std::array<double, 3> angles_replies(const Maille& m) {
    std::array<double, 3> a{};
    for (int i = 0; i < 3; ++i)
        a[i] = std::min(m[3 + i], 180 - m[3 + i]);
    std::sort(a.begin(), a.end());
    return a;
}

bool reduites_egales(const Maille& a, const Maille& b, double tol_l, double tol_a) {
    for (int i = 0; i < 3; ++i)
        if (std::fabs(a[i] - b[i]) > tol_l * std::max(a[i], b[i])) return false;
    const auto ra = angles_replies(a), rb = angles_replies(b);
    for (int i = 0; i < 3; ++i)
        if (std::fabs(ra[i] - rb[i]) > tol_a) return false;
    return true;
}

} // namespace

bool meme_reseau(const Maille& a, char centrage_a, const Maille& b, char centrage_b,
                 double tolerance_longueurs, double tolerance_angles) {
    return reduites_egales(maille_reduite(a, centrage_a), maille_reduite(b, centrage_b),
                           tolerance_longueurs, tolerance_angles);
}

namespace indexation {

namespace {

struct Candidat {
    SolutionIndexation solution;
    Maille reduite;
    double volume_primitif;
};

// Figures of merit within 3 % of each other tie: the higher symmetry wins.
int classe_m20(double m20) {
    if (!std::isfinite(m20)) return std::numeric_limits<int>::max();
    return static_cast<int>(std::floor(std::log(std::max(m20, 1e-9)) / std::log(1.03)));
}

// M(20) counts the indexed lines alone: each line left out among the first 20
// halves it for the ranking, or a sub-cell that drops a line or two would
// outrank the cell that indexes them all.
double m20_classement(const SolutionIndexation& s) {
    return std::ldexp(s.figures.m, -s.non_indexees);
}

bool avant(const Candidat& u, const Candidat& v) {
    const SolutionIndexation& a = u.solution;
    const SolutionIndexation& b = v.solution;
    return std::make_tuple(-classe_m20(m20_classement(a)), rang_symetrie(a.reseau), -a.figures.m,
                           a.non_indexees, a.volume, a.maille) <
           std::make_tuple(-classe_m20(m20_classement(b)), rang_symetrie(b.reseau), -b.figures.m,
                           b.non_indexees, b.volume, b.maille);
}

// A cell whose volume is a multiple of a better one's and indexes no more lines.
bool multiple_de(const Candidat& c, const Candidat& meilleur) {
    const double rapport = c.volume_primitif / meilleur.volume_primitif;
    const double entier = std::round(rapport);
    return entier >= 2 && std::fabs(rapport - entier) < 0.01 * entier &&
           c.solution.non_indexees >= meilleur.solution.non_indexees;
}

bool redondant(const Candidat& c, const std::vector<Candidat>& gardes) {
    for (const Candidat& g : gardes)
        if (reduites_egales(c.reduite, g.reduite, 0.005, 0.5) || multiple_de(c, g)) return true;
    return false;
}

} // namespace

std::vector<SolutionIndexation> classe(std::vector<SolutionIndexation> solutions,
                                       const OptionsIndexation& options) {
    std::vector<Candidat> candidats;
    for (SolutionIndexation& s : solutions) {
        if (!(s.figures.m >= options.m20_min)) continue;
        const char centrage = fiche(s.reseau).centrage;
        const Maille reduite = maille_reduite(s.maille, centrage);
        const double volume_primitif = s.volume / multiplicite(centrage);
        candidats.push_back({std::move(s), reduite, volume_primitif});
    }
    std::sort(candidats.begin(), candidats.end(), avant);
    std::vector<Candidat> gardes;
    for (Candidat& c : candidats)
        if (!redondant(c, gardes)) gardes.push_back(std::move(c));
    std::vector<SolutionIndexation> classees;
    for (Candidat& c : gardes)
        classees.push_back(std::move(c.solution));
    return classees;
}

} // namespace indexation

} // namespace kovrin
