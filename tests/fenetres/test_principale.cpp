// The main window driven through its widgets: the whole road of a refinement
// on the bundled silicon example, and what the window adds to the core.
#include "fenetres/dialogue_indexation.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/dossiers.h"
#include "fenetres/fenetre_aide.h"
#include "fenetres/fenetre_residus.h"
#include "fenetres/fichiers_recents.h"
#include "fenetres/grille_textes.h"
#include "fenetres/impression.h"
#include "fenetres/peintre.h"
#include "fenetres/tfabout.h"
#include "fenetres/tfexcel.h"
#include "fenetres/tflilambda.h"
#include "fenetres/tform7.h"
#include "fichiers/lecteurs_pics.h"
#include "interface/commandes_affinement.h"
#include "interface/projet.h"
#include "interface/residus.h"
#include "lance_batch.h"
#include "outils_fenetres.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QToolButton>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace kovrin;
using namespace kovrin::fenetres;

namespace {

class Principale : public test::Fenetres {
  protected:
    Principale() : f(programme.form1()) { montre_au_depart(); }

    // Tab 1's File button, column format in the menu it pops up, the
    // wavelength typed in the dialog.
    void ouvre_silicium() {
        choix.reponse = test::source("examples/cubique/silicium.prn");
        f.montre_onglet(0);
        test::choisit_dans_menu(w<QPushButton>("fichier_pics"), "Column format (*.prn)");
        Tflilambda& dialogue = programme.flilambda();
        ASSERT_TRUE(dialogue.isVisible());
        test::clique_element(*dialogue.liste, "Other");
        test::tape(*dialogue.lambda, "1.5405929");
        QTest::mouseClick(dialogue.ok, Qt::LeftButton);
        ASSERT_FALSE(dialogue.isVisible());
    }

    // Tab 2: cubic, a typed, F d -3 m chosen, "Calc.".
    void maille_silicium() {
        f.montre_onglet(1);
        QTest::mouseClick(&w<QPushButton>("clavier_maille"), Qt::LeftButton);
        test::clique_element(w<QListWidget>("liste_systemes"), "Cubic");
        test::tape(w<QLineEdit>("champ_a"), "5.4310");
        test::clique_element(w<QListWidget>("liste_hm"), "Fd-3m");
        QTest::mouseClick(&w<QPushButton>("bouton_calc"), Qt::LeftButton);
    }

    // Tab 3: "Automatic Selection".
    void selection_automatique() {
        f.montre_onglet(2);
        QTest::mouseClick(&w<QPushButton>("bouton_auto"), Qt::LeftButton);
    }

    // The road up to the pairs: peaks, cell, automatic selection.
    void apparie_silicium() {
        ouvre_silicium();
        maille_silicium();
        selection_automatique();
    }

    // The whole road: the pairs, then the zero shift and the cell refined.
    void affine_silicium() {
        apparie_silicium();
        affine_zero_et_maille();
        ASSERT_TRUE(programme.espace.affinement_ok);
    }

    void affine_zero_et_maille() {
        f.montre_onglet(3);
        w<QCheckBox>("coche_decalage").click(); // the shift: its panel asks how
        EXPECT_TRUE(w<QGroupBox>("panneau_decalage").isVisible());
        QTest::mouseClick(&w<QPushButton>("ok_decalage"), Qt::LeftButton);
        QTest::mouseClick(&w<QToolButton>("lance"), Qt::LeftButton);
    }

    // The widget of the main window named `nom`.
    template <typename T> T& w(const char* nom) { return test::enfant<T>(f, nom); }

    Tform1& f;
};

} // namespace

