// The diagram window's arithmetic on a picture of known size: every expected
// pixel is worked out by hand from the mapping x = nearest((a - x0) px) + 3,
// y = H - nearest(i py) - 50.
#include "interface/diagramme.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kovrin;

namespace {

// A 1002 x 250 picture over 20 ... 50 degrees: 1000 / 30 pixels per degree,
// axis line at row 200, 2 pixels per intensity unit at scale 1.
constexpr int W = 1002, H = 250;

EspaceTravail espace_20_50() {
    EspaceTravail e;
    e.lambda = 1.5406;
    e.angle_min = e.angle_min_initial = 20;
    e.angle_max = e.angle_max_initial = 50;
    e.etendue = 30;
    return e;
}

struct Diagramme : ::testing::Test {
    EspaceTravail e = espace_20_50();
    EtatDiagramme etat;
};

bool a_segment(const Dessin& d, Point a, Point b, Couleur c) {
    return std::any_of(d.segments.begin(), d.segments.end(), [&](const Segment& s) {
        return s.debut == a && s.fin == b && s.couleur == c;
    });
}

} // namespace

TEST(Graduations, StepFollowsTheSpanAndTicksFollowTheStep) {
    EXPECT_EQ(pas_graduation(30), 5);
    EXPECT_EQ(pas_graduation(0.05), 0.01);
    EXPECT_EQ(pas_graduation(0.3), 10); // 0.1 ... 0.5 keeps the step 10
    EXPECT_EQ(pas_graduation(100.5), 20);

    EXPECT_EQ(graduations(21.3, 51.3), (std::vector<double>{25, 30, 35, 40, 45, 50}));
    auto fines = graduations(40.01, 40.06); // span 0.05: every 0.01, the end included
    ASSERT_EQ(fines.size(), 6u);
    EXPECT_NEAR(fines.back(), 40.06, 1e-9);
    EXPECT_TRUE(graduations(40.1, 40.4).empty()); // span 0.3: step 10, no multiple inside
    EXPECT_EQ(graduations(39.9, 40.2), std::vector<double>{40});
}

TEST_F(Diagramme, MappingAxisAndTicks) {
    VueDiagramme vue = vue_diagramme(e, etat, W, H);
    EXPECT_DOUBLE_EQ(vue.px_par_degre, 1000.0 / 30);
    EXPECT_EQ(vue.x_de_angle(20), 3);
    EXPECT_EQ(vue.x_de_angle(25), 170);    // 166.67 -> 167, + 3
    EXPECT_EQ(vue.y_de_valeur(0.25), 200); // 0.5 rounds to even: 0

    DessinDiagramme dessin = dessine_spectre(e, etat, -1, W, H);
    const Dessin& d = dessin.dessin;
    EXPECT_TRUE(a_segment(d, {170, 200}, {170, 205}, noir));
    auto texte = std::find_if(d.textes.begin(), d.textes.end(),
                              [](const TexteTrace& t) { return t.texte == " 25.0"; });
    ASSERT_NE(texte, d.textes.end());
    EXPECT_EQ(texte->coin, (Point{160, 205}));

    e.angle_max = 0; // no range: empty picture
    EXPECT_TRUE(dessine_spectre(e, etat, -1, W, H).dessin.segments.empty());
}

TEST_F(Diagramme, CalculatedTicksMeasuredBarsAndPairs) {
    for (float a : {15.0f, 25.0f, 49.0f, 55.0f, 30.0f}) // the 30 after 55 is never reached
        e.calculees.ajoute({1, 0, 0, 1.0f, a});
    e.fichier_maille = "/tmp/x/cu3au.cry";
    e.mesures.ajoute({25, 25, 40, 1});
    e.mesures.ajoute({35, 35, 150, 1}); // taller than the plot: clipped at row 1
    e.selection.ajoute({1, 1, 1, 25.0f, 25.03f});
    e.selection.ajoute({2, 0, 0, 35.0f, 34.99f});
    DessinDiagramme dessin = dessine_spectre(e, etat, 2, W, H);
    const Dessin& d = dessin.dessin;
    EXPECT_EQ(dessin.legende_calculees, "Calculated reflections: cu3au.cry");
    const int x25 = 170, x35 = 503;
    EXPECT_TRUE(a_segment(d, {x25, 200}, {x25, 249}, vert));
    EXPECT_EQ(std::count_if(d.segments.begin(), d.segments.end(),
                            [](const Segment& s) { return s.couleur == vert; }),
              2);
    EXPECT_TRUE(a_segment(d, {x25, 200}, {x25, 120}, noir)); // 40 x 2 pixels
    // Pair 1 in blue, pair 2 (the selected row of the refinement tables) in red.
    EXPECT_TRUE(a_segment(d, {x25, 200}, {x25, 15}, bleu));
    EXPECT_TRUE(a_segment(d, {171, 200}, {171, 235}, bleu)); // 25.03 -> 171
    EXPECT_TRUE(a_segment(d, {x35, 200}, {x35, 15}, rouge));
    auto numero = std::find_if(d.textes.begin(), d.textes.end(),
                               [](const TexteTrace& t) { return t.texte == "2"; });
    ASSERT_NE(numero, d.textes.end());
    EXPECT_EQ(numero->coin, (Point{x35 - 4, 15}));
}

