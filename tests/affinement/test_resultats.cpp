// Texts of the refinement tab: parameter table, before / after grids and their
// deviation boxes, in both display modes.
#include "affinement/affinement.h"
#include "affinement/resultats.h"
#include "cas_affinement.h"
#include "dossier_temporaire.h"

#include <gtest/gtest.h>

using namespace kovrin;
using namespace kovrin::test;

namespace {

using Ligne = std::vector<std::string>;

// Three pairs whose observed-minus-calculated differences are 0.024, 0.050 and
// -0.010; the refined zero shift is 0.02 and the refined 2theta(calc) are
// 22.206, 31.660 and 38.980.
class Resultats : public ::testing::Test {
  protected:
    void SetUp() override {
        e.systeme = "CUBI";
        e.maille = {4, 4, 4, 90, 90, 90};
        e.lambda = 1.5406;
        ajoute_paire(e, 1, 0, 0, 22.230, 22.206);
        ajoute_paire(e, 1, 1, 0, 31.700, 31.650);
        ajoute_paire(e, 1, 1, 1, 38.990, 39.000);
        reponse_cubique(0.02f, 1.5406f, 4.0012f);
        moteur_simule.erreurs = {0.004f, 0, 0.0003f, 0.0003f, 0.0003f, 0, 0, 0};
        moteur_simule.theta_calcules = {11.103f, 15.830f, 19.490f};
    }
    void lance() { lance_affinement(e, champs, onglet, d, calcul_simule); }

    DossierTemporaire dossier;
    EspaceTravail e;
    ChampsAffinement champs = champs_affinement({rang_decalage, rang_a});
    OngletAffinement onglet;
    DialoguesEnregistres d;
};

} // namespace

TEST_F(Resultats, GridsAndDeviationsIn2Theta) {
    lance();
    ASSERT_TRUE(d.erreurs().empty());
    EXPECT_EQ(onglet.avant.lignes[0],
              (Ligne{"Nb.", "h   k   l", "2T Obs", "2TObs-shift", "2T Calc", "Diff."}));
    EXPECT_EQ(onglet.avant.lignes[1],
              (Ligne{" 1", "  1  0  0", "  22.230", "  22.210", "  22.206", "  0.0040"}));
    EXPECT_EQ(onglet.avant.lignes[3],
              (Ligne{" 3", "  1  1  1", "  38.990", "  38.970", "  39.000", " -0.0300"}));
    EXPECT_EQ(onglet.apres.lignes[2], (Ligne{"2", " 1 1 0", "  31.680", "  31.660", "  0.0200"}));
    // sqrt(0.024^2 + 0.050^2 + 0.010^2) / (3 - 2) and sqrt(0.004^2 + 0.020^2 + 0.010^2) / 1
    EXPECT_EQ(std::tie(onglet.ecart_avant, onglet.ecart_apres), std::tuple(" 0.05636", " 0.02272"));
    efface_panneaux(onglet);
    EXPECT_TRUE(onglet.avant.lignes.empty() && onglet.apres.lignes.empty());
}

TEST_F(Resultats, ThetaLaunchHalvesShiftAndSigmaOnly) {
    e.mode_affichage = 0;
    lance();
    EXPECT_EQ(onglet.affine[rang_decalage], "0.010000");
    EXPECT_EQ(onglet.sigmas[rang_decalage], "0.002000");
    EXPECT_EQ(onglet.affine[rang_a], "   4.0012");
    EXPECT_EQ(onglet.sigmas[rang_a], "  0.0003");
    EXPECT_EQ(onglet.avant.lignes[1],
              (Ligne{" 1", "  1  0  0", "  11.115", "  11.105", "  11.103", "  0.0020"}));
    EXPECT_EQ(onglet.apres.lignes[1], (Ligne{"1", " 1 0 0", "  11.105", "  11.103", "  0.0020"}));
    EXPECT_EQ(std::tie(onglet.ecart_avant, onglet.ecart_apres), std::tuple(" 0.02818", " 0.01136"));

    // Switching to 2theta refills the grids and boxes, not the parameter table.
    auto affine = onglet.affine;
    e.mode_affichage = 1;
    remplit_tableau_avant(e, onglet);
    remplit_tableau_apres(e, onglet);
    EXPECT_EQ(onglet.ecart_avant, " 0.05636");
    EXPECT_EQ(onglet.affine, affine);
}

TEST_F(Resultats, AsManyPairsAsParametersEmptiesBothBoxes) {
    lance();
    ASSERT_FALSE(onglet.ecart_apres.empty());
    e.selection.retire(3); // n = 2 = Npar
    remplit_tableau_avant(e, onglet);
    remplit_tableau_apres(e, onglet);
    EXPECT_EQ(std::tie(onglet.ecart_avant, onglet.ecart_apres), std::tuple("", ""));
}

TEST(ColonneInitiale, ShiftLambdaAndCellFormats) {
    EspaceTravail e;
    e.decalage = -0.0123;
    e.lambda = 1.5406;
    e.maille = {5.4307, 12.34567, 6, 90, 104.5, 120};
    OngletAffinement onglet;
    affiche_initial(e, onglet);
    EXPECT_EQ(onglet.initial,
              (std::array<std::string, 8>{"-0.012300", " 1.54060", "   5.4307", "  12.3457",
                                          "   6.0000", "  90.000", " 104.500", " 120.000"}));
}
