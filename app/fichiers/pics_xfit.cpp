// XFIT peak lists. Layout A (a header with "Code" then "Th2"): the angle follows
// the first 42 characters, intensities are not given. Layout B: angle in
// columns 23..30, intensity in columns 57..66.
#include "commun/nombres.h"
#include "commun/texte.h"
#include "fichiers/lecteurs_pics.h"
#include "fichiers/lecture.h"

namespace kovrin {

namespace {

bool disposition_a(const std::string& entete) {
    auto code = entete.find("Code");
    return code != std::string::npos && entete.find("Th2", code) != std::string::npos;
}

std::optional<double> colonnes(const std::string& ligne, std::size_t premiere,
                               std::size_t largeur) {
    return lit_reel(
        sans_blancs(premiere - 1 < ligne.size() ? ligne.substr(premiere - 1, largeur) : ""));
}

} // namespace

PicsLus lit_pics_xfit(const std::filesystem::path& fichier) {
    auto lignes = lignes_converties(fichier);
    bool a = !lignes.empty() && disposition_a(sans_blancs(lignes[0]));
    PicsBruts bruts;
    for (std::size_t i = 1; i < lignes.size(); ++i) {
        const std::string& ligne = lignes[i];
        if (ligne_blanche(ligne)) continue;
        auto angle =
            a ? premier_nombre(ligne.size() > 42 ? ligne.substr(42) : "") : colonnes(ligne, 23, 8);
        auto intensite = a ? std::optional<double>(100) : colonnes(ligne, 57, 10);
        if (!angle || !intensite)
            refuse(fichier, "invalid number at line " + std::to_string(i + 1));
        if (*intensite == 0) continue;
        bruts.ajoute(*angle, *intensite, static_cast<int>(i + 1));
        verifie_limite(fichier, bruts.angles.size(), limite_pics, "peaks");
    }
    PicsLus p;
    termine_pics(p, std::move(bruts), !a, 180, fichier);
    return p;
}

} // namespace kovrin
