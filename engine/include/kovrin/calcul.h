/* libkovrin.so: one least-squares refinement of a powder cell per call.
 *
 * Every argument is passed by reference; the caller owns the storage:
 *   texte      int16[100]  in: [0] = title length, [1..] = character codes;
 *                          out: status text the same way ("Fin normale" on success)
 *   lettre     int16[1]    first letter of the crystal-system code (may become 'Q')
 *   parametres float[8]    zero shift (deg 2theta) or eccentricity term, lambda, a, b, c,
 *                          alpha, beta, gamma; refined values on return
 *   drapeaux   float[8]    1 = refine, 0 = fixed; -1 in slot 0 = eccentricity mode
 *   erreurs    float[8]    out: standard errors
 *   h, k, l    float[500]  Miller indices
 *   angles     float[500]  in: observed 2theta (a 0 ends the list);
 *                          out: calculated theta in degrees, without the angular term
 *   accord     float[1]    out: the 2theta agreement figure
 * kovrin.out (listing) and mouchard (trace) are written in the current directory.
 * Not re-entrant. */
#ifndef KOVRIN_CALCUL_H
#define KOVRIN_CALCUL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define KOVRIN_NB_REFLEXIONS 500
#define KOVRIN_TAILLE_TEXTE 100

__attribute__((visibility("default"))) void calcul(int16_t* texte, int16_t* lettre,
                                                   float* parametres, float* drapeaux,
                                                   float* erreurs, float* h, float* k, float* l,
                                                   float* angles, float* accord);

#ifdef __cplusplus
}
#endif

#endif
