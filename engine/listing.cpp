#include "listing.h"

#include "commun/format.h"

#include <string>
#include <utility>

namespace kovrin::moteur {

namespace {

std::string entete_colonnes(int mode) {
    const char* debut = mode == 2 ? " e/R(\xF8)" : "   Zero";
    return std::string(debut) + "  Lambda     a       b       c     alpha   beta  gamma";
}

// F7.5, F9.5, 3F8.4, 3F7.2
std::string ligne_parametres(const float* v) {
    std::string ligne = fortran_f(v[0], 7, 5) + fortran_f(v[1], 9, 5);
    for (int j = 2; j < 5; ++j)
        ligne += fortran_f(v[j], 8, 4);
    for (int j = 5; j < 8; ++j)
        ligne += fortran_f(v[j], 7, 2);
    return ligne;
}

// F5.0, F6.0, F9.0, 2F8.0, F9.0, 2F7.0
std::string ligne_drapeaux(const float* d) {
    static constexpr int largeurs[8] = {5, 6, 9, 8, 8, 9, 7, 7};
    std::string ligne;
    for (int j = 0; j < 8; ++j)
        ligne += fortran_f(d[j], largeurs[j], 0);
    return ligne;
}

} // namespace

void ecrit_tete(EcrivainTexte& f, const TeteListing& tete) {
    const std::string tirets(52, '-');
    f.ligne(tirets);
    f.ligne(tete.titre);
    f.ligne(tirets);
    f.ligne(" Number of reflections     : " + fortran_i(tete.nref, 5));
    f.ligne(" Max. number of refinement cycles" + fortran_i(limite_cycles, 5));
    f.ligne(" Refinement constraints    : " + fortran_a(tete.libelle, 5));
    f.ligne();
    f.ligne("Initial values    :");
    f.ligne(entete_colonnes(tete.mode));
    f.ligne(ligne_parametres(tete.parametres));
    f.ligne(ligne_drapeaux(tete.drapeaux));
    f.ligne();
}

void ecrit_reciproque(EcrivainTexte& f, const float* reciproque, float volume) {
    std::string ligne = "Recipr.lattice :";
    for (int j = 0; j < 3; ++j)
        ligne += fortran_f(reciproque[j], 8, 4);
    for (int j = 3; j < 6; ++j)
        ligne += fortran_f(reciproque[j], 7, 2);
    f.ligne(ligne);
    f.ligne("Volume (a**3)  : " + fortran_f(volume, 9, 3));
    f.ligne();
}

void ecrit_nombre_cycles(EcrivainTexte& f, int cycles) {
    f.ligne(" Number of refinement cycles       : " + fortran_i(cycles, 5));
    f.ligne();
}

void ecrit_refus(EcrivainTexte& f, std::string_view raison) {
    f.ligne();
    f.ligne("##### " + std::string(raison));
}

void ecrit_valeurs_finales(EcrivainTexte& f, int mode, const float* valeurs, const float* erreurs) {
    f.ligne();
    f.ligne("Final values      : (Standard errors on 2nd line)");
    f.ligne(entete_colonnes(mode));
    f.ligne(ligne_parametres(valeurs));
    f.ligne(ligne_parametres(erreurs));
    f.ligne();
}

void ecrit_entete_table(EcrivainTexte& f) {
    // (1X,3X,'H',4X,'K',4X,'L',3X,'2Th(obs)',3X,'2Th-Zero',4X,'2Th(Calc)',6X,'diff.',/)
    std::string entete = fortran_x(1);
    for (auto [blancs, texte] : {std::pair{3, "H"}, {4, "K"}, {4, "L"}, {3, "2Th(obs)"},
                                 {3, "2Th-Zero"}, {4, "2Th(Calc)"}, {6, "diff."}})
        entete.append(fortran_x(blancs)).append(texte);
    f.ligne(entete);
    f.ligne();
}

void ecrit_reflexion(EcrivainTexte& f, const LigneReflexion& r) {
    std::string ligne = fortran_x(2) + fortran_i(r.h, 3) + fortran_x(2) + fortran_i(r.k, 3) +
                        fortran_x(2) + fortran_i(r.l, 3) + fortran_x(2);
    for (float v : {r.deux_theta_obs, r.obs_corrige, r.calc_corrige, r.difference})
        ligne += fortran_f(v, 8, 4) + fortran_x(4);
    f.ligne(ligne);
}

void ecrit_accords(EcrivainTexte& f, float figure_theta, float figure_deux_theta) {
    f.ligne();
    f.ligne("Sqrt(Sum(Th O-C)**2)/(Nref-Npar)) = " + fortran_f(figure_theta, 10, 6));
    f.ligne();
    f.ligne("Sqrt(Sum(2Th O-C)**2)/(Nref-Npar)) = " + fortran_f(figure_deux_theta, 10, 6));
}

} // namespace kovrin::moteur
