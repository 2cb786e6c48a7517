#include "donnees_reelles.h"
#include "fabrique.h"
#include "fichiers/diffrac_at.h"
#include "fichiers/lecteurs_profil.h"

#include <cmath>

using namespace kovrin;
using test::brute;
using test::Fabrique;
using test::Textes;

namespace {

Fabrique raw2(int entete, int demi_pas, const std::vector<float>& intensites) {
    using namespace diffrac;
    constexpr std::size_t p = v2::plage;
    const std::size_t debut = p + static_cast<std::size_t>(std::max(entete, 60));
    Fabrique f(debut);
    f.texte(magique, "RAW2").texte(v2::identifiant, "Quartz").texte(v2::anode, "Co");
    f.f32(v2::lambda1, 1.78897f).f32(v2::lambda2, 1.79285f).f32(v2::rapport, 0.5f);
    f.i16(p + v2::longueur, entete).i16(p + v2::points, static_cast<int>(intensites.size()));
    f.i16(p + v2::demi_pas, demi_pas).f32(p + v2::pas, 0.02f).f32(p + v2::depart, 10.0f);
    for (std::size_t i = 0; i < intensites.size(); ++i)
        f.f32(debut + 4 * i, intensites[i]);
    return f;
}

// A RAW1 range header at `p`: the range's point count, start, step and extra
// block, then the extra block and `nb` points of `intensite(i)`.
template <class Intensite>
void plage_raw1_a(Fabrique& f, std::size_t p, int compte, int nb, double depart, double pas,
                  int bloc, Intensite intensite) {
    using namespace diffrac;
    f.i32(p + v1::longueur, v1::longueur_plage).i32(p + v1::points, compte);
    f.f64(p + v1::depart, depart).i32(p + v1::drapeau, 1).f64(p + v1::pas, pas);
    f.i32(p + v1::supplement, bloc);
    for (int i = 0; i < nb; ++i)
        f.f32(p + v1::longueur_plage + static_cast<std::size_t>(bloc) +
                  4 * static_cast<std::size_t>(i),
              intensite(i));
}

Fabrique raw1(int compte, int nb, int bloc = 0) {
    using namespace diffrac;
    Fabrique f(v1::plage + v1::longueur_plage);
    f.texte(magique, "RAW1.01").texte(v1::identifiant, "Sample-7").texte(v1::anode, "Cu");
    f.f64(v1::lambda, 1.54184).f64(v1::lambda1, 1.5406).f64(v1::lambda2, 1.54439);
    f.f64(v1::rapport, 0.5);
    plage_raw1_a(f, v1::plage, compte, nb, 5.0, 0.05, bloc,
                 [](int i) { return static_cast<float>(100 + i); });
    return f;
}

// A further range after the points of a RAW1 file, far larger than the first's.
void plage_raw1(Fabrique& f, int nb, double depart, int bloc = 0) {
    plage_raw1_a(f, f.octets.size(), nb, nb, depart, 0.02, bloc, [](int) { return 1e6f; });
}

// The same for RAW2: a header of the first range's length.
void plage_raw2(Fabrique& f, int entete, int nb) {
    using namespace diffrac;
    const std::size_t p = f.octets.size();
    f.i16(p + v2::longueur, entete).i16(p + v2::points, nb);
    f.f32(p + v2::pas, 0.05f).f32(p + v2::depart, 40.0f);
    for (int i = 0; i < nb; ++i)
        f.f32(p + static_cast<std::size_t>(entete) + 4 * static_cast<std::size_t>(i), 1e6f);
}

struct ProfilRaw : test::DansDossier {};

} // namespace

// Range headers of 60 and 80 bytes; an odd half step moves the start by a half step.
TEST_F(ProfilRaw, Raw2RangeHeaderOf60And80AndOddHalfStep) {
    for (auto [entete, demi_pas, debut] :
         {std::tuple{60, 0, 10.0f}, {80, 0, 10.0f}, {60, 3, 10.01f}}) {
        auto p = lit(lit_profil_raw, "a.raw", raw2(entete, demi_pas, {50, 150, 100}).octets);
        ASSERT_TRUE(p) << entete;
        ASSERT_EQ(p->points.size(), 3u);
        EXPECT_EQ(p->points[0].intensite, 0.0f);
        EXPECT_EQ(p->points[1].intensite, 100.0f);
        EXPECT_EQ(p->intensite_max_brute, 150);
        EXPECT_FLOAT_EQ(p->points[0].angle, debut);
        EXPECT_FLOAT_EQ(p->points[2].angle, debut + 0.04f);
        EXPECT_EQ(*p->titre, "Quartz (RAW2)");
        EXPECT_NEAR(p->lambda, (1.78897 + 0.5 * 1.79285) / 1.5, 1e-6);
    }
}

TEST_F(ProfilRaw, RawVersion0) {
    Fabrique f(156);
    f.texte(0, "RAW ").i32(4, 4).f32(12, -0.5f).i32(16, 2048).f32(24, 40.0f);
    f.texte(40, "Old one").f32(72, 1.5406f).f32(76, 1.54439f);
    f.f32(156, 0).f32(160, 10).f32(164, 20).f32(168, 30);
    auto p = lit(lit_profil_raw, "old.raw", f.octets);
    ASSERT_TRUE(p);
    EXPECT_EQ(*p->titre, "Old one (RAW)");
    EXPECT_NEAR(p->lambda, (1.5406 + 0.5 * 1.54439) * 2 / 3, 1e-6);
    // Start 40 moved by half of the step -0.5; the angles fall, the range is ordered.
    EXPECT_FLOAT_EQ(p->points[0].angle, 39.75f);
    EXPECT_FLOAT_EQ(p->points[3].angle, 38.25f);
    EXPECT_FLOAT_EQ(static_cast<float>(p->angle_fin), 39.75f);
}

