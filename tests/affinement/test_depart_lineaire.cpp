// The linear start: the cell of indexed lines alone, for each crystal system;
// and the command that makes it the initial cell.
#include "affinement/depart_lineaire.h"
#include "cas_affinement.h"
#include "cristallo/raies.h"
#include "dossier_temporaire.h"
#include "interface/commandes_affinement.h"
#include "saisies.h"

#include <gtest/gtest.h>

using namespace kovrin;
using namespace kovrin::test;

namespace {

struct CasSysteme {
    const char* systeme;
    std::array<double, 6> maille;
    std::vector<int> rangs; // refined by the engine
};

const std::vector<CasSysteme> systemes = {
    {"CUBI", {5.4312, 5.4312, 5.4312, 90, 90, 90}, {rang_decalage, rang_a}},
    {"TETR", {4.5, 4.5, 6.2, 90, 90, 90}, {rang_decalage, rang_a, rang_c}},
    {"ORTH", {5.1, 6.3, 7.4, 90, 90, 90}, {rang_decalage, rang_a, rang_b, rang_c}},
    {"HEXA", {4.913, 4.913, 5.405, 90, 90, 120}, {rang_decalage, rang_a, rang_c}},
    // The marks the cell tab sets: the engine ties the lengths, alpha alone moves.
    {"RHOM", {5.2, 5.2, 5.2, 56, 56, 56}, {rang_decalage, rang_a, rang_alpha}},
    {"MONO", {5.1, 6.3, 7.4, 90, 104.5, 90}, {rang_decalage, rang_a, rang_b, rang_c, rang_beta}},
    {"TRIC",
     {5.1, 6.3, 7.4, 82, 95, 103},
     {rang_decalage, rang_a, rang_b, rang_c, rang_alpha, rang_beta, rang_gamma}},
};

// The engine's refined values after a refinement from `maille`.
std::array<float, 8> affine_depuis(EspaceTravail e, const std::array<double, 6>& maille,
                                   const std::vector<int>& rangs) {
    e.maille = maille;
    OngletAffinement onglet;
    DialoguesEnregistres d;
    EXPECT_TRUE(lance_affinement(e, champs_affinement(rangs), onglet, d))
        << e.systeme << " " << e.statut_moteur;
    return e.moteur.parametres;
}

} // namespace

TEST(DepartLineaire, ExactPairsGiveTheTrueCellInEverySystem) {
    for (const CasSysteme& c : systemes) {
        EspaceTravail e;
        paires_de_maille(e, c.maille, 1.5406, 0, 0);
        const auto maille = depart_lineaire(e.selection, c.systeme, c.maille, 1.5406);
        ASSERT_TRUE(maille) << c.systeme;
        for (std::size_t i = 0; i < 6; ++i)
            EXPECT_NEAR((*maille)[i], c.maille[i], i < 3 ? 1e-5 : 1e-4) << c.systeme << " " << i;
    }
}

TEST(DepartLineaire, FromNoisyPairsTheRefinementReachesWhatTheTrueCellGives) {
    DossierTemporaire dossier;
    for (const CasSysteme& c : systemes) {
        EspaceTravail e;
        e.systeme = c.systeme;
        paires_de_maille(e, c.maille, 1.5406, 0.02, 0.003);
        const auto depart = depart_lineaire(e.selection, c.systeme, c.maille, 1.5406);
        ASSERT_TRUE(depart) << c.systeme;
        const auto du_depart = affine_depuis(e, *depart, c.rangs);
        const auto du_vrai = affine_depuis(e, c.maille, c.rangs);
        for (std::size_t i = 0; i < 8; ++i)
            EXPECT_NEAR(du_depart[i], du_vrai[i], i >= rang_alpha ? 2e-3 : 2e-4)
                << c.systeme << " slot " << i;
    }
}

TEST(DepartLineaire, TheCommandMakesItTheInitialCellAndKeepsThePairsByTheirIndices) {
    DossierTemporaire dossier;
    EspaceTravail e;
    EtatPrincipal ep;
    DialoguesEnregistres d;
    EXPECT_TRUE(linear_start(e, ep, d).echec);
    EXPECT_EQ(d.textes(), std::vector<std::string>{"No selected reflections!"});
    d.vide();
    e.systeme = "CUBI";
    e.liste_hm = {{"Pm-3m"}, 0};
    e.lambda = 1.5406;
    e.angle_min = e.angle_min_initial = 10;
    e.angle_max = e.angle_max_initial = 80;
    ep.maille = test::onglet_tape({"", "", "", "", "", ""}, "1.5406", "10", "80");
    // Lines of a = 4 indexed by hand; no cell typed yet.
    for (auto [h, k, l] : {std::array{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {2, 0, 0}, {2, 1, 1}})
        ajoute_paire(e, h, k, l, deux_theta_orthogonal(4, 4, 4, h, k, l, 1.5406), 0);
    const Rafraichissement r = linear_start(e, ep, d);
    ASSERT_FALSE(r.echec) << (d.textes().empty() ? "" : d.textes().back());
    EXPECT_EQ(texte_parametre_maille(ep.maille.cellule[0], 0), "  4.0000");
    ASSERT_EQ(e.selection.taille(), 5);
    for (const Paire& p : e.selection)
        EXPECT_NEAR(p.deux_theta_cal, p.deux_theta_obs, 1e-4) << p.h << p.k << p.l;
}
