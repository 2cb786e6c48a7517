// The whole automatic peak search on a 30000-point profile: both filter passes
// (smoothing, second derivative), the scaling, the lobe scan and the marking;
// and the whole counting-statistics search (raw values, smoothing, background,
// noise, the scan and the marking) on 30000 points of Poisson counts.
#include "commun/espace_travail.h"
#include "profil/recherche_pics.h"
#include "profil/recherche_statistique.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

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

void recherche_pics_30000(benchmark::State& state) {
    kovrin::EspaceTravail e = espace_30000();
    kovrin::DialoguesEnregistres d;
    for (auto _ : state) {
        auto champs = kovrin::prepare_recherche(e, d);
        kovrin::lance_recherche(e, kovrin::limites_de_positions(kovrin::PositionsRecherche{}),
                                *champs, d);
        benchmark::DoNotOptimize(e.mesures.taille());
        d.vide();
    }
    state.counters["pics"] = static_cast<double>(e.mesures.taille());
}
BENCHMARK(recherche_pics_30000)->Unit(benchmark::kMicrosecond);

// The same peaks as counts: 30000 Poisson draws (fixed seed) of a peak of 400
// counts every 0.8 degree over a curved background of 20 to 150 counts, taken
// in as a reader leaves them (normalised 0 ... 100, raw extremes kept).
kovrin::EspaceTravail espace_comptes_30000() {
    kovrin::EspaceTravail e = espace_30000();
    std::mt19937 generateur(7);
    const double sigma = 0.15 / 2.3548;
    std::vector<double> comptes;
    for (const kovrin::PointProfil& p : e.profil) {
        const double a = p.angle;
        const double centre = std::round(a / 0.8) * 0.8;
        const double moyenne = 20 + 130 * std::exp(-(a - 10) / 15) +
                               400 * std::exp(-0.5 * std::pow((a - centre) / sigma, 2));
        comptes.push_back(std::poisson_distribution<int>(moyenne)(generateur));
    }
    const auto [bas, haut] = std::minmax_element(comptes.begin(), comptes.end());
    e.entete_profil.intensite_min_brute = *bas;
    e.entete_profil.intensite_max_brute = *haut;
    for (int i = 1; i <= e.profil.taille(); ++i)
        e.profil[i].intensite = static_cast<float>(
            (comptes[static_cast<std::size_t>(i - 1)] - *bas) * 100 / (*haut - *bas));
    return e;
}

void recherche_statistique_30000(benchmark::State& state) {
    kovrin::EspaceTravail e = espace_comptes_30000();
    kovrin::DialoguesEnregistres d;
    const auto champs = kovrin::prepare_recherche(e, d);
    for (auto _ : state) {
        kovrin::cherche_pics_statistiques(e, kovrin::ReglagesStatistiques{}, *champs, d);
        benchmark::DoNotOptimize(e.mesures.taille());
        d.vide();
    }
    state.counters["pics"] = static_cast<double>(e.mesures.taille());
}
BENCHMARK(recherche_statistique_30000)->Unit(benchmark::kMicrosecond);

} // namespace
