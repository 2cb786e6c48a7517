// One call of calcul with its files kovrin.out and mouchard in a folder of the
// working directory's disk, and the same arithmetic without the files: a cubic
// cell with a and the zero from 30 reflections, a triclinic cell and the zero
// (seven free values) from 500.
#include "../engine/moteur.h"
#include "kovrin/calcul.h"

#include "cristallo/geometrie.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <random>

namespace {

struct Arguments {
    std::array<int16_t, KOVRIN_TAILLE_TEXTE> texte{};
    int16_t lettre = 'T';
    std::array<float, 8> parametres{}, drapeaux{}, erreurs{};
    std::array<float, KOVRIN_NB_REFLEXIONS> h{}, k{}, l{}, angles{};
    float accord = 0;
};

using Entree = void (*)(int16_t*, int16_t*, float*, float*, float*, float*, float*, float*, float*,
                        float*);

// Reflections of the cell with 0.005 deg of noise, up to n, cycling over indices.
Arguments donnees(const kovrin::Maille& maille, char lettre, int n) {
    Arguments a;
    a.lettre = lettre;
    kovrin::Maille reciproque;
    kovrin::MatriceB b;
    kovrin::calcul_reciproque(maille, reciproque, b);
    std::mt19937 generateur(1);
    std::normal_distribution<double> bruit(0.0, 0.005);
    int i = 0;
    for (int h = 0; h <= 6 && i < n; ++h)
        for (int k = -6; k <= 6 && i < n; ++k)
            for (int l = -6; l <= 6 && i < n; ++l) {
                double q = kovrin::inverse_d_carre(b, h, k, l);
                if (q <= 0) continue;
                double t = kovrin::deux_theta_de_d(1 / std::sqrt(q), 1.540562);
                if (!(t > 10 && t < 140)) continue;
                a.h[i] = float(h);
                a.k[i] = float(k);
                a.l[i] = float(l);
                a.angles[i] = static_cast<float>(t + 0.02 + bruit(generateur));
                ++i;
            }
    return a;
}

void lance(benchmark::State& etat, Entree entree, const kovrin::Maille& maille, char lettre, int n,
           std::array<float, 8> drapeaux) {
    // Beside the build, on the disk the program's working directory would be on.
    const auto dossier = std::filesystem::current_path() / "kovrin_bench_engine";
    std::filesystem::create_directories(dossier);
    const auto ancien = std::filesystem::current_path();
    std::filesystem::current_path(dossier);
    const Arguments modele = donnees(maille, lettre, n);
    for (auto _ : etat) {
        Arguments a = modele;
        for (int j = 0; j < 6; ++j)
            a.parametres[2 + j] = static_cast<float>(maille[j] * (j < 3 ? 1.003 : 1.0));
        a.parametres[1] = 1.540562f;
        a.drapeaux = drapeaux;
        entree(a.texte.data(), &a.lettre, a.parametres.data(), a.drapeaux.data(), a.erreurs.data(),
               a.h.data(), a.k.data(), a.l.data(), a.angles.data(), &a.accord);
        if (a.texte[0] != 11) etat.SkipWithError("the refinement failed");
        benchmark::DoNotOptimize(a.parametres);
    }
    std::filesystem::current_path(ancien);
    std::filesystem::remove_all(dossier);
}

const kovrin::Maille triclinique{5.101, 6.322, 7.415, 85.4, 97.3, 102.1};
const kovrin::Maille cubique{5.4309, 5.4309, 5.4309, 90, 90, 90};
constexpr std::array<float, 8> libres_triclinique{1, 0, 1, 1, 1, 1, 1, 1};
constexpr std::array<float, 8> libres_cubique{1, 0, 1, 0, 0, 0, 0, 0};

void calcul_triclinique_500(benchmark::State& etat) {
    lance(etat, calcul, triclinique, 'T', 500, libres_triclinique);
}

void calcul_cubique_30(benchmark::State& etat) {
    lance(etat, calcul, cubique, 'C', 30, libres_cubique);
}

void arithmetique_triclinique_500(benchmark::State& etat) {
    lance(etat, kovrin::moteur::calcul_sans_fichiers, triclinique, 'T', 500, libres_triclinique);
}

void arithmetique_cubique_30(benchmark::State& etat) {
    lance(etat, kovrin::moteur::calcul_sans_fichiers, cubique, 'C', 30, libres_cubique);
}

} // namespace

BENCHMARK(calcul_cubique_30)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(arithmetique_cubique_30)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(calcul_triclinique_500)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(arithmetique_triclinique_500)->Unit(benchmark::kMicrosecond)->UseRealTime();
