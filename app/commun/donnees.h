#pragma once
// Where the fixed data files (spgr2.dat, the .pos files, help) are found: in the
// start-up working directory when a copy is there, otherwise in the copy
// installed with the program (beside it, then where it was built to be
// installed), otherwise in the source tree's data/ folder.
#include <filesystem>
#include <string_view>

namespace kovrin {

// Path of the data file `nom`; when found nowhere, the path in `repertoire`
// (so that the caller's "not found" message names the expected place).
std::filesystem::path chemin_donnees(const std::filesystem::path& repertoire, std::string_view nom);

} // namespace kovrin
