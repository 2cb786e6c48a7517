#pragma once
// Space groups: the two lists of symbols offered for a crystal system, the
// loading of the symmetry operators (from the .pos files or through liborsab
// and scfs.dat), the lattice-centring translations and the test of allowed
// reflections.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

// Operator file of a crystal system: "C.pos" for "CUBI", "q.pos" for "TETR"...;
// empty for an unknown code.
std::string fichier_pos(const std::string& systeme);

// Fills et.liste_orsab from spgr2.dat for et.systeme and restores the selection
// of et.groupe. When spgr2.dat is found nowhere, throws ArretProgramme ("The
// file SPGR2.Dat was not found"): the program ends, the list as it was.
void remplit_liste_orsab(EspaceTravail& et);
// The same from the given copy of spgr2.dat.
void remplit_liste_orsab(EspaceTravail& et, const std::filesystem::path& spgr2);

// Fills et.liste_hm ("No ext." then every symbol of the system's .pos file) and
// restores the selection of et.groupe. Throws ErreurKovrin when the file cannot
// be read; the list then keeps its previous entries.
void remplit_liste_hm(EspaceTravail& et);

// The parts of an entry of the Orsab list: the H-M symbol (its first 12
// characters) and the Hall symbol after it, both trimmed.
std::string symbole_hm_orsab(std::string_view entree);
std::string symbole_hall_orsab(std::string_view entree);

// Every block of the system's .pos file with the operators charge_operateurs_hm
// installs for it (inversion and centring applied), in file order; a block that
// cannot be read is left out. Throws ErreurKovrin when the file cannot be read.
struct BlocPos {
    std::string symbole; // upper-cased and trimmed, as et.groupe is compared
    std::vector<Operateur> operateurs;
};
std::vector<BlocPos> blocs_pos(const EspaceTravail& et);

// A click in the H-M list on entry `entree` (0-based): the Orsab list loses its
// selection, et.groupe = the entry upper-cased and trimmed, et.origine_groupe =
// "HM". The caller then generates the reflections (calcul_raies).
void choisit_groupe_hm(EspaceTravail& et, int entree);
// A click in the Orsab list: scfs2.dat is deleted, the H-M list loses its
// selection, et.groupe = the first 12 characters trimmed, et.origine_groupe =
// "HALL".
void choisit_groupe_orsab(EspaceTravail& et, int entree);

// One component of a .pos operator line ("-X+1/2", "Y-X"...): a row of the
// rotation and its translation; nothing when the text is none of the eight forms.
struct Composante {
    std::array<double, 3> ligne{};
    double translation = 0;
};
std::optional<Composante> lit_composante(std::string_view texte);

// Loads et.operateurs for et.groupe from the system's .pos file (inversion and
// centring applied), sets et.reseau and et.nb_centrages, writes hm.txt in
// et.repertoire when it can (when it cannot, the user is told, once). A symbol
// missing from the file: "<groupe> not found", no operator. A missing or
// malformed file, or more than 192 operators, throws ErreurKovrin and leaves
// the workspace as it was.
void charge_operateurs_hm(EspaceTravail& et, Dialogues& d);

// Loads et.operateurs for et.groupe through liborsab and scfs.dat (in the
// current directory), adds the centring translations, writes hall.txt in the
// current directory. A missing scfs.dat, a line with more than 12 numbers or
// more than 192 operators throws ErreurKovrin and leaves the workspace as it was.
void charge_operateurs_orsab(EspaceTravail& et);

// The reading half of charge_operateurs_orsab: scfs.dat of the current
// directory into et.operateurs, centring translations, hall.txt (when it can
// be written).
void lit_operateurs_scfs(EspaceTravail& et);

// Deletes scfs2.dat from the current directory (before an Orsab symbol is chosen).
void efface_scfs2();

// Appends to et.operateurs the copies translated by the centring vectors of
// et.reseau (R only in "HEXA") and sets et.nb_centrages. Throws ErreurKovrin,
// changing nothing, when the total would exceed 192.
void ajoute_centrages(EspaceTravail& et);

// True when h k l is allowed by the lattice letter et.reseau and is not a
// systematic absence of the operators et.operateurs (nothing is allowed when no
// operator is loaded).
bool reflexion_permise(const EspaceTravail& et, int h, int k, int l);

// hall.txt / hm.txt: one line per operator, each row as R1 R2 R3 (width 4, no
// decimals), T (width 10, 5 decimals), " , ".
void ecrit_operateurs(const std::filesystem::path& chemin,
                      const ListeBornee<Operateur, 192>& operateurs);

} // namespace kovrin
