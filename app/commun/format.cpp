#include "commun/format.h"

#include <cmath>
#include <cstdio>

namespace kovrin {

namespace {

// Fixed-point digits of |valeur| rounded to d decimals, sign separate.
std::string chiffres_fixes(double valeur, int decimales, bool& negatif) {
    char tampon[512];
    std::snprintf(tampon, sizeof tampon, "%.*f", decimales, std::fabs(valeur));
    std::string texte = tampon;
    bool tout_zero = texte.find_first_not_of("0.") == std::string::npos;
    negatif = std::signbit(valeur) && !tout_zero;
    return texte;
}

} // namespace

std::string fortran_f(double valeur, int largeur, int decimales) {
    if (!std::isfinite(valeur))
        return std::string(static_cast<std::size_t>(largeur), '*');
    bool negatif = false;
    std::string texte = chiffres_fixes(valeur, decimales, negatif);
    if (decimales == 0)
        texte += '.';
    if (negatif)
        texte.insert(0, 1, '-');
    auto w = static_cast<std::size_t>(largeur);
    if (texte.size() > w) {
        // The optional zero before the point goes first.
        std::size_t zero = negatif ? 1 : 0;
        if (texte.size() - 1 == w && texte.compare(zero, 2, "0.") == 0)
            texte.erase(zero, 1);
        else
            return std::string(w, '*');
    }
    return std::string(w - texte.size(), ' ') + texte;
}

std::string fortran_i(long long valeur, int largeur) {
    std::string texte = std::to_string(valeur);
    auto w = static_cast<std::size_t>(largeur);
    if (texte.size() > w)
        return std::string(w, '*');
    return std::string(w - texte.size(), ' ') + texte;
}

std::string fortran_a(std::string_view texte, int largeur) {
    auto w = static_cast<std::size_t>(largeur);
    if (texte.size() >= w)
        return std::string(texte.substr(0, w));
    return std::string(w - texte.size(), ' ') + std::string(texte);
}

std::string fortran_x(int n) { return std::string(static_cast<std::size_t>(n > 0 ? n : 0), ' '); }

std::string pascal_reel(double valeur, int largeur, int decimales) {
    std::string texte;
    if (!std::isfinite(valeur)) {
        texte = std::isnan(valeur) ? "Nan" : (valeur > 0 ? "+Inf" : "-Inf");
    } else {
        bool negatif = false;
        texte = chiffres_fixes(valeur, decimales, negatif);
        if (negatif)
            texte.insert(0, 1, '-');
    }
    auto w = static_cast<std::size_t>(largeur > 0 ? largeur : 0);
    if (texte.size() < w)
        texte.insert(0, w - texte.size(), ' ');
    return texte;
}

std::string pascal_entier(long long valeur, int largeur) {
    std::string texte = std::to_string(valeur);
    auto w = static_cast<std::size_t>(largeur > 0 ? largeur : 0);
    if (texte.size() < w)
        texte.insert(0, w - texte.size(), ' ');
    return texte;
}

} // namespace kovrin
