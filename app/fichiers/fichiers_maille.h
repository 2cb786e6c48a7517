#pragma once
// Cell files: the program's own ".cry" layout (read and written) and ICSD
// ".ics" files (read). The readers return the cell; the caller takes it into
// the workspace and refills the space-group lists.
#include "commun/dialogues.h"
#include "fichiers/donnees_lues.h"
#include "commun/espace_travail.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kovrin {

std::optional<MailleLue> lit_maille_kovrin(const std::filesystem::path& fichier, Dialogues& d);
std::optional<MailleLue> lit_maille_icsd(const std::filesystem::path& fichier, Dialogues& d);

// False, after "No cell parameters!", when a cell parameter is 0: the save
// dialog is then not opened.
bool maille_a_sauver(const EspaceTravail& et, Dialogues& d);

// Saves the cell of the workspace (read and checked from the cell tab by the
// caller) under `nom`, the save dialog's answer (empty: cancelled); ".cry" is
// appended when the name lacks it; an existing file is replaced only after
// the user agrees. Returns the caption of the calculated-pattern label, or
// nothing when nothing was written.
std::optional<std::string> ecrit_maille_cry(EspaceTravail& et, const std::string& nom, Dialogues& d);

} // namespace kovrin
