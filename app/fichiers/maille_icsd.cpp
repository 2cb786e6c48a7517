// ICSD text files: tagged lines; TITL, CELL and SGR are taken, reading stops
// at SGR.
#include "commun/texte.h"
#include "cristallo/domaines.h"
#include "cristallo/geometrie.h"
#include "fichiers/fichiers_maille.h"
#include "fichiers/lecture.h"

#include <cctype>

namespace kovrin {

namespace {

// A letter of a name, ASCII or a byte of a multi-byte (Greek) letter.
bool lettre(char c) {
    auto u = static_cast<unsigned char>(c);
    return std::isalpha(u) || u >= 0x80;
}

// "a=5.431(2) b=..." -> "5.431 ...": parameter names with their "=" and the
// uncertainties in parentheses removed. A name is the run of letters before
// "=" (one letter in ICSD files; "alpha" or a Greek letter are taken too).
std::string valeurs_de_maille(std::string valeur) {
    for (int i = 0; i < 6; ++i) {
        auto egal = valeur.find('=');
        if (egal == std::string::npos) break;
        auto debut = egal;
        while (debut > 0 && lettre(valeur[debut - 1]))
            --debut;
        if (debut == egal && debut > 0) --debut;
        valeur.erase(debut, egal - debut + 1);
    }
    for (auto ouvre = valeur.find('('); ouvre != std::string::npos; ouvre = valeur.find('(')) {
        auto ferme = valeur.find(')', ouvre);
        valeur.erase(ouvre, ferme == std::string::npos ? std::string::npos : ferme - ouvre + 1);
    }
    return valeur;
}

// "R -3 M H (166)" -> "R-3M". Without "(" the symbol is empty (unknown group).
std::string groupe_icsd(const std::string& valeur) {
    auto ouvre = valeur.find('(');
    std::string groupe = ouvre == std::string::npos ? "" : sans_blancs(valeur.substr(0, ouvre));
    std::erase(groupe, ' ');
    if (!groupe.empty() && groupe.back() == 'H') groupe.pop_back();
    return groupe;
}

void prend_maille(MailleLue& m, const std::string& valeur, int ligne,
                  const std::filesystem::path& fichier) {
    auto n = decoupe_nombres(valeurs_de_maille(valeur));
    if (n.code != 0 || n.nombre < 6) throw RefusLecture("Cell parameters not found!");
    std::copy(n.valeurs.begin(), n.valeurs.begin() + 6, m.maille.begin());
    if (Refus r = refus_maille(m.maille)) refuse(fichier, sur_ligne_fichier(ligne, *r));
    std::string systeme;
    systeme_de_maille(m.maille, systeme);
    if (!systeme.empty()) m.systeme = systeme;
}

} // namespace

MailleLue lit_maille_icsd(const std::filesystem::path& fichier) {
    MailleLue m;
    bool maille_lue = false;
    const auto lignes = lignes_converties(fichier);
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        const std::string& ligne = lignes[i];
        std::string etiquette = ligne.substr(0, 4);
        std::string valeur = ligne.size() > 4 ? ligne.substr(4) : "";
        if (etiquette == "TITL") {
            m.ligne_titre = valeur;
            continue;
        }
        etiquette = sans_blancs(etiquette);
        valeur = sans_blancs(valeur);
        if (etiquette == "CELL") {
            prend_maille(m, valeur, static_cast<int>(i + 1), fichier);
            maille_lue = true;
        } else if (etiquette == "SGR") {
            m.groupe = groupe_icsd(valeur);
            break;
        }
    }
    if (!maille_lue) throw RefusLecture("Cell parameters not found!");
    return m;
}

} // namespace kovrin
