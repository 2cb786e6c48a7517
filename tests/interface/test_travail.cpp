// The job's steps give what the dialogs give: the wavelength of a source
// chosen in the wavelength dialog, a profile completed without the dialog.
#include "dossier_temporaire.h"
#include "interface/commande.h"
#include "interface/dialogue_lambda.h"
#include "interface/travail.h"
#include "outils_interface.h"
#include "saisies.h"

#include <gtest/gtest.h>

using namespace kovrin;

namespace {

// What a peak intake leaves: the working wavelength, the anode, Kalpha1 and Kalpha2.
using Prise = std::tuple<double, std::string, double, double>;

// A column file taken in, source `element` clicked in the wavelength dialog or
// given to the job's step; for "Other", 1.5405929 typed in the lambda box or given.
Prise prise(int element, bool par_le_dialogue) {
    EspaceTravail et;
    EtatPrincipal ep;
    DialoguesEnregistres d;
    const bool autre = element == element_autre;
    if (par_le_dialogue) {
        DialogueLambda dialogue;
        ouvre_fichier_pics(et, ep, dialogue, pics_prn, "pics.prn", d);
        clicklistbox(dialogue, element);
        if (autre) dialogue.lambda = test::saisie("1.5405929");
        lit_lambda(et, ep, dialogue, d);
    } else {
        const auto lambda = autre ? std::optional(1.5405929) : std::nullopt;
        prend_fichier(et, ep, "pics.prn", GenreFichier::pics, 0,
                      longueurs_onde_source(element, lambda), d);
    }
    EXPECT_TRUE(d.journal.empty());
    return {et.lambda, et.entete_pics.anode, et.entete_pics.lambda1, et.entete_pics.lambda2};
}

} // namespace

TEST(Travail, TheSourceGivesWhatTheDialogGivesForEveryEntryOfItsList) {
    test::DossierTemporaire dossier;
    test::ecrit_fichier("pics.prn", test::fichier_colonne({28.44, 47.30}));
    for (int element = 0; element <= element_autre; ++element)
        EXPECT_EQ(prise(element, false), prise(element, true)) << element;
}

TEST(Travail, AFileWithoutWavelengthIsRefusedWithoutASourceAndLeavesTheWorkspace) {
    test::DossierTemporaire dossier;
    test::ecrit_fichier(
        "p.cpi", test::fichier_cpi(20, 20.8, 0.1, "", 0, {10, 20, 40, 30, 50, 20, 10, 5, 0}));
    test::ecrit_fichier("pics.prn", test::fichier_colonne({20.3}));
    EspaceTravail et;
    EtatPrincipal ep;
    DialoguesEnregistres d;
    const auto prend = [&](const char* fichier, GenreFichier genre,
                           std::optional<LongueursOnde> source) {
        return execute(et, ep, d,
                       [&] { return prend_fichier(et, ep, fichier, genre, 0, source, d); });
    };
    EXPECT_TRUE(prend("p.cpi", GenreFichier::profil, std::nullopt).echec);
    EXPECT_TRUE(prend("pics.prn", GenreFichier::pics, std::nullopt).echec);
    EXPECT_EQ(d.erreurs(), (std::vector<std::string>{"p.cpi carries no wavelength",
                                                     "pics.prn carries no wavelength"}));
    EXPECT_TRUE(et.profil.vide() && et.entete_profil.fichier_profil.empty() && et.mesures.vide());
    // "Other" with a wavelength: the profile's anode is named Xx, as the dialog names it.
    EXPECT_FALSE(
        prend("p.cpi", GenreFichier::profil, longueurs_onde_source(element_autre, 1.5406)).echec);
    EXPECT_EQ(et.entete_profil.anode, "Xx");
    EXPECT_DOUBLE_EQ(et.lambda, 1.5406);
    EXPECT_EQ(et.profil.taille(), 9);
}
