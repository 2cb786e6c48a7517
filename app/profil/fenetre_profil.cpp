#include "profil/fenetre_profil.h"

#include "commun/angles.h"
#include "commun/format.h"
#include "commun/texte.h"
#include "profil/recherche_pics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace kovrin {

namespace {

constexpr double ecart_doublon = 0.001; // degrees 2theta
constexpr int nb_pics_max = 500;

// One curve sampled like the profile: one point per pixel column at most.
template <typename Valeur>
Polyligne courbe(const EspaceTravail& et, const VueProfil& vue, Couleur couleur, Valeur valeur) {
    const auto [i1, i2] = points_du_domaine(et.profil, et.angle_min, et.angle_max);
    Polyligne c{{}, couleur};
    for (int i : echantillons_profil(i1, i2, vue.largeur - 2))
        c.points.push_back(
            {vue.x_de_angle(angle_affiche(et, et.profil[i].angle)), vue.y_de_valeur(valeur(i))});
    return c;
}

bool dans_image(Point p, int largeur, int hauteur) {
    return p.x >= 0 && p.x < largeur && p.y >= 0 && p.y < hauteur;
}

SuiteProfil retire_marque(EspaceTravail& et, const VueProfil& vue, int x) {
    for (int j = 1; j <= et.mesures.taille(); ++j)
        if (std::abs(vue.x_de_angle(angle_affiche(et, et.mesures[j].deux_theta_mes)) - x) <
            portee_clic) {
            et.mesures.retire(j);
            return SuiteProfil::grille_et_dessin;
        }
    return SuiteProfil::rien;
}

SuiteProfil zoom(EspaceTravail& et, EtatFenetreProfil& etat, const VueProfil& vue, Point relache) {
    const Zoom z = zoom_rectangle(vue, etat.appui, relache, mode_theta(et), etat.facteur_vertical);
    et.angle_min = z.angle_min;
    et.angle_max = z.angle_max;
    etat.facteur_vertical = z.facteur;
    etat.position_echelle = z.position_echelle;
    et.etendue = et.angle_max - et.angle_min;
    return SuiteProfil::redessine;
}

SuiteProfil ajoute_pic(EspaceTravail& et, const VueProfil& vue, int x, Dialogues& d) {
    if (et.mesures.taille() >= nb_pics_max) {
        d.erreur("Too many peaks (>500)");
        return SuiteProfil::rien;
    }
    const double angle = vue.angle_de_x(x) * (mode_theta(et) ? 2.0 : 1.0);
    for (const Mesure& m : et.mesures)
        if (std::fabs(m.deux_theta_mes - angle) < ecart_doublon) return SuiteProfil::rien;
    et.mesures.ajoute({angle, angle, intensite_sous_angle(et, angle), raie_k_alpha});
    return SuiteProfil::grille_et_dessin;
}

} // namespace

VueProfil vue_profil(const EspaceTravail& et, const EtatFenetreProfil& etat, int largeur,
                     int hauteur) {
    if (et.profil.vide())
        return repere(largeur, hauteur, marge_bas_profil, 0, 0, etat.facteur_vertical);
    return repere(largeur, hauteur, marge_bas_profil, angle_affiche(et, et.angle_min),
                  angle_affiche(et, et.angle_max), etat.facteur_vertical);
}

std::string legende_profil(const EspaceTravail& et) {
    if (et.entete_profil.fichier_profil.empty()) return {};
    return nom_sans_repertoire(et.entete_profil.fichier_profil) + ": " + et.entete_profil.titre;
}

Dessin dessin_profil(const EspaceTravail& et, const EtatFenetreProfil& etat, int largeur,
                     int hauteur) {
    Dessin dessin;
    const VueProfil vue = vue_profil(et, etat, largeur, hauteur);
    if (vue.vide()) {
        if (et.profil.vide()) dessin.fond = noir;
        return dessin;
    }
    trace_axe(dessin, vue.debut, vue.fin, vue.ligne_axe(),
              [&](double a) { return vue.x_de_angle(a); });
    dessin.courbes.push_back(courbe(et, vue, noir, [&](int i) { return et.profil[i].intensite; }));
    const auto& derivee = et.recherche.derivee_seconde;
    if (et.recherche.recherche_active && etat.derivee_visible &&
        derivee.size() == static_cast<std::size_t>(et.profil.taille()) + 1)
        // -100 ... 100 drawn over the 0 ... 100 band, its zero at mid-height.
        dessin.courbes.push_back(courbe(et, vue, magenta, [&](int i) {
            return 50 + derivee[static_cast<std::size_t>(i)] / 2;
        }));
    for (const Mesure& m : et.mesures) {
        const int x = vue.x_de_angle(angle_affiche(et, m.deux_theta_mes));
        dessin.segments.push_back({{x, vue.ligne_axe()}, {x, 0}, couleur_genre_raie(m.code_raie)});
    }
    return dessin;
}

