// The automatic peak search: synthetic profiles whose peaks are known, and
// hand-made second derivatives that exercise each rule of the lobe scan.
#include "profil/recherche_pics.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>

using namespace kovrin;

namespace {

// The four contamination boxes as typed.
ChampsContamination champs(const std::array<const char*, 4>& textes) {
    return {Saisie::de_texte(textes[0]), Saisie::de_texte(textes[1]), Saisie::de_texte(textes[2]),
            Saisie::de_texte(textes[3])};
}

constexpr double degres = 180 / std::numbers::pi;

// Profile from `debut` in steps of `pas`, intensity f(angle).
void remplit_profil(EspaceTravail& e, double debut, double pas, int n,
                    const std::function<double(double)>& f) {
    e.profil.efface();
    for (int i = 0; i < n; ++i) {
        const double a = debut + pas * i;
        e.profil.ajoute({static_cast<float>(a), static_cast<float>(f(a))});
    }
}

// Gaussian of full width at half maximum `fwhm`.
double gaussienne(double a, double centre, double fwhm, double hauteur) {
    const double sigma = fwhm / (2 * std::sqrt(2 * std::log(2.0)));
    return hauteur * std::exp(-0.5 * std::pow((a - centre) / sigma, 2));
}

// Profile with a hand-made second derivative: n points from 10 in steps of 0.1.
EspaceTravail espace_derivee(const std::vector<float>& derivee) {
    EspaceTravail e;
    const int n = static_cast<int>(derivee.size()) - 1;
    remplit_profil(e, 10, 0.1, n, [](double a) { return a; });
    e.entete_profil.anode = "?"; // no contamination pass
    e.recherche.derivee_seconde = derivee;
    e.recherche.seuil = 2.0;
    e.recherche.largeur_min = 0.10;
    e.recherche.largeur_max = 1.0;
    return e;
}

// The angle 2theta at which the spacing seen at `deux_theta` with `lambda`
// diffracts `lambda_c`, degrees.
double angle_sous(double deux_theta, double lambda, double lambda_c) {
    const double d = lambda / (2 * std::sin(deux_theta / 2 / degres));
    return 2 * std::asin(lambda_c / (2 * d)) * degres;
}

// A workspace and the dialogues the contamination pass shows.
struct Contaminations : ::testing::Test {
    EspaceTravail e;
    DialoguesEnregistres d;
};

} // namespace

TEST(RecherchePics, OneGaussianIsFoundOnceAtItsCentre) {
    EspaceTravail e;
    DialoguesEnregistres d;
    // FWHM 0.3: the negative lobe of the second derivative spans about
    // 2 sigma = 0.25 degrees, inside 0.10 ... 1.0 and beyond 0.2.
    const double centre = 40.003;
    remplit_profil(e, 35, 0.01, 1001, [&](double a) { return 5 + gaussienne(a, centre, 0.3, 95); });
    ASSERT_TRUE(prepare_recherche(e, d).has_value());

    e.mesures.ajoute({12, 12, 50, 1}); // replaced by the search
    lance_recherche(e, limites_de_positions(PositionsRecherche{}), ChampsContamination{}, d);
    ASSERT_EQ(e.mesures.taille(), 1);
    // The lobe is symmetric: the linear interpolation errors of its two edges
    // mirror each other and cancel in the centre; what is left comes from the
    // asymmetric sampling of a centre off the grid and from the single-precision
    // angles, well under half a step (0.005).
    EXPECT_NEAR(e.mesures[1].deux_theta_mes, centre, 0.005);
    // The intensity is the profile's value at the centre.
    EXPECT_NEAR(e.mesures[1].intensite_mes, 100.0, 0.5);

    lance_recherche(e, limites_de_positions(PositionsRecherche{20, 10, 2}), ChampsContamination{},
                    d);
    EXPECT_EQ(e.mesures.taille(), 0) << "max width 0.2 refuses a lobe of 0.25";
    // A profile taken in since the search was prepared has curves of its own.
    remplit_profil(e, 35, 0.01, 1101, [](double a) { return 5 + gaussienne(a, 42.0, 0.3, 95); });
    lance_recherche(e, limites_de_positions(PositionsRecherche{}), ChampsContamination{}, d);
    ASSERT_EQ(e.mesures.taille(), 1);
    EXPECT_NEAR(e.mesures[1].deux_theta_mes, 42.0, 0.005);
}

