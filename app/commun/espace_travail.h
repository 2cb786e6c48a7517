#pragma once
// The workspace: every piece of state the program keeps while it runs. One
// instance is created at start and handed by reference to every operation.
// Angles are held in degrees 2theta whatever the display mode; wavelengths in
// angstrom; lists are 1-based with their capacities.
#include "commun/donnees.h"
#include "commun/liste_bornee.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kovrin {

// What became of a peak when its position was fitted on the profile.
enum class EtatAjustement {
    aucun,   // never fitted (read, typed, searched, or outside the profile)
    ajuste,  // its angle is the fitted Kalpha1 position
    echec,   // the fit failed: the peak kept its angle
    deplace, // the fit moved it by more than half its width: it kept its angle
};

struct AjustementPic {
    EtatAjustement etat = EtatAjustement::aucun;
    double largeur = 0;          // fitted FWHM, degrees 2theta
    double aire = 0;             // area of the Kalpha1 line, raw counts x degrees
    double sigma_deux_theta = 0; // standard error of the fitted position, degrees
};

struct Mesure {
    double deux_theta_mes = 0;  // measured angle
    double deux_theta_lu = 0;   // the angle as read or typed (restored by resto_param)
    double intensite_mes = 0;   // intensity (peak area), largest 100 after a file read
    int code_raie = 1;          // kind of peak found by the search: 1 K Alpha ... 5 L2
    AjustementPic ajustement{}; // set by the fit of peak positions only
    // Set by the counting-statistics search only (0 otherwise): net height over
    // its standard uncertainty, and the net height in the profile's raw units.
    double significativite = 0, intensite_nette = 0;
};

// Header of the measured-peak data (set by the peak readers and the wavelength dialog).
struct EntetePics {
    std::string fichier_pics;
    int format_pics = 0; // 1 .dif, 2 XFIT, 3 WINFIT, 4 Philips .di, 5 column .prn, 6 column *.*
    std::string echantillon;
    std::string anode; // at most 2 characters
    double lambda = 0, lambda1 = 0, lambda2 = 0, rapport = 0;
    double angle_debut = 0, angle_fin = 0; // peak angle range of the file
    double echelle_intensite = 0;          // largest raw intensity of the last normalised file
};

struct PointProfil {
    float angle = 0;     // degrees 2theta
    float intensite = 0; // normalised 0 ... 100
};

struct EnteteProfil {
    std::string fichier_profil;
    std::string titre;
    std::string anode; // at most 2 characters; "?" or empty when unknown
    double lambda = 0, lambda1 = 0, lambda2 = 0, rapport = 0;
    double angle_debut = 0, angle_fin = 0, pas = 0;
    double intensite_max_brute = 0, intensite_min_brute = 0;
};

struct RaieCalculee {
    std::int16_t h = 0, k = 0, l = 0;
    float dhkl = 0;
    float deux_theta = 0;
};

struct Paire {
    std::int16_t h = 0, k = 0, l = 0;
    float deux_theta_obs = 0;
    float deux_theta_cal = 0;
};

// R11 R12 R13 T1 R21 R22 R23 T2 R31 R32 R33 T3
using Operateur = std::array<double, 12>;

// A list of space-group symbols shown on the cell tab and its selected entry.
struct ListeSymboles {
    std::vector<std::string> entrees;
    int selection = -1; // 0-based, -1 when nothing is selected
};

// Storage handed to the engine; kept after the call because the result tables read it.
struct TamponsMoteur {
    std::array<std::int16_t, 100> texte{};
    std::int16_t lettre = 0;
    std::array<float, 8> parametres{}, drapeaux{}, erreurs{};
    std::array<float, 500> h{}, k{}, l{}, angles{};
    float accord = 0;
    int npar = 0;
};

// State of the automatic peak search.
struct RecherchePics {
    std::vector<float> profil_lisse;    // aligned with the profile points, index 0 unused
    std::vector<float> derivee_seconde; // scaled so that its largest magnitude is 100
    double seuil = 2.0;
    double largeur_min = 0.10, largeur_max = 1.0;
    int nb_contaminations = 0;
    bool recherche_active = false;
    // The counting-statistics search's curves (0-based): raw angles and values,
    // smoothed values and background, their storage kept from one search to
    // the next.
    std::vector<double> angles_brutes, valeurs_brutes, lisse_brut, fond_brut;
};

struct EspaceTravail {
    // Working wavelength and angle range
    double lambda = 0, lambda1 = 0, lambda2 = 0, rapport = 0;
    std::string anode;
    double angle_min = 0, angle_max = 0;
    double angle_min_initial = 0, angle_max_initial = 0;
    double etendue = 0;
    int mode_affichage = 1; // 0 = theta, 1 = 2theta

    // Measured reflections and their file header
    ListeBornee<Mesure, 500> mesures;
    EntetePics entete_pics;
    std::string ligne_titre; // free title line (cell files, Philips date, written files)

    // Raw profile
    ListeBornee<PointProfil, 30000> profil;
    EnteteProfil entete_profil;
    std::string fichier_profil_sauve; // name the profile was last saved under (RAW2, CPI)
    float intensite_max_profil = -10000.0f;

    // Cell and space group
    std::string systeme; // "CUBI" ... "TRIC", or empty
    std::string groupe;
    std::string origine_groupe; // "HM", "HALL" or empty
    std::string reseau;
    std::string fichier_maille;
    std::array<double, 6> maille{};
    std::array<double, 6> maille_initiale{};
    std::array<double, 6> maille_reciproque{};
    std::array<std::array<double, 3>, 3> matrice_b{};
    ListeBornee<Operateur, 192> operateurs;
    int nb_centrages = 0;
    int champ_actif = 0;
    ListeSymboles liste_hm;    // "No ext." then the symbols of the system's .pos file
    ListeSymboles liste_orsab; // symbols with their Hall notation, from spgr2.dat

    // Calculated reflections, sorted by increasing angle
    ListeBornee<RaieCalculee, 999> calculees;

    // Selected pairs, sorted by observed angle
    ListeBornee<Paire, 500> selection;
    double tolerance = 0.1;

    // Refinement
    int mode_decalage = 1; // 1 zero shift, 2 sample eccentricity
    double decalage = 0;
    std::array<double, 6> maille_affinee{};
    std::array<float, 501> deux_theta_corrige{}; // index 1 ... 500, per selected pair
    bool affinement_ok = false;
    std::string statut_moteur; // status text of the last engine call; empty before any
    TamponsMoteur moteur;

    RecherchePics recherche;

    // Working directory read at start; fixed-name files live there.
    std::filesystem::path repertoire;
    DonneesLues donnees_lues; // spgr2.dat and the .pos files
    // The user was told that hm.txt could not be written: not told again.
    bool hm_txt_non_ecrit_signale = false;
};

// A data header without its wavelengths, anode and file: its data are gone,
// and nothing compares a later file's wavelength with theirs.
template <typename Entete> void efface_longueurs_onde(Entete& e, std::string& fichier) {
    e.lambda = e.lambda1 = e.lambda2 = e.rapport = 0;
    e.anode.clear();
    fichier.clear();
}

// The display mode halves what is shown in theta; stored angles are always 2theta.
inline bool mode_theta(const EspaceTravail& et) {
    return et.mode_affichage == 0;
}
inline double angle_affiche(const EspaceTravail& et, double deux_theta) {
    return mode_theta(et) ? deux_theta / 2.0 : deux_theta;
}

} // namespace kovrin
