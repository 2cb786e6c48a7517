#pragma once
// kovrin-batch's indexing: the options of the search, the search on the
// measured reflections, its table and JSON, and the cell it hands on to the
// refinement (--refine-best).
#include "indexation/indexation.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace kovrin::batch {

struct OptionsBatch;
struct Session;

struct IndexationBatch {
    bool demandee = false;         // --index
    bool affine_meilleure = false; // --refine-best
    std::string systemes;          // --index-systems as typed
    OptionsIndexation options;
};

// Declares --index and the options of the search; returns --index.
CLI::Option* declare_indexation(CLI::App& app, IndexationBatch& ib);

// What CLI11 cannot check: the list of systems. The refusal's text, if any.
std::optional<std::string> complete_indexation(IndexationBatch& ib);

// The search on the measured reflections at the working wavelength. False
// (with the exit status set) when --refine-best has no solution to go on with.
bool indexe_mesures(const OptionsBatch& o, Session& s);

// The options of the run with the best solution's cell typed in: its crystal
// system, the group of its lattice and its parameters.
OptionsBatch avec_meilleure_maille(const OptionsBatch& o, const SolutionIndexation& meilleure);

nlohmann::ordered_json json_solutions(const ResultatIndexation& r);

// The ten best solutions, then the indices of the best one's first lines.
void imprime_solutions(const ResultatIndexation& r, std::ostream& sortie);

} // namespace kovrin::batch
