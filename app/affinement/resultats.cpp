#include "affinement/resultats.h"

#include "commun/format.h"

#include <algorithm>
#include <cmath>

namespace kovrin {

namespace {

constexpr int lignes_avant = 100; // header row included
constexpr int lignes_apres = 25;

void vide_grille(Grille& grille) {
    grille.lignes.clear();
}

std::string indices(const Paire& p, int largeur) {
    return pascal_entier(p.h, largeur) + pascal_entier(p.k, largeur) + pascal_entier(p.l, largeur);
}

// The corrected angle of pair i; a pair never refined shows its observed angle.
double corrige_ou_observe(const EspaceTravail& espace, int i) {
    float corrige = espace.deux_theta_corrige[static_cast<std::size_t>(i)];
    return corrige == 0.0f ? espace.selection[i].deux_theta_obs : corrige;
}

// Calculated theta (degrees) of pair i as the engine returned it.
double theta_calcule(const EspaceTravail& espace, int i) {
    return espace.moteur.angles[static_cast<std::size_t>(i - 1)];
}

// sqrt(sum of squares) / (n - Npar), the figure of the engine listing; empty
// text when there are no more pairs than refined parameters.
std::string texte_ecart(double somme_carres, int n, int npar) {
    if (n - npar <= 0) return "";
    return pascal_reel(std::sqrt(somme_carres) / (n - npar), 8, 5);
}

} // namespace

void affiche_initial(const EspaceTravail& espace, OngletAffinement& onglet) {
    onglet.initial[rang_decalage] = pascal_reel(espace.decalage, 8, 6);
    onglet.initial[rang_lambda] = pascal_reel(espace.lambda, 8, 5);
    onglet.decalage_initial = Saisie::de_valeur(espace.decalage);
    onglet.lambda_initial = Saisie::de_valeur(espace.lambda);
    for (int i = 0; i < 3; ++i) {
        onglet.initial[static_cast<std::size_t>(rang_a + i)] = pascal_reel(espace.maille[i], 9, 4);
        onglet.initial[static_cast<std::size_t>(rang_alpha + i)] =
            pascal_reel(espace.maille[static_cast<std::size_t>(3 + i)], 8, 3);
    }
}

void affiche_parametres(const EspaceTravail& espace, OngletAffinement& onglet) {
    const auto& p = espace.moteur.parametres;
    const auto& e = espace.moteur.erreurs;
    double moitie = mode_theta(espace) ? 0.5 : 1.0;
    onglet.affine[rang_decalage] = pascal_reel(p[0] * moitie, 8, 6);
    onglet.sigmas[rang_decalage] = pascal_reel(e[0] * moitie, 8, 6);
    onglet.affine[rang_lambda] = pascal_reel(p[1], 8, 5);
    onglet.sigmas[rang_lambda] = pascal_reel(e[1], 8, 4);
    for (std::size_t i = rang_a; i <= rang_c; ++i) {
        onglet.affine[i] = pascal_reel(p[i], 9, 4);
        onglet.sigmas[i] = pascal_reel(e[i], 8, 4);
    }
    for (std::size_t i = rang_alpha; i <= rang_gamma; ++i) {
        onglet.affine[i] = pascal_reel(p[i], 8, 3);
        onglet.sigmas[i] = pascal_reel(e[i], 8, 3);
    }
    ecart_avant(espace, onglet);
    ecart_apres(espace, onglet);
}

void remplit_tableau_avant(const EspaceTravail& espace, OngletAffinement& onglet) {
    int n = espace.selection.taille();
    bool theta = mode_theta(espace);
    Grille g;
    // The grid grows past its 99 visible pairs so that every pair can be seen.
    g.nb_lignes = std::max(lignes_avant, n + 1);
    g.lignes.push_back({"Nb.", "h   k   l", theta ? "T Obs" : "2T Obs",
                        theta ? "TObs-shift" : "2TObs-shift", theta ? "T Calc" : "2T Calc",
                        "Diff."});
    for (int i = 1; i <= n; ++i) {
        const Paire& p = espace.selection[i];
        double corrige = corrige_ou_observe(espace, i);
        g.lignes.push_back({pascal_entier(i, 2), indices(p, 3),
                            pascal_reel(angle_affiche(espace, p.deux_theta_obs), 8, 3),
                            pascal_reel(angle_affiche(espace, corrige), 8, 3),
                            pascal_reel(angle_affiche(espace, p.deux_theta_cal), 8, 3),
                            pascal_reel(angle_affiche(espace, corrige - p.deux_theta_cal), 8, 4)});
    }
    onglet.avant = std::move(g);
    if (n != 0) ecart_avant(espace, onglet);
}

void remplit_tableaux(const EspaceTravail& espace, OngletAffinement& onglet) {
    remplit_tableau_avant(espace, onglet);
    remplit_tableau_apres(espace, onglet);
}

void remplit_tableau_apres(const EspaceTravail& espace, OngletAffinement& onglet) {
    int n = espace.selection.taille();
    bool theta = mode_theta(espace);
    Grille g;
    g.nb_lignes = std::max(lignes_apres, n + 1);
    g.lignes.push_back(
        {"No.", "h k l", theta ? "TObs-shift" : "2TObs-shift", theta ? "TCalc" : "2TCalc", "Dif."});
    for (int i = 1; i <= n; ++i) {
        const Paire& p = espace.selection[i];
        float corrige = espace.deux_theta_corrige[static_cast<std::size_t>(i)];
        std::vector<std::string> ligne = {std::to_string(i), indices(p, 2), "", "", ""};
        // A pair that no refinement has corrected has no result to show.
        if (corrige != 0.0f) {
            double deux_theta_c = 2 * theta_calcule(espace, i);
            ligne[2] = pascal_reel(angle_affiche(espace, corrige), 8, 3);
            ligne[3] = pascal_reel(angle_affiche(espace, deux_theta_c), 8, 3);
            ligne[4] = pascal_reel(angle_affiche(espace, corrige - deux_theta_c), 8, 4);
        }
        g.lignes.push_back(std::move(ligne));
    }
    onglet.apres = std::move(g);
    ecart_apres(espace, onglet);
}

void ecart_avant(const EspaceTravail& espace, OngletAffinement& onglet) {
    int n = espace.selection.taille();
    if (n == 0) return;
    double somme = 0;
    for (const Paire& p : espace.selection) {
        double ecart = angle_affiche(espace, double(p.deux_theta_obs) - p.deux_theta_cal);
        somme += ecart * ecart;
    }
    onglet.ecart_avant = texte_ecart(somme, n, espace.moteur.npar);
}

void ecart_apres(const EspaceTravail& espace, OngletAffinement& onglet) {
    int n = espace.selection.taille();
    if (!espace.affinement_ok || n == 0) return;
    double somme = 0;
    for (int i = 1; i <= n; ++i) {
        double corrige = espace.deux_theta_corrige[static_cast<std::size_t>(i)];
        double ecart = angle_affiche(espace, corrige - 2 * theta_calcule(espace, i));
        somme += ecart * ecart;
    }
    onglet.ecart_apres = texte_ecart(somme, n, espace.moteur.npar);
}

void efface_panneaux(OngletAffinement& onglet) {
    vide_grille(onglet.avant);
    vide_grille(onglet.apres);
    onglet.ecart_avant.clear();
    onglet.ecart_apres.clear();
    onglet.m20.clear();
    onglet.fn.clear();
    onglet.paires_suspectes.clear();
}

void efface_resultats(OngletAffinement& onglet) {
    for (auto& t : onglet.affine)
        t.clear();
    for (auto& t : onglet.sigmas)
        t.clear();
    for (auto* colonne : {&onglet.esd, &onglet.valeur_esd})
        for (auto& t : *colonne)
            t.clear();
    onglet.ecart_apres.clear();
    onglet.initial[rang_decalage] = "0";
    onglet.decalage_initial = Saisie::de_valeur(0);
}

} // namespace kovrin
