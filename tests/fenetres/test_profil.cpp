// The profile window on a real pattern: the Cu3Au profile opened through its
// File menu, peaks measured by the automatic search and by the mouse, then
// the refinement on the main window.
#include "donnees_reelles.h"
#include "fenetres/grille_textes.h"
#include "fenetres/image_trace.h"
#include "fenetres/panneaux_recherche.h"
#include "fenetres/peintre.h"
#include "fenetres/tform7.h"
#include "outils_fenetres.h"
#include "profil/fenetre_profil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include <set>

using namespace kovrin;
using namespace kovrin::fenetres;

namespace {

class Profil : public test::Fenetres {
  protected:
    Profil() : f1(programme.form1()), f6(programme.form6()), f7(programme.form7()) {}

    void SetUp() override {
        KOVRIN_EXIGE_DONNEES_REELLES();
        montre_au_depart();
        // "Diagram" of tab 1.
        QTest::mouseClick(&test::enfant<QPushButton>(f1, "diagramme_pics"), Qt::LeftButton);
        EXPECT_TRUE(f7.isVisible());
        active(f7);
        choix.reponse = KOVRIN_REAL_DATA_DIR "/Cu3Au-1.raw";
        test::choisit_dans_menu(*f7.charge_profil, "&Bruker Format (*.raw)");
    }

    // Cubic P, a = 3.75, "Calc.", "Automatic Selection", then a refined alone.
    void affine_cubique() {
        active(f1); // the user comes back to the main window
        f1.montre_onglet(1);
        QTest::mouseClick(&test::enfant<QPushButton>(f1, "clavier_maille"), Qt::LeftButton);
        test::clique_element(test::enfant<QListWidget>(f1, "liste_systemes"), "Cubic");
        test::tape(test::enfant<QLineEdit>(f1, "champ_a"), "3.75");
        test::clique_element(test::enfant<QListWidget>(f1, "liste_hm"), "Pm-3m");
        QTest::mouseClick(&test::enfant<QPushButton>(f1, "bouton_calc"), Qt::LeftButton);
        f1.montre_onglet(2);
        QTest::mouseClick(&test::enfant<QPushButton>(f1, "bouton_auto"), Qt::LeftButton);
        f1.montre_onglet(3);
        QTest::mouseClick(&test::enfant<QToolButton>(f1, "lance"), Qt::LeftButton);
    }

    VueProfil vue() const {
        return vue_profil(programme.espace, programme.profil, f7.image->width(),
                          f7.image->height());
    }

    Tform1& f1;
    Tform6& f6;
    TForm7& f7;
};

} // namespace

TEST_F(Profil, SearchKeepAlphaPeaksAndRefineTheAlloyCell) {
    ASSERT_EQ(programme.espace.profil.taille(), 3901);
    QTest::mouseClick(f7.recherche, Qt::LeftButton);
    PanneauRecherche& panneau = *f7.panneau_recherche;
    ASSERT_TRUE(panneau.isVisible());
    EXPECT_EQ(panneau.champs_contamination[0]->text(), " 1.39222");
    // The second-derivative search, the offer of the other declined.
    dialogues.reponse = Reponse::non;
    // A box is read as typed: a typo is refused by the search, retyped it serves.
    test::tape(*panneau.champs_contamination[0], "1.3x");
    auto& cherche = test::enfant<QPushButton>(panneau, "cherche");
    QTest::mouseClick(&cherche, Qt::LeftButton);
    EXPECT_EQ(dialogues.erreurs(), std::vector<std::string>{"bad contamination data"});
    test::tape(*panneau.champs_contamination[0], "1.39222");
    QTest::mouseClick(&cherche, Qt::LeftButton);
    const auto& mesures = programme.espace.mesures;
    ASSERT_GT(mesures.taille(), 5);
    std::set<int> genres;
    for (int j = 1; j <= mesures.taille(); ++j) {
        genres.insert(mesures[j].code_raie);
        EXPECT_EQ(f7.grille_pics->peinture_de(j).texte, couleur_genre_raie(mesures[j].code_raie));
    }
    EXPECT_TRUE(genres.count(raie_k_alpha1) && genres.count(raie_k_alpha2));

    QTest::mouseClick(f7.garde_genres, Qt::LeftButton);
    ASSERT_TRUE(f7.panneau_genres->isVisible());
    const QImage genres_peints = f7.panneau_genres->grab().toImage();
    // Each box with its kind's colour beside it.
    for (int code = 1; code <= nb_genres_raie; ++code) {
        const QCheckBox* c = f7.panneau_genres->cases[static_cast<std::size_t>(code - 1)];
        EXPECT_EQ(genres_peints.pixelColor(c->x() - 9, c->geometry().center().y()),
                  couleur_qt(couleur_genre_raie(code)))
            << code;
    }
    for (int code : {raie_k_alpha2, raie_l1, raie_l2})
        f7.panneau_genres->cases[static_cast<std::size_t>(code - 1)]->setChecked(false);
    QTest::mouseClick(f7.panneau_genres->ok, Qt::LeftButton);
    for (const Mesure& m : mesures)
        EXPECT_TRUE(m.code_raie == raie_k_alpha || m.code_raie == raie_k_alpha1);

    test::declenche(f7, "&Close");
    affine_cubique();
    ASSERT_TRUE(programme.espace.affinement_ok)
        << (dialogues.erreurs().empty() ? "" : dialogues.erreurs()[0]);
    EXPECT_NEAR(programme.espace.maille_affinee[0], 3.75, 0.01);
}

