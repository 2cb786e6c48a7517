#pragma once
// The cell tab "Initial cell parameters": its texts and the rules that turn them
// into workspace values, make the fields follow the crystal system, and fill the
// table of calculated reflections. Windows copy their controls into an
// OngletMaille, call these procedures and show what comes back.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "commun/nombres.h"
#include "cristallo/systemes.h"

#include <array>
#include <string>
#include <vector>

namespace kovrin {

// Row of the list "System" for a code, -1 for an empty or unknown code.
int ligne_du_systeme(const std::string& code);

struct OngletMaille {
    int systeme_choisi = -1;       // selected row of the list "System", -1 none
    std::array<Saisie, 6> cellule; // fields a, b, c, alpha, beta, gamma
    Saisie lambda;                 // panel "Current values"
    Saisie theta_min, theta_max;   // in the unit shown (theta or 2theta)

    // Written by configure_champs.
    std::array<bool, 6> grise{};        // field shown silver
    std::array<bool, 8> coche_active{}; // "To refine": a b c alpha beta gamma, shift, lambda
    std::array<bool, 8> coche{};
};

enum class LectureOnglet {
    complete,   // every field read
    champ_vide, // stopped silently at an empty field
    erreur      // a field failed to convert (its message was shown)
};

// Reads system, group, cell, wavelength and range into the workspace; refills
// both symbol lists when a system is selected. Messages "Error on a" ...
// "Error on theta_max" for a text that is no number, then the domain's refusal
// ("a must be positive"); fields after a failing or empty one are not read,
// and after a refusal the cell, wavelength and range keep their values.
LectureOnglet lit_onglet_maille(EspaceTravail& et, const OngletMaille& onglet, Dialogues& d);

// Leaving field a or alpha (et.champ_actif): copies the text where the system
// ties the parameters and stores the value. False after "Type error!" (the
// window gives the focus back to the field).
bool verification(EspaceTravail& et, OngletMaille& onglet, Dialogues& d);

// Entering a cell field (1 ... 6): et.champ_actif, et.fichier_maille emptied,
// configure_champs. The window empties its tables and titles the table
// titre_table_initial.
inline const std::string titre_table_initial = "Calculated diagram";
void set_numero(EspaceTravail& et, OngletMaille& onglet, int champ);

// Click in the list "System" on row `ligne`.
void change_systeme(EspaceTravail& et, OngletMaille& onglet, int ligne);

// Greyed fields, tied texts and "To refine" marks for et.systeme.
void configure_champs(const EspaceTravail& et, OngletMaille& onglet);

// The fields take the workspace's cell, wavelength and range.
void affiche_maille(const EspaceTravail& et, OngletMaille& onglet);
void affiche_valeurs_courantes(const EspaceTravail& et, OngletMaille& onglet);

// What the fields show: a, b, c as 8:4, angles as 8:3, lambda 8:5, the range
// 8:2, the tolerance 6:3. A field the user left unreadable shows nothing new (nullopt): the
// window keeps the user's text.
std::optional<std::string> texte_parametre_maille(const Saisie& s, int rang);
std::optional<std::string> texte_lambda(const Saisie& s);
std::optional<std::string> texte_angle_domaine(const Saisie& s);
std::optional<std::string> texte_tolerance(const Saisie& s);

// Rows of the calculated-reflection table, header row first; max(15, n + 1) rows.
using LigneTable = std::array<std::string, 3>;
std::vector<LigneTable> affiche_raies_calculees(const EspaceTravail& et);

// What the window shows after calcul_apres_lecture.
struct SuiteLecture {
    bool raies = false;        // reflections were generated: refresh the tables
    bool titre_change = false; // the table is titled by the cell file
    bool redessine = false;    // redraw the diagram window
};

// After a cell file was read into the workspace: the list "System" shows its
// system, fields and texts of the current values follow the workspace, the
// selected pairs are emptied, the tab is read and the reflections generated.
SuiteLecture calcul_apres_lecture(EspaceTravail& et, OngletMaille& onglet, Dialogues& d);

} // namespace kovrin
