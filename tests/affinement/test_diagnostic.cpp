// What the core computes after a refinement by the real engine: the usual
// standard errors and a studentised residual against a least-squares fit
// written here from scratch, the flag on a mis-indexed line, and the figures
// of merit of a small case computed by hand.
#include "affinement/diagnostic.h"
#include "affinement/merite.h"
#include "cas_affinement.h"
#include "dossier_temporaire.h"
#include "interface/commandes_affinement.h"
#include "interface/residus.h"

#include <gsl/gsl_multifit.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace kovrin;
using namespace kovrin::test;

namespace {

using Vec = std::vector<double>;

// Gauss-Newton in double precision with numerical derivatives, each step a
// linear least-squares fit by GSL, whose covariance at the end gives the
// standard errors sqrt(S / (n - p) (J^T J)^-1_kk); x ends at the minimum.
Vec erreurs_usuelles(const std::function<Vec(const Vec&)>& residus, Vec& x) {
    const std::size_t n = residus(x).size(), p = x.size();
    gsl_matrix* j = gsl_matrix_alloc(n, p);
    gsl_matrix* covariance = gsl_matrix_alloc(p, p);
    gsl_vector* moins_r = gsl_vector_alloc(n);
    gsl_vector* pas = gsl_vector_alloc(p);
    gsl_multifit_linear_workspace* travail = gsl_multifit_linear_alloc(n, p);
    double s = 0;
    for (int cycle = 0; cycle < 20; ++cycle) {
        const Vec r = residus(x);
        for (std::size_t k = 0; k < p; ++k) {
            Vec xp = x;
            xp[k] += 1e-7;
            const Vec rp = residus(xp);
            for (std::size_t i = 0; i < n; ++i)
                gsl_matrix_set(j, i, k, (rp[i] - r[i]) / 1e-7);
        }
        for (std::size_t i = 0; i < n; ++i)
            gsl_vector_set(moins_r, i, -r[i]);
        gsl_multifit_linear(j, moins_r, pas, covariance, &s, travail);
        for (std::size_t k = 0; k < p; ++k)
            x[k] += gsl_vector_get(pas, k);
    }
    Vec sigmas;
    for (std::size_t k = 0; k < p; ++k)
        sigmas.push_back(std::sqrt(gsl_matrix_get(covariance, k, k)));
    gsl_multifit_linear_free(travail);
    gsl_vector_free(pas);
    gsl_vector_free(moins_r);
    gsl_matrix_free(covariance);
    gsl_matrix_free(j);
    return sigmas;
}

struct CasErreurs {
    const char* systeme;
    std::array<double, 6> maille;
    std::vector<int> rangs;          // refined slots
    std::vector<std::size_t> libres; // cell slots (0 ... 5) the test's fit frees
};

// The cell of the test's own fit: the free values in slot order, the rest fixed.
std::array<double, 6> maille_de(const CasErreurs& c, const Vec& x) {
    std::array<double, 6> m = c.maille;
    for (std::size_t k = 0; k < c.libres.size(); ++k)
        m[c.libres[k]] = x[k + 1];
    if (std::string(c.systeme) == "CUBI") m[1] = m[2] = m[0];
    return m;
}

} // namespace

