#pragma once
// Commands of the cell tab "Initial cell parameters": the system list, the
// cell fields, the two symbol lists, cell files in and out, and the listing of
// the calculated reflections.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"

#include <filesystem>
#include <string>

namespace kovrin {

inline const std::string filtre_maille_ouverture = "KovRin Format (*.cry)|*.cry|ICSD Format|*.ics";
inline const std::string filtre_maille_enregistrement = "KOVRIN Format (*.cry)|*.cry";

// Button "Keyboard" of tab 2 (and "File" before its menu): the cell panels
// and the buttons "Save" and "Erase" shown.
Rafraichissement enter_keyb_param(EtatPrincipal& ep);

// Click on row `ligne` of the list "System": both symbol lists refilled, the
// fields and "To refine" marks follow the system.
Rafraichissement set_systeme(EspaceTravail& et, EtatPrincipal& ep, int ligne);

// A cell field (1 ... 6) takes the focus. Entering a or alpha remembers the
// field and empties the tables that showed the old cell's reflections.
Rafraichissement entre_champ(EspaceTravail& et, EtatPrincipal& ep, int champ);
// A cell field loses the focus. Leaving a or alpha copies its text where the
// system ties the parameters; "Type error!" gives the focus back to it.
Rafraichissement quitte_champ(EspaceTravail& et, EtatPrincipal& ep, int champ, Dialogues& d);

// Click on entry `entree` of the H-M list (or of the list with the Hall
// notation): the group is chosen, the tab read and the reflections generated.
Rafraichissement selecte_groupe_hm(EspaceTravail& et, EtatPrincipal& ep, int entree, Dialogues& d);
Rafraichissement selecte_groupe_orsab(EspaceTravail& et, EtatPrincipal& ep, int entree,
                                      Dialogues& d);

// File > Open > Cell File: the open dialog at `index` (1 ".cry", 2 ".ics"),
// then the file taken in.
Rafraichissement importe_maille(EspaceTravail& et, EtatPrincipal& ep, ChoixFichier& choix,
                                int index, Dialogues& d);
// A cell file taken in by its name (".ics" ICSD, else ".cry"): the cell, the
// system and group with both symbol lists, the fields, and the reflections.
Rafraichissement prend_fichier_maille(EspaceTravail& et, EtatPrincipal& ep,
                                      const std::filesystem::path& fichier, Dialogues& d);

// "Save" of tab 2 and File > Save > Cell: the tab read and checked, the save
// dialog, the overwrite question, the file written.
Rafraichissement sauve_maille(EspaceTravail& et, EtatPrincipal& ep, ChoixFichier& choix,
                              Dialogues& d);

// "Ed/Print": the short listing indx.out shown in the viewer.
Rafraichissement edit_print_raies_indx(const EspaceTravail& et, Dialogues& d);

} // namespace kovrin
