#pragma once
// The spreadsheet export Excel.txt (TAB-separated, CR LF lines), built from the
// engine listing kovrin.out and the selected pairs, and the two buttons that use it.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"

#include <optional>
#include <string>

namespace kovrin {

enum class ListeExport { courte, longue }; // radio group "List": "Short", "Long"

// Writes Excel.txt in the working directory from kovrin.out (which must exist)
// and the workspace. Throws ErreurKovrin on a file error.
void ecrit_export(const EspaceTravail& espace, ListeExport liste);

// The refinement report: the listing in the viewer, then Excel.txt built (an
// input/output error throws ErreurKovrin); false after "No results" without a
// listing.
bool ouvre_listing(const EspaceTravail& espace, ListeExport liste, Dialogues& dialogues);

// True when a listing is there to export; "No results" otherwise.
bool resultats_presents(const EspaceTravail& espace, Dialogues& dialogues);

// The dialog's activation and change of list: Excel.txt built and its bytes
// returned for the text area; "No results" and nothing without a listing.
std::optional<std::string> texte_export(const EspaceTravail& espace, ListeExport liste,
                                        Dialogues& dialogues);

} // namespace kovrin
