#include "fabrique.h"
#include "fichiers/diffrac_at.h"
#include "fichiers/lecteurs_profil.h"

using namespace kovrin;
using test::Fabrique;
using test::sans_cr;
using test::Textes;

namespace {

const std::string rietveld_crlf = "SampleIdent= Corundum 1, DataFileName= c1.raw\r\n"
                                  "line two\r\n"
                                  "Alpha1= 1.5406 Alpha2= 1.54439 Ratio= 1\r\n"
                                  "line four\r\n"
                                  "20.0 0.05 20.3\r\n"
                                  "10 20, 30 40\r\n"
                                  "50,60,70\r\n";

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

// The reading of a CPI file into an empty workspace.
ProfilLu cpi_libre(const std::filesystem::path& f) {
    return lit_profil_cpi(f, false);
}

struct ProfilTexte : test::DansDossier {};
struct ProfilPhilips : test::DansDossier {};

} // namespace

TEST_F(ProfilTexte, RietveldHeaderWavelengthsAndPoints) {
    for (const auto& texte : {rietveld_crlf, sans_cr(rietveld_crlf)}) {
        auto p = lit(lit_profil_rietveld, "r.dat", texte);
        ASSERT_TRUE(p) << d.textes()[0];
        EXPECT_EQ(*p->titre, "Corundum 1");
        EXPECT_NEAR(p->lambda, (1.5406 + 1.54439) / 2, 1e-12); // equal weights
        ASSERT_EQ(p->points.size(), 7u);
        EXPECT_FLOAT_EQ(p->points[6].angle, 20.3f);
        EXPECT_FLOAT_EQ(p->points[2].intensite, 100.0f / 3);
        EXPECT_EQ(p->intensite_max_brute, 70);
    }
}

TEST_F(ProfilTexte, RietveldMessagesForBadFiles) {
    EXPECT_EQ(refus(lit_profil_rietveld, "a.dat", "Title\r\n\r\n\r\n\r\n5 0.5 6\r\n1 2\r\n"),
              Textes{"Error while reading the wavelength in Rietvelf File"});
    EXPECT_EQ(refus(lit_profil_rietveld, "b.dat", "\r\n\r\n\r\n\r\n5 0.5 6\r\n1 2\r\n3 x4\r\n"),
              Textes{"Read error!"});
    for (const char* balayage : {"5 0.5", "5 0.5 x"})
        EXPECT_EQ(refus(lit_profil_rietveld, "c.dat", std::string("\r\n\r\n\r\n\r\n") + balayage),
                  Textes{"File c.dat: line 5 does not hold the start angle, the step and the final "
                         "angle"});
}

TEST_F(ProfilTexte, CpiFreshWorkspaceTakesRangeAndAnodeWavelengths) {
    auto p = lit(cpi_libre, "a.cpi", cpi("cu"));
    ASSERT_TRUE(p);
    EXPECT_EQ(std::tie(*p->titre, p->anode), std::tuple("My sample", "cu"));
    EXPECT_DOUBLE_EQ(p->lambda, 1.5406);
    ASSERT_EQ(p->points.size(), 4u);
    EXPECT_FLOAT_EQ(p->points[3].angle, 10.06f);
    EXPECT_FLOAT_EQ(p->points[0].intensite, 100.0f * 3 / 21);
}

TEST_F(ProfilTexte, CpiWorkspaceWithDataKeepsItsRangeAndWavelengths) {
    test::ecrit_fichier("a.cpi", sans_cr(cpi("Cu")));
    auto p = lit_fichier(lit_profil_cpi, "a.cpi", true);
    ASSERT_TRUE(p);
    EXPECT_EQ(std::pair(p->angle_debut, p->lambda1), std::pair(0.0, 0.0));
    EXPECT_DOUBLE_EQ(p->lambda, 1.5406);
    // An anode outside the table names no wavelengths.
    p = lit(cpi_libre, "w.cpi", cpi("W"));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->lambda1, 0);
}

TEST_F(ProfilPhilips, ShortAndV5HeadersAndSquaredTenths) {
    for (std::string version : {"V3", "V5"}) {
        auto p = lit(lit_profil_philips, "a.rd", rd(version, {100, 316, 0}).octets);
        ASSERT_TRUE(p) << version;
        ASSERT_EQ(p->points.size(), 3u);
        EXPECT_DOUBLE_EQ(p->intensite_max_brute, 31.6 * 31.6); // 998.56
        EXPECT_NEAR(p->points[0].intensite, 100.0 * 100 / 998.56, 1e-4);
        EXPECT_EQ(*p->titre, "Calcite");
        EXPECT_EQ(p->anode, "Co");
        EXPECT_NEAR(p->lambda, (1.78897 + 0.5 * 1.79285) / 1.5, 1e-12);
        EXPECT_FLOAT_EQ(p->points[2].angle, 5.02f);
    }
}

TEST_F(ProfilPhilips, HalfStepAndMessages) {
    auto p = lit(lit_profil_philips, "a.rd", rd("V3", {1, 2}).u8(120, 1).u8(85, 9).octets);
    ASSERT_TRUE(p);
    EXPECT_FLOAT_EQ(p->points[0].angle, 5.005f);
    EXPECT_EQ(refus(lit_profil_philips, "b.rd", rd("V3", {1, 2}).texte(2, "XX").octets),
              Textes{"It seems not to be a .RD Philips file"});
}

// Where the searches for the extremes start matters when every intensity lies
// on one side of it: below 0 for the largest, above the smallest's start.
TEST_F(ProfilTexte, StartValuesOfTheExtremeSearches) {
    auto p = lit(lit_profil_rietveld, "neg.dat", "\r\n\r\n\r\n\r\n10 1 12\r\n-30 -20 -10\r\n");
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->titre.has_value()); // an empty first line: no header
    EXPECT_EQ(p->intensite_max_brute, 0);
    EXPECT_FLOAT_EQ(p->points[2].intensite, 100.0f * 20 / 30);

    using namespace diffrac;
    constexpr std::size_t donnees = v1::plage + v1::longueur_plage;
    Fabrique raw1(donnees);
    raw1.texte(magique, "RAW1").f64(v1::plage + v1::depart, 10).f64(v1::plage + v1::pas, 1);
    raw1.f32(donnees, -30).f32(donnees + 4, -20).f32(donnees + 8, -10);
    p = lit(lit_profil_raw, "neg.raw", raw1.octets);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->intensite_max_brute, -10);
    EXPECT_FLOAT_EQ(p->points[2].intensite, 100.0f);

    std::string entete =
        "S\r\n1\r\n2\r\n0.5\r\nCu\r\n1.5\r\n\r\n1\r\nSampleIdent x\r\nSCANDATA\r\n";
    p = lit(cpi_libre, "haut.cpi", entete + "200000\r\n300000\r\n");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->intensite_min_brute, 100000);
    EXPECT_FLOAT_EQ(p->points[0].intensite, 50.0f);
    p = lit(lit_profil_rietveld, "haut.dat", "\r\n\r\n\r\n\r\n1 1 2\r\n2000000 3000000\r\n");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->intensite_min_brute, 1000000);
    EXPECT_FLOAT_EQ(p->points[0].intensite, 50.0f);
    EXPECT_TRUE(d.journal.empty());
}
