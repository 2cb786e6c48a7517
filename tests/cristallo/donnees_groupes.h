#pragma once
// Shared by the crystallography tests: a workspace in a temporary folder
// holding a copy of the committed space-group files (the program writes hm.txt
// next to them), with the dialogues it shows.
#include "commun/dialogues.h"
#include "cristallo/groupes.h"
#include "dossier_temporaire.h"
#include "commun/espace_travail.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kovrin::test {

inline const char* const fichiers_groupes[] = {"spgr2.dat", "T.pos", "M.pos", "O.pos",
                                               "q.pos",     "H.pos", "R.pos", "C.pos"};

struct AvecDonnees : ::testing::Test {
    DossierTemporaire dossier;
    EspaceTravail et;
    DialoguesEnregistres d;
    AvecDonnees() {
        const std::filesystem::path source = std::filesystem::path(KOVRIN_SOURCE_DIR) / "data";
        for (const char* nom : fichiers_groupes)
            std::filesystem::copy_file(source / nom, dossier / nom,
                                       std::filesystem::copy_options::overwrite_existing);
        et.repertoire = dossier.chemin();
    }
    void charge_hm(const std::string& systeme, const std::string& groupe) {
        et.systeme = systeme;
        et.groupe = groupe;
        charge_operateurs_hm(et, d);
    }
};

} // namespace kovrin::test
