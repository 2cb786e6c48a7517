// Writes the space-group data files spgr2.dat and T.pos M.pos O.pos q.pos
// H.pos R.pos C.pos (CR LF line ends) from gemmi's space-group table.
// Usage: genere_groupes <output directory>   (see data/README.md)
#include "commun/fichier_texte.h"
#include "cristallo/systemes.h"

#include <gemmi/symmetry.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using gemmi::Op;
using gemmi::SpaceGroup;

using kovrin::FicheSysteme;
using kovrin::Systeme;

constexpr int nb_lignes_spgr2 = 637;

Systeme systeme_de(const SpaceGroup& sg) {
    switch (sg.crystal_system()) {
    case gemmi::CrystalSystem::Triclinic:
        return Systeme::triclinique;
    case gemmi::CrystalSystem::Monoclinic:
        return Systeme::monoclinique;
    case gemmi::CrystalSystem::Orthorhombic:
        return Systeme::orthorhombique;
    case gemmi::CrystalSystem::Tetragonal:
        return Systeme::tetragonal;
    case gemmi::CrystalSystem::Trigonal:
        return sg.ext == 'R' ? Systeme::rhomboedrique : Systeme::hexagonal;
    case gemmi::CrystalSystem::Hexagonal:
        return Systeme::hexagonal;
    case gemmi::CrystalSystem::Cubic:
        return Systeme::cubique;
    }
    return Systeme::triclinique;
}

std::vector<const SpaceGroup*> groupes_du_systeme(Systeme systeme) {
    std::vector<const SpaceGroup*> r;
    for (const SpaceGroup& sg : gemmi::spacegroup_tables::main)
        if (systeme_de(sg) == systeme) r.push_back(&sg);
    return r;
}

// Rank of a setting among those of its group: 0 for the standard setting (the
// first H-M symbol of the group in the table, every origin choice of it), then
// 1, 2... for each further symbol; the extra settings at the end of the table last.
std::map<const SpaceGroup*, int> rangs(const std::vector<const SpaceGroup*>& groupes) {
    std::map<const SpaceGroup*, int> rang;
    std::map<int, std::vector<std::string>> symboles; // per group number, in table order
    for (const SpaceGroup* sg : groupes) {
        auto& vus = symboles[sg->number];
        auto it = std::find(vus.begin(), vus.end(), std::string(sg->hm));
        if (it == vus.end()) it = vus.insert(vus.end(), sg->hm);
        const bool supplement = sg - gemmi::spacegroup_tables::main >= 530;
        rang[sg] = static_cast<int>(it - vus.begin()) + (supplement ? 1000 : 0);
    }
    return rang;
}

// The settings that fill a range of n lines: the standard ones first, then the
// others by rank so that every group keeps some; listed by group number.
std::vector<const SpaceGroup*> choisis(std::vector<const SpaceGroup*> groupes, std::size_t n) {
    if (groupes.size() > n) {
        auto rang = rangs(groupes);
        std::stable_sort(groupes.begin(), groupes.end(),
                         [&](auto* x, auto* y) { return rang[x] < rang[y]; });
        groupes.resize(n);
    }
    std::stable_sort(groupes.begin(), groupes.end(),
                     [](auto* x, auto* y) { return x->number < y->number; });
    return groupes;
}

std::string colonnes(std::string texte, std::size_t largeur) {
    if (texte.size() > largeur) throw std::runtime_error("symbol too long: " + texte);
    texte.resize(largeur, ' ');
    return texte;
}

// Columns 6-17 the H-M symbol, 27-46 the Hall symbol, 47-49 the group number.
std::string ligne_spgr2(const SpaceGroup& sg) {
    char numero[8];
    std::snprintf(numero, sizeof numero, "%3d", sg.number);
    return std::string(5, ' ') + colonnes(sg.xhm(), 12) + std::string(9, ' ') +
           colonnes(sg.hall, 20) + numero;
}

std::vector<std::string> spgr2() {
    std::vector<std::string> lignes(nb_lignes_spgr2);
    for (const FicheSysteme& s : kovrin::table_systemes) {
        const std::size_t place = static_cast<std::size_t>(s.derniere_ligne - s.premiere_ligne + 1);
        auto groupes = choisis(groupes_du_systeme(s.systeme), place);
        for (std::size_t i = 0; i < groupes.size(); ++i)
            lignes[static_cast<std::size_t>(s.premiere_ligne - 1) + i] = ligne_spgr2(*groupes[i]);
    }
    return lignes;
}

