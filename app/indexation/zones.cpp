// The monoclinic and triclinic lattices by zones (Visser, J. Appl. Cryst. 2
// (1969) 89-95, after Ito's zone relations). Every plane of the reciprocal
// lattice through the origin is a zone: a 2-D lattice whose lines obey
// Q(m, n) = m^2 P + n^2 R + m n S. Two of the first lines taken as two of its
// points and a third as (1 1), (1 2) or (2 1) fix P, R and S; the zone is
// reduced, also tried at half its area (a lost line of its shortest vector),
// fitted to the lines it indexes, and kept when its points below the 20th line
// are lines but a few. Then the trial cells: two kept zones that share an axis
// give five of the six terms of a primitive reciprocal metric, the sixth
// being the value on which the lines with indices on the other two axes agree
// (a vote), a triclinic metric in general; a zone normal to the 2-fold axis
// b* gives the cell with the vote of the lines on g(b*, b*) (the C lattice:
// b* plus half a zone vector); a rectangular zone holding b* that indexes
// nearly every line is completed from the first lines outside it. For the
// triclinic search, any zone that holds nearly every line (a lattice with one
// short direct axis) is completed so too: the third vector is the vector of
// one line outside it, its products with the zone's axes solved from two
// more. Each trial metric is fitted by least squares to the lines it
// indexes, the indices chosen again in turn (the trial-index iteration,
// Werner 1964), and kept when it indexes the first 20 lines but a few. The
// kept lattices, smallest first, are reduced (Niggli); the triclinic search
// refines the reduced cell itself, the monoclinic one finds its 2-fold axes
// (gemmi, within an obliquity) and refines, for each, a conventional
// monoclinic cell (P or C), in Q with its zero on its own family; all are
// ranked with the rest: a lattice of higher symmetry comes out of its own
// search, and the ranking keeps it over its lower descriptions.
#include "commun/angles.h"
#include "cristallo/metrique.h"
#include "indexation/interne.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <iterator>
#include <limits>
#include <thread>

