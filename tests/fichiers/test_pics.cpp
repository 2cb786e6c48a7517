#include "fabrique.h"
#include "fichiers/diffrac_at.h"
#include "fichiers/lecteurs_pics.h"

#include <cmath>

using namespace kovrin;
using test::Fabrique;
using test::sans_cr;
using test::Textes;

namespace {

Fabrique dif2(int entete, const std::vector<std::pair<float, float>>& pics) {
    using namespace diffrac;
    constexpr std::size_t p = v2::plage;
    std::size_t debut = p + static_cast<std::size_t>(std::max(entete, 96));
    Fabrique f(debut);
    f.texte(magique, "DIF2").texte(v2::identifiant, " Sample A ").texte(v2::anode, "Cu");
    f.f32(v2::lambda1, 1.5406f).f32(v2::lambda2, 1.54439f).f32(v2::rapport, 0.5f);
    f.i16(p + v2::longueur, entete).i16(p + v2::pics, static_cast<int>(pics.size()));
    for (std::size_t k = 0; k < pics.size(); ++k)
        f.f32(debut + 16 * k, pics[k].first).f32(debut + 16 * k + 4, pics[k].second);
    return f;
}

Fabrique dif1(int bloc, const std::vector<std::pair<double, float>>& pics) {
    using namespace diffrac;
    constexpr std::size_t p = v1::plage;
    std::size_t debut = p + v1::longueur_plage + static_cast<std::size_t>(std::max(bloc, 0));
    Fabrique f(debut);
    f.texte(magique, "DIF1").texte(v1::identifiant, "Long sample name\0");
    f.texte(v1::anode, "Mo\0\0").f64(v1::lambda, 9.99).f64(v1::lambda1, 0.7093);
    f.f64(v1::lambda2, 0.71359)
        .f64(v1::rapport, 0.5)
        .i32(p + v1::pics, static_cast<long>(pics.size()));
    f.f64(p + v1::lambda_plage, 0.71073).i32(p + v1::supplement, bloc);
    for (std::size_t k = 0; k < pics.size(); ++k)
        f.f64(debut + 24 * k, pics[k].first).f32(debut + 24 * k + 8, pics[k].second);
    return f;
}

Fabrique philips_di(int date, const std::vector<std::pair<int, int>>& pics) {
    Fabrique f(250 + 12 * pics.size());
    f.u8(85, 1).f64(94, 0.7093).f64(102, 0.71359).f64(110, 0.5).i16(122, date);
    f.texte(146, "Fe2O3 ");
    for (std::size_t k = 0; k < pics.size(); ++k)
        f.i16(250 + 12 * k, pics[k].first).i16(250 + 12 * k + 4, pics[k].second);
    return f;
}

std::vector<double> colonne(const PicsLus& p, double PicLu::*champ) {
    std::vector<double> r;
    for (auto& x : p.pics)
        r.push_back(x.*champ);
    return r;
}
const auto angles = [](const PicsLus& p) { return colonne(p, &PicLu::angle); };
const auto intensites = [](const PicsLus& p) { return colonne(p, &PicLu::intensite); };

// An XFIT line of layout B: the angle in columns 23-30, the intensity in 57-66.
std::string ligne_xfit_b(const std::string& angle, const std::string& intensite) {
    std::string l(66, '#');
    l.replace(22, 8, angle);
    l.replace(56, 10, intensite);
    return l + "\r\n";
}

struct PicsDif : test::DansDossier {};
struct PicsTexte : test::DansDossier {};

} // namespace

TEST_F(PicsDif, Dif2RangeHeaderOf96OrLessAnd120) {
    for (int entete : {0, 96, 120}) {
        auto p = lit(lit_pics_dif, "a.dif",
                     dif2(entete, {{30.5f, 50}, {20.25f, 200}, {44.0f, 100}}).octets);
        ASSERT_TRUE(p) << entete;
        EXPECT_EQ(angles(*p), (std::vector<double>{30.5, 20.25, 44.0}));
        EXPECT_EQ(intensites(*p), (std::vector<double>{25, 100, 50}));
        EXPECT_EQ(std::tuple(p->echelle_intensite, p->lambda), std::tuple(200.0, 0.0));
        // First and last in file order, no ceiling.
        EXPECT_EQ(std::pair(p->angle_debut, p->angle_fin), std::pair(28.5, 46.0));
    }
}

TEST_F(PicsDif, Dif1WavelengthAt960AndExtraBlock) {
    for (int bloc : {0, 40}) {
        auto p = lit(lit_pics_dif, "a.dif", dif1(bloc, {{12.125, 10}, {179.5, 40}}).octets);
        ASSERT_TRUE(p) << bloc;
        EXPECT_EQ(angles(*p), (std::vector<double>{12.125, 179.5}));
        EXPECT_EQ(intensites(*p), (std::vector<double>{25, 100}));
        EXPECT_EQ(std::tie(p->lambda, p->anode, p->angle_fin), std::tuple(0.71073, "Mo", 181.5));
    }
}

