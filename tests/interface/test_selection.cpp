// Matching of measured and calculated reflections.
#include "interface/affichages.h"
#include "interface/ligne_etat.h"
#include "interface/selection.h"
#include "outils_interface.h"
#include "saisies.h"

#include <gtest/gtest.h>

using namespace kovrin;

namespace {

// Angles chosen exactly representable, so that "exactly the tolerance" is exact.
class Selection : public ::testing::Test {
  protected:
    void SetUp() override {
        test::mesures(et, {20.0, 30.125, 40.25});
        test::calculees(et, {{1, 0, 0, 20.0f}, {1, 1, 0, 30.0f}, {1, 1, 1, 40.0f}});
        test::domaine(et, 10, 50);
    }
    void apparie(const char* tolerance) {
        ep.tolerance = test::saisie(tolerance);
        selection_automatique(et, ep, d);
    }
    Rafraichissement pointe(EspaceTravail& e, const Pointage& p, const char* tolerance,
                            int onglet = onglet_selection) {
        ep.onglet = onglet;
        ep.tolerance = test::saisie(tolerance);
        return pointe_diagramme(e, ep, p, d);
    }
    EspaceTravail et;
    EtatPrincipal ep;
    DialoguesEnregistres d;
};

} // namespace

TEST_F(Selection, ToleranceExactlyReachedPairsAndJustBeyondDoesNot) {
    apparie("0.125");
    ASSERT_EQ(et.selection.taille(), 2); // 20 and 30.125; 40.25 is 0.25 away
    EXPECT_EQ(test::indices(et.selection[2]), (std::array{1, 1, 0}));
    EXPECT_FLOAT_EQ(et.selection[2].deux_theta_cal, 30.0f);

    apparie("0.1249");
    EXPECT_EQ(et.selection.taille(), 1);
}

TEST_F(Selection, ThetaModeToleranceIsDoubled) {
    et.mode_affichage = 0;
    apparie("0.0625");
    EXPECT_EQ(et.selection.taille(), 2);
    apparie("0.125"); // 0.25 in 2theta reaches 40.25
    EXPECT_EQ(et.selection.taille(), 3);
}

TEST_F(Selection, EquidistantCalculatedReflectionsGiveTheFirst) {
    test::mesures(et, {30.0});
    test::calculees(et, {{2, 0, 0, 29.875f}, {1, 1, 1, 30.125f}});
    apparie("0.2");
    ASSERT_EQ(et.selection.taille(), 1);
    EXPECT_EQ(et.selection[1].h, 2);
}

TEST_F(Selection, OnlyTheCurrentRangeTakesPartAndEarlierPairsGo) {
    apparie("0.5");
    ASSERT_EQ(et.selection.taille(), 3);
    test::domaine(et, 25, 35); // zoomed: the initial range is left alone
    et.angle_min_initial = 10;
    apparie("0.5");
    ASSERT_EQ(et.selection.taille(), 1);
    EXPECT_FLOAT_EQ(et.selection[1].deux_theta_obs, 30.125f);
    et.angle_min = 30.125; // both ends belong to the range
    et.angle_max = 30.125;
    apparie("0.5");
    EXPECT_EQ(et.selection.taille(), 1);
}

TEST_F(Selection, MessagesLeaveTheSelectionAlone) {
    apparie("0.5");
    apparie("0,5");
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Error (angular tolerance)"});
    EXPECT_EQ(et.selection.taille(), 3);
    d.vide();
    et.mesures.efface();
    apparie("0.5");
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Error: No measured Bragg angle"});
    EXPECT_EQ(et.selection.taille(), 3);
}

