#pragma once
// Builds binary fixtures byte by byte from a layout's offset table.
#include "commun/dialogues.h"
#include "dossier_temporaire.h"
#include "fichiers/donnees_lues.h"
#include "fichiers/lecture_montree.h"

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kovrin::test {

// A zero-filled buffer that grows on demand; fields are written little-endian
// by hand here, independently of the program's own writers.
class Fabrique {
  public:
    explicit Fabrique(std::size_t taille = 0, char remplissage = '\0')
        : octets(taille, remplissage) {}

    Fabrique& entier(std::size_t position, std::uint64_t valeur, std::size_t largeur) {
        assure(position + largeur);
        for (std::size_t i = 0; i < largeur; ++i)
            octets[position + i] = static_cast<char>((valeur >> (8 * i)) & 0xFF);
        return *this;
    }
    Fabrique& i16(std::size_t p, int v) { return entier(p, static_cast<std::uint16_t>(v), 2); }
    Fabrique& i32(std::size_t p, long v) { return entier(p, static_cast<std::uint32_t>(v), 4); }
    Fabrique& u8(std::size_t p, int v) { return entier(p, static_cast<std::uint8_t>(v), 1); }
    Fabrique& f32(std::size_t p, float v) { return entier(p, std::bit_cast<std::uint32_t>(v), 4); }
    Fabrique& f64(std::size_t p, double v) { return entier(p, std::bit_cast<std::uint64_t>(v), 8); }
    Fabrique& texte(std::size_t p, const std::string& t) {
        assure(p + t.size());
        octets.replace(p, t.size(), t);
        return *this;
    }
    std::string octets;

  private:
    void assure(std::size_t taille) {
        if (octets.size() < taille) octets.resize(taille, '\0');
    }
};

// Point i's count as the file held it, from its intensity scaled 0 ... 100.
inline double brute(const ProfilLu& p, std::size_t i) {
    return p.points[i].intensite * (p.intensite_max_brute - p.intensite_min_brute) / 100 +
           p.intensite_min_brute;
}

// The same text with LF line ends.
inline std::string sans_cr(std::string t) {
    std::erase(t, '\r');
    return t;
}

// A test in a temporary current folder, with the dialogues it shows.
struct DansDossier : ::testing::Test {
    DossierTemporaire dossier;
    DialoguesEnregistres d;
    // Writes `octets` to `nom` and reads the file back with `lecteur`.
    template <class Lecteur>
    auto lit(Lecteur lecteur, const std::string& nom, const std::string& octets) {
        ecrit_fichier(nom, octets);
        return lit_fichier(lecteur, nom);
    }
    // Reads a file with `lecteur` as the commands do: nothing after the
    // refusal, shown through `d`.
    template <class Lecteur, class... Arguments>
    auto lit_fichier(Lecteur lecteur, const Arguments&... arguments) {
        return lit_en_montrant(d, [&] { return lecteur(arguments...); });
    }
    // The same for a file `lecteur` must refuse; the errors shown.
    template <class Lecteur>
    std::vector<std::string> refus(Lecteur lecteur, const std::string& nom,
                                   const std::string& octets) {
        d.vide();
        EXPECT_FALSE(lit(lecteur, nom, octets)) << nom;
        return d.erreurs();
    }
};

using Textes = std::vector<std::string>;

} // namespace kovrin::test
