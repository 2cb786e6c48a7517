// The diagram window driven with the mouse at pixels computed from the
// plot's mapping: what it paints, zooming, pairing by pointing, printing.
#include "donnees_reelles.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/grille_textes.h"
#include "fenetres/image_trace.h"
#include "fichiers/formats_profil.h"
#include "interface/diagramme.h"
#include "outils_fenetres.h"

#include <QLabel>
#include <QPrintDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

using namespace kovrin;
using namespace kovrin::fenetres;

namespace {

// 20 ... 50 degrees 2theta: one measured reflection at 30 (intensity 50), the
// calculated 111 at 30.05 and 200 at 40.
class Diagramme : public test::Fenetres {
  protected:
    Diagramme() : f1(programme.form1()), f6(programme.form6()) {
        f6.resize(1020, 400); // the picture follows the window
        montre_au_depart();
        EspaceTravail& e = programme.espace;
        e.lambda = 1.5406;
        e.angle_min = e.angle_min_initial = 20;
        e.angle_max = e.angle_max_initial = 50;
        e.mesures.ajoute({30, 30, 50, 1});
        e.calculees.ajoute({1, 1, 1, 2.97f, 30.05f});
        e.calculees.ajoute({2, 0, 0, 2.25f, 40.0f});
        redessine();
    }

    void redessine() { programme.montre(Rafraichissement{Change::vues}); }
    VueDiagramme vue() const {
        return vue_diagramme(programme.espace, programme.diagramme, f6.image->width(),
                             f6.image->height());
    }
    QPoint pixel(double angle, int au_dessus_axe) const {
        return {vue().x_de_angle(angle), vue().ligne_axe() - au_dessus_axe};
    }
    QColor couleur(QPoint p) const { return f6.image->grab().toImage().pixelColor(p); }
    void glisse(QPoint de, QPoint a, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(f6.image, b, {}, de);
        QTest::mouseMove(f6.image, a);
        QTest::mouseRelease(f6.image, b, {}, a);
    }
    void clique(QPoint p, Qt::MouseButton b = Qt::LeftButton) { glisse(p, p, b); }

    Tform1& f1;
    Tform6& f6;
};

} // namespace

TEST_F(Diagramme, TicksBarsAndPairsArePaintedWhereTheMappingPutsThem) {
    EXPECT_EQ(f6.windowTitle(), "Diagram");
    const int axe = vue().ligne_axe();
    EXPECT_EQ(couleur({vue().x_de_angle(40), axe + 20}), QColor(0, 0x80, 0));
    const int haut = vue().y_de_valeur(50);
    EXPECT_EQ(couleur({vue().x_de_angle(30), axe - 1}), QColor(Qt::black));
    EXPECT_EQ(couleur({vue().x_de_angle(30), haut - 3}), QColor(0x80, 0x80, 0x80));

    programme.espace.selection.ajoute({1, 1, 1, 30, 30.05f});
    programme.principal.ligne_pic_courante = 1;
    redessine();
    const QImage photo = f6.image->grab().toImage();
    const int xo = vue().x_de_angle(30);
    EXPECT_EQ(photo.pixelColor(xo, 40), QColor(Qt::red));
    // The pair's number on its yellow ground where its line ends, at the top
    // (observed) and at the bottom (calculated).
    const auto numero = [&](int x, int y) {
        bool jaune = false;
        for (int i = x - 4; i < x; ++i)
            jaune = jaune || photo.pixelColor(i, y) == QColor(Qt::yellow);
        return jaune;
    };
    EXPECT_TRUE(numero(xo, 17) && numero(vue().x_de_angle(30.05), f6.image->height() - 13));
    programme.principal.ligne_pic_courante = -1;
    redessine();
    EXPECT_EQ(couleur({xo, 40}), QColor(Qt::blue));
}