// The whole road on the silicon example with lambda typed 1.5405929: the
// windows refine the cell the example was made with, and kovrin-batch the same
// numbers, to the last digit of the engine's values.
TEST_F(Principale, TheWholeRoadRefinesTheCellAsKovrinBatchDoes) {
    EXPECT_EQ(f.windowTitle(), "KOVRIN V2 ( 17 May 2001)");
    ouvre_silicium();
    EXPECT_EQ(w<GrilleTextes>("grille_mesures").cellule(1, 0), " 28.456");
    f.montre_onglet(1); // until a cell is entered, only the ways to enter one
    EXPECT_FALSE(w<QListWidget>("liste_systemes").isVisible() ||
                 w<QPushButton>("sauve_maille").isVisible());
    maille_silicium();
    EXPECT_TRUE(w<QListWidget>("liste_systemes").isVisible() &&
                w<QPushButton>("sauve_maille").isVisible());
    EXPECT_EQ(w<QLineEdit>("champ_b").text(), "  5.4310"); // tied to a
    EXPECT_EQ(w<GrilleTextes>("tableau_calcule").cellule(1, 0), "  1  1  1");
    // "Ed/Print" lists the lines in a viewer: 111 first, d = a / sqrt(3).
    QTest::mouseClick(&w<QPushButton>("bouton_ed_print"), Qt::LeftButton);
    ASSERT_TRUE(!dialogues.journal.empty() && dialogues.journal.back().genre == "visionneuse");
    EXPECT_NE(test::lit_fichier(dialogues.journal.back().texte).find("   1   1   1  3.1356"),
              std::string::npos);
    selection_automatique();
    affine_zero_et_maille();
    ASSERT_TRUE(programme.espace.affinement_ok)
        << (dialogues.erreurs().empty() ? "" : dialogues.erreurs()[0]);
    const auto j =
        test::lance_json("--peaks '" + test::source("examples/cubique/silicium.prn").string() +
                         "' --lambda 1.5405929 --system CUBI --group Fd-3m --cellpar 5.4310"
                         " --no-zero-estimate"); // the pairing rule of Automatic Selection
    const TamponsMoteur& m = programme.espace.moteur;
    const char* const noms[] = {"zero", "lambda", "a", "b", "c", "alpha", "beta", "gamma"};
    // The JSON writes each of the engine's floats in its shortest decimal form.
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(static_cast<float>(j["parameters"][noms[i]].get<double>()), m.parametres[i])
            << noms[i];
        EXPECT_EQ(static_cast<float>(j["sigmas"][noms[i]].get<double>()), m.erreurs[i]) << noms[i];
    }
    EXPECT_EQ(j["lambda"].get<double>(), programme.espace.lambda);
    // The example was made with a = 5.43123 A.
    const QString affine = QStringLiteral("5.4312");
    EXPECT_EQ(w<QLineEdit>("affine_a").text().trimmed(), affine);
    // The usual standard error is the engine's figure times sqrt(N - p): 11
    // pairs, the shift and a refined.
    const double esd = w<QLineEdit>("esd_a").text().toDouble();
    EXPECT_NEAR(esd, 3 * programme.espace.moteur.erreurs[rang_a], 0.05 * esd);
    EXPECT_TRUE(w<QLineEdit>("valeur_esd_a").text().startsWith("5.43123"));
    EXPECT_EQ(w<QLineEdit>("valeur_esd_lambda").text(), "1.5405929") << "fixed: its value alone";
    EXPECT_EQ(w<QLineEdit>("esd_lambda").text(), "");
    EXPECT_TRUE(w<QToolButton>("rapport").isVisible() && w<QToolButton>("exporte").isVisible() &&
                w<QToolButton>("imprime").isVisible());

    // The refined values as the new start, a second launch, then back.
    QTest::mouseClick(&w<QToolButton>("remplace"), Qt::LeftButton);
    EXPECT_EQ(w<QLineEdit>("champ_a").text().trimmed(), affine);
    selection_automatique();
    f.montre_onglet(3);
    QTest::mouseClick(&w<QToolButton>("lance"), Qt::LeftButton);
    ASSERT_TRUE(programme.espace.affinement_ok);
    EXPECT_LT(std::abs(programme.espace.decalage), 1e-3); // the shift was folded in
    QTest::mouseClick(&w<QToolButton>("restaure"), Qt::LeftButton);
    EXPECT_EQ(w<QLineEdit>("champ_a").text(), "  5.4310");
    EXPECT_TRUE(dialogues.erreurs().empty()) << dialogues.erreurs().front();
}

TEST_F(Principale, ThetaModeHalvesTheDisplaysAndStoresNothing) {
    apparie_silicium();
    EXPECT_EQ(f.statusBar()->currentMessage(),
              QString::fromUtf8("11 of 11 measured reflections paired within 0.100°"));
    const double premier = programme.espace.mesures[1].deux_theta_mes;
    programme.commande([&] { return BitBtn17Click(programme.espace, programme.principal, true); });
    w<QRadioButton>("mode_theta").click();
    EXPECT_EQ(w<GrilleTextes>("grille_mesures").cellule(1, 0), " 14.228");
    EXPECT_EQ(w<QLineEdit>("edit_angle1").text(), "   13.23");
    EXPECT_EQ(w<GrilleTextes>("tableau_calcule").cellule(1, 2), " 14.221");
    EXPECT_EQ(programme.espace.mesures[1].deux_theta_mes, premier);
    auto montre = [&](QWidget& fenetre, const char* t) {
        const auto e = fenetre.findChildren<QLabel*>();
        return std::any_of(e.begin(), e.end(), [&](QLabel* l) { return l->text() == t; });
    };
    // The data panel's θ1; eccentricity keeps its label.
    EXPECT_TRUE(montre(f, "θ1 =") && montre(f, "θ1") && montre(f, "e/R(°)"));
    EXPECT_TRUE(montre(programme.form7(), "θ1 =") && montre(programme.form7(), "θ2 ="));
    w<QRadioButton>("mode_2theta").click();
    EXPECT_EQ(w<GrilleTextes>("grille_mesures").cellule(1, 0), " 28.456");
}

// Enter in a cell field validates it as Tab does: the tied fields follow.
TEST_F(Principale, EnterValidatesACellField) {
    f.montre_onglet(1);
    QTest::mouseClick(&w<QPushButton>("clavier_maille"), Qt::LeftButton);
    test::clique_element(w<QListWidget>("liste_systemes"), "Cubic");
    auto& a = w<QLineEdit>("champ_a");
    a.setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(&a, "4.0785");
    QTest::keyClick(&a, Qt::Key_Return);
    EXPECT_FALSE(a.hasFocus());
    EXPECT_EQ(w<QLineEdit>("champ_c").text(), "  4.0785");
    EXPECT_EQ(w<QFrame>("cadre").grab().toImage().pixelColor(2, 2), QColor(0xB2, 0xE0, 0xFF))
        << "the second tab's light blue";
    EXPECT_EQ(programme.principal.maille.cellule[2], Saisie::de_valeur(4.0785));
    // A refused value keeps the focus in its field, the cell as it was.
    a.setFocus(Qt::MouseFocusReason);
    a.selectAll();
    QTest::keyClicks(&a, "4.0x");
    QTest::keyClick(&a, Qt::Key_Return);
    EXPECT_EQ(dialogues.erreurs().back(), "Type error! (a)");
    EXPECT_TRUE(a.hasFocus());
    EXPECT_EQ(programme.espace.maille[0], 4.0785);
}

