#include "interface/commandes_affinement.h"

#include "affinement/cif.h"
#include "affinement/depart_lineaire.h"
#include "affinement/diagnostic.h"
#include "affinement/merite.h"
#include "commun/erreur.h"
#include "commun/format.h"
#include "commun/incertitude.h"
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/domaines.h"
#include "cristallo/geometrie.h"
#include "cristallo/raies.h"
#include "interface/commandes.h"
#include "interface/saisie_mesures.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kovrin {

namespace {

// The cell shown again and the reflections generated from it; the cell tab is
// read back by the generation, so its wavelength follows the workspace.
bool regenere_raies(EspaceTravail& et, OngletMaille& onglet_maille, Dialogues& d) {
    affiche_maille(et, onglet_maille);
    onglet_maille.lambda = Saisie::de_valeur(et.lambda);
    try {
        return calcul_raies(et, onglet_maille, d);
    } catch (const ErreurKovrin& e) {
        d.erreur(e.what());
        return false;
    }
}

// The refinement tab's lambda box shows the working wavelength.
void montre_lambda_affinement(const EspaceTravail& et, EtatPrincipal& ep) {
    ep.affinement.initial[rang_lambda] = pascal_reel(et.lambda, 8, 5);
    ep.affinement.lambda_initial = Saisie::de_valeur(et.lambda);
}

// The pairs are gone and the results with them: the tab, the grids of the
// other tabs that show angles, and the diagram are refreshed.
Rafraichissement apres_nouveau_depart(EspaceTravail& et, EtatPrincipal& ep, bool raies) {
    et.selection.efface();
    et.deux_theta_corrige.fill(0);
    et.affinement_ok = false;
    efface_panneaux(ep.affinement);
    efface_resultats(ep.affinement);
    ep.affinement.boutons_resultats = false;
    montre_lambda_affinement(et, ep);
    Rafraichissement r = remplit_grille_mesures(et);
    r.marque({Change::paires, Change::resultats, Change::maille, Change::plage});
    if (raies) r.marque({Change::calculees});
    r.active_onglet = onglet_affinement;
    return r;
}

// The pairs take the calculated angle of the first reflection with their indices.
void recale_paires(EspaceTravail& et) {
    for (Paire& p : et.selection)
        for (const RaieCalculee& c : et.calculees)
            if (c.h == p.h && c.k == p.k && c.l == p.l) {
                p.deux_theta_cal = c.deux_theta;
                break;
            }
}

// Each pair's calculated angle from the cell just generated, for its own indices.
void recalcule_paires(EspaceTravail& et) {
    for (Paire& p : et.selection) {
        const double q = inverse_d_carre(et.matrice_b, p.h, p.k, p.l);
        p.deux_theta_cal = static_cast<float>(deux_theta_de_d(1 / std::sqrt(q), et.lambda));
    }
}

Rafraichissement apres_depart_lineaire(EspaceTravail& et, EtatPrincipal& ep) {
    et.deux_theta_corrige.fill(0);
    et.affinement_ok = false;
    efface_panneaux(ep.affinement);
    remplit_tableau_avant(et, ep.affinement);
    affiche_initial(et, ep.affinement);
    return {Change::maille, Change::calculees, Change::paires, Change::resultats};
}

std::string chemin_cif(const std::filesystem::path& nom) {
    std::string fichier = nom.string();
    return contient(majuscules(fichier), ".CIF") ? fichier : fichier + ".cif";
}

} // namespace

void affiche_diagnostic(const EspaceTravail& et, OngletAffinement& onglet) {
    onglet.m20.clear();
    onglet.fn.clear();
    onglet.paires_suspectes.clear();
    if (const auto f = figures_merite(et)) {
        onglet.m20 = texte_m20(*f);
        onglet.fn = texte_fn(*f);
    }
    const auto diagnostic = diagnostique(et);
    if (!diagnostic) return;
    for (const DiagnosticPaire& p : diagnostic->paires)
        onglet.paires_suspectes.push_back(p.suspecte);
    for (std::size_t i = 0; i < nb_parametres; ++i) {
        // The shift is shown in the unit of the angles, as its "Refined" box.
        const double unite = i == rang_decalage && mode_theta(et) ? 0.5 : 1.0;
        const double sigma = diagnostic->sigmas_usuels[i] * unite;
        onglet.esd[i] = texte_incertitude(sigma);
        onglet.valeur_esd[i] = texte_avec_incertitude(et.moteur.parametres[i] * unite, sigma);
    }
}

Rafraichissement linear_start(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d) {
    if (et.selection.vide()) return refus(d, "No selected reflections!");
    if (et.systeme.empty()) return refus(d, "No system!");
    const auto maille = depart_lineaire(et.selection, et.systeme, et.maille, et.lambda);
    if (!maille) return refus(d, "The indices of the selected reflections do not determine a cell");
    et.maille = *maille;
    if (!regenere_raies(et, ep.maille, d)) return echoue();
    et.maille_initiale = et.maille; // as "Calc." keeps the cell it generated from
    recalcule_paires(et);
    return apres_depart_lineaire(et, ep);
}

