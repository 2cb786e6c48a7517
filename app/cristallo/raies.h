#pragma once
// Calculated reflections: every allowed reflection of the angle range, one entry
// per distinct spacing, sorted by increasing angle.
#include "commun/dialogues.h"
#include "cristallo/onglet_maille.h"
#include "interface/espace_travail.h"

namespace kovrin {

// Reads the cell tab, loads the operators of the chosen group, checks the
// wavelength, cell, system, group and range, then generates the reflections.
// True when a generation ran to its end (the list may be empty). On a failed
// check, a conversion error of the cell tab or a bad data file (ErreurKovrin is
// thrown for the latter), et.calculees keeps its previous contents.
bool calcul_raies(EspaceTravail& et, const OngletMaille& onglet, Dialogues& d);

// The generation proper, from the workspace alone (the checks of calcul_raies
// are assumed passed). False when it was abandoned: a cell without a reciprocal
// (list unchanged) or 9999 candidates (list emptied).
bool genere_raies(EspaceTravail& et, Dialogues& d);

} // namespace kovrin
