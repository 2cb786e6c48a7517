// The counting-statistics peak search: synthetic profiles of known peaks with
// Poisson noise on curved backgrounds (fixed seeds), pure noise, values that
// are not counts, and the real Cu3Au-1 profile against a reading by eye.
#include "donnees_reelles.h"
#include "interface/commandes_profil.h"
#include "profil/recherche_statistique.h"

#include "fichiers/formats_profil.h"
#include "interface/dialogue_lambda.h"
#include "interface/prise_donnees.h"
#include "profil_synthetique.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace kovrin;

namespace {

// Variance of a point smoothed by the 13-point quadratic Savitzky-Golay filter
// over that of one point: the sum of its squared weights (-11, 0, 9, 16, 21,
// 24, 25, 24, 21, 16, 9, 0, -11) / 143, from the published table.
constexpr double facteur_lissage = 3575.0 / (143.0 * 143.0);

struct PicConnu {
    double position, fwhm, hauteur; // degrees, degrees, counts at the top
};

struct Synthese {
    std::vector<double> angles, comptes;
    std::vector<PicConnu> pics;
    std::vector<double> fond;
};

// Pseudo-Voigt lines (mixing 0.5) of given heights over `fond(x)`, Poisson
// counts (seed 0: the exact intensities).
Synthese synthetise(double debut, double pas, int n, const std::vector<PicConnu>& pics,
                    double (*fond)(double), unsigned graine) {
    Synthese s;
    s.pics = pics;
    std::mt19937 generateur(graine);
    for (int i = 0; i < n; ++i) {
        const double x = debut + pas * i;
        double y = fond(x);
        for (const PicConnu& p : pics)
            y += p.hauteur * test::pseudo_voigt(x, p.position, p.fwhm, 0.5, 1) /
                 test::pseudo_voigt(0, 0, p.fwhm, 0.5, 1);
        std::poisson_distribution<int> loi(y);
        s.angles.push_back(x);
        s.comptes.push_back(graine != 0 ? loi(generateur) : y);
        s.fond.push_back(fond(x));
    }
    return s;
}

// How far above 5 sigma of its smoothed top a known peak stands.
double significativite_vraie(const Synthese& s, const PicConnu& p) {
    const double fond = s.fond[static_cast<std::size_t>(
        std::lower_bound(s.angles.begin(), s.angles.end(), p.position) - s.angles.begin())];
    return p.hauteur / std::sqrt(facteur_lissage * (fond + p.hauteur));
}

struct Bilan {
    int significatifs = 0, retrouves = 0, faux = 0;
    double pire_ecart = 0; // largest position error of a peak above 5 sigma
};

// Found peaks matched to known ones within half a width; the rest are false.
Bilan compare(const Synthese& s, const std::vector<PicSignificatif>& trouves) {
    Bilan b;
    std::vector<bool> pris(trouves.size(), false);
    for (const PicConnu& p : s.pics) {
        const bool fort = significativite_vraie(s, p) >= 5;
        b.significatifs += fort;
        for (std::size_t j = 0; j < trouves.size(); ++j) {
            if (pris[j] || std::fabs(trouves[j].angle - p.position) > p.fwhm / 2) continue;
            pris[j] = true;
            if (fort) {
                ++b.retrouves;
                b.pire_ecart = std::max(b.pire_ecart, std::fabs(trouves[j].angle - p.position));
            }
            break;
        }
    }
    for (bool p : pris)
        b.faux += !p;
    return b;
}

Bilan cherche(const Synthese& s, const ReglagesStatistiques& r = {}) {
    const AnalyseBruit a = analyse_bruit(s.angles, s.comptes, true, r);
    return compare(s, pics_significatifs(s.angles, a, r));
}

double fond_courbe(double x) {
    return 60 + 140 * std::exp(-(x - 20) / 12) + 25 * std::exp(-std::pow((x - 30) / 6, 2));
}

double fond_laboratoire(double x) {
    return 40 + 500 * std::exp(-(x - 5) / 6) + 30 * std::exp(-std::pow((x - 25) / 8, 2)) +
           0.1 * (x - 5);
}

// Twenty peaks 0.15 to 0.3 degree wide between 22 and 98 degrees, heights
// from about 3 to 40 sigma.
std::vector<PicConnu> pics_moyens() {
    std::vector<PicConnu> pics;
    for (int i = 0; i < 20; ++i)
        pics.push_back({22.7 + 3.8 * i, 0.15 + 0.15 * (i % 4) / 3, 8.0 + 9.0 * ((i * 7) % 12)});
    return pics;
}

// Two dozen reflections from 8 to 145 degrees, widths growing with the angle
// (0.13 to 0.35 degree), heights over three decades (10 to 20000 counts).
std::vector<PicConnu> pics_pleine_gamme() {
    std::vector<PicConnu> pics;
    for (int i = 0; i < 24; ++i) {
        const double x = 8 + 5.9 * i + 0.37 * (i % 3);
        pics.push_back({x, 0.13 + 0.0015 * (x - 5), 10 * std::pow(2000.0, ((i * 5) % 24) / 23.0)});
    }
    return pics;
}

// A workspace with empty contamination boxes.
struct RechercheStatistique : ::testing::Test {
    EspaceTravail e;
    DialoguesEnregistres d;
    ChampsContamination champs{};
    // The real profile taken in as the profile window's "Open" does, and the
    // boxes its search prepares.
    void prend_cu3au() {
        DialogueLambda dialogue;
        prend_fichier_profil(e, dialogue, profil_raw, KOVRIN_REAL_DATA_DIR "/Cu3Au-1.raw", d);
        ASSERT_EQ(e.profil.taille(), 3901);
        ASSERT_TRUE(profil_brut_de(e).comptes);
        const auto c = prepare_recherche(e, d);
        ASSERT_TRUE(c);
        champs = *c;
    }
};

TEST_F(RechercheStatistique, SyntheticProfilesRecallThePeaksAboveFiveSigma) {
    struct Cas {
        const char* nom;
        Synthese s;
    };
    const Cas cas[] = {
        {"22-100 deg, step 0.02, seed 11",
         synthetise(22, 0.02, 3901, pics_moyens(), fond_courbe, 11)},
        {"5-150 deg, 17000 points, seed 21",
         synthetise(5, 145.0 / 16999, 17000, pics_pleine_gamme(), fond_laboratoire, 21)},
    };
    for (const Cas& c : cas) {
        const Bilan b = cherche(c.s);
        ASSERT_GT(b.significatifs, 10) << c.nom;
        EXPECT_GE(b.retrouves, 0.95 * b.significatifs) << c.nom;
        // What is left false lies in the Lorentzian tails of the strongest lines
        // (2000 to 20000 counts), which the background follows loosely.
        EXPECT_LE(b.faux, 3) << c.nom;
        // The top of the smoothed profile, within a fifth of the narrowest width.
        EXPECT_LT(b.pire_ecart, 0.03) << c.nom;
    }
}

TEST_F(RechercheStatistique, NoiselessLinesAtTheirCentresAndWidthsOverTheTrueBackground) {
    const std::vector<PicConnu> pics = {
        {40.0137, 0.2, 300}, {55.006, 0.2, 300}, {70.011, 0.2, 300}};
    const Synthese s = synthetise(22, 0.02, 3901, pics, fond_courbe, 0);
    const ReglagesStatistiques r;
    const AnalyseBruit a = analyse_bruit(s.angles, s.comptes, true, r);
    const std::vector<PicSignificatif> trouves = pics_significatifs(s.angles, a, r);
    ASSERT_EQ(trouves.size(), 3u);
    for (std::size_t j = 0; j < 3; ++j) {
        // A tenth of a step off the vertex; smoothing widens a line a little.
        EXPECT_NEAR(trouves[j].angle, pics[j].position, 0.002);
        EXPECT_NEAR(trouves[j].largeur, 0.215, 0.015) << pics[j].position;
    }
    for (std::size_t i = 0; i < s.angles.size(); ++i) // within half the noise of a count
        ASSERT_NEAR(a.fond[i], s.fond[i], 0.5 * std::sqrt(s.fond[i])) << s.angles[i];
}

TEST_F(RechercheStatistique, PureNoiseGivesAtMostOneFalsePeakPerThousandPoints) {
    int faux = 0, points = 0;
    for (unsigned graine = 31; graine < 36; ++graine) {
        faux += cherche(synthetise(5, 145.0 / 16999, 17000, {}, fond_laboratoire, graine)).faux;
        faux += cherche(synthetise(22, 0.02, 3901, {}, fond_courbe, graine)).faux;
        points += 17000 + 3901;
    }
    EXPECT_LE(faux, points / 1000);
}

TEST_F(RechercheStatistique, ValuesThatAreNotCountsTakeTheirNoiseFromTheScatter) {
    Synthese s = synthetise(22, 0.02, 3901, pics_moyens(), fond_courbe, 13);
    EXPECT_TRUE(valeurs_de_comptage(s.comptes, 1e-6));
    // Counts per second of a 0.37 s step: the same information, not counts.
    for (double& c : s.comptes)
        c /= 0.37;
    EXPECT_FALSE(valeurs_de_comptage(s.comptes, 1e-6));
    const ReglagesStatistiques r;
    const AnalyseBruit a = analyse_bruit(s.angles, s.comptes, false, r);
    // Counts on the scale 1/0.37: a smoothed background point of value f/0.37
    // has the standard uncertainty sqrt(F f)/0.37.
    for (std::size_t i : {200u, 1700u, 3400u}) {
        const double attendu = std::sqrt(facteur_lissage * fond_courbe(s.angles[i])) / 0.37;
        // The scatter takes in the peaks' flanks too: 10 to 15 % high here.
        EXPECT_NEAR(a.sigma(i), 1.1 * attendu, 0.1 * attendu) << s.angles[i];
    }
    for (PicConnu& p : s.pics)
        p.hauteur /= 0.37;
    const Bilan b = compare(s, pics_significatifs(s.angles, a, r));
    EXPECT_GE(b.retrouves, 0.85 * b.significatifs);
    EXPECT_LE(b.faux, 1);
}

TEST_F(RechercheStatistique, WorkspaceSearchMarksTheKalpha2CompanionsAndCarriesTheSignificance) {
    test::profil_doublets(e, 60, 0.01, 3001,
                          {{65, 0.12, 0.5, 40}, {75, 0.12, 0.5, 25}, {85, 0.12, 0.5, 20}}, 5);
    cherche_pics_statistiques(e, {}, champs, d);
    // Resolved doublets: each Kalpha1 (code 2) with its Kalpha2 (code 3).
    ASSERT_EQ(e.mesures.taille(), 6);
    for (int j = 1; j <= 6; j += 2) {
        EXPECT_EQ(e.mesures[j].code_raie, raie_k_alpha1) << j;
        EXPECT_EQ(e.mesures[j + 1].code_raie, raie_k_alpha2) << j;
        EXPECT_NEAR(e.mesures[j + 1].deux_theta_mes,
                    test::position_alpha2(e.mesures[j].deux_theta_mes), 0.02);
        EXPECT_GT(e.mesures[j].significativite, 5) << j;
        // The stored intensity is the profile's own value at the angle.
        EXPECT_DOUBLE_EQ(e.mesures[j].intensite_mes,
                         intensite_au_angle(e.profil, e.mesures[j].deux_theta_mes, true));
    }
}

// The reflections of ../shared/data/real/Cu3Au-1.raw a crystallographer marks
// by eye (our reading of the profile, with the counts over the background that
// the eye goes by): the fundamental lines 111, 200, 220 and 311 of Pm-3m with
// a = 3.7485 A and Cu Kalpha1 (calculated 41.70, 48.53, 71.07, 85.93 degrees;
// the sample stands 0.2 to 0.3 degree lower), and four clear lines of another
// phase at 27.1 (about 25 counts over 20), 38.0 (15 over 16), 54.0 (10 over
// 13) and 64.4 (9 over 11). The superlattice lines of the ordered alloy (100
// at 23.5, 110 at 33.5, ...) and 222 at 90.5 do not stand out to the eye.
constexpr double lignes_a_l_oeil[] = {27.1, 38.0, 41.5, 48.3, 54.0, 64.4, 70.95, 85.75};

TEST_F(RechercheStatistique, RealCu3AuProfileAtTheDefaults) {
    KOVRIN_EXIGE_DONNEES_REELLES();
    ASSERT_NO_FATAL_FAILURE(prend_cu3au());
    cherche_pics_statistiques(e, {}, champs, d);
    int trouvees = 0, autres = 0;
    for (double ligne : lignes_a_l_oeil)
        trouvees += std::any_of(e.mesures.begin(), e.mesures.end(), [&](const Mesure& m) {
            return std::fabs(m.deux_theta_mes - ligne) < 0.15;
        });
    for (const Mesure& m : e.mesures) {
        const bool connue =
            std::any_of(std::begin(lignes_a_l_oeil), std::end(lignes_a_l_oeil),
                        [&](double l) { return std::fabs(m.deux_theta_mes - l) < 0.15; });
        autres += !connue && m.code_raie != raie_k_alpha2;
    }
    EXPECT_EQ(trouvees, 8);
    EXPECT_LE(autres, 1);
}

TEST_F(RechercheStatistique, SecondDerivativeSearchOnRealCountsOffersTheOtherMethod) {
    KOVRIN_EXIGE_DONNEES_REELLES();
    ASSERT_NO_FATAL_FAILURE(prend_cu3au());
    lance_recherche(e, limites_de_positions(PositionsRecherche{}), champs, d);
    // The ripples of the noise pass the default depth: 205 peaks.
    ASSERT_EQ(e.mesures.taille(), 205);
    const auto offre = offre_methode_statistique(e);
    ASSERT_TRUE(offre);
    EXPECT_EQ(offre->rfind("205 peaks found, ", 0), 0u);
    EXPECT_NE(offre->find(" of them above 3 \u03c3: use Counting statistics?"), std::string::npos);
    // The peaks' own significances count the same.
    note_significativites(e);
    const auto au_dessus = std::count_if(e.mesures.begin(), e.mesures.end(),
                                         [](const Mesure& m) { return m.significativite > 3; });
    EXPECT_NE(offre->find(", " + std::to_string(au_dessus) + " of them above"), std::string::npos);
    cherche_pics_statistiques(e, {}, champs, d);
    EXPECT_FALSE(offre_methode_statistique(e)) << "its own peaks all stand above 3 sigma";

    // "Search" with the panel's method: declined, the offer leaves the 205 peaks;
    // accepted, the other method is chosen and searches again.
    EtatFenetreProfil etat;
    etat.contamination = champs;
    d.reponse = Reponse::non;
    cherche_avec_methode(e, etat, d);
    EXPECT_EQ(e.mesures.taille(), 205);
    EXPECT_EQ(etat.methode, MethodeRecherche::derivee_seconde);
    d.reponse = Reponse::oui;
    cherche_avec_methode(e, etat, d);
    EXPECT_EQ(etat.methode, MethodeRecherche::statistique);
    EXPECT_LE(e.mesures.taille(), 12);
    EXPECT_FALSE(etat.grille_videe);
}

} // namespace
