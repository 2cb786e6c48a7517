// Restarts of a diverging refinement, driven through a model of one free value
// whose derivative is deliberately wrong.
#include "../../engine/moteur.h"
#include "dossier_temporaire.h"

#include "commun/fichier_texte.h"

#include <gtest/gtest.h>

using namespace kovrin;
using namespace kovrin::moteur;

namespace {

constexpr int nref = 4;
const float theta_obs[nref] = {0.30f, 0.30f, 0.30f, 0.30f};
const float poids[nref] = {1, 1, 1, 1};
float derivee_annoncee = 0;
MatriceA a;

// theta = x for every reflection; the derivative handed back is derivee_annoncee.
Echec modele_faux(const float* x, MatriceA& m) {
    for (int i = 0; i < nref; ++i) {
        m[i][0] = derivee_annoncee;
        m[i][2] = x[0];
    }
    return Echec::aucun;
}

// x after a run from `depart` handed the derivative `derivee`, which ends without failure.
float ajuste(float derivee, float depart) {
    derivee_annoncee = derivee;
    float x[1] = {depart};
    EXPECT_EQ(moindres_carres(a, nb_max_reflexions, theta_obs, x, 1, nref, poids, limite_cycles,
                              modele_faux)
                  .echec,
              Echec::aucun);
    return x[0];
}

std::vector<std::string> retours(const test::DossierTemporaire& dossier) {
    std::vector<std::string> r;
    for (const auto& l : lit_lignes(dossier / "mouchard"))
        if (l.rfind(" retour", 0) == 0) r.push_back(l);
    return r;
}

TEST(Recommencement, OvershootRestartsWithTheStepTimesPointSeven) {
    test::DossierTemporaire dossier;
    // A derivative five times too small: steps x5, x3.5, x2.45 diverge, x1.715 converges.
    EXPECT_NEAR(ajuste(0.2f, 0.20f), 0.30f, 1e-4f);
    EXPECT_EQ(retours(dossier), (std::vector<std::string>{" retour      0.70", " retour      0.49",
                                                          " retour      0.34"}));
}

TEST(Recommencement, EndlessDivergenceStillEndsWithTheBestValues) {
    test::DossierTemporaire dossier;
    // A derivative of the wrong sign and a thousand times too small: every step
    // goes away from the minimum, by more than 2 % even after thirty restarts.
    EXPECT_EQ(ajuste(-0.001f, 0.25f), 0.25f); // the start is the best cycle ever evaluated
    EXPECT_EQ(retours(dossier).size(), static_cast<std::size_t>(max_recommencements));
}

} // namespace
