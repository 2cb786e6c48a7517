// The profile window's logic: measuring peaks by clicking, removing them,
// zooming and moving the view, its drawing and read-out, the peak grid and the
// re-drawing with a new range.
#include "interface/commandes_profil.h"
#include "profil/fenetre_profil.h"
#include "profil/recherche_pics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kovrin;

namespace {

// A 302 x 120 picture over 20 ... 50 degrees: 10 pixels per degree, the axis
// at row 100, one pixel per intensity unit at factor 1. The profile: 20 ... 50
// in steps of 0.1, intensity = tenth of the point's number.
constexpr int W = 302, H = 120;

EspaceTravail espace_profil() {
    EspaceTravail e;
    e.lambda = 1.5406;
    e.entete_profil.lambda = 1.5406;
    e.entete_profil.fichier_profil = "/data/essai.raw";
    e.entete_profil.titre = "Cu3Au-1 (RAW1)";
    for (int i = 0; i <= 300; ++i)
        e.profil.ajoute({20.0f + 0.1f * static_cast<float>(i), static_cast<float>(i) / 10});
    e.angle_min = e.angle_min_initial = 20;
    e.angle_max = e.angle_max_initial = 50;
    e.etendue = 30;
    return e;
}

// The window over that profile; a press then a release.
struct FenetreProfil : ::testing::Test {
    EspaceTravail e = espace_profil();
    EtatFenetreProfil etat;
    DialoguesEnregistres d;
    SuiteProfil clic(BoutonSouris b, Point appui, Point relache) {
        OnMouseDown(etat, b, appui);
        return relache_profil(e, etat, W, H, b, relache, d);
    }
};

} // namespace

TEST_F(FenetreProfil, ClickAddsAPeakWithTheProfileIntensity) {
    // x = 128: 32.5 degrees, between points 126 (32.5 in single precision,
    // slightly below or above) and its neighbour: the lower point's intensity.
    // The release moved 4 pixels: still a click, at the press point.
    EXPECT_EQ(clic(BoutonSouris::gauche, {128, 50}, {132, 60}), SuiteProfil::grille_et_dessin);
    ASSERT_EQ(e.mesures.taille(), 1);
    EXPECT_DOUBLE_EQ(e.mesures[1].deux_theta_mes, 32.5);
    const int i = e.profil[126].angle <= 32.5f ? 126 : 125;
    EXPECT_FLOAT_EQ(static_cast<float>(e.mesures[1].intensite_mes), e.profil[i].intensite);
    // The same pixel again: within 0.001 degree, dropped without redrawing.
    EXPECT_EQ(clic(BoutonSouris::gauche, {128, 50}, {128, 50}), SuiteProfil::rien);
    EXPECT_EQ(e.mesures.taille(), 1);
}

TEST_F(FenetreProfil, FiveHundredPeaksRefuseAnother) {
    for (int j = 0; j < 500; ++j)
        e.mesures.ajoute({20 + j * 0.01, 0, 1, 1});
    EXPECT_EQ(clic(BoutonSouris::gauche, {250, 50}, {250, 50}), SuiteProfil::rien);
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Too many peaks (>500)"});
}

TEST_F(FenetreProfil, RightClickRemovesTheFirstMarkWithinFourPixels) {
    e.mesures.ajoute({30.0, 30.0, 5, 1}); // x = 103
    e.mesures.ajoute({30.2, 30.2, 6, 2}); // x = 105
    e.mesures.ajoute({40.0, 40.0, 7, 3}); // x = 203
    // 109 is 6 and 4 pixels away: nothing removed.
    EXPECT_EQ(clic(BoutonSouris::droit, {109, 50}, {109, 50}), SuiteProfil::rien);
    // 106: both marks within reach, the first in list order goes.
    EXPECT_EQ(clic(BoutonSouris::droit, {106, 50}, {140, 50}), SuiteProfil::grille_et_dessin);
    ASSERT_EQ(e.mesures.taille(), 2);
    // Double click on the last row of the grid: only the count decreases.
    choisit_ligne_pics(etat, 2);
    EXPECT_EQ(retire_ligne_choisie(e, etat), SuiteProfil::grille_et_dessin);
    ASSERT_EQ(e.mesures.taille(), 1);
    EXPECT_DOUBLE_EQ(e.mesures[1].deux_theta_mes, 30.2);
    choisit_ligne_pics(etat, 5);
    EXPECT_EQ(retire_ligne_choisie(e, etat), SuiteProfil::rien);
}

