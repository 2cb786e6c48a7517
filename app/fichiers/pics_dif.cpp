// DIFFRAC-AT peak files, layouts DIF1 and DIF2, told apart by their first 4 bytes.
#include "commun/octets.h"
#include "commun/texte.h"
#include "fichiers/diffrac_at.h"
#include "fichiers/lecteurs_pics.h"
#include "fichiers/lecture.h"

#include <algorithm>

namespace kovrin {

namespace {

using namespace diffrac;

PicsBruts lit_dif2(std::string_view o, PicsLus& p, const std::filesystem::path& fichier) {
    constexpr std::size_t plage = v2::plage;
    p.echantillon = lit_texte(o, v2::identifiant, 32);
    lit_doublet_v2(o, p);
    std::size_t entete =
        static_cast<std::size_t>(std::max<int>(lit_i16(o, plage + v2::longueur), 96));
    std::size_t n = static_cast<std::size_t>(std::max<int>(lit_i16(o, plage + v2::pics), 0));
    verifie_limite(fichier, n, limite_pics, "peaks");
    PicsBruts e;
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t position = plage + entete + 16 * k;
        e.ajoute(lit_f32(o, position), lit_f32(o, position + 4));
    }
    return e;
}

// The file header's wavelength is superseded by the range header's.
PicsBruts lit_dif1(std::string_view o, PicsLus& p, const std::filesystem::path& fichier) {
    constexpr std::size_t plage = v1::plage;
    p.echantillon = lit_texte(o, v1::identifiant, 60);
    lit_doublet_v1(o, p);
    p.lambda = lit_f64(o, plage + v1::lambda_plage);
    std::size_t n = static_cast<std::size_t>(std::max(lit_i32(o, plage + v1::pics), 0));
    verifie_limite(fichier, n, limite_pics, "peaks");
    std::size_t debut = plage + v1::longueur_plage +
                        static_cast<std::size_t>(std::max(lit_i32(o, plage + v1::supplement), 0));
    PicsBruts e;
    for (std::size_t k = 0; k < n; ++k) {
        e.ajoute(lit_f64(o, debut + 24 * k), lit_f32(o, debut + 24 * k + 8));
    }
    return e;
}

} // namespace

PicsLus lit_pics_dif(const std::filesystem::path& fichier) {
    return lecture_binaire<PicsLus>(fichier, [&](std::string_view o) {
        std::string version = sans_blancs_droite(lit_texte_brut(o, magique, 4));
        PicsLus p;
        p.porte_longueurs_onde = true;
        PicsBruts e;
        if (version == "DIF2")
            e = lit_dif2(o, p, fichier);
        else if (version == "DIF1")
            e = lit_dif1(o, p, fichier);
        else
            throw RefusLecture("Unknown file type!");
        termine_pics(p, std::move(e), true, 0, fichier);
        return p;
    });
}

} // namespace kovrin
