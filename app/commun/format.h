#pragma once
// Fixed-width number texts, written once for the whole program.
//  - Fortran edit descriptors (the engine listing): Fw.d, Iw, Aw, nX. A field too
//    narrow for the value is filled with asterisks; in Fw.d the 0 before the
//    decimal point is dropped when it is the only thing that does not fit.
//  - Pascal-style x:w:d and i:w (the program's grids, reports and files): the
//    value right-aligned in at least w characters; the field grows when the
//    value needs more room, it is never cut.
// Decimals are those of the exact binary value rounded half to even, as the C
// library's "%.*f" writes them. The ajoute_ forms append to a text, so that a
// line can be built in one reused buffer without allocating per field.
#include <string>
#include <string_view>

namespace kovrin {

std::string fortran_f(double valeur, int largeur, int decimales);
std::string fortran_i(long long valeur, int largeur);
std::string fortran_a(std::string_view texte, int largeur);

std::string pascal_reel(double valeur, int largeur, int decimales);
std::string pascal_entier(long long valeur, int largeur);
// The shortest decimal text that reads back as `valeur` exactly (in its own precision).
std::string texte_court(double valeur);
std::string texte_court(float valeur);

void ajoute_fortran_f(std::string& texte, double valeur, int largeur, int decimales);
void ajoute_fortran_i(std::string& texte, long long valeur, int largeur);
void ajoute_pascal_reel(std::string& texte, double valeur, int largeur, int decimales);
void ajoute_pascal_entier(std::string& texte, long long valeur, int largeur);

} // namespace kovrin
