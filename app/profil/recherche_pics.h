#pragma once
// Automatic peak search on the raw profile: smoothing, second derivative, the
// scan of its negative lobes, the marking of Kalpha2 and contamination lines,
// and the keeping of chosen kinds of peaks. The found peaks replace the
// measured reflections of the workspace.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "commun/nombres.h"
#include "profil/trace.h"

#include <array>
#include <optional>
#include <string>

namespace kovrin {

// Kinds of peaks (code_raie).
inline constexpr int raie_k_alpha = 1;
inline constexpr int raie_k_alpha1 = 2;
inline constexpr int raie_k_alpha2 = 3;
inline constexpr int raie_l1 = 4;
inline constexpr int raie_l2 = 5;
inline constexpr int nb_genres_raie = 5;

// "K Alpha", "K Alpha1", "K Alpha2", "L1 (K beta)", "L2 (WL Alpha)"; empty
// outside 1 ... 5.
std::string nom_genre_raie(int code);
// Black, blue, red, green, purple for codes 1 ... 5; black otherwise.
Couleur couleur_genre_raie(int code);

// The four boxes of the panel " Source contamination", as prefilled or typed.
struct ChampsContamination {
    Saisie longueur_l1, pourcentage_l1;
    Saisie longueur_l2, pourcentage_l2;
};
// What a box shows: a space and the value's shortest text; an unreadable text
// stays as typed.
std::optional<std::string> texte_contamination(const Saisie& boite);

// Positions of the three track bars of the panel "Peak Search parameters".
struct PositionsRecherche {
    int seuil = 20;       // 1 ... 100
    int largeur_min = 10; // 1 ... 50
    int largeur_max = 10; // 1 ... 50
};

// Limits of the search: depth threshold (scaled second derivative), widths
// in degrees 2theta.
struct LimitesRecherche {
    double seuil = 2.0;
    double largeur_min = 0.10, largeur_max = 1.0;
};
// The limits the track bars stand for (a threshold of at least 0.01).
LimitesRecherche limites_de_positions(const PositionsRecherche& positions);
// The limits the workspace holds (set by the track bars or typed).
LimitesRecherche limites_courantes(const RecherchePics& recherche);

// One limit of the panel, with its track bar and its box.
enum class LimiteRecherche { seuil, largeur_min, largeur_max };
inline constexpr std::array<LimiteRecherche, 3> limites_recherche = {
    LimiteRecherche::seuil, LimiteRecherche::largeur_min, LimiteRecherche::largeur_max};
// The track bar's range (from 1) and the limit a position stands for.
int position_maximale(LimiteRecherche quelle);
double limite_de_position(LimiteRecherche quelle, int position);
// The nearest position of a limit, within the bar's range.
int position_de_limite(LimiteRecherche quelle, double limite);
double& limite(RecherchePics& recherche, LimiteRecherche quelle);
double limite(const RecherchePics& recherche, LimiteRecherche quelle);
// The text of the box: the bar's format ("2.0", "0.10", "1.00") for a value a
// position stands for, the shortest text of a typed one otherwise.
std::string texte_limite(LimiteRecherche quelle, double valeur);
// A typed limit: positive, and the smallest width no larger than the largest.
std::optional<std::string> refus_limite(const RecherchePics& recherche, LimiteRecherche quelle,
                                        double valeur);

// "&Peak Search": opens the search (recherche_active), computes the smoothed
// profile and the second derivative scaled to 100, and returns the prefilled
// contamination boxes. Nothing happens without a profile.
std::optional<ChampsContamination> prepare_recherche(EspaceTravail& espace, Dialogues& d);

// "Search": reads the limits, empties the measured reflections and searches.
void lance_recherche(EspaceTravail& espace, const LimitesRecherche& limites,
                     const ChampsContamination& contamination, Dialogues& d);

// The scan of the scaled second derivative; found peaks (in increasing angle)
// replace the measured reflections.
void cherche_pics(EspaceTravail& espace, const ChampsContamination& contamination, Dialogues& d);

// First profile point whose angle exceeds `angle`; 0 when none does. By
// bisection when `croissant` (see angles_croissants), else by a scan from the
// first point.
int position_vers_indice(const ListeBornee<PointProfil, 30000>& profil, double angle,
                         bool croissant = false);
// The profile's intensity at `angle`, linearly between the two points around
// it; the first or last point's outside the profile (0 without points).
// `croissant` as for position_vers_indice.
double intensite_au_angle(const ListeBornee<PointProfil, 30000>& profil, double angle,
                          bool croissant = false);
// True when no angle of the profile is below the one before it (a NaN fails).
bool angles_croissants(const ListeBornee<PointProfil, 30000>& profil);

// Codes of the measured reflections: 4 and 5 for lines of the contaminating
// wavelengths L1 and L2, 2 and 3 for Kalpha1/Kalpha2 pairs, 1 otherwise.
void marque_contaminations(EspaceTravail& espace, const ChampsContamination& contamination,
                           Dialogues& d);

// "Select the peaks to be kept": the selection panel may be shown.
bool choix_genres_possible(const EspaceTravail& espace);

// OK of the selection panel (the handler BitBtn7Click): keeps the peaks whose
// kind is ticked, gardes[code - 1], in order; every other code is dropped.
void garde_genres_choisis(EspaceTravail& espace, const std::array<bool, nb_genres_raie>& gardes);

// "Close" of the search panel.
void ferme_recherche(EspaceTravail& espace);

} // namespace kovrin
