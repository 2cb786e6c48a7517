#include "fabrique.h"
#include "fichiers/lecteurs_profil.h"

#include <gtest/gtest.h>

using namespace kovrin;
using test::Fabrique;

namespace {

const std::string rietveld_crlf = "SampleIdent= Corundum 1, DataFileName= c1.raw\r\n"
                                  "line two\r\n"
                                  "Alpha1= 1.5406 Alpha2= 1.54439 Ratio= 0.5\r\n"
                                  "line four\r\n"
                                  "20.0 0.05 20.3\r\n"
                                  "10 20, 30 40\r\n"
                                  "50,60,70\r\n";

std::string sans_cr(std::string t) {
    std::erase(t, '\r');
    return t;
}

Fabrique rd(const std::string& version, const std::vector<int>& valeurs) {
    std::size_t entete = version == "V5" ? 810 : 250;
    Fabrique f(entete);
    f.texte(0, version).texte(2, "RD").u8(85, 2).f64(94, 1.78897).f64(102, 1.79285);
    f.f64(110, 0.5).texte(146, "  Calcite\0\0").f64(214, 0.01).f64(222, 5.0).f64(230, 5.02);
    for (std::size_t i = 0; i < valeurs.size(); ++i)
        f.i16(entete + 2 * i, valeurs[i]);
    return f;
}

std::string cpi(const std::string& anode) {
    return "SIETRONICS XRD SCAN\r\n10.000\r\n10.060\r\n  0.020\r\n" + anode +
           "\r\n 1.54060\r\n01/02/03\r\n1\r\nSampleIdent  My sample \r\nSCANDATA\r\n"
           "        12\r\n  15  9\r\n        30\r\n";
}

} // namespace

TEST(ProfilRietveld, HeaderWavelengthsAndPoints) {
    test::DossierTemporaire dossier;
    for (const auto& texte : {rietveld_crlf, sans_cr(rietveld_crlf)}) {
        test::ecrit_fichier("r.dat", texte);
        DialoguesEnregistres d;
        auto p = lit_profil_rietveld("r.dat", d);
        ASSERT_TRUE(p) << d.textes()[0];
        EXPECT_EQ(*p->titre, "Corundum 1");
        EXPECT_DOUBLE_EQ(p->lambda1, 1.5406);
        EXPECT_DOUBLE_EQ(p->lambda2, 1.54439);
        EXPECT_DOUBLE_EQ(p->rapport, 0.5);
        EXPECT_NEAR(p->lambda, (1.5406 + 0.5 * 1.54439) / 1.5, 1e-12);
        ASSERT_EQ(p->points.size(), 7u);
        EXPECT_FLOAT_EQ(p->points[6].angle, 20.3f);
        EXPECT_FLOAT_EQ(p->points[2].intensite, 100.0f / 3);
        EXPECT_EQ(p->angle_debut, 20.0);
        EXPECT_EQ(p->angle_fin, 20.3);
        EXPECT_EQ(p->intensite_max_brute, 70);
        EXPECT_EQ(p->intensite_min_brute, 10);
    }
}

TEST(ProfilRietveld, EmptyFirstLineSkipsTheHeader) {
    test::DossierTemporaire dossier;
    test::ecrit_fichier("r.dat", "\r\nAlpha1= 9\r\nx\r\ny\r\n5 0.5 6\r\n1 2 3\r\n");
    DialoguesEnregistres d;
    auto p = lit_profil_rietveld("r.dat", d);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->titre.has_value());
    EXPECT_EQ(p->lambda1, 0);
    ASSERT_EQ(p->points.size(), 3u);
    EXPECT_FLOAT_EQ(p->points[2].angle, 6.0f);
}

TEST(ProfilRietveld, MessagesForBadFiles) {
    test::DossierTemporaire dossier;
    DialoguesEnregistres d;
    test::ecrit_fichier("a.dat", "Title\r\n\r\n\r\n\r\n5 0.5 6\r\n1 2\r\n");
    EXPECT_FALSE(lit_profil_rietveld("a.dat", d));
    EXPECT_EQ(d.erreurs(),
              std::vector<std::string>{"Error while reading the wavelength in Rietvelf File"});
    d.vide();
    test::ecrit_fichier("b.dat", "\r\n\r\n\r\n\r\n5 0.5 6\r\n1 2\r\n3 x4\r\n");
    EXPECT_FALSE(lit_profil_rietveld("b.dat", d));
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Read error!"});
}

TEST(ProfilCpi, FreshWorkspaceTakesRangeAndAnodeWavelengths) {
    test::DossierTemporaire dossier;
    test::ecrit_fichier("a.cpi", cpi("cu"));
    DialoguesEnregistres d;
    auto p = lit_profil_cpi("a.cpi", false, d);
    ASSERT_TRUE(p);
    EXPECT_EQ(*p->titre, "My sample");
    EXPECT_EQ(p->anode, "cu");
    EXPECT_DOUBLE_EQ(p->lambda, 1.5406);
    EXPECT_DOUBLE_EQ(p->lambda1, 1.54056);
    EXPECT_DOUBLE_EQ(p->lambda2, 1.54439);
    EXPECT_DOUBLE_EQ(p->rapport, 0.5);
    EXPECT_DOUBLE_EQ(p->angle_debut, 10.0);
    EXPECT_DOUBLE_EQ(p->angle_fin, 10.06);
    ASSERT_EQ(p->points.size(), 4u);
    EXPECT_FLOAT_EQ(p->points[3].angle, 10.06f);
    EXPECT_FLOAT_EQ(p->points[0].intensite, 100.0f * 3 / 21);
    EXPECT_EQ(p->intensite_min_brute, 9);
}

