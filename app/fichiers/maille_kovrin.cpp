// The program's own cell file: title, crystal system, space group, then the
// six parameters on one line.
#include "commun/fichier_texte.h"
#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/domaines.h"
#include "fichiers/fichiers_maille.h"
#include "fichiers/lecture.h"

#include <sstream>

namespace kovrin {

namespace {

// Six numbers in free format: any blanks between them.
std::optional<std::array<double, 6>> six_nombres(const std::string& ligne) {
    std::istringstream mots(ligne);
    std::array<double, 6> maille{};
    for (double& v : maille) {
        std::string mot;
        if (!(mots >> mot)) return std::nullopt;
        auto n = lit_reel(mot);
        if (!n) return std::nullopt;
        v = *n;
    }
    return maille;
}

} // namespace

MailleLue lit_maille_kovrin(const std::filesystem::path& fichier) {
    auto lignes = lit_lignes(fichier);
    if (lignes.size() < 4) refuse(fichier, "a cell file has four lines");
    auto maille = six_nombres(lignes[3]);
    if (!maille) refuse(fichier, "line 4 does not hold six cell parameters");
    if (Refus r = refus_maille(*maille)) refuse(fichier, sur_ligne_fichier(4, *r));
    MailleLue m;
    m.ligne_titre = lignes[0];
    m.systeme = lignes[1];
    m.groupe = sans_blancs(lignes[2]);
    m.maille = *maille;
    return m;
}

void ecrit_maille_cry(const std::filesystem::path& fichier, const MailleAEcrire& m) {
    std::string parametres;
    for (double v : m.maille)
        parametres += pascal_reel(v, 10, 4);
    ecrit_lignes(fichier, {m.titre, m.systeme, m.groupe, parametres});
}

} // namespace kovrin
