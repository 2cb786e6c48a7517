// The candidates of the searches, reduced, merged and ranked.
#include "indexation/interne.h"
#include "indexation/synthese.h"

#include "commun/angles.h"
#include "commun/espace_travail.h"
#include "cristallo/metrique.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace kovrin {

namespace {

// The seven shortest lattice vectors among the combinations of a reduced
// basis with coefficients -1, 0, 1: the same for any reduced basis of the
// lattice, where the Niggli cell itself may jump between its two forms near
// right angles (60 60 60 and 90 120 120 describe one lattice).
std::array<double, 7> plus_courts(const Maille& m) {
    const Metrique g = tenseur_metrique(m);
    std::vector<double> longueurs;
    for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j)
            for (int k = 0; k <= 1; ++k) {
                const int v[3] = {i, j, k};
                if (k == 0 && (j < 0 || (j == 0 && i <= 0))) continue;
                double q = 0;
                for (int a = 0; a < 3; ++a)
                    for (int b = 0; b < 3; ++b)
                        q += v[a] * v[b] * g[a][b];
                longueurs.push_back(std::sqrt(std::max(q, 0.0)));
            }
    std::sort(longueurs.begin(), longueurs.end());
    std::array<double, 7> sept{};
    std::copy(longueurs.begin(), longueurs.begin() + 7, sept.begin());
    return sept;
}

} // namespace

namespace indexation {

bool reduites_egales(const Maille& a, const Maille& b, double tol_l, double tol_a) {
    const double va = volume_maille(a), vb = volume_maille(b);
    // An angle error of tol_a changes the volume by about its sine.
    if (std::fabs(va - vb) > (3 * tol_l + std::sin(tol_a * radians_par_degre)) * std::max(va, vb))
        return false;
    const auto la = plus_courts(a), lb = plus_courts(b);
    for (std::size_t i = 0; i < la.size(); ++i)
        if (std::fabs(la[i] - lb[i]) > tol_l * std::max(la[i], lb[i])) return false;
    return true;
}

} // namespace indexation

bool meme_reseau(const Maille& a, char centrage_a, const Maille& b, char centrage_b,
                 double tolerance_longueurs, double tolerance_angles) {
    return indexation::reduites_egales(maille_reduite(a, centrage_a), maille_reduite(b, centrage_b),
                                       tolerance_longueurs, tolerance_angles);
}

