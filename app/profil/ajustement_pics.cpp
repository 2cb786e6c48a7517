#include "profil/ajustement_pics.h"

#include "commun/angles.h"
#include "profil/recherche_pics.h"

#include <gsl/gsl_blas.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit_nlinear.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace kovrin {

namespace {

// Normalisations of the area-one Gaussian and Lorentzian of FWHM 1.
const double norme_gauss = 2 * std::sqrt(std::numbers::ln2 / std::numbers::pi);
constexpr double norme_lorentz = 2 / std::numbers::pi;
constexpr double k_gauss = 4 * std::numbers::ln2;
// A window reaches this many widths beyond the doublet: the Lorentzian tail
// there is below 4 % of the peak, which the linear background absorbs.
constexpr double largeurs_fenetre = 2.5;
constexpr std::size_t parametres_fond = 2, parametres_pic = 4;
// A dense pattern chains overlapping windows from end to end; the dense
// algebra of one fit grows as the square of its parameters, so a chain is cut
// after this many peaks (the next fit starts with the following peak).
constexpr std::size_t pics_par_groupe_max = 4;

// The profile with its raw intensities: the fit weighs points by counting
// statistics, which the normalised 0 ... 100 values have lost.
struct Profil {
    std::vector<double> x, y;
};

struct Doublet {
    double rapport_longueurs = 0;  // lambda2 / lambda1; 0 for a single line
    double rapport_intensites = 0; // Kalpha2 / Kalpha1
};

// What is fitted in one window: its points, its peaks and their start values.
struct Pic {
    int rang = 0; // in the measured list
    double position = 0, largeur = 0, aire = 0;
};
struct Groupe {
    std::size_t debut = 0, fin = 0; // points debut ... fin - 1
    double fond = 0;
    std::vector<Pic> pics;
};

// One line of the model and its derivatives.
struct Composante {
    double valeur = 0, d_position = 0, d_largeur = 0, d_eta = 0, d_aire = 0;
};

Profil profil_brut(const EspaceTravail& et) {
    const EnteteProfil& e = et.entete_profil;
    const double echelle = e.intensite_max_brute > e.intensite_min_brute
                               ? (e.intensite_max_brute - e.intensite_min_brute) / 100
                               : 1.0;
    Profil p;
    for (const PointProfil& point : et.profil) {
        p.x.push_back(point.angle);
        p.y.push_back(point.intensite * echelle + e.intensite_min_brute);
    }
    return p;
}

Doublet doublet_du_profil(const EnteteProfil& e) {
    if (!(e.lambda1 > 0) || !(e.lambda2 > 0) || e.lambda1 == e.lambda2) return {};
    return {e.lambda2 / e.lambda1, e.rapport > 0 ? e.rapport : 0.5};
}

std::size_t indice_proche(const Profil& p, double angle) {
    const auto it = std::lower_bound(p.x.begin(), p.x.end(), angle);
    return static_cast<std::size_t>(std::min(it - p.x.begin(), std::ptrdiff_t(p.x.size() - 1)));
}

Composante pseudo_voigt(double x, double centre, double largeur, double eta, double aire) {
    const double u = (x - centre) / largeur, u2 = u * u;
    // Far in the tail the Gaussian is below 1e-48 of its top: not worth an exp.
    const double g = u2 < 40 ? norme_gauss / largeur * std::exp(-k_gauss * u2) : 0.0;
    const double l = norme_lorentz / largeur / (1 + 4 * u2);
    const double forme = eta * l + (1 - eta) * g;
    const double dl_dc = l * 8 * u / ((1 + 4 * u2) * largeur),
                 dg_dc = g * 2 * k_gauss * u / largeur;
    const double dl_dh = l * (8 * u2 / (1 + 4 * u2) - 1) / largeur;
    const double dg_dh = g * (2 * k_gauss * u2 - 1) / largeur;
    return {aire * forme, aire * (eta * dl_dc + (1 - eta) * dg_dc),
            aire * (eta * dl_dh + (1 - eta) * dg_dh), aire * (l - g), forme};
}

// The four values of a peak in the parameter vector: position, log of the
// FWHM (kept positive), w with mixing (1 + sin w) / 2 (kept in 0 ... 1), area.
struct Raie {
    double position, largeur, eta, aire, w;
};
Raie raie(const gsl_vector* p, std::size_t j) {
    const std::size_t i = parametres_fond + parametres_pic * j;
    const double w = gsl_vector_get(p, i + 2);
    return {gsl_vector_get(p, i), std::exp(gsl_vector_get(p, i + 1)), (1 + std::sin(w)) / 2,
            gsl_vector_get(p, i + 3), w};
}

// A peak and where its companion lies, computed once per evaluation.
struct RaieDoublet {
    Raie raie;
    double position2 = 0, pente = 0; // Kalpha2 angle and its derivative by the Kalpha1 angle
};

std::vector<RaieDoublet> raies(const gsl_vector* p, std::size_t nombre, const Doublet& d) {
    std::vector<RaieDoublet> liste;
    for (std::size_t j = 0; j < nombre; ++j) {
        RaieDoublet r{raie(p, j)};
        if (d.rapport_longueurs != 0) {
            r.position2 = deux_theta_compagnon(r.raie.position, d.rapport_longueurs);
            r.pente = std::cos(r.raie.position * radians_par_degre / 2) * d.rapport_longueurs /
                      std::cos(r.position2 * radians_par_degre / 2);
        }
        liste.push_back(r);
    }
    return liste;
}

// Kalpha1 line and its companion, added with their derivatives.
Composante doublet_en(double x, const RaieDoublet& rd, const Doublet& d) {
    const Raie& r = rd.raie;
    Composante c = pseudo_voigt(x, r.position, r.largeur, r.eta, r.aire);
    if (d.rapport_longueurs == 0) return c;
    const Composante c2 =
        pseudo_voigt(x, rd.position2, r.largeur, r.eta, r.aire * d.rapport_intensites);
    return {c.valeur + c2.valeur, c.d_position + c2.d_position * rd.pente,
            c.d_largeur + c2.d_largeur, c.d_eta + c2.d_eta,
            c.d_aire + c2.d_aire * d.rapport_intensites};
}

struct DonneesAjustement {
    const Profil* profil;
    const Groupe* groupe;
    Doublet doublet;
    double centre; // of the background line
};

int residus(const gsl_vector* p, void* donnees, gsl_vector* f) {
    const auto& d = *static_cast<const DonneesAjustement*>(donnees);
    const Groupe& g = *d.groupe;
    const std::vector<RaieDoublet> liste = raies(p, g.pics.size(), d.doublet);
    for (std::size_t i = g.debut; i < g.fin; ++i) {
        const double x = d.profil->x[i];
        double y = gsl_vector_get(p, 0) + gsl_vector_get(p, 1) * (x - d.centre);
        for (const RaieDoublet& r : liste)
            y += doublet_en(x, r, d.doublet).valeur;
        gsl_vector_set(f, i - g.debut, y - d.profil->y[i]);
    }
    return GSL_SUCCESS;
}

void derivees_pic(gsl_matrix* jac, std::size_t ligne, std::size_t j, const Raie& r,
                  const Composante& c) {
    const std::size_t i = parametres_fond + parametres_pic * j;
    gsl_matrix_set(jac, ligne, i, c.d_position);
    gsl_matrix_set(jac, ligne, i + 1, c.d_largeur * r.largeur);
    gsl_matrix_set(jac, ligne, i + 2, c.d_eta * std::cos(r.w) / 2);
    gsl_matrix_set(jac, ligne, i + 3, c.d_aire);
}

int jacobien(const gsl_vector* p, void* donnees, gsl_matrix* jac) {
    const auto& d = *static_cast<const DonneesAjustement*>(donnees);
    const Groupe& g = *d.groupe;
    const std::vector<RaieDoublet> liste = raies(p, g.pics.size(), d.doublet);
    for (std::size_t i = g.debut; i < g.fin; ++i) {
        const double x = d.profil->x[i];
        gsl_matrix_set(jac, i - g.debut, 0, 1.0);
        gsl_matrix_set(jac, i - g.debut, 1, x - d.centre);
        for (std::size_t j = 0; j < liste.size(); ++j)
            derivees_pic(jac, i - g.debut, j, liste[j].raie, doublet_en(x, liste[j], d.doublet));
    }
    return GSL_SUCCESS;
}

// Start values of the peak at `angle`: its height over the lowest point within
// a degree, and the width where the profile falls to half of it.
Pic depart(const Profil& p, int rang, double angle, double& fond) {
    const std::size_t i0 = indice_proche(p, angle);
    const std::size_t bas = indice_proche(p, angle - 1), haut = indice_proche(p, angle + 1);
    fond = *std::min_element(p.y.begin() + std::ptrdiff_t(bas),
                             p.y.begin() + std::ptrdiff_t(haut) + 1);
    const double moitie = (p.y[i0] + fond) / 2;
    std::size_t g = i0, d = i0;
    while (g > bas && p.y[g] > moitie)
        --g;
    while (d < haut && p.y[d] > moitie)
        ++d;
    const double pas = (p.x.back() - p.x.front()) / double(p.x.size() - 1);
    const double largeur = std::clamp(p.x[d] - p.x[g], 2 * pas, 2.0);
    return {rang, angle, largeur, std::max(p.y[i0] - fond, 1.0) * largeur * 1.2};
}

// The lobe of an unresolved doublet lies at its weighted mean: the Kalpha1
// line starts below it.
double position_depart(const Mesure& m, const Doublet& d) {
    if (d.rapport_longueurs == 0 || m.code_raie == raie_k_alpha1) return m.deux_theta_mes;
    const double ecart =
        deux_theta_compagnon(m.deux_theta_mes, d.rapport_longueurs) - m.deux_theta_mes;
    return m.deux_theta_mes - ecart * d.rapport_intensites / (1 + d.rapport_intensites);
}

Groupe groupe_du_pic(const Profil& p, const Pic& pic, double fond, const Doublet& d) {
    const double fin = d.rapport_longueurs == 0
                           ? pic.position
                           : deux_theta_compagnon(pic.position, d.rapport_longueurs);
    Groupe g{indice_proche(p, pic.position - largeurs_fenetre * pic.largeur),
             indice_proche(p, fin + largeurs_fenetre * pic.largeur) + 1,
             fond,
             {pic}};
    return g;
}

bool se_joignent(const Groupe& dernier, const Groupe& g) {
    return g.debut < dernier.fin && dernier.pics.size() < pics_par_groupe_max;
}

void joint(Groupe& dernier, const Groupe& g) {
    dernier.fin = std::max(dernier.fin, g.fin);
    dernier.fond = std::min(dernier.fond, g.fond);
    dernier.pics.insert(dernier.pics.end(), g.pics.begin(), g.pics.end());
}

// Windows in increasing angle, those that overlap joined.
std::vector<Groupe> groupes(const EspaceTravail& et, const Profil& p, const Doublet& d) {
    std::vector<Groupe> liste;
    for (int j = 1; j <= et.mesures.taille(); ++j) {
        const Mesure& m = et.mesures[j];
        if (m.deux_theta_mes < p.x.front() || m.deux_theta_mes > p.x.back()) continue;
        double fond = 0;
        Pic pic = depart(p, j, position_depart(m, d), fond);
        Groupe g = groupe_du_pic(p, pic, fond, d);
        if (!liste.empty() && se_joignent(liste.back(), g))
            joint(liste.back(), g);
        else
            liste.push_back(g);
    }
    return liste;
}

struct Resultat {
    bool converge = false;
    std::vector<Raie> raies;
    std::vector<double> sigmas;
};

using Espace =
    std::unique_ptr<gsl_multifit_nlinear_workspace, decltype(&gsl_multifit_nlinear_free)>;

std::vector<double> vecteur_depart(const Groupe& g) {
    std::vector<double> v{g.fond, 0.0};
    for (const Pic& pic : g.pics)
        v.insert(v.end(), {pic.position, std::log(pic.largeur), 0.0, pic.aire});
    return v;
}

// Poisson weights: the variance of a count is the count.
std::vector<double> poids(const Profil& p, const Groupe& g) {
    std::vector<double> w;
    for (std::size_t i = g.debut; i < g.fin; ++i)
        w.push_back(1 / std::max(p.y[i], 1.0));
    return w;
}

// Standard errors of the positions: the covariance scaled by the reduced chi^2,
// so that intensities that are not plain counts still give honest errors.
std::vector<double> sigmas_positions(gsl_multifit_nlinear_workspace* w, const Groupe& g) {
    const std::size_t n = g.fin - g.debut, np = w->x->size;
    auto covariance = std::unique_ptr<gsl_matrix, decltype(&gsl_matrix_free)>(
        gsl_matrix_alloc(np, np), &gsl_matrix_free);
    gsl_multifit_nlinear_covar(gsl_multifit_nlinear_jac(w), 0.0, covariance.get());
    double chi2 = 0;
    gsl_blas_ddot(gsl_multifit_nlinear_residual(w), gsl_multifit_nlinear_residual(w), &chi2);
    const double echelle = chi2 / static_cast<double>(n - np);
    std::vector<double> s;
    for (std::size_t j = 0; j < g.pics.size(); ++j) {
        const std::size_t i = parametres_fond + parametres_pic * j;
        s.push_back(std::sqrt(gsl_matrix_get(covariance.get(), i, i) * echelle));
    }
    return s;
}

gsl_multifit_nlinear_fdf fonctions(DonneesAjustement& donnees, std::size_t n, std::size_t np) {
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = residus;
    fdf.df = jacobien;
    fdf.n = n;
    fdf.p = np;
    fdf.params = &donnees;
    return fdf;
}

Espace espace_gsl(std::size_t n, std::size_t np) {
    gsl_multifit_nlinear_parameters reglages = gsl_multifit_nlinear_default_parameters();
    // Chained windows of a dense pattern make long, narrow problems: the
    // normal equations cost a quarter of a QR factorisation there.
    reglages.solver = gsl_multifit_nlinear_solver_cholesky;
    return Espace(gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &reglages, n, np),
                  &gsl_multifit_nlinear_free);
}

