#pragma once
// The main window's status line: what the last command left, in words, so
// that a pairing that paired nothing or a list that lost its peaks is said.
#include "commun/espace_travail.h"
#include "interface/etat_principal.h"

#include <filesystem>
#include <string>

namespace kovrin {

// By what the command changed, the first that applies:
// - a refinement: "Refined: M(11) = 21605.9, F(11) = 4204.4 (0.0002, 13)";
// - the pairs, calculated reflections being there: "7 of 11 measured
//   reflections paired within 0.100°; unpaired: 56.13, 88.04, …" (angles in
//   the unit shown, five at most);
// - the measured list or the range: "11 measured reflections, range
//   26.46–138.89°";
// - the calculated reflections: "152 calculated reflections".
// Empty otherwise: the line keeps what it said.
std::string ligne_etat(const EspaceTravail& et, const EtatPrincipal& ep, unsigned changes);

// Where the results go: "Results (kovrin.out, Excel.txt, reports) are written to <folder>".
std::string ligne_repertoire(const std::filesystem::path& repertoire);

} // namespace kovrin
