#include "interface/diagramme.h"

#include "commun/angles.h"
#include "commun/format.h"
#include "commun/texte.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kovrin {

namespace {

constexpr int echantillons_max = 1020;

void trace_calculees(Dessin& dessin, const EspaceTravail& et, const VueDiagramme& vue) {
    for (const RaieCalculee& r : et.calculees) {
        const double a = angle_affiche(et, r.deux_theta);
        if (a < vue.debut) continue;
        if (a > vue.fin) break;
        const int x = vue.x_de_angle(a);
        dessin.segments.push_back({{x, vue.ligne_axe()}, {x, vue.hauteur - 1}, vert});
    }
}

void trace_profil(Dessin& dessin, const EspaceTravail& et, const VueDiagramme& vue,
                  int largeur_profil) {
    const auto [i1, i2] = points_du_domaine(et.profil, et.angle_min, et.angle_max);
    const int n = std::min(largeur_profil - 2, echantillons_max);
    Polyligne courbe{{}, noir};
    for (int i : echantillons_profil(i1, i2, n))
        courbe.points.push_back({vue.x_de_angle(angle_affiche(et, et.profil[i].angle)),
                                 vue.y_de_valeur(et.profil[i].intensite)});
    if (!courbe.points.empty()) dessin.courbes.push_back(std::move(courbe));
}

void trace_mesures(Dessin& dessin, const EspaceTravail& et, const VueDiagramme& vue) {
    for (const Mesure& m : et.mesures) {
        const int x = vue.x_de_angle(angle_affiche(et, m.deux_theta_mes));
        dessin.segments.push_back({{x, vue.ligne_axe()}, {x, 1}, gris});
        const int haut = std::max(vue.y_de_valeur(m.intensite_mes), 1);
        dessin.segments.push_back({{x, vue.ligne_axe()}, {x, haut}, noir});
    }
}

void trace_paires(Dessin& dessin, const EspaceTravail& et, const VueDiagramme& vue,
                  int ligne_pic_courante) {
    for (int s = 1; s <= et.selection.taille(); ++s) {
        const Paire& p = et.selection[s];
        const Couleur plume = s == ligne_pic_courante ? rouge : bleu;
        const int xo = vue.x_de_angle(angle_affiche(et, p.deux_theta_obs));
        const int xc = vue.x_de_angle(angle_affiche(et, p.deux_theta_cal));
        const std::string numero = std::to_string(s);
        dessin.textes.push_back({{xo - 4, 15}, numero, noir, jaune, 8});
        dessin.segments.push_back({{xo, vue.ligne_axe()}, {xo, 15}, plume});
        dessin.textes.push_back({{xc - 4, vue.hauteur - 15}, numero, noir, jaune, 8});
        dessin.segments.push_back({{xc, vue.ligne_axe()}, {xc, vue.hauteur - 15}, plume});
    }
}

bool touche(const VueDiagramme& vue, const EspaceTravail& et, double deux_theta, int x) {
    return std::abs(x - vue.x_de_angle(angle_affiche(et, deux_theta))) < portee_clic;
}

} // namespace

VueDiagramme vue_diagramme(const EspaceTravail& et, const EtatDiagramme& etat, int largeur,
                           int hauteur) {
    if (et.angle_max == 0) // empty picture
        return repere(largeur, hauteur, marge_y_diagramme, 0, 0, etat.echelle);
    return repere(largeur, hauteur, marge_y_diagramme, angle_affiche(et, et.angle_min),
                  angle_affiche(et, et.angle_max), etat.echelle);
}

LegendesDiagramme legendes_diagramme(const EspaceTravail& et) {
    LegendesDiagramme l;
    if (et.angle_max == 0) return l; // empty picture
    if (!et.calculees.vide())
        l.legende_calculees =
            et.fichier_maille.empty()
                ? "Calculated reflections"
                : "Calculated reflections: " + nom_sans_repertoire(et.fichier_maille);
    if (!et.entete_profil.fichier_profil.empty())
        l.legende_profil =
            "Observed profile: " + nom_sans_repertoire(et.entete_profil.fichier_profil);
    if (!et.mesures.vide())
        l.legende_mesures =
            "Measured reflections: " + nom_sans_repertoire(et.entete_pics.fichier_pics);
    return l;
}

DessinDiagramme dessine_spectre(const EspaceTravail& et, const EtatDiagramme& etat,
                                int ligne_pic_courante, int largeur, int hauteur,
                                int largeur_profil) {
    DessinDiagramme resultat;
    const VueDiagramme vue = vue_diagramme(et, etat, largeur, hauteur);
    if (vue.vide()) return resultat;
    static_cast<LegendesDiagramme&>(resultat) = legendes_diagramme(et);
    Dessin& dessin = resultat.dessin;
    trace_axe(dessin, vue.debut, vue.fin, vue.ligne_axe(),
              [&](double a) { return vue.x_de_angle(a); });
    if (!et.calculees.vide()) trace_calculees(dessin, et, vue);
    if (!et.entete_profil.fichier_profil.empty()) trace_profil(dessin, et, vue, largeur_profil);
    if (!et.mesures.vide()) trace_mesures(dessin, et, vue);
    trace_paires(dessin, et, vue, ligne_pic_courante);
    return resultat;
}

