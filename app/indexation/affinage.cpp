// Refinement of a trial cell in Q = 1/d^2: with the indices of the lines
// fixed, 1/d^2 is linear in the reciprocal metric's parameters, and a zero
// shift z of 2theta adds (dQ/d2theta) z, so that one linear least-squares
// solution gives both; the indices are then chosen again with the new cell.
#include "commun/angles.h"
#include "cristallo/metrique.h"
#include "indexation/interne.h"

#include <algorithm>
#include <cmath>

namespace kovrin::indexation {

namespace {

inline constexpr double largeur_tranche_zero = 0.05; // degrees 2theta

} // namespace

double q_de_deux_theta(double deux_theta, double lambda) {
    const double s = 2 * std::sin(deux_theta * radians_theta_par_degre_2theta) / lambda;
    return s * s;
}

double deux_theta_de_q(double q, double lambda) {
    const double s = std::sqrt(q) * lambda / 2;
    return s >= 1 ? 180 : 2 * std::asin(s) / radians_par_degre;
}

Raies prepare_raies(std::vector<double> deux_theta, double lambda,
                    const OptionsIndexation& options) {
    std::sort(deux_theta.begin(), deux_theta.end());
    Raies r;
    r.lambda = lambda;
    const int tranches = options.zero
                             ? std::max(1, static_cast<int>(std::ceil(
                                               2 * options.zero_max / largeur_tranche_zero - 1e-9)))
                             : 1;
    const double largeur = options.zero ? 2 * options.zero_max / tranches : 0;
    r.fenetres.resize(static_cast<std::size_t>(tranches));
    for (double x : deux_theta) {
        r.deux_theta.push_back(x);
        r.q.push_back(q_de_deux_theta(x, lambda));
        r.pente.push_back(4 / (lambda * lambda) * std::sin(x * radians_par_degre) *
                          radians_theta_par_degre_2theta);
        for (int t = 0; t < tranches; ++t) {
            const double zero = options.zero ? -options.zero_max + (t + 0.5) * largeur : 0;
            const double marge = options.tolerance + largeur / 2;
            r.fenetres[static_cast<std::size_t>(t)].push_back(
                {q_de_deux_theta(std::max(x - zero - marge, 0.0), lambda),
                 q_de_deux_theta(std::min(x - zero + marge, 179.9), lambda)});
        }
    }
    // The first slice's zero is the lowest: its windows lie highest.
    r.fenetre_entiere = r.fenetres.front();
    for (std::size_t k = 0; k < r.fenetre_entiere.size(); ++k)
        r.fenetre_entiere[k].bas = r.fenetres.back()[k].bas;
    r.n_test = std::min<int>(nb_raies_m20, static_cast<int>(deux_theta.size()));
    r.non_indexees_max = options.non_indexees_max;
    return r;
}

namespace {

// 1/a^2, 1/b^2, 1/c^2 of a triclinic cell of reciprocal metric terms x: the
// determinant of the metric over each of its diagonal cofactors (0 when the
// metric is not positive definite).
std::array<double, 3> triclinique_par_carre(const Parametres& x) {
    const double c00 = x[1] * x[2] - x[5] * x[5], c11 = x[0] * x[2] - x[4] * x[4],
                 c22 = x[0] * x[1] - x[3] * x[3];
    const double det =
        x[0] * c00 - x[3] * (x[3] * x[2] - x[5] * x[4]) + x[4] * (x[3] * x[5] - x[1] * x[4]);
    if (!(det > 0 && c00 > 0 && c11 > 0 && c22 > 0)) return {0, 0, 0};
    return {det / c00, det / c11, det / c22};
}

// The terms' 1/d^2 up to q_max, increasing, with their rank in the family.
struct Calculee {
    double q;
    int terme;
};

// A lower bound of 1/d^2 per unit of h^2: 1/a^2 of the cell.
double q_par_h2(const Famille& f, const Parametres& x) {
    if (f.n == 4) return x[0] - x[3] * x[3] / (4 * x[2]);
    if (f.n < 4) return x[0];
    return triclinique_par_carre(x)[0];
}

// Where the scan of the terms goes on past one of 1/d^2 = q > q_max: with
// the orthogonal axes (every part positive) the terms of the same first
// coefficients that follow are larger still.
std::size_t suivant(const Famille& f, const Parametres& x, std::size_t i, double q, double q_max) {
    if (f.n == 4 || q <= q_max) return i + 1;
    const Coefficients& c = f.termes[i].coef;
    if (f.n == 1) return f.termes.size();
    if (f.n == 2 || c[0] * x[0] + c[1] * x[1] > q_max) return f.saut0[i];
    return f.saut1[i];
}

// The triclinic terms up to q_max: h^2, then k^2, then l^2 increase through
// the family, and 1/d^2 is at least each times 1/a^2, 1/b^2, 1/c^2 of the cell.
std::vector<Calculee> calculees_tricliniques(const Famille& f, const Parametres& x, double q_max) {
    std::vector<Calculee> c;
    const std::array<double, 3> seuils = triclinique_par_carre(x);
    const double marge = q_max * 1.0001;
    for (std::size_t i = 0; i < f.termes.size();) {
        const Terme& t = f.termes[i];
        if (t.coef[0] * seuils[0] > marge) break;
        if (t.coef[1] * seuils[1] > marge) {
            i = f.saut0[i];
        } else if (t.coef[2] * seuils[2] > marge) {
            i = f.saut1[i];
        } else {
            const double q = q_de(t, x, f.n);
            if (q <= q_max) c.push_back({q, static_cast<int>(i)});
            ++i;
        }
    }
    return c;
}

std::vector<Calculee> calculees(const Famille& f, const Parametres& x, double q_max) {
    std::vector<Calculee> c;
    if (f.n == 6) {
        c = calculees_tricliniques(f, x, q_max);
        std::sort(c.begin(), c.end(),
                  [](const Calculee& u, const Calculee& v) { return u.q < v.q; });
        return c;
    }
    const double seuil = q_par_h2(f, x);
    const bool positifs =
        std::all_of(x.begin(), x.begin() + std::min(f.n, 3), [](double v) { return v > 0; });
    for (std::size_t i = 0; i < f.termes.size();) {
        const Terme& t = f.termes[i];
        if (t.coef[0] * seuil > q_max * 1.0001) break;
        const double q = q_de(t, x, f.n);
        if (q <= q_max) c.push_back({q, static_cast<int>(i)});
        i = positifs ? suivant(f, x, i, q, q_max) : i + 1;
    }
    std::sort(c.begin(), c.end(), [](const Calculee& u, const Calculee& v) { return u.q < v.q; });
    return c;
}

// The calculated line nearest to `deux_theta` within the tolerance, with
// its distance (degrees); nothing when none is.
std::optional<std::pair<const Calculee*, double>>
plus_proche(const std::vector<Calculee>& c, double deux_theta, double lambda, double tolerance) {
    const double q = q_de_deux_theta(deux_theta, lambda);
    auto it = std::lower_bound(c.begin(), c.end(), q,
                               [](const Calculee& u, double v) { return u.q < v; });
    std::optional<std::pair<const Calculee*, double>> meilleur;
    double ecart_min = tolerance;
    for (auto j = it == c.begin() ? it : it - 1; j != c.end() && j <= it; ++j) {
        const double ecart = std::fabs(deux_theta_de_q(j->q, lambda) - deux_theta);
        if (ecart <= ecart_min) {
            ecart_min = ecart;
            meilleur = {&*j, ecart};
        }
    }
    return meilleur;
}

using Matrice = std::array<std::array<double, nb_x_max + 2>, nb_x_max + 1>;

// Gauss-Jordan elimination with partial pivoting of an augmented n x (n+1) system.
bool resout(Matrice& m, int n, std::array<double, nb_x_max + 1>& solution) {
    for (int c = 0; c < n; ++c) {
        int pivot = c;
        for (int l = c + 1; l < n; ++l)
            if (std::fabs(m[l][c]) > std::fabs(m[pivot][c])) pivot = l;
        if (!(std::fabs(m[pivot][c]) > 1e-300)) return false;
        std::swap(m[c], m[pivot]);
        for (int l = 0; l < n; ++l) {
            if (l == c) continue;
            const double facteur = m[l][c] / m[c][c];
            for (int k = c; k <= n; ++k)
                m[l][k] -= facteur * m[c][k];
        }
    }
    for (int c = 0; c < n; ++c)
        solution[c] = m[c][n] / m[c][c];
    return true;
}

struct Etat {
    Parametres x;
    double zero = 0;
    std::vector<int> termes; // per line; -1: unindexed
    // Per line, left out of the fit: a nearer line takes its term.
    std::vector<bool> hors_ajustement;
};

void indexe_raies(const Famille& f, const Raies& raies, Etat& e, double tolerance) {
    const double q_max =
        q_de_deux_theta(std::min(raies.deux_theta.back() + 1, 179.9), raies.lambda);
    const auto c = calculees(f, e.x, q_max);
    e.termes.assign(raies.q.size(), -1);
    e.hors_ajustement.assign(raies.q.size(), false);
    // A reflection gives one line: of the neighbouring lines that take the
    // same term, only the nearest enters the fit (the other is an impurity,
    // or a reflection of another lattice, and would pull the cell apart).
    std::size_t precedente = raies.q.size(); // the last line kept in the fit
    double ecart_precedente = 0;
    for (std::size_t i = 0; i < raies.q.size(); ++i) {
        const auto p = plus_proche(c, raies.deux_theta[i] - e.zero, raies.lambda, tolerance);
        if (!p) continue;
        e.termes[i] = p->first->terme;
        if (precedente < i && e.termes[precedente] == e.termes[i]) {
            const bool garde_celle_ci = p->second < ecart_precedente;
            e.hors_ajustement[garde_celle_ci ? precedente : i] = true;
            if (!garde_celle_ci) continue;
        }
        precedente = i;
        ecart_precedente = p->second;
    }
}

// Least squares on the indexed lines, residuals in degrees 2theta.
bool resout_moindres_carres(const Famille& f, const Raies& raies, bool avec_zero, Etat& e) {
    const int n = f.n + (avec_zero ? 1 : 0);
    Matrice m{};
    int nb = 0;
    for (std::size_t i = 0; i < raies.q.size(); ++i) {
        if (e.termes[i] < 0 || e.hors_ajustement[i]) continue;
        std::array<double, nb_x_max + 2> ligne{};
        const Terme& t = f.termes[static_cast<std::size_t>(e.termes[i])];
        for (int j = 0; j < f.n; ++j)
            ligne[j] = t.coef[j] / raies.pente[i];
        if (avec_zero) ligne[f.n] = 1;
        ligne[n] = raies.q[i] / raies.pente[i];
        for (int l = 0; l < n; ++l)
            for (int k = 0; k <= n; ++k)
                m[l][k] += ligne[l] * ligne[k];
        ++nb;
    }
    std::array<double, nb_x_max + 1> s{};
    if (nb < n + 1 || !resout(m, n, s)) return false;
    std::copy(s.begin(), s.begin() + f.n, e.x.begin());
    e.zero = avec_zero ? s[f.n] : 0;
    return true;
}

int non_indexees(const Etat& e, int n) {
    return static_cast<int>(std::count(e.termes.begin(), e.termes.begin() + n, -1));
}

// Mean |d2theta| of every line, the unindexed ones at their distance
// to the nearest calculated line, over that of the indexed ones alone; both
// bounded, so that neither a perfect fit nor a far line weighs without end.
// Without the isolated lines: those at the bound are left out.
double facteur_non_indexees(const Raies& raies, const Etat& e, const std::vector<double>& possibles,
                            double tolerance, bool sans_isolees) {
    const double plancher = tolerance / 10, plafond = ecart_isole * tolerance;
    double indexees = 0, toutes = 0;
    int n_indexees = 0, n_comptees = 0;
    for (std::size_t i = 0; i < raies.q.size(); ++i) {
        const double ecart = std::max(
            ecart_au_plus_proche(possibles, raies.deux_theta[i] - e.zero, plafond), plancher);
        const bool indexee = e.termes[i] >= 0;
        if (!indexee && sans_isolees && ecart >= plafond) continue;
        toutes += indexee ? ecart : std::max(ecart, tolerance);
        ++n_comptees;
        if (indexee) {
            indexees += ecart;
            ++n_indexees;
        }
    }
    if (n_indexees == 0 || toutes <= 0) return 0;
    return indexees / n_indexees / (toutes / n_comptees);
}

std::optional<SolutionIndexation> solution_de(const Famille& f, const Raies& raies, const Etat& e,
                                              double tolerance) {
    const auto maille = maille_de_x(f, e.x);
    if (!maille) return std::nullopt;
    SolutionIndexation s;
    s.reseau = f.reseau;
    s.maille = *maille;
    s.zero = e.zero;
    s.non_indexees = non_indexees(e, raies.n_test);
    std::vector<RaieIndexee> indexees;
    for (std::size_t i = 0; i < raies.q.size(); ++i) {
        const bool indexee = e.termes[i] >= 0;
        if (indexee)
            indexees.push_back(
                {raies.deux_theta[i] - e.zero,
                 deux_theta_de_q(q_de(f.termes[static_cast<std::size_t>(e.termes[i])], e.x, f.n),
                                 raies.lambda)});
        if (static_cast<int>(i) < raies.n_test)
            s.indices.push_back(indexee ? f.termes[static_cast<std::size_t>(e.termes[i])].hkl
                                        : std::array<int, 3>{0, 0, 0});
    }
    const double q_max =
        q_de_deux_theta(std::min(raies.deux_theta.back() + 1, 179.9), raies.lambda);
    std::vector<double> possibles;
    double q_precedent = -1;
    for (const Calculee& c : calculees(f, e.x, q_max)) {
        if (c.q - q_precedent > 1e-9 * c.q) possibles.push_back(deux_theta_de_q(c.q, raies.lambda));
        q_precedent = c.q;
    }
    const auto figures = figures_merite(indexees, possibles, raies.lambda);
    if (!figures) return std::nullopt;
    s.figures = *figures;
    s.m20_classement = s.figures.m * facteur_non_indexees(raies, e, possibles, tolerance, false);
    s.m20_hors_isolees = s.figures.m * facteur_non_indexees(raies, e, possibles, tolerance, true);
    s.volume = volume_maille(s.maille);
    return s;
}

} // namespace

double ecart_au_plus_proche(const std::vector<double>& possibles, double x, double plafond) {
    auto it = std::lower_bound(possibles.begin(), possibles.end(), x);
    double ecart = plafond;
    if (it != possibles.end()) ecart = std::min(ecart, *it - x);
    if (it != possibles.begin()) ecart = std::min(ecart, x - *(it - 1));
    return ecart;
}

std::optional<SolutionIndexation> affine_essai(const Famille& f, const Raies& raies,
                                               const Parametres& x,
                                               const OptionsIndexation& options) {
    Etat e{x, 0, {}, {}};
    const double large = options.tolerance + (options.zero ? options.zero_max : 0);
    // The first two rounds take the lines within the trial cell's own
    // uncertainty, which grows with the angle: the far lines come in once the
    // near ones have set the cell.
    // Then within four standard deviations of the scatter, the tolerance
    // being three: one line in a few hundred lies past three, and taken for an
    // impurity it would use up the lines left unindexed that a real impurity
    // needs.
    const double finale = options.tolerance * 4 / 3;
    for (int iteration = 0; iteration < 4; ++iteration) {
        indexe_raies(f, raies, e, iteration < 2 ? large : finale);
        if (iteration >= 2 && non_indexees(e, raies.n_test) > raies.non_indexees_max)
            return std::nullopt;
        if (!resout_moindres_carres(f, raies, options.zero, e)) return std::nullopt;
        if (std::fabs(e.zero) > options.zero_max + options.tolerance) return std::nullopt;
    }
    indexe_raies(f, raies, e, finale);
    if (non_indexees(e, raies.n_test) > raies.non_indexees_max) return std::nullopt;
    return solution_de(f, raies, e, options.tolerance);
}

} // namespace kovrin::indexation
