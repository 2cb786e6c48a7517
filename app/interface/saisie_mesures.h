#pragma once
// The measured grid of tab 1 ("Measured reflections (2theta)"): its texts, and
// reading typed rows back into the measured list, which it always mirrors.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "commun/nombres.h"
#include "interface/affichages.h"

#include <string_view>

namespace kovrin {

inline constexpr int nb_lignes_initial_grille_mesures = 100;

// Exchange sort by ascending angle (the three values of a reflection move together).
void trie_mesures(EspaceTravail& et);

// Header row only; the grid keeps its row count.
Grille grille_mesures_vide(const EspaceTravail& et);
// Every reflection in its row; `nb_mesures` + 3 rows, at least 20; with no
// reflection, the header alone. The list is expected sorted.
Grille grille_mesures(const EspaceTravail& et);

// The list sorted; every display of the measured reflections follows.
Rafraichissement remplit_grille_mesures(EspaceTravail& et);

// Button "Keyboard" of tab 1: the grid and the list it mirrors emptied, the
// lambda edit emptied, the buttons "Erase" and "Save" shown.
Rafraichissement enter_refl_keyb(EspaceTravail& et, EtatPrincipal& ep);

// One cell of the grid edited by the user: row `ligne` (1-based), column 0 the
// angle in the displayed unit, column 2 the area; the values of that row's
// angle and area cells as typed, and the lambda of "Current values".
struct EditionMesure {
    Saisie lambda;
    int ligne = 0, colonne = 0;
    Saisie angle, aire;
};

// Read back of an edited row: its reflection takes the value typed in the
// edited column (a new angle becomes the as-read angle too and forgets the
// fit; an empty area reads as 100), a row past the list adds a reflection once
// its angle is typed, an emptied angle removes the row's reflection. The other
// reflections keep every value. Then the list is sorted, the range follows it
// and the grids are refilled. Messages "Error on Lambda", "Type first the
// wavelength", "Error at  row,N" (no number), "Row N: ..." (outside the
// domain), "Too many measured reflections (>500)": nothing changes after one.
Rafraichissement modifie_ligne_mesures(EspaceTravail& et, const EditionMesure& e, Dialogues& d);

} // namespace kovrin
