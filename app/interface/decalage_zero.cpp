#include "interface/decalage_zero.h"

#include "affinement/affinement.h"
#include "commun/format.h"
#include "cristallo/anodes.h"
#include "cristallo/geometrie.h"
#include "interface/selection.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kovrin {

namespace {

// How much the shift term moves the measured angle `x` per unit of shift.
double facteur(int mode_decalage, double x) {
    return terme_angulaire(mode_decalage, 1.0, x);
}

// Nearest calculated angle to `x` (the lower of two equally near), or nothing.
std::optional<double> plus_proche(const std::vector<double>& calculees, double x) {
    if (calculees.empty()) return std::nullopt;
    const auto apres = std::lower_bound(calculees.begin(), calculees.end(), x);
    if (apres == calculees.begin()) return *apres;
    if (apres == calculees.end()) return calculees.back();
    return x - *(apres - 1) <= *apres - x ? *(apres - 1) : *apres;
}

// Sums of the pairs at one shift, with what the residual-free shift needs.
struct Sommes {
    Appariement a;
    double ecarts = 0, facteurs = 0; // sum of (measured - calculated), of the factors
};

Sommes sommes_a(const std::vector<double>& mesures, const std::vector<double>& calculees,
                double tolerance, int mode, double decalage) {
    Sommes s;
    s.a.decalage = decalage;
    for (double x : mesures) {
        const double g = facteur(mode, x);
        const auto c = plus_proche(calculees, x - decalage * g);
        if (!c || std::fabs(x - decalage * g - *c) > tolerance) continue;
        ++s.a.appariees;
        s.a.somme_residus += x - decalage * g - *c;
        s.ecarts += x - *c;
        s.facteurs += g;
    }
    return s;
}

bool meilleur(const Appariement& a, const Appariement& b) {
    if (a.appariees != b.appariees) return a.appariees > b.appariees;
    const double ra = std::fabs(a.somme_residus), rb = std::fabs(b.somme_residus);
    if (std::fabs(ra - rb) > 1e-12) return ra < rb;
    return std::fabs(a.decalage) < std::fabs(b.decalage);
}

// A shift where the pairing may change: a measured angle reaching the edge of
// a calculated reflection's tolerance (entree: +1 entering, -1 leaving), or a
// midpoint between two calculated reflections (0).
struct Evenement {
    double decalage;
    int entree;
    std::size_t mesure;
};

void ajoute_evenement(std::vector<Evenement>& e, double decalage, int entree, std::size_t i) {
    if (std::fabs(decalage) <= decalage_estime_max)
        e.push_back({decalage, entree, i});
    else if (entree != 0) // an edge beyond the range still counts from the range's end
        e.push_back({std::clamp(decalage, -decalage_estime_max, decalage_estime_max), entree, i});
}

std::vector<Evenement> evenements(const std::vector<double>& mesures,
                                  const std::vector<double>& calculees, double tolerance,
                                  int mode) {
    std::vector<Evenement> e;
    for (std::size_t i = 0; i < mesures.size(); ++i) {
        const double x = mesures[i], g = facteur(mode, x);
        const double portee = (decalage_estime_max * g + tolerance) * 1.000001;
        for (std::size_t j = 0; j < calculees.size(); ++j) {
            const double ecart = x - calculees[j];
            if (std::fabs(ecart) > portee) continue;
            ajoute_evenement(e, (ecart - tolerance) / g, +1, i);
            ajoute_evenement(e, (ecart + tolerance) / g, -1, i);
            if (j + 1 < calculees.size())
                ajoute_evenement(e, (x - (calculees[j] + calculees[j + 1]) / 2) / g, 0, i);
        }
    }
    // At one shift, reflections entering come before those leaving: the
    // tolerance is inclusive.
    std::sort(e.begin(), e.end(), [](const Evenement& a, const Evenement& b) {
        return a.decalage != b.decalage ? a.decalage < b.decalage : a.entree > b.entree;
    });
    return e;
}

// The candidate shifts: every event and the middle of every stretch between
// two, with the count at each (a measured angle counts while inside at least
// one tolerance).
struct Candidat {
    double decalage;
    int compte;
    bool troncon; // the stretch that starts at `decalage`
};

std::vector<Candidat> candidats(const std::vector<Evenement>& e, std::size_t nb_mesures) {
    std::vector<int> dedans(nb_mesures, 0);
    std::vector<Candidat> c;
    int compte = 0;
    double avant = -decalage_estime_max;
    c.push_back({avant, 0, true});
    for (std::size_t k = 0; k < e.size();) {
        const double position = e[k].decalage;
        for (; k < e.size() && e[k].decalage == position && e[k].entree >= 0; ++k)
            if (e[k].entree > 0 && dedans[e[k].mesure]++ == 0) ++compte;
        c.push_back({position, compte, false});
        for (; k < e.size() && e[k].decalage == position; ++k)
            if (e[k].entree < 0 && --dedans[e[k].mesure] == 0) --compte;
        c.push_back({position, compte, true});
        avant = position;
    }
    c.push_back({decalage_estime_max, compte, false});
    return c;
}

// The best shift of the stretch (debut, fin): the one whose residuals sum to
// zero, clamped into it a hair inside its ends (at an end itself the rounding
// of a residual may leave the tolerance).
Appariement dans_troncon(const std::vector<double>& mesures, const std::vector<double>& calculees,
                         double tolerance, int mode, double debut, double fin) {
    const Sommes milieu = sommes_a(mesures, calculees, tolerance, mode, (debut + fin) / 2);
    if (milieu.facteurs <= 0) return milieu.a;
    const double marge = std::min(1e-9, (fin - debut) / 4);
    const double zero = std::clamp(milieu.ecarts / milieu.facteurs, debut + marge,
                                   std::max(debut + marge, fin - marge));
    return sommes_a(mesures, calculees, tolerance, mode, zero).a;
}

std::string nombre(double valeur) {
    std::string texte = pascal_reel(std::fabs(valeur), 1, 3);
    const bool negatif = valeur < 0 && texte.find_first_not_of("0.") != std::string::npos;
    return negatif ? "\u2212" + texte : texte;
}

} // namespace

