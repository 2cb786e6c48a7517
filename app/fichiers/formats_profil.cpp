#include "fichiers/formats_profil.h"

#include "commun/texte.h"
#include "fichiers/lecteurs_profil.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace kovrin {

namespace {

// The table's readers share one signature; only the CPI reader uses the workspace's state.
ProfilLu lit_raw_ou_xylib(const std::filesystem::path& f, bool) {
    // A raw file of a version the program's reader does not know (RAW4...) goes to xylib.
    return layout_raw_connu(f) ? lit_profil_raw(f) : lit_profil_xylib(f);
}
ProfilLu lit_rietveld(const std::filesystem::path& f, bool) {
    return lit_profil_rietveld(f);
}
ProfilLu lit_rd(const std::filesystem::path& f, bool) {
    return lit_profil_philips(f);
}
ProfilLu lit_xylib(const std::filesystem::path& f, bool) {
    return lit_profil_xylib(f);
}

std::vector<std::string> extensions_de(const FormatFichierProfil& f) {
    std::istringstream mots{std::string(f.extensions)};
    std::vector<std::string> r;
    for (std::string e; mots >> e;)
        r.push_back(e);
    return r;
}

std::string joint(const std::vector<std::string>& parties, std::string_view separateur) {
    std::string r;
    for (const std::string& p : parties)
        r += (r.empty() ? "" : std::string(separateur)) + p;
    return r;
}

std::vector<std::string> motifs_de(const FormatFichierProfil& f) {
    std::vector<std::string> r;
    for (const std::string& e : extensions_de(f))
        r.push_back("*" + e);
    if (f.tout_fichier) r.push_back("*");
    return r;
}

bool extension_dans_nom(const FormatFichierProfil& f, std::string_view nom) {
    const auto extensions = extensions_de(f);
    return std::any_of(extensions.begin(), extensions.end(),
                       [nom](const std::string& e) { return contient(nom, e); });
}

// The historic rule: each extension found anywhere in the name, the highest rank winning.
const FormatFichierProfil* historique_de_nom(std::string_view nom) {
    const FormatFichierProfil* choisi = nullptr;
    for (const auto& f : formats_profil)
        if (f.rang_dans_nom > 0 && extension_dans_nom(f, nom) &&
            (!choisi || f.rang_dans_nom > choisi->rang_dans_nom))
            choisi = &f;
    return choisi;
}

const FormatFichierProfil* autre_de_nom(std::string_view nom) {
    const std::string extension =
        majuscules(std::filesystem::path(std::string(nom)).extension().string());
    for (const auto& f : formats_profil)
        for (const std::string& e : extensions_de(f))
            if (f.rang_dans_nom == 0 && !extension.empty() && majuscules(e) == extension) return &f;
    return nullptr;
}

} // namespace

const std::array<FormatFichierProfil, 5> formats_profil{{
    {profil_raw, "Brucker Format", ".raw", 2, false, lit_raw_ou_xylib},
    {profil_rietveld, "Rietveld Format", ".dat", 3, false, lit_rietveld},
    {profil_cpi, "CPI Format", ".cpi", 4, false, lit_profil_cpi},
    {profil_rd, "Philips Format", ".rd", 1, false, lit_rd},
    {profil_xylib, "Other formats through xylib", ".xrdml .uxd .udf .xy .csv .txt", 0, true,
     lit_xylib},
}};

const FormatFichierProfil* format_profil(int code) {
    auto f = std::find_if(formats_profil.begin(), formats_profil.end(),
                          [code](const auto& ligne) { return ligne.code == code; });
    return f == formats_profil.end() ? nullptr : &*f;
}

int code_profil_de_nom(std::string_view nom, int code_menu) {
    if (const auto* f = historique_de_nom(nom)) return f->code;
    if (const auto* f = autre_de_nom(nom)) return f->code;
    return code_menu;
}

std::string motifs(const FormatFichierProfil& f) {
    return joint(motifs_de(f), " ");
}

std::string texte_filtre(const FormatFichierProfil& f) {
    return std::string(f.nom) + " (" + motifs(f) + ")";
}

std::string filtre_qt_profils() {
    std::vector<std::string> filtres;
    for (const auto& f : formats_profil)
        filtres.push_back(texte_filtre(f));
    return joint(filtres, ";;");
}

std::string filtre_profils() {
    std::vector<std::string> filtres;
    for (const auto& f : formats_profil)
        filtres.push_back(texte_filtre(f) + "|" + joint(motifs_de(f), ";"));
    return joint(filtres, "|");
}

} // namespace kovrin
