// Taking measured-peak files in, and the wavelength dialog for peak data.
#include "cristallo/anodes.h"
#include "dossier_temporaire.h"
#include "fichiers/ecrivains.h"
#include "interface/commande.h"
#include "interface/dialogue_lambda.h"
#include "interface/prise_donnees.h"
#include "outils_interface.h"
#include "saisies.h"

#include <gtest/gtest.h>

using namespace kovrin;

namespace {

class PrisePics : public ::testing::Test {
  protected:
    // A column file taken in through the dialog: `choix` clicked (-1 none),
    // `lambda` typed in the lambda box when given.
    Rafraichissement colonne(std::initializer_list<double> angles, int choix,
                             const std::string& lambda = "") {
        test::ecrit_fichier("pics.prn", test::fichier_colonne(angles));
        ouvre_fichier_pics(et, ep, dialogue, pics_prn, "pics.prn", d);
        EXPECT_TRUE(dialogue.visible);
        if (choix >= 0) clicklistbox(dialogue, choix);
        if (!lambda.empty()) dialogue.lambda = test::saisie(lambda);
        return execute(et, ep, d, [&] { return lit_lambda(et, ep, dialogue, d); });
    }
    test::DossierTemporaire dossier;
    EspaceTravail et;
    EtatPrincipal ep;
    DialogueLambda dialogue;
    DialoguesEnregistres d;
};

} // namespace

TEST(Anodes, NamingFromTheWavelength) {
    EXPECT_EQ(nomme_anode("", 1.5418, tolerance_anode_pics), "Cu");
    EXPECT_EQ(nomme_anode("?", 1.5406, tolerance_anode_pics), "Cu");   // 0.0012 from the mean
    EXPECT_EQ(nomme_anode("?", 1.5350, tolerance_anode_pics), "?");    // 0.0068: not for peaks
    EXPECT_EQ(nomme_anode("?", 1.5350, tolerance_anode_profil), "Cu"); // but for a profile
    EXPECT_EQ(nomme_anode(" Cobalt ", 1.5418, tolerance_anode_pics), "Co");
    ASSERT_NE(anode_de_nom(" cu"), nullptr);
    EXPECT_DOUBLE_EQ(anode_de_nom("MO")->k_alpha2, 0.71359);
}

TEST_F(PrisePics, ColumnFileAsksTheWavelengthFirstThenCuChosenInTheDialog) {
    test::mesures(et, {50});
    ouvre_fichier_pics(et, ep, dialogue, pics_colonne, "any.name", d);
    EXPECT_TRUE(dialogue.visible);
    EXPECT_EQ(et.mesures.taille(), 1); // nothing touched until OK

    auto r = colonne({30.0, 20.0, 40.0}, 1);
    EXPECT_DOUBLE_EQ(et.entete_pics.lambda, 1.5418);
    EXPECT_EQ(et.entete_pics.anode, "Cu");
    // No profile: the working set and both ranges come from the file.
    // The reader's range is from the first and last peaks of the file, in file order.
    EXPECT_DOUBLE_EQ(et.angle_min, 28);
    EXPECT_DOUBLE_EQ(et.angle_max, 42);
    // Sorted for the grid, read angles kept.
    ASSERT_EQ(et.mesures.taille(), 3);
    EXPECT_DOUBLE_EQ(et.mesures[1].deux_theta_mes, 20);
    EXPECT_TRUE(r.a_change(Change::mesures) && r.a_change(Change::plage));
    EXPECT_EQ(titre_mesures(et, ep), "Observed reflections (pics.prn)");
}

TEST_F(PrisePics, DialogBoxesShowTheAnodeAndOtherHidesTheKalphaBoxes) {
    montre_dialogue_lambda(dialogue, lambda_pics);
    clicklistbox(dialogue, 0);
    EXPECT_TRUE(dialogue.lambda_visible && dialogue.k_alpha_visible);
    EXPECT_EQ(texte_boite_lambda(dialogue.lambda1), " 0.70930");
    clicklistbox(dialogue, element_autre);
    EXPECT_FALSE(dialogue.k_alpha_visible);
    EXPECT_EQ(dialogue.anode, "Xx");
    EXPECT_EQ(texte_lambda_travail(dialogue), "The working λ will be the one typed");
    montre_dialogue_lambda(dialogue, lambda_pics); // a new activation starts afresh
    EXPECT_EQ(texte_lambda_travail(dialogue), "");

    // Cu: the weighted mean by default, Kalpha1 when chosen, before or after.
    clicklistbox(dialogue, 1);
    EXPECT_EQ(texte_lambda_travail(dialogue),
              "The working λ will be the weighted mean Kα, 1.5418 Å");
    choisit_k_alpha1(dialogue, true);
    EXPECT_EQ(dialogue.lambda, Saisie::de_valeur(1.54056));
    EXPECT_EQ(texte_lambda_travail(dialogue), "The working λ will be Kα1, 1.54056 Å");
    clicklistbox(dialogue, 0);
    EXPECT_EQ(dialogue.lambda, Saisie::de_valeur(0.7093)) << "Mo Kalpha1";
    choisit_k_alpha1(dialogue, false);
    EXPECT_EQ(dialogue.lambda, Saisie::de_valeur(0.7107)) << "Mo mean";
}

