#pragma once
// kovrin-batch run as a user runs it, in the current directory: its exit
// status and what it printed.
#include "dossier_temporaire.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace kovrin::test {

struct Execution {
    int code = -1;
    std::string sortie, erreurs;
};

inline Execution lance(const std::string& arguments) {
    const std::string commande =
        std::string("'") + KOVRIN_BATCH_EXE + "' " + arguments + " >sortie.txt 2>erreurs.txt";
    const int brut = std::system(commande.c_str());
    return {WIFEXITED(brut) ? WEXITSTATUS(brut) : -1, lit_fichier("sortie.txt"),
            lit_fichier("erreurs.txt")};
}

inline nlohmann::json lance_json(const std::string& arguments, int code_attendu = 0) {
    const Execution e = lance(arguments + " --json");
    EXPECT_EQ(e.code, code_attendu) << e.erreurs;
    return nlohmann::json::parse(e.sortie);
}

} // namespace kovrin::test
