// kovrin-batch run as a user runs it, in a temporary directory: the bundled
// examples end to end, the JSON summary, --no-refine, bad options and files,
// a refinement the engine refuses, the work directory, and the peak search on
// a real profile.
#include "donnees_reelles.h"
#include "lance_batch.h"

#include <gemmi/cif.hpp>
#include <gemmi/numb.hpp>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>

namespace {

using kovrin::test::DossierTemporaire;
using kovrin::test::Execution;
using kovrin::test::lance;
using kovrin::test::lance_json;
using kovrin::test::lit_fichier;
using json = nlohmann::json;

const std::string exemples = KOVRIN_SOURCE_DIR "/examples";
const std::string si_prn = exemples + "/cubique/silicium.prn",
                  si_cry = exemples + "/cubique/silicium.cry";
const std::string pics_si = "--peaks " + si_prn + " ";
const std::string silicium = pics_si + "--cell " + si_cry + " --lambda 1.5405929";
const std::string quartz = "--peaks " + exemples +
                           "/quartz/quartz.prn --system hexagonal --group P3221 "
                           "--cellpar 4.913,,5.405 --anode Cu";

// What the examples were made with (examples/README.md).
constexpr double a_silicium = 5.43123, zero_silicium = 0.015;
constexpr double a_quartz = 4.91344, c_quartz = 5.40524, zero_quartz = -0.010;

bool contient(const std::string& texte, const std::string& motif) {
    return texte.find(motif) != std::string::npos;
}

// The values of h2 + k2 + l2 among the pairs of a summary.
std::set<int> sommes_hkl(const json& j) {
    std::set<int> n;
    for (const json& p : j["pairs"]) {
        const int h = p["h"], k = p["k"], l = p["l"];
        n.insert(h * h + k * k + l * l);
    }
    return n;
}

TEST(Batch, CubicExampleRefinedToTheCellItWasMadeWithAndItsJsonSummary) {
    DossierTemporaire dossier;
    const Execution e = lance(silicium);
    ASSERT_EQ(e.code, 0) << e.erreurs;
    // The wavelength typed served the column file: no note; the pairing says
    // what shift it found (the example was made with a zero of 0.015).
    EXPECT_EQ(e.erreurs, "kovrin-batch: Zero shift estimated at 0.010\u00b0 (11 of 11 measured "
                         "reflections within 0.100\u00b0)\n");
    // The refinement tab's a row: initial 5.4310, refined 5.4312 (9:4), sigma 0.0000 (8:4).
    for (const char* motif : {"Status: Fin normale", "     a    5.4310    5.4312   0.0000      yes",
                              "space group FD-3M, lambda 1.54059\n", "Figures of merit: M(11) = "})
        EXPECT_TRUE(contient(e.sortie, motif)) << e.sortie;

    const json j = lance_json(silicium);
    EXPECT_NEAR(j["parameters"]["a"].get<double>(), a_silicium, 1e-4);
    // Angles rounded to 0.001 degree leave the shift within a few thousandths.
    EXPECT_NEAR(j["parameters"]["zero"].get<double>(), zero_silicium, 0.002);
    // The default marks: the zero shift and what the cubic system leaves free.
    EXPECT_EQ(j["refined"], json::array({"zero", "a"}));
    // Calculated from the starting cell a = 5.431 of the .cry file: 111 at
    // d = 5.431 / sqrt(3).
    EXPECT_NEAR(j["calculated"][0]["d"].get<double>(), 5.431 / std::sqrt(3.0), 1e-4);
    ASSERT_EQ(j["pairs"].size(), 11u);
}

TEST(Batch, HexagonalExampleWithATypedCellAndAnAnode) {
    DossierTemporaire dossier;
    const json j = lance_json(quartz);
    EXPECT_EQ(j["refined"], json::array({"zero", "a", "c"}));
    EXPECT_NEAR(j["lambda"].get<double>(), 1.54180, 1e-6); // mean Cu Kalpha of the dialog
    // Noise of 0.003 degree on 29 lines: the cell comes back within 1e-4 A.
    EXPECT_NEAR(j["parameters"]["a"].get<double>(), a_quartz, 1e-4);
    EXPECT_NEAR(j["parameters"]["c"].get<double>(), c_quartz, 1e-4);
    EXPECT_NEAR(j["parameters"]["zero"].get<double>(), zero_quartz, 0.003);
}

TEST(Batch, NoRefineListsTheCalculatedReflections) {
    DossierTemporaire dossier;
    const Execution e = lance(silicium + " --no-refine");
    ASSERT_EQ(e.code, 0) << e.erreurs;
    // F d -3 m between 26.456 and 138.892 degrees: the face-centred h^2+k^2+l^2
    // 3 ... 43 less 200 and 420 (d-glide: 0kl with k + l = 4n, h00 with h = 4n)
    // gives 13 spacings; 222 and 442 are allowed by the group (silicon shows
    // neither only because of its atom site).
    EXPECT_TRUE(contient(e.sortie, "Calculated reflections: 13")) << e.sortie;
    EXPECT_TRUE(contient(e.sortie, "  2  2  2  1.5678")) << e.sortie; // 5.431 / sqrt(12)
    EXPECT_FALSE(std::filesystem::exists(dossier / "kovrin.out"));
}

TEST(Batch, ReflectionsOfACellAloneWithATypedWavelengthAndRange) {
    DossierTemporaire dossier;
    const json j =
        lance_json("--system CUBI --group Fm-3m --cellpar 4.0495 --anode Cu --range 20,100 "
                   "--no-refine");
    EXPECT_TRUE(j["status"].is_null()); // no refinement
    // Aluminium, F m -3 m, Cu Kalpha 1.5418: 111 200 220 311 222 400 below 100 degrees.
    ASSERT_EQ(j["calculated"].size(), 6u);
    EXPECT_NEAR(j["calculated"][0]["d"].get<double>(), 4.0495 / std::sqrt(3.0), 1e-4);
    EXPECT_NEAR(j["calculated"][5]["d"].get<double>(), 4.0495 / 4, 1e-4);
}

// Bad options and bad input (missing files and too few pairs included: not a
// failed refinement).
TEST(Batch, BadOptionsExitWithStatus2AndNameTheirCause) {
    DossierTemporaire dossier;
    const std::pair<std::string, std::string> cas[] = {
        {silicium + " --frobnicate", "--frobnicate"},
        {silicium + " --refine zero,q", "unknown name \"q\""},
        {silicium + " --tolerance", "--tolerance"},
        {silicium + " --tolerance 0,1", "--tolerance: \"0,1\" is no number"},
        {silicium + " --tolerance -0.1", "--tolerance: the tolerance must be positive"},
        {silicium + " --range 0,200", "--range: the range must run"},
        {pics_si + "--lambda 1.54", "no cell"},
        {"--cell " + si_cry + " --lambda 1.54", "no measured reflections"},
        {"--search --cell " + si_cry, "--profile"},
        {pics_si + "--search --cell " + si_cry, "--peaks excludes --search"},
        {pics_si + "--cell " + si_cry, "carries no wavelength"},
        {silicium + " --system CUBI", "--cell"},
        {pics_si + "--system CUBI --group Fm3m --cellpar 5.431 --lambda 1.54",
         "\"Fm3m\" is not in the H-M list of the system Cubic; closest entries: Fm-3m, "},
        {pics_si + "--system CUBI --group Fd-3m:1 --cellpar 5.431 --lambda 1.54",
         "Cubic (the list with Hall notation holds it); closest entries: Fd-3m"},
        // A missing file is named with its whole path.
        {"--peaks absent.prn --cell " + si_cry + " --lambda 1.54",
         (dossier / "absent.prn").string()},
        {pics_si + "--cell absent.cry --lambda 1.54", (dossier / "absent.cry").string()},
        {"--profile absent.raw --search --cell " + si_cry, (dossier / "absent.raw").string()},
        {"--profile bruit.xy --search --cell " + si_cry + " --lambda 1.54",
         "bruit.xy: xylib cannot read it: "},
        {pics_si + "--system CUBI --group Fd-3m --cellpar 5.43x --lambda 1.54",
         "--cellpar: a is no number: \"5.43x\""},
        // Values outside their domains are refused before any command runs.
        {pics_si + "--system CUBI --group Pm-3m --cellpar=-5,-5,-5,90,90,90 --lambda 1.54",
         "--cellpar: a must be positive"},
        {pics_si + "--system TRIC --group P1 --cellpar 5,6,7,130,130,130 --lambda 1.54",
         "--cellpar: the cell angles α, β, γ give no real cell"},
        {pics_si + "--cell " + si_cry + " --lambda nan", "--lambda: λ must lie between 0 and 10 Å"},
        // With a tolerance of 0.001 degree no measured reflection pairs at all.
        {silicium + " --tolerance 0.001 --no-zero-estimate",
         "measured reflections paired within 0.001\u00b0: no calculated reflection lies within the "
         "tolerance of any measured one"},
        {"--profile x.raw --search --search-method peaks --cell " + si_cry,
         "--search-method: unknown method \"peaks\""},
        {"--profile x.raw --search --threshold 20 --cell " + si_cry,
         "--threshold is the depth of the second-derivative search"},
        {"--profile x.raw --search --search-method derivative --significance 4 --cell " + si_cry,
         "--significance belongs to the counting-statistics search"},
    };
    kovrin::test::ecrit_fichier("bruit.xy", "\x01\x02 no numbers here");
    for (const auto& [arguments, cause] : cas) {
        const Execution e = lance(arguments);
        EXPECT_EQ(e.code, 2) << arguments;
        EXPECT_TRUE(contient(e.erreurs, cause)) << arguments << "\n" << e.erreurs;
    }
}

TEST(Batch, ASingularRefinementExitsWithStatus1AndTheEngineStatus) {
    DossierTemporaire dossier;
    // b flagged beside a on a cubic cell: the engine ties b to a, and the
    // normal matrix of two identical columns cannot be inverted.
    const Execution e = lance(silicium + " --refine zero,a,b");
    EXPECT_EQ(e.code, 1);
    EXPECT_TRUE(contient(e.erreurs, "erreur dans matinv CHOLESKI")) << e.erreurs;

    const json j = lance_json(silicium + " --refine zero,a,b", 1);
    EXPECT_EQ(j["status"], "erreur dans matinv CHOLESKI");
    EXPECT_EQ(j["messages"],
              json::array({"Zero shift estimated at 0.010\u00b0 (11 of 11 measured reflections "
                           "within 0.100\u00b0)",
                           "DLL error"}));
}

TEST(Batch, WorkDirectoryHoldsTheFilesAndRelativeInputsAreFoundFirst) {
    DossierTemporaire dossier;
    std::filesystem::create_directory("donnees");
    std::filesystem::copy_file(si_prn, "donnees/si.prn");
    std::filesystem::copy_file(si_cry, "donnees/si.cry");
    const Execution e = lance("--peaks donnees/si.prn --cell donnees/si.cry --lambda 1.5405929 "
                              "--workdir travail/si --reports");
    ASSERT_EQ(e.code, 0) << e.erreurs;
    for (const char* fichier :
         {"kovrin.inp", "kovrin.out", "mouchard", "Excel.txt", "indx.out", "dif.out"}) {
        EXPECT_TRUE(std::filesystem::exists(dossier / "travail/si" / fichier)) << fichier;
        EXPECT_FALSE(std::filesystem::exists(dossier / fichier)) << fichier;
    }
    // The engine's title is the peak file's name.
    EXPECT_TRUE(contient(lit_fichier(dossier / "travail/si/kovrin.inp"), "si.prn\r\n"));
}

TEST(Batch, EccentricityFlagsTheAngularTermForTheEngine) {
    DossierTemporaire dossier;
    const Execution e = lance(silicium + " --eccentricity");
    ASSERT_EQ(e.code, 0) << e.erreurs;
    // kovrin.inp, line 3: the angular term and its flag, -1 for eccentricity;
    // the term starts where the pairing estimated it with the cos(theta) law.
    EXPECT_TRUE(contient(e.erreurs, "Eccentricity estimated at 0.014\u00b0 (11 of 11"))
        << e.erreurs;
    EXPECT_TRUE(contient(lit_fichier(dossier / "kovrin.inp"), "\r\n  0.0142 -1.0000\r\n"));
}

// A CIF number with its standard uncertainty in parentheses: 5.431230(6).
struct NombreCif {
    double valeur = 0, incertitude = 0, unite = 0; // unite: one unit of the last digit
};

NombreCif lit_nombre_cif(const std::string& texte) {
    const auto parenthese = texte.find('(');
    const std::string nombre = texte.substr(0, parenthese);
    const auto point = nombre.find('.');
    const int decimales = point == std::string::npos ? 0 : int(nombre.size() - point - 1);
    NombreCif n{gemmi::cif::as_number(texte), 0, std::pow(10.0, -decimales)};
    if (parenthese != std::string::npos)
        n.incertitude = std::stod(texte.substr(parenthese + 1)) * n.unite;
    return n;
}

TEST(Batch, CifOfTheCubicExampleReadsBackWithGemmiAsTheJsonSummaryGivesIt) {
    DossierTemporaire dossier;
    const json j = lance_json(silicium + " --cif silicium");
    const gemmi::cif::Document cif = gemmi::cif::read_file((dossier / "silicium.cif").string());
    const gemmi::cif::Block& b = cif.sole_block();
    // Each value within half a unit of its last digit, each uncertainty too.
    auto compare = [&](const std::string& nom, double attendu, double sigma) {
        const NombreCif n = lit_nombre_cif(*b.find_value(nom));
        EXPECT_NEAR(n.valeur, attendu, n.unite / 2 + 1e-12) << nom;
        EXPECT_NEAR(n.incertitude, sigma, n.unite / 2 + 1e-12) << nom;
    };
    const json& p = j["parameters"];
    const json& s = j["sigmas_standard"];
    for (const char* longueur : {"a", "b", "c"})
        compare(std::string("_cell_length_") + longueur, p[longueur], s[longueur]);
    for (const char* angle : {"alpha", "beta", "gamma"})
        compare(std::string("_cell_angle_") + angle, 90.0, 0.0);
    const double a = p["a"];
    compare("_cell_volume", a * a * a, 3 * a * a * s["a"].get<double>());
    compare("_diffrn_radiation_wavelength", 1.5405929, 0.0);
    compare("_pd_calib_2theta_offset", -p["zero"].get<double>(), s["zero"]);
    EXPECT_EQ(gemmi::cif::as_string(*b.find_value("_space_group_crystal_system")), "cubic");
    EXPECT_EQ(gemmi::cif::as_string(*b.find_value("_space_group_name_H-M_alt")), "F d -3 m");
    EXPECT_NEAR(gemmi::cif::as_number(*b.find_value("_kovrin_figure_of_merit_M")), j["m20"], 0.05);
    EXPECT_NEAR(gemmi::cif::as_number(*b.find_value("_kovrin_figure_of_merit_F")), j["fn"], 0.05);
    const gemmi::cif::Table paires = const_cast<gemmi::cif::Block&>(b).find(
        {"_refln_index_h", "_refln_index_k", "_refln_index_l", "_kovrin_refln_2theta_obs",
         "_kovrin_refln_2theta_calc"});
    ASSERT_EQ(paires.length(), j["pairs"].size());
    for (int i = 0; i < static_cast<int>(paires.length()); ++i) {
        const json& paire = j["pairs"][static_cast<std::size_t>(i)];
        const auto ligne = const_cast<gemmi::cif::Table&>(paires)[i];
        EXPECT_EQ(ligne[0] + ligne[1] + ligne[2], std::to_string(paire["h"].get<int>()) +
                                                      std::to_string(paire["k"].get<int>()) +
                                                      std::to_string(paire["l"].get<int>()));
        EXPECT_NEAR(gemmi::cif::as_number(ligne[3]), paire["obs"], 5e-5);
        const double calc = paire["obs"].get<double>() - paire["residual"].get<double>();
        EXPECT_NEAR(gemmi::cif::as_number(ligne[4]), calc, 5e-5);
    }
}

TEST(Batch, PeakSearchAndFittedPositionsOnTheRealCu3AuProfile) {
    KOVRIN_EXIGE_DONNEES_REELLES();
    DossierTemporaire dossier;
    // A noisy pattern: the default threshold 2 takes ripples for peaks; 20 keeps
    // the strong lines, 0.3 to 0.4 degree wide: every Kalpha doublet is
    // unresolved and its lobe centre lies a third of the separation above Kalpha1.
    // The second-derivative search, paired by the plain rule.
    const std::string recherche = std::string("--profile ") + KOVRIN_REAL_DATA_DIR +
                                  "/Cu3Au-1.raw --search --search-method derivative "
                                  "--threshold 20 --system CUBI --group Pm-3m --cellpar 3.75 "
                                  "--tolerance 0.3 --no-zero-estimate";
    const json centres = lance_json(recherche + " --reports");
    for (const char* fichier : {"raw.out", "dif.out", "indx.out"})
        EXPECT_TRUE(std::filesystem::exists(dossier / fichier)) << fichier;
    const json ajustes = lance_json(recherche + " --fit-peaks");
    ASSERT_EQ(centres["status"], "Fin normale");
    ASSERT_EQ(ajustes["status"], "Fin normale");
    // The superlattice line 100 and the fundamentals 111, 200, 220 of ordered
    // Cu3Au, refined both ways.
    EXPECT_EQ(sommes_hkl(centres), (std::set<int>{1, 3, 4, 8}));
    EXPECT_EQ(sommes_hkl(ajustes), sommes_hkl(centres));
    EXPECT_NEAR(centres["lambda"].get<double>(), 1.54184, 1e-5); // the header's mean
    EXPECT_NEAR(ajustes["lambda"].get<double>(), 1.5406, 1e-6);  // lambda1 of the header
    // Lobe centres with the mean wavelength: a = 3.75317, engine sigma 0.00137,
    // usual 0.00194, agreement 0.0152. Fitted Kalpha1 positions with lambda1:
    // a = 3.75050, engine sigma 0.00258, usual 0.00365, agreement 0.0286. The
    // cell moves by the 0.003 A of the centroid bias, towards a = 3.7485 of the
    // literature; with four lines of about 60 counts over the background, the
    // scatter of the fitted positions (0.01 to 0.04 degree) is as large as
    // that bias, so the agreement figure and the errors do not shrink here.
    const double a_centres = centres["parameters"]["a"], a_ajuste = ajustes["parameters"]["a"];
    EXPECT_GT(a_centres - a_ajuste, 0.001);
    EXPECT_LT(a_centres - a_ajuste, 0.005);
    EXPECT_LT(std::fabs(a_ajuste - 3.7485), std::fabs(a_centres - 3.7485));
    for (const json& m : ajustes["measured"])
        EXPECT_EQ(m["fit"], "fitted") << m["two_theta"];
}

// The road of a user who reads no help: the default search, the fit and the
// pairing at the default tolerance, with only the cell given. Ordered Cu3Au
// stands about 0.26 degree low on this profile: the pairing finds that shift.
TEST(Batch, RealCu3AuRoadWithDefaultsPairsEveryFundamentalLine) {
    KOVRIN_EXIGE_DONNEES_REELLES();
    DossierTemporaire dossier;
    const json j = lance_json("--profile " KOVRIN_REAL_DATA_DIR "/Cu3Au-1.raw --search --fit-peaks "
                              "--system CUBI --group Pm-3m --cellpar 3.75");
    ASSERT_EQ(j["status"], "Fin normale");
    const std::set<int> sommes = sommes_hkl(j);
    // 111, 200, 220 and 311: every fundamental line the profile shows (222, at
    // 90.5 degrees, does not stand above its noise).
    for (int fondamentale : {3, 4, 8, 11})
        EXPECT_TRUE(sommes.count(fondamentale)) << fondamentale;
    bool message = false;
    for (const json& m : j["messages"])
        message |= contient(m.get<std::string>(), "Zero shift estimated at \u2212");
    EXPECT_TRUE(message);
    // The refined cell lies within three standard errors of the literature's
    // (that the engine's values are the least-squares minimum of the pairs is
    // checked against an independent fit in the refinement tests).
    const double sigma = j["sigmas_standard"]["a"];
    EXPECT_LT(std::fabs(j["parameters"]["a"].get<double>() - 3.7485), 3 * sigma);
}

} // namespace
