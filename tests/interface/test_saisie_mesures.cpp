// The measured grid of tab 1: its texts and the reading back of typed rows.
#include "interface/saisie_mesures.h"
#include "outils_interface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace kovrin;

namespace {

// A grid of `n` rows as the window hands it over: column 0 angle, column 2 area.
Grille saisie(std::initializer_list<std::pair<std::string, std::string>> lignes, int n = 20) {
    Grille g{n, {{"2Theta", "Dhkl", "Area", "Nb."}}};
    for (const auto& [angle, aire] : lignes)
        g.lignes.push_back({angle, "", aire, ""});
    while (static_cast<int>(g.lignes.size()) < n)
        g.lignes.push_back({"", "", "", ""});
    return g;
}

std::vector<double> angles(const EspaceTravail& et) {
    std::vector<double> a;
    for (const Mesure& m : et.mesures)
        a.push_back(m.deux_theta_mes);
    return a;
}

} // namespace

TEST(SaisieMesures, TypedRowsAreSortedNumberedAndGiveTheRange) {
    EspaceTravail et;
    DialoguesEnregistres d;
    auto r = theta_to_dhkl(et, saisie({{"60", "50"}, {"", ""}, {" 20 ", ""}}), "1.5406", d);
    EXPECT_EQ(angles(et), (std::vector<double>{20, 60}));
    EXPECT_DOUBLE_EQ(et.mesures[1].intensite_mes, 100); // empty area reads as 100
    EXPECT_DOUBLE_EQ(et.mesures[2].intensite_mes, 50);
    EXPECT_DOUBLE_EQ(et.angle_max, 62);

    ASSERT_TRUE(r.grille_mesures);
    const Grille& g = *r.grille_mesures;
    // d = lambda / (2 sin 10 deg), computed here with the exact pi.
    double d20 = 1.5406 / (2 * std::sin(10 * std::numbers::pi / 180));
    char attendu[16];
    std::snprintf(attendu, sizeof attendu, "%8.4f", d20);
    EXPECT_EQ(g.lignes[1], (std::vector<std::string>{" 20.000", attendu, "     100", "1"}));
}

TEST(SaisieMesures, WavelengthMessages) {
    EspaceTravail et;
    test::mesures(et, {25});
    // An empty edit reads as 0; the rows read so far: none.
    for (auto [lambda, message] : {std::pair{"0", "Type first the wavelength"},
                                   {"", "Type first the wavelength"},
                                   {"1,54", "Error on Lambda"}}) {
        DialoguesEnregistres d;
        auto r = theta_to_dhkl(et, saisie({{"20", ""}}), lambda, d);
        EXPECT_EQ(d.erreurs(), std::vector<std::string>{message}) << lambda;
        EXPECT_EQ(et.mesures.taille(), 0);
    }
}

TEST(SaisieMesures, BadCellNamesItsRowAndKeepsTheRowsReadSoFar) {
    EspaceTravail et;
    test::domaine(et, 5, 50);
    DialoguesEnregistres d;
    auto r = theta_to_dhkl(et, saisie({{"30", ""}, {"", ""}, {"2O", ""}}), "1.5406", d);
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Error at  row,3"});
    EXPECT_EQ(angles(et), (std::vector<double>{30}));
    d.vide();
    theta_to_dhkl(et, saisie({{"30", ""}, {"40", "lots"}}), "1.5406", d);
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Error at  row,2"});
}

TEST(SaisieMesures, MoreThan500RowsAreRefused) {
    EspaceTravail et;
    DialoguesEnregistres d;
    Grille g{503, {{"2Theta", "Dhkl", "Area", "Nb."}}};
    for (int i = 0; i < 502; ++i)
        g.lignes.push_back({std::to_string(10 + i * 0.1), "", "", ""});
    theta_to_dhkl(et, g, "1.5406", d);
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Too many measured reflections (>500)"});
    EXPECT_EQ(et.mesures.taille(), 500);
}
