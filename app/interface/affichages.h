#pragma once
// What the windows show, as texts built from the workspace: the grids of
// measured, calculated and selected reflections, the panels "Current values",
// "Peak data" and "Profile", and what a command asks the windows to refresh.
// Angles are halved here in theta mode; nothing stored is ever changed.
#include "commun/espace_travail.h"

#include <optional>
#include <string>
#include <vector>

namespace kovrin {

// Texts of a string grid. `lignes` holds rows 0 (the header) onwards; every
// cell not given is empty. `nb_lignes` is the row count the grid takes, header
// included; 0 keeps the grid's row count (a grid that is only emptied).
struct Grille {
    int nb_lignes = 0;
    std::vector<std::vector<std::string>> lignes;

    const std::string& cellule(int ligne, int colonne) const; // "" when not given
};

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
    std::string panneau_mesures;         // "Measured reflections (2Theta)"
    std::string valeur1, valeur2;        // "2q1 =", "2q2 ="
    std::string donnees1, donnees2;      // "2q1", "2q2"
    std::string unite_tolerance;         // "2q" or "°q"
    std::string ligne_decalage;          // "2Dq", "Dq" or "e/R(°)"
    bool ligne_decalage_symboles = true; // drawn in the symbol font
};

// What a command asks the windows to show again; a display left unset keeps
// what it shows. The refinement tab is refreshed by its own procedures, in this
// order: emptied (vide_resultats), then the before table refilled
// (tableau_avant) or both tables refilled (tableaux_affinement).
struct Rafraichissement {
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
    std::optional<Libelles> libelles;
    bool vide_resultats = false;      // both refinement tables and their deviation boxes emptied
    bool tableau_avant = false;       // refill the table of residuals before refinement
    bool tableaux_affinement = false; // refill both refinement tables and deviation boxes
    bool table_parametres = false;    // refresh the parameter table of the refinement tab
    bool bouton_sauve_pics = false;   // show the button "Save" of tab 1
    bool active_onglet_affinement = false;
    bool redessine = false; // redraw the diagram

    // Adds what `autre` refreshes (its texts win).
    void ajoute(const Rafraichissement& autre);
};

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
// The measured grid of tab 3 with its header only (the list it showed is gone).
Grille grille_mesures_selection_vide(const EspaceTravail& et);

// The selection grid emptied together with both refinement tables, as every
// change of the data behind the pairs does.
Rafraichissement selection_videe(const EspaceTravail& et);

} // namespace kovrin
