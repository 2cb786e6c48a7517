#include "interface/session_batch.h"

#include "commun/erreur.h"
#include "commun/fichier_texte.h"
#include "commun/texte.h"
#include "cristallo/groupes.h"
#include "cristallo/onglet_maille.h"
#include "cristallo/symboles.h"
#include "fichiers/fichiers_maille.h"
#include "fichiers/formats_profil.h"
#include "fichiers/rapports.h"
#include "interface/prise_donnees.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

namespace kovrin {

namespace {

std::string symbole_compare(std::string_view texte) {
    return majuscules(sans_blancs(texte));
}

int entree_hm(const ListeSymboles& liste, const std::string& cherche) {
    for (std::size_t i = 0; i < liste.entrees.size(); ++i)
        if (symbole_compare(liste.entrees[i]) == cherche) return static_cast<int>(i);
    return -1;
}

int entree_orsab(const ListeSymboles& liste, const std::string& cherche) {
    for (std::size_t i = 0; i < liste.entrees.size(); ++i) {
        const std::string_view e = liste.entrees[i];
        if (symbole_compare(symbole_hm_orsab(e)) == cherche ||
            symbole_compare(symbole_hall_orsab(e)) == cherche)
            return static_cast<int>(i);
    }
    return -1;
}

std::string liste_textes(const std::vector<std::string>& textes) {
    std::string r;
    for (const std::string& t : textes)
        r += (r.empty() ? "" : ", ") + t;
    return r;
}

// A cell file's symbol that the lists do not write as it is.
void choisit_groupe_ecrit_autrement(EspaceTravail& et, const std::filesystem::path& fichier,
                                    const std::string& symbole, Dialogues& d) {
    if (et.groupe.empty() || et.liste_hm.selection >= 0 || et.liste_orsab.selection >= 0) return;
    if (!choisit_groupe(et, symbole, false) && !choisit_groupe(et, symbole, true))
        d.information(message_erreur_fichier(fichier, message_groupe_absent(et, symbole, false)));
}

} // namespace

void efface_resultats_anciens(const std::filesystem::path& repertoire) {
    for (const char* nom : {"kovrin.out", "Excel.txt"}) {
        std::error_code ec;
        std::filesystem::remove(repertoire / nom, ec);
    }
    efface_anciens_rapports(repertoire);
}

void travaille_dans(EspaceTravail& et, const std::filesystem::path& repertoire) {
    et.repertoire = repertoire;
    std::error_code ec;
    std::filesystem::current_path(repertoire, ec);
}

bool repertoire_inscriptible(const std::filesystem::path& repertoire) {
    const std::filesystem::path essai = repertoire / ".kovrin-essai-ecriture";
    const bool ok = static_cast<bool>(std::ofstream(essai));
    std::error_code ec;
    std::filesystem::remove(essai, ec);
    return ok;
}

std::filesystem::path repertoire_de_travail(const std::filesystem::path& courant, bool bureau,
                                            const std::filesystem::path& propre) {
    if (!bureau && repertoire_inscriptible(courant)) return courant;
    std::error_code ec;
    std::filesystem::create_directories(propre, ec);
    return propre;
}

namespace {

// More lines than the 500 peaks a list holds, and its header.
inline constexpr int lignes_profil = 600;

GenreFichier genre_par_contenu(const std::filesystem::path& fichier) {
    std::ifstream f(fichier, std::ios::binary);
    std::string debut(512, '\0');
    f.read(debut.data(), static_cast<std::streamsize>(debut.size()));
    debut.resize(static_cast<std::size_t>(f.gcount()));
    if (debut.find('\0') != std::string::npos || debut.find("<?xml") != std::string::npos)
        return GenreFichier::profil;
    f.clear();
    f.seekg(0);
    int lignes = 0;
    for (std::string ligne; lignes <= lignes_profil && std::getline(f, ligne);)
        ++lignes;
    return lignes > lignes_profil ? GenreFichier::profil : GenreFichier::pics;
}

} // namespace

GenreFichier genre_fichier(const std::filesystem::path& fichier) {
    const std::string extension = majuscules(fichier.extension().string());
    if (extension == ".CRY" || extension == ".ICS") return GenreFichier::maille;
    if (extension == ".KOVRIN") return GenreFichier::projet;
    // A profile format's name that no peak format claims (.dat and .txt stay
    // peaks); the extension counts in any case.
    std::string nom = fichier.filename().string();
    const auto debut_extension = nom.end() - static_cast<std::ptrdiff_t>(extension.size());
    std::transform(debut_extension, nom.end(), debut_extension,
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const bool colonnes = format_pics_par_nom(nom) == pics_colonne;
    if (code_profil_de_nom(nom, 0) != 0 && colonnes) return GenreFichier::profil;
    if (colonnes && extension != ".PRN") return genre_par_contenu(fichier);
    return GenreFichier::pics;
}

std::string filtre_ouverture() {
    std::vector<std::string> motifs_connus;
    const auto ajoute = [&](std::string_view liste) {
        std::istringstream mots{std::string(liste)};
        for (std::string m; mots >> m;)
            if (m != "*" &&
                std::find(motifs_connus.begin(), motifs_connus.end(), m) == motifs_connus.end())
                motifs_connus.push_back(m);
    };
    for (const FormatFichierPics& f : formats_pics)
        ajoute(f.motif);
    for (const FormatFichierProfil& f : formats_profil)
        ajoute(motifs(f));
    ajoute("*.cry *.ics *.kovrin");
    std::string filtre = "Peak, profile, cell and project files|";
    for (const std::string& m : motifs_connus)
        filtre += m + (&m == &motifs_connus.back() ? "" : " ");
    return filtre + "|All files|*";
}

std::vector<std::filesystem::path>
dans_l_ordre_des_genres(std::vector<std::filesystem::path> fichiers) {
    std::stable_sort(fichiers.begin(), fichiers.end(), [](const auto& a, const auto& b) {
        return genre_fichier(a) < genre_fichier(b);
    });
    return fichiers;
}

std::optional<MailleLue> lit_fichier_maille(const std::filesystem::path& fichier, Dialogues& d) {
    return lit_en_montrant(d, [&] {
        return contient(fichier.string(), ".ics") ? lit_maille_icsd(fichier)
                                                  : lit_maille_kovrin(fichier);
    });
}

void prend_maille_lue(EspaceTravail& et, const std::filesystem::path& fichier, const MailleLue& lue,
                      Dialogues& d) {
    // Worked on a copy: the symbol lists may fail to load after the cell is in.
    EspaceTravail essai = et;
    essai.calculees.efface();
    essai.selection.efface();
    essai.affinement_ok = false;
    essai.fichier_maille = fichier.string();
    if (lue.ligne_titre) essai.ligne_titre = *lue.ligne_titre;
    // A hand-written file may carry blanks or lower case around the code.
    if (lue.systeme) essai.systeme = symbole_compare(*lue.systeme);
    essai.groupe = symbole_compare(lue.groupe);
    essai.maille = essai.maille_initiale = lue.maille;
    remplit_liste_orsab(essai);
    remplit_liste_hm(essai);
    choisit_groupe_ecrit_autrement(essai, fichier, lue.groupe, d);
    et = std::move(essai);
}

bool choisit_groupe(EspaceTravail& et, std::string_view symbole, bool hall) {
    const std::string cherche = symbole_compare(symbole);
    if (cherche.empty()) return false;
    ListeSymboles& liste = hall ? et.liste_orsab : et.liste_hm;
    ListeSymboles& autre = hall ? et.liste_hm : et.liste_orsab;
    int i = hall ? entree_orsab(liste, cherche) : entree_hm(liste, cherche);
    if (i < 0) i = hall ? entree_orsab_du_symbole(et, symbole) : entree_hm_du_symbole(et, symbole);
    if (i < 0) return false;
    liste.selection = i;
    autre.selection = -1;
    const std::string& entree = liste.entrees[static_cast<std::size_t>(i)];
    if (hall) {
        efface_scfs2(); // the library's scratch file of an earlier symbol
        et.groupe = symbole_compare(symbole_hm_orsab(entree));
        et.origine_groupe = "HALL";
    } else {
        et.groupe = symbole_compare(entree);
        et.origine_groupe = "HM";
    }
    return true;
}

std::string message_groupe_absent(const EspaceTravail& et, std::string_view symbole, bool hall) {
    const FicheSysteme* systeme = fiche_de_code(et.systeme);
    std::string texte = "the space group \"" + std::string(symbole) + "\" is not in the " +
                        (hall ? "list with Hall notation" : "H-M list") + " of the system " +
                        (systeme ? std::string(systeme->legende) : et.systeme);
    if (!hall && entree_orsab_du_symbole(et, symbole) >= 0)
        texte += " (the list with Hall notation holds it)";
    const auto proches = entrees_proches(hall ? et.liste_orsab : et.liste_hm, symbole, hall, 5);
    return texte + "; closest entries: " + liste_textes(proches);
}

} // namespace kovrin
