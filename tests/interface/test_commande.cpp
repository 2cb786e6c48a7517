// The command boundary and the commands that only change window state.
#include "dossier_temporaire.h"
#include "interface/commande.h"
#include "interface/commandes.h"
#include "interface/commandes_indexation.h"
#include "interface/commandes_maille.h"
#include "interface/commandes_profil.h"
#include "interface/diagramme.h"
#include "interface/historique.h"
#include "interface/session_batch.h"
#include "outils_interface.h"
#include "saisies.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kovrin;

namespace {

class Commande : public ::testing::Test {
  protected:
    void SetUp() override {
        test::mesures(et, {20.0, 30.0});
        test::calculees(et, {{1, 0, 0, 20.0f}, {1, 1, 0, 30.0f}});
        et.selection.ajoute({1, 0, 0, 20.0f, 20.0f});
    }
    test::DossierTemporaire dossier;
    EspaceTravail et;
    EtatPrincipal ep;
    DialoguesEnregistres d;
};

} // namespace

TEST_F(Commande, AFailedCheckPutsTheWorkspaceBackAndSaysWhy) {
    auto r = execute(et, ep, d, [&] {
        et.mesures.efface();
        et.lambda = 9;
        et.selection.ajoute(et.selection[2]); // index out of range: the check throws
        return Rafraichissement{};
    });
    EXPECT_TRUE(r.echec);
    EXPECT_EQ(et.mesures.taille(), 2);
    EXPECT_EQ(et.lambda, 0);
    ASSERT_EQ(d.erreurs().size(), 1u);

    r = execute(et, ep, d, []() -> Rafraichissement {
        throw ArretProgramme("The file SPGR2.Dat was not found");
    });
    EXPECT_TRUE(r.echec && r.fin_programme);
    EXPECT_EQ(d.erreurs().back(), "The file SPGR2.Dat was not found");
}

TEST_F(Commande, AFailureReportedByTheCommandAlsoPutsEverythingBack) {
    auto r = execute(et, ep, d, [&] {
        et.mesures.efface();
        ep.raies_masquees = true;
        return refus(d, "No selected reflections!");
    });
    EXPECT_TRUE(r.echec);
    EXPECT_EQ(et.mesures.taille(), 2);
    EXPECT_FALSE(ep.raies_masquees);
    // A command that keeps what it did up to its failure says so.
    r = execute(et, ep, d, [&] {
        et.mesures.efface();
        Rafraichissement partiel = echoue();
        partiel.garde_partiel = true;
        return partiel;
    });
    EXPECT_TRUE(r.echec);
    EXPECT_TRUE(et.mesures.vide());
}

TEST_F(Commande, EnteringTheLambdaEditDiscardsTheCalculatedReflections) {
    auto r = entree_lambda(et, ep);
    EXPECT_TRUE(r.a_change(Change::calculees) && r.a_change(Change::resultats));
    EXPECT_TRUE(et.calculees.vide());
    EXPECT_EQ(et.selection.taille(), 1); // the pairs keep their copies
}

TEST_F(Commande, DeletingTheRawDiagramOnlyStopsItsDrawing) {
    test::domaine(et, 10, 40);
    for (float a : {15.0f, 20.0f, 25.0f})
        et.profil.ajoute({a, 50.0f});
    et.entete_profil.fichier_profil = "p.raw";
    et.entete_profil.lambda = 1.5406;
    EXPECT_EQ(dessine_spectre(et, EtatDiagramme{}, -1, 400, 200).dessin.courbes.size(), 1u);
    EXPECT_TRUE(efface_diagramme_raw(et).a_change(Change::profil));
    EXPECT_EQ(et.profil.taille(), 3);
    EXPECT_TRUE(dessine_spectre(et, EtatDiagramme{}, -1, 400, 200).dessin.courbes.empty());
    // A later peak file is not compared with the wavelength of a profile gone.
    EXPECT_EQ(et.entete_profil.lambda, 0);
    et.entete_profil.lambda = 1.5406;
    EtatFenetreProfil etat;
    efface_fichier(et, etat); // the profile window's "Delete the file"
    EXPECT_TRUE(etat.grille_videe);
    EXPECT_TRUE(et.profil.vide());
    EXPECT_EQ(et.entete_profil.lambda, 0);
}

TEST_F(Commande, ChoosingAGroupReadsTheTabAndGeneratesTheReflections) {
    et = EspaceTravail{};
    et.repertoire = dossier.chemin();
    ep.maille = test::onglet_tape({"4", "4", "4", "90", "90", "90"});
    auto r = set_systeme(et, ep, 0);
    ASSERT_TRUE(r.a_change(Change::maille));
    const auto& entrees = et.liste_hm.entrees;
    const auto pm3m = std::find(entrees.begin(), entrees.end(), "Pm-3m") - entrees.begin();
    r = selecte_groupe_hm(et, ep, static_cast<int>(pm3m), d);
    EXPECT_EQ(et.groupe, "PM-3M");
    EXPECT_EQ(et.liste_hm.selection, pm3m);
    // 100 110 111 200 210 211 between 10 and 60 degrees at a = 4.
    EXPECT_EQ(et.calculees.taille(), 6);
    ep.maille.cellule[0] = test::saisie("4,0");
    r = execute(et, ep, d, [&] { return selecte_groupe_hm(et, ep, static_cast<int>(pm3m), d); });
    EXPECT_TRUE(r.echec);
    EXPECT_EQ(d.erreurs(), std::vector<std::string>{"Error on a"});
    EXPECT_EQ(et.liste_hm.selection, pm3m); // the group chosen stays chosen
}