namespace kovrin::indexation {

namespace {

inline constexpr int nb_axes_zone = 10; // the first axis of a zone: one of the first lines
// Zones kept for the combinations, more for the triclinic search. Measured
// on the benchmark's lists: with 40 instead of 20, the triclinic lists found
// first went from 70 to 80 % and from 85 to 90 % (two draws), while the
// monoclinic search lost as many lists as it gained, in twice the time.
inline constexpr std::size_t nb_zones = 20, nb_zones_triclinique = 40;
inline constexpr int lignes_manquantes = 2;        // beyond the impurities, before the refinement
inline constexpr std::size_t nb_mailles_max = 300; // distinct lattices refined
inline constexpr int variantes_max = 3;            // trial metrics refined per lattice
inline constexpr double obliquite_max = 3.0;       // degrees, of a 2-fold axis (Le Page)

inline constexpr int nb_lignes_votes = 30; // the lines beyond the first 20 vote too
// Of a zone that holds nearly every line: the lines outside it that complete
// the cell, and the bound of their indices in the zone.
inline constexpr std::size_t nb_hors = 5;
inline constexpr int indice_hors = 4;
// The trial cells of such a zone: up to this volume over its smallest, this many.
inline constexpr double facteur_volume_hors = 1.5;
inline constexpr std::size_t nb_essais_hors = 1000;

using Couverture = std::array<bool, nb_lignes_votes>;

// The lines in Q with their windows (the tolerance and the zero's range); the
// first n_test are the ones to index.
struct Lignes {
    std::vector<double> q, bas, haut;
    double q_max = 0;   // of the first n_test
    int n = 0;          // n_test
    int n_affinage = 0; // the lines the trial metrics are last fitted to
    double volume_max = 0;
};

// The lines for one slice of the zero's range: narrow windows, where the
// whole range would let chance fill the zones at low angles.
Lignes lignes_de(const Raies& r, std::size_t tranche, double volume_max, bool triclinique) {
    Lignes l;
    l.volume_max = volume_max;
    const std::size_t n = std::min<std::size_t>(r.q.size(), nb_lignes_votes);
    for (std::size_t k = 0; k < n; ++k) {
        const Intervalle& f = r.fenetres[tranche][k];
        l.q.push_back((f.bas + f.haut) / 2);
        l.bas.push_back(f.bas);
        l.haut.push_back(f.haut);
    }
    l.n = r.n_test;
    l.n_affinage = triclinique ? static_cast<int>(n) : l.n;
    l.q_max = l.haut[static_cast<std::size_t>(l.n - 1)];
    return l;
}

// Marks the lines, of the first n, whose window holds q; whether there was one.
bool couvre(const Lignes& l, double q, Couverture& c, int n) {
    auto it = std::lower_bound(l.haut.begin(), l.haut.begin() + n, q);
    bool une = false;
    for (auto k = static_cast<std::size_t>(it - l.haut.begin());
         k < static_cast<std::size_t>(n) && l.bas[k] <= q; ++k)
        une = c[k] = true;
    return une;
}

int compte(const Couverture& c) {
    return static_cast<int>(std::count(c.begin(), c.end(), true));
}

struct Zone {
    double p, r, s; // Q(m, n) = m^2 p + n^2 r + m n s, p <= r, 0 <= s <= p
    int couvertes = 0, points = 0, vides = 0; // vides: points on no line
};

// Covers the lines with the zone's points; counts the points and those on no line.
void parcourt_zone(Zone& z, const Lignes& l, Couverture& c) {
    const double det = z.p * z.r - z.s * z.s / 4;
    if (!(det > 0)) return;
    const int mm = std::min(30, static_cast<int>(std::sqrt(l.q_max * z.r / det)));
    const int nn = std::min(30, static_cast<int>(std::sqrt(l.q_max * z.p / det)));
    for (int m = 0; m <= mm; ++m)
        for (int n = m == 0 ? 1 : -nn; n <= nn; ++n) {
            const double q = m * m * z.p + n * n * z.r + m * n * z.s;
            if (q > l.q_max) continue;
            ++z.points;
            z.vides += !couvre(l, q, c, l.n);
        }
}

void evalue(Zone& z, const Lignes& l) {
    Couverture c{};
    parcourt_zone(z, l, c);
    z.couvertes = compte(c);
}

// A zone is a plane of the lattice: its points below the last line are
// lines too, but for the lines lost.
bool plausible(const Zone& z) {
    return z.couvertes >= 4 && z.vides <= 1 + z.points / 4;
}

bool meme_zone(const Zone& a, const Zone& b) {
    const double marge = 3e-3 * (a.p + a.r);
    return std::fabs(a.p - b.p) <= marge && std::fabs(a.r - b.r) <= marge &&
           std::fabs(a.s - b.s) <= 2 * marge;
}

// The reduced basis of the zone (Gauss): p <= r, 0 <= s <= p.
Zone reduite(Zone z) {
    for (int tour = 0; tour < 50; ++tour) {
        if (z.r < z.p) std::swap(z.p, z.r);
        const double k = std::round(z.s / (2 * z.p));
        if (k == 0) break;
        z.r += k * k * z.p - k * z.s;
        z.s -= 2 * k * z.p;
    }
    z.s = std::fabs(z.s);
    return z;
}

// The cross terms that a third line gives to the axes p and r, the axes
// being any two points of the zone that span it (a missing line of the
// reduced basis is then no obstacle).
std::vector<double> termes_croises(const Lignes& l, double p, double r) {
    std::vector<double> s{0};
    const double limite = 2 * std::sqrt(p * r) * 0.999;
    for (double q : l.q)
        for (const auto& [m, n] : {std::pair{1, 1}, {1, 2}, {2, 1}}) {
            const double x = std::fabs((q - m * m * p - n * n * r) / (m * n));
            if (x < limite) s.push_back(x);
        }
    return s;
}

using Bornes = std::array<int, 3>;

// The index bounds of a primitive reciprocal metric up to q_max: |h| <= a
// sqrt(q_max), a^2 being the diagonal term of the inverse (direct) metric.
std::optional<Bornes> bornes_de(const Metrique& g, double q_max) {
    const double c00 = g[1][1] * g[2][2] - g[1][2] * g[1][2];
    const double c11 = g[0][0] * g[2][2] - g[0][2] * g[0][2];
    const double c22 = g[0][0] * g[1][1] - g[0][1] * g[0][1];
    const double det = g[0][0] * c00 - g[0][1] * (g[0][1] * g[2][2] - g[1][2] * g[0][2]) +
                       g[0][2] * (g[0][1] * g[1][2] - g[1][1] * g[0][2]);
    if (!(det > 0) || !(c22 > 0) || !(g[0][0] > 0)) return std::nullopt;
    Bornes b{};
    const double cof[3] = {c00, c11, c22};
    for (std::size_t i = 0; i < 3; ++i)
        b[i] = std::min(12, static_cast<int>(std::sqrt(cof[i] / det * q_max)));
    return b;
}

// Calls f(q, hkl) for each point of the metric up to q_max, one of each pair +-.
template <class F> void parcourt(const Metrique& g, const Bornes& b, double q_max, F&& f) {
    for (int h = 0; h <= b[0]; ++h)
        for (int k = h == 0 ? 0 : -b[1]; k <= b[1]; ++k)
            for (int m = h == 0 && k == 0 ? 1 : -b[2]; m <= b[2]; ++m) {
                const double q = h * h * g[0][0] + k * k * g[1][1] + m * m * g[2][2] +
                                 2 * (h * k * g[0][1] + h * m * g[0][2] + k * m * g[1][2]);
                if (q <= q_max) f(q, Bornes{h, k, m});
            }
}

// Of the first n lines, those covered by a primitive reciprocal metric.
int couvertes_3d(const Metrique& g, const Lignes& l, int n) {
    const double q_max = l.haut[static_cast<std::size_t>(n - 1)];
    const auto b = bornes_de(g, q_max);
    if (!b) return 0;
    Couverture c{};
    parcourt(g, *b, q_max, [&](double q, const Bornes&) { couvre(l, q, c, n); });
    return compte(c);
}

// The terms of the metric (g00 g11 g22 g01 g02 g12) a point's Q is linear in.
using Termes6 = std::array<double, 6>;

Termes6 termes_de(const Bornes& i) {
    return {1.0 * i[0] * i[0], 1.0 * i[1] * i[1], 1.0 * i[2] * i[2],
            2.0 * i[0] * i[1], 2.0 * i[0] * i[2], 2.0 * i[1] * i[2]};
}

// Gauss-Jordan elimination with partial pivoting of an n x (n+1) system.
bool resout6(std::array<std::array<double, 7>, 6>& m, int n, Termes6& x) {
    for (int c = 0; c < n; ++c) {
        int pivot = c;
        for (int r = c + 1; r < n; ++r)
            if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) pivot = r;
        if (!(std::fabs(m[pivot][c]) > 1e-300)) return false;
        std::swap(m[c], m[pivot]);
        for (int r = 0; r < n; ++r)
            if (r != c) {
                const double f = m[r][c] / m[c][c];
                for (int k = c; k <= n; ++k)
                    m[r][k] -= f * m[c][k];
            }
    }
    for (int c = 0; c < n; ++c)
        x[static_cast<std::size_t>(c)] = m[c][n] / m[c][c];
    return true;
}

// The parameters a fit frees: all six, or those of a zone (g00 g11 g01).
inline constexpr std::array<int, 6> libres_3d{0, 1, 2, 3, 4, 5};
inline constexpr std::array<int, 3> libres_zone{0, 1, 3};

// The metric fitted by least squares to the first n lines within `elargi`
// windows of their nearest point (the trial-index iteration).
template <std::size_t N>
bool affine_metrique(Metrique& g, const Lignes& l, int n, const Bornes& b,
                     const std::array<int, N>& libres, double elargi) {
    const auto nn = static_cast<std::size_t>(n);
    // The nearest point of each line, within the widened window.
    std::array<double, nb_lignes_votes> ecart{};
    std::array<Bornes, nb_lignes_votes> indices{};
    for (std::size_t i = 0; i < nn; ++i)
        ecart[i] = elargi * (l.haut[i] - l.bas[i]) / 2;
    parcourt(g, b, l.haut[nn - 1] * 1.1, [&](double q, const Bornes& hkl) {
        auto it = std::lower_bound(l.q.begin(), l.q.begin() + n, q);
        for (auto j : {it - l.q.begin() - 1, it - l.q.begin()}) {
            const auto k = static_cast<std::size_t>(j);
            if (j < 0 || j >= n || std::fabs(l.q[k] - q) >= ecart[k]) continue;
            ecart[k] = std::fabs(l.q[k] - q);
            indices[k] = hkl;
        }
    });
    std::array<std::array<double, 7>, 6> m{};
    int nb = 0;
    for (std::size_t i = 0; i < nn; ++i) {
        if (indices[i] == Bornes{}) continue;
        const double demi = (l.haut[i] - l.bas[i]) / 2;
        const Termes6 t = termes_de(indices[i]);
        const double w = 1 / (demi * demi);
        for (std::size_t r = 0; r < N; ++r) {
            for (std::size_t c = 0; c < N; ++c)
                m[r][c] += w * t[static_cast<std::size_t>(libres[r])] *
                           t[static_cast<std::size_t>(libres[c])];
            m[r][N] += w * t[static_cast<std::size_t>(libres[r])] * l.q[i];
        }
        ++nb;
    }
    Termes6 x{};
    if (nb < static_cast<int>(N) + 2 || !resout6(m, static_cast<int>(N), x)) return false;
    const std::array<std::pair<int, int>, 6> place{
        {{0, 0}, {1, 1}, {2, 2}, {0, 1}, {0, 2}, {1, 2}}};
    for (std::size_t r = 0; r < N; ++r) {
        const auto [a, c] = place[static_cast<std::size_t>(libres[r])];
        g[static_cast<std::size_t>(a)][static_cast<std::size_t>(c)] = x[r];
        g[static_cast<std::size_t>(c)][static_cast<std::size_t>(a)] = x[r];
    }
    return true;
}

// A trial metric kept, with the lines it indexes among all those given.
struct Essai {
    Metrique g;
    int toutes = 0;
};

// The direct cell's volume of a reciprocal metric: 1 / sqrt(det).
double volume_de(const Metrique& g) {
    const double det = g[0][0] * (g[1][1] * g[2][2] - g[1][2] * g[1][2]) -
                       g[0][1] * (g[0][1] * g[2][2] - g[1][2] * g[0][2]) +
                       g[0][2] * (g[0][1] * g[1][2] - g[1][1] * g[0][2]);
    return det > 0 ? 1 / std::sqrt(det) : std::numeric_limits<double>::infinity();
}

// A trial metric refined on the first lines, then on every line (those past
// the 20th fix the third axis of a lattice whose first lines lie nearly all
// in one zone), kept when it indexes the first lines but a few.
void essaie(Metrique g, const Lignes& l, std::vector<Essai>& sortie) {
    if (volume_de(g) > l.volume_max || couvertes_3d(g, l, l.n) < l.n / 2) return;
    const int toutes = l.n_affinage;
    for (const auto& [elargi, n] : {std::pair{3.0, l.n}, {1.5, l.n}, {1.0, toutes}}) {
        const auto b = bornes_de(g, l.haut[static_cast<std::size_t>(n - 1)]);
        if (!b || !affine_metrique(g, l, n, *b, libres_3d, elargi)) return;
    }
    if (couvertes_3d(g, l, l.n) >= l.n - lignes_manquantes)
        sortie.push_back({g, couvertes_3d(g, l, static_cast<int>(l.q.size()))});
}

// The zone fitted to the lines it covers, then reduced again: still plausible.
bool affine_zone(Zone& z, const Lignes& l) {
    Metrique g{{{z.p, z.s / 2, 0}, {z.s / 2, z.r, 0}, {0, 0, 1}}};
    const double det = z.p * z.r - z.s * z.s / 4;
    const Bornes b{std::min(30, static_cast<int>(std::sqrt(l.q_max * z.r / det))),
                   std::min(30, static_cast<int>(std::sqrt(l.q_max * z.p / det))), 0};
    if (!affine_metrique(g, l, l.n, b, libres_zone, 1.0)) return true;
    Zone affinee = reduite({g[0][0], g[1][1], 2 * g[0][1]});
    if (!(affinee.p > 0) || !(affinee.p * affinee.r - affinee.s * affinee.s / 4 > 0)) return false;
    evalue(affinee, l);
    if (!plausible(affinee) || affinee.couvertes < z.couvertes) return true;
    z = affinee;
    return true;
}

// The zone and its three lattices of half the area (u/2, v/2 or (u + v)/2
// added): the lines of the shortest vectors may be the ones lost.
std::array<Zone, 4> avec_demis(const Zone& z) {
    return {{z,
             {z.p / 4, z.r, z.s / 2},
             {z.p, z.r / 4, z.s / 2},
             {(z.p + z.r + z.s) / 4, z.r, z.s / 2 + z.r}}};
}

std::vector<Zone> zones(const Lignes& l, std::size_t nb_gardees,
                        const std::function<bool()>& arrete) {
    std::vector<Zone> toutes;
    for (int i = 0; i < std::min(nb_axes_zone, l.n) && !arrete(); ++i)
        for (int j = i + 1; j < l.n; ++j) {
            const double p = l.q[static_cast<std::size_t>(i)], r = l.q[static_cast<std::size_t>(j)];
            for (double s : termes_croises(l, p, r))
                for (const Zone& d : avec_demis({p, r, s})) {
                    Zone z = reduite(d);
                    evalue(z, l);
                    if (plausible(z) && affine_zone(z, l)) toutes.push_back(z);
                }
        }
    std::sort(toutes.begin(), toutes.end(), [](const Zone& a, const Zone& b) {
        // Lines indexed, less the points on no line: a zone of many points
        // indexes lines by chance too.
        const int ua = a.couvertes - a.vides, ub = b.couvertes - b.vides;
        return ua != ub ? ua > ub : a.couvertes > b.couvertes;
    });
    std::vector<Zone> gardees;
    for (const Zone& z : toutes) {
        if (gardees.size() == nb_gardees) break;
        if (std::none_of(gardees.begin(), gardees.end(),
                         [&](const Zone& g) { return meme_zone(g, z); }))
            gardees.push_back(z);
    }
    return gardees;
}

struct Vote {
    double valeur, marge;
    int ligne;
};

// The values on which at least two lines agree: around each vote, the mean
// of the votes within its margin.
std::vector<double> accords(std::vector<Vote> votes) {
    std::sort(votes.begin(), votes.end(),
              [](const Vote& a, const Vote& b) { return a.valeur < b.valeur; });
    std::vector<double> valeurs;
    std::size_t debut = 0;
    for (std::size_t i = 0; i < votes.size(); ++i) {
        const Vote& v = votes[i];
        while (votes[debut].valeur < v.valeur - v.marge)
            ++debut;
        double somme = 0;
        int nb = 0;
        bool deux_lignes = false;
        for (std::size_t j = debut; j < votes.size() && votes[j].valeur <= v.valeur + v.marge;
             ++j) {
            somme += votes[j].valeur;
            ++nb;
            deux_lignes = deux_lignes || votes[j].ligne != v.ligne;
        }
        const double moyenne = somme / nb;
        if (deux_lignes && (valeurs.empty() || moyenne - valeurs.back() > v.marge / 4))
            valeurs.push_back(moyenne);
    }
    return valeurs;
}

// The votes of the lines for g_vw, the other five terms known.
std::vector<Vote> votes(const Metrique& g, const Lignes& l) {
    std::vector<Vote> v;
    const double limite = std::sqrt(g[1][1] * g[2][2]);
    for (int i = 0; i < l.n; ++i)
        for (int h = -2; h <= 2; ++h)
            for (int k = 1; k <= 2; ++k)
                for (int m : {-2, -1, 1, 2}) {
                    const double reste = h * h * g[0][0] + k * k * g[1][1] + m * m * g[2][2] +
                                         2 * (h * k * g[0][1] + h * m * g[0][2]);
                    const auto u = static_cast<std::size_t>(i);
                    const double x = (l.q[u] - reste) / (2 * k * m);
                    if (std::fabs(x) < limite)
                        v.push_back({x, (l.haut[u] - l.bas[u]) / (2 * k * std::abs(m)), i});
                }
    return v;
}

// The votes of the lines for g_ww, the zone's terms and g_uw, g_vw known:
// each line as a point of the zone plus one or two times w.
std::vector<Vote> votes_troisieme(const Metrique& g, const Zone& z, const Lignes& l) {
    std::vector<Vote> v;
    for (std::size_t i = 0; i < l.q.size(); ++i) {
        const auto ajoute = [&](double qz, int m, int n) {
            for (int t = 1; t <= 2; ++t) {
                const double x = (l.q[i] - qz - 2 * t * (m * g[0][2] + n * g[1][2])) / (t * t);
                if (x > 0)
                    v.push_back({x, (l.haut[i] - l.bas[i]) / (2 * t * t), static_cast<int>(i)});
            }
        };
        ajoute(0, 0, 0);
        const double det = z.p * z.r - z.s * z.s / 4;
        const int mm = std::min(30, static_cast<int>(std::sqrt(l.q[i] * z.r / det)));
        const int nn = std::min(30, static_cast<int>(std::sqrt(l.q[i] * z.p / det)));
        for (int m = -mm; m <= mm; ++m)
            for (int n = -nn; n <= nn; ++n) {
                const double qz = m * m * z.p + n * n * z.r + m * n * z.s;
                if ((m || n) && qz < l.q[i]) ajoute(qz, m, n);
            }
    }
    return v;
}

// The metrics of a zone taken normal to the monoclinic axis b*: the third
// primitive vector w is b* (P lattice), or b* plus half a vector of the zone
// (C lattice: u/2, v/2 or (u + v)/2), so that g_uw and g_vw follow from the
// zone and g_ww from a vote of the lines.
void complete_zone(const Zone& z, const Lignes& l, std::vector<Essai>& sortie) {
    if (!(z.p * z.r - z.s * z.s / 4 > 0)) return;
    for (const auto& [ou, ov] : {std::pair{0.0, 0.0}, {0.5, 0.0}, {0.0, 0.5}, {0.5, 0.5}}) {
        const double guw = ou * z.p + ov * z.s / 2, gvw = ou * z.s / 2 + ov * z.r;
        Metrique g{{{z.p, z.s / 2, guw}, {z.s / 2, z.r, gvw}, {guw, gvw, 0}}};
        for (double x : accords(votes_troisieme(g, z, l))) {
            g[2][2] = x;
            essaie(g, l, sortie);
        }
    }
}

// Whether some point of the zone is within the window of line i.
bool dans_zone(const Zone& z, const Lignes& l, std::size_t i) {
    const double det = z.p * z.r - z.s * z.s / 4;
    const int mm = std::min(30, static_cast<int>(std::sqrt(l.haut[i] * z.r / det)));
    const int nn = std::min(30, static_cast<int>(std::sqrt(l.haut[i] * z.p / det)));
    for (int m = 0; m <= mm; ++m)
        for (int n = m == 0 ? 1 : -nn; n <= nn; ++n) {
            const double q = m * m * z.p + n * n * z.r + m * n * z.s;
            if (q >= l.bas[i] && q <= l.haut[i]) return true;
        }
    return false;
}

// An equation of a line outside a rectangular zone (b*, e): with w the third
// vector, normal to b*, Q - m^2 Qb - n^2 Qe - 2 m t g_bw = 2 n t g_ew + t^2 g_ww.
struct Equation {
    double cx, cy, reste;
};

std::vector<Equation> equations(double q, double qb, double qe, double gbw, int t_max) {
    std::vector<Equation> e;
    const int mm = std::min(6, static_cast<int>(std::sqrt(q / qb)) + 1);
    const int nn = std::min(4, static_cast<int>(std::sqrt(q / qe)) + 1);
    for (int t = 1; t <= t_max; ++t)
        for (int m = -mm; m <= mm; ++m)
            for (int n = -nn; n <= nn; ++n)
                e.push_back(
                    {2.0 * n * t, 1.0 * t * t, q - m * m * qb - n * n * qe - 2 * m * t * gbw});
    return e;
}

// A zone that holds b* (rectangular, one axis b* or, C lattice, 2b*) and
// nearly all the first lines: the lines outside it, the first with the
// second or third, fix g_ew and g_ww of the third vector w (a* of the P
// lattice, a* + b* of the C lattice).
void complete_rectangulaire(const Zone& z, const Lignes& l, std::vector<Essai>& sortie) {
    if (z.s > 0.01 * z.p || z.couvertes < l.n - 6) return;
    std::vector<std::size_t> hors;
    for (std::size_t i = 0; i < l.q.size() && hors.size() < 3; ++i)
        if (!dans_zone(z, l, i)) hors.push_back(i);
    if (hors.size() < 2) return;
    for (int axe = 0; axe < 2; ++axe) {
        const double qb = axe == 0 ? z.p : z.r, qe = axe == 0 ? z.r : z.p;
        for (double gbw : {0.0, qb / 2}) {
            const auto premieres = equations(l.q[hors[0]], qb, qe, gbw, 1);
            for (std::size_t k = 1; k < hors.size(); ++k)
                for (const Equation& b : equations(l.q[hors[k]], qb, qe, gbw, 2))
                    for (const Equation& a : premieres) {
                        const double det = a.cx * b.cy - a.cy * b.cx;
                        if (std::fabs(det) < 1e-9) continue;
                        const double x = (a.reste * b.cy - a.cy * b.reste) / det;
                        const double y = (a.cx * b.reste - a.reste * b.cx) / det;
                        if (!(y > 0) || x * x >= qe * y) continue;
                        const Metrique g{{{qb, 0, gbw}, {0, qe, x}, {gbw, x, y}}};
                        essaie(g, l, sortie);
                    }
        }
    }
}

// The third vector w of a zone, known by its Q (g_ww) and its products with
// the zone's axes (g_uw, g_vw).
struct Troisieme {
    double gww, guw = 0, gvw = 0;
};

// Q of the point (m, n) of the zone plus t w.
double q_hors(const Zone& z, const Troisieme& w, int m, int n, int t) {
    return m * m * z.p + n * n * z.r + m * n * z.s + 2 * t * (m * w.guw + n * w.gvw) +
           t * t * w.gww;
}

// The equations of a line as a point (m, n) of the zone plus t w:
// Q - Qz(m, n) - t^2 g_ww = 2 t m g_uw + 2 t n g_vw. The second multiple of
// w only where the line is far enough: |2w + zone| is at least twice the
// height of w over the zone, itself at least |w| less half the zone's cell.
std::vector<Equation> equations_hors(const Zone& z, double q, double gww) {
    std::vector<Equation> e;
    const double hauteur = std::max(0.0, gww - (z.p + z.r) / 2);
    for (int t = 1; t <= (q >= 4 * hauteur ? 2 : 1); ++t)
        for (int m = -indice_hors; m <= indice_hors; ++m)
            for (int n = -indice_hors; n <= indice_hors; ++n)
                e.push_back({2.0 * t * m, 2.0 * t * n, q - q_hors(z, {gww}, m, n, t)});
    return e;
}

// Whether some point of the zone plus w or 2w is within the window of line i.
bool indexe_hors(const Zone& z, const Troisieme& w, const Lignes& l, std::size_t i) {
    for (int t = 1; t <= 2; ++t)
        for (int m = -indice_hors - 2; m <= indice_hors + 2; ++m)
            for (int n = -indice_hors - 2; n <= indice_hors + 2; ++n) {
                const double q = q_hors(z, w, m, n, t);
                if (q >= l.bas[i] && q <= l.haut[i]) return true;
            }
    return false;
}

// The third vectors that two lines outside the zone give, w known by its Q,
// that index the other lines outside the zone but one.
void resout_paire(const Zone& z, double gww, std::size_t i1, std::size_t i2,
                  const std::vector<std::size_t>& hors, const Lignes& l,
                  std::vector<Troisieme>& sortie) {
    const auto premieres = equations_hors(z, l.q[i1], gww);
    for (const Equation& b : equations_hors(z, l.q[i2], gww))
        for (const Equation& a : premieres) {
            const double det = a.cx * b.cy - a.cy * b.cx;
            if (std::fabs(det) < 1e-9) continue;
            const Troisieme w{gww, (a.reste * b.cy - a.cy * b.reste) / det,
                              (a.cx * b.reste - a.reste * b.cx) / det};
            // Each pair of the three vectors must span a plane.
            if (w.guw * w.guw >= z.p * gww || w.gvw * w.gvw >= z.r * gww) continue;
            const auto manquees = std::count_if(
                hors.begin(), hors.end(), [&](std::size_t i) { return !indexe_hors(z, w, l, i); });
            if (manquees <= 1) sortie.push_back(w);
        }
}

bool meme_troisieme(const Troisieme& a, const Troisieme& b, double marge) {
    return std::fabs(a.guw - b.guw) <= marge && std::fabs(a.gvw - b.gvw) <= marge;
}

// A zone that holds nearly every first line (the lattice has one short
// direct axis, normal to it) completed by a third vector w from the lines
// outside it: w taken as the vector of one of them, g_ww is its Q, and two
// more lines, each a point of the zone plus w or 2w, give g_uw and g_vw.
// Any lattice is reached so: the third vector is free up to a vector of the
// zone.
void complete_hors_zone(const Zone& z, const Lignes& l, std::vector<Essai>& sortie,
                        const std::function<bool()>& arrete) {
    if (z.couvertes < l.n - 6) return;
    std::vector<std::size_t> hors;
    for (std::size_t i = 0; i < l.q.size() && hors.size() < nb_hors; ++i)
        if (!dans_zone(z, l, i)) hors.push_back(i);
    if (hors.size() < 3) return;
    std::vector<std::pair<double, Metrique>> candidates;
    for (std::size_t ref = 0; ref < 2; ++ref) {
        std::vector<std::size_t> autres = hors;
        autres.erase(autres.begin() + static_cast<std::ptrdiff_t>(ref));
        std::vector<Troisieme> w;
        for (std::size_t j = 0; j < autres.size(); ++j)
            for (std::size_t k = j + 1; k < autres.size() && !arrete(); ++k)
                resout_paire(z, l.q[hors[ref]], autres[j], autres[k], autres, l, w);
        std::vector<Troisieme> faits;
        const double marge = 1e-3 * l.q[hors[ref]];
        for (const Troisieme& t : w) {
            if (std::any_of(faits.begin(), faits.end(),
                            [&](const Troisieme& f) { return meme_troisieme(f, t, marge); }))
                continue;
            faits.push_back(t);
            const Metrique g{{{z.p, z.s / 2, t.guw}, {z.s / 2, z.r, t.gvw}, {t.guw, t.gvw, t.gww}}};
            candidates.push_back({volume_de(g), g});
        }
    }
    // The smallest cells: the larger ones index the few lines outside the
    // zone by chance alone.
    std::sort(candidates.begin(), candidates.end(),
              [](const auto& u, const auto& v) { return u.first < v.first; });
    std::vector<Essai> essais;
    for (std::size_t i = 0; i < std::min(candidates.size(), nb_essais_hors) && !arrete(); ++i) {
        if (candidates[i].first > facteur_volume_hors * candidates.front().first) break;
        essaie(candidates[i].second, l, essais);
    }
    // The lines past the 20th decide: the zone alone indexes nearly all the first.
    const int n_min = static_cast<int>(l.q.size()) - lignes_manquantes - 1;
    std::copy_if(essais.begin(), essais.end(), std::back_inserter(sortie),
                 [&](const Essai& e) { return e.toutes >= n_min; });
}

// The primitive metrics of two zones that share an axis.
void combine(const Zone& z1, const Zone& z2, const Lignes& l, std::vector<Essai>& sortie) {
    const double a1[2] = {z1.p, z1.r}, a2[2] = {z2.p, z2.r};
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b) {
            const double u = a1[a], marge = 6e-3 * u;
            if (std::fabs(u - a2[b]) > marge) continue;
            for (double signe : {1.0, -1.0}) {
                Metrique g{{{(u + a2[b]) / 2, z1.s / 2, signe * z2.s / 2},
                            {z1.s / 2, a1[1 - a], 0},
                            {signe * z2.s / 2, 0, a2[1 - b]}}};
                for (double x : accords(votes(g, l))) {
                    g[1][2] = g[2][1] = x;
                    essaie(g, l, sortie);
                }
            }
        }
}

