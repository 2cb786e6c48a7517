// Peak positions fitted on synthetic doublets whose positions, widths and
// ratio are known, with fixed-seed Poisson noise.
#include "interface/commandes_profil.h"
#include "profil/ajustement_pics.h"
#include "profil_synthetique.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kovrin;
using namespace kovrin::test;

namespace {

// A measured peak where a search would put it: at the intensity-weighted
// middle of an unresolved doublet, here also 0.01 degree off.
void ajoute_pic(EspaceTravail& e, const DoubletSynthetique& d) {
    const double milieu =
        (d.position + rapport_cu * position_alpha2(d.position)) / (1 + rapport_cu);
    e.mesures.ajoute({milieu + 0.01, milieu + 0.01, 50});
}

} // namespace

TEST(AjustementPics, DoubletsOnASlopingBackgroundComeBackWithin0002DegreeAnd3Sigmas) {
    // Two isolated doublets, then two whose windows overlap (0.25 degree apart,
    // their Kalpha2 lines between them), fitted together.
    // Peaks of a few thousand counts over 40 to 60, as a laboratory pattern has.
    const std::vector<DoubletSynthetique> doublets = {{30.0, 0.12, 0.3, 400},
                                                      {52.37, 0.15, 0.6, 300},
                                                      {75.10, 0.18, 0.5, 700},
                                                      {75.35, 0.18, 0.5, 500}};
    EspaceTravail e;
    profil_doublets(e, 25, 0.01, 5600, doublets, 1234);
    for (const DoubletSynthetique& d : doublets)
        ajoute_pic(e, d);
    // A peak the search took for a Kalpha2 companion goes: the doublet models it.
    e.mesures.ajoute({position_alpha2(30.0), 0, 0, raie_k_alpha2});
    DialoguesEnregistres d;
    EtatPrincipal ep;
    EtatFenetreProfil etat;
    const Rafraichissement r = fit_peak_positions(e, ep, etat, d);

    ASSERT_EQ(e.mesures.taille(), 4);
    for (int j = 1; j <= 4; ++j) {
        const Mesure& m = e.mesures[j];
        const DoubletSynthetique& vrai = doublets[static_cast<std::size_t>(j - 1)];
        ASSERT_EQ(m.ajustement.etat, EtatAjustement::ajuste) << vrai.position;
        const double ecart = m.deux_theta_mes - vrai.position;
        EXPECT_LT(std::fabs(ecart), 0.002)
            << vrai.position << " sigma " << m.ajustement.sigma_deux_theta;
        EXPECT_LT(std::fabs(ecart), 3 * m.ajustement.sigma_deux_theta) << vrai.position;
        EXPECT_NEAR(m.ajustement.aire, vrai.aire, 0.1 * vrai.aire) << vrai.position;
    }
    // Every position now refers to Kalpha1: so does the working wavelength.
    EXPECT_EQ(e.lambda, lambda1_cu);
    EXPECT_EQ(d.textes(), std::vector<std::string>{"Peak positions now refer to K alpha1: the "
                                                   "working wavelength becomes lambda1 = 1.54060"});
    EXPECT_TRUE(r.a_change(Change::mesures));
    EXPECT_EQ(grille_pics(e).grille.lignes[1].back(), "fitted");
}

TEST(AjustementPics, AFitThatFailsOrWandersKeepsThePeakWhereItWasAndMarksIt) {
    // One doublet, and a "peak" on bare background 2 degrees away from it.
    EspaceTravail e;
    profil_doublets(e, 25, 0.01, 1500, {{30.0, 0.12, 0.3, 60}}, 99);
    ajoute_pic(e, {30.0, 0.12, 0.3, 60});
    e.mesures.ajoute({35.0, 35.0});
    e.mesures.ajoute({60.0, 60.0}); // beyond the profile: not fitted at all
    const BilanAjustement b = ajuste_positions(e);

    EXPECT_EQ(b.ajustes, 1);
    EXPECT_EQ(e.mesures[2].deux_theta_mes, 35.0);
    EXPECT_NE(e.mesures[2].ajustement.etat, EtatAjustement::ajuste);
    EXPECT_EQ(e.mesures[3].deux_theta_mes, 60.0);
    // Read without a doublet, the profile has no Kalpha2: a peak marked so stays.
    e.entete_profil.lambda2 = 0;
    e.mesures[2].code_raie = raie_k_alpha2;
    EXPECT_FALSE(ajuste_positions(e).doublet);
    EXPECT_EQ(e.mesures.taille(), 3);
}

// The standard error a fit gives a position is the scatter of the positions
// fitted on independent noise draws of the same doublet.
TEST(AjustementPics, TheStandardErrorOfAPositionIsItsScatterOverNoiseDraws) {
    const DoubletSynthetique vrai{40.0, 0.15, 0.2, 150};
    const int n = 40;
    double somme = 0, carres = 0, sigmas = 0;
    for (unsigned graine = 1; graine <= n; ++graine) {
        EspaceTravail e;
        profil_doublets(e, 38, 0.01, 500, {vrai}, graine);
        ajoute_pic(e, vrai);
        ASSERT_EQ(ajuste_positions(e).ajustes, 1) << graine;
        const double ecart = e.mesures[1].deux_theta_mes - vrai.position;
        somme += ecart, carres += ecart * ecart, sigmas += e.mesures[1].ajustement.sigma_deux_theta;
    }
    // The sample deviation of 40 draws is itself uncertain by about 11 %.
    const double dispersion = std::sqrt((carres - somme * somme / n) / (n - 1));
    EXPECT_NEAR(sigmas / n, dispersion, 0.25 * dispersion);
}
