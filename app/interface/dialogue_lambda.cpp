#include "interface/dialogue_lambda.h"

#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/anodes.h"
#include "cristallo/domaines.h"
#include "interface/prise_donnees.h"

#include <optional>

namespace kovrin {

namespace {

// A box of the dialog; an empty box reads as 0 where `vide_zero`.
std::optional<double> lit_boite(const Saisie& boite, bool vide_zero) {
    if (boite.vide() && vide_zero) return 0.0;
    if (!boite.nombre()) return std::nullopt;
    return boite.valeur;
}

// The three boxes as a wavelength set, or nothing after the box's message.
std::optional<LongueursOnde> lit_boites(const DialogueLambda& dialogue, Dialogues& d) {
    auto lambda = lit_boite(dialogue.lambda, false);
    if (!lambda) {
        d.erreur("Lambda error!");
        return std::nullopt;
    }
    auto lambda1 = lit_boite(dialogue.lambda1, true);
    if (!lambda1) {
        d.erreur("Lambda1 error!");
        return std::nullopt;
    }
    auto lambda2 = lit_boite(dialogue.lambda2, true);
    if (!lambda2) {
        d.erreur("Lambda2 error!");
        return std::nullopt;
    }
    // 0 leaves the wavelength to the Kalpha lines.
    if (const Refus r = refus_lambda(*lambda); r && *lambda != 0) {
        d.erreur(*r);
        return std::nullopt;
    }
    return LongueursOnde{*lambda, *lambda1, *lambda2, 0.5, dialogue.anode};
}

Rafraichissement termine_pics(EspaceTravail& et, EtatPrincipal& ep, DialogueLambda& dialogue,
                              const LongueursOnde& l, Dialogues& d) {
    dialogue.visible = false;
    return prend_fichier_pics(et, ep, dialogue.format_pics, dialogue.fichier_pics, l, d);
}

Rafraichissement termine_profil(EspaceTravail& et, DialogueLambda& dialogue, const LongueursOnde& l,
                                Dialogues& d) {
    Rafraichissement r;
    if (prend_longueurs_profil(et, l, r, d))
        dialogue.visible = false;
    else
        r.echec = true;
    return r;
}

} // namespace

void initialise(DialogueLambda& dialogue) {
    dialogue.choix = -1;
    dialogue.lambda_visible = dialogue.k_alpha_visible = false;
    dialogue.lambda1 = dialogue.lambda2 = Saisie::de_valeur(0);
    dialogue.lambda = Saisie{}; // nothing of an earlier intake is reused
    dialogue.anode.clear();
}

void ferme_dialogue_lambda(DialogueLambda& dialogue) {
    dialogue.visible = false;
}

void montre_dialogue_lambda(DialogueLambda& dialogue, int mode) {
    dialogue.mode = mode;
    initialise(dialogue);
    dialogue.visible = true;
}

std::optional<std::string> texte_boite_lambda(const Saisie& s) {
    if (s.vide()) return std::string();
    if (!s.nombre()) return std::nullopt;
    return pascal_reel(s.valeur, 8, 5);
}

void clicklistbox(DialogueLambda& dialogue, int element) {
    if (element < 0 || element > element_autre) return;
    dialogue.choix = element;
    dialogue.lambda_visible = true;
    const bool anode = element != element_autre;
    const LongueursOnde l = longueurs_onde_source(element, std::nullopt);
    dialogue.k_alpha_visible = anode;
    dialogue.anode = l.anode;
    dialogue.lambda1 = Saisie::de_valeur(l.lambda1);
    dialogue.lambda2 = Saisie::de_valeur(l.lambda2);
    // "Other" keeps what was typed.
    if (anode) dialogue.lambda = Saisie::de_valeur(dialogue.k_alpha1 ? l.lambda1 : l.lambda);
}

void choisit_k_alpha1(DialogueLambda& dialogue, bool k_alpha1) {
    dialogue.k_alpha1 = k_alpha1;
    if (dialogue.choix >= 0 && dialogue.choix != element_autre)
        clicklistbox(dialogue, dialogue.choix);
}

std::string texte_lambda_travail(const DialogueLambda& dialogue) {
    if (dialogue.choix < 0) return "";
    if (dialogue.choix == element_autre) return "The working λ will be the one typed";
    const LongueursOnde l = longueurs_onde_source(dialogue.choix, std::nullopt);
    return std::string("The working λ will be ") +
           (dialogue.k_alpha1 ? "Kα1, " + texte_court(l.lambda1)
                              : "the weighted mean Kα, " + texte_court(l.lambda)) +
           " Å";
}

LongueursOnde longueurs_onde_source(int element, std::optional<double> lambda) {
    if (element < 0 || element >= element_autre) return {lambda.value_or(0), 0, 0, 0.5, "Xx"};
    const Anode& a = table_anodes[static_cast<std::size_t>(element)];
    return {lambda.value_or(a.moyenne), a.k_alpha1, a.k_alpha2, 0.5, std::string(a.nom)};
}

Rafraichissement lit_lambda(EspaceTravail& et, EtatPrincipal& ep, DialogueLambda& dialogue,
                            Dialogues& d) {
    // Before a choice the boxes are hidden: nothing typed there could be meant.
    if (dialogue.choix < 0) return refus(d, "Choose the source in the list");
    auto l = lit_boites(dialogue, d);
    if (!l) return echoue();
    if (dialogue.mode == lambda_profil) return termine_profil(et, dialogue, *l, d);
    return termine_pics(et, ep, dialogue, *l, d);
}

} // namespace kovrin