Appariement apparie_a(const std::vector<double>& mesures, const std::vector<double>& calculees,
                      double tolerance, int mode_decalage, double decalage) {
    return sommes_a(mesures, calculees, tolerance, mode_decalage, decalage).a;
}

Appariement estime_decalage(const std::vector<double>& mesures,
                            const std::vector<double>& calculees, double tolerance,
                            int mode_decalage) {
    const std::vector<Candidat> c =
        candidats(evenements(mesures, calculees, tolerance, mode_decalage), mesures.size());
    int plus_grand = 0;
    for (const Candidat& k : c)
        plus_grand = std::max(plus_grand, k.compte);
    Appariement meilleure = apparie_a(mesures, calculees, tolerance, mode_decalage, 0.0);
    for (std::size_t k = 0; k < c.size(); ++k) {
        if (c[k].compte < plus_grand || plus_grand == 0) continue;
        const Appariement a =
            c[k].troncon && k + 1 < c.size()
                ? dans_troncon(mesures, calculees, tolerance, mode_decalage, c[k].decalage,
                               c[k + 1].decalage)
                : apparie_a(mesures, calculees, tolerance, mode_decalage, c[k].decalage);
        if (meilleur(a, meilleure)) meilleure = a;
    }
    return meilleure;
}

std::string texte_degres(double valeur) {
    return nombre(valeur) + "\u00b0";
}

std::string texte_decalage_estime(const Appariement& a, int nb_mesures, double tolerance,
                                  int mode_decalage) {
    return std::string(mode_decalage == 2 ? "Eccentricity" : "Zero shift") + " estimated at " +
           texte_degres(a.decalage) + " (" + std::to_string(a.appariees) + " of " +
           std::to_string(nb_mesures) + " measured reflections within " + texte_degres(tolerance) +
           ")";
}

std::string texte_compte_paires(int appariees, int nb_mesures, double tolerance) {
    return std::to_string(appariees) + " of " + std::to_string(nb_mesures) +
           " measured reflections paired within " + texte_degres(tolerance);
}

std::string texte_appariement(int appariees, int nb_mesures, double tolerance, bool estime) {
    std::string texte = texte_compte_paires(appariees, nb_mesures, tolerance);
    if (appariees > 0) return texte;
    texte += ": no calculated reflection lies within the tolerance of any measured one";
    return texte + (estime ? ", even after a zero shift of up to \u00b11\u00b0" : "");
}

std::vector<double> mesures_dans_domaine(const EspaceTravail& et) {
    std::vector<double> x;
    for (const Mesure& m : et.mesures)
        if (m.deux_theta_mes >= et.angle_min && m.deux_theta_mes <= et.angle_max)
            x.push_back(m.deux_theta_mes);
    return x;
}

