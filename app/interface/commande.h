#pragma once
// The command boundary: every user command of the windows and of kovrin-batch
// runs through `execute`. A command that fails, whether by a run-time check
// (ErreurKovrin, its message shown in an error box) or by a message it showed
// itself, leaves the workspace and the main window's state as it found them,
// unless it says it keeps what it did (`garde_partiel`). ArretProgramme also
// ends the program.
#include "commun/dialogues.h"
#include "commun/erreur.h"
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"

#include <utility>

namespace kovrin {

// The fields of "Current values" show the workspace's values, in full, once
// the range changed; the lambda box also once the measured list changed (its
// spacings are at the working wavelength).
void suit_champs_montres(const Rafraichissement& r, const EspaceTravail& et, EtatPrincipal& ep);

// The answer of a command that ended on `e`.
Rafraichissement interrompue(const ErreurKovrin& e, Dialogues& d);

template <typename Commande>
Rafraichissement execute(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d, Commande&& commande) {
    EspaceTravail avant = et;
    EtatPrincipal avant_principal = ep;
    Rafraichissement r;
    try {
        r = std::forward<Commande>(commande)();
    } catch (const ErreurKovrin& e) {
        r = interrompue(e, d);
    }
    if (r.echec && !r.garde_partiel) {
        et = std::move(avant);
        ep = std::move(avant_principal);
    } else {
        suit_champs_montres(r, et, ep);
    }
    return r;
}

} // namespace kovrin
