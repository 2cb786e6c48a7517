// Space-group symbols as users write them: for groups of every crystal system,
// several spellings of each find the entry of the H-M list whose operators,
// once loaded, are gemmi's for the group, and the entry of the Orsab list that
// is the same setting; full symbols; symbols that name no entry.
#include "commun/texte.h"
#include "cristallo/groupes.h"
#include "cristallo/symboles.h"
#include "donnees_groupes.h"

#include <gemmi/symmetry.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kovrin;

namespace {

struct Groupe {
    const char* systeme;
    const char* xhm;       // gemmi's name of the setting, suffix included
    const char* entree_hm; // the H-M list's entry of the group
};

// Groups of every system: screw axes, glides, centrings, origin choices and
// rhombohedral axes.
const Groupe groupes[] = {
    {"TRIC", "P -1", "P-1"},           {"MONO", "P 1 c 1", "Pc"},
    {"MONO", "P 1 21/c 1", "P21/c"},   {"MONO", "C 1 2/c 1", "C2/c"},
    {"ORTH", "P 21 21 21", "P212121"}, {"ORTH", "P n m a", "Pnma"},
    {"ORTH", "F d d d:2", "Fddd"},     {"TETR", "I 41/a:2", "I41/a"},
    {"TETR", "P 41 21 2", "P41212"},   {"TETR", "I 41/a m d:2", "I41/amd"},
    {"HEXA", "R 3:H", "R3"},           {"HEXA", "P 32 2 1", "P3221"},
    {"HEXA", "R -3 m:H", "R-3m"},      {"HEXA", "P 63/m m c", "P63/mmc"},
    {"RHOM", "R -3:R", "R-3"},         {"RHOM", "R -3 c:R", "R-3c"},
    {"CUBI", "F d -3:2", "Fd-3"},      {"CUBI", "I -4 3 d", "I-43d"},
    {"CUBI", "F d -3 m:2", "Fd-3m"},   {"CUBI", "I a -3 d", "Ia-3d"},
};

// Screw axes written with their subscript: "P 1 21/c 1" -> "P 1 2_1/c 1" or "P 1 2₁/c 1".
std::string indices(const std::string& x, bool unicode) {
    std::string r;
    for (std::size_t i = 0; i < x.size(); ++i) {
        r += x[i];
        const bool vis = i > 0 && x[i - 1] == ' ' && i + 1 < x.size() &&
                         std::string_view("2346").find(x[i]) != std::string_view::npos &&
                         x[i + 1] >= '1' && x[i + 1] <= '5';
        if (!vis) continue;
        r += unicode ? std::string("\xE2\x82") + static_cast<char>(0x80 + x[i + 1] - '0')
                     : std::string("_") + x[i + 1];
        ++i;
    }
    return r;
}

// The ways a user writes a setting: as gemmi's table does, without blanks, in
// lower case, with subscripts, as the short symbol without the 1s of monoclinic
// groups and without suffix (the system tells the axes, origin choice 2 comes
// first), and as the H-M list writes the group.
std::vector<std::string> ecritures(const gemmi::SpaceGroup& sg, const Groupe& g) {
    const std::string x = sg.xhm();
    std::string sans_blancs = x, bas = x, court = sg.short_name();
    std::erase(sans_blancs, ' ');
    std::transform(bas.begin(), bas.end(), bas.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    court[0] = x[0]; // gemmi writes H for R groups on hexagonal axes
    return {x, sans_blancs, bas, indices(x, false), indices(x, true), court, g.entree_hm};
}

struct Symboles : test::AvecDonnees {
    void listes(const std::string& systeme) {
        et.systeme = systeme;
        remplit_liste_orsab(et);
        remplit_liste_hm(et);
    }
    // Entry i of the H-M list; the H-M symbol of Orsab entry i ("" for none).
    const std::string& entree_hm(int i) {
        return et.liste_hm.entrees.at(static_cast<std::size_t>(i));
    }
    std::string xhm_orsab(int i) {
        return i < 0 ? ""
                     : symbole_hm_orsab(et.liste_orsab.entrees.at(static_cast<std::size_t>(i)));
    }
};

// The operators loaded for an entry, as gemmi writes them, sorted.
std::vector<gemmi::Op> operations(const EspaceTravail& et) {
    std::vector<gemmi::Op> r;
    for (const Operateur& o : et.operateurs) {
        gemmi::Op op{};
        for (std::size_t i = 0; i < 3; ++i) {
            for (std::size_t j = 0; j < 3; ++j)
                op.rot[i][j] = static_cast<int>(std::lround(24 * o[4 * i + j]));
            op.tran[i] = static_cast<int>(std::lround(24 * o[4 * i + 3]));
        }
        r.push_back(op.wrap());
    }
    std::sort(r.begin(), r.end());
    return r;
}

} // namespace

TEST_F(Symboles, EverySpellingFindsTheEntryOfTheSameGroupAndSetting) {
    for (const Groupe& g : groupes) {
        listes(g.systeme);
        const gemmi::SpaceGroup& sg = gemmi::get_spacegroup_by_name(g.xhm);
        for (const std::string& ecrit : ecritures(sg, g)) {
            SCOPED_TRACE(std::string(g.systeme) + " \"" + ecrit + "\"");
            const int hm = entree_hm_du_symbole(et, ecrit);
            ASSERT_GE(hm, 0);
            EXPECT_EQ(entree_hm(hm), g.entree_hm);
            et.groupe = majuscules(entree_hm(hm));
            charge_operateurs_hm(et, d);
            EXPECT_EQ(operations(et), sg.operations().all_ops_sorted());
            EXPECT_EQ(xhm_orsab(entree_orsab_du_symbole(et, ecrit)), g.xhm);
        }
    }
    EXPECT_TRUE(d.journal.empty());
}

// Full symbols: each axis with its plane; a number; origin choice 1 asked for.
TEST_F(Symboles, FullSymbolsNumbersAndExplicitSettings) {
    struct Cas {
        const char *systeme, *ecrit, *entree_hm, *xhm_orsab;
    };
    const Cas cas[] = {
        {"CUBI", "F 41/d -3 2/m", "Fd-3m", "F d -3 m:2"},
        {"CUBI", "227", "Fd-3m", "F d -3 m:2"},
        {"ORTH", "P 21/b 21/c 21/a", "Pbca", "P b c a"},
        {"TETR", "I 41/a 2/m 2/d", "I41/amd", "I 41/a m d:2"},
        {"HEXA", "R -3 2/m", "R-3m", "R -3 m:H"},
        {"HEXA", "P 2\u2081 2\u2081 2\u2081", "", ""},
        {"CUBI", "F d 3\u0305 m", "Fd-3m", "F d -3 m:2"},
        {"CUBI", "F d \u22123 m:1", "", "F d -3 m:1"},
        {"RHOM", "R -3 m:H", "", ""},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::string(c.systeme) + " \"" + c.ecrit + "\"");
        listes(c.systeme);
        const int hm = entree_hm_du_symbole(et, c.ecrit);
        EXPECT_EQ(hm < 0 ? "" : entree_hm(hm), c.entree_hm);
        EXPECT_EQ(xhm_orsab(entree_orsab_du_symbole(et, c.ecrit)), c.xhm_orsab);
    }
}
