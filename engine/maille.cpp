#include "moteur.h"

#include <cmath>

namespace kovrin::moteur {

namespace {

struct Angles {
    float c[3]; // cosines
    float s[3]; // sines
    float d2;   // 1 - sum cos^2 + 2 prod cos
};

Angles angles_de(const float* cellule) {
    Angles g{};
    for (int i = 0; i < 3; ++i) {
        g.c[i] = std::cos(cellule[3 + i]);
        g.s[i] = std::sin(cellule[3 + i]);
    }
    g.d2 = 2.0f * g.c[0] * g.c[1] * g.c[2] +
           (1.0f - g.c[0] * g.c[0] - g.c[1] * g.c[1] - g.c[2] * g.c[2]);
    return g;
}

float carre(float v) {
    return v * v;
}

// Standard error of the output length i (i, j, k cyclic), from the input cell.
float erreur_longueur(const float* cellule, const float* sigma, const Angles& g, float d, int i,
                      int j, int k) {
    const float* c = g.c;
    const float* s = g.s;
    float gl = -s[i] / cellule[i];
    float gi = c[i] - (c[i] - c[j] * c[k]) * s[i] * s[i] / g.d2;
    float gj = -s[i] * s[j] * (c[j] - c[k] * c[i]) / g.d2;
    float gk = -s[i] * s[k] * (c[k] - c[i] * c[j]) / g.d2;
    float somme = carre(gl * sigma[i]) + carre(gi * sigma[3 + i]) + carre(gj * sigma[3 + j]) +
                  carre(gk * sigma[3 + k]);
    return std::sqrt(somme) / (cellule[i] * d);
}

// Standard error of the output angle i, given the cosine of that output angle.
float erreur_angle(const float* sigma, const Angles& g, float cos_sortie, float sin_sortie, int i,
                   int j, int k) {
    const float* c = g.c;
    const float* s = g.s;
    float gi = s[i] / (s[j] * s[k]);
    float gj = c[j] * cos_sortie / s[j] + c[k] / s[k];
    float gk = c[k] * cos_sortie / s[k] + c[j] / s[j];
    float somme = carre(gi * sigma[3 + i]) + carre(gj * sigma[3 + j]) + carre(gk * sigma[3 + k]);
    return std::sqrt(somme) / sin_sortie;
}

} // namespace

void convertit_maille(float* cellule, float* erreurs, float& volume, bool propage) {
    Angles g = angles_de(cellule);
    float d = std::sqrt(g.d2);
    volume = cellule[0] * cellule[1] * cellule[2] * d;
    float sortie[6];
    float sigma_sortie[6];
    for (int i = 0; i < 3; ++i) {
        int j = (i + 1) % 3;
        int k = (i + 2) % 3;
        float cos_sortie = (g.c[j] * g.c[k] - g.c[i]) / (g.s[j] * g.s[k]);
        sortie[i] = g.s[i] / (cellule[i] * d);
        sortie[3 + i] = std::acos(cos_sortie);
        if (propage) {
            sigma_sortie[i] = erreur_longueur(cellule, erreurs, g, d, i, j, k);
            sigma_sortie[3 + i] =
                erreur_angle(erreurs, g, cos_sortie, std::sin(sortie[3 + i]), i, j, k);
        }
    }
    for (int m = 0; m < 6; ++m) {
        cellule[m] = sortie[m];
        if (propage) erreurs[m] = sigma_sortie[m];
    }
}

} // namespace kovrin::moteur
