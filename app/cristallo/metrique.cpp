#include "cristallo/metrique.h"

#include "commun/angles.h"
#include <cmath>
#include <numbers>

namespace kovrin {

namespace {

double determinant(const Metrique& g) {
    return g[0][0] * (g[1][1] * g[2][2] - g[1][2] * g[2][1]) -
           g[0][1] * (g[1][0] * g[2][2] - g[1][2] * g[2][0]) +
           g[0][2] * (g[1][0] * g[2][1] - g[1][1] * g[2][0]);
}

// Inverse by cofactors: a 3 x 3 symmetric matrix needs nothing more.
std::optional<Metrique> inverse(const Metrique& g) {
    const double det = determinant(g);
    if (!(std::fabs(det) > 0) || !std::isfinite(det)) return std::nullopt;
    Metrique inv{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const auto i1 = static_cast<std::size_t>((j + 1) % 3),
                       i2 = static_cast<std::size_t>((j + 2) % 3);
            const auto j1 = static_cast<std::size_t>((i + 1) % 3),
                       j2 = static_cast<std::size_t>((i + 2) % 3);
            inv[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
                (g[i1][j1] * g[i2][j2] - g[i1][j2] * g[i2][j1]) / det;
        }
    return inv;
}

} // namespace

Metrique tenseur_metrique(const Maille& m) {
    const double ca = std::cos(m[3] * radians_par_degre), cb = std::cos(m[4] * radians_par_degre),
                 cg = std::cos(m[5] * radians_par_degre);
    return {{{m[0] * m[0], m[0] * m[1] * cg, m[0] * m[2] * cb},
             {m[0] * m[1] * cg, m[1] * m[1], m[1] * m[2] * ca},
             {m[0] * m[2] * cb, m[1] * m[2] * ca, m[2] * m[2]}}};
}

std::optional<Maille> maille_de_tenseur(const Metrique& g) {
    // Positive definite: the leading minors are all positive (Sylvester).
    const double mineur2 = g[0][0] * g[1][1] - g[0][1] * g[1][0];
    if (!(g[0][0] > 0) || !(mineur2 > 0) || !(determinant(g) > 0)) return std::nullopt;
    const double a = std::sqrt(g[0][0]), b = std::sqrt(g[1][1]), c = std::sqrt(g[2][2]);
    auto angle = [](double cosinus) { return std::acos(cosinus) / radians_par_degre; };
    return Maille{
        a, b, c, angle(g[1][2] / (b * c)), angle(g[0][2] / (a * c)), angle(g[0][1] / (a * b))};
}

std::optional<Maille> maille_inverse(const Maille& maille) {
    const auto inv = inverse(tenseur_metrique(maille));
    if (!inv) return std::nullopt;
    return maille_de_tenseur(*inv);
}

double volume_maille(const Maille& maille) {
    const double det = determinant(tenseur_metrique(maille));
    return det > 0 ? std::sqrt(det) : 0.0;
}

double q_de_indices(const Metrique& g, int h, int k, int l) {
    const std::array<double, 3> v{double(h), double(k), double(l)};
    double q = 0;
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            q += v[i] * g[i][j] * v[j];
    return q;
}

} // namespace kovrin
