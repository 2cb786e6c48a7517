// Plain column files: the first number of each line is an angle 2theta.
#include "fichiers/lecteurs_pics.h"
#include "fichiers/lecture.h"

namespace kovrin {

PicsLus lit_pics_colonne(const std::filesystem::path& fichier) {
    PicsBruts bruts;
    auto lignes = lignes_converties(fichier);
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        if (ligne_blanche(lignes[i])) continue;
        auto angle = premier_nombre(lignes[i]);
        if (!angle) refuse(fichier, "invalid number at line " + std::to_string(i + 1));
        bruts.ajoute(*angle, 100, static_cast<int>(i + 1));
        verifie_limite(fichier, bruts.angles.size(), limite_pics, "peaks");
    }
    PicsLus p;
    termine_pics(p, std::move(bruts), false, 180, fichier);
    return p;
}

} // namespace kovrin
