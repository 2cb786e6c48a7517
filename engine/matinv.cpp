#include "moteur.h"

#include <cmath>

namespace kovrin::moteur {

namespace {

// Factorises N = T'T in place (T upper triangular); false at a non-positive pivot.
bool factorise(float* t, int n, int& erreur) {
    auto at = [&](int j, int l) -> float& { return t[indice_packe(n, j, l) - 1]; };
    for (int k = 1; k <= n; ++k) {
        for (int i = k; i <= n; ++i) {
            double s = 0.0;
            for (int l = 1; l < k; ++l)
                s += static_cast<double>(at(l, k)) * static_cast<double>(at(l, i));
            double reste = static_cast<double>(at(k, i)) - s;
            if (i == k) {
                if (!(reste > 0.0)) {
                    erreur = indice_packe(n, k, k);
                    return false;
                }
                at(k, k) = static_cast<float>(std::sqrt(reste));
            } else {
                at(k, i) = static_cast<float>(reste / static_cast<double>(at(k, k)));
            }
        }
    }
    return true;
}

void inverse_triangle(float* t, int n) {
    auto at = [&](int j, int l) -> float& { return t[indice_packe(n, j, l) - 1]; };
    at(1, 1) = 1.0f / at(1, 1);
    for (int i = 2; i <= n; ++i) {
        at(i, i) = 1.0f / at(i, i);
        for (int k = 1; k < i; ++k) {
            double s = 0.0;
            for (int l = k; l < i; ++l)
                s += static_cast<double>(at(k, l)) * static_cast<double>(at(l, i));
            at(k, i) = static_cast<float>(-s * static_cast<double>(at(i, i)));
        }
    }
}

// N^-1 = T^-1 (T^-1)', row by row; element (i, j) only reads rows i and j from
// column j on, which are not yet overwritten.
void produit_inverse(float* t, int n) {
    auto at = [&](int j, int l) -> float& { return t[indice_packe(n, j, l) - 1]; };
    for (int i = 1; i <= n; ++i) {
        for (int j = i; j <= n; ++j) {
            double s = 0.0;
            for (int m = j; m <= n; ++m)
                s += static_cast<double>(at(i, m)) * static_cast<double>(at(j, m));
            at(i, j) = static_cast<float>(s);
        }
    }
}

} // namespace

void matinv(float* matrice, int n, int& erreur) {
    erreur = 0;
    if (n <= 0) {
        erreur = 1;
        return;
    }
    if (n == 1) {
        if (!(matrice[0] > 0.0f)) {
            erreur = 1;
            return;
        }
        matrice[0] = 1.0f / matrice[0];
        return;
    }
    if (!factorise(matrice, n, erreur)) return;
    inverse_triangle(matrice, n);
    produit_inverse(matrice, n);
}

} // namespace kovrin::moteur
