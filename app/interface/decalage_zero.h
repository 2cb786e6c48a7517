#pragma once
// Pairing that finds the zero shift: the common shift of 2theta (or, in
// eccentricity mode, the eccentricity term, applied with its cos(theta) law)
// within +-1 degree that brings the most measured reflections within the
// tolerance of a calculated one, ties broken by the smallest |sum of
// residuals|. The count only changes where a shifted measured angle crosses
// the edge of a calculated reflection's tolerance, and the nearest calculated
// reflection only where it crosses a midpoint between two: the scan visits
// those shifts exactly, and in each stretch between them the shift whose
// residuals sum to zero, clamped into the stretch.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

inline constexpr double decalage_estime_max = 1.0; // degrees

// The pairing of a set of measured angles at one shift.
struct Appariement {
    double decalage = 0;      // degrees 2theta (mode 1) or eccentricity term (mode 2)
    int appariees = 0;        // measured angles within the tolerance once shifted
    double somme_residus = 0; // sum of (measured - shift term - calculated) over them
};

// Measured angles, and calculated angles in increasing order (degrees 2theta);
// mode_decalage 1 for a zero shift, 2 for the eccentricity's cos(theta) law.
Appariement apparie_a(const std::vector<double>& mesures, const std::vector<double>& calculees,
                      double tolerance, int mode_decalage, double decalage);
Appariement estime_decalage(const std::vector<double>& mesures,
                            const std::vector<double>& calculees, double tolerance,
                            int mode_decalage);

// "−0.262°": three decimals, the minus sign U+2212, no sign on a zero.
std::string texte_degres(double valeur);
// "Zero shift estimated at −0.262° (9 of 10 measured reflections within
// 0.100°)" ("Eccentricity estimated at ..." in mode 2).
std::string texte_decalage_estime(const Appariement& a, int nb_mesures, double tolerance,
                                  int mode_decalage);
// "7 of 11 measured reflections paired within 0.100°"; the second form says
// why when none was paired.
std::string texte_compte_paires(int appariees, int nb_mesures, double tolerance);
std::string texte_appariement(int appariees, int nb_mesures, double tolerance, bool estime);

// The measured angles inside the current range, and the calculated angles.
std::vector<double> mesures_dans_domaine(const EspaceTravail& et);
std::vector<double> angles_calcules(const EspaceTravail& et);

// For "Automatic Selection" by the plain rule: when it pairs fewer than half
// of the measured reflections in range and the estimated shift would pair
// more than half and at least two more, the question "Only 0 of 7 measured
// reflections paired within 0.100°; with a zero shift of −0.262°, 7 would.
// Pair with this shift?" and the shift.
struct OffreDecalage {
    std::string question;
    double decalage = 0;
};
std::optional<OffreDecalage> offre_decalage(const EspaceTravail& et);

// After a pairing with an anode's weighted mean Kalpha (or its Kalpha1) as the
// working wavelength: when the other would pair more than half of the measured
// reflections in range and at least two more, the remark "With Kα1 (1.54056
// Å) as the working wavelength, 11 of 11 measured reflections would pair
// (7 now): the peaks look like Kα1 positions."
std::optional<std::string> remarque_autre_lambda(const EspaceTravail& et);

// Automatic selection with the shift estimated first (`estime`) or by the
// plain rule: pairs the measured reflections of the current range, shifted,
// to their nearest calculated reflection within the tolerance; the estimate
// becomes the refinement's starting shift; the message says what was paired.
Rafraichissement selection_avec_decalage(EspaceTravail& et, EtatPrincipal& ep, bool estime,
                                         Dialogues& d);

// "Automatic Selection" of tab 3: with "Estimate the zero shift" ticked, the
// pairing with the shift estimated; otherwise the plain rule, and when a
// shift would pair clearly more, the offer of it (offre_decalage), which
// accepted pairs again with the shift. Each pairing says what it paired.
Rafraichissement selection_du_bouton(EspaceTravail& et, EtatPrincipal& ep, Dialogues& d);

} // namespace kovrin
