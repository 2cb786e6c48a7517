#include "interface/sauvegarde.h"

#include "commun/erreur.h"
#include "commun/texte.h"
#include "fichiers/ecrivains.h"

namespace kovrin {

namespace {

struct Entree {
    int filtre;
    const char* extension;
    bool pics;
};

Entree entree(Sauvegarde s) {
    switch (s) {
    case Sauvegarde::pics_dif:
    case Sauvegarde::pics_dif_fenetre:
        return {1, ".dif", true};
    case Sauvegarde::pics_colonne:
        return {2, ".prn", true};
    case Sauvegarde::profil_raw:
        return {3, ".raw", false};
    case Sauvegarde::profil_cpi:
        return {4, ".cpi", false};
    }
    return {1, ".dif", true};
}

constexpr int points_max_raw2 = 32767; // the count is a 16-bit field

bool profil_sauvable(const EspaceTravail& et, Sauvegarde s, Dialogues& d) {
    int n = et.profil.taille();
    if (n == 0) {
        d.erreur("No pattern!");
        return false;
    }
    if (n < 2) {
        d.erreur("A pattern of one point has no step: it cannot be saved.");
        return false;
    }
    if (s == Sauvegarde::profil_raw && n > points_max_raw2) {
        d.erreur("A RAW file holds at most 32767 points: this pattern cannot be saved in it.");
        return false;
    }
    return true;
}

void ecrit(const EspaceTravail& et, Sauvegarde s, const std::string& fichier) {
    const ProfilAEcrire profil{et.profil, et.entete_profil, et.ligne_titre, et.angle_min};
    switch (s) {
    case Sauvegarde::pics_dif:
    case Sauvegarde::pics_dif_fenetre:
        return ecrit_pics_dif({et.mesures, et.lambda, et.angle_min}, fichier);
    case Sauvegarde::pics_colonne:
        return ecrit_pics_colonne(et.mesures, fichier);
    case Sauvegarde::profil_raw:
        return ecrit_profil_raw(profil, fichier);
    case Sauvegarde::profil_cpi:
        return ecrit_profil_cpi(profil, fichier);
    }
}

} // namespace

std::string avec_extension(const std::string& nom, const std::string& extension) {
    return contient(nom, extension) ? nom : nom + extension;
}

bool ecrasement_accepte(const std::filesystem::path& fichier, Dialogues& d) {
    return !std::filesystem::exists(fichier) ||
           d.confirmation("This file already exists. Do you want to continue?") == Reponse::oui;
}

int index_filtre(Sauvegarde s) {
    return entree(s).filtre;
}

bool sauvegarde_possible(const EspaceTravail& et, Sauvegarde s, Dialogues& d) {
    if (!entree(s).pics) return profil_sauvable(et, s, d);
    if (!et.mesures.vide()) return true;
    d.erreur(s == Sauvegarde::pics_dif_fenetre ? "No measurement!"
                                               : "No measured reflection angles!");
    return false;
}

std::optional<std::string> sauvegarde(EspaceTravail& et, Sauvegarde s, const std::string& nom,
                                      Dialogues& d) {
    if (!sauvegarde_possible(et, s, d) || nom.empty()) return std::nullopt;
    Entree e = entree(s);
    std::string fichier = avec_extension(nom, e.extension);
    if (!ecrasement_accepte(fichier, d)) return std::nullopt;
    try {
        ecrit(et, s, fichier);
    } catch (const ErreurKovrin& erreur) {
        d.erreur(erreur.what());
        return std::nullopt;
    }
    // The name is kept once the file exists, so that a later re-read of the
    // angle range reads what was written.
    (e.pics ? et.entete_pics.fichier_pics : et.fichier_profil_sauve) = fichier;
    if (s != Sauvegarde::pics_colonne && s != Sauvegarde::profil_raw)
        d.information("The peak positions were saved in the file " + fichier);
    return fichier;
}

} // namespace kovrin
