#pragma once
// liborsab.so: symmetry operators of a space group from its Hermann-Mauguin
// symbol. The caller passes the symbol as 16 character codes (one per
// character, blanks after the last); the library writes scfs.dat in the current
// directory: a title line, then one line per operator of one lattice point
// (centring translations left out) holding R11 R12 R13 T1 R21 R22 R23 T2 R31 R32
// R33 T3. An unknown symbol gives a file with the title line only.
#include <cstdint>

#if defined(ORSAB_CONSTRUCTION)
#define ORSAB_EXPORT __attribute__((visibility("default")))
#else
#define ORSAB_EXPORT
#endif

extern "C" {
ORSAB_EXPORT void orsab_operateurs(const std::int32_t codes[16]);
}
