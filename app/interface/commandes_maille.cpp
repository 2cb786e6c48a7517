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

Rafraichissement apres_choix_groupe(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d) {
    const bool genere = calcul_raies(et, ep.maille, d);
    Rafraichissement r{Change::maille};
    r.echec = !genere;
    r.garde_partiel = true; // the group chosen stays chosen
    if (genere) {
        ep.raies_masquees = false;
        r.marque({Change::calculees});
    }
    return r;
}

} // namespace

Rafraichissement enter_keyb_param(EtatPrincipal& ep) {
    ep.boutons_maille = true;
    return {Change::vues};
}

Rafraichissement set_systeme(EspaceTravail& et, EtatPrincipal& ep, int ligne) {
    change_systeme(et, ep.maille, ligne);
    return {Change::maille};
}

Rafraichissement entre_champ(EspaceTravail& et, EtatPrincipal& ep, int champ) {
    if (!champ_lie(champ)) return {};
    set_numero(et, ep.maille, champ);
    ep.raies_masquees = true;
    ep.origine_table = OrigineTable::saisie;
    efface_panneaux(ep.affinement);
    efface_resultats(ep.affinement);
    return {Change::maille, Change::calculees, Change::resultats};
}

Rafraichissement quitte_champ(EspaceTravail& et, EtatPrincipal& ep, int champ, Dialogues& d) {
    if (!champ_lie(champ)) return {};
    Rafraichissement r{Change::maille};
    if (!verification(et, ep.maille, d)) {
        r.echec = true;
        r.champ_focus = et.champ_actif;
    }
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
    Rafraichissement r = selection_videe(ep);
    affiche_initial(et, ep.affinement);
    ep.boutons_maille = true;
    ep.raies_masquees = false;
    if (suite.titre_change) ep.origine_table = OrigineTable::fichier_lu;
    return r.marque({Change::maille, Change::plage, Change::calculees, Change::vues});
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
    ep.origine_table = OrigineTable::fichier_ecrit;
    Rafraichissement r{Change::calculees};
    r.ecrit = true;
    return r;
}

Rafraichissement edit_print_raies_indx(const EspaceTravail& et, Dialogues& d) {
    liste_raies_indx(et, d);
    return {};
}

} // namespace kovrin
