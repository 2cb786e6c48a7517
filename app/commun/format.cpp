#include "commun/format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace kovrin {

namespace {

// A double has at most 309 digits before the point and none but zeros after
// the 1074th decimal, so rounding at 1100 decimals changes nothing; the fixed
// texts were always cut at 511 characters (the size of the buffer they came from).
constexpr int decimales_exactes = 1100;
constexpr std::size_t longueur_gardee = 511;

// Whole numbers up to this need no rounding: their digits and the zeros of the
// decimals are the whole text (the rotations of an operator, flags, indices).
constexpr double entier_exact = 1e15;
constexpr int decimales_entier = 32;

// A single-precision value (the engine's) has 24 significant bits; times 10^d
// with d <= 12 (at most 28 more bits) it is exact in double, so rounding that
// product half to even is rounding the value itself.
constexpr double puissances_de_dix[] = {1e0, 1e1, 1e2, 1e3,  1e4,  1e5, 1e6,
                                        1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
constexpr int decimales_simple = 12;
constexpr double produit_max = 9e18; // below 2^63

std::string_view chiffres_entier(long long valeur, std::array<char, 24>& tampon) {
    const char* fin = std::to_chars(tampon.data(), tampon.data() + tampon.size(), valeur).ptr;
    return {tampon.data(), static_cast<std::size_t>(fin - tampon.data())};
}

// Fixed-point digits of |valeur| rounded to `decimales` (negative: 6, as in
// printf), and whether a minus sign goes before them: never for a value that
// rounds to zero.
class Chiffres {
  public:
    Chiffres(double valeur, int decimales) {
        const int d = decimales < 0 ? 6 : std::min(decimales, decimales_exactes);
        char* fin = convertit(std::fabs(valeur), d);
        longueur_ = std::min(static_cast<std::size_t>(fin - tampon_.data()), longueur_gardee);
        negatif_ = std::signbit(valeur) && !zero();
    }
    std::string_view texte() const { return {tampon_.data(), longueur_}; }
    bool negatif() const { return negatif_; }

  private:
    char* convertit(double absolu, int d) {
        if (absolu < entier_exact && absolu == std::trunc(absolu) && d <= decimales_entier)
            return entier(static_cast<long long>(absolu), d);
        if (d <= decimales_simple && absolu * puissances_de_dix[d] < produit_max &&
            static_cast<float>(absolu) == absolu)
            return simple(absolu, d);
        return std::to_chars(tampon_.data(), tampon_.data() + tampon_.size(), absolu,
                             std::chars_format::fixed, d)
            .ptr;
    }
    char* simple(double absolu, int d) {
        std::array<char, 24> tampon;
        const std::string_view n = chiffres_entier(
            static_cast<long long>(std::nearbyint(absolu * puissances_de_dix[d])), tampon);
        const auto decimales = static_cast<std::size_t>(d);
        // At least one digit before the point.
        char* fin = std::fill_n(tampon_.data(), std::max(n.size(), decimales + 1) - n.size(), '0');
        fin = std::copy(n.begin(), n.end(), fin);
        if (decimales == 0) return fin;
        std::copy_backward(fin - decimales, fin, fin + 1);
        *(fin - decimales) = '.';
        return fin + 1;
    }
    char* entier(long long valeur, int decimales) {
        char* fin = std::to_chars(tampon_.data(), tampon_.data() + tampon_.size(), valeur).ptr;
        if (decimales == 0) return fin;
        *fin++ = '.';
        return std::fill_n(fin, decimales, '0');
    }
    // Only a text that rounds to zero starts with "0" and has no other digit.
    bool zero() const {
        return tampon_[0] == '0' && std::all_of(tampon_.data(), tampon_.data() + longueur_,
                                                [](char c) { return c == '0' || c == '.'; });
    }

    std::array<char, 310 + decimales_exactes> tampon_;
    std::size_t longueur_ = 0;
    bool negatif_ = false;
};

// Right-aligned in at least `largeur` characters.
void aligne(std::string& texte, std::string_view signe, std::string_view chiffres, int largeur) {
    const auto w = static_cast<std::size_t>(largeur > 0 ? largeur : 0);
    const std::size_t n = signe.size() + chiffres.size();
    if (n < w) texte.append(w - n, ' ');
    texte.append(signe).append(chiffres);
}

// "0." leads the field: Fortran may drop that zero.
bool zero_en_tete(std::string_view chiffres, bool point_ajoute) {
    return chiffres.starts_with("0.") || (point_ajoute && chiffres == "0");
}

} // namespace

void ajoute_fortran_f(std::string& texte, double valeur, int largeur, int decimales) {
    const auto w = static_cast<std::size_t>(largeur);
    if (!std::isfinite(valeur)) {
        texte.append(w, '*');
        return;
    }
    const Chiffres c(valeur, decimales);
    std::string_view chiffres = c.texte();
    const bool point = decimales == 0; // Fw.0 still writes the point
    std::size_t n = (c.negatif() ? 1 : 0) + chiffres.size() + (point ? 1 : 0);
    if (n > w) {
        if (n - 1 != w || !zero_en_tete(chiffres, point)) {
            texte.append(w, '*');
            return;
        }
        chiffres.remove_prefix(1);
        n = w;
    }
    texte.append(w - n, ' ');
    if (c.negatif()) texte += '-';
    texte.append(chiffres);
    if (point) texte += '.';
}

void ajoute_fortran_i(std::string& texte, long long valeur, int largeur) {
    std::array<char, 24> tampon;
    const std::string_view chiffres = chiffres_entier(valeur, tampon);
    const auto w = static_cast<std::size_t>(largeur);
    if (chiffres.size() > w)
        texte.append(w, '*');
    else
        texte.append(w - chiffres.size(), ' ').append(chiffres);
}

void ajoute_pascal_reel(std::string& texte, double valeur, int largeur, int decimales) {
    if (!std::isfinite(valeur)) {
        aligne(texte, "", std::isnan(valeur) ? "Nan" : (valeur > 0 ? "+Inf" : "-Inf"), largeur);
        return;
    }
    const Chiffres c(valeur, decimales);
    aligne(texte, c.negatif() ? "-" : "", c.texte(), largeur);
}

void ajoute_pascal_entier(std::string& texte, long long valeur, int largeur) {
    std::array<char, 24> tampon;
    aligne(texte, "", chiffres_entier(valeur, tampon), largeur);
}

std::string fortran_f(double valeur, int largeur, int decimales) {
    std::string texte;
    ajoute_fortran_f(texte, valeur, largeur, decimales);
    return texte;
}

std::string fortran_i(long long valeur, int largeur) {
    std::string texte;
    ajoute_fortran_i(texte, valeur, largeur);
    return texte;
}

std::string fortran_a(std::string_view texte, int largeur) {
    auto w = static_cast<std::size_t>(largeur);
    if (texte.size() >= w) return std::string(texte.substr(0, w));
    return std::string(w - texte.size(), ' ') + std::string(texte);
}

std::string pascal_reel(double valeur, int largeur, int decimales) {
    std::string texte;
    ajoute_pascal_reel(texte, valeur, largeur, decimales);
    return texte;
}

std::string pascal_entier(long long valeur, int largeur) {
    std::string texte;
    ajoute_pascal_entier(texte, valeur, largeur);
    return texte;
}

namespace {

template <typename Reel> std::string plus_court(Reel valeur) {
    std::array<char, 32> tampon{};
    const auto fin = std::to_chars(tampon.data(), tampon.data() + tampon.size(), valeur).ptr;
    return std::string(tampon.data(), fin);
}

} // namespace

std::string texte_court(double valeur) {
    return plus_court(valeur);
}

std::string texte_court(float valeur) {
    return plus_court(valeur);
}

} // namespace kovrin
