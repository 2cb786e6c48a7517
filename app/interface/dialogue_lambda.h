#pragma once
// The wavelength dialog ("Lambda missing"), asked when a peak or profile file
// carries no wavelength: the user picks an anode, which fills the Kalpha and
// mean wavelengths, or "Other" and types the wavelength. Its OK completes the
// header of the data concerned and finishes the intake that asked.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "commun/nombres.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"
#include "interface/prise_donnees.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace kovrin {

inline const std::array<std::string, 6> elements_liste_lambda = {"Mo", "Cu", "Co",
                                                                 "Fe", "Cr", "Other"};
inline constexpr int element_autre = 5;

enum ModeDialogueLambda : int { lambda_pics = 1, lambda_profil = 2 };

struct DialogueLambda {
    int mode = lambda_pics;
    int choix = -1; // list item selected (0 ... 5), -1 none
    // The boxes lambda1, lambda2, lambda, as filled by a choice or typed.
    Saisie lambda1 = Saisie::de_valeur(0), lambda2 = Saisie::de_valeur(0), lambda;
    bool lambda_visible = false;  // the lambda label and box
    bool k_alpha_visible = false; // the lambda1 and lambda2 labels and boxes
    bool visible = false;         // the dialog is shown
    std::string anode;            // name given by the chosen item ("Cu", "Xx")
    bool k_alpha1 = false;        // an anode's working wavelength: Kalpha1, else the weighted mean
    // The peak file waiting for its wavelength.
    int format_pics = 0;
    std::filesystem::path fichier_pics;
};

// Activation: nothing selected, the boxes hidden, lambda1 and lambda2 0.
void initialise(DialogueLambda& dialogue);

// Shows the dialog for `mode`.
void montre_dialogue_lambda(DialogueLambda& dialogue, int mode);

// The dialog closed by its window's button: the intake is cancelled.
void ferme_dialogue_lambda(DialogueLambda& dialogue);

// What a box shows: a wavelength as 8:5; an unreadable text stays as typed.
std::optional<std::string> texte_boite_lambda(const Saisie& s);

// Click on list item `element` (0 ... 5), or the item chosen with the keys.
void clicklistbox(DialogueLambda& dialogue, int element);

// "Working wavelength:" an anode's weighted mean Kalpha (the default) or its
// Kalpha1; the lambda box follows when an anode is chosen.
void choisit_k_alpha1(DialogueLambda& dialogue, bool k_alpha1);
// What becomes the working wavelength, in words: "The working λ will be the
// weighted mean Kα, 1.54184 Å" (Kα1: "... Kα1, 1.54056 Å"); "Other": "The
// working λ will be the one typed"; empty before a choice.
std::string texte_lambda_travail(const DialogueLambda& dialogue);

// What the dialog's OK takes for source `element` (0 ... 5): an anode's
// Kalpha lines and, unless `lambda` is given, their mean; "Other" the
// wavelength given alone, anode "Xx".
LongueursOnde longueurs_onde_source(int element, std::optional<double> lambda);

// OK: refused before a choice in the list ("Choose the source in the list");
// reads the three boxes ("Lambda error!", "Lambda1 error!", "Lambda2 error!",
// a wavelength outside (0, 10) angstrom keep the dialog open), completes the header of the mode and
// finishes the intake (peaks: the file is read; profile: the header is completed).
Rafraichissement lit_lambda(EspaceTravail& et, EtatPrincipal& ep, DialogueLambda& dialogue,
                            Dialogues& d);

} // namespace kovrin
