// Synthetic peak lists of known cells, one column file per list (2theta,
// CR LF), for kovrin-batch --index: every Bravais lattice (the triclinic lists
// are searched with --index-systems naming TRIC),
// edges 3 to 20 angstrom, volumes up to 3000 angstrom^3, the first 30 lines,
// a zero shift within 0.05 degree, scatter of 0.01 degree, 15 % of the lines
// dropped, 0 to 2 impurity lines. The measuring program
// (bench/mesure_indexation.cpp) makes the same lists from the same seeds.
//
//   genere_listes_indexation DIRECTORY [LISTS_PER_LATTICE]
//
// Each file is named after its lattice and seed (cF_7007.prn); index.txt
// gives the true cell of each.
#include "indexation/synthese.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    using namespace kovrin;
    if (argc < 2) {
        std::fprintf(stderr, "usage: genere_listes_indexation DIRECTORY [LISTS_PER_LATTICE]\n");
        return 2;
    }
    const std::filesystem::path dossier = argv[1];
    const int n = argc > 2 ? std::atoi(argv[2]) : 20;
    std::filesystem::create_directories(dossier);
    std::ofstream index(dossier / "index.txt", std::ios::binary);
    for (const FicheReseau& f : table_reseaux) {
        for (int i = 0; i < n; ++i) {
            const std::uint64_t graine = 1000 * static_cast<std::uint64_t>(i) + 7;
            const ListeSynthetique l = liste_synthetique(f.reseau, graine);
            const std::string nom = std::string(f.symbole) + "_" + std::to_string(graine) + ".prn";
            std::ofstream sortie(dossier / nom, std::ios::binary);
            char ligne[64];
            for (double x : l.deux_theta) {
                std::snprintf(ligne, sizeof ligne, "%.3f\r\n", x);
                sortie << ligne;
            }
            std::snprintf(ligne, sizeof ligne, " %.5f %.5f %.5f %.3f %.3f %.3f", l.maille[0],
                          l.maille[1], l.maille[2], l.maille[3], l.maille[4], l.maille[5]);
            index << nom << ' ' << f.symbole << ligne << " lambda " << l.lambda << " zero "
                  << l.zero << " impurities " << l.impuretes << "\n";
        }
    }
    return 0;
}
