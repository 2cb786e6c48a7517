#include "profil/trace.h"

#include <cmath>

namespace kovrin {

int plus_proche(double valeur) {
    return static_cast<int>(std::nearbyint(valeur));
}

double pas_graduation(double s) {
    if (s < 0.1) return 0.01;
    if (s > 0.5 && s <= 1) return 0.1;
    if (s > 1 && s <= 10) return 1;
    if (s > 10 && s <= 50) return 5;
    if (s > 50 && s <= 100) return 10;
    if (s > 100) return 20;
    return 10; // 0.1 ... 0.5: at most one tick is shown
}

std::vector<double> graduations(double debut, double fin) {
    std::vector<double> valeurs;
    if (!std::isfinite(debut) || !std::isfinite(fin)) return valeurs;
    const double pas = pas_graduation(std::fabs(fin - debut));
    double premiere = std::nearbyint(debut / pas) * pas;
    if (premiere < debut) premiere += pas;
    // Ticks are computed from the first, not accumulated; the small margin keeps
    // a tick that equals the end despite the rounding of decimal steps.
    const double limite = fin + pas * 1e-9;
    for (int k = 0;; ++k) {
        const double valeur = premiere + k * pas;
        if (valeur > limite) break;
        valeurs.push_back(valeur);
    }
    return valeurs;
}

std::vector<int> echantillons_profil(int i1, int i2, int n) {
    std::vector<int> indices;
    if (i1 > i2 || n < 1) return indices;
    if (n == 1) return {i1};
    indices.reserve(static_cast<std::size_t>(n));
    for (int b = 1; b <= n; ++b)
        indices.push_back(plus_proche(
            (static_cast<double>(i1) * (n - 1) + static_cast<double>(b - 1) * (i2 - i1)) /
            (n - 1)));
    return indices;
}

} // namespace kovrin
