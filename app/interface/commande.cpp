#include "interface/commande.h"

namespace kovrin {

void complete_onglet_affinement(Rafraichissement& r, const EspaceTravail& et, EtatPrincipal& ep) {
    OngletAffinement& onglet = ep.affinement;
    if (r.vide_resultats) efface_panneaux(onglet);
    if (r.vide_parametres) efface_resultats(onglet);
    if (r.tableaux_affinement) {
        remplit_tableau_avant(et, onglet);
        remplit_tableau_apres(et, onglet);
    } else if (r.tableau_avant) {
        remplit_tableau_avant(et, onglet);
    }
    if (r.table_parametres) affiche_initial(et, onglet);
    const bool touche = r.vide_resultats || r.vide_parametres || r.tableaux_affinement ||
                        r.tableau_avant || r.table_parametres;
    if (touche || r.onglet_affinement) r.onglet_affinement = onglet;
}

void suit_champs_montres(Rafraichissement& r, const EspaceTravail& et, EtatPrincipal& ep) {
    if (r.valeurs_courantes) affiche_valeurs_courantes(et, ep.maille);
    if (r.edit_lambda)
        ep.maille.lambda = r.edit_lambda->empty() ? Saisie{} : Saisie::de_valeur(et.lambda);
    if (r.lambda_affinement) ep.affinement.lambda_initial = Saisie::de_valeur(et.lambda);
    if (r.onglet_maille) r.onglet_maille = ep.maille; // the tab as the command left it
}

Rafraichissement interrompue(const ErreurKovrin& e, Dialogues& d) {
    d.erreur(e.what());
    Rafraichissement r = echoue();
    r.fin_programme = dynamic_cast<const ArretProgramme*>(&e) != nullptr;
    return r;
}

} // namespace kovrin
