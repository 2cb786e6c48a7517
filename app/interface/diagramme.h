#pragma once
// The diagram window's arithmetic, without painting: the mapping between
// angles, intensities and pixels of a picture, what is drawn (axis, calculated
// ticks, profile, measured bars, pairs), the pointer read-out, the rubber band,
// zoom, shift, scale and unzoom, and which bars or ticks a click hits. The
// window paints the returned Dessin and hands a click's Pointage to the
// matching (pointe_diagramme).
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"
#include "interface/selection.h"
#include "profil/trace.h"

#include <optional>
#include <string>
#include <string_view>

namespace kovrin {

// Width of the profile window's picture: the diagram samples the profile as
// that picture does (one point per column of it).
inline constexpr int largeur_image_profil = 1010;

// Drawing state kept by the window.
struct EtatDiagramme {
    double echelle = 1.0;        // intensity scale factor
    int position_decalage = 180; // last seen position of the shift arrows
    int position_echelle = 10;   // scale arrows, 10 ... 500
    Point appui, relache;        // last press and release points
    bool glissement = false;     // a button is held on the picture
};

// Geometry of one drawing of a W x H picture: left margin (marge_x) 3, the
// band under the axis line (marge_y) 50; debut and fin are x0 and x1 (the
// current range in the displayed unit), px_par_valeur is px_par_intensite.
using VueDiagramme = Repere;
inline constexpr int marge_y_diagramme = 50;

VueDiagramme vue_diagramme(const EspaceTravail& et, const EtatDiagramme& etat, int largeur,
                           int hauteur);

// The captions the window places around the picture (empty when the caption
// is not shown).
struct LegendesDiagramme {
    std::string legende_calculees; // "Calculated reflections[: cell file]"
    std::string legende_profil;    // "Observed profile: file"
    std::string legende_mesures;   // "Measured reflections: peak file"
};
LegendesDiagramme legendes_diagramme(const EspaceTravail& et);

// A drawing and its captions.
struct DessinDiagramme : LegendesDiagramme {
    Dessin dessin;
};

// The whole picture from the workspace; the pair numbered `ligne_pic_courante`
// (the row chosen in the refinement tables) is drawn red.
DessinDiagramme dessine_spectre(const EspaceTravail& et, const EtatDiagramme& etat,
                                int ligne_pic_courante, int largeur, int hauteur,
                                int largeur_profil = largeur_image_profil);

// Activation of the window: no button is held any more.
void active_diagramme(EtatDiagramme& etat);

// Button pressed on the picture (the window keeps the picture it shows, to
// draw the rubber band over it).
void souris_onmouseDown(EtatDiagramme& etat, Point appui);

// Pointer moved: the read-out text ("T=" / "2T=" angle, "  d=" spacing; empty
// with no view) and, while a button is held, the grey rubber band.
struct Survol {
    std::string lecture;
    std::optional<Rectangle> elastique;
};
Survol affiche_theta(const EspaceTravail& et, const EtatDiagramme& etat, int largeur, int hauteur,
                     Point pointeur);

// What lies under a click at `p`: pairs whose observed-angle bar, calculated
// ticks and measured bars within 4 pixels, and the side of the axis line.
Pointage touche_diagramme(const EspaceTravail& et, const VueDiagramme& vue, BoutonSouris bouton,
                          Point p);

// Button released: a drag of more than 4 pixels zooms (the workspace's current
// range and the scale change); a shorter one is a click, whose Pointage the
// window hands to pointe_diagramme.
struct Relache {
    Rafraichissement rafraichissement;
    std::optional<Pointage> clic;
};
Relache relache_souris_diagramme(EspaceTravail& et, EtatDiagramme& etat, int largeur, int hauteur,
                                 BoutonSouris bouton, Point p);

// The command of a button released on the picture: a drag zooms; a click
// pairs or unpairs what lies under it when the main window shows the selection
// tab, within its tolerance.
Rafraichissement relache_image(EspaceTravail& et, EtatPrincipal& ep, EtatDiagramme& etat,
                               int largeur, int hauteur, BoutonSouris bouton, Point p,
                               Dialogues& d);

// "Delete the RAW diagram": the profile is no longer drawn (its points stay)
// and its wavelength is forgotten.
Rafraichissement efface_diagramme_raw(EspaceTravail& et);

// Shift arrows moved to `position`: the range moves by the difference, in
// degrees 2theta.
Rafraichissement shifte_diagramme(EspaceTravail& et, EtatDiagramme& etat, int position);
// Scale arrows moved to `position`: echelle = position x 0.1.
Rafraichissement echelle_modi(EtatDiagramme& etat, int position);
// "Reset the diagram": the full range and the scale 1.0.
Rafraichissement reset_dessin(EspaceTravail& et, EtatDiagramme& etat);

} // namespace kovrin
