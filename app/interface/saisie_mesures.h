#pragma once
// The measured grid of tab 1 ("Measured reflections (2theta)"): its texts, and
// reading typed rows back into the measured list, which it always mirrors.
#include "commun/dialogues.h"
#include "interface/affichages.h"
#include "commun/espace_travail.h"

#include <string_view>

namespace kovrin {

inline constexpr int nb_lignes_initial_grille_mesures = 100;

// Exchange sort by ascending angle (the three values of a reflection move together).
void trie_mesures(EspaceTravail& et);

// Header row only; the grid keeps its row count.
Grille grille_mesures_vide(const EspaceTravail& et);
// Every reflection in its row; `nb_mesures` + 3 rows, at least 20. The list is
// expected sorted (remplit_grille_mesures sorts it).
Grille grille_mesures(const EspaceTravail& et);

// Fill: sort the list, write the grid, the lambda edit of "Current values",
// the measured grid of the selection tab and the profile window's peak grid.
Rafraichissement remplit_grille_mesures(EspaceTravail& et);

// Button "Keyboard" of tab 1: the grid emptied with its headers, the lambda
// edit emptied, the buttons "Erase" and "Save" shown.
Rafraichissement enter_refl_keyb(EspaceTravail& et);

// Read back (every cell selection): the measured list rebuilt from the texts of
// the grid (`grille.lignes`, header included: column 0 the angle in the displayed
// unit, column 2 the area) and the lambda edit of "Current values". After a
// message the list holds the rows read so far and nothing is refilled.
Rafraichissement theta_to_dhkl(EspaceTravail& et, const Grille& grille,
                               std::string_view texte_lambda, Dialogues& d);

} // namespace kovrin
