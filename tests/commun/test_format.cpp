#include "commun/format.h"
#include "commun/incertitude.h"
#include "commun/liste_bornee.h"
#include "commun/nombres.h"
#include "commun/texte.h"

#include <gtest/gtest.h>

using namespace kovrin;

TEST(FormatFortran, TextAndBlanks) {
    EXPECT_EQ(fortran_a("A=B", 5), "  A=B");
    EXPECT_EQ(fortran_a("MonoBeta", 5), "MonoB");
    EXPECT_EQ(fortran_x(3), "   ");
    EXPECT_EQ(fortran_i(3, 5), "    3");
}

TEST(FormatPascal, FieldGrowsInsteadOfOverflowing) {
    EXPECT_EQ(pascal_reel(1.5418, 8, 5), " 1.54180");
    EXPECT_EQ(pascal_reel(1234.5, 8, 4), "1234.5000");
    EXPECT_EQ(pascal_reel(-0.25, 8, 3), "  -0.250");
    EXPECT_EQ(pascal_reel(15.0, 8, 0), "      15");
    EXPECT_EQ(pascal_entier(7, 3), "  7");
    EXPECT_EQ(pascal_entier(-12, 3), "-12");
    EXPECT_EQ(pascal_entier(12345, 3), "12345");
}

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
}

TEST(Nombres, PascalConversionCodes) {
    double v = 0;
    EXPECT_EQ(val_reel("1.5e2", v), 0);
    EXPECT_DOUBLE_EQ(v, 150.0);
    EXPECT_EQ(val_reel("12x", v), 3);
    EXPECT_EQ(val_reel("", v), 1);
    EXPECT_EQ(val_reel("  1.54060", v), 0);
    EXPECT_DOUBLE_EQ(v, 1.5406);
    EXPECT_EQ(val_reel("  1.5x", v), 6);
    EXPECT_EQ(val_reel("   ", v), 4);
    EXPECT_NE(val_reel("inf", v), 0);
    EXPECT_NE(val_reel("1e999", v), 0);
    long long n = 0;
    EXPECT_EQ(val_entier("-7", n), 0);
    EXPECT_EQ(n, -7);
    EXPECT_EQ(val_entier("7.5", n), 2);
}

TEST(Texte, TrimsBlanksAndControlCharacters) {
    EXPECT_EQ(sans_blancs(std::string("\0 Cu3Au \0\0", 10)), "Cu3Au");
    EXPECT_EQ(nom_sans_repertoire("/tmp/x/peaks.dif"), "peaks.dif");
    EXPECT_EQ(nom_sans_repertoire("C:\\data\\a.raw"), "a.raw");
    EXPECT_EQ(ajuste("abc", 5), "abc  ");
    EXPECT_EQ(ajuste("abcdef", 3), "abc");
}

TEST(ListeBornee, OneBasedCheckedAndBounded) {
    ListeBornee<int, 3> liste;
    liste.ajoute(10);
    liste.ajoute(20);
    liste.ajoute(30);
    EXPECT_EQ(liste[1], 10);
    EXPECT_EQ(liste[3], 30);
    EXPECT_THROW(liste[0], ErreurKovrin);
    EXPECT_THROW(liste[4], ErreurKovrin);
    EXPECT_THROW(liste.ajoute(40), ErreurKovrin);
    liste.retire(2);
    EXPECT_EQ(liste[2], 30);
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
}
