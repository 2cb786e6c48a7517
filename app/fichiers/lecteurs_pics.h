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

// The peaks as a file gives them, before they are checked and scaled.
struct PicsBruts {
    std::vector<double> angles, intensites;
    std::vector<int> lignes; // a text file's line of each peak; empty for a binary file
    void ajoute(double angle, double intensite, int ligne = 0);
};

// The common end of the peak readers: peaks in file order, intensities scaled
// to 100 when `normalise`, angle range first - 2 ... last + 2 with the high end
// brought back to `plafond` - 1 when it reaches `plafond` (0: no ceiling).
// Refuses an empty list, one of more than 500 peaks, and a peak whose angle
// lies outside (0, 180) degrees 2theta or whose intensity is negative, naming
// its line (its rank in a binary file).
void termine_pics(PicsLus& pics, PicsBruts bruts, bool normalise, double plafond,
                  const std::filesystem::path& fichier);

} // namespace kovrin
