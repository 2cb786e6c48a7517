// WINFIT peak lists: a header naming "Sample" and "Position", then one line per
// peak: sample identifier, angle, three more numbers, intensity.
#include "commun/texte.h"
#include "fichiers/lecteurs_pics.h"
#include "fichiers/lecture.h"

#include <algorithm>

namespace kovrin {

namespace {

constexpr std::size_t limite_lignes = 50;

} // namespace

PicsLus lit_pics_winfit(const std::filesystem::path& fichier) {
    auto lignes = lignes_converties(fichier);
    if (lignes.empty() || !contient(lignes[0], "Sample") || !contient(lignes[0], "Position"))
        throw RefusLecture("It seems not a WINFIT file!");
    auto blanches = std::count_if(lignes.begin() + 1, lignes.end(), ligne_blanche);
    verifie_limite(fichier, lignes.size() - 1 - static_cast<std::size_t>(blanches), limite_lignes,
                   "peak lines");
    PicsLus p;
    PicsBruts bruts;
    for (std::size_t i = 1; i < lignes.size(); ++i) {
        if (ligne_blanche(lignes[i])) continue;
        std::string ligne = sans_blancs(lignes[i]);
        std::replace(ligne.begin(), ligne.end(), '\t', ' ');
        auto blanc = std::min(ligne.find(' '), ligne.size());
        p.echantillon = ligne.substr(0, blanc);
        auto n = decoupe_nombres(ligne.substr(blanc));
        // A line without its angle cannot be used either.
        if (n.code != 0 || n.nombre < 1) throw RefusLecture("decode error");
        bruts.ajoute(n.valeurs[0], n.nombre >= 5 ? n.valeurs[4] : 0, static_cast<int>(i + 1));
    }
    termine_pics(p, std::move(bruts), true, 90, fichier);
    return p;
}

} // namespace kovrin
