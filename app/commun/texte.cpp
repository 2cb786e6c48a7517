#include "commun/texte.h"

#include <algorithm>
#include <cctype>

namespace kovrin {

namespace {
bool blanc(char c) { return static_cast<unsigned char>(c) <= ' '; }
} // namespace

std::string sans_blancs(std::string_view texte) {
    auto debut = std::find_if_not(texte.begin(), texte.end(), blanc);
    auto fin = std::find_if_not(texte.rbegin(), texte.rend(), blanc).base();
    return debut < fin ? std::string(debut, fin) : std::string();
}

std::string sans_blancs_droite(std::string_view texte) {
    auto fin = std::find_if_not(texte.rbegin(), texte.rend(), blanc).base();
    return std::string(texte.begin(), fin);
}

std::string majuscules(std::string_view texte) {
    std::string r(texte);
    for (char& c : r)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

bool contient(std::string_view texte, std::string_view motif) {
    return texte.find(motif) != std::string_view::npos;
}

std::string nom_sans_repertoire(std::string_view chemin) {
    auto p = chemin.find_last_of("/\\");
    return std::string(p == std::string_view::npos ? chemin : chemin.substr(p + 1));
}

std::string ajuste(std::string_view texte, std::size_t n) {
    std::string r(texte.substr(0, std::min(n, texte.size())));
    r.resize(n, ' ');
    return r;
}

} // namespace kovrin
