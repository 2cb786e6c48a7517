#pragma once
// Peak search from counting statistics, beside the second-derivative search.
// The background is estimated by iterative smoothing and clipping (S.
// Brückner, J. Appl. Cryst. 33 (2000) 977-979) of the smoothed profile, with a
// window a few peak widths wide; the noise of each smoothed point comes from
// the counts (Poisson: variance = counts) or, when the values are not counts,
// from the scatter of the profile about its background. A peak is accepted
// where the smoothed net signal stays above k sigma over at least the smallest
// peak width, at a top where the profile bends down (its second derivative
// one standard uncertainty below zero: the tail of a strong line under a
// background that follows it loosely gives none); a second top within the same stretch counts when
// it stands out by k sigma from the dip that separates it from a higher one.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "profil/recherche_pics.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kovrin {

// The two searches of the profile: the second derivative of the smoothed
// profile against a depth, or counting statistics.
enum class MethodeRecherche { derivee_seconde, statistique };

struct ReglagesStatistiques {
    double k = 3.0;                               // threshold, in standard uncertainties
    double largeur_min = 0.10, largeur_max = 1.0; // degrees 2theta
};

// One accepted peak, in the profile's raw units.
struct PicSignificatif {
    double angle = 0;         // degrees 2theta
    double hauteur_nette = 0; // smoothed profile less background at the top
    double sigma = 0;         // standard uncertainty of that height
    double largeur = 0;       // full width at half height, degrees
    double significativite() const { return hauteur_nette / sigma; }
};

// One analysis: the smoothed values and the background, aligned with the
// profile points (0-based), and the noise model behind their uncertainties.
struct AnalyseBruit {
    std::vector<double> lisse, fond;
    bool comptes = false;                // the variance of a point is its count
    double gain = 1;                     // else g: the variance is g times the value...
    bool variance_constante = false;     // ...or g itself
    double sigma(std::size_t i) const;   // of lisse[i]
    double derivee(std::size_t i) const; // second derivative of `lisse` at i, per step
    double sigma_derivee(std::size_t i) const;

  private:
    double variance(std::size_t i) const;
};

// Raw values that are counts: non-negative whole numbers within `precision`.
bool valeurs_de_comptage(const std::vector<double>& brutes, double precision);

// Smoothing, background and noise of a profile at increasing angles; the
// second form fills `analyse`, reusing its storage.
AnalyseBruit analyse_bruit(const std::vector<double>& angles, const std::vector<double>& brutes,
                           bool comptes, const ReglagesStatistiques& reglages);
void analyse_bruit(const std::vector<double>& angles, const std::vector<double>& brutes,
                   bool comptes, const ReglagesStatistiques& reglages, AnalyseBruit& analyse);

// The accepted peaks, in increasing angle.
std::vector<PicSignificatif> pics_significatifs(const std::vector<double>& angles,
                                                const AnalyseBruit& analyse,
                                                const ReglagesStatistiques& reglages);

// Angles and raw values of the workspace's profile (the reader's scale undone),
// and whether those values are counts.
struct ProfilBrut {
    std::vector<double> angles, valeurs;
    bool comptes = false;
};
ProfilBrut profil_brut_de(const EspaceTravail& espace);
void profil_brut_de(const EspaceTravail& espace, ProfilBrut& profil);

// The search on the workspace: its peaks (at most 500, "Too many peaks (> 500)"
// past them) replace the measured reflections, each with its significance and
// net intensity; Kalpha2 companions and contamination lines are marked as the
// second-derivative search marks them. A profile whose angles do not increase
// gives no peak.
void cherche_pics_statistiques(EspaceTravail& espace, const ReglagesStatistiques& reglages,
                               const ChampsContamination& contamination, Dialogues& d);

// The significance and net intensity of every measured reflection as the
// search by counting statistics would give them at its angle (a
// second-derivative search leaves them at 0); unchanged when the profile
// cannot be analysed.
void note_significativites(EspaceTravail& espace);

// After a second-derivative search: when fewer than half of its peaks stand
// k sigma above the background, the offer of the other method, "205 peaks
// found, 9 of them above 3 σ: use Counting statistics?".
std::optional<std::string> offre_methode_statistique(const EspaceTravail& espace, double k = 3.0);

} // namespace kovrin
