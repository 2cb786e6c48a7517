#pragma once
// Cell files: the program's own ".cry" layout (read and written) and ICSD
// ".ics" files (read). The readers return the cell; the caller takes it into
// the workspace and refills the space-group lists.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "fichiers/donnees_lues.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kovrin {

MailleLue lit_maille_kovrin(const std::filesystem::path& fichier);
MailleLue lit_maille_icsd(const std::filesystem::path& fichier);

// What a cell file holds.
struct MailleAEcrire {
    const std::string& titre;
    const std::string& systeme; // "CUBI"...
    const std::string& groupe;
    const std::array<double, 6>& maille; // a, b, c, alpha, beta, gamma
};

// Creates or replaces the cell file; throws ErreurKovrin on an input/output error.
void ecrit_maille_cry(const std::filesystem::path& fichier, const MailleAEcrire& maille);

} // namespace kovrin
