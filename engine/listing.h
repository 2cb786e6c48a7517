#pragma once
// The listing kovrin.out, written line by line in one pass.
#include "moteur.h"

#include "commun/fichier_texte.h"

#include <string_view>

namespace kovrin::moteur {

struct TeteListing {
    std::string_view titre;
    int nref = 0;
    std::string_view libelle; // tie label, five characters
    int mode = 1;
    const float* parametres = nullptr; // eight values in external units
    const float* drapeaux = nullptr;
};

// Lines 1 to 12: title, counts, tie, initial values and flags.
void ecrit_tete(EcrivainTexte& f, const TeteListing& tete);
// "Recipr.lattice :" (lengths in 1/A, angles in degrees) and the direct volume.
void ecrit_reciproque(EcrivainTexte& f, const float* reciproque, float volume);
// Line 16 and the empty line 17.
void ecrit_nombre_cycles(EcrivainTexte& f, int cycles);
// The line that ends a listing without result: an empty line, "##### " and the reason.
void ecrit_refus(EcrivainTexte& f, std::string_view raison);
// Lines 18 to 22: the refined values and their errors, external units.
void ecrit_valeurs_finales(EcrivainTexte& f, int mode, const float* valeurs, const float* erreurs);

struct LigneReflexion {
    int h, k, l;
    float deux_theta_obs, obs_corrige, calc_corrige, difference; // degrees 2theta
};

void ecrit_entete_table(EcrivainTexte& f);
void ecrit_reflexion(EcrivainTexte& f, const LigneReflexion& r);
// The two agreement lines, each after an empty line.
void ecrit_accords(EcrivainTexte& f, float figure_theta, float figure_deux_theta);

} // namespace kovrin::moteur
