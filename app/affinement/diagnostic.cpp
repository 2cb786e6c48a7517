#include "affinement/diagnostic.h"

#include "affinement/moindres_carres.h"
#include "commun/angles.h"
#include "cristallo/metrique.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

namespace kovrin {

namespace {

using Parametres = std::array<double, nb_parametres>;

constexpr std::size_t rang_cellule = rang_a;

// The engine's model around its refined values: the cell is reciprocal there,
// the flagged slots are free and the system letter ties the reciprocal lengths.
struct Modele {
    Parametres base{}; // zero, lambda, a*, b*, c*, alpha*, beta*, gamma* (degrees)
    std::vector<std::size_t> libres;
    char lettre = 0;
    int mode = 1;
};

// The reciprocal lengths b* (and c*) that the system letter ties to a*.
bool suit_a(char lettre, std::size_t rang) {
    if (rang == rang_b)
        return lettre != 0 && std::string_view("CRQH").find(lettre) != std::string_view::npos;
    return rang == rang_c && (lettre == 'C' || lettre == 'R');
}

Parametres complete(const Modele& m, const Vecteur& x) {
    Parametres p = m.base;
    for (std::size_t k = 0; k < x.size(); ++k)
        p[m.libres[k]] = x[k];
    for (std::size_t rang : {std::size_t{rang_b}, std::size_t{rang_c}})
        if (suit_a(m.lettre, rang)) p[rang] = p[rang_a];
    return p;
}

Maille cellule(const Parametres& p) {
    Maille c{};
    for (std::size_t i = 0; i < 6; ++i)
        c[i] = p[rang_cellule + i];
    return c;
}

// Calculated 2theta of each pair from parameters whose cell is reciprocal.
Vecteur deux_theta_reciproque(const Parametres& p, int mode,
                              const ListeBornee<Paire, 500>& paires) {
    const Metrique g = tenseur_metrique(cellule(p));
    Vecteur calcules;
    for (const Paire& pr : paires) {
        const double q = q_de_indices(g, pr.h, pr.k, pr.l);
        const double theta_obs = pr.deux_theta_obs / (2 * degres_par_radian_exact);
        const double terme = mode == 2 ? p[rang_decalage] * std::cos(theta_obs) : p[rang_decalage];
        calcules.push_back(
            2 * std::asin(p[rang_lambda] * std::sqrt(q) / 2) * degres_par_radian_exact + terme);
    }
    return calcules;
}

// Zero, lambda, the direct cell and its volume: the values whose errors are reported.
Vecteur observables(const Parametres& p) {
    const auto directe = maille_inverse(cellule(p));
    Vecteur v{p[rang_decalage], p[rang_lambda]};
    for (std::size_t i = 0; i < 6; ++i)
        v.push_back(directe ? (*directe)[i] : NAN);
    v.push_back(directe ? volume_maille(*directe) : NAN);
    return v;
}

bool cellule_libre(const Modele& m) {
    return std::any_of(m.libres.begin(), m.libres.end(), [](std::size_t r) { return r >= rang_a; });
}

std::optional<Modele> modele_affine(const EspaceTravail& et) {
    const TamponsMoteur& t = et.moteur;
    Modele m;
    for (std::size_t i = 0; i < nb_parametres; ++i) {
        m.base[i] = t.parametres[i];
        if (t.drapeaux[i] != 0.0f) m.libres.push_back(i);
    }
    const auto reciproque = maille_inverse(cellule(m.base));
    if (!reciproque) return std::nullopt;
    for (std::size_t i = 0; i < 6; ++i)
        m.base[rang_cellule + i] = (*reciproque)[i];
    m.lettre = static_cast<char>(t.lettre);
    m.mode = et.mode_decalage;
    return m;
}

Vecteur valeurs_libres(const Modele& m) {
    Vecteur x;
    for (std::size_t i : m.libres)
        x.push_back(m.base[i]);
    return x;
}

Vecteur residus(const ListeBornee<Paire, 500>& paires, const Vecteur& calcules) {
    Vecteur r;
    for (const Paire& p : paires)
        r.push_back(p.deux_theta_obs - calcules[r.size()]);
    return r;
}

double somme_carres(const Vecteur& v) {
    double s = 0;
    for (double x : v)
        s += x * x;
    return s;
}

bool est_libre(const Modele& m, std::size_t rang) {
    return std::find(m.libres.begin(), m.libres.end(), rang) != m.libres.end();
}

// A parameter has an error when it is refined or tied to a refined length,
// as in the engine; the others stay fixed, with 0.
bool a_une_erreur(const Modele& m, std::size_t rang) {
    return est_libre(m, rang) || (est_libre(m, rang_a) && suit_a(m.lettre, rang));
}

// Errors of the reported values: their covariance propagated from (J^T J)^-1,
// scaled by the variance of the residuals.
Parametres sigmas(const Modele& m, const Matrice& propagee, double ecart_type) {
    Parametres s{};
    for (std::size_t i = 0; i < nb_parametres; ++i)
        if (a_une_erreur(m, i)) s[i] = ecart_type * std::sqrt(propagee[i][i]);
    return s;
}

// The residual over its standard error estimated without pair i. A pair that
// carries the whole sum of squares (the others fit without it, as with a line
// given indices tens of degrees away) has no error left: its residual is
// infinitely many standard errors away.
std::optional<double> studentise(double r, double h, double somme, std::size_t degres_liberte) {
    if (degres_liberte < 2 || !(1 - h > 1e-12)) return std::nullopt;
    const double s_i2 = (somme - r * r / (1 - h)) / static_cast<double>(degres_liberte - 1);
    if (!(s_i2 > 0)) return r == 0 ? 0.0 : std::copysign(HUGE_VAL, r);
    return r / std::sqrt(s_i2 * (1 - h));
}

std::vector<DiagnosticPaire> paires_diagnostiquees(const Vecteur& r, const Vecteur& h, double somme,
                                                   std::size_t degres_liberte) {
    std::vector<DiagnosticPaire> paires;
    for (std::size_t i = 0; i < r.size(); ++i) {
        DiagnosticPaire d{r[i], h[i], studentise(r[i], h[i], somme, degres_liberte)};
        d.suspecte = d.studentise && std::fabs(*d.studentise) > seuil_suspect;
        paires.push_back(d);
    }
    return paires;
}

// The errors of zero, lambda, the cell and its volume.
void ajoute_erreurs(const Modele& m, const Vecteur& x, const Matrice& inverse, Diagnostic& d) {
    const Matrice g = jacobien([&](const Vecteur& v) { return observables(complete(m, v)); }, x);
    const Matrice propagee = propage(g, inverse);
    d.sigmas_usuels = sigmas(m, propagee, d.ecart_type);
    d.volume = observables(complete(m, x)).back();
    if (cellule_libre(m)) d.sigma_volume = d.ecart_type * std::sqrt(propagee.back().back());
}

} // namespace

std::vector<double> deux_theta_modele(const Parametres& parametres, int mode_decalage,
                                      const ListeBornee<Paire, 500>& paires) {
    Parametres p = parametres;
    const auto reciproque = maille_inverse(cellule(p));
    if (!reciproque) return Vecteur(static_cast<std::size_t>(paires.taille()), NAN);
    for (std::size_t i = 0; i < 6; ++i)
        p[rang_cellule + i] = (*reciproque)[i];
    return deux_theta_reciproque(p, mode_decalage, paires);
}

std::optional<Diagnostic> diagnostique(const EspaceTravail& et) {
    const auto m = et.affinement_ok ? modele_affine(et) : std::nullopt;
    const auto n = static_cast<std::size_t>(et.selection.taille());
    if (!m || m->libres.empty() || n <= m->libres.size()) return std::nullopt;
    const Vecteur x = valeurs_libres(*m);
    const auto calcul = [&](const Vecteur& v) {
        return deux_theta_reciproque(complete(*m, v), m->mode, et.selection);
    };
    const Matrice j = jacobien(calcul, x);
    const auto inverse = inverse_normale(j);
    if (!inverse) return std::nullopt;
    const Vecteur r = residus(et.selection, calcul(x));
    const double somme = somme_carres(r);
    const std::size_t liberte = n - m->libres.size();
    Diagnostic d;
    d.ecart_type = std::sqrt(somme / static_cast<double>(liberte));
    ajoute_erreurs(*m, x, *inverse, d);
    d.paires = paires_diagnostiquees(r, leviers(j, *inverse), somme, liberte);
    return d;
}

} // namespace kovrin
