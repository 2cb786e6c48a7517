#pragma once
// What the "Cell refinement" tab shows: the parameter table, the "Before
// refinement" and "After refinement" grids and their "Mean square deviation"
// boxes, all as texts. The window copies these texts into its controls.
#include "commun/espace_travail.h"
#include "commun/grille.h"
#include "commun/nombres.h"

#include <array>
#include <string>
#include <vector>

namespace kovrin {

// Rows of the parameter table, in the order of the engine's slots.
enum RangParametre : int {
    rang_decalage = 0,
    rang_lambda = 1,
    rang_a = 2,
    rang_b = 3,
    rang_c = 4,
    rang_alpha = 5,
    rang_beta = 6,
    rang_gamma = 7
};
inline constexpr int nb_parametres = 8;

// The eight "To refine" marks, indexed by RangParametre.
using MarquesAffinement = std::array<bool, nb_parametres>;

// Column widths of the two grids, pixels.
inline constexpr std::array<int, 6> largeurs_tableau_avant = {20, 42, 42, 60, 42, 42};
inline constexpr std::array<int, 5> largeurs_tableau_apres = {15, 42, 64, 42, 42};

struct OngletAffinement {
    // Columns of the parameter table, indexed by RangParametre. The "Initial"
    // boxes of the shift and of lambda are the ones the user edits.
    std::array<std::string, nb_parametres> initial, affine, sigmas;
    Saisie lambda_initial, decalage_initial; // the values behind the two editable boxes
    Grille avant, apres;                     // an emptied grid keeps its row count, its cells go
    std::string ecart_avant, ecart_apres;
    bool boutons_resultats =
        false; // "Edit (and print) the refinement report", "export results to Excel"
    bool bouton_impression = false; // "Print screen"

    // Beyond the engine's columns, after a successful refinement: the figures
    // of merit shown next to the deviation boxes, the rows of the "After
    // refinement" grid to paint in a warning colour (index 0: row 1; texts
    // unchanged), and the usual standard error of each refined parameter,
    // sqrt(S / (N - p)), to two significant digits ("esd") and with the
    // refined value in the journals' notation ("Value(esd)": 5.431230(6)).
    std::string m20, fn;
    std::vector<bool> paires_suspectes;
    std::array<std::string, nb_parametres> esd, valeur_esd;
};

// Column "Initial": the angular shift, lambda and the working cell.
void affiche_initial(const EspaceTravail& espace, OngletAffinement& onglet);
// Columns "Refined" and "Sigmas" from the engine buffers of the last refinement,
// the shift halved in theta mode; then both deviation boxes.
void affiche_parametres(const EspaceTravail& espace, OngletAffinement& onglet);

// The "Before refinement" grid of the selected pairs, then its deviation box.
void remplit_tableau_avant(const EspaceTravail& espace, OngletAffinement& onglet);
// The "After refinement" grid, then its deviation box.
void remplit_tableau_apres(const EspaceTravail& espace, OngletAffinement& onglet);
// Both grids and their deviation boxes, before then after.
void remplit_tableaux(const EspaceTravail& espace, OngletAffinement& onglet);

// Deviation boxes; each is left untouched when there is nothing to write.
void ecart_avant(const EspaceTravail& espace, OngletAffinement& onglet);
void ecart_apres(const EspaceTravail& espace, OngletAffinement& onglet);

// Both grids and both deviation boxes emptied.
void efface_panneaux(OngletAffinement& onglet);
// "Refined" and "Sigmas" emptied, the after deviation box emptied, the shift box "0".
void efface_resultats(OngletAffinement& onglet);

} // namespace kovrin