TEST(ProfilCpi, WorkspaceWithDataKeepsItsRangeAndWavelengths) {
    test::DossierTemporaire dossier;
    test::ecrit_fichier("a.cpi", sans_cr(cpi("Cu")));
    DialoguesEnregistres d;
    auto p = lit_profil_cpi("a.cpi", true, d);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->angle_debut, 0);
    EXPECT_EQ(p->angle_fin, 0);
    EXPECT_EQ(p->lambda1, 0);
    EXPECT_EQ(p->rapport, 0);
    EXPECT_DOUBLE_EQ(p->lambda, 1.5406);
    EXPECT_FLOAT_EQ(p->points[1].angle, 10.02f);
    // An anode outside the table names no wavelengths.
    test::ecrit_fichier("w.cpi", cpi("W"));
    p = lit_profil_cpi("w.cpi", false, d);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->lambda1, 0);
    EXPECT_EQ(p->angle_fin, 10.06);
}

TEST(ProfilPhilips, ShortAndV5HeadersAndSquaredTenths) {
    test::DossierTemporaire dossier;
    for (std::string version : {"V3", "V5"}) {
        rd(version, {100, 316, 0}).ecrit("a.rd");
        DialoguesEnregistres d;
        auto p = lit_profil_philips("a.rd", d);
        ASSERT_TRUE(p) << version;
        ASSERT_EQ(p->points.size(), 3u);
        EXPECT_DOUBLE_EQ(p->intensite_max_brute, 31.6 * 31.6); // 998.56
        EXPECT_NEAR(p->points[0].intensite, 100.0 * 100 / 998.56, 1e-4);
        EXPECT_EQ(*p->titre, "Calcite");
        EXPECT_EQ(p->anode, "Co");
        EXPECT_NEAR(p->lambda, (1.78897 + 0.5 * 1.79285) / 1.5, 1e-12);
        EXPECT_EQ(p->angle_debut, 5.0);
        EXPECT_EQ(p->angle_fin, 5.02);
        EXPECT_FLOAT_EQ(p->points[2].angle, 5.02f);
    }
}

TEST(ProfilPhilips, HalfStepAndMessages) {
    test::DossierTemporaire dossier;
    rd("V3", {1, 2}).u8(120, 1).u8(85, 9).ecrit("a.rd");
    DialoguesEnregistres d;
    auto p = lit_profil_philips("a.rd", d);
    ASSERT_TRUE(p);
    EXPECT_FLOAT_EQ(p->points[0].angle, 5.005f);
    EXPECT_EQ(p->anode, "");
    rd("V3", {1, 2}).texte(2, "XX").ecrit("b.rd");
    EXPECT_FALSE(lit_profil_philips("b.rd", d));
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"It seems not to be a .RD Philips file"});
}

TEST(ProfilsTexte, NoInputCrashesTheReaders) {
    test::DossierTemporaire dossier;
    test::secoue(rietveld_crlf, "f.dat", 2000, [](const std::string& n, DialoguesEnregistres& d) {
        return lit_profil_rietveld(n, d).has_value();
    });
    test::secoue(cpi("Cu"), "f.cpi", 2000, [](const std::string& n, DialoguesEnregistres& d) {
        return lit_profil_cpi(n, false, d).has_value();
    });
    test::secoue(rd("V5", {5, 9, 12, 4}).octets, "f.rd", 2000,
                 [](const std::string& n, DialoguesEnregistres& d) {
                     return lit_profil_philips(n, d).has_value();
                 });
}

// Where the searches for the extremes start matters when every intensity lies
// on one side of it: below 0 for the largest, above the smallest's start.
TEST(ProfilsNormalisation, StartValuesOfTheExtremeSearches) {
    test::DossierTemporaire dossier;
    DialoguesEnregistres d;
    test::ecrit_fichier("neg.dat", "\r\n\r\n\r\n\r\n10 1 12\r\n-30 -20 -10\r\n");
    auto p = lit_profil_rietveld("neg.dat", d);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->intensite_max_brute, 0);
    EXPECT_FLOAT_EQ(p->points[2].intensite, 100.0f * 20 / 30);

    Fabrique raw1(1016);
    raw1.texte(0, "RAW1").f64(728, 10).f64(888, 1).f32(1016, -30).f32(1020, -20).f32(1024, -10);
    raw1.ecrit("neg.raw");
    p = lit_profil_raw("neg.raw", d);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->intensite_max_brute, -10);
    EXPECT_FLOAT_EQ(p->points[2].intensite, 100.0f);

    std::string entete =
        "S\r\n1\r\n2\r\n0.5\r\nCu\r\n1.5\r\n\r\n1\r\nSampleIdent x\r\nSCANDATA\r\n";
    test::ecrit_fichier("haut.cpi", entete + "200000\r\n300000\r\n");
    p = lit_profil_cpi("haut.cpi", false, d);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->intensite_min_brute, 100000);
    EXPECT_FLOAT_EQ(p->points[0].intensite, 50.0f);
    test::ecrit_fichier("haut.dat", "\r\n\r\n\r\n\r\n1 1 2\r\n2000000 3000000\r\n");
    p = lit_profil_rietveld("haut.dat", d);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->intensite_min_brute, 1000000);
    EXPECT_FLOAT_EQ(p->points[0].intensite, 50.0f);
    EXPECT_TRUE(d.journal.empty());
}
