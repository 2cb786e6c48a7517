#include "fichiers/lecture.h"

#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kovrin {

namespace {

constexpr std::size_t octets_sondes = 300;  // bytes searched for the first LF
constexpr std::size_t longueur_ligne = 250; // characters kept per line in the copy

// The byte before the first LF (the last byte read when no LF comes).
bool premiere_ligne_en_cr_lf(std::string_view octets) {
    char precedent = '\0';
    std::size_t n = std::min(octets.size(), octets_sondes);
    for (std::size_t i = 0; i < n; ++i) {
        if (octets[i] == '\n') return precedent == '\r';
        precedent = octets[i];
    }
    return precedent == '\r';
}

} // namespace

std::optional<FichierTemporaire> convertit_fins_de_ligne(const std::filesystem::path& fichier) {
    std::string octets = lit_octets(fichier);
    if (premiere_ligne_en_cr_lf(octets)) return std::nullopt;
    FichierTemporaire temporaire("dummy");
    EcrivainTexte copie(temporaire.chemin());
    std::string ligne;
    for (char c : octets) {
        if (c == '\n' || c == '\r') {
            copie.ligne(ligne);
            ligne.clear();
        } else if (ligne.size() < longueur_ligne) {
            ligne += c;
        }
    }
    // A last line without an end is kept too, so that LF and CR LF files read alike.
    if (!ligne.empty()) copie.ligne(ligne);
    copie.ferme();
    return temporaire;
}

std::vector<std::string> lignes_converties(const std::filesystem::path& fichier) {
    const auto copie = convertit_fins_de_ligne(fichier);
    return lit_lignes(copie ? copie->chemin() : fichier);
}

NombresDecoupes decoupe_nombres(std::string_view ligne) {
    NombresDecoupes r;
    std::string reste = sans_blancs(ligne);
    std::replace(reste.begin(), reste.end(), ',', ' ');
    while (!reste.empty() && r.nombre < 10) {
        auto blanc = reste.find(' ');
        std::string champ = sans_blancs(reste.substr(0, blanc));
        double valeur = 0;
        r.code = val_reel(champ, valeur);
        r.valeurs[static_cast<std::size_t>(r.nombre)] = r.code == 0 ? valeur : 0.0;
        ++r.nombre;
        reste = blanc == std::string::npos ? std::string() : sans_blancs(reste.substr(blanc));
    }
    return r;
}

std::optional<double> premier_nombre(std::string_view texte) {
    std::string t = sans_blancs(texte);
    auto fin = std::find_if(t.begin(), t.end(),
                            [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    return lit_reel(std::string(t.begin(), fin));
}

bool ligne_blanche(std::string_view ligne) {
    return sans_blancs(ligne).empty();
}

void refuse(const std::filesystem::path& fichier, std::string_view quoi) {
    throw RefusLecture(message_erreur_fichier(fichier, quoi));
}

void verifie_limite(const std::filesystem::path& fichier, std::size_t nombre, std::size_t limite,
                    std::string_view quoi) {
    if (nombre > limite)
        refuse(fichier, "more than " + std::to_string(limite) + " " + std::string(quoi) +
                            "; at most " + std::to_string(limite) + " can be read");
}

void verifie_finis(const std::filesystem::path& fichier, const std::vector<double>& angles,
                   const std::vector<double>& intensites, std::string_view quoi) {
    for (std::size_t i = 0; i < angles.size() && i < intensites.size(); ++i)
        if (!std::isfinite(angles[i]) || !std::isfinite(intensites[i]))
            refuse(fichier,
                   std::string(quoi) + " " + std::to_string(i + 1) + " is not a finite number");
}

std::optional<double> normalise_a_100(std::vector<double>& intensites) {
    double plus_grande = 0;
    for (double i : intensites)
        plus_grande = std::max(plus_grande, i);
    if (!(plus_grande > 0) || !std::isfinite(plus_grande)) return std::nullopt;
    for (double& i : intensites)
        i *= 100 / plus_grande;
    return plus_grande;
}

std::string anode_philips(std::uint8_t code) {
    constexpr std::array<const char*, 5> noms{"Cu", "Mo", "Co", "Fe", "Cr"};
    return code < noms.size() ? noms[code] : "";
}

float en_simple(double valeur) {
    constexpr double borne = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(valeur, -borne, borne));
}

std::string message_fichier_court(const std::filesystem::path& fichier, const ErreurKovrin& e) {
    return message_erreur_fichier(fichier, std::string("is shorter than its header and records (") +
                                               e.what() + ")");
}

std::string message_plages(const std::filesystem::path& fichier, int nb_plages, int numero,
                           const ProfilLu& lu) {
    return message_erreur_fichier(
        fichier, "holds " + std::to_string(nb_plages) + " ranges; only range " +
                     std::to_string(numero) + " is read (" + std::to_string(lu.points.size()) +
                     " points from " + pascal_reel(lu.angle_debut, 1, 3) + " to " +
                     pascal_reel(lu.angle_fin, 1, 3) + " degrees 2theta)");
}

} // namespace kovrin
