#include "fichiers/lecteurs_pics.h"
#include "fichiers/lecture.h"

namespace kovrin {

void termine_pics(PicsLus& pics, const std::vector<double>& angles, std::vector<double> intensites,
                  bool normalise, double plafond, const std::filesystem::path& fichier) {
    verifie_limite(fichier, angles.size(), limite_pics, "peaks");
    if (angles.empty()) refuse(fichier, "holds no peak");
    verifie_finis(fichier, angles, intensites, "peak");
    if (normalise) {
        pics.echelle_intensite = normalise_a_100(intensites);
        if (!pics.echelle_intensite) {
            // Nothing to scale by: the angles are still worth having.
            intensites.assign(intensites.size(), 100);
            pics.informations.push_back(message_erreur_fichier(
                fichier, "gives no intensity above 0; every peak gets the intensity 100"));
        }
    }
    pics.pics.clear();
    for (std::size_t i = 0; i < angles.size(); ++i)
        pics.pics.push_back({angles[i], intensites[i]});
    pics.angle_debut = angles.front() - 2;
    pics.angle_fin = angles.back() + 2;
    if (plafond > 0 && pics.angle_fin >= plafond) pics.angle_fin = plafond - 1;
}

} // namespace kovrin
