#include "affinement/affinement.h"

#include "commun/erreur.h"
#include "commun/fichier_texte.h"
#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/domaines.h"
#include "cristallo/geometrie.h"
#include "cristallo/raies.h"
#include "cristallo/systemes.h"
#include "kovrin/calcul.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kovrin {

namespace {

constexpr std::size_t longueur_titre_max = 99;

int compte_drapeaux(const std::array<float, 8>& drapeaux) {
    int n = 0;
    for (float f : drapeaux)
        if (f != 0.0f) ++n;
    return n;
}

void remplit_titre(TamponsMoteur& tampons, const std::string& titre) {
    tampons.texte.fill(0);
    tampons.texte[0] = static_cast<std::int16_t>(titre.size());
    for (std::size_t i = 0; i < titre.size(); ++i)
        tampons.texte[i + 1] = static_cast<std::int16_t>(static_cast<unsigned char>(titre[i]));
}

void remplit_reflexions(const EspaceTravail& espace, TamponsMoteur& tampons) {
    tampons.h.fill(0);
    tampons.k.fill(0);
    tampons.l.fill(0);
    tampons.angles.fill(0);
    for (int i = 1; i <= espace.selection.taille(); ++i) {
        const Paire& p = espace.selection[i];
        auto j = static_cast<std::size_t>(i - 1);
        tampons.h[j] = p.h;
        tampons.k[j] = p.k;
        tampons.l[j] = p.l;
        tampons.angles[j] = p.deux_theta_obs;
    }
}

// The workspace takes the result of a call that ended with "Fin normale".
void retient_resultats(EspaceTravail& espace, const TamponsMoteur& tampons, double lambda) {
    espace.lambda = lambda;
    espace.moteur = tampons;
    espace.affinement_ok = true;
    for (std::size_t i = 0; i < 6; ++i)
        espace.maille_affinee[i] = tampons.parametres[i + 2];
    espace.decalage = tampons.parametres[0];
    espace.deux_theta_corrige.fill(0);
    for (int i = 1; i <= espace.selection.taille(); ++i) {
        double obs = espace.selection[i].deux_theta_obs;
        espace.deux_theta_corrige[static_cast<std::size_t>(i)] =
            static_cast<float>(obs - terme_angulaire(espace.mode_decalage, espace.decalage, obs));
    }
}

} // namespace

double terme_angulaire(int mode_decalage, double decalage, double deux_theta) {
    return mode_decalage == 2 ? decalage * std::cos(deux_theta / deux_theta_par_radian) : decalage;
}

MarquesAffinement marques_affinement(const OngletMaille& onglet_maille) {
    MarquesAffinement m{};
    m[rang_decalage] = onglet_maille.coche[6];
    m[rang_lambda] = onglet_maille.coche[7];
    for (std::size_t i = 0; i < 6; ++i)
        m[rang_a + i] = onglet_maille.coche[i];
    return m;
}

void coche_marques(OngletMaille& onglet_maille, const MarquesAffinement& m) {
    onglet_maille.coche[6] = m[rang_decalage];
    onglet_maille.coche[7] = m[rang_lambda];
    for (std::size_t i = 0; i < 6; ++i)
        onglet_maille.coche[i] = m[rang_a + i];
}

std::string titre_affinement(const std::string& fichier_pics) {
    std::string titre = nom_sans_repertoire(fichier_pics);
    if (titre.empty()) return "No Title";
    return titre.substr(0, std::min(titre.size(), longueur_titre_max));
}

// Lambda refined with every free cell length: one factor on them all leaves
// every angle as it is, and the normal matrix is singular.
bool lambda_et_longueurs_lies(const std::string& systeme, const MarquesAffinement& a_affiner) {
    const FicheSysteme* f = fiche_de_code(systeme);
    if (!f || !a_affiner[rang_lambda]) return false;
    for (int i = 0; i < 3; ++i)
        if (!(f->comme_a & (1u << i)) && !a_affiner[static_cast<std::size_t>(rang_a + i)])
            return false;
    return true;
}

bool prepare_parametres(const EspaceTravail& espace, const ChampsAffinement& champs,
                        TamponsMoteur& tampons, double& lambda, Dialogues& dialogues) {
    tampons.drapeaux.fill(0);
    for (std::size_t i = 0; i < 6; ++i)
        tampons.parametres[i + 2] = static_cast<float>(espace.maille[i]);
    // A wavelength of 0 or less would give the engine no spacing to work with.
    const Saisie& l = champs.lambda_initial;
    if (!l.nombre() || refus_lambda(l.valeur)) {
        dialogues.erreur("Error on Lambda!");
        return false;
    }
    lambda = l.valeur;
    tampons.parametres[rang_lambda] = static_cast<float>(lambda);
    // An empty box reads as 0, as every number field of the window does.
    const Saisie& z = champs.decalage_initial;
    if (z.etat == Saisie::Etat::illisible || std::fabs(z.valeur) >= 180) {
        dialogues.erreur("Error on Angular Shift!");
        return false;
    }
    tampons.parametres[rang_decalage] = static_cast<float>(z.valeur);
    for (std::size_t i = 0; i < nb_parametres; ++i)
        if (champs.a_affiner[i]) tampons.drapeaux[i] = 1.0f;
    if (lambda_et_longueurs_lies(espace.systeme, champs.a_affiner)) {
        dialogues.erreur("λ and the cell lengths cannot be refined together: one factor on them "
                         "all leaves every angle unchanged. Untick λ or a cell length.");
        return false;
    }
    tampons.npar = compte_drapeaux(tampons.drapeaux);
    if (espace.selection.taille() < tampons.npar + 1) {
        dialogues.erreur("Nb of selected reflections too low");
        return false;
    }
    return true;
}

