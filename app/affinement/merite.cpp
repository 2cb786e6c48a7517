#include "affinement/merite.h"

#include "affinement/affinement.h"
#include "affinement/diagnostic.h"
#include "commun/angles.h"
#include "commun/format.h"
#include "cristallo/geometrie.h"
#include "cristallo/raies.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace kovrin {

namespace {

double q_de_deux_theta(double deux_theta, double lambda) {
    const double s = 2 * std::sin(deux_theta * radians_theta_par_degre_2theta) / lambda;
    return s * s;
}

double limite(const RaieIndexee& r) {
    return std::max(r.deux_theta_obs, r.deux_theta_calc);
}

int nb_possibles(const std::vector<double>& possibles, double deux_theta_max) {
    return static_cast<int>(std::count_if(possibles.begin(), possibles.end(),
                                          [&](double x) { return x <= deux_theta_max + 1e-9; }));
}

double quotient(double numerateur, double denominateur) {
    return denominateur > 0 ? numerateur / denominateur : std::numeric_limits<double>::infinity();
}

void calcule_m(const std::vector<RaieIndexee>& raies, const std::vector<double>& possibles,
               double lambda, FiguresMerite& f) {
    f.n_m = std::min<int>(nb_raies_m20, static_cast<int>(raies.size()));
    double ecart = 0;
    for (int i = 0; i < f.n_m; ++i) {
        const RaieIndexee& r = raies[static_cast<std::size_t>(i)];
        ecart += std::fabs(q_de_deux_theta(r.deux_theta_obs, lambda) -
                           q_de_deux_theta(r.deux_theta_calc, lambda));
    }
    const double borne = limite(raies[static_cast<std::size_t>(f.n_m - 1)]);
    f.n_possibles_m = nb_possibles(possibles, borne);
    f.m = quotient(q_de_deux_theta(borne, lambda), 2 * ecart / f.n_m * f.n_possibles_m);
}

void calcule_f(const std::vector<RaieIndexee>& raies, const std::vector<double>& possibles,
               FiguresMerite& f) {
    f.n_f = static_cast<int>(raies.size());
    double ecart = 0;
    for (const RaieIndexee& r : raies)
        ecart += std::fabs(r.deux_theta_obs - r.deux_theta_calc);
    f.ecart_moyen = ecart / f.n_f;
    f.n_possibles = nb_possibles(possibles, limite(raies.back()));
    f.f = quotient(f.n_f, f.ecart_moyen * f.n_possibles);
}

// The distinct angles the refined cell allows up to `deux_theta_max`, from a
// workspace of its own so that the user's calculated reflections stay.
std::optional<std::vector<double>> angles_possibles(const EspaceTravail& et, const Maille& maille,
                                                    double lambda, double deux_theta_max) {
    EspaceTravail raies;
    raies.systeme = et.systeme;
    raies.groupe = et.groupe;
    raies.operateurs = et.operateurs;
    raies.maille = maille;
    raies.lambda = lambda;
    raies.angle_min_initial = 0;
    raies.angle_max_initial = std::min(deux_theta_max + 0.5, 179.9);
    DialoguesEnregistres silence;
    // No reflection at all: no space group to test them with.
    if (!genere_raies(raies, silence) || raies.calculees.pleine() || raies.calculees.vide())
        return std::nullopt;
    std::vector<double> angles;
    for (const RaieCalculee& r : raies.calculees)
        angles.push_back(r.deux_theta);
    return angles;
}

} // namespace

std::optional<FiguresMerite> figures_merite(const std::vector<RaieIndexee>& raies,
                                            const std::vector<double>& possibles, double lambda) {
    if (raies.empty() || !(lambda > 0)) return std::nullopt;
    FiguresMerite f;
    calcule_m(raies, possibles, lambda, f);
    calcule_f(raies, possibles, f);
    return f;
}

std::optional<FiguresMerite> figures_merite(const EspaceTravail& et) {
    if (!et.affinement_ok || et.selection.vide()) return std::nullopt;
    std::array<double, nb_parametres> p{};
    std::copy(et.moteur.parametres.begin(), et.moteur.parametres.end(), p.begin());
    const std::vector<double> calcules = deux_theta_modele(p, et.mode_decalage, et.selection);
    std::vector<RaieIndexee> raies;
    for (const Paire& paire : et.selection) {
        const double terme =
            terme_angulaire(et.mode_decalage, p[rang_decalage], paire.deux_theta_obs);
        raies.push_back({paire.deux_theta_obs - terme, calcules[raies.size()] - terme});
    }
    Maille maille{};
    std::copy(p.begin() + rang_a, p.end(), maille.begin());
    const auto possibles = angles_possibles(et, maille, p[rang_lambda], limite(raies.back()));
    if (!possibles) return std::nullopt;
    return figures_merite(raies, *possibles, p[rang_lambda]);
}

std::string texte_m20(const FiguresMerite& f) {
    return "M(" + std::to_string(f.n_m) + ") = " + pascal_reel(f.m, 0, 1);
}

std::string texte_fn(const FiguresMerite& f) {
    return "F(" + std::to_string(f.n_f) + ") = " + pascal_reel(f.f, 0, 1) + " (" +
           pascal_reel(f.ecart_moyen, 0, 4) + ", " + std::to_string(f.n_possibles) + ")";
}

} // namespace kovrin