// The wavelength dialog: an anode chosen with the arrow keys is taken as a
// click takes it; closing the dialog takes nothing in.
TEST_F(Principale, WavelengthDialogByKeysAndClosedWithoutChoice) {
    choix.reponse = test::source("examples/cubique/silicium.prn");
    test::declenche(f, "Column format (*.prn)");
    Tflilambda& dialogue = programme.flilambda();
    ASSERT_TRUE(dialogue.isVisible());
    dialogue.close();
    EXPECT_FALSE(programme.lambda.visible);
    EXPECT_TRUE(programme.espace.mesures.vide());

    test::declenche(f, "Column format (*.prn)");
    ASSERT_TRUE(dialogue.isVisible());
    dialogue.liste->setFocus();
    QTest::keyClick(dialogue.liste, Qt::Key_Down); // Mo
    EXPECT_TRUE(dialogue.liste->item(0)->isSelected());
    QTest::keyClick(dialogue.liste, Qt::Key_Down); // Cu
    auto& travail = test::enfant<QLabel>(dialogue, "lambda_travail");
    EXPECT_EQ(travail.text(),
              QString::fromUtf8("The working λ will be the weighted mean Kα, 1.5418 Å"));
    // The lines of the example are Kalpha1 positions: Kalpha1 chosen.
    test::enfant<QRadioButton>(dialogue, "k_alpha1").click();
    EXPECT_EQ(dialogue.lambda->text(), " 1.54056");
    // Each wavelength's label stands on its box's row.
    const std::pair<const char*, QLineEdit*> lignes[] = {
        {"l1", dialogue.lambda1}, {"l2", dialogue.lambda2}, {"l", dialogue.lambda}};
    const auto etiquettes = dialogue.findChildren<QLabel*>();
    for (const auto& [nom, boite] : lignes) {
        const auto e = std::find_if(etiquettes.begin(), etiquettes.end(),
                                    [&](const QLabel* l) { return l->text() == grec(nom); });
        ASSERT_NE(e, etiquettes.end()) << nom;
        EXPECT_EQ((*e)->geometry().center().y(), boite->geometry().center().y()) << nom;
        EXPECT_LT(boite->geometry().left() - (*e)->geometry().right(), 20) << nom;
    }
    QTest::mouseClick(dialogue.ok, Qt::LeftButton);
    EXPECT_EQ(programme.espace.mesures.taille(), 11);
    EXPECT_EQ(programme.espace.entete_pics.anode, "Cu");
    EXPECT_EQ(programme.espace.lambda, 1.54056);
}

// The user types rows; only the cells edited are read back.
TEST_F(Principale, KeyboardGridReadsBackOnlyEditedCells) {
    QTest::mouseClick(&w<QPushButton>("clavier_pics"), Qt::LeftButton);
    GrilleTextes& g = w<GrilleTextes>("grille_mesures");
    auto edite = [&](int ligne, int colonne, const char* texte) {
        g.item(ligne, colonne)->setText(texte);
        QCoreApplication::processEvents(); // the read-back runs once the edit is over
    };
    test::tape(w<QLineEdit>("edit_lambda"), "1.5406");
    edite(0, 0, "31");
    edite(2, 0, "20"); // row 2 left empty
    ASSERT_EQ(programme.espace.mesures.taille(), 2);
    EXPECT_EQ(g.cellule(1, 0), " 20.000"); // sorted
    edite(3, 0, "999");
    EXPECT_EQ(dialogues.erreurs().back(), "Row 4: 2θ must lie between 0 and 180 degrees");
    w<QRadioButton>("mode_theta").click();
    edite(0, 0, "10.5");
    edite(1, 0, "");
    ASSERT_EQ(programme.espace.mesures.taille(), 1);
    EXPECT_EQ(programme.espace.mesures[1].deux_theta_mes, 21.0);
}

// After a whole refinement, moving through every cell of every grid of the
// main window, and clicking the measured grid, changes no value.
TEST_F(Principale, NavigatingTheGridsChangesNothing) {
    affine_silicium();
    programme.espace.mesures[3].intensite_mes = 37.6; // shown as 38
    const std::string avant = texte_projet(programme.espace, {});
    for (int onglet = 0; onglet < 4; ++onglet) {
        f.montre_onglet(onglet);
        for (GrilleTextes* g :
             w<QTabWidget>("onglets").widget(onglet)->findChildren<GrilleTextes*>()) {
            if (!g->isVisible()) continue;
            for (int l = 0; l < g->rowCount(); ++l)
                for (int c = 0; c < g->columnCount(); ++c)
                    g->setCurrentCell(l, c);
            QTest::keyClick(g, Qt::Key_Tab);
        }
    }
    GrilleTextes& g = w<GrilleTextes>("grille_mesures");
    f.montre_onglet(0);
    for (int l = 0; l < 12; ++l)
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {},
                          g.visualItemRect(g.item(l, 0)).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(texte_projet(programme.espace, {}), avant) << "the whole work, as a project holds it";
    EXPECT_TRUE(dialogues.erreurs().empty());
}

