// Pairing that estimates the zero shift: the exact scan against a brute-force
// scan over a fine grid on random sets, the messages, and the selection that
// starts the refinement at the estimate.
#include "interface/decalage_zero.h"
#include "outils_interface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

using namespace kovrin;

namespace {

// Calculated lines between 20 and 120 degrees, most of them measured with a
// common shift and some scatter, plus measured lines of nothing.
struct Jeu {
    std::vector<double> mesures, calculees;
};

Jeu jeu_aleatoire(unsigned graine) {
    std::mt19937 g(graine);
    std::uniform_real_distribution<double> angle(20, 120), decalage(-0.8, 0.8), bruit(-0.06, 0.06);
    std::bernoulli_distribution mesuree(0.7);
    Jeu j;
    const double vrai = decalage(g);
    for (int i = 0; i < 14; ++i) {
        const double c = angle(g);
        j.calculees.push_back(c);
        if (mesuree(g)) j.mesures.push_back(c + vrai + bruit(g));
    }
    for (int i = 0; i < 3; ++i)
        j.mesures.push_back(angle(g));
    std::sort(j.calculees.begin(), j.calculees.end());
    return j;
}

TEST(DecalageZero, ExactScanMatchesABruteForceScanOverAFineGrid) {
    int egales = 0;
    for (int mode : {1, 2})
        for (unsigned graine = 1; graine <= 30; ++graine) {
            const Jeu j = jeu_aleatoire(graine);
            const double tolerance = graine % 2 ? 0.1 : 0.05;
            const Appariement exact = estime_decalage(j.mesures, j.calculees, tolerance, mode);
            Appariement grille{.appariees = -1};
            for (int k = -10000; k <= 10000; ++k) {
                const Appariement a = apparie_a(j.mesures, j.calculees, tolerance, mode, k * 1e-4);
                const bool mieux = a.appariees > grille.appariees ||
                                   (a.appariees == grille.appariees &&
                                    std::fabs(a.somme_residus) < std::fabs(grille.somme_residus));
                if (mieux) grille = a;
            }
            // The grid can only miss a best shift, never beat it.
            EXPECT_GE(exact.appariees, grille.appariees) << "mode " << mode << " seed " << graine;
            if (exact.appariees == grille.appariees) {
                ++egales;
                EXPECT_LE(std::fabs(exact.somme_residus), std::fabs(grille.somme_residus) + 1e-9)
                    << "mode " << mode << " seed " << graine;
            }
            EXPECT_LE(std::fabs(exact.decalage), decalage_estime_max);
            // The estimate is what pairing at that shift gives.
            EXPECT_EQ(apparie_a(j.mesures, j.calculees, tolerance, mode, exact.decalage).appariees,
                      exact.appariees);
        }
    EXPECT_GE(egales, 55); // a grid of 1e-4 degree finds the best count nearly always
}

TEST(DecalageZero, TwoReflectionsPairedTogetherOnlyBetweenTheirOwnDifferences) {
    // Differences 0 and 0.19: each difference alone pairs one at a tolerance of
    // 0.1; only a shift between 0.09 and 0.1 pairs both, and 0.095 sums the
    // residuals to zero.
    const Appariement a = estime_decalage({30.0, 50.19}, {30.0, 50.0}, 0.1, 1);
    EXPECT_EQ(a.appariees, 2);
    EXPECT_NEAR(a.decalage, 0.095, 1e-12);
    EXPECT_NEAR(a.somme_residus, 0, 1e-12);
}

TEST(DecalageZero, Messages) {
    EXPECT_EQ(texte_decalage_estime({-0.262, 9, 0.01}, 10, 0.1, 1),
              "Zero shift estimated at \u22120.262\u00b0 (9 of 10 measured reflections within "
              "0.100\u00b0)");
    EXPECT_EQ(texte_appariement(7, 11, 0.1, false),
              "7 of 11 measured reflections paired within 0.100\u00b0");
    EXPECT_EQ(texte_appariement(0, 4, 0.001, true),
              "0 of 4 measured reflections paired within 0.001\u00b0: no calculated reflection "
              "lies within the tolerance of any measured one, even after a zero shift of up to "
              "\u00b11\u00b0");
    EXPECT_EQ(texte_degres(-0.0004), "0.000\u00b0");
    EXPECT_EQ(texte_degres(0.5), "0.500\u00b0");
}

class SelectionDecalee : public ::testing::Test {
  protected:
    // Seven lines measured 0.262 degree below their calculated angles.
    void SetUp() override {
        test::mesures(et, {23.738, 33.738, 43.738, 53.738, 63.738, 73.738, 83.738});
        for (std::int16_t l = 1; l <= 7; ++l) // 001 at 24 degrees ... 007 at 84
            et.calculees.ajoute({0, 0, l, 1.0f, 14.0f + 10 * l});
        test::domaine(et, 10, 90);
        ep.tolerance = Saisie::de_valeur(0.1);
    }
    EspaceTravail et;
    EtatPrincipal ep;
    DialoguesEnregistres d;
};

TEST_F(SelectionDecalee, TheEstimatePairsEveryLineAndStartsTheRefinement) {
    et.tolerance = 0.1;
    const auto offre = offre_decalage(et);
    ASSERT_TRUE(offre);
    EXPECT_EQ(offre->question,
              "Only 0 of 7 measured reflections paired within 0.100\u00b0; with a zero shift of "
              "\u22120.262\u00b0, 7 would. Pair with this shift?");

    selection_avec_decalage(et, ep, false, d);
    EXPECT_EQ(et.selection.taille(), 0);
    EXPECT_EQ(d.textes().back(),
              "0 of 7 measured reflections paired within 0.100\u00b0: no calculated reflection "
              "lies within the tolerance of any measured one");

    selection_avec_decalage(et, ep, true, d);
    ASSERT_EQ(et.selection.taille(), 7);
    EXPECT_NEAR(et.decalage, -0.262, 1e-4);
    EXPECT_FLOAT_EQ(et.selection[1].deux_theta_obs, 23.738f); // the pair keeps the measurement
}

// The button of tab 3: the plain rule first, then the offer of the shift;
// ticked, "Estimate the zero shift" makes the estimate the rule.
TEST_F(SelectionDecalee, TheButtonOffersTheShiftOrEstimatesItWhenTicked) {
    d.reponse = Reponse::non;
    selection_du_bouton(et, ep, d);
    EXPECT_EQ(et.selection.taille(), 0);
    ASSERT_EQ(d.textes().size(), 2u);
    EXPECT_EQ(d.textes()[1], offre_decalage(et)->question); // the offer, declined
    d.reponse = Reponse::oui;
    selection_du_bouton(et, ep, d);
    EXPECT_EQ(et.selection.taille(), 7);
    EXPECT_NEAR(et.decalage, -0.262, 1e-4);

    d.vide();
    et.selection.efface();
    et.decalage = 0;
    ep.estime_decalage = true;
    selection_du_bouton(et, ep, d);
    EXPECT_EQ(et.selection.taille(), 7);
    EXPECT_EQ(d.textes(),
              std::vector<std::string>{"Zero shift estimated at \u22120.262\u00b0 (7 of 7 "
                                       "measured reflections within 0.100\u00b0)"});
}

TEST_F(SelectionDecalee, EccentricityModeFollowsTheCosineLaw) {
    // Shifts of e cos(theta): the same e for every line.
    const double e = -0.3;
    et.mesures.efface();
    for (const RaieCalculee& c : et.calculees) {
        const double x = c.deux_theta + e * std::cos(c.deux_theta * M_PI / 360);
        et.mesures.ajoute({x, x, 100.0});
    }
    et.mode_decalage = 2;
    ep.tolerance = Saisie::de_valeur(0.01);
    selection_avec_decalage(et, ep, true, d);
    EXPECT_EQ(et.selection.taille(), 7);
    EXPECT_NEAR(et.decalage, e, 2e-3);
}

} // namespace