// The boxes are hidden before a choice: OK then takes nothing, and a value
// typed at an earlier intake is not there for the next one.
TEST_F(PrisePics, OkWithoutAChoiceIsRefusedAndNothingHiddenIsReused) {
    colonne({30.0}, element_autre, "1.5");
    EXPECT_DOUBLE_EQ(et.entete_pics.lambda, 1.5);
    colonne({30.0}, -1, "1.5");
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Choose the source in the list"});
    EXPECT_TRUE(dialogue.visible);
    montre_dialogue_lambda(dialogue, lambda_pics);
    EXPECT_TRUE(dialogue.lambda.vide());
    ferme_dialogue_lambda(dialogue);
    EXPECT_FALSE(dialogue.visible);
}

TEST_F(PrisePics, DialogErrorsKeepItOpen) {
    test::ecrit_fichier("pics.prn", test::fichier_colonne({30.0}));
    ouvre_fichier_pics(et, ep, dialogue, pics_prn, "pics.prn", d);
    clicklistbox(dialogue, 1);
    // The boxes lambda, Kalpha1 and Kalpha2 as typed.
    for (const auto& [l, l1, l2] : {std::array{"1.54x", "", ""},
                                    {"", "", ""},
                                    {"1.5418", "one", ""},
                                    {"1.5418", "", "1..5"},
                                    {"15.4", "", ""}}) {
        std::tie(dialogue.lambda, dialogue.lambda1, dialogue.lambda2) =
            std::tuple(test::saisie(l), test::saisie(l1), test::saisie(l2));
        lit_lambda(et, ep, dialogue, d);
    }
    EXPECT_EQ(d.erreurs(),
              (std::vector<std::string>{"Lambda error!", "Lambda error!", "Lambda1 error!",
                                        "Lambda2 error!", "λ must lie between 0 and 10 Å"}));
    dialogue.lambda = test::saisie("1.5418");
    EXPECT_TRUE(dialogue.visible);
    dialogue.lambda2 = test::saisie(""); // empty Kalpha boxes read as 0
    lit_lambda(et, ep, dialogue, d);
    EXPECT_FALSE(dialogue.visible);
    EXPECT_EQ(et.mesures.taille(), 1);
}

TEST_F(PrisePics, DifFileCarriesItsWavelengthAndNeedsNoDialog) {
    EspaceTravail source; // a DIF2 file as the program writes it
    test::mesures(source, {25.0, 35.0});
    ecrit_pics_dif({source.mesures, 1.54056, 18}, "p.dif");
    ouvre_fichier_pics(et, ep, dialogue, pics_dif, "p.dif", d);
    ASSERT_EQ(et.mesures.taille(), 2);
    EXPECT_DOUBLE_EQ(et.entete_pics.lambda, static_cast<double>(1.54056f)); // from Kalpha1
}

TEST_F(PrisePics, NegativeFirstAngleStartsTheCurrentRangeAtZero) {
    colonne({1.0, 10.0}, 1);
    EXPECT_DOUBLE_EQ(et.angle_min, 0);
    EXPECT_DOUBLE_EQ(et.angle_min_initial, -1);
}

TEST_F(PrisePics, ProfileWavelengthWithinOneHundredthIsAcceptedFartherRefused) {
    et.entete_profil.lambda = 1.5406; // a profile read
    et.entete_profil.fichier_profil = "p.raw";
    et.profil.ajoute({10.0f, 5.0f});
    test::domaine(et, 10, 90);
    et.lambda = 1.5406;
    colonne({30.0}, element_autre, "1.5418");
    EXPECT_TRUE(d.journal.empty());
    EXPECT_EQ(et.mesures.taille(), 1);
    EXPECT_DOUBLE_EQ(et.lambda, 1.5406); // the profile keeps the working wavelength

    et.selection.ajoute({1, 0, 0, 20.0f, 20.0f});
    auto r = colonne({30.0, 40.0}, element_autre, "1.5600");
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{message_lambdas_differentes});
    EXPECT_TRUE(r.echec);
    // The refused file leaves the list and the pairs as they were.
    EXPECT_EQ(et.mesures.taille(), 1);
    EXPECT_EQ(et.selection.taille(), 1);
}

TEST_F(PrisePics, UnreadableFileLeavesTheWorkspaceAsItWas) {
    colonne({30.0, 40.0}, 1);
    et.selection.ajoute({1, 0, 0, 30.0f, 30.0f});
    EntetePics avant = et.entete_pics;
    test::ecrit_fichier("bad.prn", "30.0\r\nthirty\r\n");
    ouvre_fichier_pics(et, ep, dialogue, pics_prn, "bad.prn", d);
    clicklistbox(dialogue, 0);
    auto r = lit_lambda(et, ep, dialogue, d);
    EXPECT_EQ(d.erreurs().size(), 1u);
    EXPECT_EQ(et.mesures.taille(), 2);
    EXPECT_DOUBLE_EQ(et.entete_pics.lambda, avant.lambda);
    EXPECT_TRUE(r.echec);
}
