#include "interface/affichages.h"

#include "commun/angles.h"
#include "commun/format.h"
#include "commun/texte.h"
#include "profil/ajustement_pics.h"

#include <algorithm>
#include <cmath>

namespace kovrin {

namespace {

// Radians of theta per degree of 2theta, as the grids use it.
constexpr int lignes_min_selection = 25; // the grids of tab 3

std::string indices(int h, int k, int l) {
    return pascal_entier(h, 3) + pascal_entier(k, 3) + pascal_entier(l, 3);
}

std::string texte_angle(const EspaceTravail& et, double deux_theta, int largeur, int decimales) {
    return pascal_reel(angle_affiche(et, deux_theta), largeur, decimales);
}

} // namespace

void Rafraichissement::ajoute(const Rafraichissement& autre) {
    echec |= autre.echec;
    fin_programme |= autre.fin_programme;
    changes |= autre.changes;
    montre_diagramme |= autre.montre_diagramme;
    montre_dialogue_lambda |= autre.montre_dialogue_lambda;
    montre_fenetre_profil |= autre.montre_fenetre_profil;
    montre_export |= autre.montre_export;
    ferme_fenetre_profil |= autre.ferme_fenetre_profil;
    if (autre.active_onglet) active_onglet = autre.active_onglet;
    garde_partiel |= autre.garde_partiel;
    ecrit |= autre.ecrit;
    if (autre.champ_focus) champ_focus = autre.champ_focus;
}

Rafraichissement refus(Dialogues& d, const std::string& message) {
    d.erreur(message);
    return echoue();
}

Rafraichissement echoue() {
    Rafraichissement r;
    r.echec = true;
    return r;
}

double d_de_deux_theta(double lambda, double deux_theta) {
    return lambda / (2.0 * std::sin(deux_theta * radian_theta_par_degre_2theta_affichage));
}

PanneauValeurs panneau_valeurs_courantes(const EspaceTravail& et) {
    Libelles l = libelles(et);
    return {pascal_reel(et.lambda, 8, 5), texte_angle(et, et.angle_min, 8, 2),
            texte_angle(et, et.angle_max, 8, 2), l.valeur1, l.valeur2};
}

namespace {

template <typename Entete>
PanneauDonnees panneau_donnees(const EspaceTravail& et, const Entete& e, const std::string& fichier,
                               const std::string& echantillon) {
    Libelles l = libelles(et);
    PanneauDonnees p;
    p.fichier = "File: " + nom_sans_repertoire(fichier);
    p.echantillon = "Sample: " + echantillon;
    p.anode = e.anode;
    p.lambda = pascal_reel(e.lambda, 8, 5);
    p.angle1 = texte_angle(et, e.angle_debut, 8, 2);
    p.angle2 = texte_angle(et, e.angle_fin, 8, 2);
    p.etiquette1 = l.donnees1;
    p.etiquette2 = l.donnees2;
    p.lambda1 = pascal_reel(e.lambda1, 8, 5);
    p.lambda2 = pascal_reel(e.lambda2, 8, 5);
    p.rapport = pascal_reel(e.rapport, 8, 2);
    return p;
}

} // namespace

PanneauDonnees panneau_pics(const EspaceTravail& et) {
    const EntetePics& e = et.entete_pics;
    return panneau_donnees(et, e, e.fichier_pics, e.echantillon);
}

PanneauDonnees panneau_profil(const EspaceTravail& et) {
    const EnteteProfil& e = et.entete_profil;
    PanneauDonnees p = panneau_donnees(et, e, e.fichier_profil, e.titre);
    p.fichier_fenetre_profil = "Prof. File: " + nom_sans_repertoire(e.fichier_profil);
    return p;
}

bool panneau_pics_visible(const EspaceTravail& et) {
    return et.entete_pics.lambda != 0 && !et.mesures.vide();
}

bool panneau_profil_visible(const EspaceTravail& et) {
    return et.entete_profil.lambda != 0 && !et.profil.vide();
}

GrillePics grille_pics_vide(const EspaceTravail& et) {
    return {{2, {{"N", mode_theta(et) ? "Theta" : "2Theta", "Dhkl", "Int."}}}, {}, "0"};
}

namespace {

bool ajustement_present(const EspaceTravail& et) {
    return std::any_of(et.mesures.begin(), et.mesures.end(),
                       [](const Mesure& m) { return m.ajustement.etat != EtatAjustement::aucun; });
}

// The columns a fit of the positions adds to the peak grid.
std::vector<std::string> colonnes_ajustement(const EspaceTravail& et, const Mesure& m) {
    const AjustementPic& a = m.ajustement;
    if (a.etat != EtatAjustement::ajuste) return {"", "", "", nom_etat_ajustement(a.etat)};
    return {pascal_reel(angle_affiche(et, a.largeur), 7, 4), pascal_reel(a.aire, 9, 1),
            pascal_reel(angle_affiche(et, a.sigma_deux_theta), 8, 5), nom_etat_ajustement(a.etat)};
}

void ajoute_colonnes_ajustement(const EspaceTravail& et, GrillePics& g) {
    g.grille.lignes[0].insert(g.grille.lignes[0].end(),
                              {"FWHM", "Area", mode_theta(et) ? "s(Theta)" : "s(2Theta)", "Fit"});
    for (int j = 1; j <= et.mesures.taille(); ++j) {
        auto colonnes = colonnes_ajustement(et, et.mesures[j]);
        auto& ligne = g.grille.lignes[static_cast<std::size_t>(j)];
        ligne.insert(ligne.end(), colonnes.begin(), colonnes.end());
    }
}

bool significativite_presente(const EspaceTravail& et) {
    return std::any_of(et.mesures.begin(), et.mesures.end(),
                       [](const Mesure& m) { return m.significativite != 0; });
}

// The significance column after a search: net height over its uncertainty.
void ajoute_colonne_significativite(const EspaceTravail& et, GrillePics& g) {
    g.grille.lignes[0].push_back("Signif.");
    for (int j = 1; j <= et.mesures.taille(); ++j)
        g.grille.lignes[static_cast<std::size_t>(j)].push_back(
            pascal_reel(et.mesures[j].significativite, 7, 1));
}

} // namespace

GrillePics grille_pics(const EspaceTravail& et) {
    GrillePics g = grille_pics_vide(et);
    const int n = et.mesures.taille();
    g.grille.nb_lignes = std::max(n + 1, 2);
    for (int j = 1; j <= n; ++j) {
        const Mesure& m = et.mesures[j];
        g.grille.lignes.push_back({pascal_entier(j, 3),
                                   pascal_reel(angle_affiche(et, m.deux_theta_mes), 7, 3),
                                   pascal_reel(d_de_deux_theta(et.lambda, m.deux_theta_mes), 8, 4),
                                   pascal_reel(m.intensite_mes, 7, 1)});
        g.couleurs.push_back(couleur_genre_raie(m.code_raie));
    }
    if (significativite_presente(et)) ajoute_colonne_significativite(et, g);
    if (ajustement_present(et)) ajoute_colonnes_ajustement(et, g);
    g.nombre = std::to_string(n);
    return g;
}

GrillePics grille_pics_montree(const EspaceTravail& et, bool grille_videe) {
    return grille_videe ? grille_pics_vide(et) : grille_pics(et);
}

Libelles libelles(const EspaceTravail& et) {
    bool theta = mode_theta(et);
    Libelles l;
    l.mode_affichage = et.mode_affichage;
    l.panneau_mesures = theta ? "Measured reflections (Theta)" : "Measured reflections (2Theta)";
    l.valeur1 = theta ? "q1 =" : "2q1 =";
    l.valeur2 = theta ? "q2 =" : "2q2 =";
    l.donnees1 = theta ? "q1" : "2q1";
    l.donnees2 = theta ? "q2" : "2q2";
    l.unite_tolerance = theta ? "°q" : "2q";
    if (et.mode_decalage == 2) {
        l.ligne_decalage = "e/R(°)";
        l.ligne_decalage_symboles = false;
    } else {
        l.ligne_decalage = theta ? "Dq" : "2Dq";
    }
    return l;
}

Grille grille_mesures_selection_vide(const EspaceTravail& et) {
    return {lignes_min_selection, {{"Nb", "Dhkl", mode_theta(et) ? "Theta" : "2Theta"}}};
}

Grille grille_mesures_selection(const EspaceTravail& et) {
    Grille g = grille_mesures_selection_vide(et);
    const int n = et.mesures.taille();
    g.nb_lignes = std::max(lignes_min_selection, n + 1);
    for (int i = 1; i <= n; ++i) {
        double x = et.mesures[i].deux_theta_mes;
        g.lignes.push_back({std::to_string(i), pascal_reel(d_de_deux_theta(et.lambda, x), 8, 4),
                            texte_angle(et, x, 8, 3)});
    }
    return g;
}

Grille grille_calculees_selection_vide(const EspaceTravail& et) {
    return {lignes_min_selection, {{"h   k   l", "Dhkl", mode_theta(et) ? "Theta" : "2Theta"}}};
}

Grille grille_calculees_selection(const EspaceTravail& et) {
    Grille g = grille_calculees_selection_vide(et);
    g.nb_lignes = std::max(lignes_min_selection, et.calculees.taille() + 1);
    for (const RaieCalculee& r : et.calculees)
        g.lignes.push_back({indices(r.h, r.k, r.l), pascal_reel(r.dhkl, 7, 4),
                            texte_angle(et, r.deux_theta, 7, 3)});
    return g;
}

Grille grille_calculees_montree(const EspaceTravail& et, const EtatPrincipal& ep) {
    return ep.raies_masquees ? grille_calculees_selection_vide(et) : grille_calculees_selection(et);
}

Grille grille_selection(const EspaceTravail& et) {
    bool theta = mode_theta(et);
    const int n = et.selection.taille();
    Grille g{
        n + 2,
        {{"Nb.", "h   k   l", theta ? "T Obs" : "2T Obs", theta ? "T Calc" : "2T Calc", "Diff."}}};
    for (int r = 1; r <= n; ++r) {
        const Paire& p = et.selection[r];
        double obs = angle_affiche(et, p.deux_theta_obs);
        double cal = angle_affiche(et, p.deux_theta_cal);
        g.lignes.push_back({pascal_entier(r, 2), indices(p.h, p.k, p.l), pascal_reel(obs, 8, 3),
                            pascal_reel(cal, 8, 3), pascal_reel(obs - cal, 8, 3)});
    }
    return g;
}

Rafraichissement selection_videe(EtatPrincipal& ep) {
    efface_panneaux(ep.affinement);
    return {Change::paires, Change::resultats};
}

std::string titre_mesures(const EspaceTravail& et, const EtatPrincipal& ep) {
    if (!ep.titre_fichier_mesures) return libelles(et).panneau_mesures;
    return "Observed reflections (" + nom_sans_repertoire(et.entete_pics.fichier_pics) + ")";
}

std::string titre_table(const EspaceTravail& et, const EtatPrincipal& ep) {
    switch (ep.origine_table) {
    case OrigineTable::fichier_lu:
        return sans_blancs("Calc. diagram (" + nom_sans_repertoire(et.fichier_maille) + ")");
    case OrigineTable::fichier_ecrit:
        return "Calculated pattern (" + nom_sans_repertoire(et.fichier_maille) + ")";
    case OrigineTable::saisie:
        break;
    }
    return titre_table_initial;
}

} // namespace kovrin
