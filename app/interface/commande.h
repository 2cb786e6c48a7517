#pragma once
// The command boundary: every user command of the windows and of kovrin-batch
// runs through `execute`. A failed run-time check (ErreurKovrin) ends the
// command with its message in an error box and puts the workspace back as it
// was before the command; ArretProgramme also ends the program. The requests
// for the refinement tab are then turned into its texts.
#include "commun/dialogues.h"
#include "commun/erreur.h"
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"

#include <utility>

namespace kovrin {

// Applies the refinement-tab requests of `r` to `ep.affinement` and, when
// there were any, hands the tab's texts to the window.
void complete_onglet_affinement(Rafraichissement& r, const EspaceTravail& et, EtatPrincipal& ep);

// The fields of "Current values" and the refinement tab's lambda box that `r`
// rewrites with the workspace's values take those values, in full; the cell
// tab `r` shows is the one the command left.
void suit_champs_montres(Rafraichissement& r, const EspaceTravail& et, EtatPrincipal& ep);

// The answer of a command that ended on `e`.
Rafraichissement interrompue(const ErreurKovrin& e, Dialogues& d);

template <typename Commande>
Rafraichissement execute(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d, Commande&& commande) {
    EspaceTravail avant = et;
    Rafraichissement r;
    try {
        r = std::forward<Commande>(commande)();
    } catch (const ErreurKovrin& e) {
        et = std::move(avant);
        return interrompue(e, d);
    }
    complete_onglet_affinement(r, et, ep);
    suit_champs_montres(r, et, ep);
    return r;
}

} // namespace kovrin
