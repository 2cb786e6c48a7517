#include "commun/octets.h"

#include "commun/erreur.h"
#include "commun/texte.h"

#include <algorithm>
#include <bit>

namespace kovrin {

namespace {

void verifie(std::string_view octets, std::size_t position, std::size_t largeur) {
    if (!dans_tampon(octets, position, largeur))
        throw ErreurKovrin("unexpected end of data: " + std::to_string(largeur) +
                           " bytes at offset " + std::to_string(position) + " of " +
                           std::to_string(octets.size()));
}

template <typename T> T lit_petit_boutiste(std::string_view octets, std::size_t position) {
    verifie(octets, position, sizeof(T));
    T valeur = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        valeur = static_cast<T>((valeur << 8) | static_cast<unsigned char>(octets[position + i]));
    return valeur;
}

template <typename T>
void ecrit_petit_boutiste(std::string& octets, std::size_t position, T valeur) {
    verifie(octets, position, sizeof(T));
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        octets[position + i] = static_cast<char>(valeur & 0xFF);
        valeur = static_cast<T>(valeur >> 8);
    }
}

} // namespace

bool dans_tampon(std::string_view octets, std::size_t position, std::size_t largeur) {
    return position <= octets.size() && largeur <= octets.size() - position;
}

std::uint8_t lit_u8(std::string_view octets, std::size_t position) {
    return lit_petit_boutiste<std::uint8_t>(octets, position);
}

std::int16_t lit_i16(std::string_view octets, std::size_t position) {
    return static_cast<std::int16_t>(lit_petit_boutiste<std::uint16_t>(octets, position));
}

std::uint16_t lit_u16(std::string_view octets, std::size_t position) {
    return lit_petit_boutiste<std::uint16_t>(octets, position);
}

std::int32_t lit_i32(std::string_view octets, std::size_t position) {
    return static_cast<std::int32_t>(lit_petit_boutiste<std::uint32_t>(octets, position));
}

float lit_f32(std::string_view octets, std::size_t position) {
    return std::bit_cast<float>(lit_petit_boutiste<std::uint32_t>(octets, position));
}

double lit_f64(std::string_view octets, std::size_t position) {
    return std::bit_cast<double>(lit_petit_boutiste<std::uint64_t>(octets, position));
}

std::string lit_texte_brut(std::string_view octets, std::size_t position, std::size_t largeur) {
    verifie(octets, position, largeur);
    return std::string(octets.substr(position, largeur));
}

std::string lit_texte_c(std::string_view octets, std::size_t position, std::size_t largeur) {
    std::string texte = lit_texte_brut(octets, position, largeur);
    return texte.substr(0, texte.find('\0'));
}

std::string lit_texte(std::string_view octets, std::size_t position, std::size_t largeur) {
    return sans_blancs(lit_texte_brut(octets, position, largeur));
}

void ecrit_i16(std::string& octets, std::size_t position, std::int16_t valeur) {
    ecrit_petit_boutiste(octets, position, static_cast<std::uint16_t>(valeur));
}

void ecrit_i32(std::string& octets, std::size_t position, std::int32_t valeur) {
    ecrit_petit_boutiste(octets, position, static_cast<std::uint32_t>(valeur));
}

void ecrit_f32(std::string& octets, std::size_t position, float valeur) {
    ecrit_petit_boutiste(octets, position, std::bit_cast<std::uint32_t>(valeur));
}

void ecrit_f64(std::string& octets, std::size_t position, double valeur) {
    ecrit_petit_boutiste(octets, position, std::bit_cast<std::uint64_t>(valeur));
}

void champ_texte(std::string& octets, std::size_t position, std::string_view texte, std::size_t n) {
    verifie(octets, position, n);
    std::string champ = ajuste(texte, n);
    std::copy(champ.begin(), champ.end(), octets.begin() + static_cast<std::ptrdiff_t>(position));
}

} // namespace kovrin
