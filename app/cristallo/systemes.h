#pragma once
// The seven crystal systems, one row each: the code the workspace, the cell
// files and the engine use ("CUBI"), the caption of the list "System" (rows in
// list order), the name CIF gives it, its operator file and lines of
// spgr2.dat, and how its cell fields are tied: which follow a or alpha, which
// angles are fixed, which are greyed and which are refined by default.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kovrin {

enum class Systeme {
    cubique,
    tetragonal,
    orthorhombique,
    hexagonal,
    rhomboedrique,
    monoclinique,
    triclinique
};

// Cell fields as bits: a, b, c, alpha, beta, gamma.
using ChampsMaille = std::uint8_t;
inline constexpr ChampsMaille bit_a = 1, bit_b = 2, bit_c = 4, bit_alpha = 8, bit_beta = 16,
                              bit_gamma = 32;

struct FicheSysteme {
    Systeme systeme;
    std::string_view code;    // "CUBI"
    std::string_view legende; // "Cubic"
    std::string_view nom_cif; // "cubic"
    std::string_view fichier_pos;
    int premiere_ligne, derniere_ligne;           // spgr2.dat, from 1
    ChampsMaille comme_a, comme_alpha;            // fields that take a's or alpha's value
    std::array<std::string_view, 3> angles_fixes; // alpha, beta, gamma; empty: free
    ChampsMaille grises, coches;
};

inline constexpr std::array<FicheSysteme, 7> table_systemes{{
    {Systeme::cubique,
     "CUBI",
     "Cubic",
     "cubic",
     "C.pos",
     558,
     637,
     bit_b | bit_c,
     0,
     {"90", "90", "90"},
     bit_b | bit_c | bit_beta | bit_gamma,
     bit_a},
    {Systeme::tetragonal,
     "TETR",
     "Tetra.",
     "tetragonal",
     "q.pos",
     371,
     480,
     bit_b,
     0,
     {"90", "90", "90"},
     bit_b | bit_alpha | bit_beta | bit_gamma,
     bit_a | bit_c},
    {Systeme::orthorhombique,
     "ORTH",
     "Ortho.",
     "orthorhombic",
     "O.pos",
     179,
     370,
     0,
     0,
     {"90", "90", "90"},
     bit_alpha | bit_beta | bit_gamma,
     bit_a | bit_b | bit_c},
    {Systeme::hexagonal,
     "HEXA",
     "Hexa.",
     "hexagonal",
     "H.pos",
     481,
     547,
     bit_b,
     0,
     {"90", "90", "120"},
     bit_b | bit_alpha | bit_beta | bit_gamma,
     bit_a | bit_c},
    {Systeme::rhomboedrique,
     "RHOM",
     "Rhombo.",
     "trigonal",
     "R.pos",
     548,
     556,
     bit_b | bit_c,
     bit_beta | bit_gamma,
     {},
     bit_b | bit_c | bit_beta | bit_gamma,
     bit_a | bit_alpha},
    // The monoclinic unique axis follows the angles that are right: see the cell tab.
    {Systeme::monoclinique,
     "MONO",
     "Monoc.",
     "monoclinic",
     "M.pos",
     19,
     178,
     0,
     0,
     {},
     0,
     bit_a | bit_b | bit_c},
    {Systeme::triclinique,
     "TRIC",
     "Tricl.",
     "triclinic",
     "T.pos",
     1,
     18,
     0,
     0,
     {},
     0,
     bit_a | bit_b | bit_c | bit_alpha | bit_beta | bit_gamma},
}};

inline constexpr bool table_dans_l_ordre() {
    for (std::size_t i = 0; i < table_systemes.size(); ++i)
        if (static_cast<std::size_t>(table_systemes[i].systeme) != i) return false;
    return true;
}
static_assert(table_dans_l_ordre(), "one row per system, in the order of the enum");

inline const FicheSysteme& fiche(Systeme s) {
    return table_systemes[static_cast<std::size_t>(s)];
}

// The row of a code ("CUBI"), or nullptr (an empty or unknown code).
inline const FicheSysteme* fiche_de_code(std::string_view code) {
    for (const FicheSysteme& f : table_systemes)
        if (f.code == code) return &f;
    return nullptr;
}

inline std::optional<Systeme> systeme_de_code(std::string_view code) {
    const FicheSysteme* f = fiche_de_code(code);
    return f ? std::optional(f->systeme) : std::nullopt;
}

inline bool est(std::string_view code, Systeme s) {
    return code == fiche(s).code;
}

inline std::string code_de(Systeme s) {
    return std::string(fiche(s).code);
}

} // namespace kovrin
