// Profile intake, "Change", the wavelength of the refinement tab, the erase
// commands, "Calc." and the display mode.
#include "commun/texte.h"
#include "dossier_temporaire.h"
#include "interface/commande.h"
#include "interface/commandes.h"
#include "interface/commandes_affinement.h"
#include "interface/dialogue_lambda.h"
#include "interface/prise_donnees.h"
#include "interface/selection.h"
#include "outils_interface.h"
#include "saisies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kovrin;

namespace {

class Commandes : public ::testing::Test {
  protected:
    Rafraichissement cpi(const std::string& nom, const std::string& anode, double lambda) {
        test::ecrit_fichier(nom, test::fichier_cpi(20, 20.8, 0.1, anode, lambda,
                                                   {10, 20, 40, 30, 50, 20, 10, 5, 0}));
        return execute(et, ep, d,
                       [&] { return prend_fichier_profil(et, dialogue, profil_raw, nom, d); });
    }
    test::DossierTemporaire dossier;
    EspaceTravail et;
    EtatPrincipal ep;
    DialogueLambda dialogue;
    DialoguesEnregistres d;
};

} // namespace

TEST(FormatProfil, TheLastExtensionFoundInTheNameWins) {
    EXPECT_EQ(format_profil_de_nom("a.raw", profil_cpi), profil_raw);
    EXPECT_EQ(format_profil_de_nom("a.rd", profil_raw), profil_rd);
    EXPECT_EQ(format_profil_de_nom("x.dat.cpi", profil_raw), profil_cpi);
    EXPECT_EQ(format_profil_de_nom("x.cpi.rd", profil_raw), profil_cpi); // ".rd" is tested first
}

TEST_F(Commandes, ProfileWithAnodeTakesTheWorkingSet) {
    auto r = cpi("p.cpi", "Cu", 1.5406);
    EXPECT_EQ(et.entete_profil.anode, "Cu");
    EXPECT_DOUBLE_EQ(et.lambda, 1.5406);
    EXPECT_TRUE(r.a_change(Change::fichiers) && panneau_profil_visible(et));
}

TEST_F(Commandes, ProfileAgainstThePeaksWavelength) {
    et.entete_pics.lambda = 1.5418;
    et.lambda = 1.5418;
    test::mesures(et, {20.3});
    auto r = cpi("near.cpi", "Cu", 1.5406);
    EXPECT_DOUBLE_EQ(et.lambda, 1.5418); // the peaks keep the working set
    r = cpi("far.cpi", "Cu", 1.5600);
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{message_lambdas_differentes});
    EXPECT_TRUE(r.echec);
    EXPECT_EQ(et.entete_profil.fichier_profil, "near.cpi"); // the refused profile is not taken
}

TEST_F(Commandes, ProfileWithoutWavelengthAsksForItOtherNamesTheAnodeXx) {
    cpi("p.cpi", "", 0);
    EXPECT_TRUE(dialogue.visible);
    clicklistbox(dialogue, element_autre);
    dialogue.lambda = test::saisie("1.5406");
    lit_lambda(et, ep, dialogue, d);
    EXPECT_EQ(et.entete_profil.anode, "Xx");
    EXPECT_DOUBLE_EQ(et.lambda, 1.5406);
}

TEST_F(Commandes, ProfileDialogStaysOpenOnADifferentWavelengthAndAveragesKalphaForLambdaZero) {
    test::mesures(et, {20.3});
    et.entete_pics.lambda = 1.5418;
    cpi("p.cpi", "", 0);
    clicklistbox(dialogue, 0); // Mo
    lit_lambda(et, ep, dialogue, d);
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{message_lambdas_differentes});
    clicklistbox(dialogue, 1); // Cu
    dialogue.lambda = test::saisie("0");
    lit_lambda(et, ep, dialogue, d);
    EXPECT_DOUBLE_EQ(et.entete_profil.lambda, (1.54056 + 0.5 * 1.54439) / 1.5);
}

