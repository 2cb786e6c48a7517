#pragma once
// Where the fixed data files (spgr2.dat, the .pos files, help) are found: in the
// start-up working directory when a copy is there, otherwise in the copy
// installed with the program (beside it, then where it was built to be
// installed), otherwise in the source tree's data/ folder.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

// Path of the data file `nom`; when found nowhere, the path in `repertoire`
// (so that the caller's "not found" message names the expected place).
std::filesystem::path chemin_donnees(const std::filesystem::path& repertoire, std::string_view nom);

// The lines of the fixed data files, kept once read when `memorise` is set: a
// run in which nothing edits them (kovrin-batch) reads each of them once. Left
// unset (the windowed program, whose user may edit them between two clicks),
// nothing is kept and every use reads the file again.
class DonneesLues {
  public:
    using Lignes = std::shared_ptr<const std::vector<std::string>>;

    bool memorise = false;

    // The lines kept for `chemin`, or null.
    Lignes trouve(const std::filesystem::path& chemin) const;
    void retient(const std::filesystem::path& chemin, Lignes lignes);

  private:
    std::map<std::filesystem::path, Lignes> lues_;
};

} // namespace kovrin
