#pragma once
// What the readers of peak, profile and cell files return. A reader parses the
// whole file into one of these values; the workspace takes it only when the
// read succeeded (a failed read returns nothing and leaves the workspace alone).
#include "commun/espace_travail.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kovrin {

struct PicLu {
    double angle = 0;     // degrees 2theta
    double intensite = 0; // normalised: largest 100, or the constant 100
};

struct PicsLus {
    std::vector<PicLu> pics; // file order
    std::string echantillon;
    std::string anode;
    // Wavelengths carried by the file (DIF, Philips); unset for the formats
    // whose wavelength comes from the wavelength dialog.
    bool porte_longueurs_onde = false;
    double lambda = 0, lambda1 = 0, lambda2 = 0, rapport = 0;
    std::optional<std::string> ligne_titre;  // Philips: "Date: d/m/y/"
    double angle_debut = 0, angle_fin = 0;   // first angle - 2, last angle + 2 (clamped)
    std::optional<double> echelle_intensite; // unset when nothing was normalised
    std::vector<std::string> informations;   // to show once the file is taken
};

struct ProfilLu {
    std::vector<PointProfil> points;  // normalised intensities
    std::optional<std::string> titre; // unset: the profile title keeps its value
    std::string anode;
    double lambda = 0, lambda1 = 0, lambda2 = 0, rapport = 0;
    double angle_debut = 0, angle_fin = 0, pas = 0;
    double intensite_max_brute = 0, intensite_min_brute = 0;
    std::vector<std::string> informations; // to show once the file is taken
};

struct MailleLue {
    std::optional<std::string> ligne_titre;
    std::optional<std::string> systeme; // unset: the system is left as it was
    std::string groupe;
    std::array<double, 6> maille{};
};

} // namespace kovrin
