#pragma once
// The domains of the values a user gives (typed in a window, given as an
// option, read from a file). Each check returns the refusal, a message that
// names the field, or nothing when the value lies in its domain. Values are
// checked where they come in, before any command runs with them.
#include "cristallo/geometrie.h"

#include <optional>
#include <string>
#include <string_view>

namespace kovrin {

using Refus = std::optional<std::string>;

inline constexpr double lambda_maximale = 10.0; // angstrom

// A measured angle in degrees 2theta: (0, 180).
Refus refus_deux_theta(double deux_theta);
// An angle typed in the unit shown: (0, 90) in theta mode, (0, 180) in 2theta.
Refus refus_angle_affiche(double angle, bool theta);
Refus refus_espacement(double d);            // positive
Refus refus_lambda(double lambda);           // (0, 10) angstrom
Refus refus_aire(double aire);               // not negative
Refus refus_tolerance(double tolerance);     // positive
Refus refus_plage(double debut, double fin); // 0 <= debut < fin <= 180, 2theta

// One cell parameter (0 ... 5: a, b, c, alpha, beta, gamma): lengths positive,
// angles in (0, 180).
Refus refus_parametre_maille(int rang, double valeur);
// Every parameter, one by one, in the order a ... gamma.
Refus refus_parametres_maille(const Maille& maille);
// Every parameter, then the angles together: they must give a real cell.
Refus refus_maille(const Maille& maille);

// "Row 4: " before a refusal of a grid's row, "Line 12: " of a file's line,
// "Peak 3: " of a binary file's record.
std::string sur_ligne(int ligne, std::string_view refus);
std::string sur_ligne_fichier(int ligne, std::string_view refus);
std::string sur_pic_fichier(int pic, std::string_view refus);

// The parameters' names as messages write them.
std::string_view nom_parametre_maille(int rang);

} // namespace kovrin
