// Rietveld-program data files: a four-line header, a line of start angle, step
// and final angle, then the intensities, up to 10 a line.
#include "commun/nombres.h"
#include "commun/texte.h"
#include "fichiers/lecteurs_profil.h"
#include "fichiers/lecture.h"

namespace kovrin {

namespace {

// Deletes the line up to and including the key and one more character and
// converts what follows, up to the next blank; 0 when absent or not a number.
double valeur_apres(std::string& ligne, std::string_view cle) {
    auto p = ligne.find(cle);
    if (p == std::string::npos) return 0;
    ligne = sans_blancs(ligne.substr(std::min(ligne.size(), p + cle.size() + 1)));
    return lit_reel(ligne.substr(0, ligne.find(' '))).value_or(0);
}

std::string titre_rietveld(const std::string& ligne) {
    auto debut = ligne.find("SampleIdent") + 12;
    auto nom = ligne.find("DataFileName");
    std::size_t fin = nom == std::string::npos ? ligne.size() : (nom < 2 ? 0 : nom - 2);
    if (debut >= ligne.size() || fin <= debut) return "";
    return sans_blancs(ligne.substr(debut, fin - debut));
}

void lit_entete(ProfilLu& p, const std::vector<std::string>& lignes) {
    if (lignes.empty() || lignes[0].empty()) return;
    if (!contient(lignes[0], "SampleIdent"))
        throw RefusLecture("Error while reading the wavelength in Rietvelf File");
    p.titre = titre_rietveld(lignes[0]);
    std::string longueurs = lignes.size() > 2 ? lignes[2] : "";
    p.lambda1 = valeur_apres(longueurs, "Alpha1");
    p.lambda2 = valeur_apres(longueurs, "Alpha2");
    p.rapport = valeur_apres(longueurs, "Ratio");
    p.lambda = lambda_moyenne(p.lambda1, p.lambda2, p.rapport);
}

} // namespace

ProfilLu lit_profil_rietveld(const std::filesystem::path& fichier) {
    auto lignes = lignes_converties(fichier);
    ProfilLu p;
    lit_entete(p, lignes);
    auto balayage = decoupe_nombres(lignes.size() > 4 ? lignes[4] : "");
    if (balayage.nombre < 3 || balayage.code != 0)
        refuse(fichier, "line 5 does not hold the start angle, the step and the final angle");
    std::vector<double> brutes;
    for (std::size_t i = 5; i < lignes.size(); ++i) {
        auto n = decoupe_nombres(lignes[i]);
        if (n.code != 0) throw RefusLecture("Read error!");
        brutes.insert(brutes.end(), n.valeurs.begin(), n.valeurs.begin() + n.nombre);
        verifie_limite(fichier, brutes.size(), limite_profil, "profile points");
    }
    termine_profil(p, brutes, balayage.valeurs[0], balayage.valeurs[1], {}, fichier);
    p.angle_debut = balayage.valeurs[0];
    p.angle_fin = balayage.valeurs[2];
    return p;
}

} // namespace kovrin
