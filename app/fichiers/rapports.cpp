#include "fichiers/rapports.h"

#include "commun/erreur.h"
#include "commun/fichier_texte.h"
#include "commun/format.h"
#include "commun/texte.h"

#include <string>

namespace kovrin {

namespace {

std::string etiquette_reel(const char* etiquette, double valeur, int largeur, int decimales) {
    return etiquette + pascal_reel(valeur, largeur, decimales);
}

// The first seven lines of raw.out and dif.out: file, sample and wavelengths.
template <typename Entete>
void entete_de_donnees(EcrivainTexte& f, const std::string& fichier, const std::string& echantillon,
                       const Entete& e) {
    f.ligne("File name    :" + nom_sans_repertoire(fichier));
    f.ligne("sample ID    :" + echantillon);
    f.ligne("Anode        :" + e.anode);
    f.ligne(etiquette_reel("Ratio        :", e.rapport, 8, 2));
    f.ligne(etiquette_reel("Lambda       :", e.lambda, 8, 5));
    f.ligne(etiquette_reel("Lambda1      :", e.lambda1, 8, 5));
    f.ligne(etiquette_reel("Lambda2      :", e.lambda2, 8, 5));
}

double intensite_brute_profil(const EspaceTravail& et, const PointProfil& p) {
    const auto& e = et.entete_profil;
    return p.intensite * (e.intensite_max_brute - e.intensite_min_brute) * 0.01 +
           e.intensite_min_brute;
}

// A one-point profile has no second point: its step is the file's.
double pas_du_profil(const EspaceTravail& et) {
    if (et.profil.taille() < 2) return et.entete_profil.pas;
    return static_cast<double>(et.profil[2].angle) - et.profil[1].angle;
}

// Stored intensities have their largest at 100; the scale gives back the raw
// values. A list that was never scaled is printed as it is.
double intensite_brute_pic(const EspaceTravail& et, const Mesure& m) {
    double echelle = et.entete_pics.echelle_intensite;
    return echelle > 0 ? m.intensite_mes * echelle * 0.01 : m.intensite_mes;
}

std::filesystem::path dans_repertoire(const EspaceTravail& et, const char* nom) {
    return et.repertoire.empty() ? std::filesystem::path(nom) : et.repertoire / nom;
}

// Writes the report, checks that it exists and opens it in the viewer.
template <typename Ecrivain>
bool montre_rapport(const EspaceTravail& et, const std::filesystem::path& fichier,
                    Ecrivain ecrivain, Dialogues& d) {
    try {
        ecrivain(et, fichier);
    } catch (const ErreurKovrin& e) {
        d.erreur(e.what());
        return false;
    }
    if (!std::filesystem::exists(fichier)) {
        d.erreur("No results");
        return false;
    }
    d.ouvre_visionneuse(fichier);
    return true;
}

} // namespace

void ecrit_raw_out(const EspaceTravail& et, const std::filesystem::path& fichier) {
    const EnteteProfil& e = et.entete_profil;
    EcrivainTexte f(fichier);
    entete_de_donnees(f, e.fichier_profil, e.titre, e);
    f.ligne(etiquette_reel("Start angle  :", e.angle_debut, 8, 2));
    f.ligne(etiquette_reel("Final angle  :", e.angle_fin, 8, 2));
    f.ligne(etiquette_reel("Step Size    :", pas_du_profil(et), 8, 3));
    f.ligne("Nb of points :" + pascal_entier(et.profil.taille(), 8));
    std::string ligne;
    int sur_la_ligne = 0;
    for (const PointProfil& p : et.profil) {
        ligne += pascal_reel(p.angle, 8, 3) + pascal_reel(intensite_brute_profil(et, p), 8, 0);
        if (++sur_la_ligne == 5) {
            f.ligne(ligne);
            ligne.clear();
            sur_la_ligne = 0;
        }
    }
    if (sur_la_ligne > 0) f.ligne(ligne);
    f.ferme();
}

void ecrit_dif_out(const EspaceTravail& et, const std::filesystem::path& fichier) {
    const EntetePics& e = et.entete_pics;
    EcrivainTexte f(fichier);
    entete_de_donnees(f, e.fichier_pics, e.echantillon, e);
    f.ligne("Nb of peaks  : " + std::to_string(et.mesures.taille()));
    f.ligne();
    f.ligne("  N  2Theta  Intensity");
    for (int i = 1; i <= et.mesures.taille(); ++i)
        f.ligne(pascal_entier(i, 3) + pascal_reel(et.mesures[i].deux_theta_mes, 8, 3) +
                pascal_reel(intensite_brute_pic(et, et.mesures[i]), 8, 0));
    f.ferme();
}

void ecrit_indx_out(const EspaceTravail& et, const std::filesystem::path& fichier) {
    const auto& m = et.maille;
    EcrivainTexte f(fichier);
    f.ligne("File name    :" + nom_sans_repertoire(et.fichier_maille));
    f.ligne("Space Group  :" + et.groupe);
    f.ligne(etiquette_reel("a            :", m[0], 8, 4));
    f.ligne(etiquette_reel("b            :", m[1], 8, 4));
    f.ligne(etiquette_reel("c            :", m[2], 8, 4));
    f.ligne(etiquette_reel("alpha        :", m[3], 8, 3));
    f.ligne(etiquette_reel("beta         :", m[4], 8, 3));
    f.ligne(etiquette_reel("gamma        :", m[5], 8, 3));
    f.ligne(etiquette_reel("Lambda       :", et.lambda, 8, 5));
    f.ligne("Nb. of refl. :" + pascal_entier(et.calculees.taille(), 8));
    f.ligne();
    f.ligne("  N  h  k  l    Dhkl  2Theta   Theta");
    for (int j = 1; j <= et.calculees.taille(); ++j) {
        const RaieCalculee& r = et.calculees[j];
        f.ligne(pascal_entier(j, 3) + pascal_entier(r.h, 3) + pascal_entier(r.k, 3) +
                pascal_entier(r.l, 3) + pascal_reel(r.dhkl, 8, 4) +
                pascal_reel(r.deux_theta, 8, 3) + pascal_reel(r.deux_theta / 2.0, 8, 3));
    }
    f.ferme();
}

void ecrit_indx_court(const EspaceTravail& et, const std::filesystem::path& fichier) {
    const auto& m = et.maille;
    EcrivainTexte f(fichier);
    f.ligne("Lambda: " + pascal_reel(et.lambda, 10, 5));
    f.ligne("Cell  : " + pascal_reel(m[0], 10, 4) + pascal_reel(m[1], 10, 4) +
            pascal_reel(m[2], 10, 4) + pascal_reel(m[3], 10, 3) + pascal_reel(m[4], 10, 3) +
            pascal_reel(m[5], 10, 3));
    f.ligne("Group : " + et.groupe);
    f.ligne("   Nb   h   k   l   Dhkl   Bragg");
    for (int j = 1; j <= et.calculees.taille(); ++j) {
        const RaieCalculee& r = et.calculees[j];
        f.ligne(pascal_entier(j, 5) + pascal_entier(r.h, 4) + pascal_entier(r.k, 4) +
                pascal_entier(r.l, 4) + pascal_reel(r.dhkl, 8, 4) +
                pascal_reel(r.deux_theta, 8, 3));
    }
    f.ferme();
}

bool rapport_profil(const EspaceTravail& et, Dialogues& d) {
    if (et.profil.vide()) {
        d.erreur("No diagram!");
        return false;
    }
    return montre_rapport(et, dans_repertoire(et, "raw.out"), ecrit_raw_out, d);
}

bool rapport_pics(const EspaceTravail& et, Dialogues& d) {
    if (et.mesures.vide()) {
        d.erreur("No measured peaks!");
        return false;
    }
    return montre_rapport(et, dans_repertoire(et, "dif.out"), ecrit_dif_out, d);
}

bool rapport_raies(const EspaceTravail& et, Dialogues& d) {
    if (et.calculees.vide()) {
        d.erreur("No calculated peaks!");
        return false;
    }
    return montre_rapport(et, dans_repertoire(et, "indx.out"), ecrit_indx_out, d);
}

bool liste_raies_indx(const EspaceTravail& et, Dialogues& d) {
    std::error_code ignore;
    std::filesystem::remove("indx.out", ignore);
    if (et.calculees.vide()) return false;
    return montre_rapport(et, "indx.out", ecrit_indx_court, d);
}

void efface_anciens_rapports(const std::filesystem::path& repertoire) {
    std::error_code ignore;
    for (const char* nom : {"raw.out", "indx.out", "dif.out"})
        std::filesystem::remove(repertoire / nom, ignore);
}

} // namespace kovrin