TEST_F(Principale, PairingByHandAndTypedIndices) {
    ouvre_silicium();
    maille_silicium();
    f.montre_onglet(2);
    test::clique_ligne(w<GrilleTextes>("grille_mesures_selection"), 0);
    test::clique_ligne(w<GrilleTextes>("grille_calculees_selection"), 0);
    ASSERT_EQ(programme.espace.selection.taille(), 1);
    EXPECT_EQ(w<GrilleTextes>("grille_selection").cellule(1, 1), "  1  1  1");
    // Already paired: a beep only.
    test::clique_ligne(w<GrilleTextes>("grille_mesures_selection"), 0);
    EXPECT_EQ(dialogues.nb_bips(), 1);

    // Typed indices are read once the edit is over.
    w<GrilleTextes>("grille_selection").item(0, 1)->setText("0 0 0");
    QCoreApplication::processEvents();
    EXPECT_EQ(programme.espace.selection.taille(), 0);

    for (int i = 0; i < 500; ++i)
        programme.espace.selection.ajoute({1, 1, 1, 20.0f + 0.1f * static_cast<float>(i), 28.4f});
    test::clique_ligne(w<GrilleTextes>("grille_mesures_selection"), 10);
    test::clique_ligne(w<GrilleTextes>("grille_calculees_selection"), 2);
    EXPECT_EQ(programme.espace.selection.taille(), 500);
    EXPECT_EQ(dialogues.erreurs().back(), "Too many selected reflections (>500)");
}

TEST_F(Principale, CurrentRowsArePaintedAsTheCoreSays) {
    affine_silicium();
    f.montre_onglet(2);
    // The automatic selection paired them all, the last one last: it is red.
    EXPECT_EQ(test::couleur_cellule(w<GrilleTextes>("grille_mesures_selection"), 10, 1),
              QColor(255, 0, 0));
    f.montre_onglet(3);
    w<GrilleTextes>("tableau_apres").setCurrentCell(4, 0);
    EXPECT_EQ(programme.principal.ligne_pic_courante, 5);
    EXPECT_EQ(test::couleur_cellule(w<GrilleTextes>("tableau_avant"), 4, 1),
              QColor(0xFF, 0xCC, 0xEE));
}

TEST_F(Principale, ExportDialogPrintingAndHelp) {
    affine_silicium();
    QTest::mouseClick(&w<QToolButton>("exporte"), Qt::LeftButton);
    Tfexcel& excel = programme.fexcel();
    ASSERT_TRUE(excel.isVisible());
    auto texte_fichier = [] {
        QString t = QString::fromLatin1(QByteArray::fromStdString(test::lit_fichier("Excel.txt")));
        return t.remove(QLatin1Char('\r'));
    };
    EXPECT_EQ(excel.zone->toPlainText(), texte_fichier());
    excel.longue->click();
    EXPECT_EQ(excel.zone->toPlainText(), texte_fichier());
    EXPECT_GT(excel.zone->toPlainText().count(QLatin1Char('\n')), 20); // the long list

    ASSERT_TRUE(imprime_pdf(f, "fenetre.pdf"));
    const std::string pdf = test::lit_fichier("fenetre.pdf");
    const auto boite = pdf.find("/MediaBox [");
    ASSERT_NE(boite, std::string::npos);
    double x0, y0, largeur, hauteur;
    std::istringstream(pdf.substr(boite + 11)) >> x0 >> y0 >> largeur >> hauteur;
    EXPECT_GT(largeur, hauteur); // landscape

    const char* pages[] = {"index.html", "mesures.html", "maille.html", "profil.html",
                           "affinement.html"};
    for (int contexte = 1; contexte <= 5; ++contexte) {
        programme.montre_aide(contexte);
        EXPECT_TRUE(programme.aide().navigateur->source().toString().endsWith(pages[contexte - 1]));
    }
}

// The file dialogs get the program's filters in Qt's form, the entry asked
// for preselected; a caption that names other patterns gets its own after.
TEST(FiltresQt, EveryEntryInQtsFormAndTheOneAskedFor) {
    const std::string filtre = "Peaks (*.dif)|*.dif|Text|*.txt|Any file (*.*)|*.prn";
    const QString entrees[] = {"", "Peaks (*.dif)", "Text (*.txt)", "Any file (*.*) (*.prn)", ""};
    EXPECT_EQ(filtre_qt(filtre), QStringList({entrees[1], entrees[2], entrees[3]}).join(";;"));
    for (int index = 0; index < 5; ++index)
        EXPECT_EQ(entree_filtre_qt(filtre, index), entrees[index]) << index;
}