TEST_F(PicsDif, RefusalsLeaveNothing) {
    EXPECT_EQ(refus(lit_pics_dif, "a.dif", "DIF3" + std::string(600, ' ')),
              Textes{"Unknown file type!"});
    EXPECT_EQ(refus(lit_pics_dif, "vide.dif", dif2(96, {}).octets),
              Textes{"File vide.dif: holds no peak"});
    std::vector<std::pair<float, float>> trop(501, {10.0f, 1.0f});
    EXPECT_EQ(refus(lit_pics_dif, "trop.dif", dif2(96, trop).octets),
              Textes{"File trop.dif: more than 500 peaks; at most 500 can be read"});
    // A binary field holding infinity or NaN (found by fuzzing).
    EXPECT_EQ(refus(lit_pics_dif, "inf.dif", dif2(96, {{10, 1}, {INFINITY, 2}}).octets),
              Textes{"File inf.dif: peak 2 is not a finite number"});
    EXPECT_EQ(refus(lit_pics_dif, "nan.dif", dif1(0, {{10, NAN}}).octets),
              Textes{"File nan.dif: peak 1 is not a finite number"});
    auto court = dif1(0, {{10, 1}, {11, 2}}).octets;
    auto erreurs = refus(lit_pics_dif, "court.dif", court.substr(0, court.size() - 1));
    ASSERT_EQ(erreurs.size(), 1u);
    EXPECT_EQ(erreurs[0].rfind("File court.dif: is shorter than its header and records", 0), 0u);
}

TEST_F(PicsDif, NoIntensityKeepsTheAnglesAtIntensity100) {
    auto p = lit(lit_pics_dif, "z.dif", dif2(96, {{10, 0}, {12, 0}}).octets);
    ASSERT_TRUE(p);
    EXPECT_EQ(intensites(*p), (std::vector<double>{100, 100}));
    EXPECT_EQ(d.textes(), Textes{"File z.dif: gives no intensity above 0; every peak gets the "
                                 "intensity 100"});
}

TEST_F(PicsDif, PhilipsDateTitleAnodeWavelengthsSampleAndRecordsToTheEnd) {
    auto f = philips_di(0x2A4F, {{4000, 7}, {6000, 700}, {1000, 350}});
    auto p = lit(lit_pics_philips, "a.di", f.octets + "xyz"); // a partial record is not a peak
    ASSERT_TRUE(p);
    EXPECT_EQ(*p->ligne_titre, "Date: 15/2/21/");
    EXPECT_EQ(std::tie(p->anode, p->lambda1, p->lambda2, p->rapport),
              std::tuple("Mo", 0.7093, 0.71359, 0.5));
    EXPECT_EQ(p->echantillon, "Fe2O3"); // trailing blanks cut
    EXPECT_EQ(angles(*p), (std::vector<double>{20, 30, 5}));
    EXPECT_EQ(intensites(*p), (std::vector<double>{1, 100, 50}));
    EXPECT_EQ(std::pair(p->angle_debut, p->angle_fin), std::pair(18.0, 7.0));
}

TEST_F(PicsTexte, XfitLayoutAReadsTheAngleAfter42Characters) {
    std::string t = "  Peak Code   Th2  \r\n" + std::string(42, 'x') + " 25.125  99 77\r\n" +
                    std::string(42, '9') + "178.4\r\n";
    for (const auto& texte : {t, sans_cr(t)}) {
        auto p = lit(lit_pics_xfit, "a.txt", texte);
        ASSERT_TRUE(p);
        EXPECT_EQ(angles(*p), (std::vector<double>{25.125, 178.4}));
        EXPECT_EQ(intensites(*p), (std::vector<double>{100, 100}));
        EXPECT_EQ(p->angle_fin, 179);
    }
}

TEST_F(PicsTexte, XfitLayoutBColumnsAndZeroIntensityDropped) {
    // "Th2" before "Code": layout B.
    auto p =
        lit(lit_pics_xfit, "b.txt",
            "Th2 Code\r\n" + ligne_xfit_b("  31.250", "     400.0") +
                ligne_xfit_b("  35.000", "         0") + ligne_xfit_b("  12.000", "       100"));
    ASSERT_TRUE(p);
    EXPECT_EQ(angles(*p), (std::vector<double>{31.25, 12}));
    EXPECT_EQ(intensites(*p), (std::vector<double>{100, 25}));
    EXPECT_EQ(p->angle_fin, 14);
}