TEST_F(Diagramme, ProfileSamplingKeepsBothEnds) {
    // 3000 points in range, 1008 pixel columns: one sample per column, the
    // first and last points in range always drawn.
    auto indices = echantillons_profil(11, 3010, 1008);
    ASSERT_EQ(indices.size(), 1008u);
    EXPECT_EQ(indices.front(), 11);
    EXPECT_EQ(indices.back(), 3010);
    // Fewer points than columns: points repeat, none outside i1 ... i2.
    auto peu = echantillons_profil(5, 7, 10);
    EXPECT_EQ(peu, (std::vector<int>{5, 5, 5, 6, 6, 6, 6, 7, 7, 7}));

    e.entete_profil.fichier_profil = "C:\\data\\cu3au.raw";
    for (int i = 0; i < 4000; ++i) // 18 ... 57.99 in steps of 0.01
        e.profil.ajoute({18.0f + 0.01f * static_cast<float>(i), 50.0f});
    DessinDiagramme dessin = dessine_spectre(e, EtatDiagramme{}, -1, W, H);
    EXPECT_EQ(dessin.legende_profil, "Observed profile: cu3au.raw");
    const auto& points = dessin.dessin.courbes[0].points;
    ASSERT_EQ(points.size(), 1008u);  // the profile window's 1010 - 2 columns
    EXPECT_EQ(points.back().x, 1003); // 50 degrees
}

TEST_F(Diagramme, ClickAndDragThresholds) {
    e.mesures.ajoute({25, 25, 40, 1});
    e.calculees.ajoute({1, 1, 0, 1.0f, 25.05f}); // x = 172
    e.selection.ajoute({1, 1, 0, 25.0f, 25.05f});

    // A move of 4 pixels is a click: nothing zooms, the hits are reported.
    souris_onmouseDown(etat, {170, 100});
    Relache r = relache_souris_diagramme(e, etat, W, H, BoutonSouris::gauche, {174, 100});
    ASSERT_TRUE(r.clic.has_value());
    EXPECT_EQ(r.clic->cote, CoteAxe::dessus);
    EXPECT_EQ(r.clic->mesures_touchees, std::vector<int>{});    // |174 - 170| = 4: not within
    EXPECT_EQ(r.clic->calculees_touchees, std::vector<int>{1}); // |174 - 172| = 2

    VueDiagramme vue = vue_diagramme(e, etat, W, H);
    Pointage p = touche_diagramme(e, vue, BoutonSouris::droit, {167, 230});
    EXPECT_EQ(p.cote, CoteAxe::dessous);
    EXPECT_EQ(p.mesures_touchees, std::vector<int>{1});
    EXPECT_TRUE(p.calculees_touchees.empty()); // |167 - 172| = 5
    EXPECT_EQ(touche_diagramme(e, vue, BoutonSouris::gauche, {170, 200}).cote, CoteAxe::sur);

    // Five pixels zoom.
    souris_onmouseDown(etat, {170, 100});
    r = relache_souris_diagramme(e, etat, W, H, BoutonSouris::gauche, {175, 120});
    EXPECT_FALSE(r.clic.has_value());
    EXPECT_NEAR(e.angle_min, 20 + 167 * 0.03, 1e-9);
    EXPECT_NEAR(e.angle_max, 20 + 172 * 0.03, 1e-9);
    // Upper point of the drag at row 100: 100 pixels above the axis, the scale doubles.
    EXPECT_DOUBLE_EQ(etat.echelle, 2.0);
}

TEST_F(Diagramme, ZoomRightToLeftAndInThetaMode) {
    EspaceTravail droite = espace_20_50();
    EtatDiagramme ed;
    souris_onmouseDown(etat, {303, 150});
    relache_souris_diagramme(e, etat, W, H, BoutonSouris::gauche, {603, 50});
    souris_onmouseDown(ed, {603, 50});
    relache_souris_diagramme(droite, ed, W, H, BoutonSouris::gauche, {303, 150});
    EXPECT_NEAR(e.angle_min, 29, 1e-9);
    EXPECT_NEAR(e.angle_max, 38, 1e-9);
    EXPECT_DOUBLE_EQ(droite.angle_min, e.angle_min);

    // In theta mode the zoom stores 2theta.
    EspaceTravail t;
    t.mode_affichage = 0;
    t.angle_min = 0, t.angle_max = 60; // shown 0 ... 30 theta, 10 pixels per degree
    EtatDiagramme et;
    souris_onmouseDown(et, {103, 100});                                        // theta 10
    relache_souris_diagramme(t, et, 302, H, BoutonSouris::gauche, {203, 100}); // theta 20
    EXPECT_NEAR(t.angle_min, 20, 1e-9);
    EXPECT_NEAR(t.angle_max, 40, 1e-9);
}

TEST_F(Diagramme, ReadoutAndRubberBand) {
    // x = 503: 25 degrees 2theta from 20 -> 35.00; d = lambda / (2 sin 17.5 deg) = 2.5616.
    Survol s = affiche_theta(e, etat, W, H, {503, 80});
    EXPECT_EQ(s.lecture, "2T=   35.00  d=  2.562");
    souris_onmouseDown(etat, {400, 50});
    s = affiche_theta(e, etat, W, H, {402, 90});
    ASSERT_TRUE(s.elastique.has_value());
    EXPECT_EQ(s.elastique->coin1, (Point{400, 50}));
    active_diagramme(etat); // the window activated again: no band
    EXPECT_FALSE(affiche_theta(e, etat, W, H, {402, 90}).elastique.has_value());

    e.mode_affichage = 0; // theta 10 ... 25: x = 503 is 17.5
    s = affiche_theta(e, EtatDiagramme{}, W, H, {503, 80});
    EXPECT_EQ(s.lecture.substr(0, 13), "T=   17.50  d");
}
