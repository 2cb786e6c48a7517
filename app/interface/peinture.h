#pragma once
// How the main window paints the rows of its grids: the rows the last pairing
// involved on the selection tab, and the row chosen in the refinement tables.
#include "interface/etat_principal.h"
#include "profil/trace.h"

namespace kovrin {

enum class GrillePeinte {
    ordinaire,           // text vertically centred on white
    mesures_selection,   // "Measured reflections" of tab 3
    calculees_selection, // "Calculated reflections" of tab 3
    affinement,          // "Before refinement" and "After refinement"
};

struct PeintureLigne {
    Couleur fond = blanc;
    Couleur texte = noir;
    bool coin = false; // text 2 pixels from the cell's top-left corner, not centred
};

// Painting of data row `ligne` (1 for the first row under the header).
PeintureLigne peinture_ligne(const EtatPrincipal& ep, GrillePeinte grille, int ligne);

// Colour of the panel around the tabs (and of the instruction memo) while tab
// `onglet` (1 ... 4) is shown.
Couleur couleur_onglet(int onglet);

} // namespace kovrin
