// Launching a refinement: the checks and their messages, what is sent to the
// engine, kovrin.inp, and what the workspace keeps afterwards.
#include "affinement/affinement.h"
#include "cas_affinement.h"
#include "commun/fichier_texte.h"
#include "dossier_temporaire.h"
#include "interface/commandes_affinement.h"
#include "saisies.h"

#include <gtest/gtest.h>

using namespace kovrin;
using namespace kovrin::test;

namespace {

// A cubic phase (a = 4 A): pairs of 1 0 0, 1 1 0 and 1 1 1 placed exactly.
EspaceTravail espace_cubique(int nb_paires = 3) {
    EspaceTravail e;
    e.systeme = "CUBI";
    e.maille = {3.9, 3.9, 3.9, 90, 90, 90};
    e.lambda = 1.5406;
    const int hkl[5][3] = {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {2, 0, 0}, {2, 1, 0}};
    for (int i = 0; i < nb_paires; ++i) {
        double tt = deux_theta_orthogonal(4, 4, 4, hkl[i][0], hkl[i][1], hkl[i][2], 1.5406);
        ajoute_paire(e, hkl[i][0], hkl[i][1], hkl[i][2], tt, tt);
    }
    return e;
}

class Lancement : public ::testing::Test {
  protected:
    void SetUp() override {
        reponse_cubique(0.02f, 1.5406f, 4.0f);
        moteur_simule.erreurs = {0.001f, 0, 0.0002f, 0.0002f, 0.0002f, 0, 0, 0};
        moteur_simule.theta_calcules = {11.1f, 15.8f, 19.5f};
    }
    bool lance(EspaceTravail& e, const std::vector<int>& rangs) {
        return lance_affinement(e, champs_affinement(rangs), onglet, d, calcul_simule);
    }
    DossierTemporaire dossier;
    DialoguesEnregistres d;
    OngletAffinement onglet;
};

} // namespace

TEST_F(Lancement, EachRefusalHasItsMessageAndSendsNothing) {
    struct Refus {
        int nb_paires;
        const char *systeme, *lambda, *decalage, *message;
    };
    const Refus cas[] = {
        {0, "CUBI", "1.5406", "0", "No selected reflections!"},
        {3, "CUBI", "1,5406", "0", "Error on Lambda!"},
        {3, "CUBI", "0", "0", "Error on Lambda!"},
        {3, "CUBI", "inf", "0", "Error on Lambda!"},
        {3, "CUBI", "1.5406", "999", "Error on Angular Shift!"},
        {3, "CUBI", "1.5406", "0.0x", "Error on Angular Shift!"},
        {3, "", "1.5406", "0", "No system!"},
    };
    for (const Refus& r : cas) {
        SCOPED_TRACE(r.message + std::string(" ") + r.lambda);
        EspaceTravail e = espace_cubique(r.nb_paires);
        e.systeme = r.systeme;
        auto c = champs_affinement({rang_a});
        c.lambda_initial = test::saisie(r.lambda);
        c.decalage_initial = test::saisie(r.decalage);
        d.vide();
        lance_affinement(e, c, onglet, d, calcul_simule);
        EXPECT_EQ(d.erreurs(), std::vector<std::string>{r.message});
    }
    EXPECT_EQ(moteur_simule.nb_appels, 0);
}

// Lambda with every free cell length: one factor on them all leaves the
// angles alone; refused before the engine. A length left fixed separates them.
TEST_F(Lancement, LambdaWithEveryFreeCellLengthIsRefused) {
    const std::string lies = "λ and the cell lengths cannot be refined together: one factor on "
                             "them all leaves every angle unchanged. Untick λ or a cell length.";
    struct Cas {
        const char* systeme;
        std::vector<int> rangs;
        bool refuse;
    };
    const Cas cas[] = {{"CUBI", {rang_lambda, rang_a}, true},
                       {"TETR", {rang_lambda, rang_a}, false},
                       {"TETR", {rang_lambda, rang_a, rang_c}, true},
                       {"ORTH", {rang_lambda, rang_a, rang_b}, false},
                       {"MONO", {rang_lambda, rang_a, rang_b, rang_c}, true},
                       {"CUBI", {rang_a}, false}};
    for (const Cas& c : cas) {
        EspaceTravail e = espace_cubique(5);
        e.systeme = c.systeme;
        d.vide();
        lance(e, c.rangs);
        EXPECT_EQ(d.a_dit(lies), c.refuse) << c.systeme << " " << c.rangs.size();
    }
}

TEST_F(Lancement, ThreePairsCarryTwoParametersButNotThree) {
    EspaceTravail e = espace_cubique(3);
    e.systeme = "ORTH";
    lance(e, {rang_decalage, rang_a, rang_b});
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Nb of selected reflections too low"});

    d.vide();
    EXPECT_TRUE(lance(e, {rang_decalage, rang_a}));
}

