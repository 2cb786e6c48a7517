#pragma once
// The save sequence of peak and profile files shared by the main and profile
// windows: what may be saved, the file's name, the overwrite question, the
// writer, the name kept in the workspace.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kovrin {

// The save entries of the main window and of the profile window.
enum class Sauvegarde {
    pics_dif,         // "Bruker Format (*.dif)"
    pics_colonne,     // "Column Format (*.prn)"
    profil_raw,       // "Brucker Format (*.raw)"
    profil_cpi,       // "CPI Format (*.cpi)"
    pics_dif_fenetre, // the profile window's own DIF entry
};

// `nom` ending in `extension` somewhere, as the save dialogs answered it, or
// with the extension appended.
std::string avec_extension(const std::string& nom, const std::string& extension);

// True when `fichier` may be written: it does not exist, or the user agreed
// to replace it.
bool ecrasement_accepte(const std::filesystem::path& fichier, Dialogues& d);

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
