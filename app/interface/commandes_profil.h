#pragma once
// Commands of the profile window that reach beyond it: the peak grid (filling
// it sorts the measured list and refreshes the main window's measured tables)
// and "re-Draw the pattern with new values".
#include "commun/dialogues.h"
#include "cristallo/onglet_maille.h"
#include "interface/affichages.h"
#include "commun/espace_travail.h"
#include "profil/trace.h"

#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

// Grid "Observed reflections (2theta)": columns "N", "2Theta" (or "Theta"),
// "Dhkl", "Int."; one row per measured reflection, drawn in the colour of its
// kind; the count for the label "Nb of selected peaks:".
struct GrillePics {
    Grille grille;
    std::vector<Couleur> couleurs; // per data row (index 0: row 1)
    std::string nombre;
};

// The headers alone (no measured reflection shown).
GrillePics grille_pics_vide(const EspaceTravail& et);

// Sorts the measured list by angle and fills the grid; `principal` is what the
// main window refreshes (its measured tables).
struct RemplissagePics {
    GrillePics pics;
    Rafraichissement principal;
};
RemplissagePics remplit_grille_pics(EspaceTravail& et);

// Colour of the text of a grid row (peint_cellule_g2): the kind of its
// reflection; black for the header and rows past the list.
Couleur peint_cellule_g2(const EspaceTravail& et, int ligne);

// Button "re-Draw the pattern with new values" of the panel "Theta range": the
// range typed in its boxes (degrees 2theta) becomes the current and the full
// range; the profile file is read again within it, so are the measured
// reflections, and the calculated reflections are generated again (`onglet`:
// the cell tab, as "Calc." reads it). "Theta min error" / "Theta max error"
// when a box does not convert; nothing is then changed.
Rafraichissement change_data_diag(EspaceTravail& et, std::string_view texte_2theta1,
                                  std::string_view texte_2theta2, const OngletMaille& onglet,
                                  Dialogues& d);

} // namespace kovrin
