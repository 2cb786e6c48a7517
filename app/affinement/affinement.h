#pragma once
// The refinement driver: from the selected pairs, the cell, the wavelength and
// the angular shift to one call of the engine `calcul`, and back.
#include "affinement/resultats.h"
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "cristallo/onglet_maille.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kovrin {

// The engine entry, with calcul's ten by-reference arguments.
using FonctionCalcul = void (*)(std::int16_t* texte, std::int16_t* lettre, float* parametres,
                                float* drapeaux, float* erreurs, float* h, float* k, float* l,
                                float* angles, float* accord);

// What the refinement tab hands to the driver: the values of the two editable
// "Initial" boxes and the "To refine" marks.
struct ChampsAffinement {
    Saisie lambda_initial;
    Saisie decalage_initial;
    MarquesAffinement a_affiner{};
};

// The marks of the cell tab's order (a ... gamma, shift, lambda) in slot order.
MarquesAffinement marques_affinement(const OngletMaille& onglet_maille);
// The marks ticked in the cell tab's order (a ... gamma, shift, lambda).
void coche_marques(OngletMaille& onglet_maille, const MarquesAffinement& m);

inline constexpr std::string_view statut_succes = "Fin normale";

// Title sent to the engine: the peak file name without its directory, or
// "No Title"; at most 99 characters (the engine's text holds 99 codes).
std::string titre_affinement(const std::string& fichier_pics);

// Fills slots 1 ... 8 and their flags of `tampons` from the cell of the
// workspace, the two boxes and the marks; `lambda` receives the wavelength
// typed. Returns true to go on, false after an error message. The workspace is
// not changed: the caller stores `lambda` once the refinement goes ahead.
bool prepare_parametres(const EspaceTravail& espace, const ChampsAffinement& champs,
                        TamponsMoteur& tampons, double& lambda, Dialogues& dialogues);

// Start value of a cubic cell: the mean of d * sqrt(h^2 + k^2 + l^2) over the pairs.
double valeur_depart_cubique(const EspaceTravail& espace, double lambda);

// The record of the engine input, kovrin.inp (CR LF lines, fixed fields).
void ecrit_kovrin_inp(const std::filesystem::path& chemin, const TamponsMoteur& tampons);

// Status text left by the engine in its text argument.
std::string statut_moteur(const TamponsMoteur& tampons);

// One refinement. On "Fin normale" the workspace takes the refined cell, the
// shift, the corrected angles and the engine buffers, the tab shows the
// results and true is returned; on any failure (after its message) the
// workspace keeps what it had (only affinement_ok goes off after an engine
// failure) and the tab keeps its texts.
bool lance_affinement(EspaceTravail& espace, const ChampsAffinement& champs,
                      OngletAffinement& onglet, Dialogues& dialogues,
                      FonctionCalcul moteur = nullptr);

// The angular term at an observed angle: a constant zero shift (mode 1) or the
// eccentricity term times cos(theta) (mode 2).
double terme_angulaire(int mode_decalage, double decalage, double deux_theta);

} // namespace kovrin
