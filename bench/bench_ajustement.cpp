// Fitting 100 peak positions on a 30000-point profile: Kalpha doublets every
// 1.2 degree from 11 degrees (steps of 0.004 degree from 10), with Poisson
// noise, each peak starting at its doublet's lobe centre as a search leaves it.
#include "../tests/support/profil_synthetique.h"
#include "profil/ajustement_pics.h"

#include <benchmark/benchmark.h>

namespace {

kovrin::EspaceTravail espace_100_pics() {
    using namespace kovrin::test;
    std::vector<DoubletSynthetique> doublets;
    for (int i = 0; i < 100; ++i)
        doublets.push_back({11 + 1.2 * i, 0.08 + 0.001 * i, 0.5, 80});
    kovrin::EspaceTravail e;
    profil_doublets(e, 10, 0.004, 30000, doublets, 7);
    for (const DoubletSynthetique& d : doublets) {
        kovrin::Mesure m;
        m.deux_theta_mes = m.deux_theta_lu =
            (d.position + rapport_cu * position_alpha2(d.position)) / (1 + rapport_cu);
        e.mesures.ajoute(m);
    }
    return e;
}

void ajustement_100_pics(benchmark::State& state) {
    const kovrin::EspaceTravail modele = espace_100_pics();
    kovrin::BilanAjustement bilan;
    for (auto _ : state) {
        state.PauseTiming();
        kovrin::EspaceTravail e = modele;
        state.ResumeTiming();
        bilan = kovrin::ajuste_positions(e);
        benchmark::DoNotOptimize(e.mesures.taille());
    }
    state.counters["ajustes"] = bilan.ajustes;
}
BENCHMARK(ajustement_100_pics)->Unit(benchmark::kMillisecond);

} // namespace
