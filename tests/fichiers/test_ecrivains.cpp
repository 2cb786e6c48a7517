#include "fabrique.h"
#include "fichiers/ecrivains.h"
#include "fichiers/lecteurs_profil.h"

using namespace kovrin;
using test::Fabrique;

namespace {

EspaceTravail espace_avec_profil(int n) {
    EspaceTravail et;
    et.angle_min = 4;
    et.ligne_titre = "Quartz run 2";
    et.entete_profil.anode = "Cu";
    et.entete_profil.lambda = 1.54184;
    et.entete_profil.lambda1 = 1.5406;
    et.entete_profil.lambda2 = 1.54439;
    et.entete_profil.rapport = 0.5;
    for (int i = 0; i < n; ++i)
        et.profil.ajoute({static_cast<float>(10 + 0.02 * i),
                          i == n - 1 ? 100.0f : static_cast<float>((i * 37) % 101)});
    return et;
}

ProfilAEcrire profil_de(const EspaceTravail& et) {
    return {et.profil, et.entete_profil, et.ligne_titre, et.angle_min};
}

struct Ecrivains : test::DansDossier {};

} // namespace

TEST_F(Ecrivains, PicsDif2AndColumnBytesFollowTheLayout) {
    EspaceTravail et;
    et.lambda = 1.5406;
    et.angle_min = 18.5;
    et.mesures.ajoute({28.442, 28.442, 100});
    et.mesures.ajoute({47.302, 47.302, 55.5});
    et.mesures.ajoute({56.121, 56.121, 30.25});
    ecrit_pics_dif({et.mesures, et.lambda, et.angle_min}, "a.dif");
    Fabrique f(352 + 48, ' ');
    f.texte(0, "DIF2").i16(4, 1).f32(190, 1.5406f).f32(194, 1.5406f).f32(198, 1.0f);
    f.i16(256, 96).i16(262, 3).f32(274, 0).f32(278, 18.5f);
    f.f32(352, 28.442f).f32(356, 100).f32(368, 47.302f).f32(372, 55.5f);
    f.f32(384, 56.121f).f32(388, 30.25f);
    EXPECT_EQ(test::lit_fichier("a.dif"), f.octets);
    ecrit_pics_colonne(et.mesures, "a.prn");
    EXPECT_EQ(test::lit_fichier("a.prn"), "  28.442\r\n  47.302\r\n  56.121\r\n");
}

TEST_F(Ecrivains, EcritProfilRaw2BytesFollowTheLayout) {
    EspaceTravail et = espace_avec_profil(3);
    ecrit_profil_raw(profil_de(et), "a.raw");
    std::string o = test::lit_fichier("a.raw");
    ASSERT_EQ(o.size(), 316u + 12);
    Fabrique f(328);
    f.texte(0, "RAW2").i16(4, 1).texte(6, "  Quartz run 2" + std::string(20, ' '));
    f.texte(40, "from KOVRIN" + std::string(117, ' ')).texte(168, o.substr(168, 20));
    f.texte(188, "  ").f32(190, 1.5406f).f32(194, 1.54439f).f32(198, 0.5f);
    f.f32(206, 1.39f).f32(210, 1000.0f).texte(222, std::string(34, ' '));
    f.i16(256, 60).i16(258, 3).i16(260, 10).f32(264, 1.0f);
    f.f32(268, (et.profil[3].angle - et.profil[1].angle) / 2).f32(272, 10.0f).f32(276, 2.0f);
    f.f32(316, 0).f32(320, 3700).f32(324, 10000);
    EXPECT_EQ(o, f.octets);
    EXPECT_EQ(o.substr(168, 20), (date_du_jour() + std::string(20, ' ')).substr(0, 20));
}

TEST_F(Ecrivains, EcritProfilCpiLinesAndReadBack) {
    EspaceTravail et = espace_avec_profil(4);
    et.angle_min = 10.02; // a zoomed diagram does not move the file's angles
    ecrit_profil_cpi(profil_de(et), "a.cpi");
    std::string attendu =
        "SIETRONICS XRD SCAN\r\n 10.000\r\n 10.060\r\n  0.020\r\nCu\r\n 1.54184\r\n" +
        date_du_jour() +
        "\r\n1\r\nSampleIdent Quartz run 2\r\nSCANDATA\r\n         0\r\n"
        "      3700\r\n      7400\r\n     10000\r\n";
    EXPECT_EQ(test::lit_fichier("a.cpi"), attendu);
    auto p = lit_fichier(lit_profil_cpi, "a.cpi", false);
    ASSERT_TRUE(p);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_NEAR(p->points[i - 1].angle, et.profil[i].angle, 1e-5);
        EXPECT_NEAR(p->points[i - 1].intensite, et.profil[i].intensite, 1e-4);
    }
}