void active_diagramme(EtatDiagramme& etat) {
    etat.glissement = false;
}

void souris_onmouseDown(EtatDiagramme& etat, Point appui) {
    etat.appui = appui;
    etat.glissement = true;
}

Survol affiche_theta(const EspaceTravail& et, const EtatDiagramme& etat, int largeur, int hauteur,
                     Point pointeur) {
    Survol survol;
    const VueDiagramme vue = vue_diagramme(et, etat, largeur, hauteur);
    if (vue.vide()) return survol;
    const double a = vue.angle_de_x(pointeur.x);
    const bool theta = mode_theta(et);
    const double sinus =
        std::sin(a * (theta ? radian_par_degre_theta_trace : radian_par_degre_2theta_trace));
    survol.lecture = (theta ? "T=" : "2T=") + pascal_reel(a, 8, 2) + "  d=";
    if (sinus != 0) // no spacing at the angle 0
        survol.lecture += pascal_reel(et.lambda / (2 * sinus), 7, 3);
    if (etat.glissement) survol.elastique = Rectangle{etat.appui, pointeur, gris};
    return survol;
}

Pointage touche_diagramme(const EspaceTravail& et, const VueDiagramme& vue, BoutonSouris bouton,
                          Point p) {
    Pointage pointage;
    pointage.bouton = bouton;
    pointage.cote = p.y < vue.ligne_axe()   ? CoteAxe::dessus
                    : p.y > vue.ligne_axe() ? CoteAxe::dessous
                                            : CoteAxe::sur;
    if (vue.vide()) return pointage;
    for (int s = 1; s <= et.selection.taille(); ++s)
        if (touche(vue, et, et.selection[s].deux_theta_obs, p.x))
            pointage.paires_touchees.push_back(s);
    for (int j = 1; j <= et.calculees.taille(); ++j)
        if (touche(vue, et, et.calculees[j].deux_theta, p.x))
            pointage.calculees_touchees.push_back(j);
    for (int i = 1; i <= et.mesures.taille(); ++i)
        if (touche(vue, et, et.mesures[i].deux_theta_mes, p.x))
            pointage.mesures_touchees.push_back(i);
    return pointage;
}

Relache relache_souris_diagramme(EspaceTravail& et, EtatDiagramme& etat, int largeur, int hauteur,
                                 BoutonSouris bouton, Point p) {
    Relache relache;
    if (p.y < 0) return relache;
    etat.relache = p;
    etat.glissement = false;
    const VueDiagramme vue = vue_diagramme(et, etat, largeur, hauteur);
    if (std::abs(p.x - etat.appui.x) <= seuil_glissement) {
        relache.clic = touche_diagramme(et, vue, bouton, p);
        return relache;
    }
    if (vue.vide()) return relache; // no angle to zoom to
    const Zoom z = zoom_rectangle(vue, etat.appui, p, mode_theta(et), etat.echelle);
    et.angle_min = z.angle_min;
    et.angle_max = z.angle_max;
    etat.echelle = z.facteur;
    etat.position_echelle = z.position_echelle;
    relache.rafraichissement.marque({Change::plage});
    return relache;
}

Rafraichissement relache_image(EspaceTravail& et, EtatPrincipal& ep, EtatDiagramme& etat,
                               int largeur, int hauteur, BoutonSouris bouton, Point p,
                               Dialogues& d) {
    Relache relache = relache_souris_diagramme(et, etat, largeur, hauteur, bouton, p);
    if (!relache.clic) return relache.rafraichissement;
    return pointe_diagramme(et, ep, *relache.clic, d);
}

Rafraichissement efface_diagramme_raw(EspaceTravail& et) {
    efface_longueurs_onde(et.entete_profil, et.entete_profil.fichier_profil);
    return {Change::profil, Change::fichiers};
}

Rafraichissement shifte_diagramme(EspaceTravail& et, EtatDiagramme& etat, int position) {
    decale_plage(et, etat.position_decalage, position);
    return {Change::plage};
}

Rafraichissement echelle_modi(EtatDiagramme& etat, int position) {
    etat.position_echelle = position;
    etat.echelle = position * 0.1;
    return {Change::vues};
}

Rafraichissement reset_dessin(EspaceTravail& et, EtatDiagramme& etat) {
    etat.glissement = false;
    plage_complete(et);
    etat.echelle = 1.0;
    etat.position_echelle = 10;
    return {Change::plage};
}

} // namespace kovrin
