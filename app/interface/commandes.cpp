#include "interface/commandes.h"

#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/domaines.h"
#include "cristallo/raies.h"
#include "interface/prise_donnees.h"
#include "interface/saisie_mesures.h"
#include "interface/session_batch.h"

#include <algorithm>
#include <optional>

namespace kovrin {

namespace {

// The list in ascending angle: below the range skipped, the first beyond ends it.
template <typename Liste, typename Angle>
Liste dans_domaine(const Liste& liste, double debut, double fin, Angle angle) {
    Liste gardes;
    for (const auto& element : liste) {
        double a = angle(element);
        if (a > fin) break;
        if (a >= debut) gardes.ajoute(element);
    }
    return gardes;
}

// Intensities of the kept points scaled again: smallest 0, largest 100, the
// raw extremes following.
void reechelonne_profil(EspaceTravail& et) {
    if (et.profil.vide()) return;
    auto [bas, haut] = std::minmax_element(
        et.profil.begin(), et.profil.end(),
        [](const PointProfil& a, const PointProfil& b) { return a.intensite < b.intensite; });
    float min = bas->intensite, max = haut->intensite;
    et.intensite_max_profil = max;
    if (max <= min) return; // all equal: nothing to scale
    EnteteProfil& e = et.entete_profil;
    double brut_par_unite = (e.intensite_max_brute - e.intensite_min_brute) / 100.0;
    double brut_min = min * brut_par_unite + e.intensite_min_brute;
    e.intensite_max_brute = max * brut_par_unite + e.intensite_min_brute;
    e.intensite_min_brute = brut_min;
    for (PointProfil& p : et.profil)
        p.intensite = (p.intensite - min) * 100.0f / (max - min);
    et.intensite_max_profil = 100.0f;
}

// The measured list emptied: the lambda box and the peak panel go with it.
Rafraichissement mesures_effacees(EtatPrincipal& ep) {
    ep.maille.lambda = Saisie{};
    return {Change::mesures, Change::fichiers};
}

} // namespace

Rafraichissement demarre_programme(EspaceTravail& et, EtatPrincipal& ep,
                                   const std::filesystem::path& repertoire) {
    travaille_dans(et, repertoire);
    efface_resultats_anciens(repertoire);
    remplit_tableaux(et, ep.affinement);
    affiche_initial(et, ep.affinement);
    ep.tolerance = Saisie::de_valeur(et.tolerance);
    Rafraichissement r;
    r.changes = tout_change;
    return r;
}

Rafraichissement active_principale(EtatPrincipal& ep) {
    ep.ligne_pic_courante = -1;
    ep.mesure_en_attente = false;
    Rafraichissement r{Change::vues};
    r.montre_diagramme = true;
    return r;
}

Rafraichissement load_fichier_raie(EtatPrincipal& ep) {
    ep.boutons_pics = true;
    return {Change::vues};
}

Grille tableau_calcule(const EspaceTravail& et) {
    Grille g;
    for (const LigneTable& ligne : affiche_raies_calculees(et))
        g.lignes.emplace_back(ligne.begin(), ligne.end());
    g.nb_lignes = static_cast<int>(g.lignes.size());
    return g;
}

Grille tableau_calcule_montre(const EspaceTravail& et, const EtatPrincipal& ep) {
    Grille g = tableau_calcule(et);
    if (ep.raies_masquees) g.lignes.resize(1);
    return g;
}

void relit_mesures_dans_domaine(EspaceTravail& et, double debut, double fin, Dialogues& d) {
    const EntetePics& e = et.entete_pics;
    bool colonne = e.format_pics == pics_prn || e.format_pics == pics_colonne;
    int format = colonne ? pics_colonne : format_pics_par_nom(e.fichier_pics);
    if (format != pics_colonne) { // a column file is not read again: the list in memory serves
        if (auto lus = lit_fichier_pics(format, e.fichier_pics, d)) {
            decltype(et.mesures) relues;
            for (const PicLu& p : lus->pics)
                relues.ajoute({p.angle, p.angle, p.intensite});
            et.mesures = relues;
        }
    }
    et.mesures =
        dans_domaine(et.mesures, debut, fin, [](const Mesure& m) { return m.deux_theta_mes; });
}

void relit_profil_dans_domaine(EspaceTravail& et, double debut, double fin, Dialogues& d) {
    const std::string& nom = et.entete_profil.fichier_profil;
    int format = format_profil_de_nom(nom, 0);
    if (format == 0) return;
    auto lu = lit_fichier_profil(format, nom, et, d);
    if (!lu) return;
    EnteteProfil& e = et.entete_profil;
    e.intensite_max_brute = lu->intensite_max_brute;
    e.intensite_min_brute = lu->intensite_min_brute;
    decltype(et.profil) points;
    for (const PointProfil& p : lu->points)
        points.ajoute(p);
    et.profil = dans_domaine(points, debut, fin, [](const PointProfil& p) { return p.angle; });
    reechelonne_profil(et);
}

Rafraichissement relit_theta_range(EspaceTravail& et, const OngletMaille& onglet, Dialogues& d) {
    d.bip();
    if (d.confirmation("The initial angle range will be lost. Do you want to continue?") !=
            Reponse::oui ||
        et.lambda == 0)
        return {};
    // Empty fields read as 0, as every number field of the window does.
    if (onglet.lambda.etat == Saisie::Etat::illisible) return refus(d, "Error at lambda");
    if (onglet.theta_min.etat == Saisie::Etat::illisible) return refus(d, "Error at Theta Min.");
    if (onglet.theta_max.etat == Saisie::Etat::illisible) return refus(d, "Error at Theta Max.");
    const double facteur = mode_theta(et) ? 2.0 : 1.0;
    const double debut = onglet.theta_min.valeur * facteur, fin = onglet.theta_max.valeur * facteur;
    if (const Refus r = refus_lambda(onglet.lambda.valeur)) return refus(d, *r);
    if (const Refus r = refus_plage(debut, fin)) return refus(d, *r);
    et.lambda = onglet.lambda.valeur;
    et.angle_min = et.angle_min_initial = debut;
    et.angle_max = et.angle_max_initial = fin;
    et.etendue = et.angle_max - et.angle_min;
    Rafraichissement r{Change::plage, Change::profil};
    if (!et.profil.vide() && !et.entete_profil.fichier_profil.empty())
        relit_profil_dans_domaine(et, et.angle_min, et.angle_max, d);
    if (!et.mesures.vide()) {
        relit_mesures_dans_domaine(et, et.angle_min, et.angle_max, d);
        r.ajoute(remplit_grille_mesures(et));
    }
    if (!et.calculees.vide() && calcul_raies(et, onglet, d)) r.marque({Change::calculees});
    return r;
}

Rafraichissement entree_lambda(EspaceTravail& et, EtatPrincipal& ep) {
    et.calculees.efface();
    efface_panneaux(ep.affinement);
    return {Change::calculees, Change::resultats};
}

Rafraichissement erase_peak(EspaceTravail& et, EtatPrincipal& ep) {
    et.mesures.efface();
    efface_longueurs_onde(et.entete_pics, et.entete_pics.fichier_pics);
    et.selection.efface();
    Rafraichissement r = mesures_effacees(ep);
    r.ajoute(selection_videe(ep));
    return r;
}

Rafraichissement erase_profil(EspaceTravail& et) {
    et.profil.efface();
    efface_longueurs_onde(et.entete_profil, et.entete_profil.fichier_profil);
    return {Change::profil, Change::fichiers};
}

Rafraichissement erase_indx(EspaceTravail& et, EtatPrincipal& ep) {
    et.calculees.efface();
    et.fichier_maille.clear();
    et.selection.efface();
    Rafraichissement r = selection_videe(ep);
    r.marque({Change::calculees});
    return r;
}

Rafraichissement raze_tout(EspaceTravail& et, EtatPrincipal& ep) {
    Rafraichissement r = erase_peak(et, ep);
    r.ajoute(erase_profil(et));
    r.ajoute(erase_indx(et, ep));
    et.lambda = et.lambda1 = et.lambda2 = 0;
    et.anode.clear();
    et.angle_min = et.angle_max = et.angle_min_initial = et.angle_max_initial = 0;
    et.etendue = 0;
    return r.marque({Change::plage});
}

Rafraichissement rase_dif(EspaceTravail& et, EtatPrincipal& ep) {
    et.mesures.efface();
    return mesures_effacees(ep);
}

Rafraichissement rase_raies_indx(EspaceTravail& et) {
    et.calculees.efface();
    return {Change::calculees};
}

Rafraichissement calcul_diagramme(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d) {
    if (lit_onglet_maille(et, ep.maille, d) == LectureOnglet::erreur) return echoue();
    et.selection.efface();
    et.maille_initiale = et.maille;
    Rafraichissement r = selection_videe(ep);
    if (!calcul_raies(et, ep.maille, d)) return echoue();
    ep.raies_masquees = false;
    if (!et.calculees.vide()) affiche_initial(et, ep.affinement);
    return r.marque({Change::calculees, Change::plage}); // and the profile window's range
}

Rafraichissement change_angles(EspaceTravail& et, EtatPrincipal& ep, int mode) {
    et.mode_affichage = mode == 0 ? 0 : 1;
    Rafraichissement r = remplit_grille_mesures(et);
    remplit_tableaux(et, ep.affinement);
    return r.marque({Change::mode, Change::plage, Change::resultats});
}

} // namespace kovrin