// The search panel's method, chosen in its list, serves and is remembered by
// the next run of the program.
TEST_F(Profil, TheChosenSearchMethodServesAndIsRemembered) {
    QTest::mouseClick(f7.recherche, Qt::LeftButton);
    auto& methode = test::enfant<QComboBox>(f7, "methode_recherche");
    EXPECT_EQ(methode.currentText(), "Second derivative");
    methode.setFocus();
    QTest::keyClick(&methode, Qt::Key_Down); // chosen with the keyboard
    QTest::mouseClick(&test::enfant<QPushButton>(f7, "cherche"), Qt::LeftButton);
    EXPECT_TRUE(dialogues.textes().empty()) << "no offer after the counting-statistics search";
    EXPECT_GE(programme.espace.mesures.taille(), 8);
    EXPECT_LE(programme.espace.mesures.taille(), 12);
    fenetres::Programme suivant(dossier.chemin(), &dialogues, &choix);
    auto& methode_suivante = test::enfant<QComboBox>(suivant.form7(), "methode_recherche");
    EXPECT_EQ(methode_suivante.currentText(), "Counting statistics");
    // A choice is remembered even when no search follows it.
    methode_suivante.setFocus();
    QTest::keyClick(&methode_suivante, Qt::Key_Up);
    fenetres::Programme troisieme(dossier.chemin(), &dialogues, &choix);
    EXPECT_EQ(test::enfant<QComboBox>(troisieme.form7(), "methode_recherche").currentText(),
              "Second derivative");
}

// The threshold and width boxes take typed values, checked; once a search has
// run, each new setting runs it again at once and the count follows.
TEST_F(Profil, SearchSettingsAreTypedAndPreviewed) {
    QTest::mouseClick(f7.recherche, Qt::LeftButton);
    auto& seuil = test::enfant<QSlider>(f7, "seuil");
    auto& texte_seuil = test::enfant<QLineEdit>(f7, "texte_seuil");
    auto& texte_min = test::enfant<QLineEdit>(f7, "texte_min");
    auto& texte_max = test::enfant<QLineEdit>(f7, "texte_max");
    auto& nombre = test::enfant<QLabel>(f7, "nombre_pics");
    const RecherchePics& r = programme.espace.recherche;
    const auto& mesures = programme.espace.mesures;
    dialogues.reponse = Reponse::non;

    test::tape(texte_seuil, "2,5x");
    test::tape(texte_max, "0.05");
    EXPECT_EQ(dialogues.erreurs(),
              (std::vector<std::string>{"the threshold must be positive",
                                        "the smallest peak width must not exceed the largest"}));
    EXPECT_EQ(texte_seuil.text(), "2.0") << "a refused value gives the box back";
    EXPECT_EQ(texte_max.text(), "1.00");
    EXPECT_EQ(r.seuil, 2.0);
    test::tape(texte_min, "0.126");
    EXPECT_EQ(r.largeur_min, 0.126) << "the typed value, not the bar's step";
    EXPECT_EQ(test::enfant<QSlider>(f7, "largeur_min").value(), 13);
    const int avant = mesures.taille();
    seuil.setValue(30);
    EXPECT_EQ(mesures.taille(), avant) << "no search before the first";

    test::tape(texte_min, "0.10");
    seuil.setValue(20);
    QTest::mouseClick(&test::enfant<QPushButton>(f7, "cherche"), Qt::LeftButton);
    const int au_depart = mesures.taille();
    ASSERT_GT(au_depart, 100) << "the ripples of the noise pass the default depth";
    EXPECT_EQ(nombre.text(), QString::number(au_depart));
    EXPECT_EQ(f7.grille_pics->horizontalHeaderItem(4)->text(), "Signif.");
    dialogues.vide();
    seuil.setValue(100);
    EXPECT_EQ(texte_seuil.text(), "10.0");
    EXPECT_LT(mesures.taille(), au_depart / 2);
    EXPECT_EQ(nombre.text(), QString::number(mesures.taille()));
    EXPECT_EQ(dialogues.nb_bips(), 0);
    EXPECT_TRUE(dialogues.textes().empty()) << "the preview asks nothing";
    test::tape(texte_seuil, "2");
    EXPECT_EQ(mesures.taille(), au_depart);
}

