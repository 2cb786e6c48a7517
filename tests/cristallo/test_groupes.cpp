#include "commun/erreur.h"
#include "commun/texte.h"
#include "cristallo/groupes.h"
#include "donnees_groupes.h"
#include "dossier_temporaire.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using namespace kovrin;
using kovrin::test::AvecDonnees;
using kovrin::test::DossierTemporaire;
using kovrin::test::ecrit_fichier;
using kovrin::test::lit_fichier;
using ::testing::HasSubstr;

namespace {

std::string composante(std::string_view texte) {
    const auto c = lit_composante(texte);
    if (!c) return "malformed";
    char t[64];
    std::snprintf(t, sizeof t, "%g %g %g %.7g", c->ligne[0], c->ligne[1], c->ligne[2],
                  c->translation);
    return t;
}

// What `action` throws as an `Erreur`, or "no error".
template <class Erreur = ErreurKovrin, class Action> std::string exception_de(Action action) {
    try {
        action();
    } catch (const Erreur& e) {
        return e.what();
    }
    return "no error";
}

std::string bloc_pos(const std::string& symbole, int inversion,
                     const std::vector<std::string>& ops) {
    std::string s = "\r\n" + symbole + "\r\n" + std::to_string(inversion) + "\r\n" +
                    std::to_string(ops.size()) + "\r\n";
    for (const auto& o : ops)
        s += o + "\r\n";
    return s;
}

} // namespace

// Forms of a component with their translations; any other text is malformed.
TEST(LitComposante, FormsAndNothingElse) {
    const std::pair<const char*, const char*> cas[] = {
        {"X", "1 0 0 0"},           {" -y ", "0 -1 0 0"},
        {"Z+1/2", "0 0 1 0.5"},     {"Y-X+2/3", "-1 1 0 0.6666667"},
        {"Y-1/4", "0 1 0 -0.25"},   {"-X+Y", "malformed"}, // "Y-X" is the form
        {"X+1/8", "malformed"},     {"", "malformed"},
        {"X+1/2+1/2", "malformed"}, {"-1/3+X", "malformed"}, // the rest "+X" is no form
    };
    for (const auto& [texte, attendu] : cas)
        EXPECT_EQ(composante(texte), attendu) << texte;
}

TEST(ListeOrsab, MissingFileEndsTheProgram) {
    DossierTemporaire dossier;
    EspaceTravail et;
    et.repertoire = dossier.chemin() / "nowhere";
    et.systeme = "CUBI";
    et.liste_orsab.entrees = {"old"};
    // A missing spgr2.dat ends the program.
    EXPECT_EQ(exception_de<ArretProgramme>([&] { remplit_liste_orsab(et, dossier / "spgr2.dat"); }),
              "The file SPGR2.Dat was not found");
}

TEST_F(AvecDonnees, OrsabListOfEverySystemFromTheCommittedFile) {
    const std::pair<const char*, std::size_t> tailles[] = {
        {"TRIC", 12}, {"MONO", 110}, {"ORTH", 192}, {"TETR", 88},
        {"HEXA", 52}, {"RHOM", 7},   {"CUBI", 43}};
    for (const auto& [systeme, n] : tailles) {
        et.systeme = systeme;
        remplit_liste_orsab(et);
        EXPECT_EQ(et.liste_orsab.entrees.size(), n) << systeme;
    }
    et.systeme = "CUBI";
    et.groupe = "F D -3 M:2";
    remplit_liste_orsab(et);
    ASSERT_GE(et.liste_orsab.selection, 0);
    EXPECT_EQ(et.liste_orsab.entrees[static_cast<std::size_t>(et.liste_orsab.selection)],
              "F d -3 m:2  -F 4vw 2vw 3     227");
}

// (The operators of a group with its inversion and centring, up to 192, are
// gemmi's: EverySpellingFindsTheEntryOfTheSameGroupAndSetting.)
TEST_F(AvecDonnees, AnUnknownSymbolLoadsNothing) {
    charge_hm("CUBI", "FM-3M");
    charge_hm("CUBI", "P 99");
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"P 99 not found"});
    EXPECT_EQ(et.operateurs.taille(), 0);
    EXPECT_EQ(lit_fichier(dossier / "hm.txt"), "");
}

