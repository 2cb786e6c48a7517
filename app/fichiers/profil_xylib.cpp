// Profiles in the formats the program's own readers do not know, read by xylib.
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/anodes.h"
#include "fichiers/lecteurs_profil.h"
#include "fichiers/lecture.h"
#include "fichiers/xylib_isole.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kovrin {

namespace {

// The names each format's reader in xylib gives a quantity (Bruker RAW 3/4,
// RAW 2, RAW 1, UXD, Philips UDF, and the XRDML elements read below).
using Noms = std::array<std::string_view, 6>;
constexpr Noms noms_lambda1{"ALPHA1", "LAMDA1", "K_ALPHA1", "WL1", "LabdaAlpha1", "kAlpha1"};
constexpr Noms noms_lambda2{"ALPHA2", "LAMDA2", "K_ALPHA2", "WL2", "LabdaAlpha2", "kAlpha2"};
constexpr Noms noms_rapport{"ALPHA_RATIO",  "INTENSITY_RATIO",     "WLRATIO",
                            "RatioAlpha21", "ratioKAlpha2KAlpha1", ""};
constexpr Noms noms_anode{
    "ANODE_MATERIAL", "CEMICAL SYMBOL FOR TUBE ANODE", "ANODE", "Anode", "anodeMaterial", ""};
constexpr Noms noms_echantillon{"SAMPLE_ID", "SAMPLE_NAME", "SAMPLE", "SampleIdent", "", ""};

std::string sans_guillemets(std::string_view texte) {
    std::string v = sans_blancs(texte);
    if (v.size() >= 2 && v.front() == '\'' && v.back() == '\'') v = v.substr(1, v.size() - 2);
    return v;
}

// The first value given under one of the names.
std::string valeur_meta(const MetaXylib& meta, const Noms& noms) {
    for (std::string_view nom : noms)
        for (const auto& [cle, valeur] : meta)
            if (!nom.empty() && cle == nom && !sans_guillemets(valeur).empty())
                return sans_guillemets(valeur);
    return {};
}

double longueur_meta(const MetaXylib& meta, const Noms& noms) {
    const auto v = lit_reel(valeur_meta(meta, noms));
    return v && std::isfinite(*v) && *v > 0 ? *v : 0;
}

// The text of the first element `nom` of an XML text.
std::string element_xml(std::string_view xml, std::string_view nom) {
    for (auto p = xml.find(nom); p != std::string_view::npos; p = xml.find(nom, p + 1)) {
        if (p == 0 || xml[p - 1] != '<' || p + nom.size() >= xml.size()) continue;
        const char suivant = xml[p + nom.size()];
        if (suivant != '>' && suivant != ' ') continue;
        const auto debut = xml.find('>', p), fin = xml.find('<', p);
        if (debut < fin && fin != std::string_view::npos)
            return std::string(xml.substr(debut + 1, fin - debut - 1));
    }
    return {};
}

void prend_longueurs_onde(const MetaXylib& meta, ProfilLu& p) {
    p.lambda1 = longueur_meta(meta, noms_lambda1);
    p.lambda2 = longueur_meta(meta, noms_lambda2);
    p.rapport = longueur_meta(meta, noms_rapport);
    p.anode = valeur_meta(meta, noms_anode).substr(0, 2);
    const Anode* a = anode_de_nom(p.anode);
    if (p.lambda1 == 0 && a) { // an anode alone: its doublet from the table
        p.lambda1 = a->k_alpha1;
        p.lambda2 = a->k_alpha2;
        p.rapport = 0.5;
    }
    p.lambda = lambda_moyenne(p.lambda1, p.lambda2, p.rapport);
}

ProfilLu profil_de(const DonneesXylib& x, const std::filesystem::path& fichier) {
    ProfilLu p;
    termine_profil_aux_angles(p, x.angles, x.intensites, {}, fichier);
    const auto [bas, haut] = std::minmax_element(x.angles.begin(), x.angles.end());
    p.angle_debut = *bas;
    p.angle_fin = *haut;
    const std::size_t n = x.angles.size();
    p.pas = n > 1 ? (x.angles[n - 1] - x.angles[0]) / static_cast<double>(n - 1) : 0;
    p.titre = sans_blancs(valeur_meta(x.meta, noms_echantillon) + " (" + x.description + ")");
    prend_longueurs_onde(x.meta, p);
    return p;
}

// xylib leaves the wavelengths of an XRDML file unread.
void ajoute_longueurs_onde_xrdml(std::string_view xml, MetaXylib& meta) {
    for (std::string_view nom : {"kAlpha1", "kAlpha2", "ratioKAlpha2KAlpha1", "anodeMaterial"})
        meta.emplace_back(nom, element_xml(xml, nom));
}

} // namespace

ProfilLu lit_profil_xylib(const std::filesystem::path& fichier) {
    DonneesXylib x = charge_par_xylib(fichier, limite_profil);
    if (!x.erreur.empty()) refuse(fichier, "xylib cannot read it: " + x.erreur);
    if (x.bloc < 0) refuse(fichier, "xylib finds no range of equidistant or increasing angles");
    verifie_limite(fichier, x.nb_points, limite_profil, "profile points");
    if (x.format == "xrdml") ajoute_longueurs_onde_xrdml(lit_octets(fichier), x.meta);
    ProfilLu p = profil_de(x, fichier);
    if (x.nb_blocs > 1)
        p.informations.push_back(message_plages(fichier, x.nb_blocs, x.bloc + 1, p));
    return p;
}

} // namespace kovrin
