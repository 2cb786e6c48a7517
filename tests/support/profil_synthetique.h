#pragma once
// Synthetic raw profiles of Kalpha1/Kalpha2 doublets of known position, width
// and ratio on a sloping background, with Poisson noise from a fixed seed,
// taken into a workspace as a profile reader would leave them (intensities
// normalised 0 ... 100, the raw extremes kept). Written from Bragg's law and
// the textbook pseudo-Voigt, independently of the program's fit.
#include "commun/espace_travail.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace kovrin::test {

inline constexpr double lambda1_cu = 1.540598, lambda2_cu = 1.544426, rapport_cu = 0.5;

struct DoubletSynthetique {
    double position; // Kalpha1, degrees 2theta
    double fwhm, eta, aire;
};

inline double pseudo_voigt(double x, double centre, double fwhm, double eta, double aire) {
    const double u = (x - centre) / fwhm;
    const double gauss = 2 * std::sqrt(std::log(2.0) / std::numbers::pi) / fwhm *
                         std::exp(-4 * std::log(2.0) * u * u);
    const double lorentz = 2 / (std::numbers::pi * fwhm) / (1 + 4 * u * u);
    return aire * (eta * lorentz + (1 - eta) * gauss);
}

// Where Bragg's law puts the Kalpha2 line of a Kalpha1 line at `deux_theta`.
inline double position_alpha2(double deux_theta) {
    const double d = lambda1_cu / (2 * std::sin(deux_theta * std::numbers::pi / 360));
    return 2 * std::asin(lambda2_cu / (2 * d)) * 180 / std::numbers::pi;
}

inline double intensite_doublets(double x, const std::vector<DoubletSynthetique>& doublets) {
    double y = 40 + 0.3 * (x - 20); // sloping background, counts
    for (const DoubletSynthetique& d : doublets)
        y += pseudo_voigt(x, d.position, d.fwhm, d.eta, d.aire) +
             pseudo_voigt(x, position_alpha2(d.position), d.fwhm, d.eta, rapport_cu * d.aire);
    return y;
}

// n points from `debut` in steps of `pas`, counts drawn from Poisson laws.
inline void profil_doublets(EspaceTravail& e, double debut, double pas, int n,
                            const std::vector<DoubletSynthetique>& doublets, unsigned graine) {
    std::mt19937 generateur(graine);
    std::vector<double> comptes;
    for (int i = 0; i < n; ++i) {
        std::poisson_distribution<int> loi(intensite_doublets(debut + pas * i, doublets));
        comptes.push_back(loi(generateur));
    }
    const double haut = *std::max_element(comptes.begin(), comptes.end());
    const double bas = *std::min_element(comptes.begin(), comptes.end());
    e.profil.efface();
    for (int i = 0; i < n; ++i)
        e.profil.ajoute({static_cast<float>(debut + pas * i),
                         static_cast<float>((comptes[static_cast<std::size_t>(i)] - bas) * 100 /
                                            (haut - bas))});
    EnteteProfil& t = e.entete_profil;
    t.anode = "Cu";
    t.lambda1 = lambda1_cu, t.lambda2 = lambda2_cu, t.rapport = rapport_cu;
    t.lambda = (lambda1_cu + rapport_cu * lambda2_cu) / (1 + rapport_cu);
    t.intensite_max_brute = haut, t.intensite_min_brute = bas;
    e.lambda = t.lambda;
}

} // namespace kovrin::test
