#pragma once
// Project files: the whole work in one JSON file (measured peaks with their
// as-read values and fits, the profile and its search settings, cell, group,
// calculated reflections, pairs, flags and results, and what the main window
// shows of them), so that it reopens to the same screens.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"

#include <filesystem>
#include <string>

namespace kovrin {

inline const std::string filtre_projet = "KOVRIN project (*.kovrin)|*.kovrin";

// The project as JSON text, and back. The working folder and the space-group
// data are the running program's own: `lit_projet` keeps those of `et`.
// lit_projet throws ErreurKovrin naming what is wrong; nothing changes then.
std::string texte_projet(const EspaceTravail& et, const EtatPrincipal& ep);
void lit_projet(const std::string& texte, EspaceTravail& et, EtatPrincipal& ep);

// File > "Save project...": the save dialog, the file written atomically.
Rafraichissement sauve_projet(const EspaceTravail& et, const EtatPrincipal& ep, ChoixFichier& choix,
                              Dialogues& d);
// The project file `fichier` taken in: every view shown again. A file that
// cannot be read leaves the work as it was.
Rafraichissement prend_projet(EspaceTravail& et, EtatPrincipal& ep,
                              const std::filesystem::path& fichier, Dialogues& d);
// File > "Open project...": the open dialog, then prend_projet.
Rafraichissement ouvre_projet(EspaceTravail& et, EtatPrincipal& ep, ChoixFichier& choix,
                              Dialogues& d);

} // namespace kovrin
