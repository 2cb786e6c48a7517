#include "interface/historique.h"

namespace kovrin {

bool change_donnees(const Rafraichissement& r) {
    return r.a_change_un({Change::mesures, Change::calculees, Change::paires, Change::resultats,
                          Change::maille, Change::plage, Change::fichiers, Change::profil});
}

void Historique::repart(const EspaceTravail& et, const EtatPrincipal& ep) {
    courant_ = {et, ep};
    passe_.clear();
    futur_.clear();
    modifications_ = sauve_a_ = 0;
}

void Historique::apres(const Rafraichissement& r, const EspaceTravail& et, const EtatPrincipal& ep,
                       bool annulable) {
    if (annulable && !r.echec && change_donnees(r)) {
        passe_.push_back(std::move(courant_));
        if (passe_.size() > profondeur) passe_.pop_front();
        futur_.clear();
        ++modifications_;
    }
    if (r.ecrit) sauve_a_ = modifications_;
    courant_ = {et, ep};
}

Rafraichissement Historique::va(std::deque<Etat>& depuis, std::deque<Etat>& vers, Etat& courant,
                                EspaceTravail& et, EtatPrincipal& ep) {
    if (depuis.empty()) return {};
    vers.push_back({std::move(et), std::move(ep)});
    courant = std::move(depuis.back());
    depuis.pop_back();
    et = courant.et;
    ep = courant.ep;
    Rafraichissement r;
    r.changes = tout_change;
    return r;
}

Rafraichissement Historique::annule(EspaceTravail& et, EtatPrincipal& ep) {
    if (!passe_.empty()) ++modifications_;
    return va(passe_, futur_, courant_, et, ep);
}

Rafraichissement Historique::refait(EspaceTravail& et, EtatPrincipal& ep) {
    if (!futur_.empty()) ++modifications_;
    return va(futur_, passe_, courant_, et, ep);
}

} // namespace kovrin
