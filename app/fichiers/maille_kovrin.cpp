// The program's own cell file: title, crystal system, space group, then the
// six parameters on one line.
#include "commun/fichier_texte.h"
#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"
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

std::string avec_extension(const std::string& nom, const std::string& extension) {
    return contient(nom, extension) ? nom : nom + extension;
}

} // namespace

std::optional<MailleLue> lit_maille_kovrin(const std::filesystem::path& fichier, Dialogues& d) {
    return lecture_gardee<MailleLue>(d, [&] {
        auto lignes = lit_lignes(fichier);
        if (lignes.size() < 4) refuse(fichier, "a cell file has four lines");
        auto maille = six_nombres(lignes[3]);
        if (!maille) refuse(fichier, "line 4 does not hold six cell parameters");
        MailleLue m;
        m.ligne_titre = lignes[0];
        m.systeme = lignes[1];
        m.groupe = sans_blancs(lignes[2]);
        m.maille = *maille;
        return m;
    });
}

bool maille_a_sauver(const EspaceTravail& et, Dialogues& d) {
    double produit = 1;
    for (double v : et.maille)
        produit *= v;
    if (produit == 0) {
        d.erreur("No cell parameters!");
        return false;
    }
    return true;
}

std::optional<std::string> ecrit_maille_cry(EspaceTravail& et, const std::string& nom, Dialogues& d) {
    if (!maille_a_sauver(et, d) || nom.empty()) return std::nullopt;
    std::string fichier = avec_extension(nom, ".cry");
    if (std::filesystem::exists(fichier) &&
        d.confirmation("This file already exists. Do you want to continue?") != Reponse::oui)
        return std::nullopt;
    std::string parametres;
    for (double v : et.maille)
        parametres += pascal_reel(v, 10, 4);
    ecrit_lignes(fichier, {et.ligne_titre, et.systeme, et.groupe, parametres});
    et.fichier_maille = fichier;
    et.maille_initiale = et.maille;
    return "Calculated pattern (" + nom_sans_repertoire(fichier) + ")";
}

} // namespace kovrin
