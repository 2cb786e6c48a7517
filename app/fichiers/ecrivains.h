#pragma once
// Writers of peak and profile files (DIFFRAC-AT DIF2 and RAW2, one-column
// peak angles, Sietronics CPI) and the save sequence shared by the main and
// profile windows. Every file written is read back by the matching reader.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kovrin {

// Each writer creates or replaces the file; throws ErreurKovrin on an
// input/output error.
void ecrit_pics_dif(const EspaceTravail& et, const std::filesystem::path& fichier);
void ecrit_pics_colonne(const EspaceTravail& et, const std::filesystem::path& fichier);
// Needs 2 to 32767 points (see profil_sauvable).
void ecrit_profil_raw(const EspaceTravail& et, const std::filesystem::path& fichier);
// Needs at least 2 points.
void ecrit_profil_cpi(const EspaceTravail& et, const std::filesystem::path& fichier);

// Today's date in the user's short date format.
std::string date_du_jour();

// The save entries of the main window and of the profile window.
enum class Sauvegarde {
    pics_dif,         // "Bruker Format (*.dif)"
    pics_colonne,     // "Column Format (*.prn)"
    profil_raw,       // "Brucker Format (*.raw)"
    profil_cpi,       // "CPI Format (*.cpi)"
    pics_dif_fenetre, // the profile window's own DIF entry
};

// Filter index of the save dialog for the entry.
int index_filtre(Sauvegarde s);

// Step 1 of the save sequence: false, after the entry's message, when there is
// nothing to save (the save dialog is then not opened).
bool sauvegarde_possible(const EspaceTravail& et, Sauvegarde s, Dialogues& d);

// The rest of the sequence once the save dialog answered `nom` (empty:
// cancelled): extension appended when absent, overwrite question, writer,
// the name kept in the workspace, information box after DIF and CPI. Returns
// the name written, or nothing.
std::optional<std::string> sauvegarde(EspaceTravail& et, Sauvegarde s, const std::string& nom,
                                      Dialogues& d);

} // namespace kovrin
