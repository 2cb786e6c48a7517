#include "interface/selection.h"

#include "affinement/affinement.h"
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/domaines.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace kovrin {

namespace {

constexpr double ecart_deja_appariee = 0.01; // degrees 2theta

// After a change of the pairs: the grid "Selected reflections" refilled, the
// refinement results emptied, and the table of residuals before refinement
// refilled with the grid.
Rafraichissement selection_remplie(const EspaceTravail& et, EtatPrincipal& ep) {
    efface_panneaux(ep.affinement);
    remplit_tableau_avant(et, ep.affinement);
    return {Change::paires, Change::resultats};
}

bool indices_deja_pris(const EspaceTravail& et, const RaieCalculee& c) {
    return std::any_of(et.selection.begin(), et.selection.end(),
                       [&](const Paire& p) { return p.h == c.h && p.k == c.k && p.l == c.l; });
}

Paire paire_de(const RaieCalculee& c, double deux_theta_obs) {
    return {c.h, c.k, c.l, static_cast<float>(deux_theta_obs), c.deux_theta};
}

// First calculated reflection with exactly these indices, or 0.
int calculee_d_indices(const EspaceTravail& et, const std::array<int, 3>& hkl) {
    for (int j = 1; j <= et.calculees.taille(); ++j) {
        const RaieCalculee& c = et.calculees[j];
        if (c.h == hkl[0] && c.k == hkl[1] && c.l == hkl[2]) return j;
    }
    return 0;
}

std::vector<int> en_ordre(std::vector<int> indices, int n) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    std::erase_if(indices, [n](int i) { return i < 1 || i > n; });
    return indices;
}

// Left click below the axis line: the first hit tick whose nearest measured
// reflection lies within the tolerance and whose indices are not yet paired.
void pointe_calculees(EspaceTravail& et, EtatPrincipal& ep, const std::vector<int>& touchees,
                      Dialogues& d) {
    for (int j : en_ordre(touchees, et.calculees.taille())) {
        const RaieCalculee& c = et.calculees[j];
        Proche m = mesure_la_plus_proche(et, c.deux_theta);
        if (m.indice == 0 || m.distance > et.tolerance || indices_deja_pris(et, c)) continue;
        if (ajoute_paire(et, paire_de(c, et.mesures[m.indice].deux_theta_mes), d)) {
            ep.ligne_calc_courante = j;
            ep.ligne_mes_courante = m.indice;
        }
        return;
    }
}

// Left click above the axis line: the same from the measured bars.
void pointe_mesures(EspaceTravail& et, EtatPrincipal& ep, const std::vector<int>& touchees,
                    Dialogues& d) {
    for (int i : en_ordre(touchees, et.mesures.taille())) {
        double x = et.mesures[i].deux_theta_mes;
        Proche c = calculee_la_plus_proche(et, x);
        if (c.indice == 0 || c.distance > et.tolerance ||
            indices_deja_pris(et, et.calculees[c.indice]))
            continue;
        if (ajoute_paire(et, paire_de(et.calculees[c.indice], x), d)) {
            ep.ligne_mes_courante = i;
            ep.ligne_calc_courante = c.indice;
        }
        return;
    }
}

} // namespace

std::optional<double> lit_tolerance(EspaceTravail& et, const Saisie& tolerance, Dialogues& d) {
    if (!tolerance.nombre()) {
        d.erreur("Error (angular tolerance)");
        return std::nullopt;
    }
    const double valeur = mode_theta(et) ? tolerance.valeur * 2.0 : tolerance.valeur;
    if (const Refus r = refus_tolerance(valeur)) {
        d.erreur(*r);
        return std::nullopt;
    }
    et.tolerance = valeur;
    return et.tolerance;
}

void trie_selection(EspaceTravail& et) {
    auto& s = et.selection;
    for (int i = 1; i < s.taille(); ++i)
        for (int j = i + 1; j <= s.taille(); ++j)
            if (s[j].deux_theta_obs < s[i].deux_theta_obs) std::swap(s[i], s[j]);
}

bool ajoute_paire(EspaceTravail& et, const Paire& paire, Dialogues& d) {
    if (et.selection.pleine()) {
        d.bip();
        d.erreur("Too many selected reflections (>500)");
        return false;
    }
    et.selection.ajoute(paire);
    trie_selection(et);
    return true;
}

Proche calculee_la_plus_proche(const EspaceTravail& et, double angle) {
    Proche p;
    for (int j = 1; j <= et.calculees.taille(); ++j) {
        double ecart = std::fabs(angle - static_cast<double>(et.calculees[j].deux_theta));
        if (ecart < p.distance) p = {j, ecart};
    }
    return p;
}

Proche mesure_la_plus_proche(const EspaceTravail& et, double angle) {
    Proche p;
    for (int i = 1; i <= et.mesures.taille(); ++i) {
        double ecart = std::fabs(angle - et.mesures[i].deux_theta_mes);
        if (ecart < p.distance) p = {i, ecart};
    }
    return p;
}

