// Profiles read through xylib and the table of profile formats: the real XRDML
// file against the values of its XML, small UXD and text files written
// here, the refusals, and the choice of a format by file name.
#include "donnees_reelles.h"
#include "fabrique.h"
#include "fichiers/formats_profil.h"
#include "fichiers/lecteurs_profil.h"
#include "fichiers/xylib_isole.h"

#include <cmath>

using namespace kovrin;
using test::brute;
using test::Textes;

namespace {

struct ProfilXylib : test::DansDossier {};

// A UXD file of DIFFRAC-AT; each range starts with _DRIVE.
std::string uxd(int nb_plages) {
    std::string t = "; UXD written for a test\r\n_FILEVERSION=1\r\n_SAMPLE='Quartz 7'\r\n"
                    "_WL1=1.788970\r\n_WL2=1.792850\r\n_WLRATIO=0.500000\r\n_ANODE='Co'\r\n";
    for (int p = 0; p < nb_plages; ++p)
        t +=
            "; (Data for Range number " + std::to_string(p + 1) +
            ")\r\n_DRIVE='COUPLED'\r\n_STEPSIZE=0.020000\r\n_START=" + std::to_string(20 + 20 * p) +
            ".000000\r\n_COUNTS\r\n   12   30   18\r\n   25\r\n";
    return t;
}

} // namespace

TEST_F(ProfilXylib, RealXrdmlFileAgainstItsXml) {
    KOVRIN_EXIGE_DONNEES_REELLES();
    auto p = lit_fichier(lit_profil_xylib, KOVRIN_REAL_DATA_DIR "/empyrean.xrdml");
    ASSERT_TRUE(p) << (d.textes().empty() ? "" : d.textes()[0]);
    // <positions axis="2Theta">: start 30.0500, end 41.7500; 196 intensities.
    ASSERT_EQ(p->points.size(), 196u);
    EXPECT_FLOAT_EQ(p->points[0].angle, 30.05f);
    const double premieres[] = {8, 11, 6, 10, 10};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_NEAR(brute(*p, i), premieres[i], 1e-4) << i;
    // <usedWavelength>: kAlpha1 1.5405980, kAlpha2 1.5444260, ratio 0.5000; anode Cu.
    EXPECT_DOUBLE_EQ(p->lambda1, 1.5405980);
    EXPECT_DOUBLE_EQ(p->lambda, (1.5405980 + 0.5 * 1.5444260) / 1.5);
    EXPECT_EQ(*p->titre, "(PANalytical XRDML)"); // <name></name>: no sample name
}

TEST_F(ProfilXylib, UxdAndTextFilesWrittenHere) {
    auto u = lit(lit_profil_xylib, "q.uxd", uxd(1));
    ASSERT_TRUE(u) << d.textes().front();
    ASSERT_EQ(u->points.size(), 4u);
    EXPECT_FLOAT_EQ(u->points[3].angle, 20.06f);
    EXPECT_NEAR(brute(*u, 1), 30, 1e-4);
    EXPECT_EQ(*u->titre, "Quartz 7 (Bruker Diffrac-AT UXD)");
    EXPECT_DOUBLE_EQ(u->lambda, (1.78897 + 0.5 * 1.79285) / 1.5);

    // Two columns, steps of any length: the angles as written, no wavelength.
    auto t = lit(lit_profil_xylib, "t.xy", "10.0 5\n10.1 9\n10.25 7\n10.3 6\n");
    ASSERT_TRUE(t);
    EXPECT_FLOAT_EQ(t->points[2].angle, 10.25f);
    EXPECT_NEAR(brute(*t, 1), 9, 1e-4);
}

// One message per refusal, naming the file; nothing is taken.
TEST_F(ProfilXylib, RefusalsNameTheFileAndXylibsReason) {
    std::string grand = "20 1\n";
    for (int i = 1; i <= 30000; ++i)
        grand += std::to_string(20 + 0.01 * i) + " " + std::to_string(i % 7) + "\n";
    struct Cas {
        std::string nom, octets, debut;
    };
    const Cas cas[] = {
        {"bruit.xy", "\x01\x02 no numbers here", "File bruit.xy: xylib cannot read it: "},
        {"tronque.xrdml",
         "<?xml version=\"1.0\"?><xrdMeasurements xmlns=\"http://www.xrdml.com/\">",
         "File tronque.xrdml: xylib cannot read it: "},
        {"recule.xy", "12 5\n11 6\n10 7\n",
         "File recule.xy: xylib finds no range of equidistant or increasing angles"},
        {"plat.csv", "10,4\n11,4\n", "File plat.csv: its intensities are all equal"},
        {"grand.txt", grand, "File grand.txt: more than 30000 profile points; at most 30000"},
    };
    for (const Cas& c : cas) {
        const Textes erreurs = refus(lit_profil_xylib, c.nom, c.octets);
        ASSERT_EQ(erreurs.size(), 1u) << c.nom;
        EXPECT_EQ(erreurs[0].substr(0, c.debut.size()), c.debut) << erreurs[0];
    }
}

