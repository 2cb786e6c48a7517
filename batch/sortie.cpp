#include "sortie.h"

#include "affinement/affinement.h"
#include "commun/format.h"
#include "commun/texte.h"
#include "interface/affichages.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace kovrin::batch {

namespace {

using json = nlohmann::ordered_json;
using Lignes = std::vector<std::vector<std::string>>;

// A single-precision result as its shortest decimal text says it (5.43123,
// not 5.431230068206787).
double nombre(float x) {
    char texte[32];
    const auto fin = std::to_chars(texte, texte + sizeof texte, x).ptr;
    double d = 0;
    std::from_chars(texte, fin, d);
    return d;
}

bool reussi(const Session& s) {
    return s.statut && *s.statut == statut_succes && s.espace.affinement_ok;
}

json par_nom(const std::array<float, nb_parametres>& valeurs) {
    json objet = json::object();
    for (std::size_t i = 0; i < nb_parametres; ++i)
        objet[noms_parametres[i]] = nombre(valeurs[i]);
    return objet;
}

// The starting values when no refinement came back.
std::array<float, nb_parametres> valeurs_initiales(const EspaceTravail& et) {
    std::array<float, nb_parametres> v{static_cast<float>(et.decalage),
                                       static_cast<float>(et.lambda)};
    for (std::size_t i = 0; i < 6; ++i)
        v[rang_a + i] = static_cast<float>(et.maille[i]);
    return v;
}

json mesurees(const EspaceTravail& et) {
    json liste = json::array();
    for (const Mesure& m : et.mesures)
        liste.push_back({{"two_theta", m.deux_theta_mes}, {"intensity", m.intensite_mes}});
    return liste;
}

json calculees(const EspaceTravail& et) {
    json liste = json::array();
    for (const RaieCalculee& r : et.calculees)
        liste.push_back({{"h", r.h},
                         {"k", r.k},
                         {"l", r.l},
                         {"d", nombre(r.dhkl)},
                         {"two_theta", nombre(r.deux_theta)}});
    return liste;
}

// Each pair with its observed and calculated angle; after a refinement also
// the observed angle less the angular term and the angle of the refined cell.
json paires(const Session& s) {
    const EspaceTravail& et = s.espace;
    json liste = json::array();
    for (int i = 1; i <= et.selection.taille(); ++i) {
        const Paire& p = et.selection[i];
        json paire = {{"h", p.h},
                      {"k", p.k},
                      {"l", p.l},
                      {"obs", nombre(p.deux_theta_obs)},
                      {"calc", nombre(p.deux_theta_cal)}};
        if (reussi(s)) {
            paire["obs_corrected"] = nombre(et.deux_theta_corrige[static_cast<std::size_t>(i)]);
            paire["calc_refined"] = nombre(2 * et.moteur.angles[static_cast<std::size_t>(i - 1)]);
        }
        liste.push_back(paire);
    }
    return liste;
}

json affines(const Session& s) {
    json liste = json::array();
    for (std::size_t i = 0; i < nb_parametres; ++i)
        if (s.a_affiner[i]) liste.push_back(noms_parametres[i]);
    return liste;
}

// The grid's texts as they are (fixed widths), right-aligned in columns one
// blank apart.
void imprime_colonnes(const Lignes& lignes, std::ostream& sortie) {
    std::vector<std::size_t> largeurs;
    for (const auto& ligne : lignes)
        for (std::size_t j = 0; j < ligne.size(); ++j) {
            if (largeurs.size() <= j) largeurs.push_back(0);
            largeurs[j] = std::max(largeurs[j], ligne[j].size());
        }
    for (const auto& ligne : lignes) {
        std::string texte;
        for (std::size_t j = 0; j < ligne.size(); ++j) {
            const std::string& cellule = ligne[j];
            texte += (j ? " " : "") + std::string(largeurs[j] - cellule.size(), ' ') + cellule;
        }
        sortie << sans_blancs_droite(texte) << '\n';
    }
}

void imprime_reflexions(const Session& s, std::ostream& sortie) {
    const EspaceTravail& et = s.espace;
    const auto table = affiche_raies_calculees(et);
    Lignes lignes;
    for (int i = 0; i <= et.calculees.taille(); ++i) {
        const auto& ligne = table[static_cast<std::size_t>(i)];
        lignes.push_back({ligne.begin(), ligne.end()});
    }
    sortie << "Calculated reflections: " << et.calculees.taille() << " (system " << et.systeme
           << ", space group " << et.groupe << ", lambda "
           << sans_blancs(pascal_reel(et.lambda, 8, 5)) << ")\n";
    imprime_colonnes(lignes, sortie);
    const Grille grille = grille_selection(et);
    sortie << "\nSelected reflections: " << et.selection.taille() << '\n';
    if (!et.selection.vide())
        imprime_colonnes(
            Lignes(grille.lignes.begin(), grille.lignes.begin() + 1 + et.selection.taille()),
            sortie);
}

void imprime_parametres(const Session& s, std::ostream& sortie) {
    const EspaceTravail& et = s.espace;
    const OngletAffinement& onglet = s.principal.affinement;
    sortie << "Status: " << s.statut.value_or("") << '\n'
           << "System " << et.systeme << ", space group " << et.groupe << ", lambda "
           << sans_blancs(pascal_reel(et.lambda, 8, 5)) << '\n';
    if (et.mode_decalage == 2) sortie << "Angular term refined as sample eccentricity (e/R)\n";
    Lignes lignes{{"", "Initial", "Refined", "Sigmas", "Refined?"}};
    for (std::size_t i = 0; i < nb_parametres; ++i)
        lignes.push_back({noms_parametres[i], onglet.initial[i], onglet.affine[i], onglet.sigmas[i],
                          s.a_affiner[i] ? "yes" : ""});
    sortie << '\n';
    imprime_colonnes(lignes, sortie);
    sortie << "\nMean square deviation: before " << sans_blancs(onglet.ecart_avant) << ", after "
           << sans_blancs(onglet.ecart_apres) << '\n'
           << "Agreement Sqrt(Sum(2Th O-C)**2)/(Nref-Npar)): "
           << sans_blancs(pascal_reel(et.moteur.accord, 10, 6)) << '\n'
           << "Pairs: " << et.selection.taille() << '\n'
           << "Listing: " << (et.repertoire / "kovrin.out").string() << '\n'
           << "Export: " << (et.repertoire / "Excel.txt").string() << '\n';
}

} // namespace

