#include "moteur.h"

#include "commun/fichier_texte.h"
#include "commun/format.h"

#include <cmath>
#include <string>

namespace kovrin::moteur {

namespace {

constexpr int taille_packee = nb_max_libres * (nb_max_libres + 1) / 2;

// Working storage of one refinement.
float x_depart[nb_max_libres];
float meilleur_x[nb_max_libres];
float normale[taille_packee];
float meilleure_normale[taille_packee];
float figure[limite_cycles + 1];
// Trace lines are built in this one buffer.
std::string ligne_trace;

// b_j = sum_i (obs - calc) A(i, j) w_i, stored in A(j, npar).
void second_membre(MatriceA& a, const float* theta_obs, int npar, int nref, const float* poids) {
    for (int j = 0; j < npar; ++j) {
        float s = 0.0f;
        for (int i = 0; i < nref; ++i)
            s += (theta_obs[i] - a[i][npar + 1]) * a[i][j] * poids[i];
        a[j][npar] = s;
    }
}

void matrice_normale(const MatriceA& a, int npar, int nref, const float* poids) {
    int n = 0;
    for (int j = 0; j < npar; ++j)
        for (int l = j; l < npar; ++l) {
            float s = 0.0f;
            for (int i = 0; i < nref; ++i)
                s += a[i][l] * a[i][j] * poids[i];
            normale[n++] = s;
        }
}

// Ten values per line, format (10f10.5).
void ecrit_valeurs(EcrivainTexte& trace, const float* valeurs, int n) {
    ligne_trace.clear();
    for (int j = 0; j < n; ++j) {
        ajoute_fortran_f(ligne_trace, valeurs[j], 10, 5);
        if ((j + 1) % 10 == 0 || j + 1 == n) {
            trace.ligne(ligne_trace);
            ligne_trace.clear();
        }
    }
}

void ecrit_cycle(EcrivainTexte* trace, const MatriceA& a, const float* theta_obs, const float* x,
                 int npar, int nref) {
    if (!trace) return;
    ecrit_valeurs(*trace, x, npar);
    for (int i = 0; i < nref; ++i) {
        float angles[2] = {theta_obs[i] * degre_trace, a[i][npar + 1] * degre_trace};
        ecrit_valeurs(*trace, angles, 2);
    }
}

// (a,f10.6,a,i3)
void ecrit_figure(EcrivainTexte* trace, float figure_c, int c) {
    if (!trace) return;
    ligne_trace.assign("RX100 =");
    ajoute_fortran_f(ligne_trace, figure_c * 100.0f, 10, 6);
    ligne_trace.append(" cycle ");
    ajoute_fortran_i(ligne_trace, c, 3);
    trace->ligne(ligne_trace);
}

// (a,f10.2)
void ecrit_retour(EcrivainTexte* trace, float facteur) {
    if (!trace) return;
    ligne_trace.assign(" retour");
    ajoute_fortran_f(ligne_trace, facteur, 10, 2);
    trace->ligne(ligne_trace);
}

float figure_cycle(const MatriceA& a, const float* theta_obs, int npar, int nref) {
    float s = 0.0f;
    for (int i = 0; i < nref; ++i) {
        float e = (theta_obs[i] - a[i][npar + 1]) * degre_trace;
        s += e * e;
    }
    return std::sqrt(s) / static_cast<float>(nref - npar);
}

void corrige(float* x, const MatriceA& a, int npar, float facteur) {
    for (int j = 1; j <= npar; ++j) {
        float s = 0.0f;
        for (int l = 1; l <= npar; ++l) {
            int indice = l >= j ? indice_packe(npar, j, l) : indice_packe(npar, l, j);
            s += normale[indice - 1] * a[l - 1][npar];
        }
        x[j - 1] += facteur * s;
    }
}

void copie(float* vers, const float* depuis, int n) {
    for (int j = 0; j < n; ++j)
        vers[j] = depuis[j];
}

enum class Suite { continue_, arrete, recommence };

// Below this root-mean-square deviation (degrees theta) the figure only shows
// single-precision rounding: a rise there is no divergence.
constexpr float plancher_arrondi = 1.0e-4f;

// What the figure of cycle c decides: restart on a rise of more than 2 %
// (while restarts remain and the fit is above rounding level), stop on a
// change of at most 1 % or at the limit.
Suite decide(int c, int limite, bool recommencement_permis, float plancher) {
    if (c > 1) {
        float r = figure[c];
        float avant = figure[c - 1];
        bool hausse = r > 1.02f * avant;
        if (hausse && recommencement_permis && avant > plancher) return Suite::recommence;
        if (hausse || std::fabs(r - avant) <= 0.01f * r) return Suite::arrete;
    }
    return c >= limite ? Suite::arrete : Suite::continue_;
}

} // namespace

// Precondition: 1 <= npar <= 7 is not required (matinv reports npar = 0), but
// nref > npar is: the figures divide by nref - npar.
BilanMoindresCarres moindres_carres(MatriceA& a, int capacite, const float* theta_obs, float* x,
                                    int npar, int nref, const float* poids, int limite,
                                    RoutineModele modele) {
    EcrivainTexte trace("mouchard");
    BilanMoindresCarres bilan =
        moindres_carres(a, capacite, theta_obs, x, npar, nref, poids, limite, modele, &trace);
    // A failed refinement leaves the trace as written; the writer closes it.
    if (bilan.echec == Echec::aucun) trace.ferme();
    return bilan;
}

BilanMoindresCarres moindres_carres(MatriceA& a, int capacite, const float* theta_obs, float* x,
                                    int npar, int nref, const float* poids, int limite,
                                    RoutineModele modele, EcrivainTexte* trace) {
    (void)capacite; // rows of a: nb_max_reflexions
    BilanMoindresCarres bilan;
    limite = limite < 1 ? 1 : (limite > limite_cycles ? limite_cycles : limite);
    copie(x_depart, x, npar);
    float facteur = 1.0f;
    int recommencements = 0;
    // The best cycle is kept over all attempts: a restart never returns worse values.
    float meilleure_figure = 100000.0f;
    float plancher =
        plancher_arrondi * std::sqrt(static_cast<float>(nref)) / static_cast<float>(nref - npar);
    bool recommence = true;
    while (recommence) {
        recommence = false;
        copie(x, x_depart, npar);
        for (int c = 1;; ++c) {
            bilan.echec = modele(x, a);
            if (bilan.echec != Echec::aucun) return bilan;
            second_membre(a, theta_obs, npar, nref, poids);
            matrice_normale(a, npar, nref, poids);
            int erreur = 0;
            matinv(normale, npar, erreur);
            if (erreur != 0) {
                bilan.echec = Echec::matinv;
                return bilan;
            }
            bilan.cycles = c;
            ecrit_cycle(trace, a, theta_obs, x, npar, nref);
            figure[c] = figure_cycle(a, theta_obs, npar, nref);
            if (!std::isfinite(figure[c])) {
                bilan.echec = Echec::non_fini;
                return bilan;
            }
            if (figure[c] < meilleure_figure) {
                meilleure_figure = figure[c];
                copie(meilleur_x, x, npar);
                copie(meilleure_normale, normale, npar * (npar + 1) / 2);
            }
            ecrit_figure(trace, figure[c], c);
            Suite suite = decide(c, limite, recommencements < max_recommencements, plancher);
            if (suite == Suite::recommence) {
                facteur *= 0.7f;
                ++recommencements;
                ecrit_retour(trace, facteur);
                recommence = true;
                break;
            }
            if (suite == Suite::arrete) break;
            corrige(x, a, npar, facteur);
        }
    }
    for (int j = 1; j <= npar; ++j)
        a[j - 1][j - 1] = meilleure_normale[indice_packe(npar, j, j) - 1];
    copie(x, meilleur_x, npar);
    return bilan;
}

} // namespace kovrin::moteur
