// Every space group the program offers, checked against gemmi's own test of
// systematic absences on all h, k, l with |h|, |k|, |l| <= 6.
#include "commun/texte.h"
#include "cristallo/groupes.h"
#include "donnees_groupes.h"
#include "dossier_temporaire.h"

#include <gemmi/symmetry.hpp>
#include <gtest/gtest.h>

using namespace kovrin;

namespace {

const char* const systemes[] = {"TRIC", "MONO", "ORTH", "TETR", "HEXA", "RHOM", "CUBI"};

// The lattice letter the generation of reflections sets before testing.
void prepare_reseau(EspaceTravail& et) {
    et.reseau = et.groupe.substr(0, 1);
    if (et.systeme == "RHOM" || et.reseau == "N") et.reseau = "P";
}

// Number of h k l on which reflexion_permise and gemmi disagree.
int desaccords(const EspaceTravail& et, const gemmi::GroupOps& ops, std::string& exemple) {
    int n = 0;
    for (int h = -6; h <= 6; ++h)
        for (int k = -6; k <= 6; ++k)
            for (int l = -6; l <= 6; ++l) {
                if (h == 0 && k == 0 && l == 0) continue;
                const bool gemmi_permise = !ops.is_systematically_absent({h, k, l});
                if (reflexion_permise(et, h, k, l) != gemmi_permise && n++ == 0)
                    exemple = std::to_string(h) + " " + std::to_string(k) + " " + std::to_string(l);
            }
    return n;
}

// The gemmi group a .pos symbol names ("P21/c", "R-3m" on rhombohedral axes...).
const gemmi::SpaceGroup* groupe_gemmi_pos(const std::string& symbole, const std::string& systeme) {
    if (symbole == "NO EXT.") return gemmi::find_spacegroup_by_name("P 1");
    return gemmi::find_spacegroup_by_name(symbole + (systeme == "RHOM" ? ":R" : ""));
}

struct OracleGroupes : test::AvecDonnees {};

} // namespace

// Both lists of every system: each .pos block against the gemmi group its
// symbol names, each Orsab entry against the Hall symbol of the entry
// (independent of the symbol the library looked up).
TEST_F(OracleGroupes, EveryPosBlockAndEveryOrsabEntryAgreesWithGemmi) {
    int blocs = 0;
    for (const char* systeme : systemes) {
        et = EspaceTravail{};
        et.repertoire = dossier.chemin();
        et.systeme = systeme;
        remplit_liste_hm(et);
        for (const std::string& entree : et.liste_hm.entrees) {
            et.groupe = majuscules(sans_blancs(entree));
            charge_operateurs_hm(et, d);
            prepare_reseau(et);
            const gemmi::SpaceGroup* sg = groupe_gemmi_pos(et.groupe, et.systeme);
            ASSERT_NE(sg, nullptr) << systeme << " " << entree;
            std::string exemple;
            EXPECT_EQ(desaccords(et, sg->operations(), exemple), 0)
                << systeme << " " << entree << " (gemmi " << sg->xhm() << "), first at " << exemple;
            ++blocs;
        }
        // (OrsabListOfEverySystemFromTheCommittedFile counts the entries.)
        remplit_liste_orsab(et);
        for (const std::string& entree : et.liste_orsab.entrees) {
            et.groupe = majuscules(sans_blancs(entree.substr(0, 12)));
            charge_operateurs_orsab(et);
            prepare_reseau(et);
            const std::string hall = sans_blancs(entree.substr(12, 17));
            std::string exemple;
            EXPECT_EQ(desaccords(et, gemmi::symops_from_hall(hall.c_str()), exemple), 0)
                << systeme << " " << entree << ", first at " << exemple;
            EXPECT_GT(et.operateurs.taille(), 0) << entree;
        }
    }
    EXPECT_GT(blocs, 230 + 7); // every group once, the R groups twice, "No ext." seven times
}