// The silicon lines measured at Cu Kalpha1 and paired with the weighted mean
// as the working wavelength: the lines above 90 degrees fall 0.1 to 0.4
// degree away (2 tan(theta) dlambda/lambda), outside the tolerance;
// the remark points to Kalpha1. Spacings from a = 5.43123 A.
TEST(RemarqueLambda, KalphaOnePeaksPairedWithTheMeanArePointedOut) {
    EspaceTravail et;
    for (int n : {3, 8, 11, 16, 19, 24, 27, 32, 35, 40, 43}) {
        const double d = 5.43123 / std::sqrt(n);
        et.calculees.ajoute({1, 1, 1, static_cast<float>(d), 0.0f});
        const double angle = 2 * std::asin(1.54056 / (2 * d)) * 180 / std::numbers::pi;
        et.mesures.ajoute({angle, angle, 100.0});
    }
    test::domaine(et, 10, 150);
    et.tolerance = 0.1;
    et.lambda = 1.54180;
    EXPECT_EQ(remarque_autre_lambda(et).value_or(""),
              "With K\u03b11 (1.54056 \u00c5) as the working wavelength, 11 of 11 measured "
              "reflections would pair (6 now): the peaks look like K\u03b11 positions.");
    et.lambda = 1.54056;
    EXPECT_FALSE(remarque_autre_lambda(et)) << "Kalpha1 pairs them all already";
    et.lambda = 1.5405929; // typed: no anode's line
    EXPECT_FALSE(remarque_autre_lambda(et));
}
