// Plain column files: the first number of each line is an angle 2theta.
#include "fichiers/lecteurs_pics.h"
#include "fichiers/lecture.h"

namespace kovrin {

PicsLus lit_pics_colonne(const std::filesystem::path& fichier) {
    std::vector<double> angles;
    auto lignes = lignes_converties(fichier);
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        if (ligne_blanche(lignes[i])) continue;
        auto angle = premier_nombre(lignes[i]);
        if (!angle) refuse(fichier, "invalid number at line " + std::to_string(i + 1));
        angles.push_back(*angle);
        verifie_limite(fichier, angles.size(), limite_pics, "peaks");
    }
    PicsLus p;
    termine_pics(p, angles, std::vector<double>(angles.size(), 100), false, 180, fichier);
    return p;
}

} // namespace kovrin
