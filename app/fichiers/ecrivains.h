#pragma once
// Writers of peak and profile files (DIFFRAC-AT DIF2 and RAW2, one-column
// peak angles, Sietronics CPI). Every file written is read back by the
// matching reader.
#include "commun/espace_travail.h"

#include <filesystem>
#include <string>

namespace kovrin {

// What a peak file holds: the peaks, the wavelength, the start of the range.
struct PicsAEcrire {
    const ListeBornee<Mesure, 500>& mesures;
    double lambda = 0, angle_min = 0;
};

// What a profile file holds: its points and header, the title line, the start
// of the range (2theta).
struct ProfilAEcrire {
    const ListeBornee<PointProfil, 30000>& points;
    const EnteteProfil& entete;
    const std::string& titre;
    double angle_min = 0;
};

// Each writer creates or replaces the file; throws ErreurKovrin on an
// input/output error.
void ecrit_pics_dif(const PicsAEcrire& pics, const std::filesystem::path& fichier);
void ecrit_pics_colonne(const ListeBornee<Mesure, 500>& mesures,
                        const std::filesystem::path& fichier);
// Needs 2 to 32767 points.
void ecrit_profil_raw(const ProfilAEcrire& profil, const std::filesystem::path& fichier);
// Needs at least 2 points.
void ecrit_profil_cpi(const ProfilAEcrire& profil, const std::filesystem::path& fichier);

// Today's date in the user's short date format.
std::string date_du_jour();

} // namespace kovrin