namespace {

// The residual plot read through its own axes, whose ticks carry the labels'
// values in order on a straight scale (some 3 to 12 of them): each pair's
// cross lies at its observed angle and at its residual, the dashed band at two
// standard deviations of a fit of `libres` parameters, all to a pixel; the
// residuals are those of the table after refinement.
void lit_residus(const EspaceTravail& et, const GrilleTextes& apres, int libres) {
    const Dessin d = dessin_residus(et, 640, 400);
    std::vector<double> pixels[2], valeurs[2], bande; // [0]: the 2theta axis, [1]: residuals
    std::vector<Point> croix;
    for (const TexteTrace& t : d.textes) {
        char* fin = nullptr;
        const double v = std::strtod(t.texte.c_str(), &fin);
        if (t.couleur == noir && fin != t.texte.c_str() && *fin == 0)
            valeurs[t.coin.x < 40].push_back(v);
    }
    for (const Segment& s : d.segments) {
        const Point e{s.fin.x - s.debut.x, s.fin.y - s.debut.y};
        if (s.couleur == noir && e.x + e.y == 4)
            pixels[e.x == 4].push_back(e.x ? s.debut.y : s.debut.x);
        if (e.x == 6 && e.y == 6) croix.push_back({s.debut.x + 3, s.debut.y + 3});
        if (s.couleur == Couleur{0xC8, 0xC8, 0xC8}) bande.push_back(s.debut.y);
    }
    const auto pas = [&](int a) {
        return (valeurs[a].back() - valeurs[a][0]) / (pixels[a].back() - pixels[a][0]);
    };
    const auto valeur = [&](int a, double p) {
        return valeurs[a][0] + (p - pixels[a][0]) * pas(a);
    };
    for (int a : {0, 1}) {
        ASSERT_EQ(pixels[a].size(), valeurs[a].size());
        ASSERT_TRUE(pixels[a].size() >= 3 && pixels[a].size() <= 12) << pixels[a].size();
        for (std::size_t i = 0; i < pixels[a].size(); ++i)
            EXPECT_NEAR(valeur(a, pixels[a][i]), valeurs[a][i], std::fabs(pas(a)));
    }
    ASSERT_EQ(croix.size(), std::size_t(et.selection.taille()));
    double carres = 0;
    for (std::size_t i = 0; i < croix.size(); ++i) {
        const double dif = apres.cellule(int(i) + 1, 4).toDouble(); // the "Dif." column
        EXPECT_NEAR(valeur(0, croix[i].x), et.selection[int(i) + 1].deux_theta_obs, pas(0)) << i;
        EXPECT_NEAR(valeur(1, croix[i].y), dif, 1e-4 - pas(1)) << i;
        carres += dif * dif;
    }
    for (double y : bande)
        EXPECT_NEAR(std::fabs(valeur(1, y)), 2 * std::sqrt(carres / double(croix.size() - libres)),
                    1e-3 - pas(1));
}

} // namespace

TEST_F(Principale, FiguresOfMeritUsualErrorsAndSuspectPairsAreShown) {
    apparie_silicium();
    w<GrilleTextes>("grille_selection")
        .item(4, 1)
        ->setText("  0  4  4"); // 76.386 given the indices of 106.7
    QCoreApplication::processEvents();
    affine_zero_et_maille();
    ASSERT_TRUE(programme.espace.affinement_ok);
    EXPECT_TRUE(w<QLineEdit>("m20").text().startsWith("M(") &&
                w<QLineEdit>("fn").text().startsWith("F("));
    EXPECT_TRUE(w<QLineEdit>("valeur_esd_a").text().endsWith(")")); // a mis-indexed line: 5.5(2)
    const auto& suspectes = programme.principal.affinement.paires_suspectes;
    ASSERT_EQ(suspectes.size(), 11u);
    EXPECT_EQ(std::count(suspectes.begin(), suspectes.end(), true), 1);
    const QColor orange(0xFF, 0xC8, 0x78);
    EXPECT_EQ(test::couleur_cellule(w<GrilleTextes>("tableau_apres"), 4, 1), orange);
    EXPECT_NE(test::couleur_cellule(w<GrilleTextes>("tableau_apres"), 3, 1), orange);
    lit_residus(programme.espace, w<GrilleTextes>("tableau_apres"), 2); // the zero shift and a
    // The residual plot shows the suspect pair in red.
    QTest::mouseClick(&w<QToolButton>("residus"), Qt::LeftButton);
    FenetreResidus& residus = programme.residus();
    ASSERT_TRUE(residus.isVisible());
    const QImage trace = residus.findChild<QWidget*>("trace_residus")->grab().toImage();
    bool rouge = false;
    for (int y = 0; y < trace.height() && !rouge; ++y)
        for (int x = 0; x < trace.width() && !rouge; ++x)
            rouge = trace.pixelColor(x, y) == QColor(Qt::red);
    EXPECT_TRUE(rouge);
    for (QPushButton* b : residus.findChildren<QPushButton*>())
        if (b->text() == "Close") QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_FALSE(residus.isVisible());
}

// The tabs' buttons trigger the menu's action of their command, and a "To
// refine" box keeps the state current: a cell left unchecked is not refined.
TEST_F(Principale, ButtonsTriggerTheMenuActionsAndTheBoxesKeepTheState) {
    apparie_silicium();
    f.montre_onglet(3);
    QCheckBox& a = w<QCheckBox>("coche_a");
    ASSERT_TRUE(a.isChecked() && a.isEnabled());
    a.click();
    EXPECT_FALSE(programme.principal.maille.coche[0]);
    affine_zero_et_maille();
    ASSERT_TRUE(programme.espace.affinement_ok);
    EXPECT_EQ(programme.espace.moteur.parametres[rang_a], 5.4310f);
    EXPECT_EQ(programme.espace.moteur.erreurs[rang_a], 0.0f);

    QSignalSpy resultats(test::action(f, "Print results"), &QAction::triggered);
    w<QToolButton>("rapport").click();
    test::declenche(f, "Results");
    EXPECT_EQ(resultats.count(), 2);
    QSignalSpy sauve_maille(test::action(f, "&Cell"), &QAction::triggered);
    choix.reponse = dossier.chemin() / "silicium.cry";
    f.montre_onglet(1);
    w<QPushButton>("sauve_maille").click();
    EXPECT_EQ(sauve_maille.count(), 1);
    EXPECT_TRUE(std::filesystem::exists(choix.reponse));
}

