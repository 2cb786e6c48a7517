// The indexing measured on synthetic lists: for each Bravais lattice, lists of
// random cells (tools/genere_listes_indexation writes the same lists), then by
// crystal system the share whose first solution is right (its reduced cell
// within 0.5 % and 0.5 degree of the true one, and the right lattice), the
// share with the right one among the first five, the time per list, the
// share of lists whose search left a lower system out (a higher one convinced),
// and two kinds of misses no search can help: those whose first solution
// gives the true cell's pattern (the same lines to the list's last: an
// accidental ratio of the edges), and those whose lines but two or fewer lie
// in one zone of the true cell (its third vector is then free).
//
//   kovrin_mesure_indexation [LISTS_PER_LATTICE [THREADS [TIME_LIMIT [LATTICES [SEED]]]]]
//
// LATTICES: symbols separated by commas (default: every lattice searched).
// SEED: list i of a lattice is drawn from seed 1000 i + SEED (default 7), so
// that another draw checks a change on lists it was not made on.
#include "indexation/indexation.h"
#include "indexation/synthese.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <sstream>
#include <string>
#include <thread>

namespace {

using namespace kovrin;

struct Compte {
    int listes = 0, premier = 0, cinq = 0;
    int omis = 0;                                  // lists whose search left a lower system out
    int indiscernables = 0;                        // misses whose first gives the same pattern
    int indeterminees = 0;                         // misses with two lines or fewer off a zone
    double secondes = 0, pire = 0, processeur = 0; // processeur: CPU seconds of every thread
};

bool juste(const SolutionIndexation& s, const ListeSynthetique& l) {
    return s.reseau == l.reseau &&
           meme_reseau(s.maille, fiche(s.reseau).centrage, l.maille, fiche(l.reseau).centrage);
}

// Rank of the right solution from 1, 0 when absent.
int rang_juste(const ResultatIndexation& r, const ListeSynthetique& l) {
    for (std::size_t i = 0; i < r.solutions.size(); ++i)
        if (juste(r.solutions[i], l)) return static_cast<int>(i) + 1;
    return 0;
}

bool meme_diagramme_que(const SolutionIndexation& s, const ListeSynthetique& l) {
    return meme_diagramme(s.reseau, s.maille, l.reseau, l.maille, l.lambda,
                          l.deux_theta.back() - l.zero);
}

// A miss, with what no search can help: the first solution gives the same
// pattern, or the list leaves fewer than three lines off a zone of its cell.
void raconte_echec(const ResultatIndexation& r, const ListeSynthetique& l, int rang,
                   bool meme_diagramme, int hors_zone) {
    std::printf("  miss %s %.4f %.4f %.4f %.2f %.2f %.2f (%zu lines, %d impurities, zero %.3f):"
                " right at rank %d",
                std::string(fiche(l.reseau).symbole).c_str(), l.maille[0], l.maille[1], l.maille[2],
                l.maille[3], l.maille[4], l.maille[5], l.deux_theta.size(), l.impuretes, l.zero,
                rang);
    if (!r.solutions.empty()) {
        const auto& s = r.solutions.front();
        std::printf("; first %s %.4f %.4f %.4f %.2f %.2f %.2f M20 %.1f",
                    std::string(fiche(s.reseau).symbole).c_str(), s.maille[0], s.maille[1],
                    s.maille[2], s.maille[3], s.maille[4], s.maille[5], s.figures.m);
        if (meme_diagramme) std::printf(", the same pattern");
    }
    if (hors_zone < 3) std::printf("; %d of its lines off one zone", hors_zone);
    std::printf("%s\n", r.temps_ecoule ? " (time limit)" : "");
}

// Seconds from the cancellation of a search on a list no cell indexes to its
// return, the cancellation coming `apres` seconds after the start.
double delai_annulation(const OptionsIndexation& options, double apres) {
    std::vector<double> angles;
    for (int i = 0; i < 25; ++i)
        angles.push_back(10 + 60 * std::fmod(0.618034 * (i + 1) * (i + 3), 1.0));
    std::atomic<bool> annulation{false};
    std::chrono::steady_clock::time_point fin;
    std::thread recherche([&] {
        indexe(angles, 1.5406, options, {}, &annulation);
        fin = std::chrono::steady_clock::now();
    });
    std::this_thread::sleep_for(std::chrono::duration<double>(apres));
    const auto debut = std::chrono::steady_clock::now();
    annulation = true;
    recherche.join();
    return std::chrono::duration<double>(fin - debut).count();
}

} // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 20;
    OptionsIndexation options;
    if (argc > 2) options.fils = std::atoi(argv[2]);
    if (argc > 3) options.duree_max = std::atof(argv[3]);
    std::string choisis = argc > 4 ? argv[4] : "";
    const std::uint64_t graine = argc > 5 ? std::strtoull(argv[5], nullptr, 10) : 7;
    std::map<int, Compte> par_systeme;
    for (const FicheReseau& f : table_reseaux) {
        if (!choisis.empty() &&
            ("," + choisis + ",").find("," + std::string(f.symbole) + ",") == std::string::npos)
            continue;
        for (int i = 0; i < n; ++i) {
            const auto l =
                liste_synthetique(f.reseau, 1000 * static_cast<std::uint64_t>(i) + graine);
            const std::clock_t debut_processeur = std::clock();
            const auto debut = std::chrono::steady_clock::now();
            const auto r = indexe(l.deux_theta, l.lambda, options);
            const double s =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
            const int rang = rang_juste(r, l);
            Compte& c = par_systeme[static_cast<int>(f.systeme)];
            ++c.listes;
            c.premier += rang == 1;
            c.cinq += rang >= 1 && rang <= 5;
            c.secondes += s;
            c.processeur += static_cast<double>(std::clock() - debut_processeur) / CLOCKS_PER_SEC;
            c.pire = std::max(c.pire, s);
            c.omis += std::count(r.systemes_omis.begin(), r.systemes_omis.end(), true) > 0;
            if (rang == 1) continue;
            const bool meme = !r.solutions.empty() && meme_diagramme_que(r.solutions.front(), l);
            const int hors_zone = raies_hors_zone(l);
            raconte_echec(r, l, rang, meme, hors_zone);
            c.indiscernables += meme;
            c.indeterminees += hors_zone < 3;
        }
    }
    std::printf("\n%-14s %6s %10s %10s %12s %10s %12s %10s %13s %13s\n", "system", "lists",
                "first %", "top-5 %", "s per list", "worst s", "CPU s/list", "skipped %",
                "same pattern", "undetermined");
    for (const auto& [systeme, c] : par_systeme)
        std::printf("%-14s %6d %10.1f %10.1f %12.3f %10.3f %12.3f %10.1f %13d %13d\n",
                    std::string(fiche(static_cast<Systeme>(systeme)).nom_cif).c_str(), c.listes,
                    100.0 * c.premier / c.listes, 100.0 * c.cinq / c.listes, c.secondes / c.listes,
                    c.pire, c.processeur / c.listes, 100.0 * c.omis / c.listes, c.indiscernables,
                    c.indeterminees);
    // A cancellation every 10 ms through the first half second, where the
    // search prepares its boxes and runs its first shells.
    double somme = 0, pire = 0;
    const int sondages = 50;
    for (int k = 1; k <= sondages; ++k) {
        const double delai = delai_annulation(options, 0.01 * k);
        somme += delai;
        pire = std::max(pire, delai);
    }
    std::printf("cancellation 0.01 to 0.50 s after the start (%d times): returned %.3f s later"
                " on average, %.3f s at worst\n",
                sondages, somme / sondages, pire);
    return 0;
}
