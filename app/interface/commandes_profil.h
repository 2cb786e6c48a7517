#pragma once
// Commands of the profile window ("Measure the reflection angles on the
// diagram"): the mouse on the picture, the view controls, the peak grid, the
// automatic peak search and its panels, and "re-Draw the pattern with new
// values". Filling the peak grid sorts the measured list and refreshes the
// main window's measured tables too.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "cristallo/onglet_maille.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"
#include "profil/fenetre_profil.h"
#include "profil/recherche_pics.h"
#include "profil/recherche_statistique.h"

#include <array>
#include <string_view>

namespace kovrin {

// Sorts the measured list by angle and fills the peak grid and the main
// window's measured tables.
Rafraichissement remplit_grille_pics(EspaceTravail& et, EtatFenetreProfil& etat);

// Colour of the text of a grid row (peint_cellule_g2): the kind of its
// reflection; black for the header and rows past the list.
Couleur peint_cellule_g2(const EspaceTravail& et, int ligne);

// Button "Diagram" of tab 1: the profile window opens to measure peaks; tab 1
// shows its measured panel and the buttons "Erase" and "Save", as "Keyboard"
// and "File" do.
Rafraichissement pointe_raies_diag(EtatPrincipal& ep);
// Activation of the window: the scale back to 1, the peak grid filled, the profile drawn.
Rafraichissement init_active(EspaceTravail& et, EtatFenetreProfil& etat);
// "&Close": the search panel closes and the diagram window is drawn and shown.
Rafraichissement retour(EspaceTravail& et, EtatFenetreProfil& etat);
// The submenu "&Measured peaks" of "&File" opens: the search panel is hidden
// (the search stays active).
Rafraichissement WINFITFormatdat1Click(EtatFenetreProfil& etat);

// Button released on the picture (see relache_profil).
Rafraichissement OnMouseUp(EspaceTravail& et, EtatFenetreProfil& etat, int largeur, int hauteur,
                           BoutonSouris bouton, Point relache, Dialogues& d);
Rafraichissement modifie_echelle(EtatFenetreProfil& etat, int position);
Rafraichissement shifte_spectre(EspaceTravail& et, EtatFenetreProfil& etat, int position);
Rafraichissement reset_diagramme(EspaceTravail& et, EtatFenetreProfil& etat);
// "Erase the selected reflections".
Rafraichissement efface_mesures(EspaceTravail& et, EtatFenetreProfil& etat);
// "Delete the observed diagram": the peak grid is emptied, the list kept.
Rafraichissement efface_fichier(EspaceTravail& et, EtatFenetreProfil& etat);
// Double click in the peak grid: the reflection of the chosen row is removed.
Rafraichissement on_double_click(EspaceTravail& et, EtatFenetreProfil& etat);
// "&Options" > "&Draw Sec. Deriv.".
Rafraichissement set_derivee_seconde(EtatFenetreProfil& etat);

// "&Peak Search": the search panel opens with its contamination boxes filled
// and the peak grid emptied; nothing happens without a profile.
Rafraichissement peak_search(EspaceTravail& et, EtatFenetreProfil& etat, Dialogues& d);
// "Search" with the limits given: the search, the significance of each peak
// (note_significativites), a short beep.
Rafraichissement go_peaksearch(EspaceTravail& et, EtatFenetreProfil& etat,
                               const LimitesRecherche& limites,
                               const ChampsContamination& contamination, Dialogues& d);
// "Search" by counting statistics (cherche_pics_statistiques), once the
// panel is open: the search, a short beep.
Rafraichissement go_peaksearch_statistique(EspaceTravail& et, EtatFenetreProfil& etat,
                                           const ReglagesStatistiques& reglages,
                                           const ChampsContamination& contamination, Dialogues& d);
// "Search" by the method chosen in the panel, with the limits of the
// workspace (track bars or typed) and its contamination boxes. After a
// second-derivative search whose peaks mostly do not stand 3 sigma above the
// background, the other method is offered ("205 peaks found, 9 of them above
// 3 σ: use Counting statistics?"); yes chooses it and searches again.
Rafraichissement cherche_avec_methode(EspaceTravail& et, EtatFenetreProfil& etat, Dialogues& d);
// The settings of the search panel: a track bar moved, a limit typed in its
// box, a method chosen. A typed limit outside its domain (refus_limite; a
// text that is no number counts as such) is refused with its message and
// changes nothing. Once a search has run since the panel opened, each new
// setting runs it again at once, without beep or question: the found peaks
// are drawn and counted as the user moves the bar.
Rafraichissement bouge_limite(EspaceTravail& et, EtatFenetreProfil& etat, LimiteRecherche quelle,
                              int position);
Rafraichissement tape_limite(EspaceTravail& et, EtatFenetreProfil& etat, LimiteRecherche quelle,
                             const Saisie& saisie, Dialogues& d);
Rafraichissement choisit_methode(EspaceTravail& et, EtatFenetreProfil& etat, MethodeRecherche m);
// "Close" of the search panel.
Rafraichissement fin_de_search(EspaceTravail& et, EtatFenetreProfil& etat);
// "Select the peaks to be kept": the selection panel replaces the search panel
// when the kinds of the peaks are known.
Rafraichissement kill_alpha2(const EspaceTravail& et, EtatFenetreProfil& etat);
// OK of the selection panel: only the kinds ticked (gardes[code - 1]) stay.
Rafraichissement BitBtn7Click(EspaceTravail& et, EtatFenetreProfil& etat,
                              const std::array<bool, nb_genres_raie>& gardes);

// "Fit peak positions" (a button and an entry of the "&Peak Search" menu,
// beside the search): every measured peak inside the profile refined on it
// (ajuste_positions, sorted first). Its angle becomes the fitted Kalpha1
// position; a peak whose fit failed or moved it by more than half its width
// keeps its angle and is marked. When the Kalpha2 companion was modelled the
// working wavelength becomes lambda1, with an information message, and
// calculated reflections of the old wavelength are discarded. The pairs go
// (their observed angles changed). The peak grid shows the fitted FWHM, area
// and standard error of each position in extra columns. "No diagram!" without
// a profile, "No measured peaks!" without peaks.
Rafraichissement fit_peak_positions(EspaceTravail& et, EtatPrincipal& ep, EtatFenetreProfil& etat,
                                    Dialogues& d);

// Button "re-Draw the pattern with new values" of the panel "Theta range": the
// range typed in its boxes (degrees 2theta) becomes the current and the full
// range; the profile file is read again within it, so are the measured
// reflections, and the calculated reflections are generated again from the
// cell tab, as "Calc." does. The angles are in the unit shown
// (theta or 2theta), as "Change" of the main window reads its own.
// "Theta min error" / "Theta max error" when a box holds no number, then the
// range's refusal; nothing is then changed.
Rafraichissement change_data_diag(EspaceTravail& et, EtatPrincipal& ep, const Saisie& deux_theta1,
                                  const Saisie& deux_theta2, Dialogues& d);

} // namespace kovrin
