#pragma once
// Arguments of one call of calcul, and observed angles computed in double
// precision from a direct cell by gemmi, independently of the engine.
#include "kovrin/calcul.h"

#include <gemmi/unitcell.hpp>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin::test {

struct Maille {
    double a, b, c, alpha, beta, gamma; // A and degrees
};

inline Maille cube(double a) {
    return {a, a, a, 90, 90, 90};
}
inline Maille rhomboedre(double a, double alpha) {
    return {a, a, a, alpha, alpha, alpha};
}

inline constexpr double pi = 3.14159265358979323846;

// Bragg angle 2theta in degrees, without shift, from 1/d^2 of gemmi's cell;
// NaN when out of reach.
inline double deux_theta(const Maille& m, double lambda, int h, int k, int l) {
    const gemmi::UnitCell cellule(m.a, m.b, m.c, m.alpha, m.beta, m.gamma);
    return 2 * std::asin(lambda / 2 * std::sqrt(cellule.calculate_1_d2({h, k, l}))) * 180 / pi;
}

struct Appel {
    std::array<int16_t, KOVRIN_TAILLE_TEXTE> texte{};
    int16_t lettre = 'C';
    std::array<float, 8> parametres{};
    std::array<float, 8> drapeaux{};
    std::array<float, 8> erreurs{};
    std::array<float, KOVRIN_NB_REFLEXIONS> h{}, k{}, l{}, angles{};
    float accord = 0;
    int nref = 0;

    void titre(std::string_view t) {
        texte[0] = static_cast<int16_t>(t.size());
        for (std::size_t i = 0; i < t.size(); ++i)
            texte[i + 1] = static_cast<int16_t>(static_cast<unsigned char>(t[i]));
    }
    std::string statut() const {
        std::string s;
        for (int i = 1; i <= texte[0]; ++i)
            s += static_cast<char>(texte[i]);
        return s;
    }
    void cellule(const Maille& m) {
        double v[6] = {m.a, m.b, m.c, m.alpha, m.beta, m.gamma};
        for (int j = 0; j < 6; ++j)
            parametres[2 + j] = static_cast<float>(v[j]);
    }
    // Start cell, wavelength, and the parameters flagged for refinement.
    void depart(const Maille& m, double lambda, const std::vector<int>& affines) {
        cellule(m);
        parametres[1] = static_cast<float>(lambda);
        for (int j : affines)
            drapeaux[static_cast<std::size_t>(j)] = 1;
    }
    void ajoute(int hh, int kk, int ll, double deux_theta_obs) {
        h[nref] = float(hh);
        k[nref] = float(kk);
        l[nref] = float(ll);
        angles[nref] = static_cast<float>(deux_theta_obs);
        ++nref;
    }
    std::string lance() {
        calcul(texte.data(), &lettre, parametres.data(), drapeaux.data(), erreurs.data(), h.data(),
               k.data(), l.data(), angles.data(), &accord);
        return statut();
    }
};

// The observed 2theta of (h k l) with a shift of zero_2t degrees 2theta (mode 1),
// or of an eccentricity term e (degrees 2theta times cos theta_obs, mode 2).
inline double observe(const Maille& m, double lambda, int h, int k, int l, double zero_2t,
                      bool excentricite = false) {
    double vrai = deux_theta(m, lambda, h, k, l);
    if (!excentricite) return vrai + zero_2t;
    double obs = vrai;
    for (int i = 0; i < 50; ++i) // obs = vrai + e cos(obs / 2)
        obs = vrai + zero_2t * std::cos(obs / 2 * pi / 180);
    return obs;
}

// Up to n reflections of indices within +-limite, 2theta between 10 and 120
// degrees, the lowest angles first (one of each pair h k l / -h -k -l).
int reflexions_de(Appel& appel, const Maille& m, double lambda, double zero_2t, int n, int limite,
                  bool excentricite = false);

} // namespace kovrin::test
