// Taking the refined values as the new start and restoring the initial cell,
// through the cell tab, with the stand-in engine (the whole workflow with the
// real engine is the main window's test of the whole road).
#include "affinement/affinement.h"
#include "cas_affinement.h"
#include "cristallo/raies.h"
#include "dossier_temporaire.h"
#include "interface/commandes_affinement.h"
#include "saisies.h"

#include <gtest/gtest.h>

using namespace kovrin;
using namespace kovrin::test;

namespace {

constexpr double lambda_cu = 1.5406;

// A cubic P phase of true a = 4 A measured with a zero shift: calculated
// reflections from a typed a = 3.99, measured angles from the true cell.
class Parcours : public ::testing::Test {
  protected:
    void SetUp() override {
        e.systeme = "CUBI";
        e.liste_hm = {{"Pm-3m"}, 0};
        e.lambda = lambda_cu;
        e.maille = {3.99, 3.99, 3.99, 90, 90, 90};
        e.maille_initiale = e.maille;
        e.angle_min = e.angle_min_initial = 10;
        e.angle_max = e.angle_max_initial = 80;
        om = test::onglet_tape({"3.99", "3.99", "3.99", "90", "90", "90"}, "1.5406", "10", "80");
        ASSERT_TRUE(calcul_raies(e, om, d));
        ASSERT_EQ(e.calculees.taille(), 10); // 100 110 111 200 210 211 220 300 310 311
        for (const RaieCalculee& c : e.calculees)
            ajoute_mesure(e, deux_theta_orthogonal(4, 4, 4, c.h, c.k, c.l, lambda_cu) + 0.03);
        apparie();
    }

    // Measured reflection j with calculated reflection j (both in angle order).
    void apparie() {
        for (int j = 1; j <= e.mesures.taille(); ++j) {
            const RaieCalculee& c = e.calculees[j];
            ajoute_paire(e, c.h, c.k, c.l, e.mesures[j].deux_theta_mes, c.deux_theta);
        }
    }

    DossierTemporaire dossier;
    EspaceTravail e;
    EtatPrincipal ep;
    OngletMaille& om = ep.maille;
    OngletAffinement& onglet = ep.affinement;
    ChampsAffinement champs = champs_affinement({rang_decalage, rang_a});
    DialoguesEnregistres d;
};

} // namespace

// A zero shift (mode 1) is folded as it is, an eccentricity term (mode 2)
// times cos(theta) of the angle as read.
class Pliage : public Parcours, public ::testing::WithParamInterface<std::pair<int, float>> {};

TEST_P(Pliage, ChangeParamFoldsTheRefinedShiftIntoTheAngles) {
    const auto [mode, terme] = GetParam();
    e.mode_decalage = mode;
    reponse_cubique(terme, 1.5406f, 4.0f);
    moteur_simule.theta_calcules.assign(10, 20.0f);
    lance_affinement(e, champs, onglet, d, calcul_simule);
    ASSERT_TRUE(e.affinement_ok);
    onglet.affine[rang_a] = "   4.0000";
    change_param(e, ep, d);
    for (const Mesure& m : e.mesures) {
        double cosinus = mode == 2 ? std::cos(m.deux_theta_lu / 2 * pi / 180) : 1;
        EXPECT_NEAR(m.deux_theta_mes, m.deux_theta_lu - terme * cosinus, mode == 2 ? 1e-5 : 1e-6);
    }
    EXPECT_TRUE(e.selection.vide());
}

INSTANTIATE_TEST_SUITE_P(Modes, Pliage, ::testing::Values(std::pair{1, 0.02f}, std::pair{2, 0.5f}));

TEST_F(Parcours, ChangeParamNeedsPairsAndAResultOfThem) {
    onglet.boutons_resultats = true;
    change_param(e, ep, d); // pairs but no refinement yet
    EXPECT_FALSE(onglet.boutons_resultats);
    EXPECT_EQ(e.maille[0], 3.99);

    reponse_cubique(0.02f, 1.5406f, 4.0f);
    lance_affinement(e, champs, onglet, d, calcul_simule);
    change_param(e, ep, d);
    ASSERT_TRUE(e.selection.vide());
    apparie();
    // New pairs, no new refinement: the shift already folded is not folded again.
    auto corriges = e.mesures;
    change_param(e, ep, d);
    EXPECT_EQ(e.selection.taille(), 10);
    for (int j = 1; j <= e.mesures.taille(); ++j)
        EXPECT_EQ(e.mesures[j].deux_theta_mes, corriges[j].deux_theta_mes);
}

TEST_F(Parcours, RestoreAfterTwoChangesKeepsTheRefinedWavelength) {
    champs.a_affiner[rang_lambda] = true; // a cannot be refined beside it on a cubic cell
    champs.a_affiner[rang_a] = false;
    reponse_cubique(0.02f, 1.5410f, 4.001f);
    lance_affinement(e, champs, onglet, d, calcul_simule);
    change_param(e, ep, d);
    apparie();
    reponse_cubique(0.01f, 1.5412f, 4.002f);
    champs.lambda_initial = test::saisie(" 1.54100");
    lance_affinement(e, champs, onglet, d, calcul_simule);
    change_param(e, ep, d);
    EXPECT_EQ(e.maille[0], static_cast<double>(4.002f)); // the engine's value, not its display
    EXPECT_NEAR(e.mesures[1].deux_theta_mes, e.mesures[1].deux_theta_lu - 0.03, 1e-6);

    resto_param(e, ep, d);
    for (const Mesure& m : e.mesures)
        EXPECT_EQ(m.deux_theta_mes, m.deux_theta_lu);
    EXPECT_EQ(e.maille, (std::array<double, 6>{3.99, 3.99, 3.99, 90, 90, 90}));
    EXPECT_NEAR(e.lambda, 1.5412, 1e-6);
    EXPECT_EQ(texte_lambda(om.lambda), " 1.54120");
}
