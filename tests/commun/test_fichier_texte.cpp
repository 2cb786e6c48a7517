#include "commun/erreur.h"
#include "commun/fichier_texte.h"
#include "dossier_temporaire.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

using namespace kovrin;

// Whatever was there before, only the new bytes remain, written line by line
// or as one block, across the writer's buffer size too.
TEST(FichierTexte, ReplacesLongerShorterAndEmptyFilesExactly) {
    test::DossierTemporaire dossier;
    auto ecrit = [](const std::string& ligne, bool en_bloc) {
        EcrivainTexte f("r.txt");
        if (en_bloc) {
            f.texte(ligne + "\r\n" + ligne + "\r\n");
        } else {
            f.ligne(ligne);
            f.ligne(ligne);
        }
        f.ferme();
    };
    const std::string long_(200000, 'x');
    const std::vector<std::vector<std::string>> suites{
        {long_, "short"}, {"short", long_}, {long_, ""}, {"", "a"}, {long_ + "y", long_, "b"}};
    for (const auto& suite : suites) {
        for (std::size_t i = 0; i < suite.size(); ++i)
            ecrit(suite[i], i % 2 == 1);
        const std::string& derniere = suite.back();
        EXPECT_EQ(test::lit_fichier("r.txt"), derniere + "\r\n" + derniere + "\r\n");
    }
}

TEST(FichierTexte, MissingFileIsAnErrorNamingIt) {
    test::DossierTemporaire dossier;
    EXPECT_THAT([] { lit_lignes("absent.txt"); },
                testing::ThrowsMessage<ErreurKovrin>(testing::HasSubstr("absent.txt")));
    std::filesystem::create_directory("un_dossier");
    EXPECT_THROW(lit_lignes("un_dossier"), ErreurKovrin);
}

namespace {

// The names of a folder's files.
std::vector<std::string> noms(const std::filesystem::path& dossier) {
    std::vector<std::string> n;
    for (const auto& f : std::filesystem::directory_iterator(dossier))
        n.push_back(f.path().filename().string());
    std::sort(n.begin(), n.end());
    return n;
}

// Writes `octets` to `chemin`; the error's text, or "" when it was written.
std::string ecrit(const std::filesystem::path& chemin, const std::string& octets) {
    try {
        EcrivainTexte f(chemin);
        f.texte(octets);
        f.ferme();
        return "";
    } catch (const ErreurKovrin& e) {
        return e.what();
    }
}

} // namespace

// A save is atomic: a write that fails, however it fails, leaves the old file
// whole and no scratch file beside it.
TEST(FichierTexte, FailedWriteLeavesTheOldFileWhole) {
    test::DossierTemporaire dossier;
    const std::string ancien = "old contents\r\n";
    test::ecrit_fichier("garde.txt", ancien);
    {
        test::LimiteTaille limite(4096); // the disk fills up in the middle of the file
        EXPECT_EQ(ecrit("garde.txt", std::string(100000, 'n')), "File garde.txt: write error");
    }
    try {
        EcrivainTexte f("garde.txt");
        f.ligne("half of a new file");
        throw std::runtime_error("the data could not be formatted");
    } catch (const std::runtime_error&) {
        // the writer went while the exception left its scope
    }
    std::filesystem::create_directory("dossier.txt"); // a folder where the file should be
    EXPECT_EQ(ecrit("dossier.txt", "x"), "File dossier.txt: cannot be created");
    // A folder that cannot be written: its path runs through a regular file.
    EXPECT_EQ(ecrit("garde.txt/x.txt", "x"), "File garde.txt/x.txt: cannot be created");
    EXPECT_EQ(test::lit_fichier("garde.txt"), ancien);
    EXPECT_EQ(noms(dossier.chemin()), (std::vector<std::string>{"dossier.txt", "garde.txt"}));
}

// The new file keeps the old one's permissions, a link stays a link and its
// target gets the bytes, a device is written as it is.
TEST(FichierTexte, ReplacementKeepsPermissionsLinksAndDevices) {
    test::DossierTemporaire dossier;
    test::ecrit_fichier("cible.txt", "old");
    std::filesystem::permissions("cible.txt", std::filesystem::perms(0640));
    std::filesystem::create_symlink("cible.txt", "lien.txt");
    EXPECT_EQ(ecrit("lien.txt", "new"), "");
    EXPECT_TRUE(std::filesystem::is_symlink("lien.txt"));
    EXPECT_EQ(test::lit_fichier("cible.txt"), "new");
    EXPECT_EQ(std::filesystem::status("cible.txt").permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0640));
    EXPECT_EQ(ecrit("/dev/null", "nothing"), "");
    EXPECT_EQ(noms(dossier.chemin()), (std::vector<std::string>{"cible.txt", "lien.txt"}));
}
