#pragma once
// Matching of measured and calculated reflections: the list of selected pairs,
// kept sorted by observed angle, at most 500 pairs, and every rule that changes
// it (automatic selection, pairing by hand in the grids, typed indices,
// pointing on the diagram, emptying).
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"
#include "profil/trace.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace kovrin {

// Tolerance of the edit "Angular tolerance" in degrees 2theta (typed in the
// displayed unit, so doubled in theta mode); stored as `tolerance`. Shows
// "Error (angular tolerance)" and returns nothing when it does not convert.
std::optional<double> lit_tolerance(EspaceTravail& et, const Saisie& tolerance, Dialogues& d);

// Exchange sort on the observed angle: two pairs swap only when the later one
// has the strictly smaller angle.
void trie_selection(EspaceTravail& et);

// Appends a pair and sorts. A 501st pair is refused: beep and
// "Too many selected reflections (>500)", nothing changes, false returned.
bool ajoute_paire(EspaceTravail& et, const Paire& paire, Dialogues& d);

// Index of the calculated reflection nearest to `angle` (the first of equally
// near ones) and its distance; {0, 1000} when there is none.
struct Proche {
    int indice = 0;
    double distance = 1000.0;
};
Proche calculee_la_plus_proche(const EspaceTravail& et, double angle);
Proche mesure_la_plus_proche(const EspaceTravail& et, double angle);

// Button "Automatic Selection": replaces the list by the pairs of the measured
// reflections of the current range within the tolerance. With a `decalage`
// (a zero shift, or the eccentricity term in eccentricity mode) each measured
// angle less its shift term is matched; the pair keeps the measured angle.
Rafraichissement selection_automatique(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d,
                                       double decalage = 0.0);

// Buttons "Delete Selection" and "Reset the selected reflections".
Rafraichissement efface_selection(EspaceTravail& et, EtatPrincipal& ep);
inline Rafraichissement raze_selection(EspaceTravail& et, EtatPrincipal& ep) {
    return efface_selection(et, ep);
}

// Pairing by hand: a click on row `ligne` of the measured grid of tab 3, then
// one on a row of the calculated grid. A click on a row that holds no
// reflection does nothing.
Rafraichissement click_meas_refl(EspaceTravail& et, EtatPrincipal& ep, int ligne, Dialogues& d);
Rafraichissement click_calc_refl(EspaceTravail& et, EtatPrincipal& ep, int ligne, Dialogues& d);

// Indices typed in the grid "Selected reflections" ("h k l", blank-separated;
// empty reads as 0 0 0). Anything but three integers is not a reflection.
std::optional<std::array<int, 3>> lit_indices(std::string_view texte);

// Indices typed in column 1 of row `ligne` (lit_indices; nothing when they
// are no reflection): 0 0 0 deletes the pair; indices of a calculated
// reflection give the pair that reflection's calculated angle.
Rafraichissement modifie_indices(EspaceTravail& et, EtatPrincipal& ep, int ligne,
                                 const std::optional<std::array<int, 3>>& hkl, Dialogues& d);

// A short click on the diagram, once the diagram has found what lies under the
// pointer: the pairs whose observed-angle bar, the calculated reflections whose
// tick and the measured reflections whose bar are within reach (indices in list
// order), and the side of the axis line the pointer is on. Only while the
// selection tab is the current one.
enum class CoteAxe { dessus, sur, dessous };
struct Pointage {
    BoutonSouris bouton = BoutonSouris::gauche;
    CoteAxe cote = CoteAxe::dessus;
    std::vector<int> paires_touchees;
    std::vector<int> calculees_touchees;
    std::vector<int> mesures_touchees;
};
Rafraichissement pointe_diagramme(EspaceTravail& et, EtatPrincipal& ep, const Pointage& pointage,
                                  Dialogues& d);

} // namespace kovrin