// The panel's limits: what a bar position stands for, the box's text, and the
// typed values refused.
TEST(RecherchePics, PanelLimitsTheirTextsAndTheirRefusals) {
    using L = LimiteRecherche;
    struct Cas {
        L quelle;
        double valeur;
        const char* texte;
        int position;
    };
    for (const Cas& c : {Cas{L::seuil, 2.0, "2.0", 20}, Cas{L::seuil, 3.26, "3.26", 33},
                         Cas{L::seuil, 50, "50", 100}, Cas{L::largeur_min, 0.1, "0.10", 10},
                         Cas{L::largeur_min, 0.004, "0.004", 1}, Cas{L::largeur_max, 1, "1.00", 10},
                         Cas{L::largeur_max, 4.9, "4.90", 49}}) {
        EXPECT_EQ(texte_limite(c.quelle, c.valeur), c.texte) << c.valeur;
        EXPECT_EQ(position_de_limite(c.quelle, c.valeur), c.position) << c.valeur;
    }
    EXPECT_DOUBLE_EQ(limite_de_position(L::largeur_min, 13), 0.13);
    RecherchePics r; // widths 0.10 ... 1.0
    struct Refus {
        L quelle;
        double valeur;
        const char* message; // nullptr: accepted
    };
    for (const Refus& c :
         {Refus{L::seuil, 0, "the threshold must be positive"},
          Refus{L::seuil, std::nan(""), "the threshold must be positive"},
          Refus{L::seuil, 0.001, nullptr},
          Refus{L::largeur_min, -0.1, "the smallest peak width must be positive"},
          Refus{L::largeur_min, 1.5, "the smallest peak width must not exceed the largest"},
          Refus{L::largeur_min, 1.0, nullptr},
          Refus{L::largeur_max, INFINITY, "the largest peak width must be positive"},
          Refus{L::largeur_max, 0.05, "the smallest peak width must not exceed the largest"},
          Refus{L::largeur_max, 0.1, nullptr}}) {
        const auto refus = refus_limite(r, c.quelle, c.valeur);
        EXPECT_EQ(refus.value_or(""), c.message ? c.message : "") << c.valeur;
    }
    limite(r, L::largeur_max) = 2.5;
    EXPECT_EQ(limites_courantes(r).largeur_max, 2.5);
}

TEST(RecherchePics, CentreAmongTheFirstThreePointsAndDepthAtTheThresholdAreRejected) {
    // Lobe between points 2 and 4 with its centre at 10.176 (between points 2
    // and 3): k = 3 is rejected. The same lobe three points later is accepted.
    std::vector<float> derivee(21, 1.0f);
    derivee[2] = 0.1f, derivee[3] = -10, derivee[4] = 10;
    derivee[5] = 0.1f, derivee[6] = -10, derivee[7] = 10;
    EspaceTravail e = espace_derivee(derivee);
    DialoguesEnregistres d;
    cherche_pics(e, {}, d);
    ASSERT_EQ(e.mesures.taille(), 1);
    // Edges: (0.1 * 10.5 + 10 * 10.4) / 10.1 and (10 * 10.6 + 10 * 10.5) / 20.
    const double x1 = (0.1 * 10.5 + 10 * 10.4) / 10.1, x2 = 10.55;
    EXPECT_NEAR(e.mesures[1].deux_theta_mes, (x1 + x2) / 2, 1e-5);
    // Its depth 10 must pass the threshold strictly.
    e.recherche.seuil = 10;
    cherche_pics(e, {}, d);
    EXPECT_EQ(e.mesures.taille(), 0);
    e.recherche.seuil = 9.9;
    cherche_pics(e, {}, d);
    EXPECT_EQ(e.mesures.taille(), 1);
}

TEST(RecherchePics, LobeTouchingTheEndStopsTheSearch) {
    std::vector<float> derivee(21, 1.0f);
    derivee[6] = -10, derivee[7] = 10;
    for (int i = 15; i <= 20; ++i)
        derivee[static_cast<std::size_t>(i)] = -10; // never rises again
    EspaceTravail e = espace_derivee(derivee);
    DialoguesEnregistres d;
    cherche_pics(e, {}, d);
    ASSERT_EQ(e.mesures.taille(), 1);
    EXPECT_NEAR(e.mesures[1].deux_theta_mes, 10.5, 0.06);
}

