// The fixed-width real fields against a plain snprintf reference, on random
// values drawn where formatting goes wrong: decimal halfway points in double
// and single precision, negative values that round to zero, the edge of the
// field, values that are not finite.
#include "commun/format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

using namespace kovrin;

namespace {

std::string printf_fixe(double valeur, int decimales) {
    char tampon[512];
    std::snprintf(tampon, sizeof tampon, "%.*f", decimales, valeur);
    std::string texte = tampon;
    // A negative value that rounds to zero loses its sign.
    if (texte[0] == '-' && texte.find_first_of("123456789") == std::string::npos) texte.erase(0, 1);
    return texte;
}

// texte: printf_fixe of the value.
std::string reference_fortran_f(double valeur, std::string texte, int largeur, int decimales) {
    const auto w = static_cast<std::size_t>(largeur);
    if (!std::isfinite(valeur)) return std::string(w, '*');
    if (decimales == 0) texte += '.';
    const std::size_t zero = texte[0] == '-' ? 1 : 0;
    if (texte.size() == w + 1 && texte.compare(zero, 2, "0.") == 0) texte.erase(zero, 1);
    if (texte.size() > w) return std::string(w, '*');
    return std::string(w - texte.size(), ' ') + texte;
}

std::string a_gauche(std::string texte, int largeur) {
    const auto w = static_cast<std::size_t>(largeur);
    return texte.size() < w ? std::string(w - texte.size(), ' ') + texte : texte;
}

std::string reference_pascal_reel(double valeur, const std::string& fixe, int largeur) {
    if (std::isnan(valeur)) return a_gauche("Nan", largeur);
    if (std::isinf(valeur)) return a_gauche(valeur > 0 ? "+Inf" : "-Inf", largeur);
    return a_gauche(fixe, largeur);
}

struct Tirage {
    std::mt19937_64 hasard{20240607};
    int largeur = 8, decimales = 4;

    double uniforme(double a, double b) { return std::uniform_real_distribution<>(a, b)(hasard); }
    long long entier(long long a, long long b) {
        return std::uniform_int_distribution<long long>(a, b)(hasard);
    }
    double signe() { return entier(0, 1) ? -1.0 : 1.0; }
    double puissance(int n) { return std::pow(10.0, n); }
    // The representable neighbours of v are as likely as v itself.
    template <class T> T voisin(T v) {
        const long long pas = entier(-2, 2);
        for (long long i = 0; i < std::llabs(pas); ++i)
            v = std::nextafter(v, pas > 0 ? INFINITY : -INFINITY);
        return v;
    }
};

struct Famille {
    const char* nom;
    double (*tire)(Tirage&);
    int tirages = 150000;
};

const Famille familles[] = {
    {"magnitudes from 1e-7 to 1e9",
     [](Tirage& t) { return t.signe() * std::pow(10.0, t.uniforme(-7, 9)); }},
    {"decimal halfway points and their neighbours",
     [](Tirage& t) {
         const double k = static_cast<double>(t.entier(0, 2000000));
         return t.signe() * t.voisin((k + 0.5) / t.puissance(t.decimales));
     }},
    {"decimal halfway points in single precision",
     [](Tirage& t) {
         const double k = static_cast<double>(t.entier(0, 2000000));
         const float v = t.voisin(static_cast<float>((k + 0.5) / t.puissance(t.decimales)));
         return t.signe() * static_cast<double>(v);
     }},
    {"negative values near zero, negative zero",
     [](Tirage& t) {
         if (t.entier(0, 9) == 0) return -0.0;
         return -t.uniforme(0, 10) / t.puissance(t.decimales + 1);
     }},
    {"the edge of the field and the droppable zero",
     [](Tirage& t) {
         const int entiers = t.largeur - t.decimales - 1; // digits left of the point
         const double bord = entiers > 0 ? t.puissance(entiers) : t.uniforme(0, 1);
         return t.signe() * t.voisin(bord - 0.5 / t.puissance(t.decimales));
     }},
    {"not finite",
     [](Tirage& t) {
         const double v[] = {NAN, INFINITY, -INFINITY, DBL_MAX, -DBL_MAX, DBL_MIN, -DBL_MIN};
         return v[t.entier(0, 6)];
     },
     20000},
};

TEST(FormatAleatoire, RealFieldsMatchTheSnprintfReference) {
    Tirage t;
    for (const Famille& famille : familles) {
        int ecarts = 0;
        for (int n = 0; n < famille.tirages; ++n) {
            t.largeur = static_cast<int>(t.entier(1, 12));
            t.decimales = static_cast<int>(t.entier(0, 8));
            const double v = famille.tire(t);
            const std::string f = fortran_f(v, t.largeur, t.decimales);
            const std::string p = pascal_reel(v, t.largeur, t.decimales);
            const std::string fixe = printf_fixe(v, t.decimales);
            if (f == reference_fortran_f(v, fixe, t.largeur, t.decimales) &&
                p == reference_pascal_reel(v, fixe, t.largeur))
                continue;
            if (++ecarts <= 5)
                ADD_FAILURE() << famille.nom << ": " << std::hexfloat << v << " w=" << t.largeur
                              << " d=" << t.decimales << " gives \"" << f << "\" / \"" << p << "\"";
        }
        EXPECT_EQ(ecarts, 0) << famille.nom;
    }
}

} // namespace
