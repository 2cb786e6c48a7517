#include "cristallo/symboles.h"

#include "commun/erreur.h"
#include "commun/texte.h"
#include "cristallo/groupes.h"
#include "cristallo/systemes.h"

#include <gemmi/symmetry.hpp>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <sstream>

namespace kovrin {

namespace {

using Operations = std::vector<gemmi::Op>;

struct Remplacement {
    std::string_view ecrit, lu;
};
// Subscripts and typographic signs of symbols copied from papers and web pages.
constexpr Remplacement remplacements[] = {
    {"\u2080", "0"}, {"\u2081", "1"}, {"\u2082", "2"}, {"\u2083", "3"}, {"\u2084", "4"},
    {"\u2085", "5"}, {"\u2086", "6"}, {"\u2212", "-"}, {"_", ""},       {"{", ""},
    {"}", ""},       {"(", ""},       {")", ""}};
// Combining overline or macron written after a digit: the digit's bar.
constexpr std::string_view barres[] = {"\u0305", "\u0304"};

std::string remplace_tout(std::string s, std::string_view ecrit, std::string_view lu) {
    for (auto p = s.find(ecrit); p != std::string::npos; p = s.find(ecrit, p + lu.size()))
        s.replace(p, ecrit.size(), lu);
    return s;
}

// "P2₁/c", "P2_1/c", "P2_{1}/c", "Pm3̄m" as gemmi's table writes them.
std::string ecriture_simple(std::string_view symbole) {
    std::string s = sans_blancs(symbole);
    for (const auto& r : remplacements)
        s = remplace_tout(s, r.ecrit, r.lu);
    for (std::string_view barre : barres)
        for (auto p = s.find(barre); p != std::string::npos && p > 0; p = s.find(barre, p)) {
            s.erase(p, barre.size());
            s.insert(p - 1, 1, '-');
        }
    return s;
}

// "P 4/m -3 2/m" -> "P m -3 m", "P 21/b 21/c 21/a" -> "P b c a": in a full
// symbol each axis gives way to its plane, except the main axis of the
// tetragonal and hexagonal groups. Monoclinic full symbols (two 1s) are
// gemmi's own and are left alone.
std::string symbole_court(const std::string& s) {
    std::istringstream flux(s);
    std::vector<std::string> mots;
    for (std::string m; flux >> m;)
        mots.push_back(m);
    if (mots.size() < 3 || std::count(mots.begin(), mots.end(), "1") >= 2) return s;
    const bool cubique = mots.size() == 4 && (mots[2] == "3" || mots[2] == "-3");
    std::string court = mots[0];
    for (std::size_t i = 1; i < mots.size(); ++i) {
        const auto barre = mots[i].find('/');
        const bool axe_principal = i == 1 && !cubique && (mots[i][0] == '4' || mots[i][0] == '6');
        court += " " + (barre == std::string::npos || axe_principal ? mots[i]
                                                                    : mots[i].substr(barre + 1));
    }
    return court;
}

const gemmi::SpaceGroup* cherche(const std::string& symbole, bool rhomboedrique) {
    // gemmi tells the settings of an R group apart by the ratio of gamma to alpha.
    return gemmi::find_spacegroup_by_name(symbole, rhomboedrique ? 60 : 90,
                                          rhomboedrique ? 60 : 120);
}

// The origin choice 2 of a group whose choice 1 gemmi gave, or nullptr: gemmi's
// table lists the two choices one after the other.
const gemmi::SpaceGroup* origine_2(const gemmi::SpaceGroup* sg) {
    const auto* fin = std::end(gemmi::spacegroup_tables::main);
    if (!sg || sg->ext != '1' || sg + 1 == fin || sg[1].number != sg->number) return nullptr;
    return sg + 1;
}

// The settings a symbol may name: without an origin suffix, choice 2 first.
std::vector<const gemmi::SpaceGroup*> reglages(std::string_view symbole,
                                               const std::string& systeme) {
    const std::string simple = ecriture_simple(symbole);
    for (const std::string& essai : {simple, symbole_court(simple)})
        if (const auto* sg = cherche(essai, est(systeme, Systeme::rhomboedrique))) {
            const bool sans_origine = essai.find(':') == std::string::npos;
            if (const auto* autre = origine_2(sg); autre && sans_origine) return {autre, sg};
            return {sg};
        }
    return {};
}

// The operators as gemmi writes them (rows and translations in 24ths, translations
// brought into [0, 1)), sorted, so that two lists compare whatever their order.
Operations operations_de(const std::vector<Operateur>& operateurs) {
    Operations r;
    for (const Operateur& o : operateurs) {
        gemmi::Op op{};
        for (std::size_t i = 0; i < 3; ++i) {
            for (std::size_t j = 0; j < 3; ++j)
                op.rot[i][j] = static_cast<int>(std::lround(o[4 * i + j] * gemmi::Op::DEN));
            op.tran[i] = static_cast<int>(std::lround(o[4 * i + 3] * gemmi::Op::DEN));
        }
        r.push_back(op.wrap());
    }
    std::sort(r.begin(), r.end());
    r.erase(std::unique(r.begin(), r.end()), r.end());
    return r;
}

int indice_de(const ListeSymboles& liste, const std::string& symbole) {
    for (std::size_t i = 0; i < liste.entrees.size(); ++i)
        if (majuscules(sans_blancs(liste.entrees[i])) == symbole) return static_cast<int>(i);
    return -1;
}

int entree_hm_des_operations(const EspaceTravail& et, const Operations& cible) {
    for (const BlocPos& b : blocs_pos(et))
        if (b.symbole != "NO EXT." && operations_de(b.operateurs) == cible)
            if (const int i = indice_de(et.liste_hm, b.symbole); i >= 0) return i;
    return -1;
}

// The setting an Orsab entry loads: the one of gemmi's table whose symbol is
// the entry's H-M symbol, as liborsab finds it. Its operators come from the
// table's own Hall symbol: the entry's Hall text may be anything a data file
// holds, and gemmi's Hall parser does not survive every malformed one.
const gemmi::SpaceGroup* reglage_exact(const std::string& symbole) {
    for (const gemmi::SpaceGroup& sg : gemmi::spacegroup_tables::main)
        if (majuscules(sg.xhm()) == majuscules(symbole)) return &sg;
    return nullptr;
}

bool memes_operations(const gemmi::SpaceGroup* a, const gemmi::SpaceGroup& b) {
    return a == &b || (a && a->number == b.number &&
                       a->operations().all_ops_sorted() == b.operations().all_ops_sorted());
}

// The entry that writes the setting as gemmi does, else one whose setting has its operators.
int entree_orsab_du_reglage(const ListeSymboles& liste, const gemmi::SpaceGroup& sg) {
    const std::string xhm = majuscules(sg.xhm());
    for (std::size_t i = 0; i < liste.entrees.size(); ++i)
        if (majuscules(symbole_hm_orsab(liste.entrees[i])) == xhm) return static_cast<int>(i);
    for (std::size_t i = 0; i < liste.entrees.size(); ++i)
        if (memes_operations(reglage_exact(symbole_hm_orsab(liste.entrees[i])), sg))
            return static_cast<int>(i);
    return -1;
}

std::string forme_compacte(std::string_view symbole) {
    std::string s = majuscules(ecriture_simple(symbole));
    std::erase(s, ' ');
    return s;
}

std::size_t distance_edition(std::string_view a, std::string_view b) {
    std::vector<std::size_t> ligne(b.size() + 1);
    std::iota(ligne.begin(), ligne.end(), 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonale = ligne[0];
        ligne[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t dessus = ligne[j];
            ligne[j] = std::min({dessus + 1, ligne[j - 1] + 1, diagonale + (a[i - 1] != b[j - 1])});
            diagonale = dessus;
        }
    }
    return ligne[b.size()];
}

} // namespace

int entree_hm_du_symbole(const EspaceTravail& et, std::string_view symbole) {
    try {
        for (const gemmi::SpaceGroup* sg : reglages(symbole, et.systeme))
            if (const int i = entree_hm_des_operations(et, sg->operations().all_ops_sorted());
                i >= 0)
                return i;
    } catch (const ErreurKovrin&) {
        // a .pos file that cannot be read names no entry
    }
    return -1;
}

int entree_orsab_du_symbole(const EspaceTravail& et, std::string_view symbole) {
    for (const gemmi::SpaceGroup* sg : reglages(symbole, et.systeme))
        if (const int i = entree_orsab_du_reglage(et.liste_orsab, *sg); i >= 0) return i;
    return -1;
}

std::vector<std::string> entrees_proches(const ListeSymboles& liste, std::string_view symbole,
                                         bool hall, std::size_t n) {
    // No symbol is longer than this; a longer text would only cost time.
    const std::string cherche_compact = forme_compacte(symbole.substr(0, 40));
    std::vector<std::pair<std::size_t, std::string>> proches; // distance, symbol, in list order
    for (const std::string& e : liste.entrees) {
        std::string s = hall ? symbole_hm_orsab(e) : sans_blancs(e);
        if (std::none_of(proches.begin(), proches.end(),
                         [&](const auto& p) { return p.second == s; }))
            proches.emplace_back(distance_edition(forme_compacte(s), cherche_compact),
                                 std::move(s));
    }
    std::stable_sort(proches.begin(), proches.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<std::string> r;
    for (std::size_t i = 0; i < proches.size() && i < n; ++i)
        r.push_back(proches[i].second);
    return r;
}

} // namespace kovrin