Rafraichissement selection_automatique(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d,
                                       double decalage) {
    if (et.mesures.vide()) return refus(d, "Error: No measured Bragg angle");
    if (!lit_tolerance(et, ep.tolerance, d)) return echoue();
    et.selection.efface();
    for (int i = 1; i <= et.mesures.taille(); ++i) {
        double x = et.mesures[i].deux_theta_mes;
        if (x < et.angle_min || x > et.angle_max) continue;
        Proche c = calculee_la_plus_proche(et, x - terme_angulaire(et.mode_decalage, decalage, x));
        if (c.indice == 0 || c.distance > et.tolerance) continue;
        et.selection.ajoute(paire_de(et.calculees[c.indice], x)); // at most one per measured
        ep.ligne_mes_courante = i;
    }
    trie_selection(et);
    return selection_remplie(et, ep).marque({Change::vues});
}

Rafraichissement efface_selection(EspaceTravail& et, EtatPrincipal& ep) {
    et.selection.efface();
    return selection_videe(ep);
}

Rafraichissement click_meas_refl(EspaceTravail& et, EtatPrincipal& ep, int ligne, Dialogues& d) {
    ep.mesure_en_attente = false;
    if (ligne < 1 || ligne > et.mesures.taille()) return {};
    double x = et.mesures[ligne].deux_theta_mes;
    bool deja = std::any_of(et.selection.begin(), et.selection.end(), [x](const Paire& p) {
        return std::fabs(x - static_cast<double>(p.deux_theta_obs)) < ecart_deja_appariee;
    });
    if (deja) {
        d.bip();
        return {};
    }
    ep.mesure_en_attente = true;
    ep.ligne_mes_en_attente = ligne;
    ep.ligne_mes_courante = ligne;
    return {Change::vues};
}

Rafraichissement click_calc_refl(EspaceTravail& et, EtatPrincipal& ep, int j, Dialogues& d) {
    if (!ep.mesure_en_attente) return {};
    if (j < 1 || j > et.calculees.taille()) return {};
    int i = ep.ligne_mes_en_attente;
    ep.mesure_en_attente = false;
    if (i < 1 || i > et.mesures.taille()) // the list changed since the first click
        return {};
    ep.ligne_calc_courante = j;
    if (!ajoute_paire(et, paire_de(et.calculees[j], et.mesures[i].deux_theta_mes), d))
        return echoue();
    return selection_remplie(et, ep).marque({Change::vues});
}

std::optional<std::array<int, 3>> lit_indices(std::string_view texte) {
    std::istringstream flux{std::string(texte)};
    std::vector<std::string> mots;
    for (std::string mot; flux >> mot;)
        mots.push_back(mot);
    if (mots.empty()) return std::array<int, 3>{0, 0, 0};
    if (mots.size() != 3) return std::nullopt;
    std::array<int, 3> hkl{};
    for (std::size_t n = 0; n < 3; ++n) {
        auto v = lit_entier(mots[n]);
        if (!v || *v < -32768 || *v > 32767) return std::nullopt;
        hkl[n] = static_cast<int>(*v);
    }
    return hkl;
}

Rafraichissement modifie_indices(EspaceTravail& et, EtatPrincipal& ep, int ligne,
                                 const std::optional<std::array<int, 3>>& hkl, Dialogues& d) {
    bool dans_liste = ligne >= 1 && ligne <= et.selection.taille();
    if (hkl && *hkl == std::array<int, 3>{0, 0, 0} && dans_liste) {
        et.selection.retire(ligne);
        return selection_remplie(et, ep);
    }
    int j = hkl ? calculee_d_indices(et, *hkl) : 0;
    if (j == 0) {
        d.bip();
        return refus(d, "Not possible: The reflection is out of range or is forbiden!");
    }
    if (!dans_liste) return {};
    const RaieCalculee& c = et.calculees[j];
    Paire& p = et.selection[ligne];
    p.h = c.h;
    p.k = c.k;
    p.l = c.l;
    p.deux_theta_cal = c.deux_theta;
    return selection_remplie(et, ep);
}

Rafraichissement pointe_diagramme(EspaceTravail& et, EtatPrincipal& ep, const Pointage& pointage,
                                  Dialogues& d) {
    if (et.mesures.vide() || et.calculees.vide() || ep.onglet != onglet_selection) return {};
    if (pointage.bouton == BoutonSouris::droit) {
        auto paires = en_ordre(pointage.paires_touchees, et.selection.taille());
        if (paires.empty()) return {};
        et.selection.retire(paires.front());
    } else {
        if (!lit_tolerance(et, ep.tolerance, d)) return echoue();
        if (pointage.cote == CoteAxe::dessous)
            pointe_calculees(et, ep, pointage.calculees_touchees, d);
        else if (pointage.cote == CoteAxe::dessus)
            pointe_mesures(et, ep, pointage.mesures_touchees, d);
        trie_selection(et);
    }
    efface_panneaux(ep.affinement);
    return {Change::paires, Change::resultats, Change::vues};
}

} // namespace kovrin
