#include "affinement/export_excel.h"

#include "commun/angles.h"
#include "commun/erreur.h"
#include "commun/fichier_texte.h"
#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <vector>

namespace kovrin {

namespace {

constexpr char tab = '\t';
constexpr std::array<int, 8> largeurs_valeurs = {7, 9, 8, 8, 8, 7, 7, 7}; // F7.5 F9.5 3F8.4 3F7.2
constexpr double tolerance_longue = 0.0001;                               // degrees 2theta

std::filesystem::path chemin_listing(const EspaceTravail& espace) {
    return espace.repertoire / "kovrin.out";
}

// Line `numero` (1-based) of the listing; past its end, an empty text.
std::string ligne_listing(const std::vector<std::string>& lignes, int numero) {
    if (numero < 1 || numero > static_cast<int>(lignes.size())) return "";
    return lignes[static_cast<std::size_t>(numero - 1)];
}

// The eight values of a value line of the listing. Blank-separated numbers are
// read as such; fields that run together are cut at the listing's widths. What
// cannot be read (missing line, field of asterisks) is 0.
std::array<double, 8> valeurs_listing(const std::string& ligne) {
    std::array<double, 8> v{};
    std::istringstream flux(ligne);
    std::vector<std::string> mots;
    for (std::string mot; flux >> mot;)
        mots.push_back(mot);
    bool separes = mots.size() == v.size();
    for (std::size_t i = 0; separes && i < v.size(); ++i) {
        auto x = lit_reel(mots[i]);
        separes = x.has_value();
        v[i] = x.value_or(0);
    }
    if (separes) return v;
    std::size_t debut = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        auto largeur = static_cast<std::size_t>(largeurs_valeurs[i]);
        std::string champ = debut < ligne.size() ? ligne.substr(debut, largeur) : "";
        std::istringstream mot(champ);
        std::string texte;
        mot >> texte;
        v[i] = lit_reel(texte).value_or(0);
        debut += largeur;
    }
    return v;
}

std::string ligne_valeurs(const char* nom, const std::array<double, 8>& v) {
    std::string r = std::string(nom) + tab;
    r += pascal_reel(v[0], 8, 5) + tab + pascal_reel(v[1], 8, 5) + tab;
    for (std::size_t i = 2; i < 5; ++i)
        r += pascal_reel(v[i], 8, 4) + tab;
    for (std::size_t i = 5; i < 8; ++i)
        r += pascal_reel(v[i], 8, 3) + tab;
    return r;
}

// The row of pair i: indices, observed, corrected and calculated 2theta, the
// difference, and the spacings of the corrected and of the calculated angle.
std::string ligne_paire(const EspaceTravail& espace, int i, int largeur_angle) {
    const Paire& p = espace.selection[i];
    double z = espace.deux_theta_corrige[static_cast<std::size_t>(i)];
    double theta_c = espace.moteur.angles[static_cast<std::size_t>(i - 1)];
    double dz = espace.lambda / (2 * std::sin(z / deux_theta_par_radian_recherche));
    double dc = espace.lambda / (2 * std::sin(theta_c / degres_par_radian));
    std::string r;
    for (int indice : {int(p.h), int(p.k), int(p.l)})
        r += pascal_entier(indice, 4) + tab;
    for (double angle : {double(p.deux_theta_obs), z, 2 * theta_c, z - 2 * theta_c})
        r += pascal_reel(angle, largeur_angle, 3) + tab;
    r += pascal_reel(dz, 9, 4) + tab + pascal_reel(dc, 9, 4) + tab;
    return r;
}

// Long list: one row per measured reflection, the first pair observed at its angle.
void ecrit_liste_longue(const EspaceTravail& espace, EcrivainTexte& f) {
    for (const Mesure& m : espace.mesures) {
        int trouvee = 0;
        for (int i = 1; i <= espace.selection.taille() && trouvee == 0; ++i)
            if (std::fabs(espace.selection[i].deux_theta_obs - m.deux_theta_mes) <=
                tolerance_longue)
                trouvee = i;
        if (trouvee != 0)
            f.ligne(ligne_paire(espace, trouvee, 8));
        else
            f.ligne(std::string(3, tab) + pascal_reel(m.deux_theta_mes, 8, 3) + tab);
    }
}

bool listing_present(const EspaceTravail& espace, Dialogues& dialogues) {
    if (std::filesystem::exists(chemin_listing(espace))) return true;
    dialogues.erreur("No results");
    return false;
}

// The agreement lines follow the reflection table, whose length the listing
// states on line 4. The pairs may have gone since the listing was written (the
// refined values taken as the new start drop them), so they cannot place it.
int reflexions_du_listing(const std::vector<std::string>& listing, int par_defaut) {
    const std::string ligne = ligne_listing(listing, 4);
    const auto deux_points = ligne.find(':');
    if (deux_points == std::string::npos) return par_defaut;
    const auto n = lit_entier(sans_blancs(ligne.substr(deux_points + 1)));
    return n && *n >= 0 && *n <= 500 ? static_cast<int>(*n) : par_defaut;
}

} // namespace

