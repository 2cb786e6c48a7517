#include "cristallo/geometrie.h"
#include "cristallo/metrique.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kovrin;

namespace {

std::string systeme_de(const Maille& m, std::string avant = "AVANT") {
    systeme_de_maille(m, avant);
    return avant;
}

// d(hkl) of a cell through the reciprocal cell and its matrix.
double d_hkl(const Maille& m, int h, int k, int l) {
    Maille rec{};
    MatriceB b{};
    EXPECT_TRUE(calcul_reciproque(m, rec, b));
    return 1 / std::sqrt(inverse_d_carre(b, h, k, l));
}

} // namespace

TEST(SystemeDeMaille, RulesInTheirOrder) {
    EXPECT_EQ(systeme_de({5.0, 5.0005, 4.9995, 90, 90, 90}), "CUBI");
    EXPECT_EQ(systeme_de({4, 4, 6, 90, 90, 90}), "TETR");
    // b = c with a different matches no rule: the system is left alone.
    EXPECT_EQ(systeme_de({4, 6, 6, 90, 90, 90}), "AVANT");
    EXPECT_EQ(systeme_de({3, 3.5, 5, 90, 90, 120}), "HEXA"); // a = b not tested
    EXPECT_EQ(systeme_de({5, 5, 5, 90, 90, 120}), "HEXA");   // before the rhombohedral rule
    EXPECT_EQ(systeme_de({5, 5, 5, 60, 60, 60}), "RHOM");
    EXPECT_EQ(systeme_de({5, 5, 5, 90, 100, 90}), "RHOM");     // before the monoclinic rule
    EXPECT_EQ(systeme_de({4, 5, 6, 90.0001, 90, 90}), "MONO"); // exact comparison with 90
    EXPECT_EQ(systeme_de({4, 5, 6, 89, 95, 90}), "TRIC");
}

// Spacings checked against the inverse metric tensor, computed by hand; the
// decimal 57.2957 moves them by a few 1e-6.
TEST(InverseDCarre, OneCellOfEachSystem) {
    EXPECT_NEAR(d_hkl({4, 4, 6, 90, 90, 90}, 1, 1, 2), 2.0579830, 2e-5);
    EXPECT_NEAR(d_hkl({3, 3, 5, 90, 90, 120}, 1, 0, 1), 2.3054198, 2e-5);
    EXPECT_NEAR(d_hkl({5, 5, 5, 60, 60, 60}, 1, 1, 0), 3.5355339, 2e-5);
    EXPECT_NEAR(d_hkl({5, 6, 7, 90, 100, 90}, 1, 0, 1), 3.7134563, 2e-5);
    EXPECT_NEAR(d_hkl({5, 6, 7, 90, 100, 90}, 1, 0, -1), 4.3829702, 2e-5);
    EXPECT_NEAR(d_hkl({5, 6, 7, 80, 95, 105}, -1, 1, 2), 2.9043072, 2e-5);
}

// A metric tensor is a cell's only when it is positive definite: every
// leading minor positive (Sylvester), not merely its determinant.
TEST(MailleDeTenseur, OnlyPositiveDefiniteTensorsGiveACell) {
    const Maille m{5, 6, 7, 80, 95, 105};
    const auto retour = maille_de_tenseur(tenseur_metrique(m));
    ASSERT_TRUE(retour);
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_NEAR((*retour)[i], m[i], 1e-9) << i;
    const Metrique sans_cellule[] = {
        {{{1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}, // determinant 1, second minor -1
        {{{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}}, // determinant 1, first minor -1
        {{{1, 2, 0}, {2, 1, 0}, {0, 0, -1}}},  // determinant 3, second minor -3
        {{{1, 0, 0}, {0, 1, 0}, {0, 0, 0}}}};  // flat
    for (const Metrique& g : sans_cellule)
        EXPECT_FALSE(maille_de_tenseur(g)) << g[0][0] << " " << g[1][1] << " " << g[2][2];
}
