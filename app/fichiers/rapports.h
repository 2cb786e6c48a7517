#pragma once
// Text reports opened in the outside viewer: the raw profile (raw.out), the
// measured peaks (dif.out) and the calculated reflections (indx.out, full and
// short layouts).
#include "commun/dialogues.h"
#include "commun/espace_travail.h"

#include <filesystem>

namespace kovrin {

// The writers: CR LF lines, fixed-width numbers; throw ErreurKovrin on an
// input/output error.
void ecrit_raw_out(const EspaceTravail& et, const std::filesystem::path& fichier);
void ecrit_dif_out(const EspaceTravail& et, const std::filesystem::path& fichier);
void ecrit_indx_out(const EspaceTravail& et, const std::filesystem::path& fichier);
void ecrit_indx_court(const EspaceTravail& et, const std::filesystem::path& fichier);

// The Edit-menu entries: check that there is something to report (else the
// entry's message), write the report into the working directory and open it
// in the viewer. True when the report was shown.
bool rapport_profil(const EspaceTravail& et, Dialogues& d);
bool rapport_pics(const EspaceTravail& et, Dialogues& d);
bool rapport_raies(const EspaceTravail& et, Dialogues& d);
// The cell tab's button: the short listing "indx.out" of the current
// directory; an old one is deleted first; silent when there is nothing to list.
bool liste_raies_indx(const EspaceTravail& et, Dialogues& d);

// Reports left by an earlier run in the working directory are deleted at start.
void efface_anciens_rapports(const std::filesystem::path& repertoire);

} // namespace kovrin
