// Cell reduction, lattice symmetry and the space groups of a lattice, on
// gemmi: the one place that includes its reduction (its header defines
// functions that must be compiled once).
#include "commun/angles.h"
#include "indexation/interne.h"

#include <gemmi/cellred.hpp>
#include <gemmi/symmetry.hpp>
#include <gemmi/twin.hpp>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <sstream>

namespace kovrin {

Maille maille_reduite(const Maille& m, char centrage) {
    const gemmi::UnitCell u(m[0], m[1], m[2], m[3], m[4], m[5]);
    gemmi::GruberVector g(u, centrage);
    g.niggli_reduce(1e-6 * g.A);
    return g.cell_parameters();
}

namespace indexation {

namespace {

// The 2-fold axis of a rotation of the lattice: a column of R + 1.
std::array<int, 3> axe_de(const gemmi::Op& op) {
    for (int j = 0; j < 3; ++j) {
        std::array<int, 3> d{};
        for (int i = 0; i < 3; ++i)
            d[static_cast<std::size_t>(i)] =
                (op.rot[i][j] + (i == j ? gemmi::Op::DEN : 0)) / gemmi::Op::DEN;
        const int g = std::gcd(std::gcd(d[0], d[1]), d[2]);
        if (g != 0) {
            for (int& x : d)
                x /= g;
            return d;
        }
    }
    return {0, 0, 0};
}

using Entier3 = std::array<int, 3>;

gemmi::Vec3 cartesien(const gemmi::UnitCell& u, const Entier3& t) {
    return u.orth.mat.multiply(gemmi::Vec3(t[0], t[1], t[2]));
}

int determinant(const Entier3& a, const Entier3& b, const Entier3& c) {
    return a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
           a[2] * (b[0] * c[1] - b[1] * c[0]);
}

Entier3 somme(const Entier3& a, const Entier3& b) {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}

bool pairs(const Entier3& a) {
    return a[0] % 2 == 0 && a[1] % 2 == 0 && a[2] % 2 == 0;
}

// The two shortest non-collinear lattice vectors normal to the axis d.
std::optional<std::pair<Entier3, Entier3>> plan_normal(const gemmi::UnitCell& u, const Entier3& d,
                                                       double obliquite_max) {
    const gemmi::Vec3 axe = cartesien(u, d).normalized();
    const double sinus = std::sin((obliquite_max + 1) * radians_par_degre);
    std::vector<std::pair<double, Entier3>> normaux;
    for (int i = -3; i <= 3; ++i)
        for (int j = -3; j <= 3; ++j)
            for (int k = -3; k <= 3; ++k) {
                const gemmi::Vec3 t = cartesien(u, {i, j, k});
                if ((i || j || k) && std::fabs(t.dot(axe)) <= sinus * t.length())
                    normaux.push_back({t.length(), {i, j, k}});
            }
    std::sort(normaux.begin(), normaux.end());
    if (normaux.empty()) return std::nullopt;
    const Entier3 t1 = normaux.front().second;
    for (const auto& [longueur, t2] : normaux)
        if (determinant(t1, t2, d) != 0) return std::pair{t1, t2};
    return std::nullopt;
}

// The conventional cell on the axis d: P when a, b, c span the lattice,
// else C-centred (A and I settings brought to C).
Entier3 moins(const Entier3& a, int k, const Entier3& b) {
    return {a[0] - k * b[0], a[1] - k * b[1], a[2] - k * b[2]};
}

// Shortens a and c of a C-centred cell, keeping its centring: c by any
// multiple of a, a by an even multiple of c.
void reduit_centree(const gemmi::UnitCell& u, Entier3& t1, Entier3& t2) {
    for (int tour = 0; tour < 20; ++tour) {
        const gemmi::Vec3 a = cartesien(u, t1), c = cartesien(u, t2);
        const int k2 = static_cast<int>(std::lround(a.dot(c) / a.dot(a)));
        const int k1 = static_cast<int>(std::lround(a.dot(c) / (2 * c.dot(c))));
        if (k2 != 0)
            t2 = moins(t2, k2, t1);
        else if (k1 != 0)
            t1 = moins(t1, 2 * k1, t2);
        else
            return;
    }
}

std::optional<Monoclinique> conventionnelle(const gemmi::UnitCell& u, const Entier3& d,
                                            double obliquite_max) {
    const auto plan = plan_normal(u, d, obliquite_max);
    if (!plan) return std::nullopt;
    auto [t1, t2] = *plan;
    const int det = std::abs(determinant(t1, d, t2));
    if (det != 1 && det != 2) return std::nullopt;
    if (det == 2 && !pairs(somme(t1, d))) {
        if (pairs(somme(t2, d)))
            std::swap(t1, t2);
        else
            t1 = somme(t1, t2);
        reduit_centree(u, t1, t2);
    }
    const gemmi::Vec3 a = cartesien(u, t1), b = cartesien(u, d), c = cartesien(u, t2);
    const double beta = std::acos(std::fabs(a.cos_angle(c))) / radians_par_degre;
    return Monoclinique{det == 1 ? Reseau::mP : Reseau::mS,
                        {a.length(), b.length(), c.length(), 180 - beta}};
}

} // namespace

std::size_t nb_axes_ordre_deux(const Maille& primitive, double obliquite_max) {
    gemmi::GruberVector g(gemmi::UnitCell(primitive[0], primitive[1], primitive[2], primitive[3],
                                          primitive[4], primitive[5]),
                          'P');
    g.niggli_reduce(1e-6 * g.A);
    return gemmi::find_lattice_2fold_ops(g.get_cell(), obliquite_max).size();
}

std::vector<Monoclinique> monocliniques(const Maille& m, double obliquite_max) {
    gemmi::GruberVector g(gemmi::UnitCell(m[0], m[1], m[2], m[3], m[4], m[5]), 'P');
    g.niggli_reduce(1e-6 * g.A);
    const gemmi::UnitCell reduite = g.get_cell();
    std::vector<Monoclinique> sortie;
    for (const auto& [op, obliquite] : gemmi::find_lattice_2fold_ops(reduite, obliquite_max))
        if (auto c = conventionnelle(reduite, axe_de(op), obliquite_max)) sortie.push_back(*c);
    return sortie;
}

namespace {

// Monoclinic with b unique: "P 1 2/c 1", not "P 1 1 2/a".
bool axe_unique_b(const gemmi::SpaceGroup& sg) {
    std::istringstream symbole(sg.hm);
    std::string t[4];
    symbole >> t[0] >> t[1] >> t[2] >> t[3];
    return t[1] == "1" && t[3] == "1";
}

// A space group on the conventional cell of lattice r: its system and
// centring (hR on hexagonal axes, the monoclinic ones with b unique).
bool du_reseau(const gemmi::SpaceGroup& sg, Reseau r) {
    using S = gemmi::CrystalSystem;
    const FicheReseau& f = fiche(r);
    if (sg.hm[0] != f.centrage || sg.ext == 'R') return false;
    switch (f.systeme) {
    case Systeme::cubique:
        return sg.crystal_system() == S::Cubic;
    case Systeme::tetragonal:
        return sg.crystal_system() == S::Tetragonal;
    case Systeme::hexagonal:
        return sg.crystal_system() == S::Trigonal || sg.crystal_system() == S::Hexagonal;
    case Systeme::orthorhombique:
        return sg.crystal_system() == S::Orthorhombic;
    case Systeme::monoclinique:
        return sg.crystal_system() == S::Monoclinic && axe_unique_b(sg);
    default:
        return sg.crystal_system() == S::Triclinic;
    }
}

const std::vector<gemmi::GroupOps>& groupes_du_reseau(Reseau r) {
    static const auto groupes = [] {
        std::array<std::vector<gemmi::GroupOps>, table_reseaux.size()> g;
        for (const gemmi::SpaceGroup& sg : gemmi::spacegroup_tables::main)
            for (const FicheReseau& f : table_reseaux)
                if (du_reseau(sg, f.reseau))
                    g[static_cast<std::size_t>(rang_symetrie(f.reseau))].push_back(sg.operations());
        return g;
    }();
    return groupes[static_cast<std::size_t>(rang_symetrie(r))];
}

} // namespace

bool absence_possible(Reseau r, const std::array<int, 3>& hkl) {
    const auto& groupes = groupes_du_reseau(r);
    return std::any_of(groupes.begin(), groupes.end(), [&](const gemmi::GroupOps& g) {
        return g.is_systematically_absent({hkl[0], hkl[1], hkl[2]});
    });
}

} // namespace indexation

} // namespace kovrin