TEST(RecherchePics, ShortLobesAreSkippedByTheirLength) {
    // Two-point lobes whose edges lie just inside their neighbours: 0.2998 degree
    // wide for j - i = 2 points.
    std::vector<float> derivee(31, 1.0f);
    for (std::size_t i = 5; i <= 25; i += 5)
        derivee[i - 1] = 0.01f, derivee[i] = -10, derivee[i + 1] = -10, derivee[i + 2] = 0.01f;
    EspaceTravail e = espace_derivee(derivee);
    e.recherche.largeur_min = 0.2; // 2 points
    DialoguesEnregistres d;
    cherche_pics(e, {}, d);
    ASSERT_EQ(e.mesures.taille(), 5);
    EXPECT_NEAR(e.mesures[1].deux_theta_mes, 10.45, 1e-4);
    // 0.29 asks for 3 points: refused by the length before the width is measured.
    e.recherche.largeur_min = 0.29;
    cherche_pics(e, {}, d);
    EXPECT_EQ(e.mesures.taille(), 0);
}

TEST(RecherchePics, MoreThan500PeaksStopsWithTheFirst500) {
    // Alternating signs: one peak every second point, about 600 of them.
    std::vector<float> derivee(1201);
    for (std::size_t i = 1; i < derivee.size(); ++i)
        derivee[i] = i % 2 == 1 ? -10.0f : 10.0f;
    EspaceTravail e = espace_derivee(derivee);
    e.recherche.largeur_min = 0.05; // each lobe is one step (0.1) wide
    DialoguesEnregistres d;
    cherche_pics(e, {}, d);
    EXPECT_EQ(e.mesures.taille(), 500);
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Too many peaks (> 500)"});
}

TEST(RecherchePics, IntensityIsInterpolatedBetweenTheTwoPointsAroundTheAngle) {
    // A peak at 31.971 degrees where the counts are 14 at 31.97 and 1 at 32.03:
    // not the next point's 1, but the value on the line between them.
    EspaceTravail e;
    for (double a : {31.91, 31.97, 32.03, 32.09})
        e.profil.ajoute({static_cast<float>(a), a == 31.97 ? 14.0f : a == 32.03 ? 1.0f : 5.0f});
    const double a0 = 31.97f, a1 = 32.03f;
    struct Cas {
        double angle, attendue;
    };
    for (const Cas& c : {Cas{31.971, 14 + (1 - 14) * (31.971 - a0) / (a1 - a0)}, Cas{a0, 14},
                         Cas{a1, 1}, Cas{31.0, 5}, Cas{33.0, 5}})
        for (bool croissant : {false, true})
            EXPECT_NEAR(intensite_au_angle(e.profil, c.angle, croissant), c.attendue, 1e-5)
                << c.angle;
    EXPECT_EQ(intensite_au_angle(ListeBornee<PointProfil, 30000>{}, 31.971), 0.0);
}

// The bisection finds the point the scan finds, on profiles with equal
// neighbouring angles too, for angles on, between and beyond the points.
TEST(RecherchePics, PositionVersIndiceBisectsAsItScans) {
    std::mt19937 hasard(6);
    auto tire = [&hasard](double a, double b) {
        return std::uniform_real_distribution<>(a, b)(hasard);
    };
    for (int essai = 0; essai < 300; ++essai) {
        EspaceTravail e;
        float angle = static_cast<float>(tire(5, 20));
        const int n = static_cast<int>(tire(1, 400));
        for (int i = 0; i < n;
             ++i, angle += static_cast<float>(tire(0, 1) < 0.2 ? 0 : tire(0, 0.05)))
            e.profil.ajoute({angle, 1});
        ASSERT_TRUE(angles_croissants(e.profil));
        for (int q = 0; q < 50; ++q) {
            const double cherche = q % 5 == 0 ? e.profil[static_cast<int>(tire(1, n))].angle
                                              : tire(e.profil[1].angle - 1, angle + 1);
            EXPECT_EQ(position_vers_indice(e.profil, cherche, true),
                      position_vers_indice(e.profil, cherche))
                << cherche;
        }
        EXPECT_EQ(position_vers_indice(e.profil, std::nan(""), true), 0);
    }
}

