#pragma once
// The command line of kovrin-batch: what the user asks, as values checked
// against their domains before any command runs.
#include "affinement/resultats.h"
#include "commun/nombres.h"
#include "indexation.h"
#include "profil/recherche_statistique.h"

#include <array>
#include <optional>
#include <string>
#include <variant>

namespace kovrin::batch {

// Exit statuses.
inline constexpr int sortie_succes = 0;
inline constexpr int sortie_echec_affinement = 1;
inline constexpr int sortie_mauvaise_entree = 2;

// Names of the eight parameters, in the engine's slot order; --refine and the
// JSON output use them.
inline constexpr std::array<const char*, nb_parametres> noms_parametres = {
    "zero", "lambda", "a", "b", "c", "alpha", "beta", "gamma"};

// Kinds of peaks for --keep, codes 1 ... 5.
inline constexpr std::array<const char*, 5> noms_genres = {"alpha", "alpha1", "alpha2", "l1", "l2"};

struct OptionsBatch {
    std::string pics;    // --peaks, absolute once resolved
    int format_pics = 0; // --peak-format; 0: by the name
    std::string profil;  // --profile
    bool recherche = false;
    double seuil = 2.0, largeur_min = 0.10, largeur_max = 1.0;
    std::optional<std::array<bool, 5>> genres_gardes; // --keep
    int anode = -1;                                   // --anode: row of the wavelength list
    std::optional<double> lambda;                     // --lambda
    std::string maille;                               // --cell
    int ligne_systeme = -1;                           // --system: row of the list "System"
    std::string groupe;
    bool hall = false;
    std::array<Saisie, 6> parametres_maille;    // --cellpar, a ... gamma (empty: tied or absent)
    bool domaine = false;                       // --range given
    double angle_min = 0, angle_max = 0;        // degrees 2theta
    double tolerance = 0.1;                     // degrees 2theta
    std::optional<MarquesAffinement> a_affiner; // --refine
    bool excentricite = false;
    bool sans_affinement = false;
    bool rapports = false;
    std::string repertoire; // --workdir
    bool json = false;
    // Beyond the refinement of the tabs.
    bool ajuste_pics = false;     // --fit-peaks
    bool depart_lineaire = false; // --linear-start
    std::string cif;              // --cif, absolute once resolved
    // The search and the pairing that read the data's statistics.
    MethodeRecherche methode = MethodeRecherche::statistique; // --search-method
    double significativite = 3.0;                             // --significance, in sigma
    bool estime_decalage = true;                              // off with --no-zero-estimate
    IndexationBatch indexation;                               // --index and its options
};

// The options, or the exit status when the run must stop (2 after a message on
// standard error, 0 after --help).
std::variant<OptionsBatch, int> lit_options(int argc, char** argv);

} // namespace kovrin::batch
