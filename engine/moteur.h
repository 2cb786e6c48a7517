#pragma once
// Internal routines of the refinement engine. Working storage is static: one
// refinement at a time, not re-entrant.
#include <cstdint>
#include <string_view>

namespace kovrin {
class EcrivainTexte;
}

// The routines tests call directly are exported next to calcul.
#define KOVRIN_INTERNE __attribute__((visibility("default")))

namespace kovrin::moteur {

inline constexpr int nb_max_reflexions = 500;
inline constexpr int nb_parametres = 8;
inline constexpr int nb_max_libres = 7;
inline constexpr int nb_colonnes = nb_max_libres + 2;
// The one cycle limit of a refinement attempt (printed in the listing).
inline constexpr int limite_cycles = 100;
// A diverging refinement restarts with a smaller step at most this many times.
inline constexpr int max_recommencements = 30;
inline constexpr float degre = 57.29578f;
// The trace file converts with this shorter factor.
inline constexpr float degre_trace = 57.2957f;

// Columns 0 .. Npar-1: derivatives; column Npar: right-hand side (rows 0 .. Npar-1);
// column Npar+1: calculated theta.
using MatriceA = float[nb_max_reflexions][nb_colonnes];

enum class Echec { aucun, matinv, geometrie, non_fini };

// Evaluates the model at the free values x and fills a; false when a reflection
// has no Bragg angle (lambda/2d >= 1) or a value is not finite.
using RoutineModele = Echec (*)(const float* x, MatriceA& a);

// In-place inversion of a packed upper triangle (row by row) of a symmetric
// positive-definite matrix of order n; erreur = 0, or the packed index (1-based)
// of the failing diagonal element (1 when n <= 0).
KOVRIN_INTERNE void matinv(float* matrice, int n, int& erreur);

// Packed index (1-based) of element (j, l), l >= j, of an order-n triangle.
constexpr int indice_packe(int n, int j, int l) {
    return (2 * n - j) * (j - 1) / 2 + l;
}

// Direct <-> reciprocal cell in place: lengths, then angles in radians. volume
// receives the volume of the input cell. With propage, the six standard errors
// are replaced by those of the output cell.
KOVRIN_INTERNE void convertit_maille(float* cellule, float* erreurs, float& volume, bool propage);

struct BilanMoindresCarres {
    Echec echec = Echec::aucun;
    int cycles = 0; // cycles evaluated in the attempt that was kept
};

// Damped Gauss-Newton with restarts; writes the trace file mouchard. On success
// x holds the best free values and a[j][j] the diagonal of the best inverted
// normal matrix.
KOVRIN_INTERNE BilanMoindresCarres moindres_carres(MatriceA& a, int capacite,
                                                   const float* theta_obs, float* x, int npar,
                                                   int nref, const float* poids, int limite,
                                                   RoutineModele modele);
// The same with the trace written to `trace`, or to nothing when it is null.
BilanMoindresCarres moindres_carres(MatriceA& a, int capacite, const float* theta_obs, float* x,
                                    int npar, int nref, const float* poids, int limite,
                                    RoutineModele modele, EcrivainTexte* trace);

// calcul without kovrin.out and mouchard: the arithmetic of one call alone,
// for the benchmarks.
KOVRIN_INTERNE void calcul_sans_fichiers(int16_t* texte, int16_t* lettre, float* parametres,
                                         float* drapeaux, float* erreurs, float* h, float* k,
                                         float* l, float* angles, float* accord);

} // namespace kovrin::moteur
