#pragma once
// The profile formats the program opens, one row each: its code (the filter
// index of the profile open dialog), the name a menu entry and a file-dialog
// filter show, the extensions that choose it from a file name, and its reader.
// The choice of a reader by file name, the open dialog's filters, the menus
// and kovrin-batch's --help are all built from this table.
#include "commun/dialogues.h"
#include "fichiers/donnees_lues.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kovrin {

// Profile formats, the filter index of the profile open dialog.
enum FormatProfil : int {
    profil_raw = 1,
    profil_rietveld = 2,
    profil_cpi = 3,
    profil_rd = 4,
    profil_xylib = 5
};

// `espace_occupe`: the workspace holds measured peaks or calculated reflections
// (the CPI reader then leaves the file's range and wavelengths aside).
using LecteurProfil = ProfilLu (*)(const std::filesystem::path& fichier, bool espace_occupe);

struct FormatFichierProfil {
    int code;                    // FormatProfil
    std::string_view nom;        // "Brucker Format": menu entry, filter text without patterns
    std::string_view extensions; // blank-separated, with their dots: ".xrdml .uxd"
    // The program's historic formats are recognised by their extension anywhere
    // in the name, the highest rank winning when a name holds several; 0: only
    // the name's own extension counts (case aside).
    int rang_dans_nom;
    // Every file may be chosen under this filter (the formats xylib recognises by content).
    bool tout_fichier;
    LecteurProfil lecteur;
};

extern const std::array<FormatFichierProfil, 5> formats_profil;

// The row of a code, or nullptr.
const FormatFichierProfil* format_profil(int code);

// The format a file name asks for: the historic extensions anywhere in the name
// (".rd", ".raw", ".dat", ".cpi", the last of these found winning), else the
// name's extension among the others', else `code_menu` (the entry chosen).
int code_profil_de_nom(std::string_view nom, int code_menu);

// "*.raw", "*.xrdml *.uxd ... *": the patterns of a row.
std::string motifs(const FormatFichierProfil& f);
// "Brucker Format (*.raw)": one filter of a Qt file dialog, also the text that
// names the format in a list.
std::string texte_filtre(const FormatFichierProfil& f);
// Every row as a Qt file-dialog filter: "Brucker Format (*.raw);;Rietveld ...".
std::string filtre_qt_profils();
// Every row as "text|pattern;pattern|text|...", the open dialog's historic form.
std::string filtre_profils();

} // namespace kovrin
