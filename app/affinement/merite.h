#pragma once
// Figures of merit of an indexed powder pattern: de Wolff's M(20) and Smith
// and Snyder's F(N), from the refined cell.
#include "commun/espace_travail.h"

#include <optional>
#include <vector>

namespace kovrin {

// An observed line (corrected for the angular term) and the calculated angle
// of its indices, degrees 2theta.
struct RaieIndexee {
    double deux_theta_obs = 0, deux_theta_calc = 0;
};

struct FiguresMerite {
    int n_m = 0;            // lines of M: the first 20, or all when fewer
    double m = 0;           // M(n_m) = Q_n / (2 mean|dQ| Nposs(Q_n))
    int n_f = 0;            // N: every observed line
    double f = 0;           // F(N) = N / (mean|d2theta| Nposs(2theta_N))
    double ecart_moyen = 0; // mean |d2theta| of F(N), degrees
    int n_possibles = 0;    // Nposs of F(N)
    int n_possibles_m = 0;  // Nposs of M
};

inline constexpr int nb_raies_m20 = 20;

// From the observed lines in increasing angle and the distinct calculated
// angles of the cell (any order). A line is "up to" the n-th observed one
// when its angle does not exceed the larger of that line's observed and
// calculated angles, so that the line's own reflection always counts. Nothing
// without lines; a figure with no discrepancy at all is infinite.
std::optional<FiguresMerite> figures_merite(const std::vector<RaieIndexee>& raies,
                                            const std::vector<double>& possibles, double lambda);

// After a successful refinement: the selected pairs against the reflections
// the refined cell allows in its space group (distinct spacings, generated
// again with the refined cell and wavelength). Nothing before a refinement or
// when the generation fails.
std::optional<FiguresMerite> figures_merite(const EspaceTravail& et);

// "M(20) = 41.3" and "F(11) = 52.4 (0.0081, 17)", as the results show them.
std::string texte_m20(const FiguresMerite& f);
std::string texte_fn(const FiguresMerite& f);

} // namespace kovrin
