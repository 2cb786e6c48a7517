#pragma once
// Commands of the main window that work on the whole workspace: the button
// "Change" of "Current values" and its lambda edit, the six erase commands,
// "Calc." and the display mode theta / 2theta.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "cristallo/onglet_maille.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"

#include <filesystem>
#include <string_view>

namespace kovrin {

// Program start in `repertoire`, the working directory: the results of an
// earlier run deleted, every grid given its headers, the tolerance and the
// labels of the display mode shown.
Rafraichissement demarre_programme(EspaceTravail& et, EtatPrincipal& ep,
                                   const std::filesystem::path& repertoire);

// Activation of the main window: no row of the refinement tables chosen, no
// pairing pending, the diagram window shown.
Rafraichissement active_principale(EtatPrincipal& ep);

// Button "File" of tab 1, before its menu of peak formats: the measured panel
// and the buttons "Erase" and "Save" shown.
Rafraichissement load_fichier_raie(EtatPrincipal& ep);

// Texts of the table "Calculated diagram" of tab 2.
Grille tableau_calcule(const EspaceTravail& et);
// The table as tab 2 shows it: its header row alone while a cell field is entered.
Grille tableau_calcule_montre(const EspaceTravail& et, const EtatPrincipal& ep);

// Button "Change": after confirmation, lambda and the range typed in "Current
// values" (onglet.lambda, theta_min, theta_max) become the working wavelength
// and both ranges; the profile and the peak file are read again within the new
// range, and the calculated reflections generated again.
Rafraichissement relit_theta_range(EspaceTravail& et, const OngletMaille& onglet, Dialogues& d);

// The measured reflections kept within [debut, fin]: the peak file read again
// (chosen by its name; a column file or typed list is not read again), then the
// reflections below the range skipped and the first one beyond it ending the list.
void relit_mesures_dans_domaine(EspaceTravail& et, double debut, double fin, Dialogues& d);

// The profile file read again (by its extension), its points within
// [debut, fin] kept and their intensities scaled again.
void relit_profil_dans_domaine(EspaceTravail& et, double debut, double fin, Dialogues& d);

// Entering the lambda edit of "Current values": the calculated reflections are
// discarded ("Calc." computes them again), their grids and the refinement
// tables emptied.
Rafraichissement entree_lambda(EspaceTravail& et, EtatPrincipal& ep);

// Menu "Erase" and the buttons "Erase" of tabs 1 and 2.
Rafraichissement erase_peak(EspaceTravail& et, EtatPrincipal& ep);
Rafraichissement erase_profil(EspaceTravail& et);
Rafraichissement erase_indx(EspaceTravail& et, EtatPrincipal& ep);
Rafraichissement raze_tout(EspaceTravail& et, EtatPrincipal& ep);
Rafraichissement rase_dif(EspaceTravail& et, EtatPrincipal& ep);
Rafraichissement rase_raies_indx(EspaceTravail& et);

// Button "Calc.": the selection emptied, the cell tab (ep.maille) read, the cell
// kept as the initial one, the reflections generated. A conversion error of the
// tab stops the command.
Rafraichissement calcul_diagramme(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d);

// Display mode (0 theta, 1 2theta): every text that shows angles, in the new
// mode. Nothing stored but the mode changes.
Rafraichissement change_angles(EspaceTravail& et, EtatPrincipal& ep, int mode);

} // namespace kovrin
