// The main job end to end through the core procedures, without a window: a
// column peak file written from a known cell with a zero shift of 0.03 degree,
// the wavelength given in the dialog, the cell and group typed, "Calc.",
// automatic selection, refinement, new start from the refined values,
// restoration. A monoclinic phase, whose five parameters and
// reflection conditions the bundled examples do not exercise.
#include "affinement/affinement.h"
#include "dossier_temporaire.h"
#include "groupes_test.h"
#include "interface/commandes.h"
#include "interface/commandes_affinement.h"
#include "interface/dialogue_lambda.h"
#include "interface/prise_donnees.h"
#include "interface/selection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

using namespace kovrin;

namespace {

constexpr double lambda_vrai = 1.5406;
constexpr double zero_vrai = 0.03;

struct Phase {
    int ligne_systeme;
    std::string groupe;
    std::array<double, 6> maille;             // the truth
    std::array<std::string, 6> maille_depart; // typed on the cell tab
    std::function<double(int, int, int)> inverse_d2;
    std::function<bool(int, int, int)> permise; // reflection conditions of the group
    double debut, fin;                          // degrees 2theta of the written peaks
};

double deux_theta(double inverse_d2) {
    return 2 * std::asin(lambda_vrai * std::sqrt(inverse_d2) / 2) * 180 / std::numbers::pi;
}

// True angles of the allowed reflections of the range that no other spacing
// (allowed or not) comes within 0.3 degree of, so that pairing is unambiguous.
std::vector<double> pics_isoles(const Phase& p) {
    std::vector<std::pair<double, bool>> toutes; // angle, allowed
    for (int h = -12; h <= 12; ++h)
        for (int k = -12; k <= 12; ++k)
            for (int l = -12; l <= 12; ++l) {
                double q = p.inverse_d2(h, k, l);
                if ((h || k || l) && lambda_vrai * std::sqrt(q) / 2 < 1)
                    toutes.push_back({deux_theta(q), p.permise(h, k, l)});
            }
    std::vector<double> pics;
    for (const auto& [angle, permise] : toutes) {
        if (!permise || angle < p.debut || angle > p.fin) continue;
        bool isole = true;
        for (const auto& [autre, _] : toutes)
            if (std::fabs(autre - angle) > 1e-6 && std::fabs(autre - angle) < 0.3) isole = false;
        bool deja = false;
        for (double x : pics)
            deja = deja || std::fabs(x - angle) < 1e-6;
        if (isole && !deja) pics.push_back(angle);
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

void verifie_maille(const EspaceTravail& et, const Phase& p) {
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(et.maille_affinee[i], p.maille[i], 1e-4) << "length " << i;
    for (std::size_t i = 3; i < 6; ++i)
        EXPECT_NEAR(et.maille_affinee[i], p.maille[i], 2e-3) << "angle " << i;
}

void flux_complet(const Phase& p) {
    test::DossierTemporaire dossier;
    EspaceTravail et;
    DialogueLambda dialogue;
    DialoguesEnregistres d;
    std::vector<double> vrais = pics_isoles(p);
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
    OngletAffinement& onglet_affinement = ep.affinement;
    test::choisit_groupe(et, onglet, p.ligne_systeme, p.groupe);
    onglet.cellule = p.maille_depart;
    onglet.lambda = r.valeurs_courantes->lambda;
    onglet.theta_min = r.valeurs_courantes->angle1;
    onglet.theta_max = r.valeurs_courantes->angle2;
    calcul_diagramme(et, onglet, d);
    ASSERT_TRUE(d.erreurs().empty()) << d.erreurs().front();
    ASSERT_FALSE(et.calculees.vide());
    configure_champs(et, onglet); // entering a cell field marks what the system frees

    // Tab 3 and 4.
    selection_automatique(et, ep, "0.1", d);
    ASSERT_EQ(et.selection.taille(), et.mesures.taille());
    ChampsAffinement champs{onglet.lambda, "0", marques_affinement(onglet)};
    champs.a_affiner[rang_decalage] = true;
    lance_affinement(et, champs, onglet_affinement, d);
    ASSERT_TRUE(et.affinement_ok) << (d.erreurs().empty() ? "" : d.erreurs().front());
    verifie_maille(et, p);
    EXPECT_NEAR(et.decalage, zero_vrai, 0.002);

    // New start from the refined values, then back to the angles as read.
    change_param(et, ep, d);
    for (const Mesure& m : et.mesures)
        EXPECT_NEAR(m.deux_theta_mes, m.deux_theta_lu - zero_vrai, 0.002);
    const RaieCalculee& premiere = et.calculees[1];
    EXPECT_NEAR(premiere.deux_theta, deux_theta(p.inverse_d2(premiere.h, premiere.k, premiere.l)),
                2e-3);
    resto_param(et, ep, d);
    EXPECT_EQ(et.maille, et.maille_initiale);
    for (const Mesure& m : et.mesures)
        EXPECT_EQ(m.deux_theta_mes, m.deux_theta_lu);
    EXPECT_TRUE(d.erreurs().empty());
}

bool pair(int n) {
    return n % 2 == 0;
}

} // namespace

TEST(FluxComplet, MonoclinicUniqueAxisB) {
    const double a = 5.001, b = 6.002, c = 7.003, beta = 100.05;
    const double sb = std::sin(beta * std::numbers::pi / 180);
    const double cb = std::cos(beta * std::numbers::pi / 180);
    // P 1 21/c 1: h 0 l needs l even, 0 k 0 needs k even.
    flux_complet({5,
                  "P21/c",
                  {a, b, c, 90, beta, 90},
                  {"5.000", "6.000", "7.000", "90", "100.0", "90"},
                  [=](int h, int k, int l) {
                      return (h * h / (a * a) + k * k * sb * sb / (b * b) + l * l / (c * c) -
                              2 * h * l * cb / (a * c)) /
                             (sb * sb);
                  },
                  [](int h, int k, int l) {
                      if (k == 0 && !pair(l)) return false;
                      return !(h == 0 && l == 0 && !pair(k));
                  },
                  15,
                  70});
}
