// Sietronics CPI profiles: a ten-line header, then one intensity after another.
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/anodes.h"
#include "fichiers/lecteurs_profil.h"
#include "fichiers/lecture.h"

#include <sstream>

namespace kovrin {

namespace {

double nombre_de_ligne(const std::vector<std::string>& lignes, std::size_t numero,
                       const std::filesystem::path& fichier) {
    auto v = numero <= lignes.size() ? premier_nombre(lignes[numero - 1]) : std::nullopt;
    if (!v) refuse(fichier, "no number at line " + std::to_string(numero));
    return *v;
}

std::vector<double> intensites(const std::vector<std::string>& lignes,
                               const std::filesystem::path& fichier) {
    std::vector<double> brutes;
    for (std::size_t i = 10; i < lignes.size(); ++i) {
        std::istringstream mots(lignes[i]);
        std::string mot;
        while (mots >> mot) {
            auto v = lit_reel(mot);
            if (!v) refuse(fichier, "invalid number at line " + std::to_string(i + 1));
            brutes.push_back(*v);
        }
        verifie_limite(fichier, brutes.size(), limite_profil, "profile points");
    }
    return brutes;
}

void prend_anode(ProfilLu& p) {
    if (const Anode* a = anode_de_nom(p.anode)) {
        p.lambda1 = a->k_alpha1;
        p.lambda2 = a->k_alpha2;
        p.rapport = 0.5;
    }
}

} // namespace

ProfilLu lit_profil_cpi(const std::filesystem::path& fichier, bool espace_occupe) {
    auto lignes = lignes_converties(fichier);
    if (lignes.size() < 10) refuse(fichier, "its header is shorter than 10 lines");
    ProfilLu p;
    double depart = nombre_de_ligne(lignes, 2, fichier);
    double fin = nombre_de_ligne(lignes, 3, fichier);
    double pas = nombre_de_ligne(lignes, 4, fichier);
    p.anode = sans_blancs(sans_blancs(lignes[4]).substr(0, 2));
    p.lambda = nombre_de_ligne(lignes, 6, fichier);
    p.titre = sans_blancs(lignes[8].substr(std::min<std::size_t>(11, lignes[8].size())));
    termine_profil(p, intensites(lignes, fichier), depart, pas, {0, 100000}, fichier);
    // With peaks or reflections already present their range and wavelengths rule.
    if (!espace_occupe) {
        p.angle_debut = depart;
        p.angle_fin = fin;
        prend_anode(p);
    }
    return p;
}

} // namespace kovrin
