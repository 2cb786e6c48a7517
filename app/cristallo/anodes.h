#pragma once
// The X-ray anodes the program knows: the wavelength dialog's list, the naming of
// a data set's anode from its wavelength, the completion of a profile header
// from its anode name, and the Kbeta line the peak search offers as a
// contamination.
#include <array>
#include <string>
#include <string_view>

namespace kovrin {

struct Anode {
    std::string_view nom;
    double k_alpha1, k_alpha2, moyenne, k_beta; // angstrom
};

inline constexpr std::array<Anode, 5> table_anodes{{
    {"Mo", 0.70930, 0.71359, 0.71070, 0.63229},
    {"Cu", 1.54056, 1.54439, 1.54180, 1.39222},
    {"Co", 1.78897, 1.79285, 1.79020, 1.62079},
    {"Fe", 1.93339, 1.93730, 1.93604, 1.75661},
    {"Cr", 2.28970, 2.29361, 2.29090, 2.08487},
}};

// Naming tolerances: a peak file's wavelength must be closer to an anode's mean
// than a profile's.
inline constexpr double tolerance_anode_pics = 0.005;
inline constexpr double tolerance_anode_profil = 0.01;

// The first anode whose mean wavelength differs from `lambda` by less than
// `tolerance`, or nullptr.
inline const Anode* anode_de_lambda(double lambda, double tolerance) {
    for (const Anode& a : table_anodes)
        if (a.moyenne - lambda < tolerance && lambda - a.moyenne < tolerance) return &a;
    return nullptr;
}

// Entry whose name equals `nom` without regard to case (blanks around it
// ignored), or nullptr.
const Anode* anode_de_nom(std::string_view nom);

// The anode name of a data set: trimmed and cut to 2 characters; when that
// leaves it empty or "?", the first anode whose mean wavelength differs from
// `lambda` by less than `tolerance`, otherwise "?".
std::string nomme_anode(std::string_view nom, double lambda, double tolerance);

// A named anode: neither empty nor "?".
bool anode_connue(std::string_view nom);

} // namespace kovrin
