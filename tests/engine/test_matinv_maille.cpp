// The packed Cholesky inversion and the direct <-> reciprocal cell conversion.
#include "../../engine/moteur.h"
#include "appel_calcul.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace kovrin::moteur;

namespace {

TEST(Matinv, FailsOnAMatrixThatIsNotPositiveDefinite) {
    float indefinie[3] = {1, 2, 1}; // eigenvalues 3 and -1
    int erreur = 0;
    matinv(indefinie, 2, erreur);
    EXPECT_EQ(erreur, 3); // packed index of (2, 2)
    float colonne_nulle[6] = {2, 0, 1, 0, 0, 5};
    matinv(colonne_nulle, 3, erreur);
    EXPECT_EQ(erreur, 4);
    matinv(colonne_nulle, 0, erreur);
    EXPECT_EQ(erreur, 1);
    float zero = 0;
    matinv(&zero, 1, erreur);
    EXPECT_EQ(erreur, 1);
}

constexpr double rad = 3.14159265358979323846 / 180;

TEST(ConvertitMaille, TriclinicRoundTripAndVolume) {
    const double a = 5.1, b = 6.3, c = 7.4, al = 85.4 * rad, be = 97.3 * rad, ga = 102.1 * rad;
    double v =
        a * b * c *
        std::sqrt(1 - std::cos(al) * std::cos(al) - std::cos(be) * std::cos(be) -
                  std::cos(ga) * std::cos(ga) + 2 * std::cos(al) * std::cos(be) * std::cos(ga));
    float cellule[6] = {float(a), float(b), float(c), float(al), float(be), float(ga)};
    float erreurs[6] = {};
    float volume = 0, volume_reciproque = 0;
    convertit_maille(cellule, erreurs, volume, false);
    EXPECT_NEAR(volume, v, 1e-3);
    convertit_maille(cellule, erreurs, volume_reciproque, false);
    EXPECT_NEAR(1 / volume_reciproque, v, 1e-3);
    const float attendu[6] = {float(a), float(b), float(c), float(al), float(be), float(ga)};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(cellule[i], attendu[i], 2e-5) << i;
}

// The propagated error of each angle matches a numerical derivative, on
// angles far enough from 90 degrees that every sine counts.
TEST(ConvertitMaille, AngleErrorMatchesANumericalDerivative) {
    const std::array<float, 6> depart = {
        0.2f, 0.16f, 0.14f, float(104 * rad), float(63 * rad), float(78 * rad)};
    const float sigma_angle = 1e-3f;
    for (std::size_t angle = 3; angle < 6; ++angle) {
        std::array<float, 6> cellule = depart, plus = depart, moins = depart, sigma{}, zeros{};
        float volume;
        sigma[angle] = sigma_angle;
        convertit_maille(cellule.data(), sigma.data(), volume, true);
        plus[angle] += 1e-3f;
        moins[angle] -= 1e-3f;
        convertit_maille(plus.data(), zeros.data(), volume, false);
        convertit_maille(moins.data(), zeros.data(), volume, false);
        for (int i = 0; i < 6; ++i) {
            double derivee = (plus[i] - moins[i]) / 2e-3;
            EXPECT_NEAR(sigma[i], std::fabs(derivee) * sigma_angle, 2e-2 * sigma[i] + 1e-7)
                << "angle " << angle << ", output " << i;
        }
    }
}

} // namespace