TEST_F(Commandes, EraseAll) {
    cpi("p.cpi", "Cu", 1.5406);
    test::mesures(et, {20.3});
    et.entete_pics = {"p.prn", 5, "s", "Cu", 1.5406, 1.54056, 1.54439, 0.5, 18, 30, 0};
    test::calculees(et, {{1, 0, 0, 20.3f}});
    et.fichier_maille = "c.cry";
    et.selection.ajoute({1, 0, 0, 20.3f, 20.3f});
    et.anode = "Cu";
    ep.boutons_pics = true;
    auto r = raze_tout(et, ep);
    EXPECT_TRUE(et.mesures.vide() && et.profil.vide() && et.calculees.vide() &&
                et.selection.vide());
    EXPECT_EQ((std::array{et.lambda, et.lambda1, et.angle_min, et.angle_max_initial,
                          et.entete_pics.lambda, et.entete_profil.lambda2}),
              (std::array<double, 6>{}));
    EXPECT_EQ((std::array{et.anode, et.entete_pics.anode, et.entete_profil.anode,
                          et.entete_pics.fichier_pics, et.entete_profil.fichier_profil,
                          et.fichier_maille}),
              (std::array<std::string, 6>{}));
    EXPECT_FALSE(panneau_pics_visible(et) || panneau_profil_visible(et));
    EXPECT_TRUE(ep.maille.lambda.vide()); // the lambda box emptied with the list
    EXPECT_TRUE(ep.boutons_pics);         // the buttons, once shown, stay
    EXPECT_TRUE(r.a_change(Change::mesures) && r.a_change(Change::plage));
}

TEST_F(Commandes, ErasePeaksCellAndTheTabButtons) {
    test::mesures(et, {20.3});
    et.entete_pics.lambda = 1.5;
    et.entete_pics.fichier_pics = "x.prn";
    test::calculees(et, {{1, 0, 0, 20.3f}});
    et.selection.ajoute({1, 0, 0, 20.3f, 20.3f});
    rase_raies_indx(et);
    EXPECT_TRUE(et.calculees.vide());
    EXPECT_EQ(et.selection.taille(), 1); // the tab-2 button leaves the pairs
    rase_dif(et, ep);
    EXPECT_TRUE(et.mesures.vide());
    erase_peak(et, ep);
    EXPECT_TRUE(et.selection.vide());
    EXPECT_EQ(et.entete_pics.lambda, 0);
    test::calculees(et, {{1, 0, 0, 20.3f}});
    et.selection.ajoute({1, 0, 0, 20.3f, 20.3f});
    et.fichier_maille = "c.cry";
    erase_indx(et, ep);
    EXPECT_TRUE(et.calculees.vide() && et.selection.vide());
}

TEST_F(Commandes, ChangeLeavesTheWorkspaceAloneWithoutWavelengthOnAMessageOrWhenRefused) {
    test::domaine(et, 10, 80);
    OngletMaille onglet = test::onglet_tape({"", "", "", "", "", ""}, "1.5406", "20", "30");
    relit_theta_range(et, onglet, d); // no working wavelength yet: a beep
    EXPECT_EQ(d.nb_bips(), 1);
    et.lambda = 1.5;
    // Texts that are no numbers, then values outside their domains.
    for (auto [champ, texte] : {std::pair{&onglet.lambda, "1,5"},
                                {&onglet.theta_min, "2O"},
                                {&onglet.theta_max, "x"},
                                {&onglet.lambda, "-1.5"},
                                {&onglet.theta_max, "200"}}) {
        const Saisie avant = *champ;
        *champ = test::saisie(texte);
        relit_theta_range(et, onglet, d);
        *champ = avant;
    }
    const char* const plage = "the range must run from a smaller to a larger angle between 0 "
                              "and 180 degrees 2θ";
    EXPECT_EQ(d.erreurs(), (std::vector<std::string>{"Error at lambda", "Error at Theta Min.",
                                                     "Error at Theta Max.",
                                                     "λ must lie between 0 and 10 Å", plage}));
    d.reponse = Reponse::non;
    relit_theta_range(et, onglet, d);
    EXPECT_EQ(et.lambda, 1.5);
    EXPECT_EQ(et.angle_max, 80);
}