TEST_F(Profil, MouseMeasuresRemovesAndZooms) {
    const QPoint pic(vue().x_de_angle(60), 50); // on the background
    QTest::mouseClick(f7.image, Qt::LeftButton, {}, pic);
    ASSERT_EQ(programme.espace.mesures.taille(), 1);
    EXPECT_NEAR(programme.espace.mesures[1].deux_theta_mes, 60, 0.1);
    EXPECT_NEAR(f7.grille_pics->cellule(1, 1).toDouble(), 60, 0.1); // listed beside the plot
    EXPECT_EQ(f7.image->grab().toImage().pixelColor(pic.x(), 5), QColor(Qt::black)); // its mark
    QTest::mouseClick(f7.image, Qt::RightButton, {}, pic + QPoint(3, 0));
    EXPECT_TRUE(programme.espace.mesures.vide());

    QTest::mousePress(f7.image, Qt::LeftButton, {}, {vue().x_de_angle(40), 30});
    QTest::mouseMove(f7.image, {vue().x_de_angle(45), 60});
    EXPECT_TRUE(f7.lecture->text().startsWith("2T="));
    QTest::mouseRelease(f7.image, Qt::LeftButton, {}, {vue().x_de_angle(45), 60});
    EXPECT_NEAR(programme.espace.angle_min, 40, 0.1);
    EXPECT_EQ(f7.echelle->value(), programme.profil.position_echelle);
    QTest::mouseClick(f7.reset, Qt::LeftButton);
    EXPECT_EQ(programme.espace.angle_max, programme.espace.angle_max_initial);
}

// The plot's controls: scale and move, back to the whole range, the second
// derivative; a peak removed by a double click in the grid, every peak, then
// the profile itself.
TEST_F(Profil, PlotControlsAndDeletions) {
    f7.echelle->setValue(30);
    EXPECT_DOUBLE_EQ(programme.profil.facteur_vertical, 3.0);
    const double debut = programme.espace.angle_min, fin = programme.espace.angle_max;
    f7.decalage->setValue(f7.decalage->value() + 5);
    EXPECT_EQ(programme.espace.angle_min, debut + 5);
    EXPECT_EQ(programme.espace.angle_max, fin + 5);
    QTest::mouseClick(f7.reset, Qt::LeftButton);
    EXPECT_EQ(programme.espace.angle_min, debut);
    EXPECT_EQ(programme.profil.facteur_vertical, 1.0);
    f7.action_derivee->trigger();
    EXPECT_TRUE(programme.profil.derivee_visible && f7.action_derivee->isChecked());

    for (double angle : {60.0, 80.0})
        QTest::mouseClick(f7.image, Qt::LeftButton, {}, QPoint(vue().x_de_angle(angle), 50));
    ASSERT_EQ(programme.espace.mesures.taille(), 2);
    auto& grille = *f7.grille_pics;
    const QPoint ligne1 = grille.visualRect(grille.model()->index(0, 1)).center();
    QTest::mouseClick(grille.viewport(), Qt::LeftButton, {}, ligne1);
    QTest::mouseDClick(grille.viewport(), Qt::LeftButton, {}, ligne1);
    ASSERT_EQ(programme.espace.mesures.taille(), 1);
    EXPECT_NEAR(programme.espace.mesures[1].deux_theta_mes, 80, 0.1);
    // The File menu's saves: the peak left, then the profile.
    choix.reponse = dossier.chemin() / "copie";
    test::declenche(f7, "&Column format (*.prn)");
    EXPECT_NEAR(std::stod(test::lit_fichier(dossier.chemin() / "copie.prn")), 80, 0.1);
    test::declenche(f7, "&CPI format (*.cpi)");
    EXPECT_EQ(programme.espace.fichier_profil_sauve, (dossier.chemin() / "copie.cpi").string());
    QTest::mouseClick(f7.efface_mesures, Qt::LeftButton);
    EXPECT_TRUE(programme.espace.mesures.vide());
    QTest::mouseClick(f7.efface_profil, Qt::LeftButton);
    EXPECT_TRUE(programme.espace.profil.vide());
    EXPECT_EQ(legende_profil(programme.espace), "");
}
