// Peak files written: DIFFRAC-AT DIF2 and a column of angles.
#include "commun/fichier_texte.h"
#include "commun/format.h"
#include "commun/octets.h"
#include "fichiers/diffrac_at.h"
#include "fichiers/ecrivains.h"

namespace kovrin {

void ecrit_pics_dif(const PicsAEcrire& pics, const std::filesystem::path& fichier) {
    constexpr std::size_t entete = 352;
    std::string o(entete + 16 * static_cast<std::size_t>(pics.mesures.taille()), ' ');
    using namespace diffrac;
    champ_texte(o, magique, "DIF2", 4);
    ecrit_i16(o, 4, 1);
    // The file's doublet is the working wavelength twice, ratio 1.
    ecrit_f32(o, v2::lambda1, static_cast<float>(pics.lambda));
    ecrit_f32(o, v2::lambda2, static_cast<float>(pics.lambda));
    ecrit_f32(o, v2::rapport, 1.0f);
    ecrit_i16(o, v2::plage + v2::longueur, 96);
    ecrit_i16(o, v2::plage + v2::pics, static_cast<std::int16_t>(pics.mesures.taille()));
    ecrit_f32(o, 274, 0.0f);
    ecrit_f32(o, 278, static_cast<float>(pics.angle_min));
    for (int i = 1; i <= pics.mesures.taille(); ++i) {
        std::size_t position = entete + 16 * static_cast<std::size_t>(i - 1);
        ecrit_f32(o, position, static_cast<float>(pics.mesures[i].deux_theta_mes));
        ecrit_f32(o, position + 4, static_cast<float>(pics.mesures[i].intensite_mes));
    }
    EcrivainTexte f(fichier);
    f.texte(o);
    f.ferme();
}

void ecrit_pics_colonne(const ListeBornee<Mesure, 500>& mesures,
                        const std::filesystem::path& fichier) {
    EcrivainTexte f(fichier);
    for (const Mesure& m : mesures)
        f.ligne(pascal_reel(m.deux_theta_mes, 8, 3));
    f.ferme();
}

} // namespace kovrin
