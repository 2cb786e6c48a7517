// Example refinement through the engine: the bundled silicon peak list (or the
// file given as argument: lines "h k l 2theta", "#" for comments) is refined as a
// cubic cell with a zero shift, and the listing kovrin.out is printed.
#include "kovrin/calcul.h"

#include "commun/erreur.h"
#include "commun/fichier_texte.h"
#include "commun/nombres.h"

#include <array>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>

namespace {

struct Donnees {
    std::array<float, KOVRIN_NB_REFLEXIONS> h{}, k{}, l{}, angles{};
    int n = 0;
};

// One "h k l 2theta" line; false when it is not one.
bool lit_reflexion(const std::string& ligne, Donnees& d) {
    std::istringstream flux(ligne);
    std::array<std::string, 4> champs;
    for (auto& champ : champs)
        if (!(flux >> champ)) return false;
    std::array<double, 4> v{};
    for (std::size_t i = 0; i < 4; ++i) {
        auto valeur = kovrin::lit_reel(champs[i]);
        if (!valeur) return false;
        v[i] = *valeur;
    }
    if (d.n == KOVRIN_NB_REFLEXIONS) throw kovrin::ErreurKovrin("more than 500 reflections");
    d.h[d.n] = static_cast<float>(v[0]);
    d.k[d.n] = static_cast<float>(v[1]);
    d.l[d.n] = static_cast<float>(v[2]);
    d.angles[d.n] = static_cast<float>(v[3]);
    ++d.n;
    return true;
}

Donnees lit_donnees(const std::string& chemin) {
    Donnees d;
    for (const auto& ligne : kovrin::lit_lignes(chemin)) {
        if (ligne.empty() || ligne[0] == '#') continue;
        if (!lit_reflexion(ligne, d))
            throw kovrin::ErreurKovrin("not a line \"h k l 2theta\": " + ligne);
    }
    return d;
}

} // namespace

int main(int argc, char** argv) {
    std::string chemin = argc > 1 ? argv[1] : KOVRIN_EXAMPLES_DIR "/cubique/silicium.hkl";
    try {
        Donnees d = lit_donnees(chemin);
        const std::string titre = "Silicon SRM 640d, Cu Ka1, cubic a and zero";
        std::array<int16_t, KOVRIN_TAILLE_TEXTE> texte{};
        texte[0] = static_cast<int16_t>(titre.size());
        for (std::size_t i = 0; i < titre.size(); ++i)
            texte[i + 1] = static_cast<int16_t>(titre[i]);
        int16_t lettre = 'C';
        // zero, lambda, a, b, c, alpha, beta, gamma; a, b, c start 0.3 % off.
        std::array<float, 8> parametres{0.0f, 1.5405929f, 5.447f, 5.447f, 5.447f, 90, 90, 90};
        std::array<float, 8> drapeaux{1, 0, 1, 0, 0, 0, 0, 0};
        std::array<float, 8> erreurs{};
        float accord = 0;
        calcul(texte.data(), &lettre, parametres.data(), drapeaux.data(), erreurs.data(),
               d.h.data(), d.k.data(), d.l.data(), d.angles.data(), &accord);
        std::string statut;
        for (int i = 1; i <= texte[0]; ++i)
            statut += static_cast<char>(texte[i]);
        for (const auto& ligne : kovrin::lit_lignes("kovrin.out"))
            std::cout << ligne << '\n';
        std::cout << "\nStatus: " << statut << "\nRefined a = " << parametres[2] << " +- "
                  << erreurs[2] << " A, zero shift = " << parametres[0] << " +- " << erreurs[0]
                  << " deg 2theta\n";
        return statut == "Fin normale" ? 0 : 1;
    } catch (const kovrin::ErreurKovrin& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