namespace indexation {

// A monoclinic cell has one parameter more than an orthorhombic one, and its
// searches try far more cells: it fits the same lines a little better by
// chance alone, and must fit them better by this factor to rank first.
// The triclinic cell, with two parameters more still, likewise.
inline constexpr double exigence_monoclinique = 1.35, exigence_triclinique = 1.8;

// The mean distance of the lines to a derivative cell's, at most this many
// times that to the smaller cell's.
inline constexpr double ecart_derive_max = 1.5;

double exigence(const SolutionIndexation& s) {
    switch (s.systeme()) {
    case Systeme::monoclinique:
        return exigence_monoclinique;
    case Systeme::triclinique:
        return exigence_triclinique;
    default:
        return 1;
    }
}

double m20_compare(const SolutionIndexation& s) {
    return s.m20_classement / exigence(s);
}

namespace {

struct Candidat {
    SolutionIndexation solution;
    Maille reduite;
    double volume_primitif;
    double figure; // of the ranking
};

// The parameters a refinement fits: the cell's, and the zero when searched.
int parametres_ajustes(const SolutionIndexation& s, bool zero) {
    const int z = zero ? 1 : 0;
    switch (s.systeme()) {
    case Systeme::cubique:
        return 1 + z;
    case Systeme::tetragonal:
    case Systeme::hexagonal:
    case Systeme::rhomboedrique:
        return 2 + z;
    case Systeme::orthorhombique:
        return 3 + z;
    case Systeme::monoclinique:
        return 4 + z;
    default:
        return 6 + z;
    }
}

// The ranking's figure, with the parameters weighed against the lines they
// fit: p parameters fitted to N lines leave residuals below the lines' own
// scatter, the more so the fewer lines per parameter, so that a cell of two
// or three parameters fitting five or six lines all but exactly would
// outrank the cubic cell of one that leaves an impurity out. Akaike's
// criterion corrected for small samples (Hurvich and Tsai, 1989) weighs
// N ln(S/N), S the sum of the squared residuals, against
// 2p + 2p(p+1)/(N-p-1); M(20) goes as (S/N)^-1/2, hence ln M(20) less that
// penalty over 2N. Below p + 2 lines the penalty would have no bound: it
// stops at that of half a line to spare.
double figure_classement(const SolutionIndexation& s, bool zero) {
    const double m = m20_compare(s);
    const double n = s.figures.n_f;
    if (!(n > 0)) return m;
    const double p = parametres_ajustes(s, zero);
    const double penalite = 2 * p + 2 * p * (p + 1) / std::max(n - p - 1, 0.5);
    return m * std::exp(-penalite / (2 * n));
}

// Figures of merit within 3 % of each other tie: the higher symmetry wins.
int classe_m20(double m20) {
    if (!std::isfinite(m20)) return std::numeric_limits<int>::max();
    return static_cast<int>(std::floor(std::log(std::max(m20, 1e-9)) / std::log(1.03)));
}

bool avant(const Candidat& u, const Candidat& v) {
    const SolutionIndexation& a = u.solution;
    const SolutionIndexation& b = v.solution;
    return std::make_tuple(-classe_m20(u.figure), rang_symetrie(a.reseau), -a.figures.m,
                           a.non_indexees, a.volume, a.maille) <
           std::make_tuple(-classe_m20(v.figure), rang_symetrie(b.reseau), -b.figures.m,
                           b.non_indexees, b.volume, b.maille);
}

// What the ranking knows of the pattern: the wavelength, the last measured
// line (0: unknown), and the distance past which a calculated line is far
// from every other (degrees 2theta).
struct Diagramme {
    double lambda, deux_theta_max, isole;
};

// A multiple's lines far from every line of a smaller cell that indexes as
// many lines, and that no space group of the multiple's lattice rules out:
// lines the pattern lacks that only a coincidence of the multiple's axial
// ratios explains, past this many. (A tetragonal cell with a = 3.0008 c: the
// cubic cell a indexes every line as closely, but lacks its 211, which no
// cubic P group rules out.) The lines a glide plane or a screw axis may rule
// out, as diamond's 200 and 420 (F d -3 m), say nothing.
inline constexpr int absences_inexpliquees_min = 2;

bool absences_inexpliquees(const Candidat& multiple, const Candidat& maille, const Diagramme& d) {
    if (!(d.deux_theta_max > 0)) return false;
    const SolutionIndexation& m = multiple.solution;
    const auto siennes = angles_du_reseau(maille.solution.reseau, maille.solution.maille, d.lambda,
                                          std::min(d.deux_theta_max + d.isole, 179.9));
    if (siennes.empty()) return false;
    // A list the generator cut at its capacity stops at its last line.
    const bool coupee = siennes.size() >= decltype(EspaceTravail::calculees)::capacite;
    const double jusqua = coupee ? siennes.back() : d.deux_theta_max;
    int n = 0;
    for (const RaieDuReseau& r : raies_du_reseau(m.reseau, m.maille, d.lambda, jusqua))
        if (ecart_au_plus_proche(siennes, r.deux_theta, d.isole) >= d.isole &&
            !absence_possible(m.reseau, r.hkl) && ++n >= absences_inexpliquees_min)
            return true;
    return false;
}

// The agreement of a sublattice's reduced cell with a multiple's: both are
// refined on the same lines, but each within its own symmetry.
inline constexpr double tolerance_sous_reseau_longueurs = 0.01, tolerance_sous_reseau_angles = 1;

// Whether the lattice of the reduced cell `grande` is, within those
// tolerances, one of the sublattices of index n of the reduced cell
// `petite`'s: the lattices spanned by the columns of the Hermite normal forms
// of determinant n (diagonal d0 d1 d2, each entry above the diagonal below
// the diagonal entry of its row).
bool sous_reseau(const Maille& grande, const Maille& petite, int n) {
    const Metrique g = tenseur_metrique(petite);
    const auto essaie = [&](const std::array<std::array<int, 3>, 3>& h) {
        Metrique s{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k)
                    for (int l = 0; l < 3; ++l)
                        s[i][j] += h[k][i] * g[k][l] * h[l][j];
        const auto m = maille_de_tenseur(s);
        return m && reduites_egales(maille_reduite(*m, 'P'), grande,
                                    tolerance_sous_reseau_longueurs, tolerance_sous_reseau_angles);
    };
    for (int d0 = 1; d0 <= n; ++d0)
        for (int d1 = 1; d0 * d1 <= n; ++d1) {
            if (n % (d0 * d1) != 0) continue;
            const int d2 = n / (d0 * d1);
            for (int a = 0; a < d0; ++a)
                for (int b = 0; b < d0; ++b)
                    for (int c = 0; c < d1; ++c)
                        if (essaie({{{d0, a, b}, {0, d1, c}, {0, 0, d2}}})) return true;
        }
    return false;
}

// The largest index whose sublattices are enumerated (155 of them for 8);
// a cell of a higher multiple of the volume is taken for a multiple.
inline constexpr int indice_verifie_max = 8;

// A cell whose lattice is a sublattice of a better one's and indexes no more
// lines: a cell of a multiple volume that is not is another lattice.
bool multiple_de(const Candidat& c, const Candidat& meilleur) {
    const double rapport = c.volume_primitif / meilleur.volume_primitif;
    const double entier = std::round(rapport);
    return entier >= 2 && std::fabs(rapport - entier) < 0.01 * entier &&
           c.solution.non_indexees >= meilleur.solution.non_indexees &&
           (entier > indice_verifie_max ||
            sous_reseau(c.reduite, meilleur.reduite, static_cast<int>(entier)));
}

bool plus_symetrique(const Candidat& c, const Candidat& g) {
    return rang_symetrie(c.solution.reseau) < rang_symetrie(g.solution.reseau);
}

// Of a higher crystal system, whose holohedry contains the other's: a
// primitive cell of the same system as a centred lattice is only that
// lattice's multiple, not an explanation (nor is a hexagonal cell a
// rhombohedral lattice's), and a hexagonal cell does not split a tetragonal
// cell's lines.
bool systeme_superieur(const Candidat& c, const Candidat& g) {
    return c.solution.systeme() != g.solution.systeme() &&
           holoedrie_contient(c.solution.reseau, g.solution.reseau);
}

// A multiple of a higher crystal system that indexes the same lines with a
// figure of merit to match: two to four times the volume (the derivative
// cells of a lattice), M(20) at least the smaller cell's over that factor, as
// the lines it allows grow with its volume. And either it allows no more
// lines than the smaller cell, whose lines are then its own split by the
// lower symmetry (the smaller cell's parameter or two more spread them to fit
// the scatter), or it fits them as closely. A lattice that only nearly has
// the higher symmetry (c/a within a few tenths of a percent of sqrt3) allows
// more lines and leaves them far off; a random large cell that happens to
// index the lines has far less M(20). Nor may it lack lines that only a
// coincidence explains.
bool explique(const Candidat& c, const Candidat& g, const Diagramme& d) {
    const double facteur = std::round(c.volume_primitif / g.volume_primitif);
    const FiguresMerite& fc = c.solution.figures;
    const FiguresMerite& fg = g.solution.figures;
    return systeme_superieur(c, g) && c.solution.non_indexees == g.solution.non_indexees &&
           facteur <= 4 && fc.m >= fg.m / facteur &&
           (fc.n_possibles <= fg.n_possibles ||
            fc.ecart_moyen <= ecart_derive_max * fg.ecart_moyen) &&
           !absences_inexpliquees(c, g, d);
}

// A cell of which a better one is a multiple, indexing as many lines with a
// figure of merit to match (at least the multiple's over its factor, what
// the multiple's extra lines cost it): its lattice explains the lines with
// fewer calculated ones, and the multiple only fits them closer by the lines
// it adds. Not a cell of a lower system, whose multiple's symmetry is what it
// explains, unless the multiple lacks lines that only a coincidence explains.
bool sous_maille(const Candidat& c, const Candidat& g, const Diagramme& d) {
    const double facteur = std::round(g.volume_primitif / c.volume_primitif);
    if (!multiple_de(g, c) || c.solution.figures.m < g.solution.figures.m / facteur) return false;
    return !systeme_superieur(g, c) || absences_inexpliquees(g, c, d);
}

// Keeps a candidate unless it repeats a better one. The same lattice in a
// higher symmetry takes the place of the one kept: its reduced cell agrees
// within the tolerances, so the lattice has that symmetry (the lower
// description only fits the scatter of the lines better). So does a multiple
// of higher symmetry that indexes the same lines: the smaller cell is then a
// derivative of its lattice whose axial ratios only it explains (the
// tetragonal cell a/sqrt2, a/sqrt2, a indexes every line of a cubic P cell).
// And a smaller cell of which the one kept is only a multiple takes its place.
void garde(Candidat& c, std::vector<Candidat>& gardes, const Diagramme& d) {
    for (Candidat& g : gardes) {
        if (reduites_egales(c.reduite, g.reduite, 0.005, 0.5)) {
            if (plus_symetrique(c, g)) g = std::move(c);
            return;
        }
        if (multiple_de(c, g)) {
            if (explique(c, g, d)) g = std::move(c);
            return;
        }
        if (sous_maille(c, g, d)) {
            g = std::move(c);
            return;
        }
    }
    gardes.push_back(std::move(c));
}

// A body-centred cubic cell a and the primitive cubic cell a/sqrt(2) allow
// the same lines up to the body-centred 321, which the primitive one cannot
// index (no h^2 + k^2 + l^2 = 7): with that line past the pattern, as for
// iron or chromium under Cu radiation, they tie. No structure has a
// primitive cubic cell under 2.5 A: the body-centred cell goes first.
void centre_avant_primitif(std::vector<Candidat>& gardes) {
    for (auto p = gardes.begin(); p != gardes.end(); ++p) {
        const SolutionIndexation& primitive = p->solution;
        if (primitive.reseau != Reseau::cP || primitive.maille[0] >= 2.5) continue;
        const auto centree = std::find_if(p + 1, gardes.end(), [&](const Candidat& c) {
            const SolutionIndexation& s = c.solution;
            return s.reseau == Reseau::cI && s.non_indexees == primitive.non_indexees &&
                   std::fabs(s.figures.m - primitive.figures.m) <= 1e-3 * primitive.figures.m &&
                   std::fabs(s.maille[0] - std::sqrt(2.0) * primitive.maille[0]) <
                       1e-3 * s.maille[0];
        });
        if (centree != gardes.end()) std::rotate(p, centree, centree + 1);
    }
}

} // namespace

std::vector<SolutionIndexation> classe(std::vector<SolutionIndexation> solutions,
                                       const OptionsIndexation& options, double lambda,
                                       double deux_theta_max) {
    const Diagramme d{lambda, deux_theta_max, ecart_isole * options.tolerance};
    std::vector<Candidat> candidats;
    for (SolutionIndexation& s : solutions) {
        if (!(s.figures.m >= options.m20_min)) continue;
        const char centrage = fiche(s.reseau).centrage;
        const Maille reduite = maille_reduite(s.maille, centrage);
        const double volume_primitif = s.volume / multiplicite(centrage);
        const double figure = figure_classement(s, options.zero);
        candidats.push_back({std::move(s), reduite, volume_primitif, figure});
    }
    std::sort(candidats.begin(), candidats.end(), avant);
    std::vector<Candidat> gardes;
    for (Candidat& c : candidats)
        garde(c, gardes, d);
    centre_avant_primitif(gardes);
    std::vector<SolutionIndexation> classees;
    for (Candidat& c : gardes)
        classees.push_back(std::move(c.solution));
    return classees;
}

} // namespace indexation

} // namespace kovrin
