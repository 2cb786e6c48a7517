#include "interface/saisie_mesures.h"

#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/domaines.h"

#include <algorithm>
#include <utility>

namespace kovrin {

namespace {

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
    if (n == 0) return g; // the rows stay, for typing
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
    return {Change::mesures};
}

Rafraichissement enter_refl_keyb(EspaceTravail& et, EtatPrincipal& ep) {
    et.mesures.efface();
    ep.maille.lambda = Saisie{};
    ep.boutons_pics = true;
    return {Change::mesures, Change::vues};
}

namespace {

std::optional<double> lambda_saisie(const Saisie& lambda, Dialogues& d) {
    if (lambda.etat == Saisie::Etat::illisible) {
        d.erreur("Error on Lambda");
        return std::nullopt;
    }
    if (lambda.vide() || lambda.valeur == 0) {
        d.erreur("Type first the wavelength");
        return std::nullopt;
    }
    if (const Refus r = refus_lambda(lambda.valeur)) {
        d.erreur(*r);
        return std::nullopt;
    }
    return lambda.valeur;
}

// The area of an edited row; empty reads as 100.
std::optional<double> aire_saisie(const EditionMesure& e, Dialogues& d) {
    if (e.aire.vide()) return 100.0;
    if (!e.aire.nombre()) {
        erreur_ligne(d, static_cast<std::size_t>(e.ligne));
        return std::nullopt;
    }
    if (const Refus r = refus_aire(e.aire.valeur)) {
        d.erreur(sur_ligne(e.ligne, *r));
        return std::nullopt;
    }
    return e.aire.valeur;
}

// The angle of an edited row in degrees 2theta (its cell holds a number).
std::optional<double> angle_saisi(const EspaceTravail& et, const EditionMesure& e, Dialogues& d) {
    if (!e.angle.nombre()) {
        erreur_ligne(d, static_cast<std::size_t>(e.ligne));
        return std::nullopt;
    }
    if (const Refus r = refus_angle_affiche(e.angle.valeur, mode_theta(et))) {
        d.erreur(sur_ligne(e.ligne, *r));
        return std::nullopt;
    }
    return mode_theta(et) ? e.angle.valeur * 2.0 : e.angle.valeur;
}

// The edit applied to the list; false after a message, with the list unchanged.
bool applique(EspaceTravail& et, const EditionMesure& e, Dialogues& d) {
    const bool existante = e.ligne >= 1 && e.ligne <= et.mesures.taille();
    if (e.colonne == 0 && e.angle.vide()) {
        if (existante) et.mesures.retire(e.ligne);
        return true;
    }
    if (e.colonne == 2) {
        if (!existante) return true; // the area waits for its angle
        const auto aire = aire_saisie(e, d);
        if (aire) et.mesures[e.ligne].intensite_mes = *aire;
        return aire.has_value();
    }
    const auto angle = angle_saisi(et, e, d);
    if (!angle) return false;
    if (existante) {
        Mesure& m = et.mesures[e.ligne];
        m.deux_theta_mes = m.deux_theta_lu = *angle;
        m.ajustement = {};
        return true;
    }
    const auto aire = aire_saisie(e, d);
    if (!aire) return false;
    if (et.mesures.pleine()) {
        d.erreur("Too many measured reflections (>500)");
        return false;
    }
    et.mesures.ajoute({*angle, *angle, *aire});
    return true;
}

} // namespace

Rafraichissement modifie_ligne_mesures(EspaceTravail& et, const EditionMesure& e, Dialogues& d) {
    if (e.colonne != 0 && e.colonne != 2) return {};
    const auto lambda = lambda_saisie(e.lambda, d);
    if (!lambda || !applique(et, e, d)) {
        Rafraichissement r = echoue();
        return r.marque({Change::mesures}); // the refused text gives way to the list
    }
    et.lambda = *lambda;
    prend_domaine_saisi(et);
    return remplit_grille_mesures(et).marque({Change::plage});
}

} // namespace kovrin
