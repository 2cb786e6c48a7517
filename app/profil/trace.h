#pragma once
// What a window draws, as plain values: the core computes lines, curves and
// texts in pixels of a picture; a painter only draws them, in the order
// courbes, segments, textes. Rows grow downwards from 0 (top).
#include "commun/format.h"
#include "commun/espace_travail.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kovrin {

struct Couleur {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Couleur&, const Couleur&) = default;
};

inline constexpr Couleur noir{0, 0, 0};
inline constexpr Couleur blanc{0xFF, 0xFF, 0xFF};
inline constexpr Couleur gris{0x80, 0x80, 0x80};
inline constexpr Couleur rouge{0xFF, 0, 0};
inline constexpr Couleur vert{0, 0x80, 0};
inline constexpr Couleur bleu{0, 0, 0xFF};
inline constexpr Couleur violet{0x80, 0, 0x80};
inline constexpr Couleur magenta{0xFF, 0, 0xFF};
inline constexpr Couleur jaune{0xFF, 0xFF, 0};

enum class BoutonSouris { gauche, droit };

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A line with both end pixels drawn.
struct Segment {
    Point debut, fin;
    Couleur couleur;
};

struct TexteTrace {
    Point coin; // top-left corner of the text
    std::string texte;
    Couleur couleur = noir;
    std::optional<Couleur> fond; // none: transparent
    int taille_police = 8;
};

struct Polyligne {
    std::vector<Point> points;
    Couleur couleur = noir;
};

struct Rectangle {
    Point coin1, coin2; // opposite corners, in any order
    Couleur couleur = gris;
};

struct Dessin {
    Couleur fond = blanc; // the whole picture is cleared to it first
    std::vector<Polyligne> courbes;
    std::vector<Segment> segments;
    std::vector<TexteTrace> textes;
};

// Both plots: a button released more than 4 pixels (horizontally) from where
// it was pressed is a drag; a mark closer than 4 pixels to a click is hit.
inline constexpr int seuil_glissement = 4;
inline constexpr int portee_clic = 4;

// Nearest integer, halves to even (the rounding of both plots).
int plus_proche(double valeur);

// Mapping of a plot between angles (displayed unit), values and pixels:
// x = nearest((angle - debut) px_par_degre) + marge_gauche,
// y = hauteur - nearest(valeur px_par_valeur) - marge_bas; the axis line is
// the row of the value 0.
struct Repere {
    int largeur = 0, hauteur = 0;
    int marge_gauche = 3, marge_bas = 0;
    double debut = 0, fin = 0; // shown range
    double px_par_degre = 0, px_par_valeur = 0;

    bool vide() const { return px_par_degre == 0; } // nothing is drawn
    int ligne_axe() const { return hauteur - marge_bas; }
    int x_de_angle(double angle) const;
    int y_de_valeur(double valeur) const;
    double angle_de_x(int x) const;
    double valeur_de_y(int y) const;
};

// The mapping of a W x H picture over [debut, fin]: (W - 2) / (fin - debut)
// pixels per degree, facteur x (H - marge_bas) / 100 pixels per value unit (a
// value of 100 reaches the top at facteur 1). Empty when the range has no width.
Repere repere(int largeur, int hauteur, int marge_bas, double debut, double fin, double facteur);

// A drag from `appui` to `relache` on the picture: its two angles in order
// (doubled back to degrees 2theta in theta mode), and the vertical factor that
// brings its upper point to the top of the plot (the point's height above the
// axis taken as at least 2 pixels), with the scale arrows' position for it.
struct Zoom {
    double angle_min = 0, angle_max = 0;
    double facteur = 1;
    int position_echelle = 10; // nearest(facteur x 10), within the arrows' 10 ... 500
};
Zoom zoom_rectangle(const Repere& vue, Point appui, Point relache, bool mode_theta, double facteur);

// Tick step of an axis from the span of the angles shown.
double pas_graduation(double etendue);

// Tick values from `debut` to `fin`: the first is the multiple of the step
// nearest to `debut`, moved one step up when it lies below it.
std::vector<double> graduations(double debut, double fin);

// Axis of both plots: the line at row `ligne_axe` from x_debut to x_fin, and for
// each tick at column x a 5-pixel line down from the axis and its value (width
// 5, 1 decimal) with its top-left corner 10 pixels left of the tick and 5 below
// the axis line. `x_de_angle` maps a tick value to its column.
template <typename VersX>
void trace_axe(Dessin& dessin, double debut, double fin, int ligne_axe, VersX x_de_angle);

// Shift arrows of both plots moved to `position`: the current range moves by
// the difference from the last position, in degrees 2theta.
void decale_plage(EspaceTravail& et, int& derniere_position, int position);
// Unzoom of both plots: the current range takes the full range.
void plage_complete(EspaceTravail& et);

// First profile point at or after angle_min (i1) and last at or before
// angle_max (i2), degrees 2theta; i1 > i2 when none lies in the range.
std::pair<int, int> points_du_domaine(const ListeBornee<PointProfil, 30000>& profil,
                                      double angle_min, double angle_max);

// Indices of the profile points drawn for the points i1 ... i2 in range: n
// samples (one per pixel column), the first i1 and the last i2; empty when
// i1 > i2.
std::vector<int> echantillons_profil(int i1, int i2, int n);

template <typename VersX>
void trace_axe(Dessin& dessin, double debut, double fin, int ligne_axe, VersX x_de_angle) {
    dessin.segments.push_back({{x_de_angle(debut), ligne_axe}, {x_de_angle(fin), ligne_axe}, noir});
    for (double valeur : graduations(debut, fin)) {
        const int x = x_de_angle(valeur);
        dessin.segments.push_back({{x, ligne_axe}, {x, ligne_axe + 5}, noir});
        dessin.textes.push_back({{x - 10, ligne_axe + 5}, pascal_reel(valeur, 5, 1), noir, {}, 8});
    }
}

} // namespace kovrin
