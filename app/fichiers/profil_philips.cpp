// Philips RD binary profiles: a header of 250 bytes (810 for version "V5"),
// then one i16 per point whose tenth, squared, is the intensity.
#include "commun/octets.h"
#include "fichiers/lecteurs_profil.h"
#include "fichiers/lecture.h"

#include <cmath>

namespace kovrin {

ProfilLu lit_profil_philips(const std::filesystem::path& fichier) {
    return lecture_binaire<ProfilLu>(fichier, [&](std::string_view o) {
        if (lit_texte_brut(o, 2, 2) != "RD")
            throw RefusLecture("It seems not to be a .RD Philips file");
        std::size_t entete = lit_texte_brut(o, 0, 2) == "V5" ? 810 : 250;
        ProfilLu p;
        p.anode = anode_philips(lit_u8(o, 85));
        p.lambda1 = lit_f64(o, 94);
        p.lambda2 = lit_f64(o, 102);
        p.rapport = lit_f64(o, 110);
        p.lambda = lambda_moyenne(p.lambda1, p.lambda2, p.rapport);
        p.titre = lit_texte(o, 146, 20);
        double pas = lit_f64(o, 214);
        p.angle_debut = lit_f64(o, 222);
        p.angle_fin = lit_f64(o, 230);
        if (!std::isfinite(p.angle_debut) || !std::isfinite(p.angle_fin))
            refuse(fichier, "its angle range is not a finite number");
        double depart = p.angle_debut + (lit_u8(o, 120) != 0 ? 0.5 * pas : 0);
        std::size_t n = entete < o.size() ? (o.size() - entete) / 2 : 0;
        verifie_limite(fichier, n, limite_profil, "profile points");
        std::vector<double> brutes;
        for (std::size_t i = 0; i < n; ++i) {
            double v = 0.1 * lit_i16(o, entete + 2 * i);
            brutes.push_back(v * v);
        }
        termine_profil(p, brutes, depart, pas, {}, fichier);
        return p;
    });
}

} // namespace kovrin