// What the next run of the program takes from this one: "Estimate the zero
// shift" (it starts unticked, and is the state's rule once ticked), and the
// size and place each window was left with.
TEST_F(Principale, TheNextRunRemembersTheChoicesAndThePlaces) {
    auto& estime = test::enfant<QCheckBox>(f, "estime_decalage");
    EXPECT_FALSE(estime.isChecked());
    f.montre_onglet(2);
    QTest::mouseClick(&estime, Qt::LeftButton);
    EXPECT_TRUE(programme.principal.estime_decalage);
    QWidget* fenetres[] = {&f, &programme.form6(), &programme.form7()};
    const QRect places[] = {{40, 30, 1200, 520}, {60, 600, 900, 300}, {300, 80, 1000, 640}};
    for (int i = 0; i < 3; ++i) {
        fenetres[i]->show();
        fenetres[i]->setGeometry(places[i]);
        QApplication::processEvents();
        fenetres[i]->hide();
    }
    fenetres::Programme suivant(dossier.chemin(), &dialogues, &choix);
    EXPECT_TRUE(suivant.principal.estime_decalage);
    EXPECT_TRUE(test::enfant<QCheckBox>(suivant.form1(), "estime_decalage").isChecked());
    QWidget* suivantes[] = {&suivant.form1(), &suivant.form6(), &suivant.form7()};
    for (int i = 0; i < 3; ++i) {
        suivantes[i]->show();
        QApplication::processEvents();
        EXPECT_EQ(suivantes[i]->geometry(), fenetres[i]->geometry()) << i;
    }
}

// "Index..." on tab 2: refused without lines; on the silicon lines the search
// runs off the window thread, can be cancelled, finds the F-centred cubic cell
// first, and "Use" carries it on to a refined cell.
TEST_F(Principale, IndexingFindsTheSiliconCellAndUseCarriesItToTheRefinement) {
    f.montre_onglet(1);
    auto& indexe = w<QPushButton>("indexe_maille");
    QTest::mouseClick(&indexe, Qt::LeftButton);
    ASSERT_EQ(dialogues.erreurs().size(), 1u);
    EXPECT_TRUE(dialogues.erreurs()[0].starts_with("No measured reflections to index"));
    ouvre_silicium();
    f.montre_onglet(1);
    QTest::mouseClick(&indexe, Qt::LeftButton);
    DialogueIndexation& d = programme.indexation();
    ASSERT_TRUE(d.isVisible());
    auto& non_indexees = test::enfant<QSpinBox>(d, "non_indexees");
    for (int i = 0; i < 4; ++i) // no negative count
        QTest::keyClick(&non_indexees, Qt::Key_Down);
    EXPECT_EQ(non_indexees.value(), 0);
    non_indexees.setValue(2);
    auto& cherche = test::enfant<QPushButton>(d, "cherche_indexation");
    QTest::mouseClick(&cherche, Qt::LeftButton);
    EXPECT_TRUE(d.en_cours() && !cherche.isEnabled());
    auto& barre = test::enfant<QProgressBar>(d, "barre_indexation");
    EXPECT_TRUE(QTest::qWaitFor([&] { return barre.value() > 0; })) << "the bar follows the time";
    EXPECT_EQ(barre.text(), QStringLiteral("%1 % of the time limit").arg(barre.value()));
    EXPECT_TRUE(d.en_cours());
    QTest::mouseClick(&test::enfant<QPushButton>(d, "annule_indexation"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !d.en_cours(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return test::enfant<QLabel>(d, "etat_indexation").text().contains("cancelled"); }));

    // Cubic and monoclinic, for speed: the cubic cell leaves the other out.
    for (int i : {1, 2, 3, 4, 6})
        test::enfant<QCheckBox>(d, QStringLiteral("systeme_%1").arg(i).toUtf8().constData())
            .setChecked(false);
    QTest::mouseClick(&cherche, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !d.en_cours(); }, 60000));
    EXPECT_TRUE(test::enfant<QLabel>(d, "etat_indexation")
                    .text()
                    .endsWith("below a convincing solution of higher symmetry: MONO"));
    auto& table = test::enfant<QTableWidget>(d, "table_solutions");
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.rowCount() > 0; }));
    EXPECT_EQ(table.item(0, 0)->text(), "cF");
    EXPECT_NEAR(table.item(0, 2)->text().toDouble(), 5.43123, 2e-4);
    EXPECT_EQ(table.item(0, 4)->text(), table.item(0, 2)->text()); // c = a, 5 decimals
    EXPECT_EQ(table.item(0, 5)->text(), "90.000");
    QTest::mouseClick(&test::enfant<QPushButton>(d, "utilise_indexation"), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(w<QTabWidget>("onglets").currentIndex(), onglet_selection);
    EXPECT_EQ(w<QListWidget>("liste_systemes").currentItem()->text(), "Cubic");
    EXPECT_EQ(programme.espace.groupe, "FM-3M"); // as a symbol chosen in the list
    QTest::mouseClick(&w<QPushButton>("bouton_auto"), Qt::LeftButton);
    affine_zero_et_maille();
    ASSERT_TRUE(programme.espace.affinement_ok);
    EXPECT_EQ(w<QLineEdit>("affine_a").text().trimmed(), "5.4312");
}

