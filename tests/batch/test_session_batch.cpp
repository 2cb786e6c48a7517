// The session steps the command-line tool takes where the windows click: the
// clean slate of the start, the peak reader by name, a cell file taken in, the
// choice of a space group in either list.
#include "dossier_temporaire.h"

#include "commun/dialogues.h"
#include "cristallo/groupes.h"
#include "interface/prise_donnees.h"
#include "interface/session_batch.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kovrin {
namespace {

using test::DossierTemporaire;
using test::ecrit_fichier;

TEST(SessionBatch, PeakFormatByNameInTheReReadingOrderElseColumn) {
    EXPECT_EQ(format_pics_par_nom("/d/a.dif"), pics_dif);
    EXPECT_EQ(format_pics_par_nom("a.txt"), pics_xfit);
    EXPECT_EQ(format_pics_par_nom("a.dif.txt"), pics_dif); // ".dif" is tested first
    EXPECT_EQ(format_pics_par_nom("sans_extension"), pics_colonne);
    EXPECT_EQ(format_pics_par_nom("b.di"), pics_philips);
    EXPECT_EQ(format_pics_par_nom("b.dat"), pics_winfit); // ".dat" before ".di"
}

// The open dialog's filters, --peak-format and the wavelength rule come from
// one table: the dialog's historic filter, with every file (no extension too)
// under "Column format (*.*)".
TEST(SessionBatch, PeakFormatTable) {
    EXPECT_EQ(filtre_pics(),
              "Bruker Format (*.dif)|*.dif|XFIT Format (*.txt)|*.txt|WINFIT Format (*.dat)|*.dat|"
              "Philips format (*.di)|*.di|Column format (*.prn)|*.prn|Column format (*.*)|*");
    EXPECT_EQ(noms_batch_pics(), "dif, xfit, winfit, philips or column");
    EXPECT_EQ(format_pics_de_nom_batch("Philips"), pics_philips);
    EXPECT_EQ(format_pics_de_nom_batch("prn"), 0);
    for (const FormatFichierPics& f : formats_pics)
        EXPECT_EQ(format_porte_lambda(f.code), f.code == pics_dif || f.code == pics_philips);
}

TEST(SessionBatch, StartDeletesTheResultsOfAnEarlierRunOnly) {
    DossierTemporaire dossier;
    for (const char* nom :
         {"kovrin.out", "Excel.txt", "raw.out", "indx.out", "dif.out", "kovrin.inp", "mes.prn"})
        ecrit_fichier(dossier / nom, "x");
    efface_resultats_anciens(dossier.chemin());
    for (const char* nom : {"kovrin.out", "Excel.txt", "raw.out", "indx.out", "dif.out"})
        EXPECT_FALSE(std::filesystem::exists(dossier / nom)) << nom;
    EXPECT_TRUE(std::filesystem::exists(dossier / "kovrin.inp"));
}

// A cell file taken in: its group selected in the H-M list, the traces of the
// earlier cell gone. The .cry file is written by hand, system and group in
// lower case with blanks around; the .ics system comes from its cell.
TEST(SessionBatch, CellFilesSelectTheirGroupInTheHmList) {
    struct CasMaille {
        const char *nom, *contenu, *titre, *groupe, *entree_hm;
        double a;
    };
    const CasMaille cas[] = {
        {"si.cry", "Silicon\r\n cubi \r\n  Fd-3m \r\n5.431 5.431 5.431 90 90 90\r\n", "Silicon",
         "FD-3M", "Fd-3m", 5.431},
        {"al.ics",
         "TITL Aluminium\r\nCELL a=4.0495(2) b=4.0495(2) c=4.0495(2) a=90. b=90. c=90.\r\n"
         "SGR F m -3 m (225)\r\n",
         " Aluminium", "FM-3M", "Fm-3m", 4.0495}, // the rest of the TITL line, untrimmed
        // A full symbol: the entry of the same group.
        {"cu3au.cry", "Cu3Au\r\nCUBI\r\nP 4/m -3 2/m\r\n3.75 3.75 3.75 90 90 90\r\n", "Cu3Au",
         "PM-3M", "Pm-3m", 3.75},
    };
    for (const CasMaille& c : cas) {
        SCOPED_TRACE(c.nom);
        DossierTemporaire dossier;
        ecrit_fichier(dossier / c.nom, c.contenu);
        DialoguesEnregistres d;
        // The traces of an earlier cell: a calculated reflection and a pair.
        EspaceTravail et;
        et.repertoire = dossier.chemin();
        et.calculees.ajoute({1, 1, 1, 2.0f, 40.0f});
        et.selection.ajoute({1, 1, 1, 40.01f, 40.0f});
        et.affinement_ok = true;
        auto lue = lit_fichier_maille(dossier / c.nom, d);
        ASSERT_TRUE(lue.has_value()) << (d.journal.empty() ? "" : d.journal[0].texte);
        prend_maille_lue(et, dossier / c.nom, *lue, d);
        EXPECT_EQ(et.ligne_titre, c.titre);
        EXPECT_EQ(et.maille, (std::array<double, 6>{c.a, c.a, c.a, 90, 90, 90}));
        EXPECT_TRUE(et.selection.vide());
        ASSERT_GE(et.liste_hm.selection, 0);
        EXPECT_EQ(et.liste_hm.entrees[static_cast<std::size_t>(et.liste_hm.selection)],
                  c.entree_hm);
    }
}

TEST(SessionBatch, GroupChosenInTheOrsabListByEitherSymbol) {
    DossierTemporaire dossier;
    // The two symbol lists of the cubic system, nothing selected.
    EspaceTravail et;
    et.repertoire = dossier.chemin();
    et.systeme = "CUBI";
    remplit_liste_orsab(et);
    remplit_liste_hm(et);
    ecrit_fichier("scfs2.dat", "x");
    // spgr2.dat: "F d -3 m:2" with the Hall symbol "-F 4vw 2vw 3".
    ASSERT_TRUE(choisit_groupe(et, "-f 4vw 2vw 3", true));
    EXPECT_EQ(et.groupe, "F D -3 M:2");
    EXPECT_FALSE(std::filesystem::exists("scfs2.dat"));
    const int par_hall = et.liste_orsab.selection;
    ASSERT_TRUE(choisit_groupe(et, "F d -3 m:2", true));
    EXPECT_EQ(et.liste_orsab.selection, par_hall);
}

} // namespace
} // namespace kovrin
