#include "cristallo/geometrie.h"

#include "cristallo/systemes.h"

#include <cmath>

namespace kovrin {

namespace {

bool egales(double x, double y) {
    return std::fabs(x - y) < 0.001;
}
bool differentes(double x, double y) {
    return std::fabs(x - y) > 0.001;
}

std::string systeme_angles_droits(double a, double b, double c, const std::string& actuel) {
    if (egales(a, b) && egales(b, c) && egales(c, a)) return code_de(Systeme::cubique);
    if (egales(a, b) && differentes(b, c)) return code_de(Systeme::tetragonal);
    if (differentes(a, b) && differentes(b, c)) return code_de(Systeme::orthorhombique);
    return actuel;
}

} // namespace

void systeme_de_maille(const Maille& m, std::string& systeme) {
    const double a = m[0], b = m[1], c = m[2], al = m[3], be = m[4], ga = m[5];
    if (al == 90 && be == 90 && ga == 90)
        systeme = systeme_angles_droits(a, b, c, systeme);
    else if (al == 90 && be == 90 && ga == 120)
        systeme = code_de(Systeme::hexagonal);
    else if (egales(a, b) && egales(b, c) && egales(c, a))
        systeme = code_de(Systeme::rhomboedrique);
    else if ((al == 90 && ga == 90) || (be == 90 && ga == 90) || (al == 90 && be == 90))
        systeme = code_de(Systeme::monoclinique);
    else
        systeme = code_de(Systeme::triclinique);
}

bool calcul_reciproque(const Maille& m, Maille& rec, MatriceB& b) {
    const double al = m[3] / degres_par_radian, be = m[4] / degres_par_radian,
                 ga = m[5] / degres_par_radian;
    const double ca = std::cos(al), cb = std::cos(be), cg = std::cos(ga);
    const double sa = std::sin(al), sb = std::sin(be), sg = std::sin(ga);
    const double radicande = 1 - ca * ca - cb * cb - cg * cg + 2 * ca * cb * cg;
    const double v = m[0] * m[1] * m[2] * std::sqrt(radicande);
    if (!(radicande > 0) || !(std::fabs(v) > 0) || sa == 0 || sb == 0 || sg == 0) return false;
    const double as = m[1] * m[2] * sa / v, bs = m[2] * m[0] * sb / v, cs = m[0] * m[1] * sg / v;
    const double als = std::acos((cb * cg - ca) / (sb * sg));
    const double bes = std::acos((cg * ca - cb) / (sg * sa));
    const double gas = std::acos((ca * cb - cg) / (sa * sb));
    rec = {as, bs, cs, als * degres_par_radian, bes * degres_par_radian, gas * degres_par_radian};
    b = {};
    b[0] = {as, bs * std::cos(gas), cs * std::cos(bes)};
    b[1] = {0, bs * std::sin(gas), -cs * std::sin(bes) * ca};
    b[2] = {0, 0, 1 / m[2]};
    return true;
}

double inverse_d_carre(const MatriceB& b, int h, int k, int l) {
    double q = 0;
    for (const auto& ligne : b) {
        const double x = ligne[0] * h + ligne[1] * k + ligne[2] * l;
        q += x * x;
    }
    return q;
}

double deux_theta_de_d(double d, double lambda) {
    return std::asin(lambda / (2 * d)) * deux_theta_par_radian;
}

double inverse_d_de_deux_theta(double deux_theta, double lambda) {
    return 2 * std::sin(deux_theta / deux_theta_par_radian) / lambda;
}

} // namespace kovrin
