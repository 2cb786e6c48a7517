#include "outils_interface.h"

#include <cstdio>

namespace kovrin::test {

namespace {
std::string nombre(double x) {
    char t[64];
    std::snprintf(t, sizeof t, "%.6f", x);
    return t;
}
} // namespace

std::string fichier_colonne(std::initializer_list<double> angles) {
    std::string texte;
    for (double a : angles)
        texte += nombre(a) + "   100.0\r\n";
    return texte;
}

std::string fichier_cpi(double debut, double fin, double pas, const std::string& anode,
                        double lambda, std::initializer_list<double> intensites) {
    std::string t = "SIETRONICS XRD SCAN\r\n" + nombre(debut) + "\r\n" + nombre(fin) + "\r\n" +
                    nombre(pas) + "\r\n" + anode + "\r\n" + nombre(lambda) +
                    "\r\n\r\n\r\nSampleIdent test\r\nSCANDATA\r\n";
    for (double i : intensites)
        t += nombre(i) + "\r\n";
    return t;
}

} // namespace kovrin::test
