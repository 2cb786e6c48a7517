#include "fichiers/lecteurs_profil.h"

#include "fichiers/lecture.h"

#include <algorithm>
#include <cmath>

namespace kovrin {

double lambda_moyenne(double lambda1, double lambda2, double rapport) {
    if (lambda2 == 0 || rapport + 1 == 0) return lambda1;
    return (lambda1 + rapport * lambda2) / (rapport + 1);
}

void termine_profil(ProfilLu& profil, const std::vector<double>& brutes, double depart, double pas,
                    DepartsExtremes departs, const std::filesystem::path& fichier) {
    verifie_limite(fichier, brutes.size(), limite_profil, "profile points");
    std::vector<double> angles(brutes.size());
    for (std::size_t i = 0; i < angles.size(); ++i)
        angles[i] = depart + pas * static_cast<double>(i);
    termine_profil_aux_angles(profil, angles, brutes, departs, fichier);
    profil.pas = pas;
}

void termine_profil_aux_angles(ProfilLu& profil, const std::vector<double>& angles,
                               const std::vector<double>& brutes, DepartsExtremes departs,
                               const std::filesystem::path& fichier) {
    verifie_limite(fichier, brutes.size(), limite_profil, "profile points");
    if (brutes.empty()) refuse(fichier, "holds no profile point");
    verifie_finis(fichier, angles, brutes, "point");
    double plus_grande = departs.plus_grande, plus_petite = departs.plus_petite;
    for (double b : brutes) {
        plus_grande = std::max(plus_grande, b);
        plus_petite = std::min(plus_petite, b);
    }
    if (!(plus_grande > plus_petite) || !std::isfinite(plus_grande - plus_petite))
        refuse(fichier, "its intensities are all equal; the pattern cannot be scaled");
    double echelle = 100 / (plus_grande - plus_petite);
    profil.points.clear();
    profil.points.reserve(brutes.size());
    for (std::size_t i = 0; i < brutes.size(); ++i)
        profil.points.push_back(
            {en_simple(angles[i]), en_simple((brutes[i] - plus_petite) * echelle)});
    profil.intensite_max_brute = plus_grande;
    profil.intensite_min_brute = plus_petite;
}

} // namespace kovrin
