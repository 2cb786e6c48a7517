#pragma once
// Degree/radian factors, in one place. The exact ones serve new computations;
// the rounded ones are those each historic formula has always used, kept so
// that no listing, table or file changes by a digit.
#include <numbers>

namespace kovrin {

inline constexpr double radians_par_degre = std::numbers::pi / 180;
inline constexpr double degres_par_radian_exact = 180 / std::numbers::pi;
inline constexpr double radians_theta_par_degre_2theta = std::numbers::pi / 360;

// Cell geometry, Bragg angles and the export's theta.
inline constexpr double degres_par_radian = 57.2957;
inline constexpr double deux_theta_par_radian = 114.5914;
// The peak search and the export's zero-corrected spacing.
inline constexpr double deux_theta_par_radian_recherche = 114.5916;
// The profile window's read-out.
inline constexpr double deux_theta_par_radian_lecture = 114.592;
// The diagram's read-out and the main window's spacings (radians of theta per
// degree of theta or of 2theta).
inline constexpr double radian_par_degre_theta_trace = 0.0174533167;
inline constexpr double radian_par_degre_2theta_trace = 0.0087266127;
inline constexpr double radian_theta_par_degre_2theta_affichage = 0.0087266431;

} // namespace kovrin
