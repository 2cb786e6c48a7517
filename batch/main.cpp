// kovrin-batch: the whole refinement of a unit cell from the command line,
// through the same core procedures as the windowed program.
#include "deroulement.h"
#include "options.h"
#include "sortie.h"

#include <iostream>
#include <memory>
#include <variant>

int main(int argc, char** argv) {
    using namespace kovrin::batch;
    auto lues = lit_options(argc, argv);
    if (const int* code = std::get_if<int>(&lues)) return *code;
    const OptionsBatch& options = std::get<OptionsBatch>(lues);
    // The workspace holds 30000 profile points: too large for the stack.
    auto session = std::make_unique<Session>();
    // Nothing edits spgr2.dat and the .pos files during a run: read each once.
    session->espace.donnees_lues.memorise = true;
    deroule(options, *session);
    if (options.json)
        std::cout << resume_json(options, *session).dump(2) << '\n';
    else if (session->code == sortie_succes)
        imprime_table(options, *session, std::cout);
    return session->code;
}
