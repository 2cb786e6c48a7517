#include "commun/erreur.h"
#include "fabrique.h"
#include "fichiers/lecture.h"

using namespace kovrin;

namespace {
struct FinsDeLigne : test::DansDossier {};
} // namespace

TEST_F(FinsDeLigne, LfAndCrFilesAreCopiedWithCrLf) {
    test::ecrit_fichier("lf.txt", "a\nb\n\nc");
    EXPECT_TRUE(convertit_fins_de_ligne("lf.txt"));
    // The last line without an end is kept, as a CR LF file would give it.
    EXPECT_EQ(test::lit_fichier("dummy.tmp"), "a\r\nb\r\n\r\nc\r\n");
    test::ecrit_fichier("cr.txt", "a\rb");
    EXPECT_TRUE(convertit_fins_de_ligne("cr.txt"));
    EXPECT_EQ(test::lit_fichier("dummy.tmp"), "a\r\nb\r\n");
    // A short file whose last byte is CR counts as CR LF and is read as it is.
    test::ecrit_fichier("cr2.txt", "c\rd\r");
    EXPECT_FALSE(convertit_fins_de_ligne("cr2.txt"));
    EXPECT_EQ(lignes_converties("cr2.txt"), (std::vector<std::string>{"c", "d"}));
}

TEST_F(FinsDeLigne, FirstLineLongerThanTheProbeAndLinesCutAt250) {
    // No LF in the first 300 bytes: the file is copied, and its CR LF then
    // counts as two separators.
    std::string longue(310, 'x');
    test::ecrit_fichier("long.txt", longue + "\r\ny\r\n");
    EXPECT_TRUE(convertit_fins_de_ligne("long.txt"));
    EXPECT_EQ(test::lit_fichier("dummy.tmp"), std::string(250, 'x') + "\r\n\r\ny\r\n\r\n");
}

TEST(DecoupeNombres, FieldsCountAndCodeOfTheLastField) {
    auto n = decoupe_nombres("  1.5, 2 ,3e2  x4 5 ");
    EXPECT_EQ(n.nombre, 5);
    EXPECT_EQ(n.code, 0); // the bad fourth field is not the last one

    EXPECT_EQ(n.valeurs[2], 300);

    n = decoupe_nombres("1 2x");
    EXPECT_EQ(n.nombre, 2);
    EXPECT_EQ(n.code, 2);

    n = decoupe_nombres("1 2 3 4 5 6 7 8 9 10 11 12");
    EXPECT_EQ(n.nombre, 10);

    n = decoupe_nombres("   ");
    EXPECT_EQ(n.nombre, 0);
}
