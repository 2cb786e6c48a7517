#pragma once
// The profile window's arithmetic, without painting: the mapping between
// angles, values and pixels, the drawing of the profile, the search curves and
// the peak marks, the pointer read-out, and what the mouse and the view
// controls do to the workspace (measuring peaks by clicking, removing them,
// zooming, shifting, scaling, resetting).
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "profil/recherche_pics.h"
#include "profil/recherche_statistique.h"
#include "profil/trace.h"

#include <optional>
#include <string>

namespace kovrin {

// Window state.
struct EtatFenetreProfil {
    double facteur_vertical = 1.0;
    int position_echelle = 10;   // "Modify the diagram scale", 10 ... 500
    int position_decalage = 180; // "Move the diagram" at its last change
    Point appui;                 // where the last button went down
    BoutonSouris bouton_appui = BoutonSouris::gauche;
    bool bouton_tenu = false;
    int ligne_choisie = 0;             // row selected in the peak grid, 0 for none
    bool derivee_visible = false;      // "&Draw Sec. Deriv." checked
    bool panneau_recherche = false;    // "Peak Search parameters" shown
    bool panneau_genres = false;       // "Select the peaks to be kept" shown
    bool grille_videe = false;         // the peak grid emptied, the list kept
    ChampsContamination contamination; // the boxes of " Source contamination" as prefilled
    MethodeRecherche methode = MethodeRecherche::derivee_seconde; // "Method:" of the search panel
    bool recherche_lancee =
        false; // a search ran since the panel opened: a new setting runs it again
};

// Geometry of one drawing of a W x H picture: left margin 3, bottom margin
// 20; px_par_degre is sx, px_par_valeur is sy.
using VueProfil = Repere;
inline constexpr int marge_bas_profil = 20;

VueProfil vue_profil(const EspaceTravail& et, const EtatFenetreProfil& etat, int largeur,
                     int hauteur);

// Caption of the top panel: the profile file name without directory, ": " and
// the sample name; empty without a profile file.
std::string legende_profil(const EspaceTravail& et);

// The picture: axis, profile, the scaled second derivative in magenta while
// the search panel is open and "&Draw Sec. Deriv." is checked, and one mark
// per measured reflection in the colour of its kind. Black with no profile.
Dessin dessin_profil(const EspaceTravail& et, const EtatFenetreProfil& etat, int largeur,
                     int hauteur);

// Pointer moved over the picture: the read-out ("T=" / "2T=" angle, " d="
// spacing at the profile's wavelength), the cursor mark while no button is
// held, the rubber band while the left button is held more than 4 pixels away.
struct SurvolProfil {
    std::string lecture;
    std::optional<Segment> curseur;
    std::optional<Rectangle> elastique;
};
SurvolProfil survol_profil(const EspaceTravail& et, const EtatFenetreProfil& etat, int largeur,
                           int hauteur, Point pointeur);

// What the window does after a command.
enum class SuiteProfil {
    rien,
    redessine,        // draw the profile again
    grille_et_dessin, // refill the peak grid (which sorts the list), then draw
    grille_videe,     // empty the peak grid (the list stays), then draw
};

void OnMouseDown(EtatFenetreProfil& etat, BoutonSouris bouton, Point appui);
// Button released at `relache`: right button removes the first mark within 4
// pixels of the press point; left button zooms on a drag of more than 4 pixels,
// otherwise adds a peak at the press point ("Too many peaks (>500)" past 500;
// dropped when one lies within 0.001 degree).
SuiteProfil relache_profil(EspaceTravail& et, EtatFenetreProfil& etat, int largeur, int hauteur,
                           BoutonSouris bouton, Point relache, Dialogues& d);

// Intensity of the profile at `deux_theta`: the point i with angle_i <=
// deux_theta < angle_(i+1) (the last point when it equals the last angle); 0
// outside the profile.
double intensite_sous_angle(const EspaceTravail& et, double deux_theta);

SuiteProfil echelle_profil(EtatFenetreProfil& etat, int position);
SuiteProfil decale_profil(EspaceTravail& et, EtatFenetreProfil& etat, int position);
SuiteProfil plage_complete_profil(EspaceTravail& et, EtatFenetreProfil& etat);
SuiteProfil vide_mesures_profil(EspaceTravail& et);
// "Delete the observed diagram": the profile is gone (the picture turns black).
SuiteProfil retire_profil(EspaceTravail& et);
void choisit_ligne_pics(EtatFenetreProfil& etat, int ligne);
// Double click in the peak grid: the selected row's reflection is removed.
SuiteProfil retire_ligne_choisie(EspaceTravail& et, EtatFenetreProfil& etat);
// Menu "&Draw Sec. Deriv.": toggles the curve of the second derivative.
SuiteProfil bascule_derivee(EtatFenetreProfil& etat);
void cree_fenetre_profil(EspaceTravail& et, EtatFenetreProfil& etat);
void active_fenetre_profil(EtatFenetreProfil& etat);

} // namespace kovrin
