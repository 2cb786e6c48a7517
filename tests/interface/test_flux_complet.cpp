// The main job end to end through the core procedures, without a window: a
// column peak file written from a known monoclinic cell (P 1 21/c 1, five free
// parameters, reflection conditions the bundled examples do not exercise) with
// a zero shift of 0.03 degree, the wavelength given in the dialog, the cell and
// group typed, "Calc.", automatic selection, refinement, new start from the
// refined values, restoration.
#include "affinement/affinement.h"
#include "dossier_temporaire.h"
#include "groupes_test.h"
#include "interface/commandes.h"
#include "interface/commandes_affinement.h"
#include "interface/dialogue_lambda.h"
#include "interface/prise_donnees.h"
#include "interface/selection.h"

#include <gemmi/unitcell.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

using namespace kovrin;

namespace {

constexpr double lambda_vrai = 1.5406, zero_vrai = 0.03;
const std::array<double, 6> vraie = {5.001, 6.002, 7.003, 90, 100.05, 90};

double deux_theta(int h, int k, int l) {
    const gemmi::UnitCell cellule(vraie[0], vraie[1], vraie[2], vraie[3], vraie[4], vraie[5]);
    const double q = cellule.calculate_1_d2({h, k, l});
    return 2 * std::asin(lambda_vrai * std::sqrt(q) / 2) * 180 / std::numbers::pi;
}

// P 1 21/c 1: h 0 l needs l even, 0 k 0 needs k even.
bool permise(int h, int k, int l) {
    return !(k == 0 && l % 2 != 0) && !(h == 0 && l == 0 && k % 2 != 0);
}

// True angles of the allowed reflections between 15 and 70 degrees that no
// other spacing (allowed or not) comes within 0.3 degree of, so that pairing
// is unambiguous.
std::vector<double> pics_isoles() {
    std::vector<std::pair<double, bool>> toutes; // angle, allowed
    for (int h = -12; h <= 12; ++h)
        for (int k = -12; k <= 12; ++k)
            for (int l = -12; l <= 12; ++l)
                if ((h || k || l) && std::isfinite(deux_theta(h, k, l)))
                    toutes.push_back({deux_theta(h, k, l), permise(h, k, l)});
    std::vector<double> pics;
    for (const auto& [angle, autorisee] : toutes) {
        bool isole = autorisee && angle > 15 && angle < 70;
        for (const auto& [autre, _] : toutes)
            isole = isole && !(std::fabs(autre - angle) > 1e-6 && std::fabs(autre - angle) < 0.3);
        for (double x : pics)
            isole = isole && std::fabs(x - angle) > 1e-6;
        if (isole) pics.push_back(angle);
    }
    std::sort(pics.begin(), pics.end());
    return pics;
}

std::string fichier_pics(const std::vector<double>& vrais) {
    std::string texte;
    char ligne[64];
    for (double a : vrais) {
        std::snprintf(ligne, sizeof ligne, "%10.5f  %8.1f\r\n", a + zero_vrai, 100.0);
        texte += ligne;
    }
    return texte;
}

} // namespace

TEST(FluxComplet, MonoclinicUniqueAxisB) {
    test::DossierTemporaire dossier;
    EspaceTravail et;
    DialogueLambda dialogue;
    DialoguesEnregistres d;
    const std::vector<double> vrais = pics_isoles();
    ASSERT_GE(vrais.size(), 8u);
    test::ecrit_fichier("phase.prn", fichier_pics(vrais));

    // Tab 1: the file, then the wavelength as the dialog gives it.
    ouvre_fichier_pics(et, dialogue, pics_prn, "phase.prn", d);
    ASSERT_TRUE(dialogue.visible);
    clicklistbox(dialogue, element_autre);
    dialogue.lambda = "1.5406";
    Rafraichissement r = lit_lambda(et, dialogue, d);
    ASSERT_EQ(et.mesures.taille(), static_cast<int>(vrais.size()));
    ASSERT_TRUE(r.valeurs_courantes);

    // Tab 2: system, group and cell typed; the current values as the panel shows them.
    EtatPrincipal ep;
    OngletMaille& onglet = ep.maille;
    test::choisit_groupe(et, onglet, 5, "P21/c");
    onglet.cellule = {"5.000", "6.000", "7.000", "90", "100.0", "90"};
    onglet.lambda = r.valeurs_courantes->lambda;
    onglet.theta_min = r.valeurs_courantes->angle1;
    onglet.theta_max = r.valeurs_courantes->angle2;
    calcul_diagramme(et, onglet, d);
    ASSERT_TRUE(d.erreurs().empty()) << d.erreurs().front();
    configure_champs(et, onglet); // entering a cell field marks what the system frees

    // Tab 3 and 4.
    selection_automatique(et, ep, "0.1", d);
    ASSERT_EQ(et.selection.taille(), et.mesures.taille());
    ChampsAffinement champs{onglet.lambda, "0", marques_affinement(onglet)};
    champs.a_affiner[rang_decalage] = true;
    lance_affinement(et, champs, ep.affinement, d);
    ASSERT_TRUE(et.affinement_ok) << (d.erreurs().empty() ? "" : d.erreurs().front());
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_NEAR(et.maille_affinee[i], vraie[i], i < 3 ? 1e-4 : 2e-3) << i;
    EXPECT_NEAR(et.decalage, zero_vrai, 0.002);

    // New start from the refined values, then back to the angles as read.
    change_param(et, ep, d);
    for (const Mesure& m : et.mesures)
        EXPECT_NEAR(m.deux_theta_mes, m.deux_theta_lu - zero_vrai, 0.002);
    const RaieCalculee& premiere = et.calculees[1];
    EXPECT_NEAR(premiere.deux_theta, deux_theta(premiere.h, premiere.k, premiere.l), 2e-3);
    resto_param(et, ep, d);
    EXPECT_EQ(et.maille, et.maille_initiale);
    for (const Mesure& m : et.mesures)
        EXPECT_EQ(m.deux_theta_mes, m.deux_theta_lu);
    EXPECT_TRUE(d.erreurs().empty());
}
