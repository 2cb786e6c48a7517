#pragma once
// Readers of measured-peak files: DIFFRAC-AT DIF1/DIF2, XFIT, WINFIT, Philips
// .di and plain columns. Each returns every peak of the file in file order,
// intensities scaled so that the largest is 100 (or the constant 100); a file
// it cannot read is refused by an ErreurKovrin whose text says why.
#include "fichiers/donnees_lues.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace kovrin {

PicsLus lit_pics_dif(const std::filesystem::path& fichier);
PicsLus lit_pics_xfit(const std::filesystem::path& fichier);
PicsLus lit_pics_winfit(const std::filesystem::path& fichier);
PicsLus lit_pics_philips(const std::filesystem::path& fichier);
PicsLus lit_pics_colonne(const std::filesystem::path& fichier);

// The common end of the peak readers: peaks in file order, intensities scaled
// to 100 when `normalise`, angle range first - 2 ... last + 2 with the high end
// brought back to `plafond` - 1 when it reaches `plafond` (0: no ceiling).
// Refuses an empty list and one of more than 500 peaks.
void termine_pics(PicsLus& pics, const std::vector<double>& angles, std::vector<double> intensites,
                  bool normalise, double plafond, const std::filesystem::path& fichier);

} // namespace kovrin