TEST_F(Contaminations, CopperBoxesArePrefilledFromTheWavelengthTable) {
    remplit_profil(e, 20, 0.02, 100, [](double) { return 1; });
    e.entete_profil.anode = "Cu";
    e.entete_profil.lambda = 1.5418;
    auto champs = prepare_recherche(e, d);
    ASSERT_TRUE(champs.has_value());
    EXPECT_EQ((std::array{texte_contamination(champs->longueur_l1),
                          texte_contamination(champs->pourcentage_l1),
                          texte_contamination(champs->longueur_l2),
                          texte_contamination(champs->pourcentage_l2)}),
              (std::array<std::optional<std::string>, 4>{" 1.39222", " 1", " 1.025", " 0.5"}));
}

TEST_F(Contaminations, DoubletGetsCodesTwoAndThreeAndKeepingDropsKalpha2) {
    EnteteProfil& t = e.entete_profil;
    t.anode = "Cu", t.lambda = 1.54184, t.lambda1 = 1.5406, t.lambda2 = 1.54439, t.rapport = 0;
    const double a1 = 120.003, a2 = angle_sous(a1, 1.5406, 1.54439); // 0.49 degree apart
    remplit_profil(e, 115, 0.01, 1001, [&](double a) {
        return 2 + gaussienne(a, a1, 0.15, 90) + gaussienne(a, a2, 0.15, 45);
    });
    auto champs = prepare_recherche(e, d);
    ASSERT_TRUE(champs.has_value());
    lance_recherche(e, limites_de_positions(PositionsRecherche{}), *champs, d);
    ASSERT_EQ(e.mesures.taille(), 2);
    EXPECT_NEAR(e.mesures[1].deux_theta_mes, a1, 0.005);
    EXPECT_NEAR(e.mesures[2].deux_theta_mes, a2, 0.005);
    EXPECT_EQ(e.mesures[2].code_raie, raie_k_alpha2);

    ASSERT_TRUE(choix_genres_possible(e));
    garde_genres_choisis(e, {true, true, false, false, false}); // "K Alpha", "K Alpha1"
    ASSERT_EQ(e.mesures.taille(), 1);
    EXPECT_NEAR(e.mesures[1].deux_theta_mes, a1, 0.005);
}

TEST_F(Contaminations, WeakLinesOfTheContaminatingWavelengthsAreMarked) {
    const double lambda = 1.5418;
    auto ligne = [&](double deux_theta, double lambda_c) {
        return angle_sous(deux_theta, lambda, lambda_c);
    };
    e.entete_profil.lambda = lambda;
    e.entete_profil.anode = "Cu";
    // Kbeta of the 50-degree peak at 2 % (below 3 x 1 %), L2 line of it at 1 %
    // (below 3 x 0.5 %), and a peak at the Kbeta place of the 70-degree peak
    // but 5 % strong: a real reflection, not marked.
    e.mesures.ajoute({ligne(50, 1.025) + 0.03, 0, 1, 1});
    e.mesures.ajoute({ligne(50, 1.39222) - 0.04, 0, 2, 1});
    e.mesures.ajoute({50, 0, 100, 1});
    e.mesures.ajoute({ligne(70, 1.39222), 0, 5, 1});
    e.mesures.ajoute({70, 0, 100, 1});
    marque_contaminations(e, champs({" 1.39222", " 1", " 1.025", " 0.5"}), d);
    EXPECT_TRUE(d.journal.empty());
    EXPECT_EQ(e.mesures[1].code_raie, raie_l2);
    EXPECT_EQ(e.mesures[2].code_raie, raie_l1);
    EXPECT_EQ(e.mesures[4].code_raie, raie_k_alpha);
}

TEST_F(Contaminations, BadContaminationData) {
    e.entete_profil.lambda = 1.5418;
    e.mesures.ajoute({40, 0, 1, 4});
    e.mesures.ajoute({50, 0, 100, 5});
    for (const ChampsContamination& boites :
         {champs({"1.3x", "1", "", ""}), champs({"1.39", "", "", ""}),
          champs({"1.39222", "1", "1.025", "half"})}) {
        d.vide();
        marque_contaminations(e, boites, d);
        EXPECT_EQ(d.erreurs(), std::vector<std::string>{"bad contamination data"});
        EXPECT_EQ(e.mesures[1].code_raie, raie_k_alpha);
    }
}
