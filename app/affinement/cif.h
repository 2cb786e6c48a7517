#pragma once
// The refined cell as one CIF data block: cell and volume with their usual
// standard uncertainties, crystal system, space group, wavelength, the
// angular term, the figures of merit and the loop of the pairs.
#include "affinement/diagnostic.h"
#include "affinement/merite.h"
#include "commun/espace_travail.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kovrin {

// The text of the block (LF line ends, as CIF readers expect on Linux).
std::string texte_cif(const EspaceTravail& et, const Diagnostic& diagnostic,
                      const std::optional<FiguresMerite>& merite);

// Writes it; throws ErreurKovrin on an input/output error.
void ecrit_cif(const std::filesystem::path& fichier, const EspaceTravail& et,
               const Diagnostic& diagnostic, const std::optional<FiguresMerite>& merite);

// "cubic", "trigonal"...: from the space group when gemmi knows its symbol,
// otherwise from the system code (RHOM is trigonal).
std::string systeme_cristallin_cif(const std::string& systeme, const std::string& groupe);
// The Hermann-Mauguin symbol with its blanks ("F d -3 m"), or the symbol as typed.
std::string symbole_hm_cif(const std::string& groupe);

} // namespace kovrin
