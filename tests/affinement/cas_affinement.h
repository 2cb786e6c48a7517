#pragma once
// Workspaces with their pairs built directly (no matching), and a stand-in for
// the engine that records what it was sent and answers with set values.
#include "affinement/affinement.h"
#include "commun/espace_travail.h"
#include "commun/fichier_texte.h"
#include "saisies.h"

#include <gemmi/unitcell.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace kovrin::test {

inline constexpr double pi = 3.14159265358979323846;

// 2theta (degrees) of h k l in any cell (a, b, c, alpha, beta, gamma in
// degrees), from gemmi's cell.
inline double deux_theta_maille(const std::array<double, 6>& m, int h, int k, int l,
                                double lambda) {
    const gemmi::UnitCell cellule(m[0], m[1], m[2], m[3], m[4], m[5]);
    return 2 * std::asin(lambda * std::sqrt(cellule.calculate_1_d2({h, k, l})) / 2) * 180 / pi;
}

inline double deux_theta_orthogonal(double a, double b, double c, int h, int k, int l,
                                    double lambda) {
    return deux_theta_maille({a, b, c, 90, 90, 90}, h, k, l, lambda);
}

inline void ajoute_paire(EspaceTravail& e, int h, int k, int l, double obs, double cal) {
    e.selection.ajoute({static_cast<std::int16_t>(h), static_cast<std::int16_t>(k),
                        static_cast<std::int16_t>(l), static_cast<float>(obs),
                        static_cast<float>(cal)});
}

// Every h k l with |h|, |k| <= 3, 0 <= l <= 3 (not 0 0 0) whose angle lies
// below `deux_theta_max`, paired at that angle plus `decalage` plus a normal
// error of deviation `bruit` (fixed seed), sorted by angle.
inline void paires_de_maille(EspaceTravail& e, const std::array<double, 6>& m, double lambda,
                             double decalage, double bruit, double deux_theta_max = 100) {
    std::mt19937 generateur(2024);
    std::normal_distribution<double> erreur(0.0, bruit);
    std::vector<std::array<double, 4>> raies;
    for (int h = -3; h <= 3; ++h)
        for (int k = -3; k <= 3; ++k)
            for (int l = 0; l <= 3; ++l) {
                if (h == 0 && k == 0 && l == 0) continue;
                const double angle = deux_theta_maille(m, h, k, l, lambda);
                if (angle < deux_theta_max)
                    raies.push_back({angle, double(h), double(k), double(l)});
            }
    std::sort(raies.begin(), raies.end());
    e.selection.efface();
    for (const auto& r : raies)
        ajoute_paire(e, int(r[1]), int(r[2]), int(r[3]),
                     r[0] + decalage + (bruit > 0 ? erreur(generateur) : 0.0), r[0]);
}

inline void ajoute_mesure(EspaceTravail& e, double deux_theta) {
    e.mesures.ajoute({deux_theta, deux_theta, 100});
}

// The fields of the refinement tab: wavelength 1.5406, no shift, the given marks.
inline ChampsAffinement champs_affinement(const std::vector<int>& rangs) {
    ChampsAffinement c;
    c.lambda_initial = test::saisie("1.5406");
    c.decalage_initial = test::saisie("0");
    for (int r : rangs)
        c.a_affiner[static_cast<std::size_t>(r)] = true;
    return c;
}
inline ChampsAffinement champs_affinement(std::initializer_list<int> rangs) {
    return champs_affinement(std::vector<int>(rangs));
}

// The committed fixture file `nom` of this folder.
inline std::filesystem::path donnees(const std::string& nom) {
    return std::filesystem::path(KOVRIN_TEST_DATA_DIR) / "affinement" / nom;
}

