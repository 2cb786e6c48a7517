#pragma once
// Taking measured-peak files and profile files into the workspace: the reader
// of the format, the completion of the wavelengths, the naming of the anode,
// the comparison of the peaks' and the profile's wavelengths, and the range.
// A file that cannot be read leaves the workspace as it was.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "fichiers/donnees_lues.h"
#include "fichiers/formats_pics.h"
#include "fichiers/formats_profil.h"
#include "fichiers/lecture_montree.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kovrin {

struct DialogueLambda;

// Profile formats (FormatProfil, the filter index of the profile open dialog):
// the table of fichiers/formats_profil.h.
inline const std::string filtre_profil = filtre_profils();

// A wavelength set given in the wavelength dialog.
struct LongueursOnde {
    double lambda = 0, lambda1 = 0, lambda2 = 0, rapport = 0;
    std::string anode;
};

inline const std::string message_lambdas_differentes =
    "The wavelength read in the file is different from the wavelength of the measured peaks";

// A peak or profile file without its wavelength, and none given for it.
inline std::string message_sans_lambda(const std::filesystem::path& fichier) {
    return fichier.filename().string() + " carries no wavelength";
}

// The reader of a peak format; nothing after its message.
std::optional<PicsLus> lit_fichier_pics(int format, const std::filesystem::path& fichier,
                                        Dialogues& d);

// The five peak entries of the main menu and the six of tab 1's "File" menu:
// the open dialog at the format's filter, then the file taken in.
Rafraichissement ouvre_pics(EspaceTravail& et, EtatPrincipal& ep, DialogueLambda& dialogue,
                            ChoixFichier& choix, int format, Dialogues& d);

// A peak file chosen in the open dialog (name not empty). Files that carry
// their wavelength are taken in at once; for the others the wavelength dialog
// is prepared for peak data and shown, and its OK finishes the intake.
Rafraichissement ouvre_fichier_pics(EspaceTravail& et, EtatPrincipal& ep, DialogueLambda& dialogue,
                                    int format, const std::filesystem::path& fichier, Dialogues& d);

// Reads the file and takes it in; `du_dialogue` is what the wavelength dialog
// gave (formats without a wavelength).
Rafraichissement prend_fichier_pics(EspaceTravail& et, EtatPrincipal& ep, int format,
                                    const std::filesystem::path& fichier,
                                    const std::optional<LongueursOnde>& du_dialogue, Dialogues& d);

// The peaks of a file that was read, taken into the workspace.
Rafraichissement prend_pics_lus(EspaceTravail& et, EtatPrincipal& ep, int format,
                                const std::filesystem::path& fichier, const PicsLus& lus,
                                const std::optional<LongueursOnde>& du_dialogue, Dialogues& d);

// Format of a profile file from its name (".rd", ".raw", ".dat", ".cpi": the
// last of them found in the name; then the extensions read through xylib),
// else the format chosen in the menu.
int format_profil_de_nom(const std::string& nom, int format_menu);

// The reader of a profile format; nothing after its message.
std::optional<ProfilLu> lit_fichier_profil(int format, const std::filesystem::path& fichier,
                                           const EspaceTravail& et, Dialogues& d);

// The profile entries of the main menu and of the diagram window: the open
// dialog at the format's filter, then the file taken in.
Rafraichissement ouvre_profil(EspaceTravail& et, DialogueLambda& dialogue, ChoixFichier& choix,
                              int format, Dialogues& d);

// A profile file chosen in the open dialog (name not empty). When the file
// gives no wavelength the dialog is prepared for profile data and shown; its
// OK completes the intake.
Rafraichissement prend_fichier_profil(EspaceTravail& et, DialogueLambda& dialogue, int format_menu,
                                      const std::filesystem::path& fichier, Dialogues& d);

// A profile taken in as the dialog would complete it, with `source` (what the
// dialog's OK gives) for a file that carries no wavelength; refused without one.
// `source_prise` tells whether the file needed it.
Rafraichissement prend_profil_source(EspaceTravail& et, int format_menu,
                                     const std::filesystem::path& fichier,
                                     const std::optional<LongueursOnde>& source, Dialogues& d,
                                     bool* source_prise = nullptr);

// The profile header completed with the wavelengths `l` of the dialog, then
// complete_profil with Kalpha averaged for a wavelength 0.
bool prend_longueurs_profil(EspaceTravail& et, const LongueursOnde& l, Rafraichissement& r,
                            Dialogues& d);

// The end of a profile intake once the profile header has a wavelength (or the
// dialog gave one): Kalpha from the anode name, anode named from lambda, ratio,
// then the working set or the comparison with the peaks. False after the
// wavelength message.
bool complete_profil(EspaceTravail& et, bool moyenne_des_k_alpha, Rafraichissement& r,
                     Dialogues& d);

} // namespace kovrin
