#include "affinement/depart_lineaire.h"

#include "affinement/moindres_carres.h"
#include "commun/angles.h"
#include "cristallo/metrique.h"
#include "cristallo/systemes.h"

#include <cmath>
#include <numbers>

namespace kovrin {

namespace {

// One free coefficient: its weight on each of A, B, C, D, E, F.
using Lien = std::array<double, 6>;
using Liens = std::vector<Lien>;

constexpr Lien coef_a{1, 0, 0, 0, 0, 0}, coef_b{0, 1, 0, 0, 0, 0}, coef_c{0, 0, 1, 0, 0, 0};
constexpr Lien coef_d{0, 0, 0, 1, 0, 0}, coef_e{0, 0, 0, 0, 1, 0}, coef_f{0, 0, 0, 0, 0, 1};

// The monoclinic cross term: the one of the angle that is not 90 degrees.
Lien terme_monoclinique(const Maille& maille) {
    if (maille[3] != 90 && maille[3] != 0) return coef_d;
    if (maille[5] != 90 && maille[5] != 0) return coef_f;
    return coef_e;
}

std::optional<Liens> liens_du_systeme(const std::string& systeme, const Maille& maille) {
    const auto s = systeme_de_code(systeme);
    if (!s) return std::nullopt;
    switch (*s) {
    case Systeme::cubique:
        return Liens{{1, 1, 1, 0, 0, 0}};
    case Systeme::tetragonal:
        return Liens{{1, 1, 0, 0, 0, 0}, coef_c};
    case Systeme::orthorhombique:
        return Liens{coef_a, coef_b, coef_c};
    case Systeme::hexagonal:
        return Liens{{1, 1, 0, 0, 0, 1}, coef_c};
    case Systeme::rhomboedrique:
        return Liens{{1, 1, 1, 0, 0, 0}, {0, 0, 0, 1, 1, 1}};
    case Systeme::monoclinique:
        return Liens{coef_a, coef_b, coef_c, terme_monoclinique(maille)};
    case Systeme::triclinique:
        return Liens{coef_a, coef_b, coef_c, coef_d, coef_e, coef_f};
    }
    return std::nullopt;
}

Vecteur ligne_plan(const Paire& p, const Liens& liens) {
    const double h = p.h, k = p.k, l = p.l;
    const Lien termes{h * h, k * k, l * l, k * l, h * l, h * k};
    Vecteur ligne;
    for (const Lien& lien : liens) {
        double x = 0;
        for (std::size_t m = 0; m < 6; ++m)
            x += lien[m] * termes[m];
        ligne.push_back(x);
    }
    return ligne;
}

double q_observe(const Paire& p, double lambda) {
    const double s = 2 * std::sin(p.deux_theta_obs * radians_theta_par_degre_2theta) / lambda;
    return s * s;
}

// The reciprocal metric tensor of A ... F.
Metrique tenseur_reciproque(const Liens& liens, const Vecteur& c) {
    Lien coef{};
    for (std::size_t j = 0; j < liens.size(); ++j)
        for (std::size_t m = 0; m < 6; ++m)
            coef[m] += liens[j][m] * c[j];
    return {{{coef[0], coef[5] / 2, coef[4] / 2},
             {coef[5] / 2, coef[1], coef[3] / 2},
             {coef[4] / 2, coef[3] / 2, coef[2]}}};
}

} // namespace

std::optional<Maille> depart_lineaire(const ListeBornee<Paire, 500>& paires,
                                      const std::string& systeme, const Maille& maille,
                                      double lambda) {
    const auto liens = liens_du_systeme(systeme, maille);
    if (!liens || !(lambda > 0)) return std::nullopt;
    Matrice plan;
    Vecteur q;
    for (const Paire& p : paires) {
        plan.push_back(ligne_plan(p, *liens));
        q.push_back(q_observe(p, lambda));
    }
    const auto c = resout_lineaire(plan, q);
    if (!c) return std::nullopt;
    const auto reciproque = maille_de_tenseur(tenseur_reciproque(*liens, *c));
    return reciproque ? maille_inverse(*reciproque) : std::nullopt;
}

} // namespace kovrin
