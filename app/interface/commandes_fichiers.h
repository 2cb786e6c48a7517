#pragma once
// Commands that save peaks and profiles and show the text reports of the
// "Edit" menu.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/sauvegarde.h"

#include <string>

namespace kovrin {

inline const std::string filtre_sauvegarde_principale =
    "Bruker Format (*.dif)|*.dif|Column Format (*.prn)|*.prn|Brucker Format (*.raw)|*.raw|"
    "CPI Format (*.cpi)|*.cpi";
inline const std::string filtre_sauvegarde_profil =
    "Bruker Format (*.dif)|*.dif|Culumn Format (*.prn)|*.prn|Brucker Format (*.raw)|*.raw|"
    "CPI Format (*.cpi)|*.cpi";

// A save entry of the main window (or, `fenetre_profil`, of the profile
// window): the check, the save dialog at the entry's filter, the file written.
Rafraichissement sauve(EspaceTravail& et, Sauvegarde s, ChoixFichier& choix, Dialogues& d,
                       bool fenetre_profil = false);

// Edit > "Measured peaks", "Calculated Peaks", "Raw diagram ": the report
// written and shown; "No measured peaks!", "No calculated peaks!", "No diagram!".
Rafraichissement edit_fichier_dif(const EspaceTravail& et, Dialogues& d);
Rafraichissement edit_raies_calculees(const EspaceTravail& et, Dialogues& d);
Rafraichissement edit_raw(const EspaceTravail& et, Dialogues& d);

// Options > "Working folder...": the results go to the folder chosen from now
// on; one the program cannot write is refused and nothing changes.
Rafraichissement change_repertoire_travail(EspaceTravail& et, ChoixFichier& choix, Dialogues& d);

} // namespace kovrin
