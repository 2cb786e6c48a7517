#pragma once
// The measured-peak formats the program opens, one row each: its code (the
// filter index of the peak open dialog), the menu entry and the filter that
// name it, the mark that chooses it from a file name, whether its files carry
// their wavelength, its reader and its name on kovrin-batch's command line.
// The open dialog's filters, the menus, the choice of a reader by file name
// and --peak-format are all built from this table.
#include "fichiers/donnees_lues.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace kovrin {

// Peak-file formats, the filter index of the open dialog.
enum FormatPics : int {
    pics_dif = 1,
    pics_xfit = 2,
    pics_winfit = 3,
    pics_philips = 4,
    pics_prn = 5,
    pics_colonne = 6
};

using LecteurPics = PicsLus (*)(const std::filesystem::path& fichier);

struct FormatFichierPics {
    int code;                // FormatPics
    std::string_view entree; // the entry of the menus "Peaks File": "Bruker Format (*.dif)"
    std::string_view filtre; // the open dialog's filter text: "Bruker Format (*.dif)"
    std::string_view motif;  // its pattern; "*" lists every file, with or without extension
    std::string_view marque; // found anywhere in a file name, it chooses the format ("" none)
    bool porte_lambda;       // its files give their wavelength
    LecteurPics lecteur;
    std::string_view nom_batch; // --peak-format; "" when the option does not name it
};

extern const std::array<FormatFichierPics, 6> formats_pics;

// The row of a code; the column reader's row for any other code.
const FormatFichierPics& format_pics(int code);
bool format_porte_lambda(int code);

// The format of a file name: the first row whose mark the name holds (".dif",
// ".txt", ".dat", ".di", in this order), otherwise a column file.
int format_pics_par_nom(std::string_view nom);

// The code --peak-format names (case aside), 0 when none; and the names it takes.
int format_pics_de_nom_batch(std::string_view nom);
std::string noms_batch_pics(); // "dif, xfit, winfit, philips or column"

// Every row as "text|pattern|text|...", the open dialog's historic form.
std::string filtre_pics();

} // namespace kovrin
