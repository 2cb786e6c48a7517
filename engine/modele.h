#pragma once
// The crystallographic model of one refinement: reflections, parameters in
// internal units (angular term on the theta scale, lambda/2, reciprocal cell in
// 1/A and radians), ties, and theta of each reflection with its derivatives.
#include "moteur.h"

namespace kovrin::moteur {

enum class Lien { aucun, a_egal_b, trois_egaux };

struct Modele {
    int nref = 0;
    int npar = 0;
    int mode = 1; // 1 zero shift, 2 sample eccentricity
    Lien lien = Lien::aucun;
    bool angles_lies = false; // rhombohedral: beta*, gamma* follow alpha*
    int h[nb_max_reflexions] = {};
    int k[nb_max_reflexions] = {};
    int l[nb_max_reflexions] = {};
    float theta_obs[nb_max_reflexions] = {};
    float poids[nb_max_reflexions] = {};
    float p[nb_parametres] = {};
    float drapeaux[nb_parametres] = {};
    float derivees[nb_max_reflexions][nb_parametres] = {};
};

// The engine's static working storage.
Modele& modele();
MatriceA& matrice_a();

// Free values x <- flagged parameters, in the order P1 .. P8.
void emballe(float* x);
// Flagged parameters <- x, then the ties.
void deballe(const float* x);

// Model routine handed to moindres_carres.
Echec theta_modele(const float* x, MatriceA& a);

// Calculated theta of every reflection from x (column npar+1 of a) and the
// residual figure sqrt(sum (calc - obs)^2) / (nref - npar), radians.
Echec ecart_final(const float* x, MatriceA& a, float& sigma);

} // namespace kovrin::moteur
