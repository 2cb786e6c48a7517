// The refinement workflow through the real engine and the cell tab: refine,
// take the refined values as the new start, refine again, restore.
#include "affinement/affinement.h"
#include "affinement/export_excel.h"
#include "cas_affinement.h"
#include "commun/fichier_texte.h"
#include "commun/nombres.h"
#include "cristallo/raies.h"
#include "dossier_temporaire.h"

#include <gtest/gtest.h>

#include <sstream>

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
        om.cellule = {"3.99", "3.99", "3.99", "90", "90", "90"};
        om.lambda = "1.5406";
        om.theta_min = "10";
        om.theta_max = "80";
        ASSERT_TRUE(calcul_raies(e, om, d));
        ASSERT_EQ(e.calculees.taille(), 10); // 100 110 111 200 210 211 220 300 310 311
        for (const RaieCalculee& c : e.calculees)
            ajoute_mesure(e, deux_theta_orthogonal(4, 4, 4, c.h, c.k, c.l, lambda_cu) + 0.03);
        apparie();
        champs.lambda_initial = "1.5406";
        champs.decalage_initial = "0";
        champs.a_affiner[rang_decalage] = champs.a_affiner[rang_a] = true;
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
    OngletMaille om;
    OngletAffinement onglet;
    ChampsAffinement champs;
    DialoguesEnregistres d;
};

std::vector<double> champs_nombres(const std::string& ligne) {
    std::vector<double> r;
    std::istringstream flux(ligne);
    for (std::string mot; std::getline(flux, mot, '\t');)
        if (auto x = lit_reel(mot.substr(mot.find_first_not_of(' ') == std::string::npos
                                             ? mot.size()
                                             : mot.find_first_not_of(' '))))
            r.push_back(*x);
    return r;
}

} // namespace

TEST_F(Parcours, RefineFoldTheShiftRefineAgainRestore) {
    lance_affinement(e, champs, onglet, d);
    ASSERT_TRUE(d.erreurs().empty()) << d.erreurs().front();
    ASSERT_TRUE(e.affinement_ok);
    EXPECT_NEAR(e.maille_affinee[0], 4.0, 1e-4);
    EXPECT_NEAR(e.decalage, 0.03, 0.002);

    // The export reads the engine's real listing.
    ecrit_export(e, ListeExport::courte);
    auto x = lit_lignes("Excel.txt");
    ASSERT_EQ(x.size(), 15u + 10u);
    auto final_ = champs_nombres(x[10]);
    ASSERT_EQ(final_.size(), 8u);
    EXPECT_NEAR(final_[0], e.decalage, 1e-5);
    EXPECT_NEAR(final_[2], e.maille_affinee[0], 1e-4);
    EXPECT_EQ(x[1].substr(0, 30), " Number of reflections     :  ");
    for (std::size_t i = 15; i < x.size(); ++i)
        EXPECT_NEAR(champs_nombres(x[i])[6], 0, 0.002) << x[i]; // 2T-Zero minus 2Th(Cal)

    Rafraichissement r = change_param(e, om, onglet, d);
    EXPECT_TRUE(e.selection.vide());
    EXPECT_EQ(onglet.initial[rang_decalage], "0");
    EXPECT_EQ(e.decalage, 0.0);
    EXPECT_NEAR(e.maille[0], 4.0, 1e-4);
    EXPECT_EQ(om.cellule[0], "  4.0000");
    for (const Mesure& m : e.mesures)
        EXPECT_NEAR(m.deux_theta_mes, m.deux_theta_lu - 0.03, 0.002);
    // The reflections follow the new cell.
    EXPECT_NEAR(e.calculees[1].deux_theta, deux_theta_orthogonal(4, 4, 4, 1, 0, 0, lambda_cu),
                2e-3);
    EXPECT_TRUE(r.active_onglet_affinement);
    EXPECT_TRUE(r.tableau_calcule.has_value());

    apparie();
    lance_affinement(e, champs, onglet, d);
    ASSERT_TRUE(e.affinement_ok);
    EXPECT_NEAR(e.decalage, 0.0, 0.002);
    EXPECT_NEAR(e.maille_affinee[0], 4.0, 1e-4);

    resto_param(e, om, onglet, d);
    EXPECT_EQ(e.maille, (std::array<double, 6>{3.99, 3.99, 3.99, 90, 90, 90}));
    for (const Mesure& m : e.mesures)
        EXPECT_EQ(m.deux_theta_mes, m.deux_theta_lu);
    EXPECT_TRUE(e.selection.vide());
    EXPECT_EQ(e.decalage, 0.0);
    EXPECT_FALSE(e.affinement_ok);
}

