#include "profil/lissage.h"

#include "commun/erreur.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

namespace kovrin {

namespace {

struct Filtre {
    std::array<int, 13> poids; // the first 2m + 3 are used
    int diviseur;
};

// [d][m - 1]
constexpr std::array<std::array<Filtre, 5>, 3> filtres{{
    {{
        {{-3, 12, 17, 12, -3}, 35},
        {{-2, 3, 6, 7, 6, 3, -2}, 21},
        {{-21, 14, 39, 54, 59, 54, 39, 14, -21}, 231},
        {{-36, 9, 44, 69, 84, 89, 84, 69, 44, 9, -36}, 429},
        {{-11, 0, 9, 16, 21, 24, 25, 24, 21, 16, 9, 0, -11}, 143},
    }},
    {{
        {{-2, -1, 0, 1, 2}, 10},
        {{-3, -2, -1, 0, 1, 2, 3}, 28},
        {{-4, -3, -2, -1, 0, 1, 2, 3, 4}, 60},
        {{-5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5}, 110},
        {{-6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6}, 182},
    }},
    {{
        {{2, -1, -2, -1, 2}, 7},
        {{5, 0, -3, -4, -3, 0, 5}, 42},
        {{28, 7, -8, -17, -20, -17, -8, 7, 28}, 462},
        {{15, 6, -1, -6, -9, -10, -9, -6, -1, 6, 15}, 429},
        {{22, 11, 2, -5, -10, -13, -14, -13, -10, -5, 2, 11, 22}, 1001},
    }},
}};

} // namespace

void lisse_derive(const std::vector<float>& entree, int n, int m, std::vector<float>& sortie,
                  int d) {
    if (m < 1 || m > 5 || d < 0 || d > 2) return;
    if (n < 0 || entree.size() < static_cast<std::size_t>(n) + 1)
        throw ErreurKovrin("Range check error: filter input shorter than " + std::to_string(n) +
                           " points");
    const Filtre& f = filtres[static_cast<std::size_t>(d)][static_cast<std::size_t>(m - 1)];
    const int w = 2 * m + 3;
    const int h = m + 1;
    const auto taille = static_cast<std::size_t>(n) + 1;
    if (sortie.size() < taille) sortie.resize(taille);
    std::fill(sortie.begin(), sortie.begin() + static_cast<std::ptrdiff_t>(taille), 0.0f);
    if (n < 2 * h + 1) return; // no point has a full window: the edges would only copy zeros
    for (int i = h + 1; i <= n - h; ++i) {
        double somme = 0;
        for (int j = 1; j <= w; ++j)
            somme += static_cast<double>(entree[static_cast<std::size_t>(i - h + j - 1)]) *
                     f.poids[static_cast<std::size_t>(j - 1)];
        sortie[static_cast<std::size_t>(i)] = static_cast<float>(somme / f.diviseur);
    }
    // The ends repeat the nearest computed value.
    const float premier = sortie[static_cast<std::size_t>(h + 1)];
    const float dernier = sortie[static_cast<std::size_t>(n - h)];
    for (int t = 1; t <= h; ++t) {
        sortie[static_cast<std::size_t>(t)] = premier;
        sortie[static_cast<std::size_t>(n - h + t)] = dernier;
    }
}

} // namespace kovrin
