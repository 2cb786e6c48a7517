// Stand-in of the outside symmetry library, on gemmi's space-group table.
#define ORSAB_CONSTRUCTION
#include "orsab.h"

#include <gemmi/symmetry.hpp>

#include <cctype>
#include <cstdio>
#include <string>

namespace {

std::string symbole_des_codes(const std::int32_t codes[16]) {
    std::string s;
    for (int i = 0; i < 16; ++i)
        s += static_cast<char>(codes[i] >= 0 && codes[i] < 256 ? codes[i] : ' ');
    const auto debut = s.find_first_not_of(' ');
    if (debut == std::string::npos) return {};
    s = s.substr(debut, s.find_last_not_of(' ') - debut + 1);
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The setting whose extended Hermann-Mauguin symbol ("P 1 21/c 1", "R -3 m:H",
// "F d -3 m:2"), upper-cased, is the given text; these are the symbols of spgr2.dat.
const gemmi::SpaceGroup* groupe_du_symbole(const std::string& symbole) {
    for (const gemmi::SpaceGroup& sg : gemmi::spacegroup_tables::main) {
        std::string x = sg.xhm();
        for (char& c : x)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (x == symbole) return &sg;
    }
    return nullptr;
}

void ecrit_operateur(std::FILE* f, const gemmi::Op& op) {
    for (int i = 0; i < 3; ++i)
        std::fprintf(f, "%3d%3d%3d %12.9f", op.rot[i][0] / gemmi::Op::DEN,
                     op.rot[i][1] / gemmi::Op::DEN, op.rot[i][2] / gemmi::Op::DEN,
                     static_cast<double>(op.tran[i]) / gemmi::Op::DEN);
    std::fputs("\r\n", f);
}

} // namespace

extern "C" void orsab_operateurs(const std::int32_t codes[16]) {
    const std::string symbole = symbole_des_codes(codes);
    std::FILE* f = std::fopen("scfs.dat", "wb");
    if (!f) return;
    std::fprintf(f, "Symmetry operators of %s\r\n", symbole.c_str());
    if (const gemmi::SpaceGroup* sg = groupe_du_symbole(symbole))
        for (const gemmi::Op& op : sg->operations().sym_ops)
            ecrit_operateur(f, op);
    std::fclose(f);
}
