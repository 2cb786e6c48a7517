#include "listing.h"

#include "commun/format.h"

#include <utility>

namespace kovrin::moteur {

namespace {

constexpr std::string_view tirets = "----------------------------------------------------";
constexpr std::string_view colonnes_zero =
    "   Zero  Lambda     a       b       c     alpha   beta  gamma";
constexpr std::string_view colonnes_excentricite =
    " e/R(\xF8)  Lambda     a       b       c     alpha   beta  gamma";

// F7.5, F9.5, 3F8.4, 3F7.2
constexpr int largeurs_parametres[nb_parametres] = {7, 9, 8, 8, 8, 7, 7, 7};
constexpr int decimales_parametres[nb_parametres] = {5, 5, 4, 4, 4, 2, 2, 2};
// F5.0, F6.0, F9.0, 2F8.0, F9.0, 2F7.0
constexpr int largeurs_drapeaux[nb_parametres] = {5, 6, 9, 8, 8, 9, 7, 7};

std::string_view colonnes(int mode) {
    return mode == 2 ? colonnes_excentricite : colonnes_zero;
}

} // namespace

Listing::Listing(EcrivainTexte* fichier) : fichier_(fichier) {
    if (fichier_) ligne_.reserve(128);
}

std::string& Listing::debut(std::string_view texte) {
    ligne_.assign(texte);
    return ligne_;
}

void Listing::ecrit(std::string_view texte) {
    fichier_->ligne(texte);
}

void Listing::ecrit_ligne() {
    fichier_->ligne(ligne_);
}

void Listing::ajoute_parametres(const float* v) {
    for (int j = 0; j < nb_parametres; ++j)
        ajoute_fortran_f(ligne_, v[j], largeurs_parametres[j], decimales_parametres[j]);
}

void Listing::tete(const TeteListing& tete) {
    if (!fichier_) return;
    ecrit(tirets);
    ecrit(tete.titre);
    ecrit(tirets);
    ajoute_fortran_i(debut(" Number of reflections     : "), tete.nref, 5);
    ecrit_ligne();
    ajoute_fortran_i(debut(" Max. number of refinement cycles"), limite_cycles, 5);
    ecrit_ligne();
    debut(" Refinement constraints    : ").append(fortran_a(tete.libelle, 5));
    ecrit_ligne();
    ecrit();
    valeurs_initiales(tete);
}

void Listing::valeurs_initiales(const TeteListing& tete) {
    ecrit("Initial values    :");
    ecrit(colonnes(tete.mode));
    debut();
    ajoute_parametres(tete.parametres);
    ecrit_ligne();
    debut();
    for (int j = 0; j < nb_parametres; ++j)
        ajoute_fortran_f(ligne_, tete.drapeaux[j], largeurs_drapeaux[j], 0);
    ecrit_ligne();
    ecrit();
}

void Listing::reciproque(const float* reciproque, float volume) {
    if (!fichier_) return;
    debut("Recipr.lattice :");
    for (int j = 0; j < 6; ++j)
        ajoute_fortran_f(ligne_, reciproque[j], j < 3 ? 8 : 7, j < 3 ? 4 : 2);
    ecrit_ligne();
    ajoute_fortran_f(debut("Volume (a**3)  : "), volume, 9, 3);
    ecrit_ligne();
    ecrit();
}

void Listing::nombre_cycles(int cycles) {
    if (!fichier_) return;
    ajoute_fortran_i(debut(" Number of refinement cycles       : "), cycles, 5);
    ecrit_ligne();
    ecrit();
}

void Listing::refus(std::string_view raison) {
    if (!fichier_) return;
    ecrit();
    debut("##### ").append(raison);
    ecrit_ligne();
}

void Listing::valeurs_finales(int mode, const float* valeurs, const float* erreurs) {
    if (!fichier_) return;
    ecrit();
    ecrit("Final values      : (Standard errors on 2nd line)");
    ecrit(colonnes(mode));
    for (const float* v : {valeurs, erreurs}) {
        debut();
        ajoute_parametres(v);
        ecrit_ligne();
    }
    ecrit();
}

void Listing::entete_table() {
    if (!fichier_) return;
    // (1X,3X,'H',4X,'K',4X,'L',3X,'2Th(obs)',3X,'2Th-Zero',4X,'2Th(Calc)',6X,'diff.',/)
    debut(" ");
    for (auto [blancs, texte] : {std::pair{3, "H"},
                                 {4, "K"},
                                 {4, "L"},
                                 {3, "2Th(obs)"},
                                 {3, "2Th-Zero"},
                                 {4, "2Th(Calc)"},
                                 {6, "diff."}})
        ligne_.append(static_cast<std::size_t>(blancs), ' ').append(texte);
    ecrit_ligne();
    ecrit();
}

// 2X,I3,2X,I3,2X,I3,2X, then 4(F8.4,4X)
void Listing::reflexion(const LigneReflexion& r) {
    if (!fichier_) return;
    debut();
    for (int indice : {r.h, r.k, r.l}) {
        ligne_.append(2, ' ');
        ajoute_fortran_i(ligne_, indice, 3);
    }
    ligne_.append(2, ' ');
    for (float v : {r.deux_theta_obs, r.obs_corrige, r.calc_corrige, r.difference}) {
        ajoute_fortran_f(ligne_, v, 8, 4);
        ligne_.append(4, ' ');
    }
    ecrit_ligne();
}

void Listing::accords(float figure_theta, float figure_deux_theta) {
    if (!fichier_) return;
    ecrit();
    ajoute_fortran_f(debut("Sqrt(Sum(Th O-C)**2)/(Nref-Npar)) = "), figure_theta, 10, 6);
    ecrit_ligne();
    ecrit();
    ajoute_fortran_f(debut("Sqrt(Sum(2Th O-C)**2)/(Nref-Npar)) = "), figure_deux_theta, 10, 6);
    ecrit_ligne();
}

} // namespace kovrin::moteur
