#include "commun/grille.h"

namespace kovrin {

const std::string& Grille::cellule(int ligne, int colonne) const {
    static const std::string vide;
    if (ligne < 0 || ligne >= static_cast<int>(lignes.size())) return vide;
    const auto& l = lignes[static_cast<std::size_t>(ligne)];
    if (colonne < 0 || colonne >= static_cast<int>(l.size())) return vide;
    return l[static_cast<std::size_t>(colonne)];
}

} // namespace kovrin
