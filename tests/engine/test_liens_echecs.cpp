// Ties by crystal-system letter and every way a call can fail.
#include "appel_calcul.h"
#include "dossier_temporaire.h"

#include "commun/fichier_texte.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace kovrin;
using namespace kovrin::test;

namespace {

constexpr double cuka1 = 1.540562;

Appel cubique(double a_depart, int n = 20) {
    Appel appel;
    reflexions_de(appel, cube(5.4309), cuka1, 0.0, n, 6);
    appel.depart(cube(a_depart), cuka1, {2});
    return appel;
}

TEST(Liens, LetterTBecomesQWhenAAndBAgreeWithinAThousandth) {
    for (auto [b, lettre, libelle] : {std::tuple{5.0005f, 'Q', "A=B  "}, {5.0020f, 'T', "NO   "}}) {
        DossierTemporaire dossier;
        Appel appel;
        appel.lettre = 'T';
        appel.depart({5.0, b, 7.0, 90, 90, 90}, 1.54, {4});
        appel.ajoute(1, 0, 0, 20);
        appel.ajoute(0, 0, 1, 14);
        appel.ajoute(1, 1, 1, 30);
        appel.lance();
        EXPECT_EQ(appel.lettre, lettre);
        EXPECT_EQ(lit_lignes(dossier / "kovrin.out").at(5),
                  std::string(" Refinement constraints    : ") + libelle);
    }
}

// Inputs the engine stops on with a status: a reflection out of reach (lambda/2d
// > 1 for every one), a value that is not finite, no reflection at all (a first
// angle of 0). The parameters are left, and the listing ends with the status.
TEST(Echecs, UnusableInputStopsWithItsStatus) {
    struct CasEchec {
        std::function<void(Appel&)> change;
        std::string statut, nombre_reflexions;
    };
    const CasEchec cas[] = {
        {[](Appel& a) { a.parametres[1] = 12.0f; }, "erreur : lambda/2d >= 1 pour une reflexion",
         "    20"},
        {[](Appel& a) { a.h[3] = NAN; }, "erreur : donnees non valides", "    20"},
        {[](Appel& a) { a.parametres[7] = INFINITY; }, "erreur : donnees non valides", "    20"},
        {[](Appel& a) { a.angles[0] = 0; }, "Il faut plus de reflexions que de parametres affines",
         "     0"},
    };
    for (const CasEchec& c : cas) {
        SCOPED_TRACE(c.statut);
        DossierTemporaire dossier;
        Appel appel = cubique(5.45);
        c.change(appel);
        auto avant = appel.parametres;
        EXPECT_EQ(appel.lance(), c.statut);
        EXPECT_EQ(appel.parametres, avant);
        auto lu = lit_lignes(dossier / "kovrin.out");
        EXPECT_EQ(lu.at(3), " Number of reflections     :" + c.nombre_reflexions);
        EXPECT_EQ(lu.back(), "##### " + c.statut);
    }
}

// A disk that fills up while the listing is written (it is longer than the
// trace file): the call says so, and the last run's listing stays whole.
TEST(Echecs, AListingThatCannotBeWrittenIsAFailure) {
    DossierTemporaire dossier;
    ecrit_fichier("kovrin.out", "last run\r\n");
    Appel appel = cubique(5.45);
    {
        LimiteTaille limite(2048); // the trace file (about 1.9 kB) fits, the listing does not
        EXPECT_EQ(appel.lance(), "erreur d'ecriture de kovrin.out ou de mouchard");
    }
    EXPECT_EQ(lit_fichier("kovrin.out"), "last run\r\n");
}

TEST(Echecs, FiveHundredAnglesAreFiveHundredReflections) {
    DossierTemporaire dossier;
    Appel appel = cubique(5.45, 20);
    for (int i = appel.nref; i < KOVRIN_NB_REFLEXIONS; ++i)
        appel.ajoute(int(appel.h[i % 20]), int(appel.k[i % 20]), int(appel.l[i % 20]),
                     appel.angles[i % 20]);
    ASSERT_EQ(appel.lance(), "Fin normale");
    auto lu = lit_lignes(dossier / "kovrin.out");
    EXPECT_EQ(lu.at(3), " Number of reflections     :   500");
    EXPECT_EQ(lu.size(), 32u + 500u);
}

// A triclinic cell whose a and b agree within 0.001 A is read as tetragonal: the
// tie makes b* follow a*, so a flagged b has no effect and the inversion fails
// instead of returning a cell forced to b* = a*.
TEST(Liens, TriclinicWithEqualAAndBIsTiedAndCannotRefineB) {
    DossierTemporaire dossier;
    Appel appel;
    appel.lettre = 'T';
    const Maille vraie{5.1, 5.1, 7.4, 85.4, 97.3, 102.1};
    reflexions_de(appel, vraie, cuka1, 0.0, 40, 4);
    appel.depart(vraie, cuka1, {2, 3, 4, 5, 6, 7});
    EXPECT_EQ(appel.lance(), "erreur dans matinv CHOLESKI");
    EXPECT_EQ(appel.lettre, 'Q');
}

} // namespace
