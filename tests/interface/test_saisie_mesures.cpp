// The measured grid of tab 1: its texts, and the reading back of the rows the
// user edits (and of those only).
#include "interface/saisie_mesures.h"
#include "outils_interface.h"
#include "saisies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace kovrin;

namespace {

std::vector<double> angles(const EspaceTravail& et) {
    std::vector<double> a;
    for (const Mesure& m : et.mesures)
        a.push_back(m.deux_theta_mes);
    return a;
}

// The user types `angle` and `aire` in row `ligne` (column 0, then column 2).
struct Grille1 : ::testing::Test {
    EspaceTravail et;
    DialoguesEnregistres d;
    Saisie lambda = test::saisie("1.5406");

    Rafraichissement tape(int ligne, int colonne, const char* angle, const char* aire = "") {
        return modifie_ligne_mesures(
            et, {lambda, ligne, colonne, test::saisie(angle), test::saisie(aire)}, d);
    }
};

// The list as typed and fitted, lambda and the range.
auto etat_mesures(const EspaceTravail& et) {
    std::vector<std::tuple<double, double, double, EtatAjustement>> m;
    for (const Mesure& x : et.mesures)
        m.emplace_back(x.deux_theta_mes, x.deux_theta_lu, x.intensite_mes, x.ajustement.etat);
    return std::tuple(m, et.lambda, et.angle_min, et.angle_max);
}

} // namespace

TEST_F(Grille1, TypedRowsAreSortedNumberedAndGiveTheRange) {
    tape(1, 0, "60");
    tape(2, 2, "", "50"); // an area before its angle waits for it
    tape(2, 0, "20", "");
    tape(2, 2, "60", "50"); // row 2 now holds 60 (sorted): only its area changes
    EXPECT_EQ(angles(et), (std::vector<double>{20, 60}));
    EXPECT_DOUBLE_EQ(et.mesures[1].intensite_mes, 100); // empty area reads as 100
    EXPECT_DOUBLE_EQ(et.mesures[2].intensite_mes, 50);
    EXPECT_DOUBLE_EQ(et.angle_max, 62);

    const Rafraichissement r = tape(3, 0, "");
    ASSERT_TRUE(r.a_change(Change::mesures));
    // d = lambda / (2 sin 10 deg), computed here with the exact pi.
    double d20 = 1.5406 / (2 * std::sin(10 * std::numbers::pi / 180));
    char attendu[16];
    std::snprintf(attendu, sizeof attendu, "%8.4f", d20);
    EXPECT_EQ(grille_mesures(et).lignes[1],
              (std::vector<std::string>{" 20.000", attendu, "     100", "1"}));
}

// A fitted peak whose area is edited keeps its fitted angle in full, its fit
// and its as-read angle; the other rows are not read at all.
TEST_F(Grille1, AnEditedAreaTouchesNothingElse) {
    test::mesures(et, {28.44213, 47.30321});
    et.mesures[1].deux_theta_lu = 28.5;
    et.mesures[1].ajustement.etat = EtatAjustement::ajuste;
    et.mesures[2].intensite_mes = 37.6;
    tape(1, 2, "28.442", "55");
    const Mesure& m = et.mesures[1];
    EXPECT_EQ(std::tuple(m.deux_theta_mes, m.deux_theta_lu, m.ajustement.etat, m.intensite_mes),
              std::tuple(28.44213, 28.5, EtatAjustement::ajuste, 55.0));
    EXPECT_EQ(et.mesures[2].intensite_mes, 37.6);
    // A new angle is a new reading: the fit is forgotten; an emptied angle removes.
    tape(1, 0, "28.45");
    EXPECT_EQ(et.mesures[1].deux_theta_lu, 28.45);
    EXPECT_EQ(et.mesures[1].ajustement.etat, EtatAjustement::aucun);
    tape(1, 0, "");
    EXPECT_EQ(angles(et), (std::vector<double>{47.30321}));
}

// Every refusal names its row, and leaves the list, lambda and range as they were.
TEST_F(Grille1, RefusedCellsChangeNothing) {
    test::mesures(et, {25, 40});
    et.lambda = 1.5406;
    struct Cas {
        const char* lambda;
        int ligne, colonne;
        const char *angle, *aire, *message;
        bool theta = false;
    };
    const Cas cas[] = {
        {"0", 1, 0, "20", "", "Type first the wavelength"},
        {"", 1, 0, "20", "", "Type first the wavelength"},
        {"1,54", 1, 0, "20", "", "Error on Lambda"},
        {"11", 1, 0, "20", "", "λ must lie between 0 and 10 Å"},
        {"1.5406", 3, 0, "2O", "", "Error at  row,3"},
        {"1.5406", 3, 0, "30", "lots", "Error at  row,3"},
        {"1.5406", 2, 2, "40", "x", "Error at  row,2"},
        {"1.5406", 2, 0, "999", "", "Row 2: 2θ must lie between 0 and 180 degrees"},
        {"1.5406", 1, 0, "0", "", "Row 1: 2θ must lie between 0 and 180 degrees"},
        {"1.5406", 1, 0, "95", "", "Row 1: θ must lie between 0 and 90 degrees", true},
        {"1.5406", 4, 0, "30", "-1", "Row 4: the area must not be negative"},
        {"1.5406", 1, 2, "25", "-0.5", "Row 1: the area must not be negative"},
    };
    for (const Cas& c : cas) {
        et.mode_affichage = c.theta ? 0 : 1;
        const auto avant = etat_mesures(et);
        d.vide();
        lambda = test::saisie(c.lambda);
        const Rafraichissement r = tape(c.ligne, c.colonne, c.angle, c.aire);
        EXPECT_TRUE(r.echec && r.a_change(Change::mesures)) << c.message; // the list shown again
        EXPECT_EQ(d.erreurs(), std::vector<std::string>{c.message});
        EXPECT_EQ(etat_mesures(et), avant) << c.message;
    }
}

TEST_F(Grille1, MoreThan500RowsAreRefused) {
    for (int i = 0; i < 500; ++i)
        et.mesures.ajoute({10 + i * 0.1, 10 + i * 0.1, 100});
    tape(501, 0, "70");
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Too many measured reflections (>500)"});
    EXPECT_EQ(et.mesures.taille(), 500);
}
