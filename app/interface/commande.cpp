#include "interface/commande.h"

namespace kovrin {

void suit_champs_montres(const Rafraichissement& r, const EspaceTravail& et, EtatPrincipal& ep) {
    if (r.a_change(Change::plage) || r.a_change(Change::mode))
        affiche_valeurs_courantes(et, ep.maille);
    else if (r.a_change(Change::mesures) && !et.mesures.vide())
        ep.maille.lambda = Saisie::de_valeur(et.lambda);
}

Rafraichissement interrompue(const ErreurKovrin& e, Dialogues& d) {
    d.erreur(e.what());
    Rafraichissement r = echoue();
    r.fin_programme = dynamic_cast<const ArretProgramme*>(&e) != nullptr;
    return r;
}

} // namespace kovrin
