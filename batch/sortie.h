#pragma once
// What kovrin-batch prints on standard output: the table of the refinement tab
// (or, with --no-refine, the calculated and selected reflections), or one JSON
// object with every result of the run.
#include "deroulement.h"
#include "options.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace kovrin::batch {

nlohmann::ordered_json resume_json(const OptionsBatch& options, const Session& session);

void imprime_table(const OptionsBatch& options, const Session& session, std::ostream& sortie);

} // namespace kovrin::batch
