#include "commun/erreur.h"
#include "commun/octets.h"
#include "fabrique.h"

#include <gtest/gtest.h>

using namespace kovrin;

TEST(Octets, ReadsLittleEndianFieldsAtTheirOffsets) {
    std::string o("\x01\x80\xFE\xFF\x00\x00\x80\x3F", 8);
    EXPECT_EQ(lit_u8(o, 1), 0x80);
    EXPECT_EQ(lit_i16(o, 0), -32767);
    EXPECT_EQ(lit_u16(o, 0), 0x8001);
    EXPECT_EQ(lit_i16(o, 2), -2);
    EXPECT_EQ(lit_i32(o, 0), static_cast<std::int32_t>(0xFFFE8001u));
    EXPECT_EQ(lit_f32(o, 4), 1.0f);
    test::Fabrique f;
    f.f64(3, -2.5);
    EXPECT_EQ(lit_f64(f.octets, 3), -2.5);
}

TEST(Octets, RefusesEveryFieldPastTheEnd) {
    std::string o(6, '\0');
    EXPECT_NO_THROW(lit_i16(o, 4));
    EXPECT_THROW(lit_i16(o, 5), ErreurKovrin);
    EXPECT_THROW(lit_i32(o, 3), ErreurKovrin);
    EXPECT_THROW(lit_f64(o, 0), ErreurKovrin);
    EXPECT_THROW(lit_u8(o, 6), ErreurKovrin);
    EXPECT_THROW(lit_f32(o, static_cast<std::size_t>(-2)), ErreurKovrin);
    EXPECT_THROW(lit_texte(o, 2, 5), ErreurKovrin);
    EXPECT_THROW(ecrit_i32(o, 4, 1), ErreurKovrin);
    EXPECT_THROW(champ_texte(o, 1, "abc", 6), ErreurKovrin);
}

TEST(Octets, TextFieldsReadAndWritten) {
    std::string o("  Cu\0\t x\0yz", 11);
    EXPECT_EQ(lit_texte(o, 0, 7), "Cu");
    EXPECT_EQ(lit_texte_brut(o, 0, 4), "  Cu");
    EXPECT_EQ(lit_texte_c(o, 0, 11), "  Cu");
    EXPECT_EQ(lit_texte_c(o, 7, 1), "x");
    // Written: filled with blanks, or cut.
    std::string e(10, '\0');
    champ_texte(e, 1, "ab", 4);
    EXPECT_EQ(e, std::string("\0ab  \0\0\0\0\0", 10));
    champ_texte(e, 0, "from KOVRIN", 5);
    EXPECT_EQ(e.substr(0, 6), std::string("from \0", 6));
}

TEST(Octets, WritersMatchHandBuiltBytes) {
    std::string o(18, 'z');
    ecrit_i16(o, 0, -2);
    ecrit_i32(o, 2, 0x01020304);
    ecrit_f32(o, 6, 1.0f);
    ecrit_f64(o, 10, -2.5);
    test::Fabrique f(18, 'z');
    f.i16(0, -2).i32(2, 0x01020304).f32(6, 1.0f).f64(10, -2.5);
    EXPECT_EQ(o, f.octets);
}