TEST_F(Commandes, ChangeKeepsThePeaksAndPointsOfTheNewRange) {
    cpi("p.cpi", "Cu", 1.5406); // 20.0 ... 20.8, largest at 20.4
    test::mesures(et, {20.05, 20.2, 20.35, 20.6});
    et.entete_pics = {"typed", 0, "", "", 1.5406, 0, 0, 0, 18, 22, 0};
    et.mode_affichage = 0; // the range is typed in theta
    OngletMaille onglet = test::onglet_tape({"", "", "", "", "", ""}, "1.5406", "10.05", "10.2");
    auto r = relit_theta_range(et, onglet, d);
    EXPECT_DOUBLE_EQ(et.angle_min, 20.1);
    ASSERT_EQ(et.mesures.taille(), 2);
    // Points 20.1 ... 20.4 (raw 20, 40, 30, 50) scaled again: 20 -> 0, 50 -> 100.
    ASSERT_EQ(et.profil.taille(), 4);
    EXPECT_NEAR(et.profil[2].intensite, 100.0f * 20 / 30, 1e-3);
    EXPECT_TRUE(r.a_change(Change::plage) && r.a_change(Change::mesures));
}

namespace {

// Cubic P m -3 m, a = 4, lambda 1.5406, 10 ... 60 degrees, chosen as the
// window does: the click in the list "System", then the click on the symbol.
OngletMaille onglet_cubique(EspaceTravail& et) {
    OngletMaille onglet = test::onglet_tape({"4", "4", "4", "90", "90", "90"});
    onglet.systeme_choisi = 0;
    change_systeme(et, onglet, 0);
    const auto& entrees = et.liste_hm.entrees;
    const auto pm3m = std::find_if(entrees.begin(), entrees.end(),
                                   [](const std::string& e) { return sans_blancs(e) == "Pm-3m"; });
    EXPECT_NE(pm3m, entrees.end()) << "Pm-3m is not offered";
    et.liste_hm.selection = static_cast<int>(pm3m - entrees.begin());
    et.groupe = "PM-3M";
    et.origine_groupe = "HM";
    return onglet;
}

} // namespace

TEST_F(Commandes, CalcEmptiesTheSelectionKeepsTheCellAndGenerates) {
    ep.maille = onglet_cubique(et);
    et.selection.ajoute({1, 0, 0, 22.0f, 22.0f});
    ep.raies_masquees = true;
    auto r = execute(et, ep, d, [&] { return calcul_diagramme(et, ep, d); });
    EXPECT_TRUE(et.selection.vide());
    EXPECT_FALSE(ep.raies_masquees);
    ASSERT_TRUE(r.a_change(Change::plage)); // what "Calc." used shows in "Current values"
    EXPECT_EQ(texte_angle_domaine(ep.maille.theta_max), "   60.00");
    EXPECT_EQ(et.calculees[1].h + et.calculees[1].k + et.calculees[1].l, 1);
    // 2theta of d = 4 at 1.5406: 2 asin(1.5406 / 8).
    double attendu = 2 * std::asin(1.5406 / 8) * 180 / 3.141592653589793;
    EXPECT_NEAR(et.calculees[1].deux_theta, attendu, 2e-3);
}

TEST_F(Commandes, NewWavelengthOnTheRefinementTabMovesEveryPair) {
    ep.maille = onglet_cubique(et);
    calcul_diagramme(et, ep, d);
    test::mesures(et, {22.25, 31.7});
    ep.tolerance = test::saisie("0.2");
    selection_automatique(et, ep, d);
    ASSERT_EQ(et.selection.taille(), 2);
    auto r = change_lambda_affi(et, ep, test::saisie(" 1.54060"), d); // same value: nothing
    EXPECT_FALSE(r.active_onglet);
    r = change_lambda_affi(et, ep, test::saisie("1.4"), d);
    EXPECT_DOUBLE_EQ(et.lambda, 1.4);
    double attendu = 2 * std::asin(1.4 / 8) * 180 / 3.141592653589793;
    EXPECT_NEAR(et.selection[1].deux_theta_cal, attendu, 2e-3);
    EXPECT_TRUE(r.a_change(Change::resultats) && r.active_onglet == onglet_affinement);
    EXPECT_EQ(ep.affinement.initial[rang_lambda], " 1.40000");
    change_lambda_affi(et, ep, test::saisie("1.4x"), d);
    change_lambda_affi(et, ep, test::saisie("12"), d);
    EXPECT_EQ(d.erreurs(),
              (std::vector<std::string>{"Error on Lambda!", "λ must lie between 0 and 10 Å"}));
    EXPECT_DOUBLE_EQ(et.lambda, 1.4);
}
