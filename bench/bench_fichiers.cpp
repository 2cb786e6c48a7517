// Reading and writing raw profiles: the real 3901-point RAW1 file, and a full
// 30000-point profile written as RAW2 and read back.
#include "commun/dialogues.h"
#include "fichiers/ecrivains.h"
#include "fichiers/lecteurs_profil.h"

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace kovrin;

namespace {

const std::filesystem::path fichier_reel =
    std::filesystem::path(__FILE__).parent_path() / "../../shared/data/real/Cu3Au-1.raw";

void BM_LitRaw1Reel(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(lit_profil_raw(fichier_reel));
}
BENCHMARK(BM_LitRaw1Reel)->Unit(benchmark::kMicrosecond);

EspaceTravail profil_plein() {
    EspaceTravail et;
    for (int i = 0; i < 30000; ++i)
        et.profil.ajoute({static_cast<float>(5 + 0.005 * i), static_cast<float>(i % 101)});
    return et;
}

void BM_EcritEtLitRaw2Plein(benchmark::State& state) {
    EspaceTravail et = profil_plein();
    auto fichier = std::filesystem::temp_directory_path() / "kovrin_bench_profil.raw";
    for (auto _ : state) {
        ecrit_profil_raw({et.profil, et.entete_profil, et.ligne_titre, et.angle_min}, fichier);
        benchmark::DoNotOptimize(lit_profil_raw(fichier));
    }
    std::filesystem::remove(fichier);
}
BENCHMARK(BM_EcritEtLitRaw2Plein)->Unit(benchmark::kMillisecond);

} // namespace
