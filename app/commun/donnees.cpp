#include "commun/donnees.h"

#include <system_error>

namespace kovrin {

namespace {

// The data folder installed beside the running program (bin/../share/kovrin),
// wherever the installation was moved; empty when the program is not known.
std::filesystem::path donnees_du_programme() {
    std::error_code ec;
    const std::filesystem::path programme = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return programme.parent_path().parent_path() / "share" / "kovrin";
}

} // namespace

std::filesystem::path chemin_donnees(const std::filesystem::path& repertoire, std::string_view nom) {
    std::error_code ec;
    const std::filesystem::path candidats[] = {repertoire / nom, donnees_du_programme() / nom,
                                               std::filesystem::path(KOVRIN_DATA_INSTALL_DIR) / nom,
                                               std::filesystem::path(KOVRIN_DATA_SOURCE_DIR) / nom};
    for (const auto& c : candidats)
        if (std::filesystem::exists(c, ec))
            return c;
    return candidats[0];
}

} // namespace kovrin
