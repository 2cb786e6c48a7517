// The refinement finds back a known cell from exact angles, for every crystal system.
#include "appel_calcul.h"
#include "dossier_temporaire.h"

#include <gtest/gtest.h>

using namespace kovrin::test;

namespace {

constexpr double cuka1 = 1.540562;

struct Cas {
    const char* nom;
    char lettre;
    Maille vraie;
    std::array<float, 6> drapeaux_maille; // a b c alpha beta gamma
    const char* libelle;
};

// Start cell: every refined length and angle off by 0.5 %, tied ones following.
Maille depart(const Cas& cas) {
    Maille m = cas.vraie;
    const auto& d = cas.drapeaux_maille;
    m.a *= 1.005;
    bool b_propre = cas.lettre == 'O' || cas.lettre == 'M';
    m.b = d[1] != 0 ? m.b * 1.005 : (b_propre ? m.b : m.a);
    m.c = d[2] != 0 ? m.c * 1.005 : (cas.lettre == 'C' || cas.lettre == 'R' ? m.a : m.c);
    if (d[3] != 0) m.alpha *= 1.005;
    if (d[4] != 0) m.beta *= 1.005;
    if (d[5] != 0) m.gamma *= 1.005;
    if (cas.lettre == 'R') m.beta = m.gamma = m.alpha;
    return m;
}

class Recuperation : public ::testing::TestWithParam<Cas> {};

TEST_P(Recuperation, RefinedCellAndZeroComeBack) {
    const Cas& cas = GetParam();
    DossierTemporaire dossier;
    Appel appel;
    appel.lettre = static_cast<int16_t>(cas.lettre);
    const double zero = 0.05;
    ASSERT_GT(reflexions_de(appel, cas.vraie, cuka1, zero, 60, 4), 20);
    appel.depart(depart(cas), cuka1, {0});
    for (int j = 0; j < 6; ++j)
        appel.drapeaux[2 + j] = cas.drapeaux_maille[j];
    ASSERT_EQ(appel.lance(), "Fin normale");
    const auto& p = appel.parametres;
    EXPECT_NEAR(p[0], zero, 1e-3);
    const Maille& v = cas.vraie;
    const double vraies[] = {v.a, v.b, v.c, v.alpha, v.beta, v.gamma};
    for (std::size_t j = 0; j < 6; ++j) // lengths within 1e-4 A, angles within 1e-3 degree
        EXPECT_NEAR(p[2 + j], vraies[j], j < 3 ? 1e-4 : 1e-3) << j;
    // A length tied to a carries a's error.
    const bool b_lie = cas.drapeaux_maille[1] == 0, c_lie = cas.lettre == 'C' || cas.lettre == 'R';
    EXPECT_TRUE(!b_lie || appel.erreurs[3] == appel.erreurs[2]) << appel.erreurs[3];
    EXPECT_TRUE(!c_lie || appel.erreurs[4] == appel.erreurs[2]) << appel.erreurs[4];
    auto lignes = lit_fichier(dossier / "kovrin.out");
    EXPECT_NE(lignes.find(std::string(" Refinement constraints    : ") + cas.libelle),
              std::string::npos);
    // "T" becomes "Q" when a and b are equal within 0.001 A.
    char lettre_attendue = cas.lettre == 'T' && cas.drapeaux_maille[1] == 0 ? 'Q' : cas.lettre;
    EXPECT_EQ(appel.lettre, lettre_attendue);
}

const Cas cas_systemes[] = {
    {"cubique", 'C', cube(5.4309), {1, 0, 0, 0, 0, 0}, "A=B=C"},
    {"quadratique", 'T', {4.5937, 4.5937, 2.9587, 90, 90, 90}, {1, 0, 1, 0, 0, 0}, "A=B  "},
    {"hexagonal", 'H', {3.2094, 3.2094, 5.2105, 90, 90, 120}, {1, 0, 1, 0, 0, 0}, "A=B  "},
    {"rhomboedrique", 'R', rhomboedre(6.3750, 46.08), {1, 0, 0, 1, 0, 0}, "A=B=C"},
    {"orthorhombique", 'O', {4.7560, 10.2070, 5.9800, 90, 90, 90}, {1, 1, 1, 0, 0, 0}, "NO   "},
    {"monoclinique_b", 'M', {5.1010, 7.3220, 8.2150, 90, 103.52, 90}, {1, 1, 1, 0, 1, 0}, "MonoB"},
    {"monoclinique_c", 'M', {5.1010, 7.3220, 8.2150, 90, 90, 97.25}, {1, 1, 1, 0, 0, 1}, "MonoC"},
    {"monoclinique_a", 'M', {5.1010, 7.3220, 8.2150, 94.60, 90, 90}, {1, 1, 1, 1, 0, 0}, "MonoA"},
    {"triclinique",
     'T',
     {5.1010, 6.3220, 7.4150, 85.40, 97.30, 102.10},
     {1, 1, 1, 1, 1, 1},
     "NO   "},
};

INSTANTIATE_TEST_SUITE_P(Systemes, Recuperation, ::testing::ValuesIn(cas_systemes),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST(Recuperation, WavelengthWithZeroAgainstAFixedStandard) {
    DossierTemporaire dossier;
    Appel appel;
    const Maille silicium = cube(5.43094);
    const double lambda = 1.540562, zero = -0.03;
    reflexions_de(appel, silicium, lambda, zero, 40, 6);
    appel.depart(silicium, lambda * 1.002, {0, 1});
    ASSERT_EQ(appel.lance(), "Fin normale");
    EXPECT_NEAR(appel.parametres[1], lambda, 1e-5);
    EXPECT_NEAR(appel.parametres[0], zero, 1e-3);
    EXPECT_FLOAT_EQ(appel.parametres[2], 5.43094f);
}

TEST(Recuperation, EccentricityModeRecoversACosThetaShift) {
    DossierTemporaire dossier;
    Appel appel;
    const Maille vraie = cube(4.0786);
    const double e = 0.08; // degrees 2theta times cos theta
    reflexions_de(appel, vraie, cuka1, e, 30, 6, true);
    appel.depart(cube(4.0990), cuka1, {2});
    appel.drapeaux[0] = -1;
    ASSERT_EQ(appel.lance(), "Fin normale");
    EXPECT_EQ(appel.drapeaux[0], 1.0f);
    EXPECT_NEAR(appel.parametres[0], e, 1e-3);
    EXPECT_NEAR(appel.parametres[2], 4.0786, 1e-4);
    auto listing = lit_fichier(dossier / "kovrin.out");
    EXPECT_NE(listing.find(" e/R(\xF8)  Lambda     a"), std::string::npos);
}

} // namespace
