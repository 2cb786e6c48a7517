#include "cristallo/geometrie.h"
#include "cristallo/onglet_maille.h"
#include "donnees_groupes.h"
#include "dossier_temporaire.h"
#include "saisies.h"

#include <gtest/gtest.h>

using namespace kovrin;

namespace {

struct Onglet : test::AvecDonnees {
    OngletMaille o = test::onglet_tape({"5", "6", "7", "90", "100", "90"});
    LectureOnglet lit() { return lit_onglet_maille(et, o, d); }
};

std::string grises(const OngletMaille& o) {
    std::string s;
    for (bool g : o.grise)
        s += g ? 'x' : '.';
    return s;
}
std::string coches(const OngletMaille& o) {
    std::string s;
    for (std::size_t i = 0; i < 8; ++i)
        s += o.coche[i] ? 'x' : (o.coche_active[i] ? 'o' : '.');
    return s;
}

} // namespace

TEST_F(Onglet, EachFieldHasItsMessage) {
    const char* messages[] = {"Error on a",      "Error on b",         "Error on c",
                              "Error on alpha",  "Error on beta",      "Error on gamma",
                              "Error on lambda", "Error on theta_min", "Error on theta_max"};
    for (int champ = 0; champ < 9; ++champ) {
        OngletMaille faux = o;
        Saisie& champ_faux = champ < 6    ? faux.cellule[static_cast<std::size_t>(champ)]
                             : champ == 6 ? faux.lambda
                             : champ == 7 ? faux.theta_min
                                          : faux.theta_max;
        champ_faux = test::saisie(champ == 0 ? "4,5" : "5 "); // a comma, a trailing blank
        EspaceTravail e;
        DialoguesEnregistres dd;
        EXPECT_EQ(lit_onglet_maille(e, faux, dd), LectureOnglet::erreur);
        EXPECT_EQ(dd.erreurs(), std::vector<std::string>{messages[champ]});
    }
}

TEST_F(Onglet, FieldsAfterAnErrorOrAnEmptyFieldAreNotRead) {
    et.maille = {1, 1, 1, 1, 1, 1};
    et.angle_max_initial = 30;
    o.cellule[2] = test::saisie("x");
    EXPECT_EQ(lit(), LectureOnglet::erreur);
    EXPECT_EQ(et.maille, (Maille{1, 1, 1, 1, 1, 1})); // a refused read changes nothing

    o.cellule[2] = test::saisie("7");
    o.cellule[4] = test::saisie("");
    d.vide();
    EXPECT_EQ(lit(), LectureOnglet::champ_vide);
    EXPECT_EQ(et.maille, (Maille{5, 6, 7, 90, 1, 1}));
}

TEST_F(Onglet, ThetaModeDoublesAndTheFullRangeOnlyWidens) {
    et.mode_affichage = 0;
    o.theta_min = test::saisie("5");
    o.theta_max = test::saisie("40");
    et.angle_min_initial = 20;
    et.angle_max_initial = 60;
    ASSERT_EQ(lit(), LectureOnglet::complete);
    EXPECT_EQ(et.angle_max, 80);
    et.angle_min_initial = 5;
    et.angle_max_initial = 90;
    ASSERT_EQ(lit(), LectureOnglet::complete);
    EXPECT_EQ(std::pair(et.angle_min_initial, et.angle_max_initial), std::pair(5.0, 90.0));
}

TEST_F(Onglet, SystemAndGroupFromTheLists) {
    o.systeme_choisi = 5; // "Monoc."
    et.groupe = "P21/C";
    ASSERT_EQ(lit(), LectureOnglet::complete);
    EXPECT_EQ(std::tie(et.systeme, et.groupe), std::tuple("MONO", "P21/C"));

    et.groupe = "P 1 21/C 1"; // only in the Orsab list
    ASSERT_EQ(lit(), LectureOnglet::complete);
    EXPECT_EQ(std::tie(et.groupe, et.origine_groupe), std::tuple("P 1 21/C 1", "HALL"));

    o.systeme_choisi = 0; // the group is not cubic: none is selected
    ASSERT_EQ(lit(), LectureOnglet::complete);
    EXPECT_EQ(std::tie(et.systeme, et.groupe), std::tuple("CUBI", ""));
}

TEST_F(Onglet, VerificationCopiesTiedValues) {
    et.systeme = "CUBI";
    et.champ_actif = 1;
    o.cellule[0] = test::saisie("5.4312296");
    ASSERT_TRUE(verification(et, o, d));
    // In full, not as shown.
    EXPECT_EQ(std::pair(o.cellule[1].valeur, o.cellule[2].valeur), std::pair(5.4312296, 5.4312296));
    EXPECT_EQ(texte_parametre_maille(o.cellule[2], 2), "  5.4312");

    et.systeme = "RHOM";
    et.champ_actif = 4;
    o.cellule[3] = test::saisie("59.5");
    ASSERT_TRUE(verification(et, o, d));
    EXPECT_EQ(o.cellule[4], test::saisie("59.5"));
    EXPECT_EQ(o.cellule[5], test::saisie("59.5"));
    EXPECT_EQ(texte_parametre_maille(o.cellule[5], 5), "  59.500") << "angles to 3 decimals";

    o.cellule[3] = test::saisie("");
    ASSERT_TRUE(verification(et, o, d)); // an empty field stores nothing
    EXPECT_EQ(et.maille[3], 59.5);

    // A text that is no number, then values outside the domain: refused, nothing stored.
    const std::pair<const char*, const char*> refus[] = {
        {"5 ", "Type error! (α)"}, {"180", "α must lie between 0 and 180 degrees"}};
    for (const auto& [texte, message] : refus) {
        d.vide();
        o.cellule[3] = test::saisie(texte);
        EXPECT_FALSE(verification(et, o, d));
        EXPECT_EQ(d.erreurs(), std::vector<std::string>{message}) << texte;
        EXPECT_EQ(et.maille[3], 59.5);
    }
    et.champ_actif = 1;
    o.cellule[0] = test::saisie("-5");
    EXPECT_FALSE(verification(et, o, d));
    EXPECT_EQ(d.erreurs().back(), "a must be positive");
}