// The trial metrics of one slice of the zero's range.
std::vector<Essai> metriques_de(const Lignes& l, bool triclinique,
                                const std::function<bool()>& arrete) {
    std::vector<Essai> metriques;
    const std::vector<Zone> z = zones(l, triclinique ? nb_zones_triclinique : nb_zones, arrete);
    for (std::size_t i = 0; i < z.size() && !arrete(); ++i) {
        complete_zone(z[i], l, metriques);
        complete_rectangulaire(z[i], l, metriques);
        if (triclinique) complete_hors_zone(z[i], l, metriques, arrete);
        for (std::size_t j = i + 1; j < z.size() && !arrete(); ++j)
            combine(z[i], z[j], l, metriques);
    }
    return metriques;
}

// The lattices refined so far. The trial metrics of one lattice differ by
// their precision: a few of each go on to the refinement, the first (the
// smallest cell) not always the best fitted.
struct Vues {
    struct Vue {
        double volume;
        Maille reduite;
        int toutes; // lines indexed of all those given
    };
    std::vector<Vue> mailles;
    std::size_t groupes = 0; // distinct lattices

    // Whether a trial lattice goes on: a new one, or a variant of one seen
    // that is not the same within the precision, unless a few variants
    // already index as many of the lines.
    bool nouvelle(double volume, const Maille& reduite, int toutes) {
        int proches = 0, aussi_bonnes = 0;
        for (const Vue& v : mailles) {
            if (std::fabs(v.volume - volume) >= 0.03 * volume ||
                !reduites_egales(v.reduite, reduite, 0.01, 1.0))
                continue;
            if (reduites_egales(v.reduite, reduite, 0.002, 0.2)) return false;
            ++proches;
            aussi_bonnes += v.toutes >= toutes;
        }
        if (aussi_bonnes >= variantes_max) return false;
        groupes += proches == 0;
        mailles.push_back({volume, reduite, toutes});
        return true;
    }
};

} // namespace

