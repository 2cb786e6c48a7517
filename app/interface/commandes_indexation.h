#pragma once
// The indexing of the cell tab: what the search takes from the workspace, why
// it cannot start, the solutions as the dialog's table shows them, and "Use",
// which makes a solution the cell of the tab as if it had been typed.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "indexation/indexation.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kovrin {

// The measured lines, degrees 2theta as measured, that the search takes.
std::vector<double> angles_a_indexer(const EspaceTravail& et);

// Why the search cannot start on the workspace (no lines, too few, no
// wavelength), or nothing.
std::optional<std::string> refus_indexation(const EspaceTravail& et);

// The columns of the table of solutions, and one row per solution.
inline constexpr std::array<const char*, 13> colonnes_solutions{
    "Lattice", "System", "a",    "b",     "c",      "\u03b1", "\u03b2",
    "\u03b3",  "Volume", "Zero", "M(20)", "Unind.", "F(N)"};
std::vector<std::vector<std::string>> lignes_solutions(const std::vector<SolutionIndexation>& s);

// The progress line of a running search.
std::string texte_progres(const ProgresIndexation& p);
// The answer of a search that found nothing.
std::string message_aucune_maille(const OptionsIndexation& o);
// What the search found, once it ended.
std::string bilan_indexation(const ResultatIndexation& r, const OptionsIndexation& o);

// The codes of the systems the search left out below a convincing solution
// of higher symmetry (CUBI ... TRIC), and the sentence that names them, with
// `precision` before the codes (empty when none was left out).
std::vector<std::string> systemes_omis(const ResultatIndexation& r);
std::string phrase_systemes_omis(const ResultatIndexation& r, const std::string& precision = {});

// "Use": the solution's crystal system, the space group of its lattice and
// its conventional cell fill the cell tab, the reflections are calculated at
// the current wavelength and range, and the selection tab comes forward.
Rafraichissement prend_solution_indexation(EspaceTravail& et, EtatPrincipal& ep,
                                           const SolutionIndexation& s, Dialogues& d);

} // namespace kovrin
