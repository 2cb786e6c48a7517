#include "cristallo/domaines.h"

#include "cristallo/metrique.h"

#include <array>
#include <cmath>

namespace kovrin {

namespace {

constexpr std::array<std::string_view, 6> noms_maille = {"a", "b", "c", "α", "β", "γ"};

// The angles' share of the volume, V / abc, below which a cell counts as flat:
// three angles of 120 degrees leave a determinant of rounding alone.
constexpr double part_volume_min = 1e-6;

// True for a finite value strictly between the bounds (NaN is outside).
bool entre(double v, double bas, double haut) {
    return v > bas && v < haut;
}

Refus hors(bool dedans, std::string texte) {
    return dedans ? Refus{} : Refus{std::move(texte)};
}

} // namespace

Refus refus_deux_theta(double deux_theta) {
    return hors(entre(deux_theta, 0, 180), "2θ must lie between 0 and 180 degrees");
}

Refus refus_angle_affiche(double angle, bool theta) {
    if (!theta) return refus_deux_theta(angle);
    return hors(entre(angle, 0, 90), "θ must lie between 0 and 90 degrees");
}

Refus refus_espacement(double d) {
    return hors(entre(d, 0, HUGE_VAL), "d must be positive");
}

Refus refus_lambda(double lambda) {
    return hors(entre(lambda, 0, lambda_maximale), "λ must lie between 0 and 10 Å");
}

Refus refus_aire(double aire) {
    return hors(aire >= 0 && std::isfinite(aire), "the area must not be negative");
}

Refus refus_tolerance(double tolerance) {
    return hors(entre(tolerance, 0, 180), "the tolerance must be positive");
}

Refus refus_plage(double debut, double fin) {
    const bool dedans = debut >= 0 && fin <= 180 && debut < fin;
    return hors(dedans, "the range must run from a smaller to a larger angle between 0 and 180 "
                        "degrees 2θ");
}

std::string_view nom_parametre_maille(int rang) {
    return noms_maille.at(static_cast<std::size_t>(rang));
}

Refus refus_parametre_maille(int rang, double valeur) {
    const std::string nom(nom_parametre_maille(rang));
    if (rang < 3) return hors(entre(valeur, 0, HUGE_VAL), nom + " must be positive");
    return hors(entre(valeur, 0, 180), nom + " must lie between 0 and 180 degrees");
}

Refus refus_parametres_maille(const Maille& maille) {
    for (int rang = 0; rang < 6; ++rang)
        if (Refus r = refus_parametre_maille(rang, maille[static_cast<std::size_t>(rang)]))
            return r;
    return {};
}

Refus refus_maille(const Maille& maille) {
    if (Refus r = refus_parametres_maille(maille)) return r;
    const double part = volume_maille(maille) / (maille[0] * maille[1] * maille[2]);
    return hors(part > part_volume_min, "the cell angles α, β, γ give no real cell");
}

std::string sur_ligne(int ligne, std::string_view refus) {
    return "Row " + std::to_string(ligne) + ": " + std::string(refus);
}

std::string sur_ligne_fichier(int ligne, std::string_view refus) {
    return "Line " + std::to_string(ligne) + ": " + std::string(refus);
}

std::string sur_pic_fichier(int pic, std::string_view refus) {
    return "Peak " + std::to_string(pic) + ": " + std::string(refus);
}

} // namespace kovrin
