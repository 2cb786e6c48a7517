#pragma once
// A fresh temporary directory for one test, made the current directory for the
// test's duration (the program writes its fixed-name files there); removed after.
#include <filesystem>
#include <string>

namespace kovrin::test {

class DossierTemporaire {
public:
    DossierTemporaire();
    ~DossierTemporaire();
    DossierTemporaire(const DossierTemporaire&) = delete;
    DossierTemporaire& operator=(const DossierTemporaire&) = delete;

    const std::filesystem::path& chemin() const { return chemin_; }
    std::filesystem::path operator/(const std::string& nom) const { return chemin_ / nom; }

private:
    std::filesystem::path chemin_;
    std::filesystem::path ancien_;
};

// Writes bytes to a file as they are.
void ecrit_fichier(const std::filesystem::path& chemin, const std::string& octets);
std::string lit_fichier(const std::filesystem::path& chemin);

} // namespace kovrin::test