TEST_F(Selection, GridTextsInBothModes) {
    apparie("0.5");
    EXPECT_EQ(grille_selection(et).lignes[2],
              (std::vector<std::string>{" 2", "  1  1  0", "  30.125", "  30.000", "   0.125"}));
    et.mode_affichage = 0;
    EXPECT_EQ(grille_selection(et).lignes[3],
              (std::vector<std::string>{" 3", "  1  1  1", "  20.125", "  20.000", "   0.125"}));
    // The calculated reflections' grid: 25 rows at least, one per reflection beyond.
    for (int i = 0; i < 30; ++i)
        et.calculees.ajoute({1, 0, 0, 1.0f, 20.0f});
    EXPECT_EQ(grille_calculees_selection(et).nb_lignes, 34);
}

TEST_F(Selection, ListStaysSortedByObservedAngleWhateverTheOrderOfPairing) {
    for (int i : {3, 1, 2}) {
        click_meas_refl(et, ep, i, d);
        click_calc_refl(et, ep, 4 - i, d); // cross pairs: the tolerance does not apply
    }
    ASSERT_EQ(et.selection.taille(), 3);
    EXPECT_FLOAT_EQ(et.selection[1].deux_theta_obs, 20.0f);
    EXPECT_EQ(test::indices(et.selection[1]), (std::array{1, 1, 1}));
    EXPECT_FLOAT_EQ(et.selection[3].deux_theta_obs, 40.25f);
}

TEST_F(Selection, HandPairingStates) {
    click_calc_refl(et, ep, 1, d);  // idle: nothing
    click_meas_refl(et, ep, 20, d); // an empty row of the grid (25 rows, 3 in the list): nothing
    click_meas_refl(et, ep, 1, d);
    click_calc_refl(et, ep, 20, d);
    EXPECT_EQ(et.selection.taille(), 0);
    EXPECT_TRUE(ep.mesure_en_attente);
    click_meas_refl(et, ep, 2, d);
    click_meas_refl(et, ep, 3, d); // a new click replaces the pending choice
    click_calc_refl(et, ep, 1, d);
    EXPECT_FALSE(ep.mesure_en_attente);
    ASSERT_EQ(et.selection.taille(), 1);
    EXPECT_FLOAT_EQ(et.selection[1].deux_theta_obs, 40.25f);
}

TEST_F(Selection, ThreeZerosDeleteAPairAndUnknownIndicesLeaveIt) {
    apparie("0.5");
    modifie_indices(et, ep, 3, lit_indices("  0  0  0"), d); // the last row too
    ASSERT_EQ(et.selection.taille(), 2);
    EXPECT_FLOAT_EQ(et.selection[2].deux_theta_obs, 30.125f);
    modifie_indices(et, ep, 1, lit_indices(""), d); // an empty cell reads as three zeros
    ASSERT_EQ(et.selection.taille(), 1);

    Paire avant = et.selection[1];
    modifie_indices(et, ep, 1, lit_indices("2 2 2"), d);
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{
                               "Not possible: The reflection is out of range or is forbiden!"});
    EXPECT_EQ(test::indices(et.selection[1]), test::indices(avant));
    // Not three integers: not a reflection either.
    modifie_indices(et, ep, 1, lit_indices("1 x 1"), d);
    EXPECT_EQ(d.nb_bips(), 2);
    // Indices are 16-bit integers.
    EXPECT_TRUE(lit_indices("-32768 0 32767"));
    EXPECT_FALSE(lit_indices("-32769 0 0"));
    EXPECT_FALSE(lit_indices("0 0 32768"));
}

TEST_F(Selection, TypedIndicesGiveTheCalculatedAngleWithoutTolerance) {
    apparie("0.5");
    auto r = modifie_indices(et, ep, 1, lit_indices("  1  1  1"), d); // the last one listed
    EXPECT_EQ(et.selection[1].l, 1);
    EXPECT_TRUE(r.a_change(Change::paires));
    EXPECT_EQ(grille_selection(et).cellule(1, 4), " -20.000");
    // A row past the list: nothing to edit, nothing said when the indices exist.
    modifie_indices(et, ep, 5, lit_indices("1 1 0"), d);
    EXPECT_EQ(et.selection.taille(), 3);
}

