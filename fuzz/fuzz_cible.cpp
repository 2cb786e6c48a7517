// One libFuzzer program per target (fuzz/entrees.h); KOVRIN_CIBLE names it.
// The targets write their files in the current directory: the program works
// in a temporary one, removed at exit.
#include "entrees.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

std::filesystem::path dossier;

void efface_dossier() {
    std::error_code ec;
    std::filesystem::remove_all(dossier, ec);
}

// Entered on the first input, not at start: with -jobs the controlling process
// keeps the directory where it writes the jobs' logs.
void entre_dans_un_dossier_temporaire() {
    std::string modele = (std::filesystem::temp_directory_path() / "kovrin-fuzz-XXXXXX").string();
    if (!mkdtemp(modele.data())) std::abort();
    dossier = modele;
    std::filesystem::current_path(dossier);
    std::atexit(efface_dossier);
}

// libFuzzer writes to the corpus folders and artifact paths of its command line
// after the first input moved the program elsewhere: they are made absolute.
std::vector<std::string> arguments_absolus;

std::string absolu(std::string_view argument) {
    for (std::string_view option : {"-artifact_prefix=", "-exact_artifact_path=", "-dict="})
        if (argument.starts_with(option))
            return std::string(option) +
                   std::filesystem::absolute(argument.substr(option.size())).string();
    if (argument.starts_with("-")) return std::string(argument);
    return std::filesystem::absolute(argument).string();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    arguments_absolus.reserve(static_cast<std::size_t>(*argc));
    for (int i = 0; i < *argc; ++i) {
        arguments_absolus.push_back(i == 0 ? (*argv)[0] : absolu((*argv)[i]));
        (*argv)[i] = arguments_absolus.back().data();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    static const auto essai = kovrin::fuzz::essai_de(KOVRIN_CIBLE);
    if (dossier.empty()) entre_dans_un_dossier_temporaire();
    const std::string faute = essai({reinterpret_cast<const char*>(donnees), taille});
    if (!faute.empty()) {
        std::fprintf(stderr, "kovrin fuzz (%s): %s\n", KOVRIN_CIBLE, faute.c_str());
        std::abort();
    }
    return 0;
}
