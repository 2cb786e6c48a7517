#pragma once
// Peak positions by profile fitting: every measured peak inside the raw
// profile is refined by weighted least squares on a window of the profile
// around it, as a pseudo-Voigt line (position, FWHM, mixing, area) with its
// Kalpha2 companion at the angle and intensity ratio of the profile header's
// lambda1, lambda2 and ratio (a single line when lambda2 is not known), on a
// linear background. Peaks whose windows overlap are fitted together. The
// solver is GSL's trust-region Levenberg-Marquardt (gsl_multifit_nlinear).
#include "commun/espace_travail.h"

namespace kovrin {

struct BilanAjustement {
    int ajustes = 0;            // angles replaced by the fitted Kalpha1 positions
    int echecs = 0;             // fits that failed: angles kept, marked
    int deplaces = 0;           // moved by more than half their width: angles kept, marked
    int hors_profil = 0;        // outside the profile: not fitted
    int compagnons_retires = 0; // peaks the search marked as Kalpha2, modelled by the doublet
    bool doublet = false;       // the Kalpha2 companion was modelled
};

// Fits the measured peaks on the profile of the workspace; each peak keeps its
// result in Mesure::ajustement. With a doublet, the peaks of kind Kalpha2 are
// removed first. Nothing happens without profile points.
BilanAjustement ajuste_positions(EspaceTravail& et);

// "fitted", "failed", "moved"; empty for a peak never fitted.
const char* nom_etat_ajustement(EtatAjustement etat);

// The angle of the Kalpha2 line of a Kalpha1 line at `deux_theta` (degrees),
// for the wavelength ratio lambda2 / lambda1.
double deux_theta_compagnon(double deux_theta, double rapport_longueurs);

} // namespace kovrin
