#pragma once
// Texts of a string grid, as the core builds them for a window to show.
#include <string>
#include <vector>

namespace kovrin {

// `lignes` holds rows 0 (the header) onwards; every cell not given is empty.
// `nb_lignes` is the row count the grid takes, header included; 0 keeps the
// grid's row count (a grid that is only emptied).
struct Grille {
    int nb_lignes = 0;
    std::vector<std::vector<std::string>> lignes;

    const std::string& cellule(int ligne, int colonne) const; // "" when not given
};

} // namespace kovrin