Rafraichissement sauve_cif(const EspaceTravail& et, ChoixFichier& choix, Dialogues& d) {
    const auto diagnostic = diagnostique(et);
    if (!diagnostic) return refus(d, "No results");
    const std::filesystem::path nom = choix.enregistrer(filtre_cif, 1);
    if (nom.empty()) return {};
    const std::string fichier = chemin_cif(nom);
    if (std::filesystem::exists(fichier) &&
        d.confirmation("This file already exists. Do you want to continue?") != Reponse::oui)
        return {};
    ecrit_cif(fichier, et, *diagnostic, figures_merite(et));
    Rafraichissement r;
    r.ecrit = true;
    return r;
}

ChampsAffinement champs_affinement(const EtatPrincipal& ep) {
    return {ep.affinement.lambda_initial, ep.affinement.decalage_initial,
            marques_affinement(ep.maille)};
}

Rafraichissement go_affinement(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d,
                               FonctionCalcul moteur) {
    const bool ok = lance_affinement(et, champs_affinement(ep), ep.affinement, d, moteur);
    ep.affinement.boutons_resultats = true;
    ep.affinement.bouton_impression = true;
    if (ok) affiche_diagnostic(et, ep.affinement);
    Rafraichissement r{Change::resultats};
    r.echec = !ok;
    r.garde_partiel = true; // a failed refinement keeps its listing, status and tab
    return r;
}

Rafraichissement change_param(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d) {
    // Without a refined result of the current pairs there is nothing to take:
    // an earlier result would fold its shift into the angles a second time.
    if (et.selection.vide() || !et.affinement_ok) {
        ep.affinement.boutons_resultats = false;
        return {Change::resultats};
    }
    et.decalage = et.moteur.parametres[rang_decalage];
    et.lambda = et.moteur.parametres[rang_lambda];
    et.maille = et.maille_affinee;
    affiche_initial(et, ep.affinement);
    const bool raies = regenere_raies(et, ep.maille, d);
    for (Mesure& m : et.mesures)
        m.deux_theta_mes -= terme_angulaire(et.mode_decalage, et.decalage, m.deux_theta_mes);
    et.decalage = 0; // the shift now lives in the measured angles
    return apres_nouveau_depart(et, ep, raies);
}

Rafraichissement resto_param(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d) {
    // Before any "Calc." there is no saved cell: the working one is kept.
    const bool maille_gardee = std::any_of(et.maille_initiale.begin(), et.maille_initiale.end(),
                                           [](double x) { return x != 0; });
    if (maille_gardee) et.maille = et.maille_initiale;
    et.decalage = 0;
    affiche_initial(et, ep.affinement);
    const bool raies = regenere_raies(et, ep.maille, d);
    for (Mesure& m : et.mesures)
        m.deux_theta_mes = m.deux_theta_lu;
    return apres_nouveau_depart(et, ep, raies);
}

Rafraichissement change_lambda_affi(EspaceTravail& et, EtatPrincipal& ep, const Saisie& lambda,
                                    Dialogues& d) {
    // An empty box reads as 0, as every number field of the window does.
    if (lambda.etat == Saisie::Etat::illisible) return refus(d, "Error on Lambda!");
    if (const Refus r = refus_lambda(lambda.valeur)) return refus(d, *r);
    ep.affinement.lambda_initial = lambda;
    if (lambda.valeur == et.lambda) return {};
    CurseurOccupe occupe(d);
    et.lambda = lambda.valeur;
    ep.maille.lambda =
        Saisie::de_valeur(et.lambda); // "Current values" shows it, the generation reads it
    Rafraichissement r{Change::maille};
    calcul_raies(et, ep.maille, d);
    if (!et.calculees.vide()) {
        recale_paires(et);
        remplit_tableaux(et, ep.affinement);
        affiche_initial(et, ep.affinement);
        r.marque({Change::calculees, Change::paires, Change::resultats});
    }
    r.active_onglet = onglet_affinement;
    return r;
}

Rafraichissement shift_selection(EtatPrincipal& ep, bool coche) {
    if (coche) ep.panneau_decalage = true;
    return {Change::vues};
}

Rafraichissement BitBtn17Click(EspaceTravail& et, EtatPrincipal& ep, bool excentricite) {
    et.mode_decalage = excentricite ? 2 : 1;
    ep.panneau_decalage = false;
    return {Change::mode, Change::vues};
}

Rafraichissement select_peak(EtatPrincipal& ep, int ligne) {
    ep.ligne_pic_courante = ligne;
    return {Change::vues};
}

Rafraichissement click_stringgrid8(const EspaceTravail& et, EtatPrincipal& ep) {
    remplit_tableaux(et, ep.affinement);
    return {Change::resultats};
}

Rafraichissement Impression_resultats(const EspaceTravail& et, Dialogues& d) {
    if (!ouvre_listing(et, ListeExport::courte, d)) return echoue();
    return {};
}

Rafraichissement transfert_excel(const EspaceTravail& et, Dialogues& d) {
    Rafraichissement r;
    r.montre_export = resultats_presents(et, d);
    r.echec = !r.montre_export;
    r.ecrit = r.montre_export;
    return r;
}

Rafraichissement change_liste_export(const EspaceTravail& et, ListeExport liste, std::string& texte,
                                     Dialogues& d) {
    const auto octets = texte_export(et, liste, d);
    texte = octets.value_or("");
    Rafraichissement r;
    r.echec = !octets;
    r.garde_partiel = true; // the text area empties
    return r;
}

} // namespace kovrin
