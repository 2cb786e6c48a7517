// DIFFRAC-AT raw profiles, three layouts told apart by their first 4 bytes.
#include "commun/octets.h"
#include "commun/texte.h"
#include "fichiers/diffrac_at.h"
#include "fichiers/lecteurs_profil.h"
#include "fichiers/lecture.h"

#include <algorithm>
#include <fstream>

namespace kovrin {

namespace {

using namespace diffrac;

// Intensities stored as f32 one after the other.
std::vector<double> intensites_f32(std::string_view octets, std::size_t debut, std::size_t n) {
    std::vector<double> brutes;
    brutes.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        brutes.push_back(lit_f32(octets, debut + 4 * i));
    return brutes;
}

// A file measured in several angle ranges stores after the points of a range
// the header of the next one, which begins with the header's length and the
// range's point count. Only the first range is read; the user is told.

// Number of RAW1 range headers that follow each other from `position`.
int plages_raw1_depuis(std::string_view o, std::size_t position) {
    int n = 0;
    while (dans_tampon(o, position, v1::longueur_plage) &&
           lit_i32(o, position + v1::longueur) == v1::longueur_plage) {
        ++n;
        position += static_cast<std::size_t>(v1::longueur_plage) +
                    static_cast<std::size_t>(std::max(lit_i32(o, position + v1::supplement), 0)) +
                    4 * static_cast<std::size_t>(std::max(lit_i32(o, position + v1::points), 0));
    }
    return n;
}

// RAW2: a range header of `longueur` bytes (the first range's, above 48 as no
// real header is shorter) followed by its points.
int plages_raw2_depuis(std::string_view o, std::size_t position, std::int16_t longueur) {
    int n = 0;
    while (longueur > 48 && dans_tampon(o, position, static_cast<std::size_t>(longueur)) &&
           lit_i16(o, position + v2::longueur) == longueur) {
        ++n;
        position +=
            static_cast<std::size_t>(longueur) +
            4 * static_cast<std::size_t>(std::max<int>(lit_i16(o, position + v2::points), 0));
    }
    return n;
}

void signale_plages(int autres, ProfilLu& p, const std::filesystem::path& fichier) {
    if (autres > 0) p.informations.push_back(message_plages(fichier, autres + 1, 1, p));
}

// Smallest and largest point angle, whatever the sign of the step.
void bornes_par_points(ProfilLu& p) {
    auto [bas, haut] = std::minmax_element(p.points.begin(), p.points.end(),
                                           [](auto a, auto b) { return a.angle < b.angle; });
    p.angle_debut = bas->angle;
    p.angle_fin = haut->angle;
}

ProfilLu lit_raw2(std::string_view o, const std::filesystem::path& fichier) {
    ProfilLu p;
    constexpr std::size_t plage = v2::plage;
    p.titre = lit_texte_c(o, v2::identifiant, 32) + " (RAW2)";
    lit_doublet_v2(o, p);
    p.lambda = lambda_moyenne(p.lambda1, p.lambda2, p.rapport);
    int entete = std::max<int>(lit_i16(o, plage + v2::longueur), 60);
    int n = std::max<int>(lit_i16(o, plage + v2::points), 0);
    double pas = lit_f32(o, plage + v2::pas);
    double depart = lit_f32(o, plage + v2::depart);
    if (lit_i16(o, plage + v2::demi_pas) % 2 != 0) depart += 0.5 * pas;
    const std::size_t debut = plage + static_cast<std::size_t>(entete);
    auto brutes = intensites_f32(o, debut, static_cast<std::size_t>(n));
    termine_profil(p, brutes, depart, pas, {}, fichier);
    bornes_par_points(p);
    signale_plages(plages_raw2_depuis(o, debut + 4 * brutes.size(), lit_i16(o, plage)), p, fichier);
    return p;
}

ProfilLu lit_raw(std::string_view o, const std::filesystem::path& fichier) {
    ProfilLu p;
    std::int32_t n = lit_i32(o, v0::points);
    verifie_limite(fichier, static_cast<std::size_t>(std::max(n, 0)), limite_profil,
                   "profile points");
    double pas = lit_f32(o, v0::pas);
    double depart = lit_f32(o, v0::depart);
    if (lit_i32(o, v0::demi_pas) == 2048) depart += 0.5 * pas;
    p.titre = lit_texte_c(o, v0::titre, 32) + " (RAW)";
    p.anode = "?";
    p.lambda1 = lit_f32(o, v0::lambda1);
    p.lambda2 = lit_f32(o, v0::lambda2);
    p.lambda = p.lambda2 > 0 ? (p.lambda1 + 0.5 * p.lambda2) * 2 / 3 : p.lambda1;
    auto brutes = intensites_f32(o, v0::donnees, static_cast<std::size_t>(std::max(n, 0)));
    termine_profil(p, brutes, depart, pas, {}, fichier);
    bornes_par_points(p);
    return p;
}

// The point count of the header is only trusted where a further range header
// follows the points it counts; otherwise the intensities run to the end of
// the file. The identifier is stored where the DIF1 peak files of the same
// software store it. The range's flag is not a half-step shift: files that set
// it start at their recorded angle.
ProfilLu lit_raw1(std::string_view o, const std::filesystem::path& fichier) {
    ProfilLu p;
    constexpr std::size_t plage = v1::plage;
    p.titre = lit_texte_c(o, v1::identifiant, 32) + " (RAW1)";
    lit_doublet_v1(o, p);
    p.lambda = lit_f64(o, v1::lambda);
    double depart = lit_f64(o, plage + v1::depart);
    double pas = lit_f64(o, plage + v1::pas);
    std::size_t debut = plage + v1::longueur_plage +
                        static_cast<std::size_t>(std::max(lit_i32(o, plage + v1::supplement), 0));
    const auto compte = static_cast<std::size_t>(std::max(lit_i32(o, plage + v1::points), 0));
    const int autres = plages_raw1_depuis(o, debut + 4 * compte);
    std::size_t n = autres > 0 ? compte : (debut < o.size() ? (o.size() - debut) / 4 : 0);
    verifie_limite(fichier, n, limite_profil, "profile points");
    auto brutes = intensites_f32(o, debut, n);
    termine_profil(p, brutes, depart, pas, {-10000, 1000000}, fichier);
    p.angle_debut = p.points.front().angle;
    p.angle_fin = p.points.back().angle;
    signale_plages(autres, p, fichier);
    return p;
}

struct LayoutRaw {
    std::string_view version; // the first 4 bytes, trailing blanks dropped
    ProfilLu (*lecture)(std::string_view, const std::filesystem::path&);
};
constexpr LayoutRaw layouts_raw[] = {{"RAW2", lit_raw2}, {"RAW", lit_raw}, {"RAW1", lit_raw1}};

const LayoutRaw* layout_de(std::string_view debut) {
    const std::string version = sans_blancs_droite(debut.substr(magique, 4));
    for (const LayoutRaw& l : layouts_raw)
        if (version == l.version) return &l;
    return nullptr;
}

} // namespace

ProfilLu lit_profil_raw(const std::filesystem::path& fichier) {
    return lecture_binaire<ProfilLu>(fichier, [&](std::string_view o) {
        const LayoutRaw* l = layout_de(lit_texte_brut(o, 0, 4));
        if (!l) throw RefusLecture("Unknown file type");
        return l->lecture(o, fichier);
    });
}

bool layout_raw_connu(const std::filesystem::path& fichier) {
    std::ifstream flux(fichier, std::ios::binary);
    std::string debut(4, '\0');
    if (!flux.read(debut.data(), 4)) return true;
    return layout_de(debut) != nullptr;
}

} // namespace kovrin