Resultat resultat(gsl_multifit_nlinear_workspace* w, const Groupe& g, int statut) {
    // No progress left to make is how a fit already at its minimum often ends.
    Resultat r{statut == GSL_SUCCESS || statut == GSL_ENOPROG, {}, sigmas_positions(w, g)};
    for (std::size_t j = 0; j < g.pics.size(); ++j)
        r.raies.push_back(raie(gsl_multifit_nlinear_position(w), j));
    return r;
}

Resultat ajuste_groupe(const Profil& p, const Groupe& g, const Doublet& d) {
    const std::size_t n = g.fin - g.debut, np = parametres_fond + parametres_pic * g.pics.size();
    if (n <= np) return {};
    DonneesAjustement donnees{&p, &g, d, (p.x[g.debut] + p.x[g.fin - 1]) / 2};
    gsl_multifit_nlinear_fdf fdf = fonctions(donnees, n, np);
    Espace w = espace_gsl(n, np);
    std::vector<double> x0 = vecteur_depart(g), wts = poids(p, g);
    gsl_vector_view vx = gsl_vector_view_array(x0.data(), np);
    gsl_vector_view vw = gsl_vector_view_array(wts.data(), n);
    gsl_multifit_nlinear_winit(&vx.vector, &vw.vector, &fdf, w.get());
    int info = 0;
    const int statut =
        gsl_multifit_nlinear_driver(200, 1e-8, 1e-8, 0.0, nullptr, nullptr, &info, w.get());
    return resultat(w.get(), g, statut);
}

