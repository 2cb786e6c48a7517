#include "entrees.h"

#include "commun/dialogues.h"
#include "commun/erreur.h"
#include "commun/texte.h"
#include "cristallo/domaines.h"
#include "cristallo/groupes.h"
#include "cristallo/symboles.h"
#include "fichiers/fichiers_maille.h"
#include "fichiers/formats_profil.h"
#include "fichiers/lecteurs_pics.h"
#include "fichiers/lecture_montree.h"

#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>

namespace kovrin::fuzz {

namespace {

constexpr std::array<const char*, 7> systemes{"TRIC", "MONO", "ORTH", "TETR",
                                              "HEXA", "RHOM", "CUBI"};

void ecrit(const std::filesystem::path& nom, std::string_view contenu) {
    std::ofstream(nom, std::ios::binary | std::ios::trunc)
        .write(contenu.data(), static_cast<std::streamsize>(contenu.size()));
}

// The selector byte and the rest of the input.
std::pair<unsigned char, std::string_view> coupe(std::string_view entree) {
    if (entree.empty()) return {0, entree};
    return {static_cast<unsigned char>(entree[0]), entree.substr(1)};
}

std::string refus_muet(bool lu, const DialoguesEnregistres& d, std::string_view lecteur) {
    return lu || !d.erreurs().empty() ? ""
                                      : std::string(lecteur) + " refused its file without a word";
}

bool fini(double v) {
    return std::isfinite(v);
}

// A workspace holding the two symbol lists of a system, from the program's own data.
const EspaceTravail& listes_de(const std::string& systeme) {
    static std::map<std::string, std::unique_ptr<EspaceTravail>> listes;
    auto& et = listes[systeme];
    if (!et) {
        et = std::make_unique<EspaceTravail>();
        et->repertoire = KOVRIN_DATA_SOURCE_DIR;
        et->systeme = systeme;
        remplit_liste_orsab(*et);
        remplit_liste_hm(*et);
    }
    return *et;
}

void cherche_symbole(const EspaceTravail& et, std::string_view symbole) {
    entree_hm_du_symbole(et, symbole);
    entree_orsab_du_symbole(et, symbole);
    entrees_proches(et.liste_hm, symbole, false, 5);
    entrees_proches(et.liste_orsab, symbole, true, 5);
}

// --- peaks ------------------------------------------------------------------------

struct LecteurPics {
    const char* fichier;
    PicsLus (*lecture)(const std::filesystem::path&);
};
constexpr LecteurPics lecteurs_pics[] = {{"entree.dif", lit_pics_dif},
                                         {"entree.txt", lit_pics_xfit},
                                         {"entree.dat", lit_pics_winfit},
                                         {"entree.di", lit_pics_philips},
                                         {"entree.prn", lit_pics_colonne}};

std::string verifie_pics(const PicsLus& p) {
    if (p.pics.empty() || p.pics.size() > 500) return "peak count out of 1 ... 500";
    for (const PicLu& pic : p.pics) {
        if (!fini(pic.angle) || !fini(pic.intensite)) return "a peak that is not a finite number";
        if (refus_deux_theta(pic.angle) || refus_aire(pic.intensite))
            return "a peak taken in with its angle or intensity out of its domain";
    }
    return fini(p.angle_debut) && fini(p.angle_fin) ? "" : "an angle range that is not finite";
}

// --- profiles ---------------------------------------------------------------------

std::string verifie_profil(const ProfilLu& p) {
    if (p.points.empty() || p.points.size() > 30000) return "point count out of 1 ... 30000";
    for (const PointProfil& point : p.points)
        if (!fini(point.angle) || !(point.intensite >= 0 && point.intensite <= 100.001f))
            return "a point whose angle is not finite or whose intensity is out of 0 ... 100";
    return fini(p.angle_debut) && fini(p.angle_fin) ? "" : "an angle range that is not finite";
}

// --- space-group files ------------------------------------------------------------

std::string essaie_spgr2(EspaceTravail& et, std::string_view contenu) {
    ecrit("spgr2.dat", contenu);
    remplit_liste_orsab(et, "spgr2.dat");
    entree_orsab_du_symbole(et, "F d -3 m");
    return "";
}

std::string essaie_pos(EspaceTravail& et, std::string_view contenu, Dialogues& d) {
    ecrit(fichier_pos(et.systeme), contenu);
    remplit_liste_hm(et);
    // Each load reads the whole file again: the first blocks and the last are enough.
    const std::size_t n = et.liste_hm.entrees.size();
    for (std::size_t i : {std::size_t{1}, std::size_t{2}, n - 1}) {
        if (i >= n) continue;
        et.groupe = majuscules(sans_blancs(et.liste_hm.entrees[i]));
        try {
            charge_operateurs_hm(et, d);
        } catch (const ErreurKovrin&) {
            // a malformed block: the command ends with its message
        }
    }
    entree_hm_du_symbole(et, "P 21/c");
    return "";
}

std::string essaie_scfs(EspaceTravail& et, std::string_view contenu, unsigned char choix) {
    et.groupe = std::string(1, "PFICABRN"[(choix / 7) % 8]);
    ecrit("scfs.dat", contenu);
    lit_operateurs_scfs(et);
    return "";
}

} // namespace

std::string essaie_pics(std::string_view entree) {
    const auto [choix, contenu] = coupe(entree);
    const LecteurPics& l = lecteurs_pics[choix % std::size(lecteurs_pics)];
    ecrit(l.fichier, contenu);
    DialoguesEnregistres d;
    const auto lus = lit_en_montrant(d, [&] { return l.lecture(l.fichier); });
    if (!lus) return refus_muet(false, d, l.fichier);
    return verifie_pics(*lus);
}

std::string essaie_profils(std::string_view entree) {
    const auto [choix, contenu] = coupe(entree);
    const FormatFichierProfil& f = formats_profil[(choix & 0x7F) % formats_profil.size()];
    const std::string fichier =
        "entree" + std::string(f.extensions.substr(0, f.extensions.find(' ')));
    ecrit(fichier, contenu);
    DialoguesEnregistres d;
    const bool occupe = (choix & 0x80) != 0;
    const auto lu = lit_en_montrant(d, [&] { return f.lecteur(fichier, occupe); });
    if (!lu) return refus_muet(false, d, fichier);
    return verifie_profil(*lu);
}

std::string essaie_mailles(std::string_view entree) {
    const auto [choix, contenu] = coupe(entree);
    const std::string fichier = choix % 2 ? "entree.ics" : "entree.cry";
    ecrit(fichier, contenu);
    DialoguesEnregistres d;
    const bool icsd = choix % 2 != 0;
    const auto lue = lit_en_montrant(
        d, [&] { return icsd ? lit_maille_icsd(fichier) : lit_maille_kovrin(fichier); });
    if (!lue) return refus_muet(false, d, fichier);
    if (refus_maille(lue->maille)) return "a cell taken in out of its domain";
    const std::string systeme = majuscules(sans_blancs(lue->systeme.value_or("")));
    for (const char* s : systemes)
        if (systeme == s) cherche_symbole(listes_de(s), lue->groupe);
    return "";
}

std::string essaie_groupes(std::string_view entree) {
    auto [choix, contenu] = coupe(entree);
    const unsigned char second = contenu.empty() ? 0 : static_cast<unsigned char>(contenu[0]);
    if (!contenu.empty()) contenu.remove_prefix(1);
    auto et = std::make_unique<EspaceTravail>(); // 30000 profile points: not on the stack
    et->repertoire = std::filesystem::current_path();
    et->systeme = systemes[second % systemes.size()];
    DialoguesEnregistres d;
    try {
        switch (choix % 4) {
        case 0:
            return essaie_spgr2(*et, contenu);
        case 1:
            return essaie_pos(*et, contenu, d);
        case 2:
            return essaie_scfs(*et, contenu, second);
        default:
            cherche_symbole(listes_de(et->systeme), contenu);
        }
    } catch (const ErreurKovrin&) {
        // a malformed data file: the command ends with its message
    }
    return "";
}

Essai essai_de(std::string_view cible) {
    constexpr std::pair<std::string_view, Essai> essais[] = {{"pics", essaie_pics},
                                                             {"profils", essaie_profils},
                                                             {"mailles", essaie_mailles},
                                                             {"groupes", essaie_groupes},
                                                             {"batch", essaie_batch}};
    for (const auto& [nom, essai] : essais)
        if (nom == cible) return essai;
    return nullptr;
}

} // namespace kovrin::fuzz
