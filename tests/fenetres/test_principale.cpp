// The main window driven through its widgets: the whole road of a refinement
// on the bundled silicon example, and what the window adds to the core.
#include "fenetres/grille_textes.h"
#include "fenetres/tflilambda.h"
#include "fenetres/tform1.h"
#include "fenetres/tform6.h"
#include "outils_fenetres.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace kovrin;
using namespace kovrin::fenetres;

namespace {

class Principale : public test::Fenetres {
protected:
    Principale() : f(programme.form1()) {
        programme.form6().show(); // shown first, as at start: the main window keeps the activation
        f.show();
        QApplication::setActiveWindow(&f);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
    }

    // File > Open > Peaks File > column format, the wavelength typed in the dialog.
    void ouvre_silicium() {
        choix.reponse = test::source("examples/cubique/silicium.prn");
        test::declenche(f, "Column format (*.prn)");
        Tflilambda& dialogue = programme.flilambda();
        ASSERT_TRUE(dialogue.isVisible());
        test::clique_element(*dialogue.liste, "Other");
        dialogue.lambda->setText("1.5405929");
        QTest::mouseClick(dialogue.ok, Qt::LeftButton);
        ASSERT_FALSE(dialogue.isVisible());
    }

    // Tab 2: cubic, a typed, F d -3 m chosen, "Calc.".
    void maille_silicium() {
        f.onglets->setCurrentIndex(1);
        QTest::mouseClick(f.clavier_maille, Qt::LeftButton);
        test::clique_element(*f.liste_systemes, "Cubic");
        test::tape(*f.champs_maille[0], "5.4310");
        test::clique_element(*f.liste_hm, "Fd-3m");
        QTest::mouseClick(f.bouton_calc, Qt::LeftButton);
    }

    void selectionne_et_affine() {
        f.onglets->setCurrentIndex(2);
        QTest::mouseClick(f.bouton_auto, Qt::LeftButton);
        f.onglets->setCurrentIndex(3);
        f.a_affiner[6]->click(); // the shift: its panel asks how
        EXPECT_TRUE(f.panneau_decalage->isVisible());
        QTest::mouseClick(f.ok_decalage, Qt::LeftButton);
        QTest::mouseClick(f.lance, Qt::LeftButton);
    }

    Tform1& f;
};

// What kovrin-batch refines from the same peaks, cell and wavelength: the
// texts of its table ("a" line: initial, refined, sigma).
std::string ligne_batch(const std::string& nom) {
    const std::string commande = std::string("'") + KOVRIN_BATCH_EXE + "' --peaks '" +
                                 test::source("examples/cubique/silicium.prn").string() +
                                 "' --cell '" + test::source("examples/cubique/silicium.cry").string() +
                                 "' --lambda 1.5405929 --workdir lot >lot.txt 2>&1";
    EXPECT_EQ(std::system(commande.c_str()), 0);
    std::ifstream sortie("lot.txt");
    for (std::string ligne; std::getline(sortie, ligne);) {
        std::istringstream mots(ligne);
        std::string premier;
        mots >> premier;
        if (premier == nom) return ligne;
    }
    return {};
}

} // namespace

TEST_F(Principale, TheWholeRoadGivesTheCellOfTheBatch) {
    ouvre_silicium();
    EXPECT_EQ(programme.espace.mesures.taille(), 11);
    EXPECT_TRUE(f.panneau_mesures->isVisible());
    EXPECT_EQ(f.grille_mesures->cellule(1, 0), " 28.456");
    EXPECT_EQ(f.edit_lambda->text(), " 1.54059");
    maille_silicium();
    EXPECT_EQ(f.champs_maille[1]->text(), "5.4310"); // tied to a
    EXPECT_GT(programme.espace.calculees.taille(), 10);
    EXPECT_EQ(f.tableau_calcule->cellule(1, 0), "  1  1  1");
    selectionne_et_affine();
    ASSERT_TRUE(programme.espace.affinement_ok) << (dialogues.erreurs().empty() ? "" : dialogues.erreurs()[0]);
    std::istringstream batch(ligne_batch("a"));
    std::string nom, initial, affine;
    batch >> nom >> initial >> affine;
    EXPECT_EQ(f.affine[rang_a]->text().trimmed().toStdString(), affine);
    EXPECT_FALSE(f.ecart_avant->text().isEmpty());
    EXPECT_FALSE(f.ecart_apres->text().isEmpty());
    EXPECT_FALSE(f.tableau_apres->cellule(1, 3).isEmpty());
    EXPECT_TRUE(f.rapport->isVisible() && f.exporte->isVisible() && f.imprime->isVisible());

    // The refined values as the new start, a second launch, then back.
    QTest::mouseClick(f.remplace, Qt::LeftButton);
    EXPECT_EQ(f.initial[rang_decalage]->text(), "0");
    EXPECT_EQ(f.champs_maille[0]->text().trimmed().toStdString(), affine);
    EXPECT_FALSE(f.rapport->isVisible());
    f.onglets->setCurrentIndex(2);
    QTest::mouseClick(f.bouton_auto, Qt::LeftButton);
    f.onglets->setCurrentIndex(3);
    QTest::mouseClick(f.lance, Qt::LeftButton);
    ASSERT_TRUE(programme.espace.affinement_ok);
    EXPECT_LT(std::abs(programme.espace.decalage), 1e-3); // the shift was folded in
    QTest::mouseClick(f.restaure, Qt::LeftButton);
    EXPECT_EQ(f.champs_maille[0]->text(), "  5.4310");
    EXPECT_TRUE(dialogues.erreurs().empty()) << dialogues.erreurs().front();
}