// hm.txt is only for the user to look at: where it cannot be written, the
// operators still load and the user is told once, not at every load.
TEST_F(AvecDonnees, HmTxtThatCannotBeWrittenIsToldOnceAndBlocksNothing) {
    std::filesystem::create_directory(dossier / "hm.txt");
    charge_hm("CUBI", "FM-3M");
    charge_hm("TETR", "I4/MMM");
    EXPECT_EQ(et.operateurs.taille(), 32);
    EXPECT_EQ(d.textes(), std::vector<std::string>{
                              "File " + (dossier / "hm.txt").string() +
                              ": cannot be created; the operators in force are not written there, "
                              "the calculation goes on"});
}

// The identity's first row in width 4 then 10.5, then " , ".
TEST(EcritOperateurs, LayoutOfHallAndHmFiles) {
    DossierTemporaire dossier;
    ListeBornee<Operateur, 192> ops;
    ops.ajoute({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0});
    ops.ajoute({-1, 0, 0, 0.5, 0, -1, 0, 0.3333333, 1, -1, 0, 0.75});
    ecrit_operateurs(dossier / "hm.txt", ops);
    EXPECT_EQ(lit_fichier(dossier / "hm.txt"),
              "   1   0   0   0.00000 ,    0   1   0   0.00000 ,    0   0   1   0.00000 , \r\n"
              "  -1   0   0   0.50000 ,    0  -1   0   0.33333 ,    1  -1   0   0.75000 , \r\n");
}

TEST(AjouteCentrages, TranslationsAboveOneAreReducedOnly) {
    EspaceTravail et;
    et.operateurs.ajoute({1, 0, 0, 0.5, 0, 1, 0, 0.75, 0, 0, 1, 0});
    et.reseau = "C";
    et.systeme = "ORTH";
    ajoute_centrages(et);
    ASSERT_EQ(et.operateurs.taille(), 2);
    EXPECT_DOUBLE_EQ(et.operateurs[2][3], 1.0); // 0.5 + 0.5 stays 1

    et.reseau = "R"; // only on hexagonal axes
    ajoute_centrages(et);
    et.systeme = "HEXA";
    ajoute_centrages(et);
    EXPECT_EQ(et.nb_centrages, 2);
    EXPECT_DOUBLE_EQ(et.operateurs[3][11], 0.6666666666);
}

// Bad .pos files: the load is abandoned with a message and the operators of
// the previous load stay.
struct PosDefectueux : ::testing::Test {
    DossierTemporaire dossier;
    EspaceTravail et;
    DialoguesEnregistres d;
    PosDefectueux() {
        et.repertoire = dossier.chemin();
        et.systeme = "CUBI";
        et.reseau = "P";
        et.operateurs.ajoute({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0});
    }
    std::string erreur_de(const std::string& contenu, const std::string& groupe) {
        ecrit_fichier(dossier / "C.pos", contenu);
        et.groupe = groupe;
        try {
            charge_operateurs_hm(et, d);
        } catch (const ErreurKovrin& e) {
            EXPECT_EQ(et.operateurs.taille(), 1);
            return e.what();
        }
        return "no error";
    }
};

TEST_F(PosDefectueux, MalformedBlocksAndTooManyOperators) {
    const std::tuple<std::string, const char*, const char*> cas[] = {
        {bloc_pos("P23", 0, {"X,Y,Z", "-X+Y,Y,Z"}), "P23",
         "component \"-X+Y\" is not a symmetry operation"},
        {bloc_pos("P23", 0, {"X,Y"}), "P23", "is not a symmetry"},
        {"\r\nP23\r\nyes\r\n1\r\nX,Y,Z\r\n", "P23", "is not an integer"},
        {"\r\nP23\r\n0\r\n3\r\nX,Y,Z\r\n", "P23", "end of file"},
        {bloc_pos("P23", 1, std::vector<std::string>(97, "X,Y,Z")), "P23", "more than 192"},
        {bloc_pos("F23", 0, std::vector<std::string>(49, "X,Y,Z")), "F23", "more than 192"},
    };
    for (const auto& [contenu, groupe, message] : cas)
        EXPECT_THAT(erreur_de(contenu, groupe), HasSubstr(message)) << contenu.substr(0, 40);
    EXPECT_EQ(erreur_de(bloc_pos("F23", 0, std::vector<std::string>(48, "X,Y,Z")), "F23"),
              "no error");
}

