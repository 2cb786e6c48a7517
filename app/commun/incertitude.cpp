#include "commun/incertitude.h"

#include "commun/format.h"

#include <cmath>

namespace kovrin {

namespace {

// Decimals that leave one significant digit of the uncertainty, or two when
// they read 10 to 19; never fewer than 0.
int decimales_pour(double incertitude) {
    int decimales = -static_cast<int>(std::floor(std::log10(incertitude)));
    if (std::lround(incertitude * std::pow(10.0, decimales + 1)) < 20) ++decimales;
    // 0.0096 rounds to 10 at three decimals: one digit at two.
    else if (std::lround(incertitude * std::pow(10.0, decimales)) >= 10)
        --decimales;
    return std::max(decimales, 0);
}

} // namespace

std::string texte_avec_incertitude(double valeur, double incertitude) {
    if (!(incertitude > 0) || !std::isfinite(incertitude) || !std::isfinite(valeur))
        return texte_court(static_cast<float>(valeur));
    const int decimales = decimales_pour(incertitude);
    const long long chiffres = std::llround(incertitude * std::pow(10.0, decimales));
    return pascal_reel(valeur, 0, decimales) + "(" + std::to_string(chiffres) + ")";
}

std::string texte_incertitude(double incertitude) {
    if (!(incertitude > 0) || !std::isfinite(incertitude)) return "";
    int decimales = 1 - static_cast<int>(std::floor(std::log10(incertitude)));
    // 0.0996 reads 0.10, not 0.100.
    if (std::llround(incertitude * std::pow(10.0, decimales)) >= 100) --decimales;
    return pascal_reel(incertitude, 0, std::max(decimales, 0));
}

} // namespace kovrin
