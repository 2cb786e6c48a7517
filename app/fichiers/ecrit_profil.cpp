// Profiles written: DIFFRAC-AT RAW2 and Sietronics CPI.
#include "commun/erreur.h"
#include "commun/fichier_texte.h"
#include "commun/format.h"
#include "commun/octets.h"
#include "fichiers/diffrac_at.h"
#include "fichiers/ecrivains.h"

#include <array>
#include <ctime>
#include <limits>

namespace kovrin {

std::string date_du_jour() {
    std::time_t maintenant = std::time(nullptr);
    std::array<char, 64> texte{};
    std::size_t n = std::strftime(texte.data(), texte.size(), "%x", std::localtime(&maintenant));
    return std::string(texte.data(), n);
}

namespace {

// Both files give a step, which needs two points; RAW2 counts them in an i16.
void exige_points(const ListeBornee<PointProfil, 30000>& points, int maximum) {
    int n = points.taille();
    if (n < 2 || n > maximum)
        throw ErreurKovrin("A pattern of " + std::to_string(n) + " points cannot be written");
}

} // namespace

void ecrit_profil_raw(const ProfilAEcrire& profil, const std::filesystem::path& fichier) {
    exige_points(profil.points, 32767);
    const auto& points = profil.points;
    const auto& p = profil.entete;
    int n = points.taille();
    constexpr std::size_t entete = 316;
    std::string o(entete + 4 * static_cast<std::size_t>(n), '\0');
    using namespace diffrac;
    champ_texte(o, magique, "RAW2", 4);
    ecrit_i16(o, 4, 1);
    champ_texte(o, 6, "  " + profil.titre, 34);
    champ_texte(o, 40, "from KOVRIN", 128);
    champ_texte(o, 168, date_du_jour(), 20);
    champ_texte(o, v2::anode, "", 2);
    ecrit_f32(o, v2::lambda1, static_cast<float>(p.lambda1));
    ecrit_f32(o, v2::lambda2, static_cast<float>(p.lambda2));
    ecrit_f32(o, v2::rapport, static_cast<float>(p.rapport));
    ecrit_i16(o, 202, 0);
    ecrit_i16(o, 204, 0);
    ecrit_f32(o, 206, 1.39f);
    ecrit_f32(o, 210, 1000.0f);
    champ_texte(o, 222, "", 34); // 214..221 stay zero bytes
    ecrit_i16(o, v2::plage + v2::longueur, 60);
    ecrit_i16(o, v2::plage + v2::points, static_cast<std::int16_t>(n));
    ecrit_i16(o, 260, 10);
    ecrit_i16(o, 262, 0);
    ecrit_f32(o, v2::plage + v2::demi_pas, 1.0f); // read back as the i16 0: no half-step shift
    double pas = (static_cast<double>(points[n].angle) - points[1].angle) / (n - 1);
    ecrit_f32(o, v2::plage + v2::pas, static_cast<float>(pas));
    ecrit_f32(o, v2::plage + v2::depart, points[1].angle);
    ecrit_f32(o, 276, static_cast<float>(profil.angle_min * 0.5));
    // 280..315: four f32, five i16, two f32 and one i16, all 0.
    for (int i = 1; i <= n; ++i)
        ecrit_f32(o, entete + 4 * static_cast<std::size_t>(i - 1), points[i].intensite * 100);
    EcrivainTexte f(fichier);
    f.texte(o);
    f.ferme();
}

// The angle lines give the first and last point, so that the file describes
// its own points whatever part of the pattern the diagram shows.
void ecrit_profil_cpi(const ProfilAEcrire& profil, const std::filesystem::path& fichier) {
    exige_points(profil.points, std::numeric_limits<int>::max());
    const auto& points = profil.points;
    int n = points.taille();
    EcrivainTexte f(fichier);
    f.ligne("SIETRONICS XRD SCAN");
    f.ligne(pascal_reel(points[1].angle, 7, 3));
    f.ligne(pascal_reel(points[n].angle, 7, 3));
    f.ligne(pascal_reel(static_cast<double>(points[2].angle) - points[1].angle, 7, 3));
    f.ligne(profil.entete.anode);
    f.ligne(pascal_reel(profil.entete.lambda, 8, 5));
    f.ligne(date_du_jour());
    f.ligne("1");
    f.ligne("SampleIdent " + profil.titre);
    f.ligne("SCANDATA");
    for (const PointProfil& point : points)
        f.ligne(pascal_reel(point.intensite * 100.0, 10, 0));
    f.ferme();
}

} // namespace kovrin
