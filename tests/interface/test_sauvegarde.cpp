// The save sequences of peaks, profiles and cells: the file's name, the
// overwrite question, what is kept in the workspace, and the refusals when
// there is nothing to save.
#include "dossier_temporaire.h"
#include "interface/commandes_fichiers.h"
#include "interface/commandes_maille.h"
#include "interface/sauvegarde.h"
#include "outils_interface.h"
#include "saisies.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace kovrin;

namespace {

struct Sauvegardes : ::testing::Test {
    test::DossierTemporaire dossier;
    DialoguesEnregistres d;
};

EspaceTravail espace_avec_profil(int n) {
    EspaceTravail et;
    for (int i = 0; i < n; ++i)
        et.profil.ajoute({static_cast<float>(10 + 0.02 * i), static_cast<float>(i * 20)});
    return et;
}

} // namespace

TEST_F(Sauvegardes, SauvegardePeaksNameExtensionAndInformation) {
    EspaceTravail et;
    et.lambda = 1.5406;
    test::mesures(et, {28.442, 47.302});
    EXPECT_EQ(sauvegarde(et, Sauvegarde::pics_dif, "test", d), "test.dif");
    EXPECT_EQ(d.textes(),
              std::vector<std::string>{"The peak positions were saved in the file test.dif"});
    d.vide();
    EXPECT_EQ(sauvegarde(et, Sauvegarde::pics_colonne, "list.prn.old", d), "list.prn.old");
}

TEST_F(Sauvegardes, SauvegardeOverwriteQuestion) {
    EspaceTravail et = espace_avec_profil(5);
    test::ecrit_fichier("p.cpi", "keep");
    d.reponse = Reponse::annuler;
    EXPECT_FALSE(sauvegarde(et, Sauvegarde::profil_cpi, "p", d));
    EXPECT_EQ(test::lit_fichier("p.cpi"), "keep");
    EXPECT_EQ(d.textes(),
              std::vector<std::string>{"This file already exists. Do you want to continue?"});
    d.vide();
    d.reponse = Reponse::oui;
    EXPECT_EQ(sauvegarde(et, Sauvegarde::profil_cpi, "p", d), "p.cpi");
    d.vide();
    EXPECT_EQ(sauvegarde(et, Sauvegarde::profil_raw, "p", d), "p.raw");
}

TEST_F(Sauvegardes, SauvegardeNothingToSave) {
    EspaceTravail et;
    for (auto s : {Sauvegarde::pics_dif, Sauvegarde::pics_dif_fenetre, Sauvegarde::profil_raw})
        EXPECT_FALSE(sauvegarde(et, s, "a", d)) << static_cast<int>(s);
    EXPECT_EQ(d.erreurs(), (std::vector<std::string>{"No measured reflection angles!",
                                                     "No measurement!", "No pattern!"}));
    d.vide();
    et.profil.ajoute({10, 5});
    EXPECT_FALSE(sauvegarde(et, Sauvegarde::profil_cpi, "a", d));
    EXPECT_FALSE(sauvegarde(et, Sauvegarde::profil_raw, "a", d));
    EXPECT_EQ(d.erreurs(), (std::vector<std::string>(
                               2, "A pattern of one point has no step: it cannot be saved.")));
    EXPECT_TRUE(std::filesystem::is_empty(dossier.chemin()));
}

TEST_F(Sauvegardes, CellFileNameOverwriteQuestionAndRefusal) {
    EspaceTravail et;
    et.ligne_titre = "Silicon NBS";
    et.systeme = "CUBI";
    EtatPrincipal ep;
    ep.maille =
        test::onglet_tape({"5.431", "5.431", "5.431", "90", "90", "90"}, "1.5406", "10", "80");
    ChoixFichierEnregistre choix;
    choix.reponse = "mycell.cry.bak"; // an extension anywhere in the name is kept
    auto r = sauve_maille(et, ep, choix, d);
    EXPECT_TRUE(r.a_change(Change::calculees));
    EXPECT_EQ(titre_table(et, ep), "Calculated pattern (mycell.cry.bak)");
    EXPECT_EQ(et.fichier_maille, "mycell.cry.bak");

    // No at the overwrite question leaves the file untouched.
    test::ecrit_fichier("old.cry", "keep");
    choix.reponse = "old";
    d.reponse = Reponse::non;
    EXPECT_EQ(sauve_maille(et, ep, choix, d).changes, 0u);
    EXPECT_EQ(test::lit_fichier("old.cry"), "keep");

    d.vide();
    ep.maille.cellule[4] = test::saisie("0");
    choix.reponse = "zero";
    EXPECT_TRUE(sauve_maille(et, ep, choix, d).echec);
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"No cell parameters!"});
}

// Each save opens the dialog on its own format's filter, from either window.
TEST_F(Sauvegardes, EachSaveOffersItsOwnFilter) {
    EspaceTravail et = espace_avec_profil(5);
    test::mesures(et, {28.442, 47.302});
    const std::pair<Sauvegarde, const char*> cas[] = {{Sauvegarde::pics_dif, "*.dif"},
                                                      {Sauvegarde::pics_colonne, "*.prn"},
                                                      {Sauvegarde::profil_raw, "*.raw"},
                                                      {Sauvegarde::profil_cpi, "*.cpi"}};
    for (bool fenetre_profil : {false, true})
        for (const auto& [s, motif] : cas) {
            ChoixFichierEnregistre choix; // no name given: nothing is written
            sauve(et, s, choix, d, fenetre_profil);
            ASSERT_EQ(choix.demandes.size(), 1u);
            std::istringstream filtre(choix.demandes[0].filtre);
            std::vector<std::string> morceaux; // caption, pattern, caption, ...
            for (std::string m; std::getline(filtre, m, '|');)
                morceaux.push_back(m);
            const auto motif_choisi = static_cast<std::size_t>(2 * choix.demandes[0].index - 1);
            ASSERT_LT(motif_choisi, morceaux.size());
            EXPECT_EQ(morceaux[motif_choisi], motif) << fenetre_profil;
        }
    EXPECT_TRUE(std::filesystem::is_empty(dossier.chemin()));
}
