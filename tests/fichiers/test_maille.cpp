#include "commun/texte.h"
#include "fabrique.h"
#include "fichiers/fichiers_maille.h"

using namespace kovrin;
using test::Textes;

namespace {

EspaceTravail espace_avec_maille() {
    EspaceTravail et;
    et.ligne_titre = "Silicon NBS";
    et.systeme = "CUBI";
    et.groupe = "FD-3M";
    et.maille = {5.431, 5.431, 5.431, 90, 90, 90};
    return et;
}

struct FichiersMaille : test::DansDossier {};

} // namespace

TEST_F(FichiersMaille, CryLayoutAndReadBack) {
    EspaceTravail et = espace_avec_maille();
    ecrit_maille_cry("mycell.cry", {et.ligne_titre, et.systeme, et.groupe, et.maille});
    EXPECT_EQ(test::lit_fichier("mycell.cry"),
              "Silicon NBS\r\nCUBI\r\nFD-3M\r\n    5.4310    5.4310    5.4310   90.0000   90.0000"
              "   90.0000\r\n");
    auto lu = lit_fichier(lit_maille_kovrin, "mycell.cry");
    ASSERT_TRUE(lu);
    EXPECT_EQ(lu->maille, et.maille);
    // Written by hand with single blanks and LF ends: read the same.
    auto main_lu = lit(lit_maille_kovrin, "hand.cry",
                       "Silicon NBS\nCUBI\n  FD-3M \n5.4310 5.4310 5.4310 90 90 90\n");
    ASSERT_TRUE(main_lu);
    EXPECT_EQ(main_lu->maille, lu->maille);
    EXPECT_EQ(main_lu->groupe, "FD-3M");
    EXPECT_EQ(refus(lit_maille_kovrin, "short.cry", "t\r\nCUBI\r\nP\r\n1 2 3 x 5 6\r\n"),
              Textes{"File short.cry: line 4 does not hold six cell parameters"});
}

TEST_F(FichiersMaille, IcsdTitleCellAndGroup) {
    auto m = lit(lit_maille_icsd, "a.ics",
                 "COL  ICSD Collection Code 12345\n"
                 "TITL  Corundum at 300 K\n"
                 "CELL a=4.759(1) b=4.759(1) c=12.991(2) \xCE\xB1=90.0 BETA=90.0 "
                 "g=120.0\n"
                 "SGR  R -3 C H (167) - hexagonal\n"
                 "TITL  after SGR\n");
    ASSERT_TRUE(m) << d.textes()[0];
    EXPECT_EQ(*m->ligne_titre, "  Corundum at 300 K");
    EXPECT_EQ(m->maille, (std::array<double, 6>{4.759, 4.759, 12.991, 90, 90, 120}));
    EXPECT_EQ(m->groupe, "R-3C");
    EXPECT_TRUE(std::filesystem::exists("dummy.tmp")); // LF file read through the copy
}

TEST_F(FichiersMaille, IcsdGroupWithoutParenthesisAndMissingCell) {
    auto m = lit(lit_maille_icsd, "a.ics", "CELL 5.43 5.43 5.43 90 90 90\r\nSGR  R -3 M H\r\n");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->groupe, "");
    for (const char* t :
         {"CELL a=5.4 b=5.4 c=5.4 alpha=90\r\nSGR P 1 (1)\r\n",
          "CELL a=5.4 b=5.4 c=5.4 alpha=90 beta=90 gamma=9x0\r\n", "TITL only a title\r\n"})
        EXPECT_EQ(refus(lit_maille_icsd, "b.ics", t), Textes{"Cell parameters not found!"}) << t;
}
