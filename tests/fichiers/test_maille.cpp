#include "commun/texte.h"
#include "fabrique.h"
#include "fichiers/fichiers_maille.h"

using namespace kovrin;
using test::Textes;

namespace {

struct FichiersMaille : test::DansDossier {};

} // namespace

TEST_F(FichiersMaille, CryLayoutAndReadBack) {
    EspaceTravail et;
    et.ligne_titre = "Silicon NBS";
    et.systeme = "CUBI";
    et.groupe = "FD-3M";
    et.maille = {5.431, 5.431, 5.431, 90, 90, 90};
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
    EXPECT_EQ(std::tie(main_lu->maille, main_lu->groupe), std::tuple(lu->maille, "FD-3M"));
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
    EXPECT_FALSE(std::filesystem::exists("dummy.tmp")); // its copy goes to the temporary folder
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

// A cell out of its domain is refused with the line that holds it, in either
// layout; nothing is taken in.
TEST_F(FichiersMaille, CellOutOfItsDomainRefusedWithItsLine) {
    struct Cas {
        bool icsd;
        const char* parametres;
        const char* refus;
    };
    const Cas cas[] = {
        {false, "0 5 5 90 90 90", "Line 4: a must be positive"},
        {false, "5 -5 5 90 90 90", "Line 4: b must be positive"},
        {false, "5 5 -0.1 90 90 90", "Line 4: c must be positive"},
        {false, "5 5 5 180 90 90", "Line 4: α must lie between 0 and 180 degrees"},
        {false, "5 5 5 90 -5 90", "Line 4: β must lie between 0 and 180 degrees"},
        {false, "5 5 5 90 90 999", "Line 4: γ must lie between 0 and 180 degrees"},
        {false, "5 5 5 120 120 120", "Line 4: the cell angles α, β, γ give no real cell"},
        {true, "a=-5.4 b=5.4 c=5.4 alpha=90 beta=90 gamma=90", "Line 3: a must be positive"},
        {true, "5.4 5.4 5.4 90 90 0", "Line 3: γ must lie between 0 and 180 degrees"},
        {true, "5 5 5 100 30 30", "Line 3: the cell angles α, β, γ give no real cell"},
    };
    for (const Cas& c : cas) {
        const std::string nom = c.icsd ? "x.ics" : "x.cry";
        const std::string texte =
            c.icsd ? std::string("COL  1\r\nTITL t\r\nCELL ") + c.parametres + "\r\nSGR P 1 (1)\r\n"
                   : std::string("t\r\nTRIC\r\nP1\r\n") + c.parametres + "\r\n";
        EXPECT_EQ(c.icsd ? refus(lit_maille_icsd, nom, texte)
                         : refus(lit_maille_kovrin, nom, texte),
                  Textes{"File " + nom + ": " + c.refus})
            << c.parametres;
    }
}
