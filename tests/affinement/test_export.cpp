// Excel.txt built from kovrin.out and the pairs; the "No results" cases.
#include "affinement/affinement.h"
#include "affinement/export_excel.h"
#include "cas_affinement.h"
#include "commun/fichier_texte.h"
#include "dossier_temporaire.h"

#include <gtest/gtest.h>

using namespace kovrin;
using namespace kovrin::test;

namespace {

class Export : public ::testing::Test {
  protected:
    void SetUp() override {
        reponse_orthorhombique();
        lance_affinement(e, champs_orthorhombiques(), onglet, d, calcul_simule);
        ASSERT_TRUE(e.affinement_ok);
        std::filesystem::copy_file(donnees("kovrin.out"), "kovrin.out");
    }
    DossierTemporaire dossier;
    EspaceTravail e = espace_orthorhombique();
    OngletAffinement onglet;
    DialoguesEnregistres d;
};

} // namespace

// In the long list the measured reflection at 27.5, in no pair, has a row that
// holds only its angle.
TEST_F(Export, BothListsMatchTheHandWrittenFiles) {
    for (auto [liste, fichier] : {std::pair{ListeExport::courte, "Excel_court.txt"},
                                  {ListeExport::longue, "Excel_long.txt"}}) {
        SCOPED_TRACE(fichier);
        ecrit_export(e, liste);
        compare_lignes("Excel.txt", donnees(fichier));
        // One byte, Windows code page.
        EXPECT_NE(lit_fichier("Excel.txt").find("\te/R(\xB0)\t"), std::string::npos);
    }
}

TEST_F(Export, AgreementLinesAreFoundAfterThePairsWereDropped) {
    // Taking the refined values as the new start empties the selection; the
    // listing of the last refinement still places its agreement lines itself.
    auto attendu = lit_lignes(donnees("Excel_court.txt"));
    e.selection.efface();
    ecrit_export(e, ListeExport::courte);
    auto ecrit = lit_lignes("Excel.txt");
    ASSERT_EQ(ecrit.size(), 15u); // no reflection rows without pairs
    EXPECT_EQ(ecrit[5], attendu[5]);
}

TEST_F(Export, ListingThatEndsEarlyGivesZerosAndEmptyLines) {
    // A failed inversion leaves the first 17 lines of the listing only.
    auto lignes = lit_lignes("kovrin.out");
    lignes.resize(17);
    ecrit_lignes("kovrin.out", lignes);
    ecrit_export(e, ListeExport::courte);
    auto x = lit_lignes("Excel.txt");
    EXPECT_EQ(x[3], "");
    EXPECT_EQ(x[10], "Final\t 0.00000\t 0.00000\t  0.0000\t  0.0000\t  0.0000\t   0.000\t   0.000\t"
                     "   0.000\t");
    EXPECT_EQ(x[9].substr(0, 17), "Initial\t 0.01000\t");
}

TEST(ExportSansListing, NoResultsEverywhere) {
    DossierTemporaire dossier;
    EspaceTravail e;
    DialoguesEnregistres d;
    ouvre_listing(e, ListeExport::courte, d);
    EXPECT_FALSE(resultats_presents(e, d));
    EXPECT_FALSE(texte_export(e, ListeExport::courte, d).has_value());
    EXPECT_EQ(d.erreurs(), (std::vector<std::string>{"No results", "No results", "No results"}));
}
