#pragma once
// What a window draws, as plain values: the core computes lines, curves and
// texts in pixels of a picture; a painter only draws them, in the order
// courbes, segments, textes. Rows grow downwards from 0 (top).
#include <cstdint>
#include <optional>
#include <string>
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

// Nearest integer, halves to even (the rounding of both plots).
int plus_proche(double valeur);

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

// Indices of the profile points drawn for the points i1 ... i2 in range: n
// samples (one per pixel column), the first i1 and the last i2; empty when
// i1 > i2.
std::vector<int> echantillons_profil(int i1, int i2, int n);

} // namespace kovrin

#include "commun/format.h"

namespace kovrin {

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
