#pragma once
// State of the main window that is not workspace data: the texts of the cell
// and refinement tabs as the core last wrote or read them, the rows the grids
// mark, and a pairing by hand left pending.
#include "affinement/resultats.h"
#include "cristallo/onglet_maille.h"

namespace kovrin {

struct EtatPrincipal {
    OngletMaille maille;         // tab 2 and the edits of "Current values"
    OngletAffinement affinement; // tab 4
    // Measured and calculated reflections last paired (rows of the grids of
    // tab 3, painted red), and the row of the refinement tables last selected.
    int ligne_mes_courante = -1, ligne_calc_courante = -1, ligne_pic_courante = -1;
    bool mesure_en_attente = false; // a measured reflection waits for its partner
    int ligne_mes_en_attente = 0;
    bool pointage_diagramme = false; // the profile window measures peak positions
};

} // namespace kovrin
