#pragma once
// Byte offsets of the DIFFRAC-AT binary headers, for the readers and writers of
// the RAW and DIF files and the tests that build such files byte by byte. Each
// file has a file header, then for each measured range a range header (its own
// length first) followed by the range's records.
#include "commun/octets.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kovrin::diffrac {

inline constexpr std::size_t magique = 0; // 4 characters: "RAW1", "RAW2", "DIF1", "DIF2"...

// Version 2 (RAW2, DIF2): reals f32, counts i16; the first range header at 256.
namespace v2 {
inline constexpr std::size_t identifiant = 8; // 32 characters (title, sample)
inline constexpr std::size_t anode = 188;     // 2 characters
inline constexpr std::size_t lambda1 = 190, lambda2 = 194, rapport = 198;
inline constexpr std::size_t plage = 256;
// Within a range header.
inline constexpr std::size_t longueur = 0, points = 2, pics = 6, demi_pas = 8, pas = 12,
                             depart = 16;
} // namespace v2

// Version 1 (RAW1, DIF1): reals f64, counts i32; range headers of 304 bytes,
// the first at 712.
namespace v1 {
inline constexpr std::size_t identifiant = 326; // 32 characters (60 in DIF1)
inline constexpr std::size_t anode = 608;       // 2 characters
inline constexpr std::size_t lambda = 616, lambda1 = 624, lambda2 = 632, rapport = 648;
inline constexpr std::size_t plage = 712;
inline constexpr std::int32_t longueur_plage = 304;
// Within a range header; `supplement` is the length of an extra block between
// the range header and its records.
inline constexpr std::size_t longueur = 0, points = 4, pics = 8, depart = 16, drapeau = 168,
                             pas = 176, lambda_plage = 248, supplement = 256;
} // namespace v1

// The first layout ("RAW "): one range, reals f32, the count an i32.
namespace v0 {
inline constexpr std::size_t points = 4, pas = 12, demi_pas = 16, depart = 24, titre = 40,
                             lambda1 = 72, lambda2 = 76, donnees = 156;
} // namespace v0

// The anode and the Kalpha doublet of a version 2 or version 1 file header,
// into a value read from the file (peaks or profile).
template <class Lu> void lit_doublet_v2(std::string_view o, Lu& lu) {
    lu.anode = lit_texte(o, v2::anode, 2);
    lu.lambda1 = lit_f32(o, v2::lambda1);
    lu.lambda2 = lit_f32(o, v2::lambda2);
    lu.rapport = lit_f32(o, v2::rapport);
}
template <class Lu> void lit_doublet_v1(std::string_view o, Lu& lu) {
    lu.anode = lit_texte(o, v1::anode, 2);
    lu.lambda1 = lit_f64(o, v1::lambda1);
    lu.lambda2 = lit_f64(o, v1::lambda2);
    lu.rapport = lit_f64(o, v1::rapport);
}

} // namespace kovrin::diffrac
