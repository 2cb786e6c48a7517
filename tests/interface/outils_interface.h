#pragma once
// Small builders shared by the workspace tests: lists written straight into the
// workspace, and peak and profile files written in the current directory.
#include "commun/espace_travail.h"
#include "commun/format.h"

#include <array>
#include <initializer_list>
#include <string>
#include <tuple>

namespace kovrin::test {

inline void mesures(EspaceTravail& et, std::initializer_list<double> angles) {
    et.mesures.efface();
    for (double a : angles)
        et.mesures.ajoute({a, a, 100.0});
}

struct Raie {
    int h, k, l;
    float deux_theta;
};

inline void calculees(EspaceTravail& et, std::initializer_list<Raie> raies) {
    et.calculees.efface();
    for (const Raie& r : raies)
        et.calculees.ajoute({static_cast<std::int16_t>(r.h), static_cast<std::int16_t>(r.k),
                             static_cast<std::int16_t>(r.l), 1.0f, r.deux_theta});
}

inline std::array<int, 3> indices(const Paire& p) {
    return {p.h, p.k, p.l};
}

inline void domaine(EspaceTravail& et, double debut, double fin) {
    et.angle_min = et.angle_min_initial = debut;
    et.angle_max = et.angle_max_initial = fin;
}

inline std::string nombre_fixe(double x) {
    return pascal_reel(x, 0, 6);
}

// A column peak file: one angle per line, CR LF.
inline std::string fichier_colonne(std::initializer_list<double> angles) {
    std::string texte;
    for (double a : angles)
        texte += nombre_fixe(a) + "   100.0\r\n";
    return texte;
}

// A Sietronics CPI profile: start, end, step, anode, wavelength, intensities.
inline std::string fichier_cpi(double debut, double fin, double pas, const std::string& anode,
                               double lambda, std::initializer_list<double> intensites) {
    std::string t = "SIETRONICS XRD SCAN\r\n" + nombre_fixe(debut) + "\r\n" + nombre_fixe(fin) +
                    "\r\n" + nombre_fixe(pas) + "\r\n" + anode + "\r\n" + nombre_fixe(lambda) +
                    "\r\n\r\n\r\nSampleIdent test\r\nSCANDATA\r\n";
    for (double i : intensites)
        t += nombre_fixe(i) + "\r\n";
    return t;
}

} // namespace kovrin::test
