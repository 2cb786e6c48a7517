#pragma once
// Undo and redo of the commands that changed data. The history keeps the
// workspace and the main window's state as the last command left them; a
// command that changed data pushes that copy, so that what the user typed
// between two commands belongs to the command that took it.
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"

#include <cstddef>
#include <deque>

namespace kovrin {

class Historique {
  public:
    // The state after the program's start, or after a command that must not be undone.
    void repart(const EspaceTravail& et, const EtatPrincipal& ep);
    // After each command: one step more when it changed data and did not fail
    // (`annulable` false: a step of no interest, such as entering a field).
    void apres(const Rafraichissement& r, const EspaceTravail& et, const EtatPrincipal& ep,
               bool annulable = true);

    bool peut_annuler() const { return !passe_.empty(); }
    bool peut_refaire() const { return !futur_.empty(); }
    // Data changed since the start or the last command that wrote the work
    // to a file (or opened the export).
    bool non_sauve() const { return modifications_ != sauve_a_; }
    // The state before the last step (after the last undone one), shown in full.
    Rafraichissement annule(EspaceTravail& et, EtatPrincipal& ep);
    Rafraichissement refait(EspaceTravail& et, EtatPrincipal& ep);

    static constexpr std::size_t profondeur = 30;

  private:
    struct Etat {
        EspaceTravail et;
        EtatPrincipal ep;
    };
    static Rafraichissement va(std::deque<Etat>& depuis, std::deque<Etat>& vers, Etat& courant,
                               EspaceTravail& et, EtatPrincipal& ep);

    Etat courant_;
    long long modifications_ = 0, sauve_a_ = 0;
    std::deque<Etat> passe_, futur_;
};

// The flags of a change of data (not of a view alone).
bool change_donnees(const Rafraichissement& r);

} // namespace kovrin