std::vector<double> angles_calcules(const EspaceTravail& et) {
    std::vector<double> c;
    for (const RaieCalculee& r : et.calculees)
        c.push_back(r.deux_theta);
    std::sort(c.begin(), c.end());
    return c;
}

std::optional<OffreDecalage> offre_decalage(const EspaceTravail& et) {
    const std::vector<double> x = mesures_dans_domaine(et), c = angles_calcules(et);
    const int n = static_cast<int>(x.size());
    const int simple = apparie_a(x, c, et.tolerance, et.mode_decalage, 0.0).appariees;
    const Appariement e = estime_decalage(x, c, et.tolerance, et.mode_decalage);
    if (2 * simple >= n || 2 * e.appariees <= n || e.appariees < simple + 2) return std::nullopt;
    return OffreDecalage{"Only " + texte_compte_paires(simple, n, et.tolerance) +
                             "; with a zero shift of " + texte_degres(e.decalage) + ", " +
                             std::to_string(e.appariees) + " would. Pair with this shift?",
                         e.decalage};
}

namespace {

// The calculated angles at wavelength `lambda`, in increasing order.
std::vector<double> angles_a_lambda(const EspaceTravail& et, double lambda) {
    std::vector<double> c;
    for (const RaieCalculee& r : et.calculees)
        if (r.dhkl > 0 && lambda < 2 * r.dhkl) c.push_back(deux_theta_de_d(r.dhkl, lambda));
    std::sort(c.begin(), c.end());
    return c;
}

} // namespace

std::optional<std::string> remarque_autre_lambda(const EspaceTravail& et) {
    const Anode* a = anode_de_lambda(et.lambda, tolerance_anode_pics);
    if (!a) return std::nullopt;
    const bool moyenne = std::fabs(et.lambda - a->moyenne) < 1e-6;
    if (!moyenne && std::fabs(et.lambda - a->k_alpha1) >= 1e-6) return std::nullopt;
    const double autre = moyenne ? a->k_alpha1 : a->moyenne;
    const std::vector<double> x = mesures_dans_domaine(et);
    const int n = static_cast<int>(x.size());
    const int maintenant =
        apparie_a(x, angles_a_lambda(et, et.lambda), et.tolerance, et.mode_decalage, 0).appariees;
    const int ailleurs =
        apparie_a(x, angles_a_lambda(et, autre), et.tolerance, et.mode_decalage, 0).appariees;
    if (2 * ailleurs <= n || ailleurs < maintenant + 2) return std::nullopt;
    const std::string nom = moyenne ? "Kα1" : "the weighted mean Kα";
    return "With " + nom + " (" + texte_court(autre) + " Å) as the working wavelength, " +
           std::to_string(ailleurs) + " of " + std::to_string(n) +
           " measured reflections would pair (" + std::to_string(maintenant) +
           " now): the peaks look like " + (moyenne ? "Kα1" : "Kα") + " positions.";
}

Rafraichissement selection_avec_decalage(EspaceTravail& et, EtatPrincipal& ep, bool estime,
                                         Dialogues& d) {
    if (et.mesures.vide()) return refus(d, "Error: No measured Bragg angle");
    if (!lit_tolerance(et, ep.tolerance, d)) return echoue();
    const std::vector<double> x = mesures_dans_domaine(et), c = angles_calcules(et);
    const int n = static_cast<int>(x.size());
    const Appariement a = estime ? estime_decalage(x, c, et.tolerance, et.mode_decalage)
                                 : apparie_a(x, c, et.tolerance, et.mode_decalage, 0.0);
    const bool decale = estime && a.appariees > 0;
    if (decale) et.decalage = a.decalage; // the refinement starts where the pairing did
    const Rafraichissement r = selection_automatique(et, ep, d, decale ? a.decalage : 0.0);
    if (decale)
        d.information(texte_decalage_estime(a, n, et.tolerance, et.mode_decalage));
    else {
        const auto remarque = remarque_autre_lambda(et);
        d.information(texte_appariement(a.appariees, n, et.tolerance, estime) +
                      (remarque ? "\n" + *remarque : ""));
    }
    return r;
}

Rafraichissement selection_du_bouton(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d) {
    Rafraichissement r = selection_avec_decalage(et, ep, ep.estime_decalage, d);
    if (r.echec || ep.estime_decalage) return r;
    const auto offre = offre_decalage(et);
    if (!offre || d.confirmation(offre->question) != Reponse::oui) return r;
    r.ajoute(selection_avec_decalage(et, ep, true, d));
    return r;
}

} // namespace kovrin
