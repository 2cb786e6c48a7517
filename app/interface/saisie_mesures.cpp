#include "interface/saisie_mesures.h"

#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"

#include <algorithm>
#include <utility>

namespace kovrin {

namespace {

std::optional<double> lit_cellule(std::string_view texte) {
    return lit_champ_reel(sans_blancs(texte));
}

void erreur_ligne(Dialogues& d, std::size_t ligne) {
    d.erreur("Error at  row," + std::to_string(ligne));
}

// Range of the typed list, 2 degrees wider on each side; the full range too.
void prend_domaine_saisi(EspaceTravail& et) {
    if (et.mesures.vide()) return; // nothing typed: the range keeps its value
    double haut = 0, bas = 190.0;
    for (const Mesure& m : et.mesures) {
        haut = std::max(haut, m.deux_theta_mes);
        bas = std::min(bas, m.deux_theta_mes);
    }
    et.angle_min = et.angle_min_initial = bas - 2.0;
    et.angle_max = et.angle_max_initial = haut + 2.0;
}

} // namespace

void trie_mesures(EspaceTravail& et) {
    auto& m = et.mesures;
    for (int i = 1; i < m.taille(); ++i)
        for (int j = i + 1; j <= m.taille(); ++j)
            if (m[j].deux_theta_mes < m[i].deux_theta_mes) std::swap(m[i], m[j]);
}

Grille grille_mesures_vide(const EspaceTravail& et) {
    return {0, {{mode_theta(et) ? "Theta" : "2Theta", "Dhkl", "Area", "Nb."}}};
}

Grille grille_mesures(const EspaceTravail& et) {
    Grille g = grille_mesures_vide(et);
    const int n = et.mesures.taille();
    g.nb_lignes = std::max(20, n + 3);
    for (int r = 1; r <= n; ++r) {
        const Mesure& m = et.mesures[r];
        g.lignes.push_back({pascal_reel(angle_affiche(et, m.deux_theta_mes), 7, 3),
                            pascal_reel(d_de_deux_theta(et.lambda, m.deux_theta_mes), 8, 4),
                            pascal_reel(m.intensite_mes, 8, 0), std::to_string(r)});
    }
    return g;
}

Rafraichissement remplit_grille_mesures(EspaceTravail& et) {
    trie_mesures(et);
    Rafraichissement r;
    r.grille_mesures = grille_mesures(et);
    r.edit_lambda = pascal_reel(et.lambda, 8, 5);
    r.grille_mesures_selection = grille_mesures_selection(et);
    r.grille_pics = grille_pics(et);
    return r;
}

Rafraichissement enter_refl_keyb(EspaceTravail& et) {
    Rafraichissement r;
    r.grille_mesures = grille_mesures_vide(et);
    r.edit_lambda = "";
    r.bouton_sauve_pics = true;
    return r;
}

Rafraichissement theta_to_dhkl(EspaceTravail& et, const Grille& grille,
                               std::string_view texte_lambda, Dialogues& d) {
    et.mesures.efface();
    for (std::size_t r = 1; r < grille.lignes.size(); ++r) {
        auto lambda = lit_cellule(texte_lambda);
        if (!lambda) {
            d.erreur("Error on Lambda");
            return {};
        }
        if (*lambda == 0) {
            d.erreur("Type first the wavelength");
            return {};
        }
        et.lambda = *lambda;
        const int ligne = static_cast<int>(r);
        std::string angle_texte = sans_blancs(grille.cellule(ligne, 0));
        if (angle_texte.empty()) continue;
        auto angle = lit_cellule(angle_texte);
        std::string aire_texte = sans_blancs(grille.cellule(ligne, 2));
        auto aire = lit_cellule(aire_texte.empty() ? "100" : aire_texte);
        if (!angle || !aire) {
            erreur_ligne(d, r);
            return {};
        }
        if (et.mesures.pleine()) {
            d.erreur("Too many measured reflections (>500)");
            return {};
        }
        double deux_theta = mode_theta(et) ? *angle * 2.0 : *angle;
        et.mesures.ajoute({deux_theta, deux_theta, *aire});
    }
    prend_domaine_saisi(et);
    Rafraichissement r = remplit_grille_mesures(et);
    r.valeurs_courantes = panneau_valeurs_courantes(et);
    r.redessine = et.angle_max != 0;
    return r;
}

} // namespace kovrin