TEST(Diagnostic, UsualStandardErrorsAreThoseOfAnIndependentNormalEquationsFit) {
    const std::vector<CasErreurs> cas = {
        {"CUBI", {5.4312, 5.4312, 5.4312, 90, 90, 90}, {rang_decalage, rang_a}, {0}},
        {"MONO",
         {5.1, 6.3, 7.4, 90, 104.5, 90},
         {rang_decalage, rang_a, rang_b, rang_c, rang_beta},
         {0, 1, 2, 4}},
        {"TRIC",
         {5.1, 6.3, 7.4, 85.4, 97.3, 102.1},
         {rang_decalage, rang_a, rang_b, rang_c, rang_alpha, rang_beta, rang_gamma},
         {0, 1, 2, 3, 4, 5}}};
    for (const CasErreurs& c : cas) {
        DossierTemporaire dossier;
        EspaceTravail e;
        e.systeme = c.systeme;
        e.maille = c.maille;
        paires_de_maille(e, c.maille, 1.5406, 0.02, 0.004, 90);
        OngletAffinement onglet;
        DialoguesEnregistres d;
        ASSERT_TRUE(lance_affinement(e, champs_affinement(c.rangs), onglet, d));
        const auto diag = diagnostique(e);
        ASSERT_TRUE(diag) << c.systeme;

        const auto residus = [&](const Vec& x) {
            Vec r;
            for (const Paire& p : e.selection)
                r.push_back(p.deux_theta_obs -
                            (deux_theta_maille(maille_de(c, x), p.h, p.k, p.l, 1.5406) + x[0]));
            return r;
        };
        Vec depart{0.02};
        for (std::size_t i : c.libres)
            depart.push_back(c.maille[i]);
        const Vec sigmas = erreurs_usuelles(residus, depart);
        EXPECT_NEAR(diag->sigmas_usuels[rang_decalage], sigmas[0], 0.02 * sigmas[0]) << c.systeme;
        // The engine's values are that least-squares minimum.
        EXPECT_NEAR(e.moteur.parametres[rang_decalage], depart[0], 0.05 * sigmas[0]);
        for (std::size_t k = 0; k < c.libres.size(); ++k) {
            EXPECT_NEAR(diag->sigmas_usuels[rang_a + c.libres[k]], sigmas[k + 1],
                        0.02 * sigmas[k + 1])
                << c.systeme << " slot " << c.libres[k];
            EXPECT_NEAR(e.moteur.parametres[rang_a + c.libres[k]], depart[k + 1],
                        0.05 * sigmas[k + 1]);
        }
        // The studentised residual of the pair farthest off, from the fit
        // without it: its residual there e = r / (1 - h), and the spread left.
        const Vec fin = residus(depart);
        const auto i = std::size_t(
            std::max_element(fin.begin(), fin.end(),
                             [](double u, double v) { return std::fabs(u) < std::fabs(v); }) -
            fin.begin());
        const std::size_t n = fin.size(), p = depart.size();
        const auto sans_i = [&](const Vec& x) {
            Vec r = residus(x);
            r.erase(r.begin() + long(i));
            return r;
        };
        Vec x_i = depart;
        erreurs_usuelles(sans_i, x_i);
        double somme_i = 0;
        for (double ri : sans_i(x_i))
            somme_i += ri * ri;
        const double r_i = fin[i], e_i = residus(x_i)[i];
        const double attendu = r_i / std::sqrt(somme_i / double(n - 1 - p) * (r_i / e_i));
        ASSERT_TRUE(diag->paires[i].studentise);
        EXPECT_NEAR(*diag->paires[i].studentise, attendu, 0.005 * std::fabs(attendu)) << c.systeme;
        // The engine's own errors are smaller by sqrt(Nref - Npar) where it
        // propagates nothing between parameters: the cubic a.
        if (std::string(c.systeme) == "CUBI") {
            const double facteur = std::sqrt(double(e.selection.taille() - 2));
            EXPECT_NEAR(e.moteur.erreurs[rang_a] * facteur, sigmas[1], 0.02 * sigmas[1]);
        }
    }
}