// The Kalpha1 line the measured peak stands for starts at `depart.position`
// (below the lobe centre of an unresolved doublet): the fit may move it by
// half its width.
EtatAjustement etat_de(const Raie& r, double sigma, const Pic& depart) {
    const bool sensee = std::isfinite(r.position) && std::isfinite(sigma) && r.aire > 0 &&
                        r.largeur < 10 * depart.largeur;
    if (!sensee) return EtatAjustement::echec;
    if (std::fabs(r.position - depart.position) > r.largeur / 2) return EtatAjustement::deplace;
    return EtatAjustement::ajuste;
}

void note_resultat(Mesure& m, const Pic& pic, const Resultat& r, std::size_t j,
                   BilanAjustement& b) {
    const EtatAjustement etat =
        r.converge ? etat_de(r.raies[j], r.sigmas[j], pic) : EtatAjustement::echec;
    m.ajustement = {etat};
    if (etat == EtatAjustement::echec) ++b.echecs;
    if (etat == EtatAjustement::deplace) ++b.deplaces;
    if (etat != EtatAjustement::ajuste) return;
    ++b.ajustes;
    m.deux_theta_mes = m.deux_theta_lu = r.raies[j].position;
    m.ajustement = {etat, r.raies[j].largeur, r.raies[j].aire, r.sigmas[j]};
}

