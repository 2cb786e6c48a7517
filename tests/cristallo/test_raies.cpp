#include "cristallo/geometrie.h"
#include "cristallo/groupes.h"
#include "cristallo/raies.h"
#include "donnees_groupes.h"
#include "dossier_temporaire.h"
#include "saisies.h"

#include <gemmi/unitcell.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

using namespace kovrin;

namespace {

// A workspace on a copy of the data files, with a cell tab ready to read.
struct Generation : test::AvecDonnees {
    OngletMaille onglet;
    // Workspace filled directly, for genere_raies alone.
    void espace(const std::string& systeme, const std::string& groupe, Maille m, double t1,
                double t2, double lambda = 1.5406) {
        et.systeme = systeme;
        et.groupe = groupe;
        et.origine_groupe = "HM";
        et.maille = m;
        et.lambda = lambda;
        et.angle_min_initial = t1;
        et.angle_max_initial = t2;
        charge_operateurs_hm(et, d);
    }
    void liste_precedente() {
        et.calculees.efface();
        et.calculees.ajoute(RaieCalculee{7, 7, 7, 1.0f, 99.0f});
    }
    int n() const { return et.calculees.taille(); }
};

ListeBornee<RaieCalculee, 999> fusionne(std::vector<Candidat> c) {
    ListeBornee<RaieCalculee, 999> sortie;
    DialoguesEnregistres d;
    fusionne_candidats(c, 1.5406, sortie, d);
    return sortie;
}

} // namespace

// 3 3 3 and 5 1 1 share one spacing, as do 4 3 1 and 5 1 0.
TEST_F(Generation, EqualSpacingsOfDifferentFormsMerge) {
    espace("CUBI", "PM-3M", {10, 10, 10, 90, 90, 90}, 46, 48);
    ASSERT_TRUE(genere_raies(et, d));
    ASSERT_EQ(n(), 2);
    const RaieCalculee& r = et.calculees[1];
    EXPECT_EQ(r.h * r.h + r.k * r.k + r.l * r.l, 26);
    EXPECT_NEAR(et.calculees[2].dhkl, 10 / std::sqrt(27.0), 5e-5);
}

TEST_F(Generation, ChecksInOrderLeaveThePreviousList) {
    // The cubic system selected; the group comes back through the lists.
    onglet = test::onglet_tape({"4,0", "4", "4", "90", "90", "90"});
    onglet.systeme_choisi = 0;
    et.groupe = "PM-3M";
    et.origine_groupe = "HM";
    et.angle_min_initial = 10;
    et.angle_max_initial = 60;
    liste_precedente();
    EXPECT_FALSE(calcul_raies(et, onglet, d)); // the conversion error stops the generation
    onglet.cellule[0] = test::saisie("4");
    onglet.lambda = test::saisie("0");
    EXPECT_FALSE(calcul_raies(et, onglet, d));
    onglet.lambda = test::saisie("1.5406");
    onglet.cellule[2] = test::saisie("0");
    EXPECT_FALSE(calcul_raies(et, onglet, d));
    onglet.cellule[2] = test::saisie("4");
    onglet.theta_min = onglet.theta_max = test::saisie("60");
    et.angle_min_initial = et.angle_max_initial = 60;
    EXPECT_FALSE(calcul_raies(et, onglet, d));
    et.angle_min_initial = 70; // max below min
    EXPECT_FALSE(calcul_raies(et, onglet, d));
    EXPECT_EQ(d.erreurs(), (std::vector<std::string>{"Error on a", "The wavelength =0",
                                                     "Cell parameters error! (c = 0)",
                                                     "Theta range error", "Theta range error"}));
    ASSERT_EQ(n(), 1);
}

TEST_F(Generation, NoSystemThenNoGroup) {
    onglet = test::onglet_tape({"4", "4", "4", "90", "90", "90"});
    et.angle_max_initial = 60;
    liste_precedente();
    et.liste_hm = {{"No ext.", "PM-3M"}, 1};
    EXPECT_FALSE(calcul_raies(et, onglet, d)); // no system chosen
    et.systeme = "CUBI";
    et.liste_hm.selection = -1;
    EXPECT_FALSE(calcul_raies(et, onglet, d)); // no group selected
    EXPECT_EQ(d.erreurs(), (std::vector<std::string>{"No system!", "No space group!"}));
}

