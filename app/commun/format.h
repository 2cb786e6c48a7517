#pragma once
// Fixed-width number texts, written once for the whole program.
//  - Fortran edit descriptors (the engine listing): Fw.d, Iw, Aw, nX. A field too
//    narrow for the value is filled with asterisks; in Fw.d the 0 before the
//    decimal point is dropped when it is the only thing that does not fit.
//  - Pascal-style x:w:d and i:w (the program's grids, reports and files): the
//    value right-aligned in at least w characters; the field grows when the
//    value needs more room, it is never cut.
#include <string>
#include <string_view>

namespace kovrin {

std::string fortran_f(double valeur, int largeur, int decimales);
std::string fortran_i(long long valeur, int largeur);
std::string fortran_a(std::string_view texte, int largeur);
std::string fortran_x(int n);

std::string pascal_reel(double valeur, int largeur, int decimales);
std::string pascal_entier(long long valeur, int largeur);

} // namespace kovrin
