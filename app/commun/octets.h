#pragma once
// Little-endian binary fields read from and written into a byte buffer at an
// offset, with bounds checks: the one way every binary file of the program is
// read and written (no struct casting). Text fields are fixed-width byte fields.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kovrin {

// True when `largeur` bytes starting at `position` lie inside the buffer.
bool dans_tampon(std::string_view octets, std::size_t position, std::size_t largeur);

// Readers: throw ErreurKovrin when the field runs past the end of the buffer.
std::uint8_t lit_u8(std::string_view octets, std::size_t position);
std::int16_t lit_i16(std::string_view octets, std::size_t position);
std::uint16_t lit_u16(std::string_view octets, std::size_t position);
std::int32_t lit_i32(std::string_view octets, std::size_t position);
float lit_f32(std::string_view octets, std::size_t position);
double lit_f64(std::string_view octets, std::size_t position);
// The field's bytes as they are.
std::string lit_texte_brut(std::string_view octets, std::size_t position, std::size_t largeur);
// The field's bytes up to its first NUL (a C string in a fixed field).
std::string lit_texte_c(std::string_view octets, std::size_t position, std::size_t largeur);
// The field trimmed of blanks and control characters (NUL included) at both ends.
std::string lit_texte(std::string_view octets, std::size_t position, std::size_t largeur);

// Writers into a buffer already sized to hold the field; throw ErreurKovrin
// otherwise.
void ecrit_i16(std::string& octets, std::size_t position, std::int16_t valeur);
void ecrit_i32(std::string& octets, std::size_t position, std::int32_t valeur);
void ecrit_f32(std::string& octets, std::size_t position, float valeur);
void ecrit_f64(std::string& octets, std::size_t position, double valeur);
// Fills the n-byte field with blanks and copies the first min(length, n)
// characters of the text into it.
void champ_texte(std::string& octets, std::size_t position, std::string_view texte, std::size_t n);

} // namespace kovrin
