// The plot windows offscreen with a 30000-point profile and 500 measured
// peaks: the time of a redraw of each window (the core's drawing list and its
// painting), and the latency of a zoom from the button's release to the
// picture painted.
#include "fenetres/image_trace.h"
#include "fenetres/programme.h"
#include "fenetres/tform6.h"
#include "fenetres/tform7.h"
#include "interface/commandes_profil.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace {

using namespace kovrin;

// 30000 steps of 0.004 degree from 10 degrees with a peak every 0.8 degree,
// 500 measured peaks and 300 calculated reflections over the range.
void remplit(EspaceTravail& e) {
    e.lambda = e.entete_profil.lambda = 1.54184;
    e.entete_profil.fichier_profil = "synthetique.raw";
    for (int i = 0; i < 30000; ++i) {
        const double a = 10 + 0.004 * i;
        const double pic =
            80 * std::exp(-0.5 * std::pow((a - std::round(a / 0.8) * 0.8) / 0.064, 2));
        e.profil.ajoute({static_cast<float>(a), static_cast<float>(pic + 5)});
    }
    for (int j = 0; j < 500; ++j)
        e.mesures.ajoute({10.1 + 0.238 * j, 10.1 + 0.238 * j, 20.0 + j % 80, 1 + j % 5});
    for (int j = 0; j < 300; ++j)
        e.calculees.ajoute({1, 0, 0, 1.0f, static_cast<float>(10.2 + 0.39 * j)});
    e.angle_min = e.angle_min_initial = 10;
    e.angle_max = e.angle_max_initial = 130;
}

struct Banc {
    Banc() : programme(dossier()) {
        remplit(programme.espace);
        for (QWidget* f :
             {static_cast<QWidget*>(&programme.form6()), static_cast<QWidget*>(&programme.form7())})
            f->show();
        QApplication::processEvents();
    }
    static std::filesystem::path dossier() {
        auto d = std::filesystem::temp_directory_path() / "kovrin_bench_fenetres";
        std::filesystem::create_directories(d);
        return d;
    }
    fenetres::Programme programme;
};

// Built in main, after the application and before the benchmarks run.
Banc* banc_courant = nullptr;

Banc& banc() {
    return *banc_courant;
}

void redessine(benchmark::State& state, fenetres::ImageTrace& image) {
    for (auto _ : state) {
        image.redessine();
        image.repaint();
    }
}

void redessin_diagramme(benchmark::State& state) {
    redessine(state, *banc().programme.form6().image);
}

void redessin_profil(benchmark::State& state) {
    redessine(state, *banc().programme.form7().image);
}

// A drag over the middle third of the picture, released, painted; the full
// range back between two measures.
void zoom(benchmark::State& state, fenetres::ImageTrace& image, std::function<void()> reset) {
    const int l = image.width(), h = image.height();
    for (auto _ : state) {
        image.sur_appui(BoutonSouris::gauche, {l / 3, h / 4});
        image.sur_relache(BoutonSouris::gauche, {2 * l / 3, h / 2});
        image.repaint();
        state.PauseTiming();
        reset();
        state.ResumeTiming();
    }
}

void zoom_diagramme(benchmark::State& state) {
    fenetres::Programme& p = banc().programme;
    zoom(state, *p.form6().image, [&] { reset_dessin(p.espace, p.diagramme); });
}

void zoom_profil(benchmark::State& state) {
    fenetres::Programme& p = banc().programme;
    zoom(state, *p.form7().image, [&] { reset_diagramme(p.espace, p.profil); });
}

} // namespace

BENCHMARK(redessin_diagramme)->Unit(benchmark::kMillisecond);
BENCHMARK(redessin_profil)->Unit(benchmark::kMillisecond);
BENCHMARK(zoom_diagramme)->Unit(benchmark::kMillisecond);
BENCHMARK(zoom_profil)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Banc b;
    banc_courant = &b;
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
