#include "commun/erreur.h"
#include "fabrique.h"
#include "fichiers/lecture.h"

#include <cstdlib>

using namespace kovrin;

namespace {
struct FinsDeLigne : test::DansDossier {};

// The scratch copy's bytes of a file `fichier` holding `octets`, or "none"
// when the file was read as it is.
std::string copie_de(const std::filesystem::path& fichier, const std::string& octets) {
    test::ecrit_fichier(fichier, octets);
    const auto copie = convertit_fins_de_ligne(fichier);
    return copie ? test::lit_fichier(copie->chemin()) : "none";
}
} // namespace

TEST_F(FinsDeLigne, LfAndCrFilesAreCopiedWithCrLf) {
    // The last line without an end is kept, as a CR LF file would give it.
    EXPECT_EQ(copie_de("lf.txt", "a\nb\n\nc"), "a\r\nb\r\n\r\nc\r\n");
    EXPECT_EQ(copie_de("cr.txt", "a\rb"), "a\r\nb\r\n");
    // A short file whose last byte is CR counts as CR LF and is read as it is.
    EXPECT_EQ(copie_de("cr2.txt", "c\rd\r"), "none");
    EXPECT_EQ(lignes_converties("cr2.txt"), (std::vector<std::string>{"c", "d"}));
}

TEST_F(FinsDeLigne, FirstLineLongerThanTheProbeAndLinesCutAt250) {
    // No LF in the first 300 bytes: the file is copied, and its CR LF then
    // counts as two separators.
    EXPECT_EQ(copie_de("long.txt", std::string(310, 'x') + "\r\ny\r\n"),
              std::string(250, 'x') + "\r\n\r\ny\r\n\r\n");
}

// The copy goes to the system's temporary folder ($TMPDIR), never to the
// working folder, and is gone once read.
TEST_F(FinsDeLigne, ScratchCopyInTheTemporaryFolderRemovedAfter) {
    const std::filesystem::path temporaire = dossier / "tmp";
    std::filesystem::create_directory(temporaire);
    const char* ancien = std::getenv("TMPDIR");
    const std::string ancien_tmpdir = ancien ? ancien : "";
    ::setenv("TMPDIR", temporaire.c_str(), 1);
    test::ecrit_fichier("lf.txt", "a\nb\n");
    {
        const auto copie = convertit_fins_de_ligne("lf.txt");
        ASSERT_TRUE(copie);
        EXPECT_EQ(copie->chemin().parent_path(), temporaire);
    }
    EXPECT_EQ(lignes_converties("lf.txt"), (std::vector<std::string>{"a", "b"}));
    ancien ? ::setenv("TMPDIR", ancien_tmpdir.c_str(), 1) : ::unsetenv("TMPDIR");
    EXPECT_TRUE(std::filesystem::is_empty(temporaire));
    EXPECT_FALSE(std::filesystem::exists("dummy.tmp"));
}

TEST(DecoupeNombres, FieldsCountAndCodeOfTheLastField) {
    auto n = decoupe_nombres("  1.5, 2 ,3e2  x4 5 ");
    // The bad fourth field is not the last one.
    EXPECT_EQ(std::pair(n.nombre, n.code), std::pair(5, 0));
    EXPECT_EQ(n.valeurs[2], 300);
    n = decoupe_nombres("1 2x");
    EXPECT_EQ(std::pair(n.nombre, n.code), std::pair(2, 2));
    EXPECT_EQ(decoupe_nombres("1 +2x").code, 3); // the sign counts in the position
    EXPECT_EQ(decoupe_nombres("1 +-2").code, 2);
    EXPECT_EQ(decoupe_nombres("1 2 3 4 5 6 7 8 9 10 11 12").nombre, 10);
    EXPECT_EQ(decoupe_nombres("   ").nombre, 0);
}
