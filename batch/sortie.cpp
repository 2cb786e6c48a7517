#include "sortie.h"

#include "affinement/affinement.h"
#include "affinement/diagnostic.h"
#include "affinement/merite.h"
#include "commun/format.h"
#include "commun/incertitude.h"
#include "commun/texte.h"
#include "interface/affichages.h"
#include "interface/commandes_indexation.h"
#include "profil/ajustement_pics.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
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

json par_nom_double(const std::array<double, nb_parametres>& valeurs) {
    json objet = json::object();
    for (std::size_t i = 0; i < nb_parametres; ++i)
        objet[noms_parametres[i]] = valeurs[i];
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

// A measured reflection; after --fit-peaks also what its fit gave.
json mesuree(const Mesure& m) {
    json objet = {{"two_theta", m.deux_theta_mes}, {"intensity", m.intensite_mes}};
    if (m.significativite > 0) {
        objet["significance"] = m.significativite;
        objet["net_intensity"] = m.intensite_nette;
    }
    const AjustementPic& a = m.ajustement;
    if (a.etat == EtatAjustement::aucun) return objet;
    objet["fit"] = nom_etat_ajustement(a.etat);
    if (a.etat != EtatAjustement::ajuste) return objet;
    objet["fwhm"] = a.largeur;
    objet["area"] = a.aire;
    objet["sigma_two_theta"] = a.sigma_deux_theta;
    return objet;
}

json mesurees(const EspaceTravail& et) {
    json liste = json::array();
    for (const Mesure& m : et.mesures)
        liste.push_back(mesuree(m));
    return liste;
}

json nombre_ou_nul(double x) {
    return std::isfinite(x) ? json(x) : json(nullptr);
}

// The diagnostics of one pair after a refinement.
void ajoute_diagnostic(json& paire, const DiagnosticPaire& d) {
    paire["residual"] = d.residu;
    paire["leverage"] = d.levier;
    paire["studentized"] = d.studentise ? json(*d.studentise) : json(nullptr);
    paire["suspect"] = d.suspecte;
}

void ajoute_merite(json& j, const std::optional<FiguresMerite>& f) {
    j["m20"] = f ? nombre_ou_nul(f->m) : json(nullptr);
    j["m20_lines"] = f ? json(f->n_m) : json(nullptr);
    j["fn"] = f ? nombre_ou_nul(f->f) : json(nullptr);
    j["fn_lines"] = f ? json(f->n_f) : json(nullptr);
    j["fn_mean_delta"] = f ? json(f->ecart_moyen) : json(nullptr);
    j["fn_n_possible"] = f ? json(f->n_possibles) : json(nullptr);
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
json paires(const Session& s, const std::optional<Diagnostic>& diagnostic) {
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
        if (reussi(s) && diagnostic)
            ajoute_diagnostic(paire, diagnostic->paires[static_cast<std::size_t>(i - 1)]);
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

// Each refined value with its usual standard error, 4.91340(2); fixed ones alone.
std::string valeur_esd(const Session& s, const std::optional<Diagnostic>& d, std::size_t i) {
    const double valeur = s.espace.moteur.parametres[i];
    return texte_avec_incertitude(valeur, d && s.a_affiner[i] ? d->sigmas_usuels[i] : 0.0);
}

void imprime_table_parametres(const Session& s, const std::optional<Diagnostic>& d,
                              std::ostream& sortie) {
    const OngletAffinement& onglet = s.principal.affinement;
    Lignes lignes{{"", "Initial", "Refined", "Sigmas", "Refined?", "Value(esd)"}};
    for (std::size_t i = 0; i < nb_parametres; ++i)
        lignes.push_back({noms_parametres[i], onglet.initial[i], onglet.affine[i], onglet.sigmas[i],
                          s.a_affiner[i] ? "yes" : "", valeur_esd(s, d, i)});
    sortie << '\n';
    imprime_colonnes(lignes, sortie);
}

// The "After refinement" grid with each pair's leverage, studentised residual
// and suspect mark.
void imprime_paires_apres(const Session& s, const Diagnostic& d, std::ostream& sortie) {
    const Grille& apres = s.principal.affinement.apres;
    Lignes lignes{apres.lignes.front()};
    lignes.front().insert(lignes.front().end(), {"Leverage", "Student.", ""});
    for (std::size_t i = 0; i < d.paires.size() && i + 1 < apres.lignes.size(); ++i) {
        const DiagnosticPaire& p = d.paires[i];
        lignes.push_back(apres.lignes[i + 1]);
        lignes.back().insert(lignes.back().end(),
                             {pascal_reel(p.levier, 6, 3),
                              p.studentise ? pascal_reel(*p.studentise, 7, 2) : "",
                              p.suspecte ? "suspect" : ""});
    }
    sortie << "\nPairs after refinement (suspect: |studentized residual| > "
           << pascal_reel(seuil_suspect, 0, 0) << "):\n";
    imprime_colonnes(lignes, sortie);
}

void imprime_merite(const EspaceTravail& et, std::ostream& sortie) {
    if (const auto f = figures_merite(et))
        sortie << "Figures of merit: " << texte_m20(*f) << ", " << texte_fn(*f) << '\n';
}

void imprime_parametres(const Session& s, std::ostream& sortie) {
    const EspaceTravail& et = s.espace;
    const OngletAffinement& onglet = s.principal.affinement;
    const auto diagnostic = diagnostique(et);
    sortie << "Status: " << s.statut.value_or("") << '\n'
           << "System " << et.systeme << ", space group " << et.groupe << ", lambda "
           << sans_blancs(pascal_reel(et.lambda, 8, 5)) << '\n';
    if (et.mode_decalage == 2) sortie << "Angular term refined as sample eccentricity (e/R)\n";
    imprime_table_parametres(s, diagnostic, sortie);
    sortie << "Sigmas: the engine's, sqrt(S)/(Nref-Npar); Value(esd): the usual "
              "sqrt(S/(Nref-Npar))\n"
           << "\nMean square deviation: before " << sans_blancs(onglet.ecart_avant) << ", after "
           << sans_blancs(onglet.ecart_apres) << '\n'
           << "Agreement Sqrt(Sum(2Th O-C)**2)/(Nref-Npar)): "
           << sans_blancs(pascal_reel(et.moteur.accord, 10, 6)) << '\n';
    imprime_merite(et, sortie);
    if (diagnostic) imprime_paires_apres(s, *diagnostic, sortie);
    sortie << "\nPairs: " << et.selection.taille() << '\n'
           << "Listing: " << (et.repertoire / "kovrin.out").string() << '\n'
           << "Export: " << (et.repertoire / "Excel.txt").string() << '\n';
}

} // namespace

json resume_json(const OptionsBatch& options, const Session& s) {
    const EspaceTravail& et = s.espace;
    const auto diagnostic = reussi(s) ? diagnostique(et) : std::nullopt;
    json j;
    j["status"] = s.statut ? json(*s.statut) : json(nullptr);
    j["system"] = et.systeme;
    j["group"] = et.groupe;
    j["lambda"] = et.lambda;
    j["parameters"] = par_nom(reussi(s) ? et.moteur.parametres : valeurs_initiales(et));
    j["sigmas"] = reussi(s) ? par_nom(et.moteur.erreurs) : json(nullptr);
    j["sigmas_standard"] = diagnostic ? par_nom_double(diagnostic->sigmas_usuels) : json(nullptr);
    j["refined"] = options.sans_affinement ? json::array() : affines(s);
    j["agreement_2theta"] = reussi(s) ? json(nombre(et.moteur.accord)) : json(nullptr);
    ajoute_merite(j, reussi(s) ? figures_merite(et) : std::nullopt);
    j["measured"] = mesurees(et);
    j["calculated"] = calculees(et);
    j["pairs"] = paires(s, diagnostic);
    j["messages"] = s.dialogues.textes();
    j["listing"] = s.moteur_appele ? json((et.repertoire / "kovrin.out").string()) : json(nullptr);
    if (s.indexation) {
        j["solutions"] = json_solutions(*s.indexation);
        j["skipped_systems"] = systemes_omis(*s.indexation);
    }
    j["exit_status"] = s.code;
    return j;
}

void imprime_table(const OptionsBatch& options, const Session& s, std::ostream& sortie) {
    if (s.indexation) imprime_solutions(*s.indexation, sortie);
    if (s.indexation && !options.indexation.affine_meilleure) return;
    if (s.indexation) sortie << '\n';
    if (options.sans_affinement)
        imprime_reflexions(s, sortie);
    else
        imprime_parametres(s, sortie);
}

} // namespace kovrin::batch