TEST_F(PicsTexte, WinfitLinesIdentifierAndIntensityFifth) {
    std::string t = "Sample\tPosition\tFWHM\r\n"
                    "s1\t20.5\t0.1\t0.2\t0.3\t500\r\n"
                    "s2 88.5 0.1 0.2 0.3 250\r\n"
                    "s3 40.0 0.1\r\n";
    for (const auto& texte : {t, sans_cr(t)}) {
        auto p = lit(lit_pics_winfit, "w.dat", texte);
        ASSERT_TRUE(p);
        EXPECT_EQ(angles(*p), (std::vector<double>{20.5, 88.5, 40}));
        EXPECT_EQ(intensites(*p), (std::vector<double>{100, 50, 0}));
        EXPECT_EQ(p->angle_fin, 42); // last line's angle + 2
    }
}

TEST_F(PicsTexte, WinfitMessages) {
    EXPECT_EQ(refus(lit_pics_winfit, "a.dat", "Sample Angle\r\ns 1 2 3 4 5\r\n"),
              Textes{"It seems not a WINFIT file!"});
    EXPECT_EQ(refus(lit_pics_winfit, "b.dat", "Sample Position\r\ns 1 2 3 4 5\r\ns 2 2 3 4 x5\r\n"),
              Textes{"decode error"});
    std::string t = "Sample Position\r\n";
    for (int i = 0; i < 51; ++i)
        t += "s 10 1 1 1 5\r\n";
    EXPECT_EQ(refus(lit_pics_winfit, "c.dat", t),
              Textes{"File c.dat: more than 50 peak lines; at most 50 can be read"});
}

TEST_F(PicsTexte, ColumnFirstNumberOfEachLineAndCeiling) {
    std::string t = "  12.5  300\r\n\r\n30.25\t7\r\n179.5\r\n";
    for (const auto& texte : {t, sans_cr(t), sans_cr(t).substr(0, sans_cr(t).size() - 1)}) {
        auto p = lit(lit_pics_colonne, "c.prn", texte);
        ASSERT_TRUE(p);
        EXPECT_EQ(angles(*p), (std::vector<double>{12.5, 30.25, 179.5}));
        EXPECT_EQ(intensites(*p), (std::vector<double>{100, 100, 100}));
        EXPECT_EQ(std::pair(p->angle_debut, p->angle_fin), std::pair(10.5, 179.0));
    }
    EXPECT_EQ(refus(lit_pics_colonne, "bad.prn", "12\r\nabc\r\n"),
              Textes{"File bad.prn: invalid number at line 2"});
}

// A peak out of its domain (angle outside (0, 180) degrees 2theta, negative
// intensity) is refused with its line, or its rank in a binary file; nothing
// is taken in.
TEST_F(PicsTexte, PeakOutOfItsDomainRefusedWithItsLineOrRank) {
    const std::string xfit_a = "Code Th2\r\n" + std::string(42, 'x') + " 25.1\r\n";
    const std::string winfit = "Sample Position\r\ns 20 1 1 1 50\r\n";
    struct Cas {
        PicsLus (*lecteur)(const std::filesystem::path&);
        std::string nom, octets, refus;
    };
    const std::string deux_theta = "2θ must lie between 0 and 180 degrees";
    const std::string aire = "the area must not be negative";
    const Cas cas[] = {
        {lit_pics_colonne, "c.prn", "12\r\n\r\n0\r\n", "Line 3: " + deux_theta},
        {lit_pics_colonne, "d.prn", "12\n180.5\n", "Line 2: " + deux_theta},
        {lit_pics_xfit, "a.txt", xfit_a + std::string(42, 'x') + " 181\r\n",
         "Line 3: " + deux_theta},
        {lit_pics_xfit, "b.txt", "Th2\r\n" + ligne_xfit_b("  31.250", "     -40.0"),
         "Line 2: " + aire},
        {lit_pics_xfit, "c.txt", "Th2\r\n" + ligne_xfit_b("  -1.000", "      40.0"),
         "Line 2: " + deux_theta},
        {lit_pics_winfit, "a.dat", winfit + "s 200 1 1 1 5\r\n", "Line 3: " + deux_theta},
        {lit_pics_winfit, "b.dat", winfit + "s 30 1 1 1 -5\r\n", "Line 3: " + aire},
        {lit_pics_dif, "a.dif", dif2(96, {{10, 5}, {0, 5}}).octets, "Peak 2: " + deux_theta},
        {lit_pics_dif, "b.dif", dif1(0, {{10, -1}}).octets, "Peak 1: " + aire},
        {lit_pics_philips, "a.di", philips_di(0, {{2000, 5}, {-200, 5}}).octets,
         "Peak 2: " + deux_theta},
        {lit_pics_philips, "b.di", philips_di(0, {{2000, -5}}).octets, "Peak 1: " + aire},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(refus(c.lecteur, c.nom, c.octets), Textes{"File " + c.nom + ": " + c.refus});
}