// Edit > Undo after Erase > All brings every list and the results back; Redo
// erases again; a new command after an undo forgets what could be redone.
TEST_F(Principale, UndoAfterEraseAllBringsEveryListBack) {
    auto& annule = *test::action(f, "Undo");
    auto& refait = *test::action(f, "Redo");
    EXPECT_FALSE(annule.isEnabled() || refait.isEnabled()) << "nothing to undo at start";
    affine_silicium();
    const std::string avant = texte_projet(programme.espace, {});
    const QString a_affine = w<QLineEdit>("affine_a").text();
    // Work in no file: Erase > All and closing the window ask first.
    dialogues.reponse = Reponse::non;
    test::declenche(f, "All");
    EXPECT_TRUE(dialogues.a_dit("Erase all the data? The work done since the last save or export "
                                "is in no file (Edit \u203a Undo brings it back)."));
    EXPECT_EQ(programme.espace.mesures.taille(), 11);
    f.close();
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(
        dialogues.a_dit("Quit KOVRIN? The work done since the last save or export will be lost."));
    dialogues.reponse = Reponse::oui;
    test::declenche(f, "All");
    EXPECT_TRUE(programme.espace.mesures.vide() && programme.espace.calculees.vide());
    annule.trigger();
    EXPECT_EQ(texte_projet(programme.espace, {}), avant);
    EXPECT_EQ(w<GrilleTextes>("grille_mesures").cellule(1, 0), " 28.456");
    EXPECT_EQ(w<QLineEdit>("affine_a").text(), a_affine);
    ASSERT_TRUE(refait.isEnabled());
    refait.trigger();
    EXPECT_TRUE(programme.espace.mesures.vide());
    annule.trigger();
    f.montre_onglet(3);
    QTest::mouseClick(&w<QToolButton>("lance"), Qt::LeftButton); // a new step
    EXPECT_FALSE(refait.isEnabled());
    EXPECT_TRUE(annule.isEnabled());
    // Once exported, nothing is asked.
    QTest::mouseClick(&w<QToolButton>("exporte"), Qt::LeftButton);
    programme.fexcel().hide();
    dialogues.vide();
    test::declenche(f, "All");
    EXPECT_TRUE(dialogues.textes().empty());
}

// The peaks saved from the File menu read back as the peaks shown.
TEST_F(Principale, PeaksSavedFromTheMenuReadBack) {
    ouvre_silicium();
    choix.reponse = dossier / "copie.prn";
    test::declenche(f, "Column Format (*.prn)");
    const PicsLus lus = lit_pics_colonne(dossier / "copie.prn");
    ASSERT_EQ(int(lus.pics.size()), programme.espace.mesures.taille());
    for (int i = 1; i <= programme.espace.mesures.taille(); ++i)
        EXPECT_NEAR(lus.pics[std::size_t(i - 1)].angle, programme.espace.mesures[i].deux_theta_mes,
                    5e-4);
}

// File > Open... takes a cell file by its kind; the files opened, by any
// menu, come back under File > Recent files, newest first.
TEST_F(Principale, OpenTakesAnyKindAndRecentFilesBringThemBack) {
    ouvre_silicium();
    const auto cellule = test::source("examples/cubique/silicium.cry");
    choix.reponse = cellule;
    test::declenche(f, "Open\u2026");
    EXPECT_EQ(std::filesystem::path(programme.espace.fichier_maille), cellule);
    EXPECT_EQ(w<QListWidget>("liste_systemes").currentItem()->text(), "Cubic");
    const QStringList recents = fichiers_recents();
    ASSERT_EQ(recents.size(), 2);
    EXPECT_TRUE(recents[0].endsWith("silicium.cry") && recents[1].endsWith("silicium.prn"));
    test::declenche(f, "All");
    EXPECT_TRUE(programme.espace.fichier_maille.empty());
    QMenu* menu = nullptr;
    for (QMenu* m : f.findChildren<QMenu*>())
        if (m->title() == "Recent files") menu = m;
    ASSERT_TRUE(menu);
    Q_EMIT menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 2);
    menu->actions()[0]->trigger();
    EXPECT_EQ(std::filesystem::path(programme.espace.fichier_maille), cellule);
}

// A saved project reopens, after Erase > All, to the same refined values and
// tables; a damaged one is refused and the work stays as it was.
TEST_F(Principale, ASavedProjectReopensToTheSameResults) {
    affine_silicium();
    const EspaceTravail avant = programme.espace;
    const std::string projet = texte_projet(avant, programme.principal);
    const QString a = w<QLineEdit>("valeur_esd_a").text();
    const QString apres_2 = w<GrilleTextes>("tableau_apres").cellule(2, 3);
    choix.reponse = dossier / "silicium";
    test::declenche(f, "Save project\u2026");
    ASSERT_TRUE(std::filesystem::exists(dossier / "silicium.kovrin"));
    dialogues.vide();
    test::declenche(f, "All");
    EXPECT_TRUE(dialogues.textes().empty()) << "saved: nothing to ask";
    choix.reponse = dossier / "silicium.kovrin";
    test::declenche(f, "Open project\u2026");
    EXPECT_EQ(texte_projet(programme.espace, programme.principal), projet);
    EXPECT_EQ(w<QLineEdit>("valeur_esd_a").text(), a);
    EXPECT_EQ(w<GrilleTextes>("tableau_apres").cellule(2, 3), apres_2);
    EXPECT_EQ(w<QTabWidget>("onglets").currentIndex(), onglet_affinement);
    // The refinement goes on from the project as from the work it saved.
    QTest::mouseClick(&w<QToolButton>("lance"), Qt::LeftButton);
    EXPECT_NEAR(programme.espace.maille_affinee[0], avant.maille_affinee[0], 1e-6);

    std::ofstream(dossier / "abime.kovrin") << R"({"format": "KOVRIN project", "version": 1,)";
    choix.reponse = dossier / "abime.kovrin";
    test::declenche(f, "Open project\u2026");
    ASSERT_EQ(dialogues.erreurs().size(), 1u);
    EXPECT_TRUE(dialogues.erreurs()[0].starts_with("abime.kovrin: damaged project file"));
    EXPECT_EQ(programme.espace.maille_affinee, avant.maille_affinee);
}

