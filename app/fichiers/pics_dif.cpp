// DIFFRAC-AT peak files, layouts DIF1 and DIF2, told apart by their first 4 bytes.
#include "commun/octets.h"
#include "commun/texte.h"
#include "fichiers/lecteurs_pics.h"
#include "fichiers/lecture.h"

#include <algorithm>

namespace kovrin {

namespace {

struct Enregistrements {
    std::vector<double> angles, intensites;
};

Enregistrements lit_dif2(std::string_view o, PicsLus& p, const std::filesystem::path& fichier) {
    p.echantillon = lit_texte(o, 8, 32);
    p.anode = lit_texte(o, 188, 2);
    p.lambda1 = lit_f32(o, 190);
    p.lambda2 = lit_f32(o, 194);
    p.rapport = lit_f32(o, 198);
    std::size_t entete = static_cast<std::size_t>(std::max<int>(lit_i16(o, 256), 96));
    std::size_t n = static_cast<std::size_t>(std::max<int>(lit_i16(o, 262), 0));
    verifie_limite(fichier, n, limite_pics, "peaks");
    Enregistrements e;
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t position = 256 + entete + 16 * k;
        e.angles.push_back(lit_f32(o, position));
        e.intensites.push_back(lit_f32(o, position + 4));
    }
    return e;
}

// The wavelength at 616 is superseded by the one at 960.
Enregistrements lit_dif1(std::string_view o, PicsLus& p, const std::filesystem::path& fichier) {
    p.echantillon = lit_texte(o, 326, 60);
    p.anode = lit_texte(o, 608, 2);
    p.lambda1 = lit_f64(o, 624);
    p.lambda2 = lit_f64(o, 632);
    p.rapport = lit_f64(o, 648);
    p.lambda = lit_f64(o, 960);
    std::size_t n = static_cast<std::size_t>(std::max(lit_i32(o, 720), 0));
    verifie_limite(fichier, n, limite_pics, "peaks");
    std::size_t debut = 1016 + static_cast<std::size_t>(std::max(lit_i32(o, 968), 0));
    Enregistrements e;
    for (std::size_t k = 0; k < n; ++k) {
        e.angles.push_back(lit_f64(o, debut + 24 * k));
        e.intensites.push_back(lit_f32(o, debut + 24 * k + 8));
    }
    return e;
}

} // namespace

std::optional<PicsLus> lit_pics_dif(const std::filesystem::path& fichier, Dialogues& d) {
    return lecture_binaire<PicsLus>(fichier, d, [&](std::string_view o) {
        std::string magique = sans_blancs_droite(lit_texte_brut(o, 0, 4));
        PicsLus p;
        p.porte_longueurs_onde = true;
        Enregistrements e;
        if (magique == "DIF2")
            e = lit_dif2(o, p, fichier);
        else if (magique == "DIF1")
            e = lit_dif1(o, p, fichier);
        else
            throw RefusLecture("Unknown file type!");
        termine_pics(p, e.angles, e.intensites, true, 0, fichier, d);
        return p;
    });
}

} // namespace kovrin
