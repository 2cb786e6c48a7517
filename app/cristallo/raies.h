#pragma once
// Calculated reflections: every allowed reflection of the angle range, one entry
// per distinct spacing, sorted by increasing angle.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "cristallo/onglet_maille.h"

#include <optional>
#include <vector>

namespace kovrin {

// Reads the cell tab, loads the operators of the chosen group, checks the
// wavelength, cell, system, group and range, then generates the reflections.
// True when a generation ran to its end (the list may be empty). On a failed
// check, a conversion error of the cell tab or a bad data file (ErreurKovrin is
// thrown for the latter), et.calculees keeps its previous contents.
bool calcul_raies(EspaceTravail& et, const OngletMaille& onglet, Dialogues& d);

// The generation proper, from the workspace alone (the checks of calcul_raies
// are assumed passed). False when it was abandoned: a cell parameter or a
// wavelength outside its domain (the refusal names it) or a cell without a
// reciprocal (list unchanged), or 9999 candidates (list emptied).
bool genere_raies(EspaceTravail& et, Dialogues& d);

// The steps of genere_raies, open to tests.
struct Candidat {
    int h, k, l;
    double d; // 0 once absorbed into an earlier candidate
};
// Every allowed reflection of the range, in the order of enumeration (h from
// h_max down, k from k_max down, l from 0 up), from et.matrice_b,
// et.maille_reciproque and et.reseau as genere_raies sets them. Nothing when
// there would be 9999 or more, indices beyond 16 bits, or an index box of more
// than 20 million triples to go through.
std::optional<std::vector<Candidat>> candidats_de(const EspaceTravail& et);
// By decreasing d, in the very order the exchange sort (for i < j, candidates
// i and j swapped when d(i) < d(j)) leaves them, ties included: that order
// decides which indices represent a group. Candidates whose d is NaN compare
// with nothing and keep their places.
void trie_candidats(std::vector<Candidat>& candidats);
// One entry per group of spacings within 0.0001 of the group's first; the
// indices of its last member with h, k, l >= 0, else of its first. A 1000th
// entry is refused with "Too many calculated reflections (>1000)".
void fusionne_candidats(std::vector<Candidat>& candidats, double lambda,
                        ListeBornee<RaieCalculee, 999>& sortie, Dialogues& d);

} // namespace kovrin
