#include "dossier_temporaire.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace kovrin::test {

DossierTemporaire::DossierTemporaire() : ancien_(std::filesystem::current_path()) {
    std::random_device alea;
    auto base = std::filesystem::temp_directory_path();
    for (int essai = 0; essai < 100; ++essai) {
        chemin_ = base / ("kovrin-test-" + std::to_string(alea()));
        if (std::filesystem::create_directory(chemin_))
            break;
    }
    std::filesystem::current_path(chemin_);
}

DossierTemporaire::~DossierTemporaire() {
    std::error_code ec;
    std::filesystem::current_path(ancien_, ec);
    std::filesystem::remove_all(chemin_, ec);
}

namespace {

// fuzz/construit_corpus.sh gathers every fixture the tests write as the seeds
// of the fuzz targets: with KOVRIN_CORPUS set, each is copied there too.
void copie_pour_corpus(const std::filesystem::path& chemin, const std::string& octets) {
    const char* corpus = std::getenv("KOVRIN_CORPUS");
    if (!corpus) return;
    static int numero = 0;
    const std::string nom = std::to_string(getpid()) + "-" + std::to_string(++numero) + "-" +
                            chemin.filename().string();
    std::ofstream(std::filesystem::path(corpus) / nom, std::ios::binary)
        .write(octets.data(), static_cast<std::streamsize>(octets.size()));
}

} // namespace

void ecrit_fichier(const std::filesystem::path& chemin, const std::string& octets) {
    std::ofstream f(chemin, std::ios::binary | std::ios::trunc);
    f.write(octets.data(), static_cast<std::streamsize>(octets.size()));
    if (!f)
        throw std::runtime_error("cannot write " + chemin.string());
    copie_pour_corpus(chemin, octets);
}

std::string lit_fichier(const std::filesystem::path& chemin) {
    std::ifstream f(chemin, std::ios::binary);
    if (!f)
        throw std::runtime_error("cannot read " + chemin.string());
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

} // namespace kovrin::test
