#pragma once
// Readers of raw diffraction profiles: DIFFRAC-AT raw files (RAW, RAW1, RAW2),
// Rietveld data files, Sietronics CPI files, Philips RD files, and the formats
// of today's instruments through xylib. Each returns the whole profile with its
// intensities normalised (smallest 0, largest 100); a file it cannot read is
// refused by an ErreurKovrin whose text says why.
#include "fichiers/donnees_lues.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace kovrin {

ProfilLu lit_profil_raw(const std::filesystem::path& fichier);
ProfilLu lit_profil_rietveld(const std::filesystem::path& fichier);
// `espace_occupe`: the workspace holds measured peaks or calculated reflections;
// the file's angle range and anode wavelengths are then not taken.
ProfilLu lit_profil_cpi(const std::filesystem::path& fichier, bool espace_occupe);
ProfilLu lit_profil_philips(const std::filesystem::path& fichier);
// Any file xylib reads (XRDML, UXD, UDF, text columns, raw files...):
// the first range whose angles are equidistant or increasing, the wavelengths of
// the file's metadata where it gives them.
ProfilLu lit_profil_xylib(const std::filesystem::path& fichier);
// True when the first bytes of a DIFFRAC-AT raw file name a layout that
// lit_profil_raw reads ("RAW ", "RAW1", "RAW2"), or when they cannot be read
// (lit_profil_raw then reports why).
bool layout_raw_connu(const std::filesystem::path& fichier);

// Mean wavelength of a Kalpha doublet: (Ka1 + ratio Ka2) / (ratio + 1) when
// Ka2 is given, else Ka1.
double lambda_moyenne(double lambda1, double lambda2, double rapport);

// Where the search for the largest and the smallest raw intensity starts.
struct DepartsExtremes {
    double plus_grande = 0;
    double plus_petite = 1000000;
};

// The common end of every profile reader: point i at depart + pas (i - 1),
// intensities normalised from their extremes. Refuses an empty profile, one of
// more than 30000 points and one whose intensities are all equal.
void termine_profil(ProfilLu& profil, const std::vector<double>& brutes, double depart, double pas,
                    DepartsExtremes departs, const std::filesystem::path& fichier);
// The same with the angle of each point given (the step is left to the caller).
void termine_profil_aux_angles(ProfilLu& profil, const std::vector<double>& angles,
                               const std::vector<double>& brutes, DepartsExtremes departs,
                               const std::filesystem::path& fichier);

} // namespace kovrin
