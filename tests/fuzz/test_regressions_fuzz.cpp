// Every input the fuzz targets found at fault, replayed through the same
// entries (fuzz/entrees.h): tests/data/fuzz/<target>/<input>. Each must now be
// read or refused with a message, within bounds and without a sanitizer report.
#include "dossier_temporaire.h"
#include "entrees.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kovrin;

TEST(RegressionsFuzz, EveryFindingIsNowReadOrRefusedWithAMessage) {
    const std::filesystem::path racine = std::filesystem::path(KOVRIN_TEST_DATA_DIR) / "fuzz";
    int rejouees = 0;
    for (const auto& dossier_cible : std::filesystem::directory_iterator(racine)) {
        const auto essai = fuzz::essai_de(dossier_cible.path().filename().string());
        ASSERT_NE(essai, nullptr) << dossier_cible.path();
        for (const auto& entree : std::filesystem::directory_iterator(dossier_cible)) {
            test::DossierTemporaire dossier;
            EXPECT_EQ(essai(test::lit_fichier(entree.path())), "") << entree.path();
            ++rejouees;
        }
    }
    EXPECT_GT(rejouees, 0);
}
