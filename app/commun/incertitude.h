#pragma once
// A value with its standard uncertainty in the notation of crystallographic
// journals and CIF files: 5.43123(2) is 5.43123 +- 0.00002. The uncertainty
// keeps one significant digit, two when they read 19 or less (so that
// 0.00014 does not become 0.0001), and the value is rounded at its last digit.
#include <string>

namespace kovrin {

// A zero, negative or non-finite uncertainty gives the value alone, in its
// shortest single-precision text (the engine's values are single precision).
std::string texte_avec_incertitude(double valeur, double incertitude);

// An uncertainty alone to two significant digits (0.0000063, 0.00015, 0.10);
// empty when it is not positive and finite.
std::string texte_incertitude(double incertitude);

} // namespace kovrin
