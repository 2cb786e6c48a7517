// Philips .di peak files: a 250-byte header, then 12-byte records to the end.
#include "commun/octets.h"
#include "fichiers/lecteurs_pics.h"
#include "fichiers/lecture.h"

namespace kovrin {

namespace {

// Date word: day in bits 0..4, month in bits 5..8, year (7 bits as stored) above.
std::string ligne_de_date(std::uint16_t mot) {
    return "Date: " + std::to_string(mot & 0x1F) + "/" + std::to_string((mot >> 5) & 0x0F) + "/" +
           std::to_string(mot >> 9) + "/";
}

} // namespace

PicsLus lit_pics_philips(const std::filesystem::path& fichier) {
    return lecture_binaire<PicsLus>(fichier, [&](std::string_view o) {
        PicsLus p;
        p.porte_longueurs_onde = true;
        p.anode = anode_philips(lit_u8(o, 85));
        p.lambda1 = lit_f64(o, 94);
        p.lambda2 = lit_f64(o, 102);
        p.rapport = lit_f64(o, 110);
        p.ligne_titre = ligne_de_date(lit_u16(o, 122));
        p.echantillon = lit_texte(o, 146, 20);
        constexpr std::size_t entete = 250;
        std::size_t n = o.size() > entete ? (o.size() - entete) / 12 : 0;
        verifie_limite(fichier, n, limite_pics, "peaks");
        PicsBruts bruts;
        for (std::size_t k = 0; k < n; ++k)
            bruts.ajoute(lit_i16(o, entete + 12 * k) * 0.005, lit_i16(o, entete + 12 * k + 4));
        termine_pics(p, std::move(bruts), true, 0, fichier);
        return p;
    });
}

} // namespace kovrin
