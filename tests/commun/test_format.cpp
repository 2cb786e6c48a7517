#include "commun/incertitude.h"
#include "commun/nombres.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

using namespace kovrin;

TEST(Nombres, NormalisationOfTypedNumbers) {
    EXPECT_EQ(normalise_nombre(""), "0");
    EXPECT_EQ(normalise_nombre(" .5"), "0.5");
    EXPECT_EQ(normalise_nombre("5. "), "5.0");
    EXPECT_EQ(normalise_nombre("-.5"), "-0.5");
    EXPECT_EQ(lit_champ_reel(".5"), 0.5);
    EXPECT_EQ(lit_champ_reel(""), 0.0);
    EXPECT_FALSE(lit_champ_reel("5 ").has_value());
    EXPECT_EQ(lit_champ_reel(" 1.54060"), 1.5406);
    EXPECT_FALSE(lit_champ_reel("5,43").has_value());
    for (const char* blanc : {"", " "})
        EXPECT_FALSE(lit_reel(blanc).has_value()) << '"' << blanc << '"';
}

TEST(Incertitude, ValuesWithTheirUncertaintyInParentheses) {
    const struct {
        double valeur, incertitude;
        const char* texte;
    } cas[] = {
        {5.4312296, 5.66e-6, "5.431230(6)"}, // one digit
        {4.913401, 1.6e-5, "4.913401(16)"},  // two digits when they read 19 or less
        {4.913401, 1.96e-5, "4.91340(2)"},   // 19.6 rounds to 20: one digit
        {0.015137, 0.0096, "0.02(1)"},       // 9.6 rounds to 10: one decimal fewer
        {-0.015137, 1.52e-4, "-0.01514(15)"},
        {1234.6, 25, "1235(25)"}, // no decimal left to round at
        {90.0, 0, "90"},          // a fixed value alone
        {1.5405929, 0, "1.5405929"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(texte_avec_incertitude(c.valeur, c.incertitude), c.texte) << c.texte;
    // The uncertainty alone keeps two significant digits.
    const std::pair<double, const char*> seules[] = {{5.66e-6, "0.0000057"},
                                                     {1.52e-4, "0.00015"},
                                                     {0.0996, "0.10"},
                                                     {0.0994, "0.099"},
                                                     {25, "25"},
                                                     {123.4, "123"},
                                                     {0, ""},
                                                     {-1, ""}};
    for (const auto& [incertitude, texte] : seules)
        EXPECT_EQ(texte_incertitude(incertitude), texte) << incertitude;
    EXPECT_EQ(texte_incertitude(std::nan("")), "");
}
