// kovrin-batch --index as a user runs it, in a temporary directory: the
// options it refuses, a peak file with no cell to a refined cell, nothing
// found on random angles.
#include "lance_batch.h"

#include "indexation/indexation.h"
#include "indexation/synthese.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <string>

namespace {

using kovrin::test::DossierTemporaire;
using kovrin::test::Execution;
using kovrin::test::lance;
using kovrin::test::lance_json;
using json = nlohmann::json;
using kovrin::Reseau;

const std::string exemples = KOVRIN_SOURCE_DIR "/examples";
const std::string silicium = "--peaks " + exemples + "/cubique/silicium.prn --lambda 1.5405929";

TEST(BatchIndexation, OptionsRefusees) {
    DossierTemporaire dossier;
    const std::pair<const char*, const char*> cas[] = {
        {"--index --index-systems cubic,foo",
         "--index-systems: unknown crystal system \"foo\" (expected CUBI, TETR, HEXA, RHOM, ORTH, "
         "MONO or TRIC)"},
        {"--index --index-max-volume 0", "--index-max-volume: Value 0 not in range"},
        {"--index --index-max-unindexed 11",
         "--index-max-unindexed: Value 11 not in range 0 to 10"},
        {"--index --index-time-limit 0", "--index-time-limit: Value 0 not in range"},
        {"--index --threads 0", "--threads: Value 0 not in range 1 to 1024"},
        {"--refine-best", "--refine-best requires --index"},
        {"--index-max-volume 500", "--index-max-volume requires --index"},
        {"--index-all-systems", "--index-all-systems requires --index"},
        {"--index --cell x.cry", "--cell excludes --index"},
        {"--index --system CUBI --group Pm-3m --cellpar 4", "--system excludes --index"},
    };
    for (const auto& [arguments, message] : cas) {
        const Execution e = lance(silicium + " " + arguments);
        EXPECT_EQ(e.code, 2) << arguments;
        EXPECT_NE(e.erreurs.find(message), std::string::npos) << arguments << "\n" << e.erreurs;
    }
}

TEST(BatchIndexation, DUnFichierDePicsSansMailleAUneMailleAffinee) {
    DossierTemporaire dossier;
    const json j = lance_json(silicium + " --index --index-max-volume 400 --refine-best");
    ASSERT_FALSE(j["solutions"].empty());
    const json& meilleure = j["solutions"][0];
    EXPECT_EQ(meilleure["system"], "CUBI");
    EXPECT_EQ(meilleure["lattice"], "cF");
    EXPECT_NEAR(meilleure["cell"][0].get<double>(), 5.43123, 2e-4);
    EXPECT_EQ(meilleure["unindexed"], 0);
    // Then the refinement in F m -3 m, as if the cell had been typed.
    EXPECT_EQ(j["status"], "Fin normale");
    EXPECT_EQ(j["group"], "FM-3M");
    EXPECT_NEAR(j["parameters"]["a"].get<double>(), 5.43123, 1e-4);
    EXPECT_NEAR(j["parameters"]["zero"].get<double>(), 0.015, 2e-3);
}

// The silicon cell convinces: the monoclinic search is left out and the
// output says so, unless every system is asked for.
TEST(BatchIndexation, LesSystemesOmisSontDitsEtLaRechercheCompleteSurDemande) {
    DossierTemporaire dossier;
    const std::string recherche =
        silicium + " --index --index-systems CUBI,MONO --index-max-volume 400";
    const Execution table = lance(recherche);
    ASSERT_EQ(table.code, 0) << table.erreurs;
    EXPECT_NE(table.sortie.find("Not searched in full, below a convincing solution of higher "
                                "symmetry (--index-all-systems searches them): MONO\n"),
              std::string::npos)
        << table.sortie;
    for (const auto& [option, omis] :
         {std::pair{"", json{"MONO"}}, {" --index-all-systems", json::array()}}) {
        const json j = lance_json(recherche + option);
        EXPECT_EQ(j["skipped_systems"], omis) << option;
        ASSERT_FALSE(j["solutions"].empty()) << option;
        EXPECT_EQ(j["solutions"][0]["lattice"], "cF") << option;
    }
}

struct CasListe {
    Reseau reseau;
    kovrin::Maille maille;
    const char* systemes;
    double volume_max;
    const char *systeme, *reseau_attendu, *groupe;
};

// A monoclinic and a triclinic list written as peak files: the search, asked
// for by name, finds the cell first, and the refinement goes on in the
// lattice's group.
TEST(BatchIndexation, LesRecherchesParZonesTrouventLaMailleEtLAffinent) {
    const CasListe cas[] = {
        {Reseau::mP, {6.12, 7.31, 8.53, 90, 104.2, 90}, "ORTH,MONO", 400, "MONO", "mP", "P2/M"},
        {Reseau::aP, {5.21, 6.43, 7.12, 78.3, 84.6, 71.9}, "MONO,TRIC", 250, "TRIC", "aP", "P-1"},
    };
    for (const CasListe& c : cas) {
        DossierTemporaire dossier;
        const auto l = kovrin::liste_synthetique(c.reseau, c.maille, 11);
        std::ofstream f("liste.prn");
        f.precision(10);
        for (double x : l.deux_theta)
            f << x << '\n';
        f.close();
        // No time limit that the sanitizers could reach.
        const json j =
            lance_json("--peaks liste.prn --lambda 1.5406 --index --index-systems " +
                       std::string(c.systemes) + " --index-max-volume " +
                       std::to_string(c.volume_max) + " --index-time-limit 3600 --refine-best");
        ASSERT_FALSE(j["solutions"].empty()) << c.reseau_attendu;
        const json& meilleure = j["solutions"][0];
        EXPECT_EQ(meilleure["system"], c.systeme);
        EXPECT_EQ(meilleure["lattice"], c.reseau_attendu);
        EXPECT_TRUE(
            kovrin::meme_reseau(meilleure["cell"].get<kovrin::Maille>(), 'P', c.maille, 'P'))
            << c.reseau_attendu;
        EXPECT_EQ(j["status"], "Fin normale") << c.reseau_attendu;
        EXPECT_EQ(j["group"], c.groupe);
    }
}

TEST(BatchIndexation, DesAnglesAuHasardLeDisent) {
    DossierTemporaire dossier;
    std::ofstream("hasard.prn") << "13.17\n17.92\n21.4\n26.83\n29.05\n33.77\n35.2\n41.9\n"
                                   "44.13\n47.6\n52.31\n55.07\n58.44\n61.9\n";
    const std::string recherche = "--peaks hasard.prn --lambda 1.5406 --index --index-max-volume "
                                  "400 --index-max-unindexed 0";
    const Execution e = lance(recherche + " --json");
    ASSERT_EQ(e.code, 0) << e.erreurs;
    const json j = json::parse(e.sortie);
    EXPECT_TRUE(j["solutions"].empty());
    EXPECT_NE(e.erreurs.find("No cell found"), std::string::npos) << e.erreurs;
    // With --refine-best there is nothing to go on with.
    EXPECT_EQ(lance(recherche + " --refine-best").code, 1);
}

} // namespace
