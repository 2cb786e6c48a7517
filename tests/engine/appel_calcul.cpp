#include "appel_calcul.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace kovrin::test {

int reflexions_de(Appel& appel, const Maille& m, double lambda, double zero_2t, int n, int limite,
                  bool excentricite) {
    std::vector<std::tuple<double, int, int, int>> liste;
    for (int h = 0; h <= limite; ++h)
        for (int k = -limite; k <= limite; ++k)
            for (int l = -limite; l <= limite; ++l) {
                if (h == 0 && (k < 0 || (k == 0 && l <= 0))) continue;
                double t = deux_theta(m, lambda, h, k, l);
                if (std::isfinite(t) && t > 10 && t < 120) liste.emplace_back(t, h, k, l);
            }
    std::sort(liste.begin(), liste.end());
    int pris = 0;
    for (const auto& [t, h, k, l] : liste) {
        if (pris == n) break;
        appel.ajoute(h, k, l, observe(m, lambda, h, k, l, zero_2t, excentricite));
        ++pris;
    }
    return pris;
}

} // namespace kovrin::test
