#pragma once
// Fields as a user leaves them: their texts parsed as the windows parse them.
#include "commun/nombres.h"
#include "cristallo/onglet_maille.h"

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

// The cell tab as typed: the six cell boxes, lambda and the range.
inline OngletMaille onglet_tape(const std::array<std::string_view, 6>& cellule,
                                std::string_view lambda = "1.5406", std::string_view debut = "10",
                                std::string_view fin = "60") {
    OngletMaille o;
    o.cellule = saisies(cellule);
    o.lambda = saisie(lambda);
    o.theta_min = saisie(debut);
    o.theta_max = saisie(fin);
    return o;
}

} // namespace test
} // namespace kovrin
