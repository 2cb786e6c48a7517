// The whole automatic peak search on a 30000-point profile: both filter passes
// (smoothing, second derivative), the scaling, the lobe scan and the marking.
#include "commun/espace_travail.h"
#include "profil/recherche_pics.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// 30000 steps of 0.004 degree from 10 degrees, a Gaussian peak (FWHM 0.15)
// every 0.8 degree over a sloping background with a small ripple: about 150
// peaks and many shallow lobes for the scan to refuse.
kovrin::EspaceTravail espace_30000() {
    kovrin::EspaceTravail e;
    e.entete_profil.anode = "Cu";
    e.entete_profil.lambda = 1.54184;
    e.entete_profil.lambda1 = 1.5406;
    e.entete_profil.lambda2 = 1.54439;
    e.entete_profil.rapport = 0.5;
    const double sigma = 0.15 / 2.3548;
    for (int i = 0; i < 30000; ++i) {
        const double a = 10 + 0.004 * i;
        const double centre = std::round(a / 0.8) * 0.8;
        const double pic = 80 * std::exp(-0.5 * std::pow((a - centre) / sigma, 2));
        const double fond = 5 + 0.02 * a + 0.5 * std::sin(a * 37.0);
        e.profil.ajoute({static_cast<float>(a), static_cast<float>(pic + fond)});
    }
    return e;
}

void recherche_complete(benchmark::State& state) {
    kovrin::EspaceTravail e = espace_30000();
    kovrin::DialoguesEnregistres d;
    for (auto _ : state) {
        auto champs = kovrin::prepare_recherche(e, d);
        kovrin::lance_recherche(e, kovrin::limites_de_positions(kovrin::PositionsRecherche{}), *champs, d);
        benchmark::DoNotOptimize(e.mesures.taille());
        d.vide();
    }
    state.counters["pics"] = static_cast<double>(e.mesures.taille());
}
BENCHMARK(recherche_complete)->Unit(benchmark::kMillisecond);

} // namespace
