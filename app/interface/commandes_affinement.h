#pragma once
// Commands of the refinement tab: the launch, taking the refined values as the
// new start, going back to the saved cell, the angular-shift mode, the rows
// chosen in the result tables, and the report and export buttons.
#include "affinement/affinement.h"
#include "affinement/export_excel.h"
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"

namespace kovrin {

// What the tab hands to the driver: its two editable "Initial" boxes and the
// "To refine" marks, as the window last copied them into `ep`.
ChampsAffinement champs_affinement(const EtatPrincipal& ep);

// "Lauch the refinement process": one refinement, then the report, export and
// print buttons shown whatever the outcome. Fails when no refinement came back.
Rafraichissement go_affinement(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d,
                               FonctionCalcul moteur = nullptr);

// The figures of merit, suspect rows and usual standard errors of the tab,
// from the workspace after a successful refinement (emptied otherwise).
void affiche_diagnostic(const EspaceTravail& et, OngletAffinement& onglet);

// "Linear start": the cell that the indices and observed angles of the
// selected pairs give by linear least squares (depart_lineaire) becomes the
// initial cell: the cell tab's fields are filled, the calculated reflections
// generated again, and every pair keeps its indices with the calculated angle
// of the new cell. Refused with "No selected reflections!", "No system!", or
// when the pairs do not determine the cell.
Rafraichissement linear_start(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d);

// File > Save > "Cell as CIF (*.cif)": the refined cell with its usual
// standard errors, the figures of merit and the pairs as one CIF data block;
// ".cif" appended when absent, an existing file replaced after confirmation.
// "No results" before a successful refinement.
inline const std::string filtre_cif = "Cell as CIF (*.cif)|*.cif";
Rafraichissement sauve_cif(const EspaceTravail& et, ChoixFichier& choix, Dialogues& d);

// "Replace the initial parameters by the refined parameters": the refined
// shift, wavelength and cell become the working values, the shift is folded
// into the measured angles, the reflections are generated again and the pairs
// dropped. Acts only on the result of a successful refinement of the current
// pairs.
Rafraichissement change_param(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d);

// "Restore the initial cell parameters": the cell kept by "Calc." and the
// angles as read come back, the shift is 0, the pairs are dropped; lambda stays.
Rafraichissement resto_param(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d);

// The lambda edit of the refinement tab left: a new wavelength regenerates the
// calculated reflections and gives every pair its new calculated angle.
Rafraichissement change_lambda_affi(EspaceTravail& et, EtatPrincipal& ep, const Saisie& lambda,
                                    Dialogues& d);

// The shift's "To refine" box changed: checked shows the panel "Angular Shift
// refinement mode".
Rafraichissement shift_selection(EtatPrincipal& ep, bool coche);

// OK of that panel: `excentricite` refines the shift as sample eccentricity
// (mode 2), otherwise as a constant zero shift (mode 1); the shift row's label
// follows and the panel closes.
Rafraichissement BitBtn17Click(EspaceTravail& et, EtatPrincipal& ep, bool excentricite);

// A row selected in either result table becomes the row drawn red on the diagram.
Rafraichissement select_peak(EtatPrincipal& ep, int ligne);
// A click in either result table refills both.
Rafraichissement click_stringgrid8(const EspaceTravail& et, EtatPrincipal& ep);

// "Edit (and print) the refinement report" and File > "Print results".
Rafraichissement Impression_resultats(const EspaceTravail& et, Dialogues& d);
// "export results to Excel": the transfer dialog opens when there are results.
Rafraichissement transfert_excel(const EspaceTravail& et, Dialogues& d);

// The transfer dialog activated or its "List" changed: Excel.txt built in
// the chosen list and shown; "No results" without a listing.
Rafraichissement change_liste_export(const EspaceTravail& et, ListeExport liste, std::string& texte,
                                     Dialogues& d);

} // namespace kovrin