// Two files on which xylib itself fails, read in its child process: one it
// never finishes (found by fuzzing xylib), one whose second range, without its
// _DRIVE line, lands in the block of the first, which xylib then holds twice
// and frees twice when the data set is destroyed.
TEST_F(ProfilXylib, FilesThatHangOrCrashXylibLeaveTheProgramRunning) {
    test::ecrit_fichier("pend.xy", std::string("LAMMPS (\0\x0e\0Jl", 13));
    const DonneesXylib x = charge_par_xylib("pend.xy", 30000, std::chrono::milliseconds(1000));
    EXPECT_EQ(x.erreur, "no answer within 1.0 s");

    std::string sans_drive = uxd(2);
    sans_drive.erase(sans_drive.rfind("_DRIVE='COUPLED'\r\n"), 18);
    auto u = lit(lit_profil_xylib, "sans_drive.uxd", sans_drive);
    ASSERT_TRUE(u);
    EXPECT_EQ(d.textes(), Textes{"File sans_drive.uxd: holds 2 ranges; only range 1 is read (4 "
                                 "points from 20.000 to 20.060 degrees 2theta)"});
}

// After the historic extensions (anywhere in the name, tested in the interface
// tests) come the name's own extensions read through xylib, case aside; else
// the menu's choice.
TEST(FormatsProfil, ChoiceByNameAndTheDialogFilters) {
    const std::pair<const char*, int> noms[] = {
        {"scan.XRDML", profil_xylib}, {"s.uxd", profil_xylib},  {"s.udf", profil_xylib},
        {"s.xy", profil_xylib},       {"s.csv", profil_xylib},  {"s.txt", profil_xylib},
        {"s.xy.raw", profil_raw},     {"s.raw.xy", profil_raw}, {"scan", profil_rietveld},
        {"s.xyz", profil_rietveld}};
    for (const auto& [nom, code] : noms)
        EXPECT_EQ(code_profil_de_nom(nom, profil_rietveld), code) << nom;
    // The historic filter string comes first, unchanged.
    const std::string historique = "Brucker Format (*.raw)|*.raw|Rietveld Format (*.dat)|*.dat|"
                                   "CPI Format (*.cpi)|*.cpi|Philips Format (*.rd)|*.rd";
    EXPECT_EQ(filtre_profils(),
              historique + "|Other formats through xylib (*.xrdml *.uxd *.udf *.xy *.csv *.txt "
                           "*)|*.xrdml;*.uxd;*.udf;*.xy;*.csv;*.txt;*");
}

// The .raw row: the program's layouts by its own reader, any other version
// (RAW4, which Debian's xylib 1.6 does not read either) by xylib.
TEST_F(ProfilXylib, RawFilesOfOtherVersionsGoToXylib) {
    const auto lecteur = format_profil(profil_raw)->lecteur;
    for (const char* magique : {"RAW3", "RAW4.00"}) {
        d.vide();
        test::ecrit_fichier("x.raw", magique + std::string(400, '\0'));
        EXPECT_FALSE(lit_fichier(lecteur, "x.raw", false));
        ASSERT_EQ(d.erreurs().size(), 1u);
        EXPECT_EQ(d.erreurs()[0].rfind("File x.raw: xylib cannot read it: ", 0), 0u);
    }
}

TEST_F(ProfilXylib, RealRaw1FileKeepsTheProgramsReader) {
    KOVRIN_EXIGE_DONNEES_REELLES();
    const auto lecteur = format_profil(profil_raw)->lecteur;
    EXPECT_EQ(lecteur(KOVRIN_REAL_DATA_DIR "/Cu3Au-1.raw", false).titre, "Cu3Au-1 (RAW1)");
}