TEST_F(FenetreProfil, DragOfFivePixelsZooms) {
    // From x = 108 (30.5) leftwards to 103 (30.0), top of the drag at row 50:
    // 50 pixels above the axis, the vertical factor doubles.
    EXPECT_EQ(clic(BoutonSouris::gauche, {108, 80}, {103, 50}), SuiteProfil::redessine);
    EXPECT_NEAR(e.angle_min, 30.0, 1e-9);
    EXPECT_DOUBLE_EQ(etat.facteur_vertical, 2.0);
    EXPECT_EQ(plage_complete_profil(e, etat), SuiteProfil::redessine); // the full range back

    // In theta mode the angles are doubled back to 2theta.
    e.mode_affichage = 0; // shown 10 ... 25, 20 pixels per degree
    clic(BoutonSouris::gauche, {103, 10}, {203, 90});
    EXPECT_NEAR(e.angle_min, 30, 1e-9);
    EXPECT_NEAR(e.angle_max, 40, 1e-9);
}

TEST_F(FenetreProfil, DrawingReadoutAndCaption) {
    e.mesures.ajoute({30.0, 30.0, 5, raie_k_alpha2});
    EXPECT_EQ(legende_profil(e), "essai.raw: Cu3Au-1 (RAW1)");
    Dessin dessin = dessin_profil(e, etat, W, H);
    ASSERT_EQ(dessin.courbes.size(), 1u); // no search curve while the search is closed
    const auto& points = dessin.courbes[0].points;
    ASSERT_EQ(points.size(), 300u);
    EXPECT_EQ(points.back(), (Point{303, 70})); // intensity 30
    EXPECT_TRUE(std::any_of(dessin.segments.begin(), dessin.segments.end(), [](const Segment& s) {
        return s.debut == Point{103, 100} && s.fin == Point{103, 0} && s.couleur == rouge;
    }));
    // Ticks every 5 degrees, values under the axis.
    EXPECT_TRUE(std::any_of(dessin.textes.begin(), dessin.textes.end(), [](const TexteTrace& t) {
        return t.texte == " 25.0" && t.coin == Point{43, 105};
    }));

    e.recherche.recherche_active = true;
    e.recherche.derivee_seconde.assign(302, -100.0f);
    EXPECT_EQ(bascule_derivee(etat), SuiteProfil::redessine);
    dessin = dessin_profil(e, etat, W, H);
    ASSERT_EQ(dessin.courbes.size(), 2u);
    EXPECT_EQ(dessin.courbes[1].points.front().y, 100); // -100 at the axis line

    // x = 153: 35 degrees 2theta; d = lambda / (2 sin 17.5 deg) = 2.5616.
    SurvolProfil s = survol_profil(e, etat, W, H, {153, 40});
    EXPECT_EQ(s.lecture, "2T=  35.00 d=  2.562");
    OnMouseDown(etat, BoutonSouris::gauche, {150, 40});
    EXPECT_TRUE(survol_profil(e, etat, W, H, {155, 40}).elastique.has_value());
    e.mode_affichage = 0;
    EXPECT_EQ(survol_profil(e, EtatFenetreProfil{}, W, H, {153, 40}).lecture.substr(0, 9),
              "T=  17.50");
}

TEST(GrillePics, SortedRowsInTheColoursOfTheirKinds) {
    EspaceTravail e = espace_profil();
    e.mesures.ajoute({40.0, 40.0, 12.34, raie_l1});
    e.mesures.ajoute({30.0, 30.0, 5, raie_k_alpha1});
    EtatFenetreProfil etat;
    etat.grille_videe = true;
    EXPECT_TRUE(remplit_grille_pics(e, etat).a_change(Change::mesures));
    EXPECT_FALSE(etat.grille_videe);
    const GrillePics p = grille_pics(e);
    const Grille& g = p.grille;
    ASSERT_EQ(g.lignes.size(), 3u);
    // d = 1.5406 / (2 sin 15 deg) = 2.97616.
    EXPECT_EQ(g.lignes[1], (std::vector<std::string>{"  1", " 30.000", "  2.9762", "    5.0"}));
    EXPECT_EQ(p.couleurs, (std::vector<Couleur>{bleu, vert}));
    EXPECT_DOUBLE_EQ(e.mesures[1].deux_theta_mes, 30.0); // the list itself is sorted
}

TEST(ChangeDataDiag, BadNumbersChangeNothing) {
    EspaceTravail e = espace_profil();
    e.mesures.ajoute({30.0, 30.0, 5, 1});
    for (auto [t1, t2, message] :
         {std::tuple{"2O", "40", "Theta min error"}, std::tuple{"", "40", "Theta min error"},
          std::tuple{"25", "4O.5", "Theta max error"}}) {
        DialoguesEnregistres d;
        EtatPrincipal ep;
        change_data_diag(e, ep, Saisie::de_texte(t1), Saisie::de_texte(t2), d);
        EXPECT_EQ(d.erreurs(), std::vector<std::string>{message});
        EXPECT_DOUBLE_EQ(e.angle_min, 20);
    }
}