TEST(Diagnostic, AMisIndexedLineIsTheOnlySuspect) {
    DossierTemporaire dossier;
    EspaceTravail e;
    e.systeme = "TETR";
    e.maille = {4.2, 4.2, 6.1, 90, 90, 90};
    paires_de_maille(e, e.maille, 1.5406, 0.0, 0.003, 80);
    // One line given the indices of its neighbour: 2 1 1 measured where 2 1 0 is.
    const auto cible = std::find_if(e.selection.begin(), e.selection.end(), [](const Paire& p) {
        return p.h == 2 && p.k == 1 && p.l == 0;
    });
    ASSERT_NE(cible, e.selection.end());
    cible->l = 1;
    const int mal_indexee = static_cast<int>(cible - e.selection.begin()) + 1;
    OngletAffinement onglet;
    DialoguesEnregistres d;
    ASSERT_TRUE(lance_affinement(e, champs_affinement({rang_decalage, rang_a, rang_c}), onglet, d));
    const auto diag = diagnostique(e);
    ASSERT_TRUE(diag);
    ASSERT_EQ(diag->paires.size(), static_cast<std::size_t>(e.selection.taille()));
    for (int i = 1; i <= e.selection.taille(); ++i)
        EXPECT_EQ(diag->paires[static_cast<std::size_t>(i - 1)].suspecte, i == mal_indexee) << i;
    // The refinement tab paints that row (no space group here: no figures of merit).
    affiche_diagnostic(e, onglet);
    EXPECT_TRUE(onglet.paires_suspectes[static_cast<std::size_t>(mal_indexee - 1)]);
    // A new pairing clears the panels, the paint and figures of merit with them.
    OngletAffinement efface = onglet;
    efface.m20 = efface.fn = "M(20) = 30.0";
    efface_panneaux(efface);
    EXPECT_TRUE(efface.paires_suspectes.empty() && efface.m20.empty() && efface.fn.empty());
    // The residual plot: one cross per pair (two strokes and a stem each), the
    // suspect one in red with its row number, above the zero line when its
    // residual is positive.
    const Dessin dessin = dessin_residus(e, 800, 400);
    const auto rouges = std::count_if(dessin.segments.begin(), dessin.segments.end(),
                                      [](const Segment& s) { return s.couleur == rouge; });
    EXPECT_EQ(rouges, 3);
    const auto etiquette = std::find_if(dessin.textes.begin(), dessin.textes.end(),
                                        [](const TexteTrace& t) { return t.couleur == rouge; });
    ASSERT_NE(etiquette, dessin.textes.end());
    EXPECT_EQ(etiquette->texte, std::to_string(mal_indexee));
    const Segment& tige = *std::find_if(dessin.segments.begin(), dessin.segments.end(),
                                        [](const Segment& s) { return s.couleur == rouge; });
    const double residu = diag->paires[static_cast<std::size_t>(mal_indexee - 1)].residu;
    EXPECT_EQ(tige.fin.y<tige.debut.y, residu> 0);
    // The axes: the left and bottom edges of the plotting area, in black.
    for (const auto& [debut, fin] :
         {std::pair{Point{64, 26}, Point{64, 366}}, {{64, 366}, {788, 366}}})
        EXPECT_TRUE(std::any_of(dessin.segments.begin(), dessin.segments.end(),
                                [&](const Segment& s) {
                                    return s.debut == debut && s.fin == fin && s.couleur == noir;
                                }))
            << debut.x << ' ' << debut.y;
    // Below the axis, its ticks and their labels.
    EXPECT_TRUE(std::any_of(dessin.segments.begin(), dessin.segments.end(), [](const Segment& s) {
        return s.debut.y == 366 && s.fin.y == 370 && s.debut.x == s.fin.x;
    }));
    EXPECT_TRUE(std::any_of(dessin.textes.begin(), dessin.textes.end(),
                            [](const TexteTrace& t) { return t.coin.y == 372; }));
    EXPECT_EQ(std::tuple(pas_rond(0.04, 6), pas_rond(67, 8), pas_rond(0.5, 4)),
              std::tuple(0.01, 10, 0.2));
    // Leverages are the diagonal of a projection of rank Npar.
    double trace = 0;
    for (const DiagnosticPaire& p : diag->paires)
        trace += p.levier;
    EXPECT_NEAR(trace, 3.0, 1e-6);
}

TEST(Diagnostic, FiguresOfMeritOfASmallCaseComputedByHand) {
    // Possible lines at 20, 30, 35, 40 and 50 degrees; three observed lines,
    // lambda 1.5406, Q = (2 sin(2theta / 2) / lambda)^2:
    //   20.01 / 20.00  |dQ| = 5.0313e-5   |d2theta| = 0.01
    //   29.98 / 30.00  |dQ| = 1.47027e-4  |d2theta| = 0.02
    //   40.02 / 40.00  |dQ| = 1.89110e-4  |d2theta| = 0.02
    // The last line reaches 40.02: four possible lines (20, 30, 35, 40).
    // F(3) = 3 / (0.05 / 3 x 4) = 45.0
    // M(3) = Q(40.02) / (2 x mean|dQ| x 4) = 0.197333 / (2 x 1.288168e-4 x 4) = 191.49
    const auto f = figures_merite({{20.01, 20.00}, {29.98, 30.00}, {40.02, 40.00}},
                                  {50, 20, 35, 30, 40}, 1.5406);
    ASSERT_TRUE(f);
    EXPECT_NEAR(f->f, 45.0, 1e-9);
    EXPECT_NEAR(f->m, 191.486, 0.001);
    EXPECT_EQ(texte_fn(*f), "F(3) = 45.0 (0.0167, 4)");
    EXPECT_EQ(texte_m20(*f), "M(3) = 191.5");
    // Molybdenum radiation has figures too; no line or no wavelength, none.
    EXPECT_TRUE(figures_merite({{20.01, 20.00}}, {20}, 0.7093));
    EXPECT_FALSE(figures_merite({}, {20}, 1.5406) || figures_merite({{20.01, 20.00}}, {20}, 0));
}
