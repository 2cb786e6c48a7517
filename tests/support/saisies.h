#pragma once
// Fields as a user leaves them: their texts parsed as the windows parse them.
#include "commun/nombres.h"

#include <array>
#include <ostream>
#include <string_view>

namespace kovrin {

inline void PrintTo(const Saisie& s, std::ostream* os) {
    if (s.vide())
        *os << "(empty)";
    else if (s.nombre())
        *os << s.valeur;
    else
        *os << "(no number)";
}

namespace test {

inline Saisie saisie(std::string_view texte) {
    return Saisie::de_texte(texte);
}

inline std::array<Saisie, 6> saisies(const std::array<std::string_view, 6>& textes) {
    std::array<Saisie, 6> s;
    for (std::size_t i = 0; i < 6; ++i)
        s[i] = Saisie::de_texte(textes[i]);
    return s;
}

} // namespace test
} // namespace kovrin
