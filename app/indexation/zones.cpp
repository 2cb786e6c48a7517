// The monoclinic lattices by zones (Visser, J. Appl. Cryst. 2 (1969) 89-95;
// Ito's zone relations, Acta Cryst. 2 (1949) 24). Every plane of the
// reciprocal lattice through the origin is a zone: a 2-D lattice whose lines
// obey Q(m, n) = m^2 P + n^2 R + m n S. Two low lines taken as its axes and a
// third as (1 1), (1 2) or (2 1) fix P, R and S; the zones that index the most
// of the first 20 lines are kept. Two kept zones that share an axis give five
// of the six parameters of a primitive reciprocal metric; the sixth is the
// value on which the lines with indices on both other axes agree (a vote).
// A metric that indexes the first 20 lines but a few is reduced (Niggli), its
// lattice's 2-fold axes are found (gemmi, with an obliquity tolerance), and
// each axis gives the conventional monoclinic cell (P or C), refined in Q on
// its own family and ranked with the rest. A lattice of higher symmetry comes
// out of its own search; the ranking keeps it over the monoclinic description.
#include "commun/angles.h"
#include "cristallo/metrique.h"
#include "indexation/interne.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kovrin::indexation {

namespace {

inline constexpr int nb_axes_zone = 10;      // the first axis of a zone: one of the first lines
inline constexpr std::size_t nb_zones = 14;  // kept for the combinations
inline constexpr int lignes_manquantes = 2;  // beyond the impurities, before the refinement
inline constexpr double obliquite_max = 3.0; // degrees, of a 2-fold axis (Le Page)

inline constexpr int nb_lignes_votes = 30; // the lines beyond the first 20 vote too

using Couverture = std::array<bool, nb_raies_m20>;

// The lines in Q with their windows (the tolerance and the zero's range); the
// first n_test are the ones to index.
struct Lignes {
    std::vector<double> q, bas, haut;
    double q_max = 0; // of the first n_test
    int n = 0;        // n_test
};

Lignes lignes_de(const Raies& r, const OptionsIndexation& o) {
    Lignes l;
    const double marge = o.tolerance + (o.zero ? o.zero_max : 0);
    const std::size_t n = std::min<std::size_t>(r.q.size(), nb_lignes_votes);
    for (std::size_t k = 0; k < n; ++k) {
        l.q.push_back(r.q[k]);
        l.bas.push_back(r.q[k] - r.pente[k] * marge);
        l.haut.push_back(r.q[k] + r.pente[k] * marge);
    }
    l.n = r.n_test;
    l.q_max = l.haut[static_cast<std::size_t>(l.n - 1)];
    return l;
}

// Marks the lines whose window holds q; whether there was one.
bool couvre(const Lignes& l, double q, Couverture& c) {
    auto it = std::lower_bound(l.haut.begin(), l.haut.begin() + l.n, q);
    bool une = false;
    for (auto k = static_cast<std::size_t>(it - l.haut.begin());
         k < static_cast<std::size_t>(l.n) && l.bas[k] <= q; ++k)
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
            z.vides += !couvre(l, q, c);
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

std::vector<Zone> zones(const Lignes& l) {
    std::vector<Zone> toutes;
    for (int i = 0; i < std::min(nb_axes_zone, l.n); ++i)
        for (int j = i + 1; j < l.n; ++j) {
            const double p = l.q[static_cast<std::size_t>(i)], r = l.q[static_cast<std::size_t>(j)];
            for (double s : termes_croises(l, p, r)) {
                Zone z = reduite({p, r, s});
                evalue(z, l);
                if (plausible(z)) toutes.push_back(z);
            }
        }
    std::sort(toutes.begin(), toutes.end(), [](const Zone& a, const Zone& b) {
        return a.couvertes != b.couvertes ? a.couvertes > b.couvertes : a.vides < b.vides;
    });
    std::vector<Zone> gardees;
    for (const Zone& z : toutes) {
        if (gardees.size() == nb_zones) break;
        if (std::none_of(gardees.begin(), gardees.end(),
                         [&](const Zone& g) { return meme_zone(g, z); }))
            gardees.push_back(z);
    }
    return gardees;
}

// Lines covered by a primitive reciprocal metric, its indices bounded by the
// direct cell's edges.
int couvertes_3d(const Metrique& g, const Lignes& l) {
    const auto reciproque = maille_de_tenseur(g);
    if (!reciproque) return 0;
    const auto directe = maille_inverse(*reciproque);
    if (!directe) return 0;
    std::array<int, 3> borne{};
    for (std::size_t i = 0; i < 3; ++i)
        borne[i] = std::min(12, static_cast<int>((*directe)[i] * std::sqrt(l.q_max)));
    Couverture c{};
    for (int h = 0; h <= borne[0]; ++h)
        for (int k = h == 0 ? 0 : -borne[1]; k <= borne[1]; ++k)
            for (int m = h == 0 && k == 0 ? 1 : -borne[2]; m <= borne[2]; ++m) {
                const double q = h * h * g[0][0] + k * k * g[1][1] + m * m * g[2][2] +
                                 2 * (h * k * g[0][1] + h * m * g[0][2] + k * m * g[1][2]);
                if (q <= l.q_max) couvre(l, q, c);
            }
    return compte(c);
}

struct Vote {
    double valeur, marge;
    int ligne;
};

// The values of g_vw on which at least two lines agree.
std::vector<double> accords(std::vector<Vote> votes) {
    std::sort(votes.begin(), votes.end(),
              [](const Vote& a, const Vote& b) { return a.valeur < b.valeur; });
    std::vector<double> valeurs;
    for (std::size_t i = 0; i < votes.size();) {
        std::size_t j = i + 1;
        double somme = votes[i].valeur;
        bool deux_lignes = false;
        while (j < votes.size() &&
               votes[j].valeur - votes[i].valeur <= votes[i].marge + votes[j].marge) {
            deux_lignes = deux_lignes || votes[j].ligne != votes[i].ligne;
            somme += votes[j++].valeur;
        }
        if (deux_lignes) valeurs.push_back(somme / static_cast<double>(j - i));
        i = j;
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
                        v.push_back({x, (l.haut[u] - l.bas[u]) / (4 * k * std::abs(m)), i});
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
void complete_zone(const Zone& z, const Lignes& l, std::vector<Metrique>& sortie) {
    if (!(z.p * z.r - z.s * z.s / 4 > 0)) return;
    for (const auto& [ou, ov] : {std::pair{0.0, 0.0}, {0.5, 0.0}, {0.0, 0.5}, {0.5, 0.5}}) {
        const double guw = ou * z.p + ov * z.s / 2, gvw = ou * z.s / 2 + ov * z.r;
        Metrique g{{{z.p, z.s / 2, guw}, {z.s / 2, z.r, gvw}, {guw, gvw, 0}}};
        for (double x : accords(votes_troisieme(g, z, l))) {
            g[2][2] = x;
            if (couvertes_3d(g, l) >= l.n - lignes_manquantes) sortie.push_back(g);
        }
    }
}

// The primitive metrics of two zones that share an axis.
void combine(const Zone& z1, const Zone& z2, const Lignes& l, std::vector<Metrique>& sortie) {
    const double a1[2] = {z1.p, z1.r}, a2[2] = {z2.p, z2.r};
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b) {
            const double u = a1[a], marge = 2e-3 * u;
            if (std::fabs(u - a2[b]) > marge) continue;
            for (double signe : {1.0, -1.0}) {
                Metrique g{{{(u + a2[b]) / 2, z1.s / 2, signe * z2.s / 2},
                            {z1.s / 2, a1[1 - a], 0},
                            {signe * z2.s / 2, 0, a2[1 - b]}}};
                for (double x : accords(votes(g, l))) {
                    g[1][2] = g[2][1] = x;
                    if (couvertes_3d(g, l) >= l.n - lignes_manquantes) sortie.push_back(g);
                }
            }
        }
}

std::optional<Maille> directe_de(const Metrique& g) {
    const auto reciproque = maille_de_tenseur(g);
    return reciproque ? maille_inverse(*reciproque) : std::nullopt;
}

} // namespace

std::vector<SolutionIndexation> cherche_monocliniques(const Raies& raies,
                                                      const std::vector<Famille>& familles,
                                                      const OptionsIndexation& options,
                                                      const std::function<bool()>& arrete) {
    std::vector<SolutionIndexation> solutions;
    if (raies.n_test < 8) return solutions;
    const Lignes l = lignes_de(raies, options);
    const std::vector<Zone> z = zones(l);
    std::vector<Metrique> metriques;
    for (std::size_t i = 0; i < z.size() && !arrete(); ++i) {
        complete_zone(z[i], l, metriques);
        for (std::size_t j = i + 1; j < z.size(); ++j)
            combine(z[i], z[j], l, metriques);
    }
    if (std::getenv("KOVRIN_DEBUG_ZONES")) {
        for (const Zone& x : z)
            std::fprintf(stderr, "zone p %.5f r %.5f s %.5f couv %d points %d vides %d\n", x.p, x.r,
                         x.s, x.couvertes, x.points, x.vides);
        std::fprintf(stderr, "metriques %zu\n", metriques.size());
    }
    std::vector<Maille> vues;
    for (const Metrique& g : metriques) {
        if (arrete()) break;
        const auto directe = directe_de(g);
        if (!directe || volume_maille(*directe) > options.volume_max) continue;
        const Maille reduite = maille_reduite(*directe, 'P');
        if (std::any_of(vues.begin(), vues.end(),
                        [&](const Maille& v) { return reduites_egales(v, reduite, 0.01, 1.0); }))
            continue;
        vues.push_back(reduite);
        for (const Monoclinique& m : monocliniques(reduite, obliquite_max))
            for (const Famille& f : familles)
                if (f.reseau == m.reseau)
                    if (auto s = affine_essai(f, raies, x_de_directs(f, m.directs), options))
                        if (s->volume <= options.volume_max * 1.01)
                            solutions.push_back(std::move(*s));
    }
    return solutions;
}

} // namespace kovrin::indexation
