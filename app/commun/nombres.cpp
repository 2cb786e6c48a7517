#include "commun/nombres.h"

#include "commun/texte.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace kovrin {

namespace {

void remplace_premier(std::string& texte, std::string_view motif, std::string_view par) {
    auto p = texte.find(motif);
    if (p != std::string::npos) texte.replace(p, motif.size(), par);
}

// Length of the longest prefix of texte that is a valid decimal number.
template <typename T> int val_generique(std::string_view texte, T& valeur) {
    // Leading blanks are skipped, as Pascal's Val does; trailing ones are errors.
    auto blancs = texte.find_first_not_of(' ');
    if (blancs == std::string_view::npos) return static_cast<int>(texte.size()) + 1;
    if (blancs > 0) {
        int code = val_generique(texte.substr(blancs), valeur);
        return code == 0 ? 0 : code + static_cast<int>(blancs);
    }
    std::string_view corps = texte;
    bool plus = corps.front() == '+';
    if (plus) corps.remove_prefix(1);
    if (corps.empty() || corps.front() == '+' || (plus && corps.front() == '-'))
        return plus ? 2 : 1;
    T v{};
    std::from_chars_result r;
    if constexpr (std::is_floating_point_v<T>)
        r = std::from_chars(corps.data(), corps.data() + corps.size(), v,
                            std::chars_format::general);
    else
        r = std::from_chars(corps.data(), corps.data() + corps.size(), v);
    auto lus = static_cast<int>(r.ptr - corps.data()) + (plus ? 1 : 0);
    if (r.ec == std::errc::invalid_argument) return (plus ? 1 : 0) + 1;
    if (r.ec == std::errc::result_out_of_range) return 1;
    if (static_cast<std::size_t>(lus) != texte.size()) return lus + 1;
    if constexpr (std::is_floating_point_v<T>)
        if (!std::isfinite(v)) // "inf" and "nan" are not numbers to the user
            return 1;
    valeur = v;
    return 0;
}

} // namespace

std::string normalise_nombre(std::string texte) {
    if (texte.empty()) return "0";
    remplace_premier(texte, " .", "0.");
    remplace_premier(texte, ". ", ".0");
    remplace_premier(texte, "-.", "-0.");
    if (texte.back() == '.') texte += '0';
    return texte;
}

int val_reel(std::string_view texte, double& valeur) {
    return val_generique(texte, valeur);
}

int val_entier(std::string_view texte, long long& valeur) {
    return val_generique(texte, valeur);
}

std::optional<double> lit_reel(std::string_view texte) {
    double v = 0;
    if (val_reel(texte, v) != 0) return std::nullopt;
    return v;
}

std::optional<long long> lit_entier(std::string_view texte) {
    long long v = 0;
    if (val_entier(texte, v) != 0) return std::nullopt;
    return v;
}

std::optional<double> lit_champ_reel(std::string_view texte) {
    return lit_reel(normalise_nombre(std::string(texte)));
}

Saisie Saisie::de_texte(std::string_view texte) {
    if (sans_blancs(texte).empty()) return {};
    const auto v = lit_champ_reel(texte);
    if (!v || !std::isfinite(*v)) return {Etat::illisible, 0};
    return de_valeur(*v);
}

} // namespace kovrin
