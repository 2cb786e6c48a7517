// The listing kovrin.out, line by line, and the shorter listings of the failures.
#include "appel_calcul.h"
#include "dossier_temporaire.h"

#include "commun/fichier_texte.h"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

using namespace kovrin;
using namespace kovrin::test;

namespace {

// '#' in the golden file stands for a character the refinement decides.
bool ligne_conforme(const std::string& attendue, const std::string& lue) {
    if (attendue.size() != lue.size()) return false;
    for (std::size_t i = 0; i < attendue.size(); ++i)
        if (attendue[i] != '#' && attendue[i] != lue[i]) return false;
    return true;
}

// Tetragonal a = b = 0.602 A with c = 1234.5 A (too wide for F8.4), fixed zero
// -0.0123 deg (F7.5 drops the leading 0), lambda 0.5 A, three reflections.
Appel petit_cas() {
    Appel appel;
    appel.titre("Hand-checked listing, Nref = 3");
    appel.lettre = 'T';
    const Maille vraie{0.602, 0.602, 1234.5, 90, 90, 90};
    for (auto [h, k, l] : {std::array{1, 0, 0}, {1, 1, 0}, {2, 0, 0}})
        appel.ajoute(h, k, l, deux_theta(vraie, 0.5, h, k, l) - 0.0123);
    appel.cellule({0.605, 0.605, 1234.5, 90, 90, 90});
    appel.parametres[0] = -0.0123f;
    appel.parametres[1] = 0.5f;
    appel.drapeaux[2] = 1;
    return appel;
}

std::vector<std::string> listing(const DossierTemporaire& dossier) {
    return lit_lignes(dossier / "kovrin.out");
}

TEST(Listing, SmallCaseMatchesTheHandWrittenFileLineByLine) {
    DossierTemporaire dossier;
    Appel appel = petit_cas();
    ASSERT_EQ(appel.lance(), "Fin normale");
    // Every line ends in CR LF.
    const std::string octets = lit_fichier(dossier / "kovrin.out");
    EXPECT_EQ(std::count(octets.begin(), octets.end(), '\r'),
              std::count(octets.begin(), octets.end(), '\n'));
    auto attendu = lit_lignes(std::string(KOVRIN_TEST_DATA_DIR) + "/engine/petit_cas.out");
    auto lu = listing(dossier);
    ASSERT_EQ(attendu.size(), 35u);
    ASSERT_EQ(lu.size(), attendu.size());
    for (std::size_t i = 0; i < lu.size(); ++i)
        EXPECT_TRUE(ligne_conforme(attendu[i], lu[i]))
            << "line " << i + 1 << "\n expected: " << attendu[i] << "\n written:  " << lu[i];
    // With Nref = 3 the first agreement line is line 33.
    EXPECT_EQ(lu[32].rfind("Sqrt(Sum(Th O-C)**2)/(Nref-Npar)) = ", 0), 0u);
    EXPECT_LT(appel.accord, 4e-5f);
    // Argument 9: calculated theta in degrees, without the angular term.
    EXPECT_NEAR(appel.angles[0], 49.07420262 / 2, 1e-4);
    EXPECT_NEAR(appel.angles[2], 112.31359752 / 2, 1e-4);
    EXPECT_EQ(appel.lettre, 'Q');
}

TEST(Listing, TitleOfFiftyCharactersWholeLongerOnesCutEmptyOneEmpty) {
    const std::string cinquante(50, 'x');
    for (const auto& [titre, ligne] : {std::pair{cinquante, cinquante},
                                       {cinquante + "0123456789", cinquante},
                                       {std::string(), std::string()}}) {
        DossierTemporaire dossier;
        Appel appel = petit_cas();
        appel.titre(titre);
        ASSERT_EQ(appel.lance(), "Fin normale");
        EXPECT_EQ(listing(dossier)[1], ligne);
    }
}

TEST(Listing, AllEightFlaggedIsRefusedAndLeavesTheParameters) {
    DossierTemporaire dossier;
    Appel appel = petit_cas();
    for (int i = 0; i < 4; ++i) // enough reflections for eight parameters
        appel.ajoute(2, 1, 0, 100 + i);
    appel.drapeaux.fill(1);
    ecrit_fichier(dossier / "mouchard", "trace of an earlier call\r\n");
    auto avant = appel.parametres;
    EXPECT_EQ(appel.lance(), "On ne peut affiner tous les parametres en meme temps");
    EXPECT_EQ(appel.parametres, avant);
    auto lu = listing(dossier);
    ASSERT_EQ(lu.size(), 19u);
    EXPECT_EQ(lu[15], " Number of refinement cycles       :     0");
    EXPECT_EQ(lu[18], "##### On ne peut affiner tous les parametres en meme temps");
    EXPECT_EQ(lit_fichier(dossier / "mouchard"), "");
}

TEST(Listing, NoFlaggedParameterFailsTheInversionAndKeepsLinesOneToSeventeen) {
    DossierTemporaire dossier;
    Appel appel = petit_cas();
    appel.drapeaux.fill(0); // nothing to refine
    EXPECT_EQ(appel.lance(), "erreur dans matinv CHOLESKI");
    auto lu = listing(dossier);
    ASSERT_EQ(lu.size(), 17u);
    EXPECT_EQ(lu[9], "-.01230  0.50000  0.6050  0.6050********  90.00  90.00  90.00");
}

TEST(Listing, TraceHoldsEveryCycleBeforeItsFigure) {
    DossierTemporaire dossier;
    Appel appel = petit_cas();
    ASSERT_EQ(appel.lance(), "Fin normale");
    auto trace = lit_lignes(dossier / "mouchard");
    // Per cycle: the free value, one line per reflection, then "RX100 =".
    ASSERT_GE(trace.size(), 5u);
    EXPECT_EQ(trace[0], "   1.65289"); // a* of the start cell
    // theta obs and calc (start cell, with the zero term), degrees by 57.2957.
    EXPECT_NEAR(std::stod(trace[1].substr(0, 10)), 24.5309171, 2e-5);
    EXPECT_EQ(trace[4].rfind("RX100 =", 0), 0u);
    EXPECT_EQ(trace[4].substr(17), " cycle   1");
    // Its figure: 100 x the root sum of the squared obs - calc over the
    // degrees of freedom (3 reflections, 1 free value).
    double somme = 0;
    for (int i = 1; i <= 3; ++i) {
        const double ecart = std::stod(trace[i].substr(0, 10)) - std::stod(trace[i].substr(10));
        somme += ecart * ecart;
    }
    EXPECT_NEAR(std::stod(trace[4].substr(7, 10)), 100 * std::sqrt(somme) / 2, 1e-3);
}

} // namespace
