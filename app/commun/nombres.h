#pragma once
// Number texts: conversions never throw and never depend on the locale.
#include <optional>
#include <string>
#include <string_view>

namespace kovrin {

// The clean-up applied to every number typed in the main window: an empty text
// becomes "0"; " ." -> "0."; ". " -> ".0"; "-." -> "-0."; a final "." gets a "0".
// Each rule acts on its first occurrence only.
std::string normalise_nombre(std::string texte);

// Decimal number with "." as the decimal point and an optional exponent; a
// leading sign and leading blanks are allowed, trailing blanks are not. Returns 0 when the whole
// text converted, otherwise the 1-based position of the first bad character
// (1 for an empty text), as Pascal's Val does.
int val_reel(std::string_view texte, double& valeur);
int val_entier(std::string_view texte, long long& valeur);

// Same conversions, as optional values.
std::optional<double> lit_reel(std::string_view texte);
std::optional<long long> lit_entier(std::string_view texte);

// normalise_nombre then lit_reel: how the main window reads a number field.
std::optional<double> lit_champ_reel(std::string_view texte);

// A number field as the user left it: empty, a finite number, or a text that
// is none. Windows parse a field once, when the user edits it; commands take
// the value, never the text shown.
struct Saisie {
    enum class Etat { vide, nombre, illisible };
    Etat etat = Etat::vide;
    double valeur = 0;

    static Saisie de_texte(std::string_view texte); // blanks only: empty; else lit_champ_reel
    static Saisie de_valeur(double v) { return {Etat::nombre, v}; }
    bool vide() const { return etat == Etat::vide; }
    bool nombre() const { return etat == Etat::nombre; }
    bool operator==(const Saisie&) const = default;
};

} // namespace kovrin