// "P 1 21/c 1" -> "P21/c", "F m -3 m" -> "Fm-3m", "R -3 m" -> "R-3m": the
// short symbol without blanks, as cell files and ICSD imports give it.
std::string nom_court(const SpaceGroup& sg) {
    std::string s = sg.hm;
    const std::size_t n = s.size();
    if (n > 6 && s[2] == '1' && s[n - 2] == ' ' && s[n - 1] == '1') s = s[0] + s.substr(4, n - 6);
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
    return s;
}

// The standard setting of each group: the first of the table, but the origin
// at a centre of symmetry (choice 2) where the group offers two origins.
std::vector<const SpaceGroup*> standards(Systeme systeme) {
    std::vector<const SpaceGroup*> r;
    for (const SpaceGroup* sg : groupes_du_systeme(systeme)) {
        if (sg - gemmi::spacegroup_tables::main >= 530) continue;
        if (!r.empty() && r.back()->number == sg->number) {
            if (sg->ext == '2' && std::string(sg->hm) == r.back()->hm) r.back() = sg;
            continue;
        }
        r.push_back(sg);
    }
    return r;
}

std::string forme(const Op& op, int i) {
    const int x = op.rot[i][0] / Op::DEN, y = op.rot[i][1] / Op::DEN, z = op.rot[i][2] / Op::DEN;
    struct F {
        int x, y, z;
        const char* texte;
    };
    static const F formes[] = {{1, 0, 0, "X"},    {0, 1, 0, "Y"},   {0, 0, 1, "Z"},
                               {-1, 0, 0, "-X"},  {0, -1, 0, "-Y"}, {0, 0, -1, "-Z"},
                               {1, -1, 0, "X-Y"}, {-1, 1, 0, "Y-X"}};
    for (const F& f : formes)
        if (f.x == x && f.y == y && f.z == z) return f.texte;
    throw std::runtime_error("rotation row with no .pos form: " + op.triplet());
}

std::string translation(int t) {
    switch (t) {
    case 0:
        return "";
    case 12:
        return "+1/2";
    case 8:
        return "+1/3";
    case 16:
        return "+2/3";
    case 6:
        return "+1/4";
    case 18:
        return "+3/4";
    case 4:
        return "+1/6";
    case 20:
        return "+5/6";
    }
    throw std::runtime_error("translation with no .pos text: " + std::to_string(t) + "/24");
}

std::string ligne_pos(const Op& op) {
    std::string r;
    for (int i = 0; i < 3; ++i)
        r += (i ? "," : "") + forme(op, i) + translation(op.tran[i]);
    return r;
}

// Image of an operator by the inversion at the origin, translations in [0, 1).
Op inverse_par_centre(const Op& op) {
    Op r{op.negated_rot(), {-op.tran[0], -op.tran[1], -op.tran[2]}};
    return r.wrap();
}

bool inversion_a_l_origine(const std::vector<Op>& ops) {
    const Op inv = inverse_par_centre(Op::identity());
    return std::any_of(ops.begin(), ops.end(), [&](const Op& o) { return o == inv; });
}

// One block: symbol, inversion flag, number of lines, the operators. Where the
// inversion at the origin belongs to the group only half the operators are
// listed (the others are their inverses) and the flag is 1.
void ajoute_bloc(std::vector<std::string>& lignes, const std::string& nom,
                 const std::vector<Op>& ops) {
    const bool centre = inversion_a_l_origine(ops);
    std::vector<Op> listes;
    for (const Op& op : ops) {
        if (centre) {
            const Op image = inverse_par_centre(op);
            if (std::find(listes.begin(), listes.end(), image) != listes.end()) continue;
        }
        listes.push_back(op);
    }
    lignes.push_back("");
    lignes.push_back(nom);
    lignes.push_back(centre ? "1" : "0");
    lignes.push_back(std::to_string(listes.size()));
    for (const Op& op : listes)
        lignes.push_back(ligne_pos(op));
}

std::vector<std::string> fichier_pos(Systeme systeme) {
    std::vector<std::string> lignes;
    ajoute_bloc(lignes, "No ext.", {Op::identity()});
    for (const SpaceGroup* sg : standards(systeme))
        ajoute_bloc(lignes, nom_court(*sg), sg->operations().sym_ops);
    return lignes;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: genere_groupes <output directory>\n");
        return 2;
    }
    try {
        const std::filesystem::path sortie = argv[1];
        std::filesystem::create_directories(sortie);
        kovrin::ecrit_lignes(sortie / "spgr2.dat", spgr2());
        for (const FicheSysteme& s : kovrin::table_systemes)
            kovrin::ecrit_lignes(sortie / s.fichier_pos, fichier_pos(s.systeme));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "genere_groupes: %s\n", e.what());
        return 1;
    }
    return 0;
}
