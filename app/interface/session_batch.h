#pragma once
// Steps of a session that the windows take through clicks and the command-line
// tool through options: the clean slate of the program start, the reader of a
// peak file chosen by its name, a cell file taken into the workspace, and the
// choice of a space group in one of the two symbol lists.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "fichiers/donnees_lues.h"
#include "fichiers/formats_pics.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

// Program start: the listing, the export and the reports of an earlier run are
// deleted from the working directory.
void efface_resultats_anciens(const std::filesystem::path& repertoire);

// The folder the program works in (its listing, export and reports): the
// current one, unless the program was started from the desktop or cannot
// write there; then `propre`, the program's own folder, created if need be.
std::filesystem::path repertoire_de_travail(const std::filesystem::path& courant, bool bureau,
                                            const std::filesystem::path& propre);
// The working folder becomes `repertoire`, also as the current folder: the
// engine writes its listing there.
void travaille_dans(EspaceTravail& et, const std::filesystem::path& repertoire);
// Whether a file can be created in `repertoire` (tried, then removed).
bool repertoire_inscriptible(const std::filesystem::path& repertoire);

// What a file named at start, dropped on a window or chosen in "Open..." is,
// by its extension: a cell file (.cry, .ics), a profile (.raw, .cpi, .rd and
// the other profile formats' extensions), peaks (.dif, .txt, .dat, .di, .prn).
// A name no format claims goes by its content: a binary file, an XML
// document or a text of more lines than a peak list can hold is a profile;
// anything else is a peak list.
enum class GenreFichier { pics, profil, maille, projet };
GenreFichier genre_fichier(const std::filesystem::path& fichier);
// File > Open...: every pattern of the peak, profile and cell formats under
// one filter, then every file.
std::string filtre_ouverture();

// The files in the order they are taken in: peaks, profiles, cells, each kind
// in the order given.
std::vector<std::filesystem::path>
dans_l_ordre_des_genres(std::vector<std::filesystem::path> fichiers);

// The cell file `fichier` read by its kind: ICSD when the name contains ".ics",
// otherwise the program's own ".cry" layout. Nothing after the reader's message.
std::optional<MailleLue> lit_fichier_maille(const std::filesystem::path& fichier, Dialogues& d);

// A cell file that was read becomes the cell of the workspace: file name, title,
// crystal system, space group (trimmed and upper-cased, as a symbol chosen in a
// list is), the cell and its initial copy; the calculated reflections and the
// pairs of the old cell go. Both symbol lists are then refilled for the system
// with the symbol read selected. When the space-group data cannot be read it
// throws (ArretProgramme without spgr2.dat) and the workspace is as it was. A
// symbol that no list writes as the file does selects the entry of the same
// group (choisit_groupe); when there is none, an information message through
// `d` lists the closest entries. The caller then runs calcul_apres_lecture.
void prend_maille_lue(EspaceTravail& et, const std::filesystem::path& fichier, const MailleLue& lue,
                      Dialogues& d);

// A click on the entry of the H-M list (or, with `hall`, of the Orsab list)
// whose symbol equals `symbole` (case and surrounding blanks aside; in the
// Orsab list either the H-M symbol or the Hall symbol of the entry), or else
// that holds the operators of the group `symbole` names however it is written
// (cristallo/symboles.h). The entry is selected, the other list's selection
// cleared, and `groupe` and `origine_groupe` follow the entry, so that a refill
// of the lists keeps it. False when no entry matches (nothing changes).
bool choisit_groupe(EspaceTravail& et, std::string_view symbole, bool hall);

// Why `symbole` names no entry of the list searched: the closest entries, and
// whether the other list holds the group.
std::string message_groupe_absent(const EspaceTravail& et, std::string_view symbole, bool hall);

} // namespace kovrin