// Counted to the end of the file, not from the header's count; after the extra block.
TEST_F(ProfilRaw, Raw1IsCountedToTheEndOfTheFile) {
    for (int bloc : {0, 24}) {
        auto p = lit(lit_profil_raw, "a.raw", raw1(100, 120, bloc).octets);
        ASSERT_TRUE(p) << bloc;
        EXPECT_EQ(p->points.size(), 120u);
        EXPECT_FLOAT_EQ(p->points[119].angle, 5.0f + 119 * 0.05f);
        EXPECT_NEAR(brute(*p, 0), 100, 1e-4);
        EXPECT_NEAR(brute(*p, 119), 219, 1e-3);
    }
}

// Several ranges: the first is read and the user told; a RAW1 file whose
// extra bytes do not start a range header is still read to its end.
TEST_F(ProfilRaw, OnlyTheFirstOfSeveralRangesIsReadAndTheUserTold) {
    struct Cas {
        std::string nom;
        Fabrique fichier;
        std::size_t points;
        std::string information;
    };
    Fabrique trois = raw1(10, 10), deux = raw1(10, 10, 8), raw2_deux = raw2(80, 0, {5, 9, 7});
    plage_raw1(trois, 4, 30.0, 12);
    plage_raw1(trois, 5, 50.0);
    plage_raw1(deux, 3, 30.0);
    plage_raw2(raw2_deux, 80, 4);
    const std::string message = " ranges; only range 1 is read (";
    const Cas cas[] = {
        {"trois.raw", trois, 10,
         "File trois.raw: holds 3" + message + "10 points from 5.000 to 5.450 degrees 2theta)"},
        {"deux.raw", deux, 10,
         "File deux.raw: holds 2" + message + "10 points from 5.000 to 5.450 degrees 2theta)"},
        {"r2.raw", raw2_deux, 3,
         "File r2.raw: holds 2" + message + "3 points from 10.000 to 10.040 degrees 2theta)"},
        {"cent.raw", raw1(100, 120), 120, ""},
        {"seul.raw", raw2(80, 0, {5, 9, 7}), 3, ""},
    };
    for (const Cas& c : cas) {
        d.vide();
        auto p = lit(lit_profil_raw, c.nom, c.fichier.octets);
        ASSERT_TRUE(p) << c.nom;
        EXPECT_EQ(p->points.size(), c.points) << c.nom;
        EXPECT_LT(p->intensite_max_brute, 1e6) << c.nom;
        EXPECT_EQ(d.textes(), c.information.empty() ? Textes{} : Textes{c.information}) << c.nom;
    }
}

TEST_F(ProfilRaw, RealCu3AuFile) {
    KOVRIN_EXIGE_DONNEES_REELLES();
    auto p = lit_fichier(lit_profil_raw, KOVRIN_REAL_DATA_DIR "/Cu3Au-1.raw");
    ASSERT_TRUE(p) << (d.textes().empty() ? "" : d.textes()[0]);
    EXPECT_EQ(p->points.size(), 3901u);
    EXPECT_NEAR(p->points[3900].angle, 100.0, 1e-4);
    EXPECT_DOUBLE_EQ(p->lambda, 1.54184);
    EXPECT_EQ(*p->titre, "Cu3Au-1 (RAW1)");
    EXPECT_NEAR(brute(*p, 0), 48, 1e-3);
    EXPECT_NEAR(brute(*p, 3900), 11, 1e-3);
}

TEST_F(ProfilRaw, BadFilesAreRefusedWithAMessage) {
    EXPECT_EQ(refus(lit_profil_raw, "x.raw", "RAW3" + std::string(400, '\0')),
              Textes{"Unknown file type"});
    std::string court = raw2(60, 0, {1, 2, 3}).octets;
    auto erreurs = refus(lit_profil_raw, "court.raw", court.substr(0, court.size() - 2));
    ASSERT_EQ(erreurs.size(), 1u);
    EXPECT_NE(erreurs[0].find("court.raw"), std::string::npos);
    EXPECT_EQ(refus(lit_profil_raw, "plat.raw", raw2(60, 0, {7, 7, 7}).octets),
              Textes{"File plat.raw: its intensities are all equal; the pattern cannot be scaled"});
    // A binary field holding infinity or NaN (found by fuzzing).
    EXPECT_EQ(refus(lit_profil_raw, "nan.raw", raw2(60, 0, {1, NAN, 3}).octets),
              Textes{"File nan.raw: point 2 is not a finite number"});
    EXPECT_EQ(refus(lit_profil_raw, "inf.raw",
                    raw1(2, 2).f64(diffrac::v1::plage + diffrac::v1::depart, INFINITY).octets),
              Textes{"File inf.raw: point 1 is not a finite number"});
    EXPECT_EQ(refus(lit_profil_raw, "vide.raw", raw1(0, 0).octets),
              Textes{"File vide.raw: holds no profile point"});
    EXPECT_EQ(refus(lit_profil_raw, "gros.raw", raw1(0, 30001).octets),
              Textes{"File gros.raw: more than 30000 profile points; at most 30000 can be read"});
}