void ecrit_export(const EspaceTravail& espace, ListeExport liste) {
    auto listing = lit_lignes(chemin_listing(espace));
    int nref = espace.selection.taille();
    int nref_listing = reflexions_du_listing(listing, nref);
    EcrivainTexte f(espace.repertoire / "Excel.txt");
    f.ligne(ligne_listing(listing, 2) + tab);
    f.ligne(ligne_listing(listing, 4) + tab);
    f.ligne(ligne_listing(listing, 5) + tab);
    f.ligne(ligne_listing(listing, 25));
    f.ligne();
    f.ligne(ligne_listing(listing, 30 + nref_listing) + tab);
    f.ligne(ligne_listing(listing, 32 + nref_listing) + tab);
    f.ligne();
    // 0xB0: the degree sign of the Windows code page.
    f.ligne(std::string(1, tab) + (espace.mode_decalage == 2 ? "e/R(\xB0)" : "2delta(T)") +
            "\tLambda\ta\tb\tc\talpha\tbeta\tgamma\t");
    f.ligne(ligne_valeurs("Initial", valeurs_listing(ligne_listing(listing, 10))));
    f.ligne(ligne_valeurs("Final", valeurs_listing(ligne_listing(listing, 21))));
    f.ligne(ligne_valeurs("Sigmas", valeurs_listing(ligne_listing(listing, 22))));
    f.ligne();
    f.ligne("    H\t    K\t    L\t  2T(Obs)\t  2T-Zero\t  2Th(Cal)\t   Dif\t  DoCor.\t  DCalc\t");
    f.ligne();
    if (liste == ListeExport::courte)
        for (int i = 1; i <= nref; ++i)
            f.ligne(ligne_paire(espace, i, 9));
    else
        ecrit_liste_longue(espace, f);
    f.ferme();
}

bool ouvre_listing(const EspaceTravail& espace, ListeExport liste, Dialogues& dialogues) {
    if (!listing_present(espace, dialogues)) return false;
    dialogues.ouvre_visionneuse(chemin_listing(espace));
    ecrit_export(espace, liste);
    return true;
}

bool resultats_presents(const EspaceTravail& espace, Dialogues& dialogues) {
    return listing_present(espace, dialogues);
}

std::optional<std::string> texte_export(const EspaceTravail& espace, ListeExport liste,
                                        Dialogues& dialogues) {
    if (!listing_present(espace, dialogues)) return std::nullopt;
    try {
        ecrit_export(espace, liste);
        return lit_octets(espace.repertoire / "Excel.txt");
    } catch (const ErreurKovrin& e) {
        dialogues.erreur(e.what());
        return std::nullopt;
    }
}

} // namespace kovrin
