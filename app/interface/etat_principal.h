#pragma once
// State of the main window that is not workspace data: the values behind the
// cell and refinement tabs, the tolerance as typed, the rows the grids mark, a
// pairing by hand left pending, and which panels and captions are shown.
#include "affinement/resultats.h"
#include "commun/nombres.h"
#include "cristallo/onglet_maille.h"

namespace kovrin {

// Where the calculated reflections in the cell tab's table came from, for its title.
enum class OrigineTable { saisie, fichier_lu, fichier_ecrit };

inline constexpr int onglet_selection = 2;  // "Selection of the reflections"
inline constexpr int onglet_affinement = 3; // "Cell refinement"

struct EtatPrincipal {
    OngletMaille maille;         // tab 2 and the edits of "Current values"
    OngletAffinement affinement; // tab 4
    Saisie tolerance;            // "Angular tolerance", as shown (theta or 2theta)
    int onglet = 0;              // current tab, 0 ... 3
    // Measured and calculated reflections last paired (rows of the grids of
    // tab 3, painted red), and the row of the refinement tables last selected.
    int ligne_mes_courante = -1, ligne_calc_courante = -1, ligne_pic_courante = -1;
    bool mesure_en_attente = false; // a measured reflection waits for its partner
    int ligne_mes_en_attente = 0;
    bool pointage_diagramme = false; // the profile window measures peak positions
    bool estime_decalage = false;    // "Estimate the zero shift" of tab 3

    // Panels and buttons shown; once shown, the buttons of tabs 1 and 2 stay.
    bool panneau_decalage = false;
    bool boutons_pics = false, boutons_maille = false;
    // The measured panel is titled by its peak file rather than by the mode.
    bool titre_fichier_mesures = false;
    OrigineTable origine_table = OrigineTable::saisie;
    // The calculated tables are emptied while a cell field is entered; the
    // reflections stay until the field is left.
    bool raies_masquees = false;
};

} // namespace kovrin