// A cell without reciprocal keeps the previous list; 9999 candidates empty it.
TEST_F(Generation, CellWithoutReciprocalAndTooManyCandidates) {
    espace("TRIC", "NO EXT.", {5, 5, 5, 10, 10, 90}, 10, 60);
    liste_precedente();
    EXPECT_FALSE(genere_raies(et, d));
    EXPECT_EQ(n(), 1);
    espace("TRIC", "NO EXT.", {20, 20, 20, 90, 90, 90}, 10, 120);
    EXPECT_FALSE(genere_raies(et, d));
    EXPECT_EQ(n(), 0);
    // A box of 10^11 index triples (found by fuzzing: minutes of work) is not gone through.
    espace("CUBI", "PM-3M", {5000, 5000, 5000, 90, 90, 90}, 59.99, 60);
    liste_precedente();
    EXPECT_FALSE(genere_raies(et, d));
    EXPECT_EQ(n(), 0);
    EXPECT_EQ(d.erreurs(), (std::vector<std::string>{
                               "The reciprocal cell cannot be computed: check the cell angles",
                               "Too many calculated reflections. Decrease the theta range",
                               "Too many calculated reflections. Decrease the theta range"}));
}

// A cell parameter or a wavelength out of its domain is refused before any
// work, the list kept: a negative cell once made the index box negative and
// threw std::length_error.
TEST_F(Generation, CellOrWavelengthOutOfTheirDomainsRefusedListKept) {
    struct Cas {
        Maille maille;
        double lambda;
        const char* refus;
    };
    const Cas cas[] = {
        {{-5, -5, -5, 90, 90, 90}, 1.5406, "a must be positive"},
        {{5, 5, 5, 90, 999, 90}, 1.5406, "β must lie between 0 and 180 degrees"},
        {{5, 5, 5, 90, 90, 90}, -1.5406, "λ must lie between 0 and 10 Å"},
    };
    for (const Cas& c : cas) {
        espace("CUBI", "PM-3M", c.maille, 10, 60, c.lambda);
        liste_precedente();
        d.vide();
        EXPECT_FALSE(genere_raies(et, d));
        EXPECT_EQ(n(), 1);
        EXPECT_EQ(d.erreurs(), std::vector<std::string>{c.refus});
    }
}

TEST_F(Generation, RhombohedralSymbolOnBothAxes) {
    espace("RHOM", "R-3M", {5, 5, 5, 60, 60, 60}, 10, 40);
    ASSERT_TRUE(genere_raies(et, d));
    ASSERT_GT(n(), 0);
    // 1 0 0 allowed: d = a sqrt((1 - 3 cos2 + 2 cos3) / sin2) = 5 sqrt(2/3)
    EXPECT_NEAR(et.calculees[1].dhkl, 5 * std::sqrt(2.0 / 3.0), 1e-4);

    espace("HEXA", "R-3M", {3, 3, 10, 90, 90, 120}, 10, 60);
    ASSERT_TRUE(genere_raies(et, d));
    EXPECT_EQ(et.reseau, "R");
    for (const auto& r : et.calculees)
        EXPECT_EQ((-r.h + r.k + r.l) % 3, 0) << r.h << r.k << r.l;
}

// The 999 kept entries are the 999 largest distinct spacings, found here by
// brute force through gemmi's cell.
TEST_F(Generation, AThousandthSpacingStopsTheMerging) {
    const Maille m{9, 10, 11, 80, 95, 105};
    espace("TRIC", "NO EXT.", m, 10, 120);
    ASSERT_TRUE(genere_raies(et, d));
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Too many calculated reflections (>1000)"});
    ASSERT_EQ(n(), 999);

    // gemmi's cell, given the angles its degree-to-radian factor turns into
    // the program's radians (the program divides by 57.2957).
    const double f = 180 / std::numbers::pi / 57.2957;
    const gemmi::UnitCell cellule(m[0], m[1], m[2], m[3] * f, m[4] * f, m[5] * f);
    const double s_max = 2 * std::sin(120 / 114.5914) / 1.5406;
    const double s_min = 2 * std::sin(10 / 114.5914) / 1.5406;
    std::vector<double> ds;
    for (int h = -20; h <= 20; ++h)
        for (int k = -20; k <= 20; ++k)
            for (int l = 0; l <= 20; ++l) {
                const double q = cellule.calculate_1_d2({h, k, l});
                if (q >= s_min * s_min && q <= s_max * s_max) ds.push_back(1 / std::sqrt(q));
            }
    std::sort(ds.rbegin(), ds.rend());
    std::vector<double> groupes;
    for (std::size_t i = 0; i < ds.size();) {
        groupes.push_back(ds[i]);
        std::size_t j = i + 1;
        while (j < ds.size() && ds[i] - ds[j] <= 0.0001)
            ++j;
        i = j;
    }
    ASSERT_GE(groupes.size(), 1000u);
    for (int i : {1, 500, 999})
        EXPECT_NEAR(et.calculees[i].dhkl, groupes[static_cast<std::size_t>(i - 1)], 2e-5) << i;
}

