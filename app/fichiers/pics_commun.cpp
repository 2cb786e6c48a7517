#include "cristallo/domaines.h"
#include "fichiers/lecteurs_pics.h"
#include "fichiers/lecture.h"

namespace kovrin {

namespace {

// Peak i (from 0) where its file has it: its line, or its rank among the records.
std::string au_pic(const PicsBruts& bruts, std::size_t i, std::string_view refus) {
    if (bruts.lignes.empty()) return sur_pic_fichier(static_cast<int>(i + 1), refus);
    return sur_ligne_fichier(bruts.lignes[i], refus);
}

void verifie_domaines(const PicsBruts& bruts, const std::filesystem::path& fichier) {
    for (std::size_t i = 0; i < bruts.angles.size(); ++i) {
        Refus r = refus_deux_theta(bruts.angles[i]);
        if (!r) r = refus_aire(bruts.intensites[i]);
        if (r) refuse(fichier, au_pic(bruts, i, *r));
    }
}

} // namespace

void PicsBruts::ajoute(double angle, double intensite, int ligne) {
    angles.push_back(angle);
    intensites.push_back(intensite);
    if (ligne > 0) lignes.push_back(ligne);
}

void termine_pics(PicsLus& pics, PicsBruts bruts, bool normalise, double plafond,
                  const std::filesystem::path& fichier) {
    const std::vector<double>& angles = bruts.angles;
    std::vector<double>& intensites = bruts.intensites;
    verifie_limite(fichier, angles.size(), limite_pics, "peaks");
    if (angles.empty()) refuse(fichier, "holds no peak");
    verifie_finis(fichier, angles, intensites, "peak");
    verifie_domaines(bruts, fichier);
    if (normalise) {
        pics.echelle_intensite = normalise_a_100(intensites);
        if (!pics.echelle_intensite) {
            // Nothing to scale by: the angles are still worth having.
            intensites.assign(intensites.size(), 100);
            pics.informations.push_back(message_erreur_fichier(
                fichier, "gives no intensity above 0; every peak gets the intensity 100"));
        }
    }
    pics.pics.clear();
    for (std::size_t i = 0; i < angles.size(); ++i)
        pics.pics.push_back({angles[i], intensites[i]});
    pics.angle_debut = angles.front() - 2;
    pics.angle_fin = angles.back() + 2;
    if (plafond > 0 && pics.angle_fin >= plafond) pics.angle_fin = plafond - 1;
}

} // namespace kovrin
