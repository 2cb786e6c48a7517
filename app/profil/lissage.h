#pragma once
// Savitzky-Golay convolution filter (quadratic/cubic weights): smoothing, first
// and second derivative of equally spaced data.
#include <vector>

namespace kovrin {

// Filters entree[1 .. n] into sortie[1 .. n] (index 0 unused, set to 0).
// m, the half-width code 1 ... 5, gives a window of 2m + 3 points; d is the
// order: 0 smoothing, 1 first derivative, 2 second derivative, both per index
// step. The m + 1 points at each end repeat the nearest computed value; when no
// point has a full window the output is all 0. An m or d out of range leaves
// `sortie` untouched. `sortie` is grown to n + 1 entries when it is shorter;
// any length of n is accepted (the profile holds up to 30000 points).
void lisse_derive(const std::vector<float>& entree, int n, int m, std::vector<float>& sortie,
                  int d);

} // namespace kovrin