namespace {

// The trial metrics of every slice of the zero's range, smallest cell first.
// The slices share the threads; their trial metrics are then taken in the
// slices' order, whatever the threads did first.
std::vector<std::pair<double, Essai>> essais_par_volume(const Raies& raies,
                                                        const OptionsIndexation& options,
                                                        bool triclinique, int fils,
                                                        const std::function<bool()>& arrete) {
    std::vector<std::vector<Essai>> par_tranche(raies.fenetres.size());
    std::atomic<std::size_t> suivante{0};
    const auto travaille = [&] {
        for (std::size_t t = suivante++; t < par_tranche.size() && !arrete(); t = suivante++)
            par_tranche[t] = metriques_de(lignes_de(raies, t, options.volume_max, triclinique),
                                          triclinique, arrete);
    };
    std::vector<std::thread> travailleurs;
    for (int i = 1; i < fils; ++i)
        travailleurs.emplace_back(travaille);
    travaille();
    for (std::thread& t : travailleurs)
        t.join();
    std::vector<std::pair<double, Essai>> par_volume;
    for (const auto& essais : par_tranche)
        for (const Essai& e : essais)
            par_volume.push_back({volume_de(e.g), e});
    std::stable_sort(par_volume.begin(), par_volume.end(),
                     [](const auto& u, const auto& v) { return u.first < v.first; });
    return par_volume;
}

void ajoute_affinee(const Famille& f, const Raies& raies, const Parametres& x,
                    const OptionsIndexation& options, std::vector<SolutionIndexation>& solutions) {
    if (auto s = affine_essai(f, raies, x, options))
        if (s->volume <= options.volume_max * 1.01) solutions.push_back(std::move(*s));
}

// The cells of one lattice given by its reduced cell: the monoclinic ones on
// each of its 2-fold axes, and the reduced cell itself for the triclinic family.
void affine_reseau(const Maille& reduite, const std::vector<Famille>& familles, const Raies& raies,
                   const OptionsIndexation& options, std::vector<SolutionIndexation>& solutions) {
    for (const Famille& f : familles)
        if (f.reseau == Reseau::aP)
            ajoute_affinee(f, raies,
                           x_de_directs(f, {reduite[0], reduite[1], reduite[2], reduite[3],
                                            reduite[4], reduite[5]}),
                           options, solutions);
    if (std::none_of(familles.begin(), familles.end(),
                     [](const Famille& f) { return f.reseau != Reseau::aP; }))
        return;
    for (const Monoclinique& m : monocliniques(reduite, obliquite_max))
        for (const Famille& f : familles)
            if (f.reseau == m.reseau)
                ajoute_affinee(f, raies, x_de_directs(f, m.directs), options, solutions);
}

} // namespace

