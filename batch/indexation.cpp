#include "indexation.h"

#include "deroulement.h"
#include "options.h"

#include "commun/texte.h"
#include "cristallo/onglet_maille.h"
#include "interface/commandes_indexation.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <iostream>

namespace kovrin::batch {

namespace {

inline constexpr std::size_t nb_solutions_imprimees = 10;

std::optional<Systeme> systeme_nomme(const std::string& nom) {
    // "CUBI" as the list's code, or a name it starts: "cubic", "Ortho"...
    return systeme_de_code(majuscules(sans_blancs(nom)).substr(0, 4));
}

} // namespace

CLI::Option* declare_indexation(CLI::App& app, IndexationBatch& ib) {
    OptionsIndexation& o = ib.options;
    auto* index = app.add_flag("--index", ib.demandee,
                               "find the cell from the measured reflections (ab initio indexing) "
                               "and print the ten best solutions");
    app.add_flag("--refine-best", ib.affine_meilleure,
                 "after --index, refine the best solution's cell in the group of its lattice")
        ->needs(index);
    app.add_option(
           "--index-systems", ib.systemes,
           "crystal systems to search: CUBI, TETR, HEXA, RHOM, ORTH, MONO, TRIC (default: all)")
        ->type_name("LIST")
        ->needs(index);
    app.add_flag("--index-all-systems", o.tous_systemes,
                 "search every system asked for, also below a solution of higher symmetry that "
                 "convinces (by default the monoclinic and triclinic searches are then left out, "
                 "and said so)")
        ->needs(index);
    app.add_option("--index-max-volume", o.volume_max, "largest cell volume, A^3 (default 3000)")
        ->type_name("V")
        ->check(CLI::Range(1.0, 20000.0))
        ->needs(index);
    app.add_option("--index-max-unindexed", o.non_indexees_max,
                   "lines left unindexed among the first 20 (default 2)")
        ->type_name("N")
        ->check(CLI::Range(0, 10))
        ->needs(index);
    app.add_option("--index-time-limit", o.duree_max, "seconds (default 60)")
        ->type_name("S")
        ->check(CLI::Range(0.1, 86400.0))
        ->needs(index);
    app.add_option("--threads", o.fils, "threads of the search (default: the machine's cores)")
        ->type_name("N")
        ->check(CLI::Range(1, 1024))
        ->needs(index);
    return index;
}

std::optional<std::string> complete_indexation(IndexationBatch& ib) {
    if (ib.systemes.empty()) return std::nullopt;
    ib.options.systemes = {};
    std::size_t debut = 0;
    while (debut <= ib.systemes.size()) {
        const auto fin = std::min(ib.systemes.find(',', debut), ib.systemes.size());
        const std::string nom = ib.systemes.substr(debut, fin - debut);
        const auto s = systeme_nomme(nom);
        if (!s)
            return "--index-systems: unknown crystal system \"" + nom +
                   "\" (expected CUBI, TETR, HEXA, RHOM, ORTH, MONO or TRIC)";
        ib.options.systemes[static_cast<std::size_t>(*s)] = true;
        debut = fin + 1;
    }
    return std::nullopt;
}

bool indexe_mesures(const OptionsBatch& o, Session& s) {
    const std::vector<double> angles = angles_a_indexer(s.espace);
    const auto debut = std::chrono::steady_clock::now();
    s.indexation = indexe(angles, s.espace.lambda, o.indexation.options);
    const double duree =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    const ResultatIndexation& r = *s.indexation;
    char texte[160];
    std::snprintf(texte, sizeof texte, "indexing: %zu solution(s) from %zu lines in %.2f s%s",
                  r.solutions.size(), angles.size(), duree,
                  r.temps_ecoule ? " (time limit reached: the search is incomplete)" : "");
    std::cerr << "kovrin-batch: " << texte << '\n';
    if (r.solutions.empty()) s.dialogues.message(message_aucune_maille(o.indexation.options));
    if (r.solutions.empty() && o.indexation.affine_meilleure) {
        s.code = sortie_echec_affinement;
        return false;
    }
    return true;
}

OptionsBatch avec_meilleure_maille(const OptionsBatch& o, const SolutionIndexation& meilleure) {
    OptionsBatch suite = o;
    const FicheReseau& r = fiche(meilleure.reseau);
    suite.ligne_systeme = ligne_du_systeme(code_de(r.systeme));
    suite.groupe = std::string(r.groupe);
    suite.hall = false;
    for (std::size_t i = 0; i < 6; ++i)
        suite.parametres_maille[i] = Saisie::de_valeur(meilleure.maille[i]);
    return suite;
}

nlohmann::ordered_json json_solutions(const ResultatIndexation& r) {
    auto liste = nlohmann::ordered_json::array();
    for (const SolutionIndexation& s : r.solutions) {
        nlohmann::ordered_json j;
        j["system"] = code_de(s.systeme());
        j["lattice"] = std::string(fiche(s.reseau).symbole);
        j["cell"] = s.maille;
        j["volume"] = s.volume;
        j["zero"] = s.zero;
        j["m20"] = s.figures.m;
        j["fn"] = {{"n", s.figures.n_f},
                   {"value", s.figures.f},
                   {"mean_delta_2theta", s.figures.ecart_moyen},
                   {"n_possible", s.figures.n_possibles}};
        j["unindexed"] = s.non_indexees;
        j["indices"] = s.indices;
        liste.push_back(j);
    }
    return liste;
}

void imprime_solutions(const ResultatIndexation& r, std::ostream& sortie) {
    sortie << "Indexing: " << r.solutions.size() << " solution(s)\n";
    if (const std::string omis = phrase_systemes_omis(r, " (--index-all-systems searches them)");
        !omis.empty())
        sortie << omis << '\n';
    if (r.solutions.empty()) return;
    char ligne[256];
    std::snprintf(ligne, sizeof ligne,
                  "%3s %-5s %-4s %9s %9s %9s %7s %7s %7s %9s %7s %7s %3s  %s\n", "#", "Syst.",
                  "Lat.", "a", "b", "c", "alpha", "beta", "gamma", "Volume", "Zero", "M(20)", "Un.",
                  "F(N)");
    sortie << ligne;
    for (std::size_t i = 0; i < std::min(r.solutions.size(), nb_solutions_imprimees); ++i) {
        const SolutionIndexation& s = r.solutions[i];
        const Maille& m = s.maille;
        std::snprintf(ligne, sizeof ligne,
                      "%3zu %-5s %-4s %9.5f %9.5f %9.5f %7.3f %7.3f %7.3f %9.2f %7.4f %7.1f %3d  ",
                      i + 1, code_de(s.systeme()).c_str(),
                      std::string(fiche(s.reseau).symbole).c_str(), m[0], m[1], m[2], m[3], m[4],
                      m[5], s.volume, s.zero, s.figures.m, s.non_indexees);
        sortie << ligne << texte_fn(s.figures) << '\n';
    }
    sortie << "Indices of the first lines (best solution; 0 0 0: unindexed):\n";
    for (const auto& [h, k, l] : r.solutions.front().indices)
        sortie << "  " << h << ' ' << k << ' ' << l << '\n';
}

} // namespace kovrin::batch