SurvolProfil survol_profil(const EspaceTravail& et, const EtatFenetreProfil& etat, int largeur,
                           int hauteur, Point pointeur) {
    SurvolProfil survol;
    const VueProfil vue = vue_profil(et, etat, largeur, hauteur);
    if (vue.vide()) return survol;
    const double a = vue.angle_de_x(pointeur.x);
    const double angle_theta =
        mode_theta(et) ? a / degres_par_radian : a / deux_theta_par_radian_lecture;
    survol.lecture = (mode_theta(et) ? "T=" : "2T=") + pascal_reel(a, 7, 2) + " d=";
    if (std::sin(angle_theta) != 0) // no spacing at the angle 0
        survol.lecture += pascal_reel(et.entete_profil.lambda / (2 * std::sin(angle_theta)), 7, 3);
    if (!etat.bouton_tenu)
        survol.curseur = Segment{{pointeur.x, 0}, {pointeur.x, hauteur - 1}, gris};
    else if (etat.bouton_appui == BoutonSouris::gauche &&
             std::abs(pointeur.x - etat.appui.x) > seuil_glissement)
        survol.elastique = Rectangle{etat.appui, pointeur, gris};
    return survol;
}

void OnMouseDown(EtatFenetreProfil& etat, BoutonSouris bouton, Point appui) {
    etat.appui = appui;
    etat.bouton_appui = bouton;
    etat.bouton_tenu = true;
}

SuiteProfil relache_profil(EspaceTravail& et, EtatFenetreProfil& etat, int largeur, int hauteur,
                           BoutonSouris bouton, Point relache, Dialogues& d) {
    etat.bouton_tenu = false;
    const VueProfil vue = vue_profil(et, etat, largeur, hauteur);
    if (vue.vide()) return SuiteProfil::rien; // no profile
    if (bouton == BoutonSouris::droit) return retire_marque(et, vue, etat.appui.x);
    if (!dans_image(relache, largeur, hauteur)) return SuiteProfil::rien;
    if (std::abs(relache.x - etat.appui.x) > seuil_glissement) return zoom(et, etat, vue, relache);
    return ajoute_pic(et, vue, etat.appui.x, d);
}

double intensite_sous_angle(const EspaceTravail& et, double deux_theta) {
    const auto& p = et.profil;
    for (int i = 1; i < p.taille(); ++i)
        if (p[i].angle <= deux_theta && deux_theta < p[i + 1].angle) return p[i].intensite;
    if (!p.vide() && p[p.taille()].angle == deux_theta) return p[p.taille()].intensite;
    return 0; // outside the profile
}

SuiteProfil echelle_profil(EtatFenetreProfil& etat, int position) {
    etat.position_echelle = position;
    etat.facteur_vertical = position * 0.1;
    return SuiteProfil::redessine;
}

SuiteProfil decale_profil(EspaceTravail& et, EtatFenetreProfil& etat, int position) {
    decale_plage(et, etat.position_decalage, position);
    return SuiteProfil::redessine;
}

SuiteProfil plage_complete_profil(EspaceTravail& et, EtatFenetreProfil& etat) {
    etat.bouton_tenu = false;
    plage_complete(et);
    etat.facteur_vertical = 1.0;
    etat.position_echelle = 10;
    return SuiteProfil::redessine;
}

SuiteProfil vide_mesures_profil(EspaceTravail& et) {
    et.mesures.efface();
    return SuiteProfil::grille_et_dessin;
}

SuiteProfil retire_profil(EspaceTravail& et) {
    et.profil.efface();
    efface_longueurs_onde(et.entete_profil, et.entete_profil.fichier_profil);
    return SuiteProfil::grille_videe;
}

void choisit_ligne_pics(EtatFenetreProfil& etat, int ligne) {
    etat.ligne_choisie = ligne;
}

SuiteProfil retire_ligne_choisie(EspaceTravail& et, EtatFenetreProfil& etat) {
    if (etat.ligne_choisie < 1 || etat.ligne_choisie > et.mesures.taille())
        return SuiteProfil::rien;
    et.mesures.retire(etat.ligne_choisie);
    return SuiteProfil::grille_et_dessin;
}

SuiteProfil bascule_derivee(EtatFenetreProfil& etat) {
    etat.derivee_visible = !etat.derivee_visible;
    return SuiteProfil::redessine;
}

void cree_fenetre_profil(EspaceTravail& et, EtatFenetreProfil& etat) {
    etat.position_decalage = 180;
    et.etendue = et.angle_max - et.angle_min;
}

void active_fenetre_profil(EtatFenetreProfil& etat) {
    etat.facteur_vertical = 1.0;
    etat.bouton_tenu = false;
}

} // namespace kovrin
