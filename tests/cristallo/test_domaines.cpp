// The domains of user values: each check against values on both sides of its
// bounds, the bounds themselves, and numbers that are not finite.
#include "cristallo/domaines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace kovrin;

namespace {

constexpr double nan_ = std::numeric_limits<double>::quiet_NaN();
constexpr double inf_ = std::numeric_limits<double>::infinity();

struct Cas {
    const char* quoi;
    std::function<Refus()> verifie;
    const char* refus; // nullptr: the value lies in its domain
};

const char* const deux_theta = "2θ must lie between 0 and 180 degrees";
const char* const theta = "θ must lie between 0 and 90 degrees";
const char* const plage = "the range must run from a smaller to a larger angle between 0 and 180 "
                          "degrees 2θ";
const char* const sans_maille = "the cell angles α, β, γ give no real cell";

Maille maille(double a, double b, double c, double al, double be, double ga) {
    return {a, b, c, al, be, ga};
}

} // namespace

TEST(Domaines, EveryCheckAtAndAroundItsBounds) {
    const Cas cas[] = {
        {"2θ 0.001", [] { return refus_deux_theta(0.001); }, nullptr},
        {"2θ 179.999", [] { return refus_deux_theta(179.999); }, nullptr},
        {"2θ 0", [] { return refus_deux_theta(0); }, deux_theta},
        {"2θ 180", [] { return refus_deux_theta(180); }, deux_theta},
        {"2θ NaN", [] { return refus_deux_theta(nan_); }, deux_theta},
        {"θ 89.9", [] { return refus_angle_affiche(89.9, true); }, nullptr},
        {"θ 90", [] { return refus_angle_affiche(90, true); }, theta},
        {"2θ 180 shown", [] { return refus_angle_affiche(180, false); }, deux_theta},
        {"d 1e-9", [] { return refus_espacement(1e-9); }, nullptr},
        {"d 0", [] { return refus_espacement(0); }, "d must be positive"},
        {"d inf", [] { return refus_espacement(inf_); }, "d must be positive"},
        {"λ 1.5406", [] { return refus_lambda(1.5406); }, nullptr},
        {"λ 0", [] { return refus_lambda(0); }, "λ must lie between 0 and 10 Å"},
        {"λ 10", [] { return refus_lambda(10); }, "λ must lie between 0 and 10 Å"},
        {"area 0", [] { return refus_aire(0); }, nullptr},
        {"area -0.1", [] { return refus_aire(-0.1); }, "the area must not be negative"},
        {"area inf", [] { return refus_aire(inf_); }, "the area must not be negative"},
        {"tolerance 0.01", [] { return refus_tolerance(0.01); }, nullptr},
        {"tolerance 0", [] { return refus_tolerance(0); }, "the tolerance must be positive"},
        {"range 0 ... 180", [] { return refus_plage(0, 180); }, nullptr},
        {"range 20 ... 20", [] { return refus_plage(20, 20); }, plage},
        {"range -1 ... 20", [] { return refus_plage(-1, 20); }, plage},
        {"range 10 ... 181", [] { return refus_plage(10, 181); }, plage},
        {"range NaN", [] { return refus_plage(nan_, 20); }, plage},
        {"a 0", [] { return refus_parametre_maille(0, 0); }, "a must be positive"},
        {"c -5", [] { return refus_parametre_maille(2, -5); }, "c must be positive"},
        {"β 180", [] { return refus_parametre_maille(4, 180); },
         "β must lie between 0 and 180 degrees"},
        {"γ 0", [] { return refus_parametre_maille(5, 0); },
         "γ must lie between 0 and 180 degrees"},
        {"silicon", [] { return refus_maille(maille(5.431, 5.431, 5.431, 90, 90, 90)); }, nullptr},
        {"rhombohedral 60°", [] { return refus_maille(maille(5, 5, 5, 60, 60, 60)); }, nullptr},
        {"b negative", [] { return refus_maille(maille(5, -5, 5, 90, 90, 90)); },
         "b must be positive"},
        {"α 999", [] { return refus_maille(maille(5, 5, 5, 999, 90, 90)); },
         "α must lie between 0 and 180 degrees"},
        // cos 120° = -1/2: 1 - 3/4 + 2(-1/8) = 0, a flat cell.
        {"120° ×3", [] { return refus_maille(maille(5, 5, 5, 120, 120, 120)); }, sans_maille},
        // α > β + γ: the third angle cannot close the cell.
        {"100 30 30", [] { return refus_maille(maille(5, 5, 5, 100, 30, 30)); }, sans_maille},
        {"the lengths first",
         [] { return refus_parametres_maille(maille(-1, 5, 5, 120, 120, 120)); },
         "a must be positive"},
        {"no metric check", [] { return refus_parametres_maille(maille(5, 5, 5, 120, 120, 120)); },
         nullptr},
    };
    for (const Cas& c : cas) {
        const Refus r = c.verifie();
        if (c.refus)
            EXPECT_EQ(r.value_or("accepted"), c.refus) << c.quoi;
        else
            EXPECT_FALSE(r) << c.quoi << ": " << *r;
    }
}