// A copy in the working directory hides the installed one, even when it cannot be read.
TEST_F(PosDefectueux, UnreadableFile) {
    std::filesystem::create_directory(dossier / "C.pos");
    et.groupe = "P23";
    EXPECT_THAT(exception_de([&] { charge_operateurs_hm(et, d); }), HasSubstr("C.pos"));
    EXPECT_EQ(et.operateurs.taille(), 1);
    EXPECT_THROW(remplit_liste_hm(et), ErreurKovrin);
}

TEST_F(PosDefectueux, BlockFoundCaseInsensitivelyAfterTrimmingAndInversionImagesInTheCell) {
    EXPECT_EQ(erreur_de(bloc_pos("  pm-3m ", 0, {"x,y,z", "-X+1/2, -Y , z+1/2"}), "PM-3M"),
              "no error");
    ASSERT_EQ(et.operateurs.taille(), 2);
    EXPECT_EQ(et.operateurs[2], (Operateur{-1, 0, 0, 0.5, 0, -1, 0, 0, 0, 0, 1, 0.5}));
    // The inversion's images have their translations in the cell.
    EXPECT_EQ(erreur_de(bloc_pos("P23", 1, {"X,Y,Z", "-X+1/2,Y+1/4,Z"}), "P23"), "no error");
    ASSERT_EQ(et.operateurs.taille(), 4);
    EXPECT_EQ(et.operateurs[3], (Operateur{-1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0}));
}

// scfs.dat as the outside library leaves it.
struct Scfs : ::testing::Test {
    DossierTemporaire dossier;
    EspaceTravail et;
    Scfs() {
        et.systeme = "ORTH";
        et.groupe = "C M C M";
        et.reseau = "X";
        et.operateurs.ajoute({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0});
    }
};

TEST_F(Scfs, NumbersWithoutLeadingZerosCommasAndMissingNumbers) {
    ecrit_fichier("scfs.dat", "title line 1 2 3\r\n"
                              " 1 0 0 .5, 0 1 0 -.25 0 0 1 0\r\n"
                              "-1,0,0,0,0,-1\r\n"
                              "\r\n"
                              "9 9 9 9 9 9 9 9 9 9 9 9\r\n");
    lit_operateurs_scfs(et);
    ASSERT_EQ(et.operateurs.taille(), 4); // two lines, C centring
    EXPECT_EQ(et.operateurs[1], (Operateur{1, 0, 0, 0.5, 0, 1, 0, -0.25, 0, 0, 1, 0}));
    EXPECT_THAT(lit_fichier("hall.txt"), HasSubstr("   1   0   0   0.50000 , "));
}

// A missing file, more than 12 numbers on a line or more than 192 operators
// with the centring: refused, the previous operators kept.
TEST_F(Scfs, RefusalsKeepThePreviousOperators) {
    EXPECT_THROW(lit_operateurs_scfs(et), ErreurKovrin);
    ecrit_fichier("scfs.dat", "t\r\n1 0 0 0 0 1 0 0 0 0 1 0 7\r\n");
    EXPECT_THAT(exception_de([&] { lit_operateurs_scfs(et); }), HasSubstr("more than 12 numbers"));
    std::string f = "t\r\n";
    for (int i = 0; i < 97; ++i)
        f += "1 0 0 0 0 1 0 0 0 0 1 0\r\n";
    ecrit_fichier("scfs.dat", f); // 97, 194 with C
    EXPECT_THROW(lit_operateurs_scfs(et), ErreurKovrin);
    EXPECT_EQ(et.operateurs.taille(), 1);
}

// Choosing in one list clears the other; the Orsab choice deletes scfs2.dat.
TEST(ChoisitGroupe, EachListClearsTheOther) {
    DossierTemporaire dossier;
    ecrit_fichier("scfs2.dat", "x");
    EspaceTravail et;
    et.liste_hm = {{"No ext.", " p21/c "}, -1};
    et.liste_orsab = {{"P 1 21/c 1  -P 2ybc          14 "}, 0};
    choisit_groupe_hm(et, 1);
    EXPECT_EQ(std::tie(et.groupe, et.liste_orsab.selection), std::tuple("P21/C", -1));
    EXPECT_TRUE(std::filesystem::exists("scfs2.dat"));

    choisit_groupe_orsab(et, 0);
    EXPECT_EQ(std::tie(et.groupe, et.liste_hm.selection), std::tuple("P 1 21/C 1", -1));
    EXPECT_FALSE(std::filesystem::exists("scfs2.dat"));
}
