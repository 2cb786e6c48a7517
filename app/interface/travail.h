#pragma once
// One job from the files to the refined cell, as kovrin-batch, the window
// capture and the tests run it: each step is a command of the windows, given
// what a user gives its dialogs, so that every road takes the same steps.
#include "affinement/resultats.h"
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"
#include "interface/prise_donnees.h"
#include "interface/session_batch.h"

#include <filesystem>
#include <optional>

namespace kovrin {

// A file taken in as `genre`: peaks (in `format`, 0 for the one its name
// gives), a profile, or a cell. A peak or profile file that carries no
// wavelength takes `source`, the wavelength dialog's answer; refused without.
Rafraichissement prend_fichier(EspaceTravail& et, EtatPrincipal& ep,
                               const std::filesystem::path& fichier, GenreFichier genre, int format,
                               const std::optional<LongueursOnde>& source, Dialogues& d);

// The shift and what the crystal system leaves free in the cell tab.
MarquesAffinement marques_usuelles(const EtatPrincipal& ep);

// The pairs refined with the "To refine" marks `marques`, the shift as a zero
// shift or as sample eccentricity, starting from the working values (or from
// `lambda_initial` for the wavelength).
Rafraichissement affine_paires(EspaceTravail& et, EtatPrincipal& ep,
                               const MarquesAffinement& marques, bool excentricite,
                               std::optional<double> lambda_initial, Dialogues& d);

} // namespace kovrin
