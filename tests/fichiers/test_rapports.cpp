#include "fabrique.h"
#include "fichiers/rapports.h"

using namespace kovrin;

namespace {

std::string crlf(const std::vector<std::string>& lignes) {
    std::string t;
    for (const auto& l : lignes)
        t += l + "\r\n";
    return t;
}

EspaceTravail espace_avec_profil(const std::vector<float>& normalisees) {
    EspaceTravail et;
    et.entete_profil = {.fichier_profil = "/data/x/Cu3Au.raw",
                        .titre = "Cu3Au (RAW1)",
                        .anode = "Cu",
                        .lambda = 1.54184,
                        .lambda1 = 1.5406,
                        .lambda2 = 1.54439,
                        .rapport = 0.5,
                        .angle_debut = 22,
                        .angle_fin = 22.12,
                        .pas = 0.05,
                        .intensite_max_brute = 148,
                        .intensite_min_brute = 48};
    for (std::size_t i = 0; i < normalisees.size(); ++i)
        et.profil.ajoute({static_cast<float>(22 + 0.02 * static_cast<double>(i)), normalisees[i]});
    return et;
}

const std::vector<std::string> entete_raw = {
    "File name    :Cu3Au.raw", "sample ID    :Cu3Au (RAW1)", "Anode        :Cu",
    "Ratio        :    0.50",  "Lambda       : 1.54184",     "Lambda1      : 1.54060",
    "Lambda2      : 1.54439",  "Start angle  :   22.00",     "Final angle  :   22.12"};

struct Rapports : test::DansDossier {};

} // namespace

TEST_F(Rapports, RawOutSevenPointsGivesTwoLines) {
    EspaceTravail et = espace_avec_profil({0, 50, 100, 25, 10, 75, 0});
    et.repertoire = dossier.chemin();
    ASSERT_TRUE(rapport_profil(et, d));
    auto lignes = entete_raw;
    lignes.insert(
        lignes.end(),
        {"Step Size    :   0.020", "Nb of points :       7",
         "  22.000      48  22.020      98  22.040     148  22.060      73  22.080      58",
         "  22.100     123  22.120      48"});
    EXPECT_EQ(test::lit_fichier("raw.out"), crlf(lignes));
    ASSERT_EQ(d.journal.size(), 1u);
    EXPECT_EQ(d.journal[0].texte, (dossier.chemin() / "raw.out").string());
}

TEST_F(Rapports, RawOutTenPointsAndOnePoint) {
    EspaceTravail et = espace_avec_profil({0, 10, 20, 30, 40, 50, 60, 70, 80, 100});
    ecrit_raw_out(et, "raw.out");
    std::string t = test::lit_fichier("raw.out");
    EXPECT_EQ(t.substr(t.size() - 82), "  22.100      98  22.120     108  22.140     118  22.160  "
                                       "   128  22.180     148\r\n");
    // One point: the step of the file is printed.
    et = espace_avec_profil({100});
    ecrit_raw_out(et, "one.out");
    auto lignes = entete_raw;
    lignes.insert(lignes.end(),
                  {"Step Size    :   0.050", "Nb of points :       1", "  22.000     148"});
    EXPECT_EQ(test::lit_fichier("one.out"), crlf(lignes));
}

TEST_F(Rapports, DifOut) {
    EspaceTravail et;
    auto& e = et.entete_pics;
    e.fichier_pics = "C:\\data\\si.dif";
    e.echantillon = "Si 640d";
    e.anode = "Cu";
    e.rapport = 0.5;
    e.lambda = e.lambda1 = 1.5406;
    e.lambda2 = 1.54439;
    e.echelle_intensite = 2000;
    et.mesures.ajoute({28.442, 28.442, 100});
    et.mesures.ajoute({47.302, 47.302, 55});
    et.mesures.ajoute({56.121, 56.121, 30.25});
    ASSERT_TRUE(rapport_pics(et, d));
    EXPECT_EQ(test::lit_fichier("dif.out"),
              crlf({"File name    :si.dif", "sample ID    :Si 640d", "Anode        :Cu",
                    "Ratio        :    0.50", "Lambda       : 1.54060", "Lambda1      : 1.54060",
                    "Lambda2      : 1.54439", "Nb of peaks  : 3", "", "  N  2Theta  Intensity",
                    "  1  28.442    2000", "  2  47.302    1100", "  3  56.121     605"}));
    // A list never scaled (typed, or a column file) prints its intensities as they are.
    e.echelle_intensite = 0;
    ecrit_dif_out(et, "dif.out");
    EXPECT_NE(test::lit_fichier("dif.out").find("  2  47.302      55\r\n"), std::string::npos);
}

TEST_F(Rapports, IndxOutFullAndShort) {
    EspaceTravail et;
    et.fichier_maille = "cells/si.cry";
    et.groupe = "FD-3M";
    et.maille = {5.4309, 5.4309, 5.4309, 90, 90, 90};
    et.lambda = 1.5406;
    et.calculees.ajoute({1, 1, 1, 3.1355f, 28.444f});
    et.calculees.ajoute({2, 0, 0, 2.9766f, 30.0f});
    ASSERT_TRUE(rapport_raies(et, d));
    EXPECT_EQ(
        test::lit_fichier("indx.out"),
        crlf({"File name    :si.cry", "Space Group  :FD-3M", "a            :  5.4309",
              "b            :  5.4309", "c            :  5.4309", "alpha        :  90.000",
              "beta         :  90.000", "gamma        :  90.000", "Lambda       : 1.54060",
              "Nb. of refl. :       2", "", "  N  h  k  l    Dhkl  2Theta   Theta",
              "  1  1  1  1  3.1355  28.444  14.222", "  2  2  0  0  2.9766  30.000  15.000"}));
    ASSERT_TRUE(liste_raies_indx(et, d));
    EXPECT_EQ(test::lit_fichier("indx.out"),
              crlf({"Lambda:    1.54060",
                    "Cell  :     5.4309    5.4309    5.4309    90.000    90.000    90.000",
                    "Group : FD-3M", "   Nb   h   k   l   Dhkl   Bragg",
                    "    1   1   1   1  3.1355  28.444", "    2   2   0   0  2.9766  30.000"}));
}

TEST_F(Rapports, EntryChecksAndTheShortListingsOldFile) {
    EspaceTravail et;
    EXPECT_FALSE(rapport_profil(et, d));
    EXPECT_FALSE(rapport_pics(et, d));
    EXPECT_FALSE(rapport_raies(et, d));
    EXPECT_EQ(d.erreurs(), (std::vector<std::string>{"No diagram!", "No measured peaks!",
                                                     "No calculated peaks!"}));
    // The short listing deletes the old one and stays silent when there is nothing.
    test::ecrit_fichier("indx.out", "old");
    d.vide();
    EXPECT_FALSE(liste_raies_indx(et, d));
    EXPECT_FALSE(std::filesystem::exists("indx.out"));
}