TEST(ConfigureChamps, EachSystem) {
    EspaceTravail et;
    struct Cas {
        const char* systeme;
        const char* grises;
        const char* coches; // x set, o enabled and clear, . disabled
        std::array<std::string_view, 6> textes;
    };
    const Cas cas[] = {
        {"CUBI", ".xx.xx", "x.....oo", {"4.1", "4.1", "4.1", "90", "90", "90"}},
        {"TETR", ".x.xxx", "x.x...oo", {"4.1", "4.1", "c", "90", "90", "90"}},
        {"ORTH", "...xxx", "xxx...oo", {"4.1", "b", "c", "90", "90", "90"}},
        {"HEXA", ".x.xxx", "x.x...oo", {"4.1", "4.1", "c", "90", "90", "120"}},
        {"RHOM", ".xx.xx", "x..x..oo", {"4.1", "4.1", "4.1", "al", "al", "al"}},
        {"TRIC", "......", "xxxxxxoo", {"4.1", "b", "c", "al", "be", "ga"}},
        {"", "......", "......oo", {"4.1", "b", "c", "al", "be", "ga"}},
    };
    for (const Cas& c : cas) {
        OngletMaille o;
        o.cellule = test::saisies({"4.1", "b", "c", "al", "be", "ga"});
        o.coche.fill(true);
        et.systeme = c.systeme;
        configure_champs(et, o);
        EXPECT_EQ(grises(o), c.grises) << c.systeme;
        EXPECT_EQ(coches(o), c.coches) << c.systeme;
        EXPECT_EQ(o.cellule, test::saisies(c.textes)) << c.systeme;
    }
}

TEST(ConfigureChamps, MonoclinicUniqueAngleWithinPointTwoDegree) {
    EspaceTravail et;
    OngletMaille o;
    et.systeme = "MONO";
    const std::pair<Maille, const char*> cas[] = {{{5, 6, 7, 90, 100.5, 90.1}, "xxx.x.oo"},
                                                  {{5, 6, 7, 90, 100.5, 90.3}, "xxx...oo"},
                                                  {{5, 6, 7, 90, 90, 90}, "xxxxxxoo"}};
    for (const auto& [maille, attendu] : cas) {
        et.maille = maille;
        configure_champs(et, o);
        EXPECT_EQ(coches(o), attendu) << maille[4] << " " << maille[5];
    }
}

TEST(AfficheRaiesCalculees, RowsHeaderAndThetaMode) {
    EspaceTravail et;
    for (int i = 0; i < 3; ++i)
        et.calculees.ajoute(RaieCalculee{1, static_cast<std::int16_t>(-i), 10, 4.0f, 22.2037f});
    auto t = affiche_raies_calculees(et);
    ASSERT_EQ(t.size(), 15u);
    EXPECT_EQ(t[0], (LigneTable{"  h   k   l", "   Dhkl", "2Theta"}));
    EXPECT_EQ(t[2], (LigneTable{"  1 -1 10", " 4.0000", " 22.204"}));

    et.mode_affichage = 0;
    t = affiche_raies_calculees(et);
    EXPECT_EQ(t[1][2], " 11.102");

    while (et.calculees.taille() < 40)
        et.calculees.ajoute(RaieCalculee{});
    EXPECT_EQ(affiche_raies_calculees(et).size(), 41u);
}

TEST_F(Onglet, AfterReadingACellFile) {
    et.systeme = "CUBI";
    et.groupe = "FM-3M";
    et.origine_groupe = "HM";
    et.maille = {5.4310, 5.4310, 5.4310, 90, 90, 90};
    et.lambda = 1.5405929;
    et.angle_min = et.angle_min_initial = 20;
    et.angle_max = et.angle_max_initial = 80;
    et.fichier_maille = "/home/user/cells/si.cry";
    et.selection.ajoute(Paire{});
    const SuiteLecture s = calcul_apres_lecture(et, o, d);
    // The field shows 5 decimals; the wavelength behind it keeps every digit.
    EXPECT_EQ(texte_lambda(o.lambda), " 1.54059");
    EXPECT_EQ(et.lambda, 1.5405929);
    ASSERT_TRUE(s.raies);
    EXPECT_EQ(et.calculees[1].h + et.calculees[1].k + et.calculees[1].l, 3); // Si 1 1 1
    EXPECT_TRUE(s.titre_change);
}

TEST_F(Onglet, AfterReadingACellFileWithoutWavelengthOrRange) {
    et.systeme = "CUBI";
    et.maille = {5.4310, 5.4310, 5.4310, 90, 90, 90};
    et.fichier_maille = "si.cry";
    SuiteLecture s = calcul_apres_lecture(et, o, d);
    EXPECT_EQ(d.textes(), std::vector<std::string>{"Warning: Lambda not defined. "});
    EXPECT_FALSE(s.raies);

    d.vide();
    et.lambda = 1.5406;
    s = calcul_apres_lecture(et, o, d);
    EXPECT_EQ(d.textes(), std::vector<std::string>{"Warning: Theta range not defined. "});
}
