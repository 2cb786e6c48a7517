#pragma once
// What the windows show, as texts built from the workspace: the grids of
// measured, calculated and selected reflections, the panels "Current values",
// "Peak data" and "Profile", and what a command asks the windows to refresh.
// Angles are halved here in theta mode; nothing stored is ever changed.
#include "affinement/resultats.h"
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "commun/grille.h"
#include "cristallo/onglet_maille.h"
#include "profil/recherche_pics.h"
#include "profil/trace.h"

#include <optional>
#include <string>
#include <vector>

namespace kovrin {

// Panel "Current values": the edits "l =", "2q1 =", "2q2 =" and their labels.
struct PanneauValeurs {
    std::string lambda, angle1, angle2;
    std::string etiquette1, etiquette2; // "2q1 =" / "q1 =" (symbol font)
};

// Panels "Peak data" and "Profile".
struct PanneauDonnees {
    std::string fichier;     // "File: " and the name without directory
    std::string echantillon; // "Sample: " and the sample name
    std::string anode;
    std::string lambda, angle1, angle2;
    std::string etiquette1, etiquette2; // "2q1" / "q1"
    std::string fichier_fenetre_profil; // "Prof. File: " ... (profile panel only)
};

// Texts that depend on the display mode only.
struct Libelles {
    int mode_affichage = 1;              // 0 theta, 1 2theta: the radio groups theta / 2theta
    std::string panneau_mesures;         // "Measured reflections (2Theta)"
    std::string valeur1, valeur2;        // "2q1 =", "2q2 ="
    std::string donnees1, donnees2;      // "2q1", "2q2"
    std::string unite_tolerance;         // "2q" or "°q"
    std::string ligne_decalage;          // "2Dq", "Dq" or "e/R(°)"
    bool ligne_decalage_symboles = true; // drawn in the symbol font
};

// Grid "Observed reflections (2theta)" of the profile window: columns "N",
// "2Theta" (or "Theta"), "Dhkl", "Int."; one row per measured reflection, drawn
// in the colour of its kind; the count for the label "Nb of selected peaks:".
struct GrillePics {
    Grille grille;
    std::vector<Couleur> couleurs; // per data row (index 0: row 1)
    std::string nombre;
};

// The one answer of every user command: what the windows show again (a
// display left unset keeps what it shows), whether the command failed (its
// message was shown; the workspace is as the command's rules leave it) and
// whether the program must end. The refinement tab is refreshed in this order:
// emptied (vide_resultats), then the before table refilled (tableau_avant) or
// both tables refilled (tableaux_affinement), then the parameter table; the
// command boundary turns these requests into `onglet_affinement`.
struct Rafraichissement {
    bool echec = false;
    bool fin_programme = false;

    // Main window
    std::optional<Grille> grille_mesures;             // tab 1
    std::optional<Grille> grille_mesures_selection;   // tab 3, "Measured reflections"
    std::optional<Grille> grille_calculees_selection; // tab 3, "Calculated reflections"
    std::optional<Grille> grille_selection;           // "Selected reflections"
    std::optional<Grille> tableau_calcule;            // tab 2, "Calculated diagram"
    std::optional<PanneauValeurs> valeurs_courantes;
    std::optional<PanneauDonnees> panneau_pics, panneau_profil;
    std::optional<bool> panneau_pics_visible, panneau_profil_visible;
    std::optional<std::string> edit_lambda;       // lambda edit of "Current values" alone
    std::optional<std::string> lambda_affinement; // lambda edit of the refinement tab
    std::optional<std::string> titre_mesures;     // caption of the measured panel of tab 1
    std::optional<std::string> titre_table;       // title of the table "Calculated diagram"
    std::optional<Libelles> libelles;
    std::optional<OngletMaille> onglet_maille;    // cell fields, system, marks, current values
    std::optional<ListeSymboles> liste_hm, liste_orsab;
    std::optional<OngletAffinement> onglet_affinement;
    std::optional<bool> panneau_decalage;         // "Angular Shift refinement mode" shown
    std::optional<int> champ_focus;               // cell field (1 ... 6) that takes the focus back
    std::optional<std::string> texte_tolerance;   // edit "Angular tolerance"
    bool vide_resultats = false;      // both refinement tables and their deviation boxes emptied
    bool vide_parametres = false;     // "Refined" and "Sigmas" emptied, the shift box "0"
    bool tableau_avant = false;       // refill the table of residuals before refinement
    bool tableaux_affinement = false; // refill both refinement tables and deviation boxes
    bool table_parametres = false;    // refresh the parameter table of the refinement tab
    bool bouton_sauve_pics = false;   // show the buttons "Erase" and "Save" of tab 1
    bool boutons_maille = false;      // show the cell panels and the buttons of tab 2
    bool lignes_courantes = false;    // the current rows changed: repaint the grids that mark them
    bool active_onglet_affinement = false;

    // Other windows
    bool redessine = false;              // redraw the diagram
    bool montre_diagramme = false;       // the diagram window shown
    bool montre_dialogue_lambda = false; // the wavelength dialog waits for the user
    bool montre_fenetre_profil = false;
    bool montre_export = false;          // the spreadsheet-transfer dialog
    std::optional<std::string> texte_export; // its text area (the bytes of Excel.txt)
    std::optional<GrillePics> grille_pics; // the profile window's peak grid
    bool redessine_profil = false;
    bool ferme_fenetre_profil = false;
    std::optional<ChampsContamination> contamination; // boxes of " Source contamination"
    std::optional<bool> panneau_recherche;             // "Peak Search parameters" shown
    std::optional<bool> panneau_genres;                // "Select the peaks to be kept" shown

    // Adds what `autre` refreshes (its texts win).
    void ajoute(const Rafraichissement& autre);
};

// A command that stops after its error box.
Rafraichissement refus(Dialogues& d, const std::string& message);
// A command that stops after a message shown by a procedure it called.
Rafraichissement echoue();

// Spacing of a stored angle (degrees 2theta) at the working wavelength.
double d_de_deux_theta(double lambda, double deux_theta);

PanneauValeurs panneau_valeurs_courantes(const EspaceTravail& et);
PanneauDonnees panneau_pics(const EspaceTravail& et);
PanneauDonnees panneau_profil(const EspaceTravail& et);
Libelles libelles(const EspaceTravail& et);

// Grids of tab 3 and the grid "Selected reflections", filled from the workspace.
Grille grille_mesures_selection(const EspaceTravail& et);
Grille grille_calculees_selection(const EspaceTravail& et);
Grille grille_selection(const EspaceTravail& et);
// The grids of tab 3 with their header only (the lists they showed are gone).
Grille grille_mesures_selection_vide(const EspaceTravail& et);
Grille grille_calculees_selection_vide(const EspaceTravail& et);

// The selection grid emptied together with both refinement tables, as every
// change of the data behind the pairs does.
Rafraichissement selection_videe(const EspaceTravail& et);

} // namespace kovrin
