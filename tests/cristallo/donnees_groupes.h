#pragma once
// Shared by the crystallography tests: the committed space-group files copied
// into a test's directory (the program writes hm.txt next to them).
#include <filesystem>

namespace kovrin::test {

inline const char* const fichiers_groupes[] = {"spgr2.dat", "T.pos", "M.pos", "O.pos",
                                               "q.pos",     "H.pos", "R.pos", "C.pos"};

inline void copie_donnees_groupes(const std::filesystem::path& dossier) {
    const std::filesystem::path source = std::filesystem::path(KOVRIN_SOURCE_DIR) / "data";
    for (const char* nom : fichiers_groupes)
        std::filesystem::copy_file(source / nom, dossier / nom,
                                   std::filesystem::copy_options::overwrite_existing);
}

} // namespace kovrin::test
