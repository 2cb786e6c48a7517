#include "interface/ligne_etat.h"

#include "commun/format.h"
#include "interface/affichages.h"
#include "interface/decalage_zero.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kovrin {

namespace {

constexpr std::size_t non_appariees_montrees = 5;

bool change(unsigned changes, Change c) {
    return (changes & static_cast<unsigned>(c)) != 0;
}

std::string angle(const EspaceTravail& et, double deux_theta) {
    return pascal_reel(mode_theta(et) ? deux_theta / 2 : deux_theta, 0, 2);
}

bool appariee(const EspaceTravail& et, double deux_theta) {
    return std::any_of(et.selection.begin(), et.selection.end(), [&](const Paire& p) {
        return std::fabs(p.deux_theta_obs - deux_theta) < 1e-4;
    });
}

std::string ligne_paires(const EspaceTravail& et) {
    const std::vector<double> x = mesures_dans_domaine(et);
    std::vector<double> seules;
    std::copy_if(x.begin(), x.end(), std::back_inserter(seules),
                 [&](double a) { return !appariee(et, a); });
    const int appariees = static_cast<int>(x.size() - seules.size());
    std::string t = texte_compte_paires(appariees, static_cast<int>(x.size()), et.tolerance);
    if (appariees == 0 || seules.empty()) return t;
    t += "; unpaired: ";
    for (std::size_t i = 0; i < std::min(seules.size(), non_appariees_montrees); ++i)
        t += (i ? ", " : "") + angle(et, seules[i]);
    return seules.size() > non_appariees_montrees ? t + ", \u2026" : t;
}

std::string ligne_mesures(const EspaceTravail& et) {
    const int n = et.mesures.taille();
    if (n == 0) return "No measured reflections";
    std::string t = std::to_string(n) + (n == 1 ? " measured reflection" : " measured reflections");
    if (et.angle_max > et.angle_min)
        t += ", range " + angle(et, et.angle_min) + "\u2013" + angle(et, et.angle_max) + "\u00b0";
    return t;
}

} // namespace

std::string ligne_etat(const EspaceTravail& et, const EtatPrincipal& ep, unsigned changes) {
    const OngletAffinement& o = ep.affinement;
    if (change(changes, Change::resultats) && et.affinement_ok && !o.m20.empty())
        return "Refined: " + o.m20 + (o.fn.empty() ? "" : ", " + o.fn);
    const bool calcul = change(changes, Change::calculees);
    if (change(changes, Change::paires) && !calcul && !et.calculees.vide()) return ligne_paires(et);
    if (change(changes, Change::mesures) || change(changes, Change::plage))
        return ligne_mesures(et);
    if (calcul) {
        const int n = et.calculees.taille();
        return std::to_string(n) + (n == 1 ? " calculated reflection" : " calculated reflections");
    }
    return "";
}

std::string ligne_repertoire(const std::filesystem::path& repertoire) {
    return "Results (kovrin.out, Excel.txt, reports) are written to " + repertoire.string();
}

} // namespace kovrin
