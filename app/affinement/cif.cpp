#include "affinement/cif.h"

#include "commun/erreur.h"
#include "commun/fichier_texte.h"
#include "commun/format.h"
#include "commun/incertitude.h"
#include "cristallo/systemes.h"

#include <gemmi/symmetry.hpp>

#include <array>
#include <cmath>

namespace kovrin {

namespace {

constexpr std::array<const char*, 6> noms_cellule = {"_cell_length_a",   "_cell_length_b",
                                                     "_cell_length_c",   "_cell_angle_alpha",
                                                     "_cell_angle_beta", "_cell_angle_gamma"};

std::string champ(const std::string& nom, const std::string& valeur) {
    return nom + std::string(nom.size() < 40 ? 40 - nom.size() : 1, ' ') + valeur + "\n";
}

std::string entre_apostrophes(const std::string& texte) {
    return "'" + texte + "'";
}

std::string nombre_ou_inconnu(double x, int decimales) {
    return std::isfinite(x) ? pascal_reel(x, 0, decimales) : "?";
}

std::string bloc_cellule(const EspaceTravail& et, const Diagnostic& d) {
    std::string t;
    for (std::size_t i = 0; i < 6; ++i)
        t += champ(noms_cellule[i], texte_avec_incertitude(et.moteur.parametres[rang_a + i],
                                                           d.sigmas_usuels[rang_a + i]));
    t += champ("_cell_volume", texte_avec_incertitude(d.volume, d.sigma_volume));
    t += champ("_space_group_crystal_system", systeme_cristallin_cif(et.systeme, et.groupe));
    t += champ("_space_group_name_H-M_alt", entre_apostrophes(symbole_hm_cif(et.groupe)));
    return t;
}

// pdCIF calibrates by adding its offset (2theta_true = 2theta_measured +
// offset), while the zero shift is subtracted: the offset is its opposite.
// An eccentricity term varies with the angle and has no standard item.
std::string bloc_angles(const EspaceTravail& et, const Diagnostic& d) {
    const double terme = et.moteur.parametres[rang_decalage];
    const double sigma = d.sigmas_usuels[rang_decalage];
    std::string t = champ(
        "_diffrn_radiation_wavelength",
        texte_avec_incertitude(et.moteur.parametres[rang_lambda], d.sigmas_usuels[rang_lambda]));
    if (et.mode_decalage == 2)
        return t + champ("_kovrin_2theta_eccentricity_term", texte_avec_incertitude(terme, sigma));
    t += champ("_pd_calib_2theta_offset", texte_avec_incertitude(-terme, sigma));
    return t + champ("_kovrin_2theta_zero_shift", texte_avec_incertitude(terme, sigma));
}

std::string bloc_merite(const FiguresMerite& f) {
    return champ("_kovrin_figure_of_merit_M", nombre_ou_inconnu(f.m, 1)) +
           champ("_kovrin_figure_of_merit_M_lines", std::to_string(f.n_m)) +
           champ("_kovrin_figure_of_merit_M_possible_lines", std::to_string(f.n_possibles_m)) +
           champ("_kovrin_figure_of_merit_F", nombre_ou_inconnu(f.f, 1)) +
           champ("_kovrin_figure_of_merit_F_lines", std::to_string(f.n_f)) +
           champ("_kovrin_figure_of_merit_F_mean_delta_2theta", pascal_reel(f.ecart_moyen, 0, 5)) +
           champ("_kovrin_figure_of_merit_F_possible_lines", std::to_string(f.n_possibles));
}

// Observed as measured; calculated from the refined cell with the angular
// term, on the same scale, so that their difference is the residual.
std::string boucle_paires(const EspaceTravail& et, const Diagnostic& d) {
    std::string t = "loop_\n_refln_index_h\n_refln_index_k\n_refln_index_l\n"
                    "_kovrin_refln_2theta_obs\n_kovrin_refln_2theta_calc\n";
    for (int i = 1; i <= et.selection.taille(); ++i) {
        const Paire& p = et.selection[i];
        const double obs = p.deux_theta_obs;
        const double calc = obs - d.paires[static_cast<std::size_t>(i - 1)].residu;
        t += pascal_entier(p.h, 4) + pascal_entier(p.k, 4) + pascal_entier(p.l, 4) +
             pascal_reel(obs, 10, 4) + pascal_reel(calc, 10, 4) + "\n";
    }
    return t;
}

} // namespace

std::string systeme_cristallin_cif(const std::string& systeme, const std::string& groupe) {
    if (const gemmi::SpaceGroup* sg = gemmi::find_spacegroup_by_name(groupe))
        return sg->crystal_system_str();
    const FicheSysteme* f = fiche_de_code(systeme);
    return f ? std::string(f->nom_cif) : "?";
}

std::string symbole_hm_cif(const std::string& groupe) {
    const gemmi::SpaceGroup* sg = gemmi::find_spacegroup_by_name(groupe);
    return sg ? sg->hm : groupe;
}

std::string texte_cif(const EspaceTravail& et, const Diagnostic& diagnostic,
                      const std::optional<FiguresMerite>& merite) {
    std::string t = "# Unit cell refined by KOVRIN from powder diffraction peak positions.\n"
                    "# Standard uncertainties: the usual least-squares estimate, from\n"
                    "# sqrt(S / (Nref - Npar)), not the engine listing's sqrt(S) / (Nref - Npar).\n"
                    "data_kovrin\n";
    t += champ("_audit_creation_method", entre_apostrophes("KOVRIN 2.0"));
    t += bloc_cellule(et, diagnostic) + bloc_angles(et, diagnostic);
    if (merite) t += bloc_merite(*merite);
    return t + boucle_paires(et, diagnostic);
}

void ecrit_cif(const std::filesystem::path& fichier, const EspaceTravail& et,
               const Diagnostic& diagnostic, const std::optional<FiguresMerite>& merite) {
    EcrivainTexte f(fichier);
    f.texte(texte_cif(et, diagnostic, merite));
    f.ferme();
}

} // namespace kovrin