TEST_F(Parcours, ChangeParamFoldsAZeroShiftOf002) {
    moteur_simule = {};
    moteur_simule.parametres_affines = {0.02f, 1.5406f, 4.0f, 4.0f, 4.0f, 90, 90, 90};
    moteur_simule.theta_calcules.assign(10, 20.0f);
    lance_affinement(e, champs, onglet, d, calcul_simule);
    ASSERT_TRUE(e.affinement_ok);
    onglet.affine[rang_a] = "   4.0000";
    change_param(e, om, onglet, d);
    for (const Mesure& m : e.mesures)
        EXPECT_NEAR(m.deux_theta_mes, m.deux_theta_lu - 0.02, 1e-6);
    EXPECT_TRUE(e.selection.vide());
    EXPECT_EQ(onglet.initial[rang_decalage], "0");
    EXPECT_EQ(onglet.affine[rang_a], "");
    EXPECT_FALSE(onglet.boutons_resultats);
    EXPECT_EQ(e.maille[0], 4.0);
    EXPECT_EQ(e.deux_theta_corrige[1], 0.0f);
}

TEST_F(Parcours, ChangeParamInEccentricityModeScalesWithCosTheta) {
    e.mode_decalage = 2;
    moteur_simule = {};
    moteur_simule.parametres_affines = {0.5f, 1.5406f, 4.0f, 4.0f, 4.0f, 90, 90, 90};
    moteur_simule.theta_calcules.assign(10, 20.0f);
    lance_affinement(e, champs, onglet, d, calcul_simule);
    change_param(e, om, onglet, d);
    for (const Mesure& m : e.mesures)
        EXPECT_NEAR(m.deux_theta_mes,
                    m.deux_theta_lu - 0.5 * std::cos(m.deux_theta_lu / 2 * pi / 180), 1e-5);
}

TEST_F(Parcours, ChangeParamNeedsPairsAndAResultOfThem) {
    onglet.boutons_resultats = true;
    change_param(e, om, onglet, d); // pairs but no refinement yet
    EXPECT_FALSE(onglet.boutons_resultats);
    EXPECT_EQ(e.selection.taille(), 10);
    EXPECT_EQ(e.maille[0], 3.99);

    moteur_simule = {};
    moteur_simule.parametres_affines = {0.02f, 1.5406f, 4.0f, 4.0f, 4.0f, 90, 90, 90};
    lance_affinement(e, champs, onglet, d, calcul_simule);
    change_param(e, om, onglet, d);
    ASSERT_TRUE(e.selection.vide());
    apparie();
    // New pairs, no new refinement: the shift already folded is not folded again.
    auto corriges = e.mesures;
    change_param(e, om, onglet, d);
    EXPECT_EQ(e.selection.taille(), 10);
    for (int j = 1; j <= e.mesures.taille(); ++j)
        EXPECT_EQ(e.mesures[j].deux_theta_mes, corriges[j].deux_theta_mes);
}

TEST_F(Parcours, RestoreAfterTwoChangesKeepsTheRefinedWavelength) {
    champs.a_affiner[rang_lambda] = true;
    moteur_simule = {};
    moteur_simule.parametres_affines = {0.02f, 1.5410f, 4.001f, 4.001f, 4.001f, 90, 90, 90};
    lance_affinement(e, champs, onglet, d, calcul_simule);
    change_param(e, om, onglet, d);
    apparie();
    moteur_simule.parametres_affines = {0.01f, 1.5412f, 4.002f, 4.002f, 4.002f, 90, 90, 90};
    champs.lambda_initial = " 1.54100";
    lance_affinement(e, champs, onglet, d, calcul_simule);
    change_param(e, om, onglet, d);
    EXPECT_NEAR(e.maille[0], 4.002, 1e-9);
    EXPECT_NEAR(e.mesures[1].deux_theta_mes, e.mesures[1].deux_theta_lu - 0.03, 1e-6);

    resto_param(e, om, onglet, d);
    for (const Mesure& m : e.mesures)
        EXPECT_EQ(m.deux_theta_mes, m.deux_theta_lu);
    EXPECT_EQ(e.maille, (std::array<double, 6>{3.99, 3.99, 3.99, 90, 90, 90}));
    EXPECT_NEAR(e.lambda, 1.5412, 1e-6);
    EXPECT_EQ(om.lambda, " 1.54120");
    EXPECT_EQ(onglet.initial[rang_decalage], "0");
    EXPECT_TRUE(d.erreurs().empty());
}
