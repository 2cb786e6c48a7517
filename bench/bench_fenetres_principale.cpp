// The windowed program, offscreen: from nothing to the main window shown, and
// the answer of each command of the road on the silicon example (the command
// and the windows showing what it changed).
#include "fenetres/programme.h"
#include "fenetres/tform1.h"
#include "fenetres/tform6.h"
#include "interface/commandes.h"
#include "interface/commandes_affinement.h"
#include "interface/commandes_maille.h"
#include "interface/dialogue_lambda.h"
#include "interface/prise_donnees.h"
#include "interface/selection.h"
#include "interface/session_batch.h"
#include "interface/travail.h"

#include <QApplication>
#include <QCheckBox>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using kovrin::fenetres::Programme;

const std::filesystem::path exemple = std::filesystem::path(KOVRIN_SOURCE_DIR) / "examples/cubique";

void affiche() {
    QApplication::processEvents();
}

void ouvre_pics(Programme& p) {
    const auto source = kovrin::longueurs_onde_source(kovrin::element_autre, 1.5405929);
    p.commande([&] {
        return kovrin::prend_fichier(p.espace, p.principal, exemple / "silicium.prn",
                                     kovrin::GenreFichier::pics, kovrin::pics_prn, source,
                                     p.dialogues());
    });
}

// A program with the peaks, the cell, its reflections and the pairs, as far as `etape`.
struct Banc {
    explicit Banc(int etape) : programme(std::filesystem::temp_directory_path(), &dialogues) {
        programme.form6().show();
        programme.form1().show();
        affiche();
        if (etape >= 1) ouvre_pics(programme);
        if (etape >= 2) {
            for (std::size_t i = 0; i < 6; ++i)
                programme.principal.maille.cellule[i] =
                    kovrin::Saisie::de_valeur(i < 3 ? 5.4310 : 90);
            programme.commande(
                [&] { return kovrin::set_systeme(programme.espace, programme.principal, 0); });
            kovrin::choisit_groupe(programme.espace, "Fd-3m", false);
            calc();
        }
        if (etape >= 3) selection();
    }
    void calc() {
        programme.principal.maille.lambda = kovrin::Saisie::de_valeur(1.54059);
        programme.principal.maille.theta_min = kovrin::Saisie::de_valeur(26.46);
        programme.principal.maille.theta_max = kovrin::Saisie::de_valeur(138.89);
        programme.commande([&] {
            return kovrin::calcul_diagramme(programme.espace, programme.principal,
                                            programme.dialogues());
        });
    }
    void selection() {
        programme.principal.tolerance = kovrin::Saisie::de_valeur(0.1);
        programme.commande([&] {
            return kovrin::selection_automatique(programme.espace, programme.principal,
                                                 programme.dialogues());
        });
    }
    kovrin::DialoguesEnregistres dialogues;
    Programme programme;
};

void BM_demarrage(benchmark::State& etat) {
    for (auto _ : etat) {
        kovrin::DialoguesEnregistres d;
        Programme p(std::filesystem::temp_directory_path(), &d);
        p.form6().show();
        p.form1().show();
        affiche();
    }
}
BENCHMARK(BM_demarrage)->Unit(benchmark::kMillisecond);

void BM_ouvre_pics(benchmark::State& etat) {
    Banc b(0);
    for (auto _ : etat) {
        ouvre_pics(b.programme);
        affiche();
    }
}
BENCHMARK(BM_ouvre_pics)->Unit(benchmark::kMillisecond);

void BM_calc(benchmark::State& etat) {
    Banc b(1);
    for (auto _ : etat) {
        b.calc();
        affiche();
    }
}
BENCHMARK(BM_calc)->Unit(benchmark::kMillisecond);

void BM_selection_automatique(benchmark::State& etat) {
    Banc b(2);
    for (auto _ : etat) {
        b.selection();
        affiche();
    }
}
BENCHMARK(BM_selection_automatique)->Unit(benchmark::kMillisecond);

void BM_affinement(benchmark::State& etat) {
    Banc b(3);
    b.programme.principal.maille.coche[0] = b.programme.principal.maille.coche[6] = true;
    kovrin::affiche_initial(b.programme.espace, b.programme.principal.affinement);
    for (auto _ : etat) {
        b.programme.commande([&] {
            return kovrin::go_affinement(b.programme.espace, b.programme.principal,
                                         b.programme.dialogues());
        });
        affiche();
    }
}
BENCHMARK(BM_affinement)->Unit(benchmark::kMillisecond);

void BM_theta_2theta(benchmark::State& etat) {
    Banc b(3);
    int mode = 0;
    for (auto _ : etat) {
        b.programme.commande(
            [&] { return kovrin::change_angles(b.programme.espace, b.programme.principal, mode); });
        affiche();
        mode = 1 - mode;
    }
}
BENCHMARK(BM_theta_2theta)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
