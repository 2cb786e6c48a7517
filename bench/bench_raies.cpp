// Generation of the calculated reflections: silicon (Fd-3m) over 10-120 degrees,
// and the worst case of a large triclinic cell that gives about 9990 candidates
// (the quadratic exchange sort dominates).
#include "cristallo/geometrie.h"
#include "cristallo/groupes.h"
#include "cristallo/raies.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace kovrin;

EspaceTravail espace(const std::string& systeme, const std::string& groupe, Maille maille,
                     double t1, double t2) {
    EspaceTravail et;
    et.repertoire = std::filesystem::temp_directory_path(); // hm.txt goes there
    et.systeme = systeme;
    et.groupe = groupe;
    et.origine_groupe = "HM";
    et.maille = maille;
    et.lambda = 1.5406;
    et.angle_min_initial = t1;
    et.angle_max_initial = t2;
    DialoguesEnregistres d;
    charge_operateurs_hm(et, d);
    return et;
}

void genere(benchmark::State& state, EspaceTravail et) {
    DialoguesEnregistres d;
    for (auto _ : state) {
        genere_raies(et, d);
        d.vide();
        benchmark::DoNotOptimize(et.calculees.taille());
    }
    state.counters["entrees"] = et.calculees.taille();
}

void genere_raies_silicium(benchmark::State& state) {
    genere(state, espace("CUBI", "FD-3M", {5.4310, 5.4310, 5.4310, 90, 90, 90}, 10, 120));
}
BENCHMARK(genere_raies_silicium)->Unit(benchmark::kMicrosecond);

// 13 x 14.5 x 18.07 angstrom triclinic P1 over 5-120 degrees: 9992 candidates, 999 entries kept.
void genere_raies_pire_cas(benchmark::State& state) {
    genere(state, espace("TRIC", "NO EXT.", {13, 14.5, 18.07, 80, 95, 105}, 5, 120));
}
BENCHMARK(genere_raies_pire_cas)->Unit(benchmark::kMillisecond);

} // namespace
