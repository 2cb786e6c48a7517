#include "interface/commandes_profil.h"

#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"
#include "interface/commandes.h"
#include "interface/saisie_mesures.h"
#include "profil/recherche_pics.h"

#include <algorithm>

namespace kovrin {

namespace {

std::optional<double> lit_angle(std::string_view texte) {
    return lit_reel(sans_blancs(texte));
}

} // namespace

GrillePics grille_pics_vide(const EspaceTravail& et) {
    return {{2, {{"N", mode_theta(et) ? "Theta" : "2Theta", "Dhkl", "Int."}}}, {}, "0"};
}

RemplissagePics remplit_grille_pics(EspaceTravail& et) {
    RemplissagePics r;
    r.principal = remplit_grille_mesures(et); // sorts the list
    GrillePics& g = r.pics;
    g = grille_pics_vide(et);
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
    g.nombre = std::to_string(n);
    return r;
}

Couleur peint_cellule_g2(const EspaceTravail& et, int ligne) {
    if (ligne < 1 || ligne > et.mesures.taille()) return noir;
    return couleur_genre_raie(et.mesures[ligne].code_raie);
}

Rafraichissement change_data_diag(EspaceTravail& et, std::string_view texte_2theta1,
                                  std::string_view texte_2theta2, const OngletMaille& onglet,
                                  Dialogues& d) {
    // Both boxes are read before anything changes.
    const auto debut = lit_angle(texte_2theta1);
    if (!debut) {
        d.erreur("Theta min error");
        return {};
    }
    const auto fin = lit_angle(texte_2theta2);
    if (!fin) {
        d.erreur("Theta max error");
        return {};
    }
    et.angle_min = et.angle_min_initial = *debut;
    et.angle_max = et.angle_max_initial = *fin;
    et.etendue = et.angle_max - et.angle_min;
    et.entete_profil.angle_debut = *debut;
    et.entete_profil.angle_fin = *fin;
    Rafraichissement r;
    // The profile header's anode and wavelengths are not touched by the read.
    if (!et.profil.vide()) relit_profil_dans_domaine(et, et.angle_min, et.angle_max, d);
    // The measured reflections are read again within the new range (the list
    // in memory when it came from no file that can be read again).
    if (!et.mesures.vide()) {
        relit_mesures_dans_domaine(et, et.angle_min, et.angle_max, d);
        r.ajoute(remplit_grille_mesures(et));
    }
    r.valeurs_courantes = panneau_valeurs_courantes(et);
    r.panneau_profil = panneau_profil(et);
    if (!et.calculees.vide()) {
        // "Calc." reads the range from "Current values", which now shows the new one.
        OngletMaille avec_plage = onglet;
        avec_plage.lambda = r.valeurs_courantes->lambda;
        avec_plage.theta_min = r.valeurs_courantes->angle1;
        avec_plage.theta_max = r.valeurs_courantes->angle2;
        r.ajoute(calcul_diagramme(et, avec_plage, d));
    }
    r.redessine = true;
    return r;
}

} // namespace kovrin
