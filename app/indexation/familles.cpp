#include "indexation/familles.h"

#include "commun/angles.h"
#include "cristallo/centrages.h"
#include "cristallo/metrique.h"

#include <algorithm>
#include <cmath>

namespace kovrin::indexation {

namespace {

bool permise(Reseau r, int h, int k, int l) {
    const char lettre = fiche(r).centrage;
    for (const Centrage& c : table_centrages)
        if (c.lettre == lettre) return permise_par_centrage(c, h, k, l);
    return true;
}

Coefficients coefficients(Reseau r, int h, int k, int l) {
    const double h2 = h * h, k2 = k * k, l2 = l * l;
    switch (fiche(r).systeme) {
    case Systeme::cubique:
        return {h2 + k2 + l2};
    case Systeme::tetragonal:
        return {h2 + k2, l2};
    case Systeme::hexagonal:
        return {4.0 / 3.0 * (h2 + h * k + k2), l2};
    case Systeme::orthorhombique:
        return {h2, k2, l2};
    case Systeme::monoclinique:
        return {h2, k2, l2, static_cast<double>(h * l)};
    default:
        return {h2, k2, l2, 2.0 * h * k, 2.0 * h * l, 2.0 * k * l};
    }
}

struct FormeFamille {
    int n;
    Ordre ordre;
};

std::optional<FormeFamille> forme(Reseau r) {
    switch (r) {
    case Reseau::cP:
    case Reseau::cI:
    case Reseau::cF:
        return FormeFamille{1, Ordre::aucun};
    case Reseau::tP:
    case Reseau::tI:
    case Reseau::hP:
    case Reseau::hR:
        return FormeFamille{2, Ordre::aucun};
    case Reseau::oP:
    case Reseau::oI:
    case Reseau::oF:
        return FormeFamille{3, Ordre::a_b_c};
    case Reseau::oS:
        return FormeFamille{3, Ordre::a_b};
    case Reseau::mP:
    case Reseau::mS:
        return FormeFamille{4, Ordre::aucun};
    case Reseau::aP:
        return FormeFamille{6, Ordre::aucun};
    }
    return std::nullopt;
}

// The indices that represent a term: the most positive of its equivalents.
int poids(const std::array<int, 3>& hkl) {
    return (hkl[0] < 0) + (hkl[1] < 0) + (hkl[2] < 0);
}

void calcule_sauts(Famille& f) {
    const std::size_t n = f.termes.size();
    f.saut0.assign(n, n);
    f.saut1.assign(n, n);
    for (std::size_t i = n; i-- > 1;) {
        const Coefficients& c = f.termes[i - 1].coef;
        const Coefficients& d = f.termes[i].coef;
        f.saut0[i - 1] = c[0] != d[0] ? i : f.saut0[i];
        f.saut1[i - 1] = c[0] != d[0] || c[1] != d[1] ? i : f.saut1[i];
    }
}

} // namespace

std::optional<Famille> famille_de(Reseau r, double q_max, double arete_max) {
    const auto f = forme(r);
    if (!f) return std::nullopt;
    Famille famille{r, f->n, f->ordre, {}, {}, {}};
    // 1/d^2 >= h^2/a^2 in every family, and likewise for k and l.
    const int m = static_cast<int>(std::ceil(std::sqrt(q_max) * arete_max)) + 1;
    // Each term once, represented by the most positive of its indices.
    std::vector<Terme> tous;
    for (int h = -m; h <= m; ++h)
        for (int k = -m; k <= m; ++k)
            for (int l = -m; l <= m; ++l)
                if ((h != 0 || k != 0 || l != 0) && permise(r, h, k, l))
                    tous.push_back({coefficients(r, h, k, l), {h, k, l}});
    std::sort(tous.begin(), tous.end(), [](const Terme& u, const Terme& v) {
        return u.coef != v.coef ? u.coef < v.coef : poids(u.hkl) < poids(v.hkl);
    });
    for (const Terme& t : tous)
        if (famille.termes.empty() || famille.termes.back().coef != t.coef)
            famille.termes.push_back(t);
    calcule_sauts(famille);
    return famille;
}

namespace {

// The six terms of the reciprocal metric of a triclinic cell.
Parametres x_tricliniques(const Parametres& p) {
    const auto reciproque = maille_inverse({p[0], p[1], p[2], p[3], p[4], p[5]});
    if (!reciproque) return {};
    const Metrique g = tenseur_metrique(*reciproque);
    return {g[0][0], g[1][1], g[2][2], g[0][1], g[0][2], g[1][2]};
}

} // namespace

std::optional<Maille> maille_de_tenseur_reciproque(const Metrique& g) {
    const auto reciproque = maille_de_tenseur(g);
    return reciproque ? maille_inverse(*reciproque) : std::nullopt;
}

Parametres x_de_directs(const Famille& f, const Parametres& p) {
    if (f.n == 6) return x_tricliniques(p);
    Parametres x{};
    if (f.n < 4) {
        for (int j = 0; j < f.n; ++j)
            x[j] = 1 / (p[j] * p[j]);
        return x;
    }
    const double s2 = std::pow(std::sin(p[3] * radians_par_degre), 2);
    x[0] = 1 / (p[0] * p[0] * s2);
    x[1] = 1 / (p[1] * p[1]);
    x[2] = 1 / (p[2] * p[2] * s2);
    x[3] = -2 * std::cos(p[3] * radians_par_degre) / (p[0] * p[2] * s2);
    return x;
}

std::optional<Maille> maille_de_x(const Famille& f, const Parametres& x) {
    for (int j = 0; j < std::min(f.n, 3); ++j)
        if (!(x[j] > 0)) return std::nullopt;
    const double a = 1 / std::sqrt(x[0]);
    switch (f.n) {
    case 1:
        return Maille{a, a, a, 90, 90, 90};
    case 2:
        return fiche(f.reseau).systeme == Systeme::hexagonal
                   ? Maille{a, a, 1 / std::sqrt(x[1]), 90, 90, 120}
                   : Maille{a, a, 1 / std::sqrt(x[1]), 90, 90, 90};
    case 3:
        return Maille{a, 1 / std::sqrt(x[1]), 1 / std::sqrt(x[2]), 90, 90, 90};
    case 4:
        break;
    default:
        return maille_de_tenseur_reciproque(
            {{{x[0], x[3], x[4]}, {x[3], x[1], x[5]}, {x[4], x[5], x[2]}}});
    }
    // Reciprocal metric of the monoclinic cell, then its inverse.
    const Metrique g{{{x[0], 0, x[3] / 2}, {0, x[1], 0}, {x[3] / 2, 0, x[2]}}};
    return maille_de_tenseur_reciproque(g);
}

double q_de(const Terme& t, const Parametres& x, int n) {
    double q = 0;
    for (int j = 0; j < n; ++j)
        q += t.coef[j] * x[j];
    return q;
}

double volume_min(const Famille& f, const Aretes& bas) {
    switch (f.n) {
    case 1:
        return bas[0] * bas[0] * bas[0];
    case 2:
        return bas[0] * bas[0] * bas[1] *
               (fiche(f.reseau).systeme == Systeme::hexagonal ? std::sqrt(3.0) / 2 : 1.0);
    default:
        return bas[0] * bas[1] * bas[2];
    }
}

} // namespace kovrin::indexation
