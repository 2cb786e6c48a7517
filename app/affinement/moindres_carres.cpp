#include "affinement/moindres_carres.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_linalg.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace kovrin {

namespace {

// Below this reciprocal condition number (of the column-scaled normal matrix)
// the parameters are taken as dependent.
constexpr double conditionnement_min = 1e-13;

struct LibereMatrice {
    void operator()(gsl_matrix* m) const { gsl_matrix_free(m); }
};
using MatriceGsl = std::unique_ptr<gsl_matrix, LibereMatrice>;

MatriceGsl matrice_gsl(std::size_t lignes, std::size_t colonnes) {
    return MatriceGsl(gsl_matrix_calloc(lignes, colonnes));
}

// Column norms, so that parameters of very different scales (a zero shift in
// degrees, a reciprocal length) weigh alike in the conditioning test.
Vecteur normes_colonnes(const Matrice& j, std::size_t p) {
    Vecteur normes(p, 0.0);
    for (const Vecteur& ligne : j)
        for (std::size_t k = 0; k < p; ++k)
            normes[k] += ligne[k] * ligne[k];
    for (double& n : normes)
        n = n > 0 ? std::sqrt(n) : 1.0;
    return normes;
}

MatriceGsl normale_normee(const Matrice& j, const Vecteur& normes) {
    const std::size_t p = normes.size();
    MatriceGsl n = matrice_gsl(p, p);
    for (const Vecteur& ligne : j)
        for (std::size_t a = 0; a < p; ++a)
            for (std::size_t b = 0; b < p; ++b)
                *gsl_matrix_ptr(n.get(), a, b) += ligne[a] * ligne[b] / (normes[a] * normes[b]);
    return n;
}

bool cholesky_sur(gsl_matrix* n) {
    if (gsl_linalg_cholesky_decomp1(n) != GSL_SUCCESS) return false;
    double rcond = 0;
    auto travail = std::unique_ptr<gsl_vector, decltype(&gsl_vector_free)>(
        gsl_vector_alloc(3 * n->size1), &gsl_vector_free);
    return gsl_linalg_cholesky_rcond(n, &rcond, travail.get()) == GSL_SUCCESS &&
           rcond > conditionnement_min;
}

} // namespace

Matrice jacobien(const std::function<Vecteur(const Vecteur&)>& f, const Vecteur& x) {
    const std::size_t n = f(x).size();
    Matrice j(n, Vecteur(x.size(), 0.0));
    for (std::size_t k = 0; k < x.size(); ++k) {
        const double pas = 1e-6 * std::max(std::fabs(x[k]), 1e-2);
        Vecteur plus = x, moins = x;
        plus[k] += pas;
        moins[k] -= pas;
        const Vecteur fp = f(plus), fm = f(moins);
        for (std::size_t i = 0; i < n; ++i)
            j[i][k] = (fp[i] - fm[i]) / (2 * pas);
    }
    return j;
}

std::optional<Matrice> inverse_normale(const Matrice& j) {
    gsl_set_error_handler_off(); // failures come back as statuses, never as an abort
    const std::size_t p = j.empty() ? 0 : j.front().size();
    if (p == 0 || j.size() < p) return std::nullopt;
    const Vecteur normes = normes_colonnes(j, p);
    MatriceGsl n = normale_normee(j, normes);
    if (!cholesky_sur(n.get()) || gsl_linalg_cholesky_invert(n.get()) != GSL_SUCCESS)
        return std::nullopt;
    Matrice inverse(p, Vecteur(p, 0.0));
    for (std::size_t a = 0; a < p; ++a)
        for (std::size_t b = 0; b < p; ++b)
            inverse[a][b] = gsl_matrix_get(n.get(), a, b) / (normes[a] * normes[b]);
    return inverse;
}

std::optional<Vecteur> resout_lineaire(const Matrice& x, const Vecteur& y) {
    const auto inverse = inverse_normale(x);
    if (!inverse) return std::nullopt;
    const std::size_t p = inverse->size();
    Vecteur xty(p, 0.0), c(p, 0.0);
    for (std::size_t i = 0; i < x.size(); ++i)
        for (std::size_t k = 0; k < p; ++k)
            xty[k] += x[i][k] * y[i];
    for (std::size_t a = 0; a < p; ++a)
        for (std::size_t b = 0; b < p; ++b)
            c[a] += (*inverse)[a][b] * xty[b];
    return c;
}

Vecteur leviers(const Matrice& j, const Matrice& inverse) {
    Vecteur h;
    for (const Vecteur& ligne : j)
        h.push_back(propage({ligne}, inverse)[0][0]);
    return h;
}

Matrice propage(const Matrice& a, const Matrice& c) {
    const std::size_t m = a.size(), p = c.size();
    Matrice r(m, Vecteur(m, 0.0));
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t k = 0; k < m; ++k)
            for (std::size_t u = 0; u < p; ++u)
                for (std::size_t v = 0; v < p; ++v)
                    r[i][k] += a[i][u] * c[u][v] * a[k][v];
    return r;
}

} // namespace kovrin