int retire_compagnons(EspaceTravail& et) {
    int retires = 0;
    for (int j = et.mesures.taille(); j >= 1; --j)
        if (et.mesures[j].code_raie == raie_k_alpha2) {
            et.mesures.retire(j);
            ++retires;
        }
    return retires;
}

} // namespace

const char* nom_etat_ajustement(EtatAjustement etat) {
    switch (etat) {
    case EtatAjustement::ajuste:
        return "fitted";
    case EtatAjustement::echec:
        return "failed";
    case EtatAjustement::deplace:
        return "moved";
    case EtatAjustement::aucun:
        break;
    }
    return "";
}

double deux_theta_compagnon(double deux_theta, double rapport_longueurs) {
    const double s =
        std::min(1.0, rapport_longueurs * std::sin(deux_theta * radians_par_degre / 2));
    return 2 * std::asin(s) / radians_par_degre;
}

BilanAjustement ajuste_positions(EspaceTravail& et) {
    BilanAjustement bilan;
    if (et.profil.taille() < 2) return bilan;
    gsl_set_error_handler_off(); // failures come back as statuses, never as an abort
    const Doublet d = doublet_du_profil(et.entete_profil);
    bilan.doublet = d.rapport_longueurs != 0;
    if (bilan.doublet) bilan.compagnons_retires = retire_compagnons(et);
    const Profil p = profil_brut(et);
    int dans_profil = 0;
    for (const Groupe& g : groupes(et, p, d)) {
        const Resultat r = ajuste_groupe(p, g, d);
        for (std::size_t j = 0; j < g.pics.size(); ++j)
            note_resultat(et.mesures[g.pics[j].rang], g.pics[j], r, j, bilan);
        dans_profil += static_cast<int>(g.pics.size());
    }
    bilan.hors_profil = et.mesures.taille() - dans_profil;
    return bilan;
}

} // namespace kovrin