TEST(GenreFichier, FilesNamedAtStartAreTakenPeaksProfilesThenCells) {
    const std::vector<std::filesystem::path> donnes = {
        "c.CRY", "p.raw", "a.dif", "b.ics", "q.Cpi", "pics.dat", "x.rd", "s.xrdml", "col"};
    const std::vector<std::filesystem::path> attendus = {
        "a.dif", "pics.dat", "col", "p.raw", "q.Cpi", "x.rd", "s.xrdml", "c.CRY", "b.ics"};
    EXPECT_EQ(dans_l_ordre_des_genres(donnes), attendus);
}

// A name no format claims is taken by its content; "Open..." offers every
// format's patterns once.
TEST(GenreFichier, ANameNoFormatClaimsGoesByItsContent) {
    test::DossierTemporaire dossier;
    std::string balayage;
    for (int i = 0; i < 700; ++i)
        balayage += std::to_string(20 + 0.02 * i) + " 153\n";
    const std::string lignes(600, '\n');
    const std::tuple<const char*, std::string, GenreFichier> fichiers[] = {
        {"binaire", std::string("RAW1\0\0\x01", 7), GenreFichier::profil},
        {"balayage", balayage, GenreFichier::profil},
        {"document", "<?xml version=\"1.0\"?>\n<xrdMeasurements/>\n", GenreFichier::profil},
        {"liste", "28.44 100\n47.30 55\n", GenreFichier::pics},
        // Up to 600 lines (500 peaks and a header) a list, a profile past them.
        {"liste600", lignes, GenreFichier::pics},
        {"balayage601", lignes + "20.5 153\n", GenreFichier::profil},
        {"grand.prn", balayage, GenreFichier::pics}}; // the column format's own extension
    for (const auto& [nom, contenu, genre] : fichiers) {
        std::ofstream(dossier / nom, std::ios::binary) << contenu;
        EXPECT_EQ(genre_fichier(dossier / nom), genre) << nom;
    }
    const std::string filtre = filtre_ouverture();
    EXPECT_TRUE(filtre.starts_with(
        "Peak, profile, cell and project files|*.dif *.txt *.dat *.di *.prn *.raw"));
    EXPECT_TRUE(filtre.ends_with(" *.cry *.ics *.kovrin|All files|*"));
    EXPECT_EQ(filtre.find("*.raw"), filtre.rfind("*.raw")) << filtre;
}

// Only a command that changed data and did not fail is a step to undo; the
// history keeps the last 30 steps, and a new step forgets what was undone.
TEST_F(Commande, TheHistoryKeepsTheStepsThatChangedData) {
    Historique h;
    h.repart(et, ep);
    const auto etape = [&](Rafraichissement r, bool annulable = true) {
        et.lambda += 1;
        h.apres(r, et, ep, annulable);
    };
    Rafraichissement echec{Change::mesures};
    echec.echec = true;
    etape(echec);
    etape({Change::vues, Change::mode});
    etape({Change::maille}, false);
    EXPECT_FALSE(h.peut_annuler()) << "failed, view-only or not undoable";
    etape({Change::paires});
    h.annule(et, ep);
    EXPECT_EQ(et.lambda, 3) << "the state the last command left, typed values included";
    EXPECT_TRUE(h.peut_refaire());
    EXPECT_EQ(h.refait(et, ep).changes, tout_change);
    EXPECT_EQ(et.lambda, 4);
    h.annule(et, ep);
    etape({Change::mesures});
    EXPECT_FALSE(h.peut_refaire());
    for (int i = 0; i < 40; ++i)
        etape({Change::calculees});
    int pas = 0;
    for (; h.peut_annuler(); ++pas)
        h.annule(et, ep);
    EXPECT_EQ(pas, static_cast<int>(Historique::profondeur));
}

// The current folder, unless started from the desktop or unwritable (here:
// absent); the trial write leaves nothing behind.
TEST(RepertoireDeTravail, TheCurrentFolderUnlessStartedFromTheDesktopOrUnwritable) {
    test::DossierTemporaire dossier;
    const auto courant = dossier / "courant", propre = dossier / "donnees/kovrin";
    std::filesystem::create_directories(courant);
    EXPECT_EQ(repertoire_de_travail(courant, false, propre), courant);
    EXPECT_TRUE(std::filesystem::is_empty(courant));
    EXPECT_FALSE(std::filesystem::exists(propre));
    EXPECT_EQ(repertoire_de_travail(courant, true, propre), propre);
    EXPECT_TRUE(std::filesystem::is_directory(propre));
    EXPECT_EQ(repertoire_de_travail(dossier / "absent", false, propre), propre);
}

// Indexing needs three measured reflections and a wavelength, any anode's.
TEST(RefusIndexation, ThreeLinesAndAWavelength) {
    EspaceTravail et;
    EXPECT_EQ(refus_indexation(et),
              "No measured reflections to index: read or type the peaks first (first tab)");
    test::mesures(et, {20, 30});
    EXPECT_EQ(refus_indexation(et), "At least 3 measured reflections are needed to index");
    test::mesures(et, {20, 30, 40});
    EXPECT_EQ(refus_indexation(et), "No wavelength: set \u03bb in \"Current values\" first");
    et.lambda = 0.70930; // Mo Kalpha1
    EXPECT_EQ(refus_indexation(et), std::nullopt);
}
