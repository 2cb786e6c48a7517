#include "interface/commandes_indexation.h"

#include "affinement/merite.h"
#include "commun/format.h"
#include "cristallo/onglet_maille.h"
#include "interface/commandes.h"
#include "interface/commandes_maille.h"
#include "interface/session_batch.h"

#include <cstdio>

namespace kovrin {

namespace {

// The search needs three lines at least; below ten, a cell is a guess.
inline constexpr int raies_min = 3;

std::vector<std::string> ligne_solution(const SolutionIndexation& s) {
    std::vector<std::string> l{std::string(fiche(s.reseau).symbole),
                               std::string(fiche(s.systeme()).legende)};
    for (std::size_t i = 0; i < 6; ++i)
        l.push_back(pascal_reel(s.maille[i], 0, i < 3 ? 5 : 3));
    l.push_back(pascal_reel(s.volume, 0, 2));
    l.push_back(pascal_reel(s.zero, 0, 4));
    l.push_back(pascal_reel(s.figures.m, 0, 1));
    l.push_back(std::to_string(s.non_indexees));
    l.push_back(texte_fn(s.figures));
    return l;
}

} // namespace

std::vector<double> angles_a_indexer(const EspaceTravail& et) {
    std::vector<double> angles;
    for (const Mesure& m : et.mesures)
        angles.push_back(m.deux_theta_mes);
    return angles;
}

std::optional<std::string> refus_indexation(const EspaceTravail& et) {
    if (et.mesures.vide())
        return "No measured reflections to index: read or type the peaks first (first tab)";
    if (et.mesures.taille() < raies_min)
        return "At least 3 measured reflections are needed to index";
    if (!(et.lambda > 0)) return "No wavelength: set \u03bb in \"Current values\" first";
    return std::nullopt;
}

std::vector<std::vector<std::string>> lignes_solutions(const std::vector<SolutionIndexation>& s) {
    std::vector<std::vector<std::string>> lignes;
    for (const SolutionIndexation& x : s)
        lignes.push_back(ligne_solution(x));
    return lignes;
}

std::string message_aucune_maille(const OptionsIndexation& o) {
    char texte[120];
    std::snprintf(texte, sizeof texte,
                  "No cell found: no lattice searched indexes the lines below %.0f A^3",
                  o.volume_max);
    return texte;
}

std::string texte_progres(const ProgresIndexation& p) {
    char texte[96];
    std::snprintf(texte, sizeof texte, "%lld trials, best M(20) so far: %.1f", p.essais,
                  p.meilleur_m20);
    return texte;
}

std::string bilan_indexation(const ResultatIndexation& r, const OptionsIndexation& o) {
    char texte[96];
    if (!r.solutions.empty())
        std::snprintf(texte, sizeof texte, "%zu solution(s), best M(20) = %.1f", r.solutions.size(),
                      r.solutions.front().figures.m);
    std::string bilan = r.solutions.empty() ? message_aucune_maille(o) : texte;
    if (r.annulee)
        bilan += " (cancelled: the search is incomplete)";
    else if (r.temps_ecoule)
        bilan += " (time limit reached: the search is incomplete)";
    if (const std::string omis = phrase_systemes_omis(r); !omis.empty()) bilan += ". " + omis;
    return bilan;
}

std::vector<std::string> systemes_omis(const ResultatIndexation& r) {
    std::vector<std::string> codes;
    for (std::size_t i = 0; i < r.systemes_omis.size(); ++i)
        if (r.systemes_omis[i]) codes.push_back(code_de(static_cast<Systeme>(i)));
    return codes;
}

std::string phrase_systemes_omis(const ResultatIndexation& r, const std::string& precision) {
    const auto codes = systemes_omis(r);
    if (codes.empty()) return {};
    std::string phrase =
        "Not searched in full, below a convincing solution of higher symmetry" + precision + ':';
    for (const std::string& code : codes)
        phrase += ' ' + code;
    return phrase;
}

Rafraichissement prend_solution_indexation(EspaceTravail& et, EtatPrincipal& ep,
                                           const SolutionIndexation& s, Dialogues& d) {
    const FicheReseau& reseau = fiche(s.reseau);
    Rafraichissement r = enter_keyb_param(ep);
    for (std::size_t i = 0; i < 6; ++i)
        ep.maille.cellule[i] = Saisie::de_valeur(s.maille[i]);
    r.ajoute(set_systeme(et, ep, ligne_du_systeme(code_de(reseau.systeme))));
    if (!choisit_groupe(et, reseau.groupe, false))
        return refus(d, message_groupe_absent(et, reseau.groupe, false));
    r.ajoute(calcul_diagramme(et, ep, d));
    if (r.echec) return r;
    configure_champs(et, ep.maille);
    r.active_onglet = onglet_selection;
    return r;
}

} // namespace kovrin
