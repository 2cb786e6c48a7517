#include "commun/erreur.h"
#include "commun/fichier_texte.h"
#include "dossier_temporaire.h"

#include <gtest/gtest.h>

using namespace kovrin;

// The writer overwrites in place: whatever was there before, only the new bytes
// remain, written line by line or as one block, across its buffer's size too.
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
    try {
        lit_lignes("absent.txt");
        FAIL() << "no error";
    } catch (const ErreurKovrin& e) {
        EXPECT_NE(std::string(e.what()).find("absent.txt"), std::string::npos);
    }
    EXPECT_THROW(EcrivainTexte("no/such/dir/x.txt"), ErreurKovrin);
    std::filesystem::create_directory("un_dossier");
    EXPECT_THROW(lit_lignes("un_dossier"), ErreurKovrin);
}