TEST_F(Lancement, CubicStartValueIsTheMeanOfDTimesRootOfHklSquares) {
    EspaceTravail e = espace_cubique(2);
    // A third pair measured as if a were 4.1: the mean is (4 + 4 + 4.1) / 3.
    double tt = deux_theta_orthogonal(4.1, 4.1, 4.1, 1, 1, 1, 1.5406);
    ajoute_paire(e, 1, 1, 1, tt, tt);
    lance(e, {rang_a});
    ASSERT_EQ(moteur_simule.nb_appels, 1);
    for (int i : {2, 3, 4})
        EXPECT_NEAR(moteur_simule.parametres[static_cast<std::size_t>(i)], 12.1 / 3, 1e-4) << i;

    // Without the mark of a, the typed cell goes out as it is.
    lance(e, {rang_decalage});
    EXPECT_FLOAT_EQ(moteur_simule.parametres[rang_a], 3.9f);
}

TEST_F(Lancement, EccentricityIsAskedOnlyWhenTheShiftIsRefined) {
    EspaceTravail e = espace_cubique(4);
    e.mode_decalage = 2;
    lance(e, {rang_a});
    EXPECT_EQ(moteur_simule.drapeaux[rang_decalage], 0.0f);
    lance(e, {rang_decalage, rang_a});
    EXPECT_EQ(moteur_simule.drapeaux[rang_decalage], -1.0f);
    e.mode_decalage = 1;
    lance(e, {rang_decalage, rang_a});
    EXPECT_EQ(moteur_simule.drapeaux[rang_decalage], 1.0f);
}

TEST_F(Lancement, WhatTheEngineReceives) {
    EspaceTravail e = espace_cubique(3);
    auto c = champs_affinement({rang_decalage, rang_lambda});
    c.lambda_initial = test::saisie(" 1.54180"); // the box's own padded text
    c.decalage_initial = test::saisie("-.02");
    lance_affinement(e, c, onglet, d, calcul_simule);
    ASSERT_EQ(moteur_simule.nb_appels, 1);
    EXPECT_FLOAT_EQ(moteur_simule.parametres[rang_decalage], -0.02f);
    EXPECT_EQ(moteur_simule.drapeaux, (std::array<float, 8>{1, 1, 0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(moteur_simule.reflexions.size(), 3u);
    EXPECT_EQ(moteur_simule.reflexions[1],
              (std::array{1.0f, 1.0f, 0.0f, e.selection[2].deux_theta_obs}));
    EXPECT_DOUBLE_EQ(e.lambda, 1.5418); // the wavelength typed becomes the working one
}

TEST_F(Lancement, SuccessStoresCellShiftAndCorrectedAngles) {
    EspaceTravail e = espace_cubique(3);
    lance(e, {rang_decalage, rang_a});
    EXPECT_FLOAT_EQ(static_cast<float>(e.decalage), 0.02f);
    EXPECT_EQ(e.maille_affinee, (std::array<double, 6>{4, 4, 4, 90, 90, 90}));
    for (int i = 1; i <= 3; ++i)
        EXPECT_FLOAT_EQ(e.deux_theta_corrige[static_cast<std::size_t>(i)],
                        e.selection[i].deux_theta_obs - 0.02f);

    // Eccentricity: the term shrinks with cos(theta).
    e.mode_decalage = 2;
    moteur_simule.parametres_affines[0] = 0.5f;
    lance(e, {rang_decalage, rang_a});
    for (int i = 1; i <= 3; ++i) {
        double obs = e.selection[i].deux_theta_obs;
        double theta = obs / 2 * pi / 180;
        EXPECT_NEAR(e.deux_theta_corrige[static_cast<std::size_t>(i)], obs - 0.5 * std::cos(theta),
                    2e-5);
    }
}

TEST_F(Lancement, EngineFailureSaysDllErrorAndKeepsTheEarlierResult) {
    EspaceTravail e = espace_cubique(3);
    lance(e, {rang_decalage, rang_a});
    ASSERT_TRUE(e.affinement_ok);
    auto avant = onglet;
    auto corrige = e.deux_theta_corrige;

    moteur_simule.statut = "erreur dans matinv CHOLESKI";
    moteur_simule.parametres_affines = {9, 9, 9, 9, 9, 9, 9, 9};
    auto c = champs_affinement({rang_decalage, rang_a});
    c.lambda_initial = test::saisie("1.6");
    EXPECT_FALSE(lance_affinement(e, c, onglet, d, calcul_simule));
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"DLL error"});
    EXPECT_FALSE(e.affinement_ok);
    EXPECT_EQ(e.deux_theta_corrige, corrige);
    EXPECT_EQ(onglet.affine, avant.affine);
}

TEST_F(Lancement, RecordFileMatchesTheHandWrittenOne) {
    EspaceTravail e = espace_orthorhombique();
    reponse_orthorhombique();
    lance_affinement(e, champs_orthorhombiques(), onglet, d, calcul_simule);
    ASSERT_TRUE(d.erreurs().empty());
    ASSERT_EQ(lit_lignes("kovrin.inp").size(), 510u);
    compare_lignes("kovrin.inp", donnees("kovrin.inp"));
    EXPECT_TRUE(lit_fichier("kovrin.inp").ends_with("\r\n"));
}
