// The smoothing and derivative filter against polynomials it must reproduce
// exactly (Savitzky-Golay weights are exact up to the cubic): a line and a
// square also test that the weights of each filter sum to what they must.
#include "profil/lissage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace kovrin;

namespace {

std::vector<float> suite(int n, float (*f)(int)) {
    std::vector<float> v(static_cast<std::size_t>(n) + 1, 0.0f);
    for (int i = 1; i <= n; ++i)
        v[static_cast<std::size_t>(i)] = f(i);
    return v;
}

} // namespace

TEST(LisseDerive, LineGivesSlopeOneAndSquareGivesTwo) {
    const int n = 50;
    auto droite = suite(n, [](int i) { return static_cast<float>(i); });
    auto carre = suite(n, [](int i) { return static_cast<float>(i * i); });
    for (int m = 1; m <= 5; ++m) {
        const int h = m + 1;
        std::vector<float> d1, d2, lisse;
        lisse_derive(droite, n, m, d1, 1);
        lisse_derive(carre, n, m, d2, 2);
        lisse_derive(carre, n, m, lisse, 0);
        ASSERT_EQ(lisse.size(), 51u);
        for (int i = 1; i <= n; ++i) {
            EXPECT_NEAR(d1[static_cast<std::size_t>(i)], 1.0f, 1e-5) << "m " << m << " i " << i;
            EXPECT_NEAR(d2[static_cast<std::size_t>(i)], 2.0f, 1e-3) << "m " << m << " i " << i;
            // A quadratic passes the smoothing unchanged; the ends repeat the
            // nearest computed value.
            const int j = std::clamp(i, h + 1, n - h);
            EXPECT_NEAR(lisse[static_cast<std::size_t>(i)], static_cast<float>(j * j), 2e-3);
        }
    }
}

TEST(LisseDerive, NoInnerPointLeavesZeros) {
    // h = 3 for m = 2: n from h to 2h has no point with a full window.
    for (int n = 3; n <= 6; ++n) {
        auto v = suite(n, [](int i) { return static_cast<float>(10 + i); });
        std::vector<float> sortie(static_cast<std::size_t>(n) + 1, 99.0f);
        lisse_derive(v, n, 2, sortie, 0);
        for (float x : sortie)
            EXPECT_EQ(x, 0.0f) << "n " << n;
    }
    // 2h + 1 points: exactly one inner point, copied to both ends.
    auto v = suite(7, [](int i) { return static_cast<float>(i); });
    std::vector<float> sortie;
    lisse_derive(v, 7, 2, sortie, 0);
    for (int i = 1; i <= 7; ++i)
        EXPECT_NEAR(sortie[static_cast<std::size_t>(i)], 4.0f, 1e-5);
}

TEST(LisseDerive, ProcessesProfilesLongerThanTenThousandPoints) {
    const int n = 30000;
    auto droite = suite(n, [](int i) { return static_cast<float>(i) * 0.001f; });
    std::vector<float> d1;
    lisse_derive(droite, n, 5, d1, 1);
    EXPECT_NEAR(d1[25000], 0.001f, 1e-5);
}