TEST_F(Selection, PointingBelowTheAxisPairsTheFirstUsableTick) {
    // Tick 1 paired by pointing (ticks 0 and 4 do not exist); then tick 1 is
    // already paired, tick 3 is 0.25 from its nearest measured reflection.
    pointe(et, Pointage{BoutonSouris::gauche, CoteAxe::dessous, {}, {4, 1, 0}, {}}, "0.2");
    pointe(et, Pointage{BoutonSouris::gauche, CoteAxe::dessous, {}, {3, 1, 2}, {}}, "0.2");
    ASSERT_EQ(et.selection.taille(), 2);
    EXPECT_EQ(et.selection[2].k, 1);
    EXPECT_FLOAT_EQ(et.selection[2].deux_theta_obs, 30.125f);
}

TEST_F(Selection, PointingOnTheAxisOrWithoutDataPairsNothing) {
    pointe(et, Pointage{BoutonSouris::gauche, CoteAxe::sur, {}, {1}, {1}}, "0.5");
    EXPECT_EQ(et.selection.taille(), 0);
    Pointage dessus{BoutonSouris::gauche, CoteAxe::dessus, {}, {}, {1}};
    pointe(et, dessus, "0.5", 0); // another tab shown
    EXPECT_EQ(et.selection.taille(), 0);
    pointe(et, dessus, "bad");
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Error (angular tolerance)"});
    d.vide();
    EspaceTravail sans_calculees = et;
    sans_calculees.calculees.efface();
    auto r = pointe(sans_calculees, dessus, "0.5");
    EXPECT_EQ(sans_calculees.selection.taille(), 0);
    EXPECT_EQ(r.changes, 0u);
}

TEST_F(Selection, RightClickDeletesTheFirstHitPairInListOrder) {
    apparie("0.5");
    Pointage p{BoutonSouris::droit, CoteAxe::dessus, {3, 2}, {}, {}};
    pointe(et, p, "bad tolerance is not read");
    ASSERT_EQ(et.selection.taille(), 2);
    EXPECT_FLOAT_EQ(et.selection[2].deux_theta_obs, 40.25f);
    EXPECT_EQ(pointe(et, Pointage{BoutonSouris::droit, CoteAxe::dessus, {}, {}, {}}, "").changes,
              0u);
}

// The status line says what the last command left.
TEST_F(Selection, StatusLineAfterEachKindOfChange) {
    const auto ligne = [&](std::initializer_list<Change> c) {
        return ligne_etat(et, ep, Rafraichissement(c).changes);
    };
    EXPECT_EQ(ligne({Change::mesures}), "3 measured reflections, range 10.00\u201350.00\u00b0");
    EXPECT_EQ(ligne({Change::calculees, Change::paires}), "3 calculated reflections");
    EXPECT_EQ(ligne({Change::vues}), "") << "nothing to say: the line keeps its text";
    apparie("0.125");
    EXPECT_EQ(ligne({Change::paires}),
              "2 of 3 measured reflections paired within 0.125\u00b0; unpaired: 40.25");
    et.mode_affichage = 0;
    EXPECT_EQ(ligne({Change::paires}),
              "2 of 3 measured reflections paired within 0.125\u00b0; unpaired: 20.12");
    et.selection.efface();
    EXPECT_EQ(ligne({Change::paires}), "0 of 3 measured reflections paired within 0.125\u00b0");
    et.angle_max = et.angle_min; // no range yet: none told
    EXPECT_EQ(ligne({Change::mesures}), "3 measured reflections");
    et.mesures.efface();
    EXPECT_EQ(ligne({Change::mesures}), "No measured reflections");
    ep.affinement.m20 = "M(3) = 5.0";
    EXPECT_EQ(ligne({Change::resultats}), "") << "no refinement succeeded";
    et.affinement_ok = true;
    EXPECT_EQ(ligne({Change::resultats}), "Refined: M(3) = 5.0");
}
