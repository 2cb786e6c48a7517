#pragma once
// Small text helpers shared by every subsystem.
#include <string>
#include <string_view>

namespace kovrin {

// Removes blanks and control characters (NUL included) at both ends.
std::string sans_blancs(std::string_view texte);
std::string sans_blancs_droite(std::string_view texte);
std::string majuscules(std::string_view texte);
bool contient(std::string_view texte, std::string_view motif);
// File name without its directory (either separator).
std::string nom_sans_repertoire(std::string_view chemin);
// texte cut or padded with blanks on the right to exactly n characters.
std::string ajuste(std::string_view texte, std::size_t n);

} // namespace kovrin
