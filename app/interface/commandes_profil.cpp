#include "interface/commandes_profil.h"

#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/domaines.h"
#include "interface/commandes.h"
#include "interface/saisie_mesures.h"
#include "profil/ajustement_pics.h"
#include "profil/recherche_pics.h"

#include <algorithm>
#include <cmath>

namespace kovrin {

namespace {

Rafraichissement redessin_profil(SuiteProfil suite) {
    if (suite == SuiteProfil::rien) return {};
    return {Change::profil};
}

// What the profile window shows after one of its procedures.
Rafraichissement suite_profil(EspaceTravail& et, EtatFenetreProfil& etat, SuiteProfil suite) {
    Rafraichissement r = redessin_profil(suite);
    if (suite == SuiteProfil::grille_et_dessin) r.ajoute(remplit_grille_pics(et, etat));
    if (suite == SuiteProfil::grille_videe) {
        etat.grille_videe = true;
        r.marque({Change::mesures});
    }
    return r;
}

void informe_ajustement(const EspaceTravail& et, const BilanAjustement& b, Dialogues& d) {
    const int marques = b.echecs + b.deplaces;
    if (marques > 0)
        d.information(std::to_string(marques) +
                      " peak(s) could not be fitted and keep their positions (marked in the grid)");
    if (b.doublet && b.ajustes > 0)
        d.information("Peak positions now refer to K alpha1: the working wavelength becomes "
                      "lambda1 = " +
                      sans_blancs(pascal_reel(et.lambda, 8, 5)));
}

BilanAjustement ajuste_tries(EspaceTravail& et, Dialogues& d) {
    CurseurOccupe occupe(d);
    trie_mesures(et);
    return ajuste_positions(et);
}

} // namespace

Rafraichissement remplit_grille_pics(EspaceTravail& et, EtatFenetreProfil& etat) {
    etat.grille_videe = false;
    return remplit_grille_mesures(et); // the peak grid with the main window's tables
}

Couleur peint_cellule_g2(const EspaceTravail& et, int ligne) {
    if (ligne < 1 || ligne > et.mesures.taille()) return noir;
    return couleur_genre_raie(et.mesures[ligne].code_raie);
}

Rafraichissement pointe_raies_diag(EtatPrincipal& ep) {
    ep.pointage_diagramme = true;
    ep.boutons_pics = true; // the peaks measured there are listed, saved and erased on tab 1
    Rafraichissement r{Change::vues};
    r.montre_fenetre_profil = true;
    return r;
}

Rafraichissement init_active(EspaceTravail& et, EtatFenetreProfil& etat) {
    active_fenetre_profil(etat);
    return remplit_grille_pics(et, etat).marque({Change::profil});
}

Rafraichissement retour(EspaceTravail& et, EtatFenetreProfil& etat) {
    ferme_recherche(et);
    etat.panneau_recherche = false;
    Rafraichissement r{Change::profil, Change::vues};
    r.ferme_fenetre_profil = true;
    r.montre_diagramme = true;
    return r;
}

Rafraichissement WINFITFormatdat1Click(EtatFenetreProfil& etat) {
    etat.panneau_recherche = false;
    return {Change::profil};
}

Rafraichissement OnMouseUp(EspaceTravail& et, EtatFenetreProfil& etat, int largeur, int hauteur,
                           BoutonSouris bouton, Point relache, Dialogues& d) {
    return suite_profil(et, etat, relache_profil(et, etat, largeur, hauteur, bouton, relache, d));
}

Rafraichissement modifie_echelle(EtatFenetreProfil& etat, int position) {
    return redessin_profil(echelle_profil(etat, position));
}

Rafraichissement shifte_spectre(EspaceTravail& et, EtatFenetreProfil& etat, int position) {
    return redessin_profil(decale_profil(et, etat, position)).marque({Change::plage});
}

Rafraichissement reset_diagramme(EspaceTravail& et, EtatFenetreProfil& etat) {
    return redessin_profil(plage_complete_profil(et, etat)).marque({Change::plage});
}

Rafraichissement efface_mesures(EspaceTravail& et, EtatFenetreProfil& etat) {
    return suite_profil(et, etat, vide_mesures_profil(et));
}

Rafraichissement efface_fichier(EspaceTravail& et, EtatFenetreProfil& etat) {
    return suite_profil(et, etat, retire_profil(et)).marque({Change::fichiers});
}

Rafraichissement on_double_click(EspaceTravail& et, EtatFenetreProfil& etat) {
    return suite_profil(et, etat, retire_ligne_choisie(et, etat));
}

Rafraichissement set_derivee_seconde(EtatFenetreProfil& etat) {
    return redessin_profil(bascule_derivee(etat));
}

Rafraichissement peak_search(EspaceTravail& et, EtatFenetreProfil& etat, Dialogues& d) {
    auto contamination = prepare_recherche(et, d);
    if (!contamination) return {};
    etat.contamination = std::move(*contamination);
    etat.panneau_recherche = true;
    etat.grille_videe = true;
    etat.recherche_lancee = false;
    return {Change::mesures, Change::profil};
}

Rafraichissement go_peaksearch(EspaceTravail& et, EtatFenetreProfil& etat,
                               const LimitesRecherche& limites,
                               const ChampsContamination& contamination, Dialogues& d) {
    lance_recherche(et, limites, contamination, d);
    note_significativites(et);
    etat.recherche_lancee = true;
    return remplit_grille_pics(et, etat).marque({Change::profil});
}

Rafraichissement go_peaksearch_statistique(EspaceTravail& et, EtatFenetreProfil& etat,
                                           const ReglagesStatistiques& reglages,
                                           const ChampsContamination& contamination, Dialogues& d) {
    cherche_pics_statistiques(et, reglages, contamination, d);
    d.bip();
    etat.recherche_lancee = true;
    return remplit_grille_pics(et, etat).marque({Change::profil});
}

namespace {

ReglagesStatistiques reglages_de(const LimitesRecherche& limites) {
    return {ReglagesStatistiques{}.k, limites.largeur_min, limites.largeur_max};
}

// The search of the panel's method, once one has run since the panel opened.
Rafraichissement apercu(EspaceTravail& et, EtatFenetreProfil& etat) {
    Rafraichissement r{Change::profil};
    if (!etat.panneau_recherche || !etat.recherche_lancee) return r;
    DialoguesEnregistres muets;
    const LimitesRecherche limites = limites_courantes(et.recherche);
    if (etat.methode == MethodeRecherche::statistique)
        r.ajoute(
            go_peaksearch_statistique(et, etat, reglages_de(limites), etat.contamination, muets));
    else
        r.ajoute(go_peaksearch(et, etat, limites, etat.contamination, muets));
    return r;
}

} // namespace

Rafraichissement cherche_avec_methode(EspaceTravail& et, EtatFenetreProfil& etat, Dialogues& d) {
    const LimitesRecherche limites = limites_courantes(et.recherche);
    const ReglagesStatistiques reglages = reglages_de(limites);
    if (etat.methode == MethodeRecherche::statistique)
        return go_peaksearch_statistique(et, etat, reglages, etat.contamination, d);
    Rafraichissement r = go_peaksearch(et, etat, limites, etat.contamination, d);
    const auto offre = offre_methode_statistique(et, reglages.k);
    if (!offre || d.confirmation(*offre) != Reponse::oui) return r;
    etat.methode = MethodeRecherche::statistique;
    r.ajoute(go_peaksearch_statistique(et, etat, reglages, etat.contamination, d));
    return r;
}

Rafraichissement bouge_limite(EspaceTravail& et, EtatFenetreProfil& etat, LimiteRecherche quelle,
                              int position) {
    limite(et.recherche, quelle) = limite_de_position(quelle, position);
    return apercu(et, etat);
}

Rafraichissement tape_limite(EspaceTravail& et, EtatFenetreProfil& etat, LimiteRecherche quelle,
                             const Saisie& saisie, Dialogues& d) {
    const double valeur = saisie.nombre() ? saisie.valeur : std::nan("");
    if (const auto r = refus_limite(et.recherche, quelle, valeur)) return refus(d, *r);
    limite(et.recherche, quelle) = valeur;
    return apercu(et, etat);
}

Rafraichissement choisit_methode(EspaceTravail& et, EtatFenetreProfil& etat, MethodeRecherche m) {
    etat.methode = m;
    return apercu(et, etat);
}

Rafraichissement fin_de_search(EspaceTravail& et, EtatFenetreProfil& etat) {
    ferme_recherche(et);
    etat.panneau_recherche = false;
    return {Change::profil};
}

Rafraichissement kill_alpha2(const EspaceTravail& et, EtatFenetreProfil& etat) {
    if (!choix_genres_possible(et)) return {};
    etat.panneau_recherche = false;
    etat.panneau_genres = true;
    return {Change::profil};
}

Rafraichissement BitBtn7Click(EspaceTravail& et, EtatFenetreProfil& etat,
                              const std::array<bool, nb_genres_raie>& gardes) {
    garde_genres_choisis(et, gardes);
    etat.panneau_genres = false;
    return remplit_grille_pics(et, etat).marque({Change::profil});
}

Rafraichissement fit_peak_positions(EspaceTravail& et, EtatPrincipal& ep, EtatFenetreProfil& etat,
                                    Dialogues& d) {
    if (et.profil.vide()) return refus(d, "No diagram!");
    if (et.mesures.vide()) return refus(d, "No measured peaks!");
    const BilanAjustement bilan = ajuste_tries(et, d);
    const bool nouvelle_lambda =
        bilan.doublet && bilan.ajustes > 0 && et.lambda != et.entete_profil.lambda1;
    if (nouvelle_lambda) et.lambda = et.entete_profil.lambda1;
    informe_ajustement(et, bilan, d);
    Rafraichissement r{Change::plage, Change::profil};
    if (nouvelle_lambda && !et.calculees.vide()) r.ajoute(entree_lambda(et, ep));
    et.selection.efface();
    r.ajoute(selection_videe(ep));
    r.ajoute(remplit_grille_pics(et, etat));
    return r;
}

Rafraichissement change_data_diag(EspaceTravail& et, EtatPrincipal& ep, const Saisie& deux_theta1,
                                  const Saisie& deux_theta2, Dialogues& d) {
    // Both boxes are checked before anything changes.
    if (!deux_theta1.nombre()) return refus(d, "Theta min error");
    if (!deux_theta2.nombre()) return refus(d, "Theta max error");
    const double facteur = mode_theta(et) ? 2.0 : 1.0;
    const double debut = deux_theta1.valeur * facteur, fin = deux_theta2.valeur * facteur;
    if (const Refus r = refus_plage(debut, fin)) return refus(d, *r);
    et.angle_min = et.angle_min_initial = debut;
    et.angle_max = et.angle_max_initial = fin;
    et.etendue = et.angle_max - et.angle_min;
    et.entete_profil.angle_debut = debut;
    et.entete_profil.angle_fin = fin;
    Rafraichissement r{Change::plage, Change::fichiers, Change::profil};
    // The profile header's anode and wavelengths are not touched by the read.
    if (!et.profil.vide()) relit_profil_dans_domaine(et, et.angle_min, et.angle_max, d);
    // The measured reflections are read again within the new range (the list
    // in memory when it came from no file that can be read again).
    if (!et.mesures.vide()) {
        relit_mesures_dans_domaine(et, et.angle_min, et.angle_max, d);
        r.ajoute(remplit_grille_mesures(et));
    }
    if (!et.calculees.vide()) {
        // "Calc." reads the range from "Current values", which now shows the new one.
        affiche_valeurs_courantes(et, ep.maille);
        r.ajoute(calcul_diagramme(et, ep, d));
    }
    return r;
}

} // namespace kovrin
