#pragma once
// Ab initio indexing of a powder pattern: from the measured line positions and
// the wavelength, the cells that index them, best first. Cubic to
// orthorhombic lattices are searched exhaustively by successive dichotomy of
// their parameters within the volume limit (Louer & Louer 1972; Boultif &
// Louer 1991), so that an empty answer means no such cell below that volume;
// the monoclinic and triclinic lattices by zones (Visser 1969), combined into
// trial cells whose indices and metric are fitted in turn. Every candidate is refined in Q = 1/d^2
// (cell and zero, by linear least squares), reduced (Niggli), merged with its equivalents and
// multiples, and ranked by de Wolff's M(20), weighed against the parameters
// fitted per indexed line (the M(20) reported is de Wolff's own). The systems
// go from high to low symmetry, and the searches by zones only while no
// solution of higher symmetry convinces.
#include "affinement/merite.h"
#include "cristallo/geometrie.h"
#include "indexation/reseaux.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace kovrin {

struct OptionsIndexation {
    // By Systeme.
    std::array<bool, 7> systemes{true, true, true, true, true, true, true};
    double volume_max = 3000; // angstrom^3
    int non_indexees_max = 2; // among the first 20 lines
    bool zero = true;         // search a zero shift
    double zero_max = 0.1;    // degrees 2theta, either side
    double duree_max = 60;    // seconds
    int fils = 0;             // threads; 0: the machine's cores
    std::uint64_t graine = 1; // of any random choice of the search
    double tolerance = 0.03;  // degrees 2theta: the lines' own scatter
    double arete_max = 25;    // angstrom: the longest edge searched
    double m20_min = 8;       // solutions below are not reported
    // The parameter boxes tested before the monoclinic search by zones, at the
    // latest (it bounds the boxes left when it finds a small cell).
    long long boites_avant_zones = 4'000'000;
    // The lower systems are searched even below a solution that convinces
    // (see ResultatIndexation::systemes_omis).
    bool tous_systemes = false;
};

struct SolutionIndexation {
    Reseau reseau = Reseau::aP;
    Maille maille{};             // conventional cell
    double volume = 0, zero = 0; // zero: to subtract from the measured 2theta
    FiguresMerite figures;
    int non_indexees = 0; // among the first 20 lines
    // M(20) for the ranking: the unindexed lines, of all those given, count
    // as lines indexed with their distance to the nearest calculated line
    // (within bounds), so that a cell that leaves lines out gives way to one
    // that indexes them as precisely (the lines past the 20th decide between
    // cells that share the zone of nearly all the first ones).
    double m20_classement = 0;
    // The same without the unindexed lines three tolerances or more from
    // every calculated line (no slight distortion of the cell would index
    // them): how surely the cell leaves no room for a lower system.
    double m20_hors_isolees = 0;
    std::vector<std::array<int, 3>> indices; // of the first 20 lines; 0 0 0: unindexed
    Systeme systeme() const { return fiche(reseau).systeme; }
};

struct ProgresIndexation {
    long long essais = 0;    // parameter boxes tested
    double meilleur_m20 = 0; // of the solutions found so far
};

struct ResultatIndexation {
    std::vector<SolutionIndexation> solutions; // best first
    long long essais = 0;
    bool annulee = false, temps_ecoule = false;
    // By Systeme: asked for, but searched in part or not at all, as a
    // solution of higher symmetry convinced (OptionsIndexation::tous_systemes
    // searches them all). "No cell of these systems" is then no statement.
    std::array<bool, 7> systemes_omis{};
};

// Called from the search threads, one call at a time, a few times a second.
using RappelProgres = std::function<void(const ProgresIndexation&)>;

// The measured lines in degrees 2theta (any order) at wavelength `lambda`.
// `annulation`, when given, stops the search as soon as it turns true: the
// solutions found so far are returned.
ResultatIndexation indexe(const std::vector<double>& deux_theta, double lambda,
                          const OptionsIndexation& options, const RappelProgres& progres = {},
                          const std::atomic<bool>* annulation = nullptr);

// Same lattice within 0.5 % on the lengths and 0.5 degree on the angles of
// the two Niggli-reduced primitive cells (the check of the benchmark too).
bool meme_reseau(const Maille& a, char centrage_a, const Maille& b, char centrage_b,
                 double tolerance_longueurs = 0.005, double tolerance_angles = 0.5);

// The Niggli-reduced primitive cell of a conventional cell of that centring.
Maille maille_reduite(const Maille& maille, char centrage);

} // namespace kovrin