// A written file against its hand-written counterpart, line by line.
inline void compare_lignes(const std::filesystem::path& ecrit,
                           const std::filesystem::path& attendu) {
    auto a = lit_lignes(attendu);
    auto e = lit_lignes(ecrit);
    ASSERT_EQ(e.size(), a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_EQ(e[i], a[i]) << "line " << i + 1;
}

// What the stand-in engine saw and what it answers.
struct MoteurSimule {
    // Seen at the call.
    int nb_appels = 0;
    std::string titre;
    std::int16_t lettre = 0;
    std::array<float, 8> parametres{}, drapeaux{};
    std::vector<std::array<float, 4>> reflexions; // h, k, l, 2theta up to the first 0 angle
    // Answer.
    std::string statut = "Fin normale";
    std::array<float, 8> parametres_affines{}, erreurs{};
    std::vector<float> theta_calcules; // per reflection, degrees
    float accord = 0;
};

inline MoteurSimule moteur_simule;

inline void calcul_simule(std::int16_t* texte, std::int16_t* lettre, float* parametres,
                          float* drapeaux, float* erreurs, float* h, float* k, float* l,
                          float* angles, float* accord) {
    MoteurSimule& m = moteur_simule;
    ++m.nb_appels;
    m.titre.assign(texte + 1, texte + 1 + texte[0]);
    m.lettre = *lettre;
    std::copy(parametres, parametres + 8, m.parametres.begin());
    std::copy(drapeaux, drapeaux + 8, m.drapeaux.begin());
    m.reflexions.clear();
    for (int i = 0; i < 500 && angles[i] != 0.0f; ++i)
        m.reflexions.push_back({h[i], k[i], l[i], angles[i]});
    // The answer, as the engine leaves it in its arguments.
    std::fill(texte, texte + 100, std::int16_t{0});
    texte[0] = static_cast<std::int16_t>(m.statut.size());
    for (std::size_t i = 0; i < m.statut.size(); ++i)
        texte[i + 1] = static_cast<std::int16_t>(m.statut[i]);
    if (drapeaux[0] == -1.0f) drapeaux[0] = 1.0f;
    std::copy(m.parametres_affines.begin(), m.parametres_affines.end(), parametres);
    std::copy(m.erreurs.begin(), m.erreurs.end(), erreurs);
    for (std::size_t i = 0; i < m.theta_calcules.size(); ++i)
        angles[i] = m.theta_calcules[i];
    *accord = m.accord;
}

// A fresh stand-in answering a cubic cell of edge a.
inline void reponse_cubique(float decalage, float lambda, float a) {
    moteur_simule = {};
    moteur_simule.parametres_affines = {decalage, lambda, a, a, a, 90, 90, 90};
}

// The small orthorhombic case of the committed kovrin.inp, kovrin.out and
// Excel files: four pairs, one measured reflection left unpaired, the shift
// refined as eccentricity with a and b.
inline EspaceTravail espace_orthorhombique() {
    EspaceTravail e;
    e.systeme = "ORTH";
    e.maille = {4.0, 5.0, 6.0, 90, 90, 90};
    e.maille_initiale = e.maille;
    e.lambda = 1.5406;
    e.entete_pics.fichier_pics = "/home/user/mesures/quartz.dif";
    e.mode_decalage = 2;
    for (double m : {22.218, 27.500, 29.768, 32.297, 45.318})
        ajoute_mesure(e, m);
    ajoute_paire(e, 1, 0, 0, 22.218, 22.206);
    ajoute_paire(e, 0, 0, 2, 29.768, 29.757);
    ajoute_paire(e, 1, 1, 1, 32.297, 32.286);
    ajoute_paire(e, 2, 0, 0, 45.318, 45.306);
    return e;
}

inline ChampsAffinement champs_orthorhombiques() {
    ChampsAffinement c;
    c.lambda_initial = test::saisie(" 1.54060"); // as the box shows it, 8:5
    c.decalage_initial = test::saisie("0.01");
    c.a_affiner[rang_decalage] = c.a_affiner[rang_a] = c.a_affiner[rang_b] = true;
    return c;
}

// The engine's answer for that case.
inline void reponse_orthorhombique() {
    moteur_simule = {};
    moteur_simule.parametres_affines = {0.0123f, 1.5406f, 4.0012f, 5.0021f, 6.0f, 90, 90, 90};
    moteur_simule.erreurs = {0.0011f, 0, 0.0004f, 0.0006f, 0, 0, 0, 0};
    moteur_simule.theta_calcules = {11.0997f, 14.8783f, 16.1383f, 22.6459f};
    moteur_simule.accord = 0.0042f;
}

} // namespace kovrin::test
