#include "interface/commandes_maille.h"

#include "commun/texte.h"
#include "cristallo/groupes.h"
#include "cristallo/raies.h"
#include "fichiers/fichiers_maille.h"
#include "fichiers/rapports.h"
#include "interface/commandes.h"
#include "interface/sauvegarde.h"
#include "interface/session_batch.h"

#include <algorithm>

namespace kovrin {

namespace {

constexpr int champ_a = 1, champ_alpha = 4;

bool champ_lie(int champ) {
    return champ == champ_a || champ == champ_alpha;
}

Rafraichissement tab_et_listes(const EspaceTravail& et, const EtatPrincipal& ep) {
    Rafraichissement r;
    r.onglet_maille = ep.maille;
    r.liste_hm = et.liste_hm;
    r.liste_orsab = et.liste_orsab;
    return r;
}

// After a generation that ran: the tables of the reflections and the diagram.
void montre_raies(const EspaceTravail& et, Rafraichissement& r) {
    r.tableau_calcule = tableau_calcule(et);
    r.grille_calculees_selection = grille_calculees_selection(et);
    r.redessine = true;
}

Rafraichissement apres_choix_groupe(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d) {
    Rafraichissement r = tab_et_listes(et, ep);
    const bool genere = calcul_raies(et, ep.maille, d);
    r.liste_hm = et.liste_hm;
    r.liste_orsab = et.liste_orsab;
    r.echec = !genere;
    if (genere) montre_raies(et, r);
    return r;
}

} // namespace

Rafraichissement enter_keyb_param() {
    Rafraichissement r;
    r.boutons_maille = true;
    return r;
}

Rafraichissement set_systeme(EspaceTravail& et, EtatPrincipal& ep, int ligne) {
    change_systeme(et, ep.maille, ligne);
    return tab_et_listes(et, ep);
}

Rafraichissement entre_champ(EspaceTravail& et, EtatPrincipal& ep, int champ) {
    if (!champ_lie(champ)) return {};
    set_numero(et, ep.maille, champ);
    Rafraichissement r;
    r.onglet_maille = ep.maille;
    r.tableau_calcule = tableau_calcule_vide(et);
    r.grille_calculees_selection = grille_calculees_selection_vide(et);
    r.vide_resultats = r.vide_parametres = true;
    r.titre_table = titre_table_initial;
    r.redessine = true; // the diagram loses its calculated reflections too
    return r;
}

Rafraichissement quitte_champ(EspaceTravail& et, EtatPrincipal& ep, int champ, Dialogues& d) {
    if (!champ_lie(champ)) return {};
    Rafraichissement r;
    if (!verification(et, ep.maille, d)) {
        r.echec = true;
        r.champ_focus = et.champ_actif;
    }
    r.onglet_maille = ep.maille;
    return r;
}

Rafraichissement selecte_groupe_hm(EspaceTravail& et, EtatPrincipal& ep, int entree, Dialogues& d) {
    choisit_groupe_hm(et, entree);
    return apres_choix_groupe(et, ep, d);
}

Rafraichissement selecte_groupe_orsab(EspaceTravail& et, EtatPrincipal& ep, int entree,
                                      Dialogues& d) {
    choisit_groupe_orsab(et, entree);
    return apres_choix_groupe(et, ep, d);
}

Rafraichissement importe_maille(EspaceTravail& et, EtatPrincipal& ep, ChoixFichier& choix,
                                int index, Dialogues& d) {
    const std::filesystem::path fichier = choix.ouvrir(filtre_maille_ouverture, index);
    if (fichier.empty()) return {};
    return prend_fichier_maille(et, ep, fichier, d);
}

Rafraichissement prend_fichier_maille(EspaceTravail& et, EtatPrincipal& ep,
                                      const std::filesystem::path& fichier, Dialogues& d) {
    const auto lue = lit_fichier_maille(fichier, d);
    if (!lue) return echoue();
    prend_maille_lue(et, fichier, *lue, d);
    const SuiteLecture suite = calcul_apres_lecture(et, ep.maille, d);
    Rafraichissement r = selection_videe(et);
    r.ajoute(tab_et_listes(et, ep));
    r.boutons_maille = true;
    r.table_parametres = true;
    r.valeurs_courantes = panneau_valeurs_courantes(et);
    r.tableau_calcule = tableau_calcule(et);
    r.grille_calculees_selection = grille_calculees_selection(et);
    if (suite.titre_change) r.titre_table = suite.titre;
    r.redessine = true;
    return r;
}

Rafraichissement sauve_maille(EspaceTravail& et, EtatPrincipal& ep, ChoixFichier& choix,
                              Dialogues& d) {
    if (lit_onglet_maille(et, ep.maille, d) == LectureOnglet::erreur) return echoue();
    if (std::any_of(et.maille.begin(), et.maille.end(), [](double v) { return v == 0; }))
        return refus(d, "No cell parameters!"); // the save dialog is not opened
    const std::filesystem::path nom = choix.enregistrer(filtre_maille_enregistrement, 1);
    if (nom.empty()) return {};
    const std::string fichier = avec_extension(nom.string(), ".cry");
    if (!ecrasement_accepte(fichier, d)) return {};
    ecrit_maille_cry(fichier, {et.ligne_titre, et.systeme, et.groupe, et.maille});
    et.fichier_maille = fichier;
    et.maille_initiale = et.maille;
    Rafraichissement r;
    r.titre_table = "Calculated pattern (" + nom_sans_repertoire(fichier) + ")";
    r.redessine = true;
    return r;
}

Rafraichissement edit_print_raies_indx(const EspaceTravail& et, Dialogues& d) {
    liste_raies_indx(et, d);
    return {};
}

} // namespace kovrin