TEST_F(Diagramme, ADragZoomsTheArrowsFollowAndTheModeStaysInStep) {
    const VueDiagramme avant = vue();
    QTest::mousePress(f6.image, Qt::LeftButton, {}, pixel(25, 100));
    QTest::mouseMove(f6.image, pixel(35, 10));
    EXPECT_TRUE(f6.lecture->text().startsWith("2T=") && f6.lecture->text().contains("d="));
    EXPECT_EQ(couleur(pixel(32, 100)), QColor(0x80, 0x80, 0x80)); // the rubber band
    QTest::mouseRelease(f6.image, Qt::LeftButton, {}, pixel(35, 10));
    const double debut = programme.espace.angle_min;
    EXPECT_NEAR(debut, 25, 0.05);
    EXPECT_NEAR(programme.espace.angle_max, 35, 0.05);
    EXPECT_EQ(f6.echelle->value(), programme.diagramme.position_echelle);
    // "Current values" follow, both ends.
    EXPECT_NEAR(test::enfant<QLineEdit>(f1, "edit_angle1").text().toDouble(), debut, 0.006);
    EXPECT_NEAR(test::enfant<QLineEdit>(f1, "edit_angle2").text().toDouble(),
                programme.espace.angle_max, 0.006);

    QTest::mouseClick(f6.reset, Qt::LeftButton);
    EXPECT_EQ(programme.espace.angle_min, 20);

    f6.mode_theta->click(); // in step with the main window
    EXPECT_TRUE(test::enfant<QRadioButton>(f1, "mode_theta").isChecked());
    EXPECT_EQ(vue().debut, avant.debut / 2);
    test::enfant<QRadioButton>(f1, "mode_2theta").click();
}

TEST_F(Diagramme, PointingPairsOnTheSelectionTabOnly) {
    clique(pixel(30, 20));
    EXPECT_TRUE(programme.espace.selection.vide()); // tab 1 is shown
    f1.montre_onglet(2);
    clique(pixel(30, 20));
    ASSERT_EQ(programme.espace.selection.taille(), 1);
    EXPECT_FLOAT_EQ(programme.espace.selection[1].deux_theta_cal, 30.05f); // 111, not 200
    clique(pixel(30, 20));
    EXPECT_EQ(programme.espace.selection.taille(), 1);
    clique(pixel(30, 20), Qt::RightButton);
    EXPECT_TRUE(programme.espace.selection.vide());

    glisse(pixel(30, 20), {pixel(40, 20).x(), -5}); // released above the picture
    EXPECT_EQ(programme.espace.angle_max, 50);
}

TEST_F(Diagramme, TodaysFormatsOpenFromEveryProfileMenu) {
    KOVRIN_EXIGE_DONNEES_REELLES();
    const QString entree = QStringLiteral("&") + qs(texte_filtre(*format_profil(profil_xylib)));
    EXPECT_TRUE(test::action(f1, entree)); // the main window's File menu has it too
    choix.reponse = KOVRIN_REAL_DATA_DIR "/empyrean.xrdml";
    test::choisit_dans_menu(*f6.charge_profil, entree);
    EXPECT_EQ(programme.espace.profil.taille(), 196);
}

// Files dropped on the diagram or on the main window open as from the menus.
TEST_F(Diagramme, FilesDroppedOnEitherWindowOpen) {
    const auto cellule = test::source("examples/cubique/silicium.cry");
    test::depose(f6, {cellule});
    EXPECT_EQ(std::filesystem::path(programme.espace.fichier_maille), cellule);
    const auto quartz = test::source("examples/quartz/quartz.cry");
    test::depose(f1, {quartz});
    EXPECT_EQ(std::filesystem::path(programme.espace.fichier_maille), quartz);
}

TEST_F(Diagramme, PrintAsksForAPrinter) {
    bool demande = false;
    QTimer::singleShot(0, [&demande] {
        if (auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            demande = true;
            d->reject();
        }
    });
    QTest::mouseClick(f6.imprime, Qt::LeftButton);
    EXPECT_TRUE(demande);
    EXPECT_TRUE(dialogues.erreurs().empty());
}

// The panel's controls: scale and move, back to the whole range, the pairs
// reset, the observed diagram forgotten with its wavelengths.
TEST_F(Diagramme, ThePanelScalesMovesResetsAndDeletes) {
    f6.echelle->setValue(30);
    EXPECT_DOUBLE_EQ(programme.diagramme.echelle, 3.0);
    f6.decalage->setValue(f6.decalage->value() + 5);
    EXPECT_EQ(programme.espace.angle_min, 25);
    EXPECT_EQ(programme.espace.angle_max, 55);
    QTest::mouseClick(f6.reset, Qt::LeftButton);
    EXPECT_EQ(programme.espace.angle_min, 20);
    f1.montre_onglet(2);
    clique(pixel(30, 20));
    ASSERT_EQ(programme.espace.selection.taille(), 1);
    QTest::mouseClick(f6.raze, Qt::LeftButton);
    EXPECT_TRUE(programme.espace.selection.vide());
    auto& entete = programme.espace.entete_profil;
    entete.fichier_profil = "observed.raw";
    entete.lambda = 1.5406;
    QTest::mouseClick(f6.efface_profil, Qt::LeftButton);
    EXPECT_TRUE(entete.fichier_profil.empty());
    EXPECT_EQ(entete.lambda, 0);
}