std::vector<SolutionIndexation> cherche_par_zones(const Raies& raies,
                                                  const std::vector<Famille>& familles,
                                                  const OptionsIndexation& options, int fils,
                                                  const std::function<bool()>& arrete) {
    std::vector<SolutionIndexation> solutions;
    if (raies.n_test < 8 || familles.empty()) return solutions;
    const bool triclinique = std::any_of(familles.begin(), familles.end(),
                                         [](const Famille& f) { return f.reseau == Reseau::aP; });
    // The smallest cells first: a larger one that indexes the same lines
    // is most often a multiple, and chance fills the large ones.
    Vues vues;
    for (const auto& [volume, essai] :
         essais_par_volume(raies, options, triclinique, fils, arrete)) {
        if (arrete() || vues.groupes >= nb_mailles_max) break;
        const auto directe = maille_de_tenseur_reciproque(essai.g);
        if (!directe || volume > options.volume_max) continue;
        const Maille reduite = maille_reduite(*directe, 'P');
        // The shortest translation: a trial cell of few lines can fit them with
        // an edge no crystal has, which the dichotomy does not search either.
        if (reduite[0] < arete_min) continue;
        if (vues.nouvelle(volume, reduite, essai.toutes))
            affine_reseau(reduite, familles, raies, options, solutions);
    }
    return solutions;
}

} // namespace kovrin::indexation