json resume_json(const OptionsBatch& options, const Session& s) {
    const EspaceTravail& et = s.espace;
    json j;
    j["status"] = s.statut ? json(*s.statut) : json(nullptr);
    j["system"] = et.systeme;
    j["group"] = et.groupe;
    j["lambda"] = et.lambda;
    j["parameters"] = par_nom(reussi(s) ? et.moteur.parametres : valeurs_initiales(et));
    j["sigmas"] = reussi(s) ? par_nom(et.moteur.erreurs) : json(nullptr);
    j["refined"] = options.sans_affinement ? json::array() : affines(s);
    j["agreement_2theta"] = reussi(s) ? json(nombre(et.moteur.accord)) : json(nullptr);
    j["measured"] = mesurees(et);
    j["calculated"] = calculees(et);
    j["pairs"] = paires(s);
    j["messages"] = s.dialogues.textes();
    j["listing"] = s.moteur_appele ? json((et.repertoire / "kovrin.out").string()) : json(nullptr);
    j["exit_status"] = s.code;
    return j;
}

void imprime_table(const OptionsBatch& options, const Session& s, std::ostream& sortie) {
    if (options.sans_affinement)
        imprime_reflexions(s, sortie);
    else
        imprime_parametres(s, sortie);
}

} // namespace kovrin::batch