// The work is saved after each change; what a crash left is offered back at
// the next start (as work in no file), refused and removed, or kept when it
// cannot be read.
TEST_F(Principale, AfterACrashTheNextStartOffersTheWorkBack) {
    const std::filesystem::path auto_ = dossier / "auto";
    programme.sauve_automatiquement(auto_);
    EXPECT_TRUE(dialogues.textes().empty()) << "nothing left behind: nothing to ask";
    affine_silicium();
    const std::filesystem::path propre = programme.sauvegarde_auto()->fichier();
    ASSERT_TRUE(std::filesystem::exists(propre));
    // A process number above any the system gives: a program that is gone.
    const std::filesystem::path laisse = auto_ / nom_sauvegarde_auto(4194305);
    std::filesystem::copy_file(propre, laisse);
    for (const Reponse reponse : {Reponse::annuler, Reponse::non, Reponse::oui}) {
        if (!std::filesystem::exists(laisse)) std::filesystem::copy_file(propre, laisse);
        DialoguesEnregistres d;
        d.reponse = reponse;
        ChoixFichierEnregistre c;
        fenetres::Programme suivant(dossier.chemin(), &d, &c);
        suivant.sauve_automatiquement(auto_);
        EXPECT_TRUE(d.a_dit(question_restauration));
        EXPECT_EQ(std::filesystem::exists(laisse), reponse == Reponse::annuler)
            << "asked again only after Cancel";
        const bool repris = reponse == Reponse::oui;
        EXPECT_EQ(suivant.espace.affinement_ok, repris);
        EXPECT_EQ(std::filesystem::exists(suivant.sauvegarde_auto()->fichier()), repris)
            << "the work taken back is saved again at once, nothing else";
        if (repris) {
            EXPECT_EQ(suivant.espace.maille_affinee, programme.espace.maille_affinee);
            EXPECT_TRUE(suivant.historique().non_sauve()) << "the work is in no file";
        }
    }
    std::ofstream(laisse) << "{";
    DialoguesEnregistres d;
    fenetres::Programme suivant(dossier.chemin(), &d, nullptr);
    suivant.sauve_automatiquement(auto_);
    ASSERT_EQ(d.erreurs().size(), 1u);
    EXPECT_TRUE(d.erreurs()[0].starts_with(laisse.filename().string() + ": damaged project file"));
    EXPECT_TRUE(std::filesystem::exists(laisse)) << "kept for the next start";
}

// Options > "Working folder...": the results go to the folder chosen, which
// the next start from the desktop takes; a folder that cannot be written is
// refused and nothing changes.
TEST_F(Principale, TheWorkingFolderIsChosenInOptions) {
    const std::filesystem::path ailleurs = dossier / "resultats";
    choix.reponse = dossier / "absent";
    test::declenche(f, "Working folder...");
    ASSERT_EQ(dialogues.erreurs().size(), 1u);
    EXPECT_EQ(dialogues.erreurs()[0],
              choix.reponse.string() + ": the results cannot be written in this folder");
    EXPECT_EQ(programme.espace.repertoire, dossier.chemin());
    std::filesystem::create_directory(ailleurs);
    choix.reponse = ailleurs;
    test::declenche(f, "Working folder...");
    EXPECT_EQ(programme.espace.repertoire, ailleurs);
    EXPECT_EQ(repertoire_propre(), ailleurs);
    EXPECT_TRUE(f.statusBar()->currentMessage().endsWith(qs_chemin(ailleurs)));
    affine_silicium();
    EXPECT_TRUE(std::filesystem::exists(ailleurs / "kovrin.out"));
}

// The File menu's Edit entries: each says what is missing, then shows its
// listing in the viewer; About and Help open their windows.
TEST_F(Principale, EditAboutAndHelpOpenWhatTheyName) {
    const std::pair<const char*, const char*> entrees[] = {
        {"Measured peaks", "No measured peaks!"},
        {"Calculated Peaks", "No calculated peaks!"},
        {"Raw diagram ", "No diagram!"}};
    for (const auto& [entree, message] : entrees) {
        dialogues.vide();
        test::declenche(f, entree);
        EXPECT_EQ(dialogues.erreurs(), std::vector<std::string>{message}) << entree;
    }
    ouvre_silicium();
    maille_silicium();
    for (const auto& [entree, fichier] :
         {std::pair{"Measured peaks", "dif.out"}, std::pair{"Calculated Peaks", "indx.out"}}) {
        dialogues.vide();
        test::declenche(f, entree);
        ASSERT_FALSE(dialogues.journal.empty()) << entree;
        EXPECT_EQ(dialogues.journal.back().genre, "visionneuse");
        EXPECT_EQ(std::filesystem::path(dialogues.journal.back().texte).filename(), fichier);
    }
    test::declenche(f, "About");
    EXPECT_TRUE(programme.fabout().isVisible());
    test::declenche(f, "Help");
    EXPECT_TRUE(programme.aide().isVisible());
}
