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
#include "interface/etat_principal.h"
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
    std::string etiquette1, etiquette2;    // "2q1" / "q1"
    std::string fichier_fenetre_profil;    // "Prof. File: " ... (profile panel only)
    std::string lambda1, lambda2, rapport; // Kalpha1, Kalpha2 and their intensity ratio
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

// What a command changed, as data; each window rebuilds from the workspace and
// the window states the displays that depend on it.
enum class Change : unsigned {
    mesures = 1u << 0,   // the measured reflections
    calculees = 1u << 1, // the calculated reflections and the cell tab's table
    paires = 1u << 2,    // the selected pairs
    resultats = 1u << 3, // the refinement tab
    maille = 1u << 4,    // the cell tab: fields, system, marks, group lists
    plage = 1u << 5,     // the working wavelength and angle range ("Current values")
    fichiers = 1u << 6,  // the headers of the peak and profile files and their panels
    mode = 1u << 7,      // the theta / 2theta and shift modes: labels and every angle shown
    profil = 1u << 8,    // the profile and the profile window's picture and panels
    vues = 1u << 9,      // panels shown or hidden, current rows, the diagram's picture
};
inline constexpr unsigned tout_change = (1u << 10) - 1;

// The one answer of every user command: whether it failed (its message was
// shown), whether the program must end, what changed, and which windows to open.
struct Rafraichissement {
    bool echec = false;
    bool fin_programme = false;
    unsigned changes = 0;
    bool montre_diagramme = false;       // the diagram window shown
    bool montre_dialogue_lambda = false; // the wavelength dialog waits for the user
    bool montre_fenetre_profil = false;
    bool montre_export = false; // the spreadsheet-transfer dialog
    bool ferme_fenetre_profil = false;
    std::optional<int> active_onglet; // the main window's tab brought forward, 0 ... 3
    bool garde_partiel = false;       // failed, but what it did up to the failure stays
    bool ecrit = false;               // the work went to a file the user chose, or to the export
    std::optional<int> champ_focus;   // cell field (1 ... 6) that takes the focus back

    Rafraichissement() = default;
    Rafraichissement(std::initializer_list<Change> c) { marque(c); }
    Rafraichissement& marque(std::initializer_list<Change> c) {
        for (Change x : c)
            changes |= static_cast<unsigned>(x);
        return *this;
    }
    bool a_change(Change c) const { return (changes & static_cast<unsigned>(c)) != 0; }
    bool a_change_un(std::initializer_list<Change> c) const {
        for (Change x : c)
            if (a_change(x)) return true;
        return false;
    }
    // Adds what `autre` changed and opens.
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
// The panels are shown while their file's data are there.
bool panneau_pics_visible(const EspaceTravail& et);
bool panneau_profil_visible(const EspaceTravail& et);
Libelles libelles(const EspaceTravail& et);

// The profile window's peak grid, filled from the (sorted) measured list, or
// with its headers alone. After a search a column "Signif." gives each peak's
// net height over its uncertainty; after a fit of the positions, the fit's
// columns follow.
GrillePics grille_pics(const EspaceTravail& et);
GrillePics grille_pics_vide(const EspaceTravail& et);
// The peak grid as the profile window shows it: emptied while `grille_videe`.
GrillePics grille_pics_montree(const EspaceTravail& et, bool grille_videe);

// Grids of tab 3 and the grid "Selected reflections", filled from the workspace.
Grille grille_mesures_selection(const EspaceTravail& et);
Grille grille_calculees_selection(const EspaceTravail& et);
Grille grille_selection(const EspaceTravail& et);
// The grids of tab 3 with their header only (the lists they showed are gone).
Grille grille_mesures_selection_vide(const EspaceTravail& et);
Grille grille_calculees_selection_vide(const EspaceTravail& et);
// The calculated grid of tab 3 as shown: its header alone while a cell field is entered.
Grille grille_calculees_montree(const EspaceTravail& et, const EtatPrincipal& ep);

// Both refinement tables emptied, as every change of the data behind the pairs
// does; the pairs changed.
Rafraichissement selection_videe(EtatPrincipal& ep);

// Title of the measured panel of tab 1: its peak file, or the display mode.
std::string titre_mesures(const EspaceTravail& et, const EtatPrincipal& ep);
// Title of the cell tab's table "Calculated diagram".
std::string titre_table(const EspaceTravail& et, const EtatPrincipal& ep);

} // namespace kovrin
