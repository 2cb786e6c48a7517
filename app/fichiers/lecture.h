#pragma once
// What the readers of peak, profile and cell files share: the guarded read
// that turns a failure into one error box, the text-file helpers and the
// normalisation of intensities.
#include "commun/dialogues.h"
#include "commun/erreur.h"
#include "commun/espace_travail.h"
#include "commun/fichier_texte.h"
#include "fichiers/donnees_lues.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

// What the workspace can hold.
inline constexpr std::size_t limite_pics = decltype(EspaceTravail::mesures)::capacite;
inline constexpr std::size_t limite_profil = decltype(EspaceTravail::profil)::capacite;

// A reader refusing its file; the text is shown as it is in the error box.
class RefusLecture : public ErreurKovrin {
  public:
    using ErreurKovrin::ErreurKovrin;
};

// Text files with bare LF (or CR) line ends are copied with CR LF ends to a
// scratch file of the system's temporary folder (never the working folder,
// which may not be writable); returns that copy, to read instead of the file
// and removed when the value goes, or nothing when the file already ends its
// lines in CR LF.
std::optional<FichierTemporaire> convertit_fins_de_ligne(const std::filesystem::path& fichier);

// The lines of a text file, read through convertit_fins_de_ligne.
std::vector<std::string> lignes_converties(const std::filesystem::path& fichier);

// A line split into at most 10 numbers (blanks or commas between them).
struct NombresDecoupes {
    std::array<double, 10> valeurs{};
    int nombre = 0; // fields taken, converted or not
    int code = 0;   // Val's code of the last field taken: 0, or the bad character's position
};
NombresDecoupes decoupe_nombres(std::string_view ligne);

// The first number of a text (blanks or control characters end it); nothing when it does not
// convert.
std::optional<double> premier_nombre(std::string_view texte);

bool ligne_blanche(std::string_view ligne);

// Refusal naming the file.
[[noreturn]] void refuse(const std::filesystem::path& fichier, std::string_view quoi);
// Refusal when a count goes past what the workspace can hold.
void verifie_limite(const std::filesystem::path& fichier, std::size_t nombre, std::size_t limite,
                    std::string_view quoi);

// Refuses the file when an angle or an intensity is not a finite number (a
// binary file holding NaN or infinity): nothing downstream could show it.
// `quoi` names an element ("point", "peak").
void verifie_finis(const std::filesystem::path& fichier, const std::vector<double>& angles,
                   const std::vector<double>& intensites, std::string_view quoi);

// Multiplies every intensity by 100 / largest; returns the largest (searched
// from 0), or nothing when it is not above 0 (intensities left as they are).
std::optional<double> normalise_a_100(std::vector<double>& intensites);

// Anode named by its code in Philips files (0 Cu, 1 Mo, 2 Co, 3 Fe, 4 Cr), else empty.
std::string anode_philips(std::uint8_t code);

// Guards a double stored in single precision against overflow.
float en_simple(double valeur);

std::string message_fichier_court(const std::filesystem::path& fichier, const ErreurKovrin& e);

// Information on a profile file measured in several ranges, of which only
// range `numero` (from 1), `lu`, was read.
std::string message_plages(const std::filesystem::path& fichier, int nb_plages, int numero,
                           const ProfilLu& lu);

// Runs the reader of a binary file on its bytes; a field past the end of the
// file is refused as a file too short, naming it.
template <typename Resultat, typename Lecture>
Resultat lecture_binaire(const std::filesystem::path& fichier, Lecture&& lecture) {
    std::string octets = lit_octets(fichier);
    try {
        return lecture(std::string_view(octets));
    } catch (const RefusLecture&) {
        throw;
    } catch (const ErreurKovrin& e) {
        throw RefusLecture(message_fichier_court(fichier, e));
    }
}

} // namespace kovrin
