#pragma once
// The listing kovrin.out, written line by line in one pass. Each line is built
// in one reused buffer. Without a file (the arithmetic alone) nothing is
// formatted.
#include "moteur.h"

#include "commun/fichier_texte.h"

#include <string>
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

struct LigneReflexion {
    int h, k, l;
    float deux_theta_obs, obs_corrige, calc_corrige, difference; // degrees 2theta
};

class Listing {
  public:
    explicit Listing(EcrivainTexte* fichier);

    // Lines 1 to 12: title, counts, tie, initial values and flags.
    void tete(const TeteListing& tete);
    // "Recipr.lattice :" (lengths in 1/A, angles in degrees) and the direct volume.
    void reciproque(const float* reciproque, float volume);
    // Line 16 and the empty line 17.
    void nombre_cycles(int cycles);
    // The line that ends a listing without result: an empty line, "##### " and the reason.
    void refus(std::string_view raison);
    // Lines 18 to 22: the refined values and their errors, external units.
    void valeurs_finales(int mode, const float* valeurs, const float* erreurs);
    void entete_table();
    void reflexion(const LigneReflexion& r);
    // The two agreement lines, each after an empty line.
    void accords(float figure_theta, float figure_deux_theta);

  private:
    // The line being built, emptied.
    std::string& debut(std::string_view texte = {});
    void ecrit(std::string_view texte = {});
    void ecrit_ligne();
    void ajoute_parametres(const float* v);
    void valeurs_initiales(const TeteListing& tete);

    EcrivainTexte* fichier_;
    std::string ligne_;
};

} // namespace kovrin::moteur