double valeur_depart_cubique(const EspaceTravail& espace, double lambda) {
    double somme = 0;
    for (const Paire& p : espace.selection) {
        double d = lambda / (2 * std::sin(p.deux_theta_obs / deux_theta_par_radian));
        int q = p.h * p.h + p.k * p.k + p.l * p.l;
        somme += d * std::sqrt(static_cast<double>(q));
    }
    return somme / espace.selection.taille();
}

void ecrit_kovrin_inp(const std::filesystem::path& chemin, const TamponsMoteur& t) {
    EcrivainTexte f(chemin);
    std::string titre;
    for (int i = 1; i <= std::min<int>(t.texte[0], longueur_titre_max); ++i)
        titre += static_cast<char>(t.texte[static_cast<std::size_t>(i)]);
    f.ligne(titre);
    f.ligne(pascal_entier(t.lettre, 4));
    for (std::size_t i = 0; i < nb_parametres; ++i)
        f.ligne(pascal_reel(t.parametres[i], 8, 4) + pascal_reel(t.drapeaux[i], 8, 4));
    for (std::size_t j = 0; j < KOVRIN_NB_REFLEXIONS; ++j)
        f.ligne(pascal_entier(std::lround(t.h[j]), 4) + pascal_entier(std::lround(t.k[j]), 4) +
                pascal_entier(std::lround(t.l[j]), 4) + pascal_reel(t.angles[j], 10, 4));
    f.ferme();
}

std::string statut_moteur(const TamponsMoteur& tampons) {
    int longueur = std::min<int>(tampons.texte[0], KOVRIN_TAILLE_TEXTE - 1);
    std::string statut;
    for (int i = 1; i <= longueur; ++i)
        statut += static_cast<char>(tampons.texte[static_cast<std::size_t>(i)]);
    return statut;
}

bool lance_affinement(EspaceTravail& espace, const ChampsAffinement& champs,
                      OngletAffinement& onglet, Dialogues& dialogues, FonctionCalcul moteur) {
    if (espace.selection.vide()) {
        dialogues.erreur("No selected reflections!");
        return false;
    }
    // The engine's length ties follow the system letter: without a system there is none to send.
    if (espace.systeme.empty()) {
        dialogues.erreur("No system!");
        return false;
    }
    TamponsMoteur t;
    t.lettre = static_cast<std::int16_t>(static_cast<unsigned char>(espace.systeme[0]));
    double lambda = 0;
    if (!prepare_parametres(espace, champs, t, lambda, dialogues)) return false;
    if (est(espace.systeme, Systeme::cubique) && champs.a_affiner[rang_a]) {
        auto a = static_cast<float>(valeur_depart_cubique(espace, lambda));
        t.parametres[rang_a] = t.parametres[rang_b] = t.parametres[rang_c] = a;
    }
    remplit_reflexions(espace, t);
    remplit_titre(t, titre_affinement(espace.entete_pics.fichier_pics));
    if (espace.mode_decalage == 2 && t.drapeaux[rang_decalage] == 1.0f)
        t.drapeaux[rang_decalage] = -1.0f;
    try {
        ecrit_kovrin_inp(espace.repertoire / "kovrin.inp", t);
    } catch (const ErreurKovrin& e) {
        dialogues.erreur(e.what());
        return false;
    }
    {
        CurseurOccupe sablier(dialogues);
        (moteur ? moteur : &calcul)(t.texte.data(), &t.lettre, t.parametres.data(),
                                    t.drapeaux.data(), t.erreurs.data(), t.h.data(), t.k.data(),
                                    t.l.data(), t.angles.data(), &t.accord);
    }
    espace.statut_moteur = statut_moteur(t);
    if (espace.statut_moteur != statut_succes) {
        espace.affinement_ok = false;
        dialogues.erreur("DLL error");
        return false;
    }
    retient_resultats(espace, t, lambda);
    remplit_tableau_avant(espace, onglet);
    remplit_tableau_apres(espace, onglet);
    affiche_parametres(espace, onglet);
    return true;
}

} // namespace kovrin