// The exchange sort the generation had: the oracle of trie_candidats.
void trie_par_echange(std::vector<Candidat>& c) {
    for (std::size_t i = 0; i + 1 < c.size(); ++i)
        for (std::size_t j = i + 1; j < c.size(); ++j)
            if (c[i].d < c[j].d) std::swap(c[i], c[j]);
}

// Sorted by both, the lists are the same to the bit.
::testing::AssertionResult trie_comme_l_echange(std::vector<Candidat> c) {
    std::vector<Candidat> oracle = c;
    trie_par_echange(oracle);
    trie_candidats(c);
    for (std::size_t i = 0; i < c.size(); ++i) {
        const Candidat &a = c[i], &o = oracle[i];
        const bool meme_d = a.d == o.d || (std::isnan(a.d) && std::isnan(o.d));
        if (a.h != o.h || a.k != o.k || a.l != o.l || !meme_d)
            return ::testing::AssertionFailure()
                   << "place " << i << " of " << c.size() << ": " << a.h << " " << a.k << " " << a.l
                   << " d=" << a.d << ", the exchange sort has " << o.h << " " << o.k << " " << o.l
                   << " d=" << o.d;
    }
    return ::testing::AssertionSuccess();
}

// The order among equal spacings (that of the exchange sort, checked on random
// arrays below) decides which member names a merged group.
TEST(TrieCandidats, OrderAmongEqualSpacings) {
    std::vector<Candidat> c = {{1, 0, 0, 4.0},      {0, -1, 0, 4.0}, {0, 1, 0, 4.00005},
                               {-1, 0, 0, 3.99996}, {2, 0, 0, 2.0},  {0, 0, 1, 4.0}};
    trie_candidats(c);
    auto sortie = fusionne(c);
    ASSERT_EQ(sortie.taille(), 2);
    // Last non-negative member of the group, spacing of its first member.
    EXPECT_EQ(sortie[1].l, 1);
    EXPECT_FLOAT_EQ(sortie[1].dhkl, 4.00005f);
}

// Equality is measured from a group's first member; a group without a
// non-negative member keeps its first.
TEST(FusionneCandidats, EqualityFromTheFirstMemberAndNegativeGroups) {
    auto sortie = fusionne({{1, 0, 0, 4.0}, {0, 1, 0, 3.99992}, {0, 0, 1, 3.99984}});
    ASSERT_EQ(sortie.taille(), 2);
    EXPECT_EQ(sortie[1].k, 1);
    EXPECT_FLOAT_EQ(sortie[1].dhkl, 4.0f);
    sortie = fusionne({{-1, 0, 0, 4.0}, {0, -1, 0, 4.0}});
    ASSERT_EQ(sortie.taille(), 1);
    EXPECT_EQ(sortie[1].h, -1);
}

// Arrays of up to 120 candidates drawn from a few spacings, so that groups of
// ties interleave with larger spacings in every way; some hold NaN, infinity
// or both zeros.
TEST(TrieCandidats, RandomArraysWithManyTiesSortAsTheExchangeSort) {
    std::mt19937 hasard(14);
    auto tire = [&hasard](int a, int b) { return std::uniform_int_distribution<>(a, b)(hasard); };
    const double speciaux[] = {std::nan(""), INFINITY, 0.0, -0.0};
    for (int essai = 0; essai < 4000; ++essai) {
        std::vector<Candidat> c(static_cast<std::size_t>(tire(0, 120)));
        const int valeurs = tire(1, 8);
        for (std::size_t i = 0; i < c.size(); ++i) {
            c[i] = {static_cast<int>(i), 0, 0, 1.0 + tire(1, valeurs)};
            if (essai % 10 == 0 && tire(0, 20) == 0) c[i].d = speciaux[tire(0, 3)];
        }
        ASSERT_TRUE(trie_comme_l_echange(c)) << "draw " << essai;
    }
}
