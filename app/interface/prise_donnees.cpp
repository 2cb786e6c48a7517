#include "interface/prise_donnees.h"

#include "commun/format.h"
#include "commun/texte.h"
#include "cristallo/anodes.h"
#include "fichiers/lecteurs_pics.h"
#include "fichiers/lecteurs_profil.h"
#include "interface/dialogue_lambda.h"
#include "interface/saisie_mesures.h"

#include <algorithm>
#include <cmath>

namespace kovrin {

namespace {

constexpr double ecart_lambdas_admis = 0.01; // angstrom, peaks against profile

template <typename Entete> void prend_longueurs_onde(Entete& e, const LongueursOnde& l) {
    e.lambda = l.lambda;
    e.lambda1 = l.lambda1;
    e.lambda2 = l.lambda2;
    e.rapport = l.rapport;
    e.anode = l.anode;
}

// The header of a peak file that was read: wavelengths of the file (formats
// that carry them) or of the dialog, sample, range, scale, title.
EntetePics entete_lue(const EspaceTravail& et, int format, const std::filesystem::path& fichier,
                      const PicsLus& lus, const std::optional<LongueursOnde>& du_dialogue) {
    EntetePics e = et.entete_pics;
    e.lambda = e.lambda1 = e.lambda2 = 0;
    if (du_dialogue) prend_longueurs_onde(e, *du_dialogue);
    if (format_porte_lambda(format))
        prend_longueurs_onde(e, {lus.lambda, lus.lambda1, lus.lambda2, lus.rapport, lus.anode});
    e.fichier_pics = fichier.string();
    e.format_pics = format;
    e.echantillon = lus.echantillon;
    e.angle_debut = lus.angle_debut;
    e.angle_fin = lus.angle_fin;
    if (lus.echelle_intensite) e.echelle_intensite = *lus.echelle_intensite;
    if (e.lambda == 0) e.lambda = e.lambda1 != 0 ? e.lambda1 : e.lambda2;
    return e;
}

decltype(EspaceTravail::mesures) mesures_lues(const PicsLus& lus) {
    decltype(EspaceTravail::mesures) mesures;
    for (const PicLu& p : lus.pics)
        mesures.ajoute({p.angle, p.angle, p.intensite});
    return mesures;
}

// The working wavelength set and both ranges from a data header.
template <typename Entete>
void prend_ensemble_de_travail(EspaceTravail& et, const Entete& e, Rafraichissement& r) {
    et.lambda = e.lambda;
    et.lambda1 = e.lambda1;
    et.lambda2 = e.lambda2;
    et.rapport = e.rapport;
    et.angle_min = et.angle_min_initial = e.angle_debut;
    et.angle_max = et.angle_max_initial = e.angle_fin;
    et.etendue = et.angle_max - et.angle_min;
    r.marque({Change::plage});
}

bool profil_present(const EspaceTravail& et) {
    return et.entete_profil.lambda != 0;
}

// Grids that a new peak list empties (the pairs went with the old list).
Rafraichissement grilles_videes(EtatPrincipal& ep) {
    Rafraichissement r = selection_videe(ep);
    ep.boutons_pics = true;
    ep.titre_fichier_mesures = true;
    return r.marque({Change::mesures, Change::fichiers, Change::vues});
}

void prend_profil_lu(EspaceTravail& et, const std::filesystem::path& fichier, const ProfilLu& lu) {
    EnteteProfil& p = et.entete_profil;
    p.fichier_profil = fichier.string();
    if (lu.titre) p.titre = *lu.titre;
    p.anode = lu.anode;
    p.lambda = lu.lambda;
    p.lambda1 = lu.lambda1;
    p.lambda2 = lu.lambda2;
    p.rapport = lu.rapport;
    p.angle_debut = lu.angle_debut;
    p.angle_fin = lu.angle_fin;
    p.pas = lu.pas;
    p.intensite_max_brute = lu.intensite_max_brute;
    p.intensite_min_brute = lu.intensite_min_brute;
    et.profil.efface();
    et.intensite_max_profil = -10000.0f;
    for (const PointProfil& point : lu.points) {
        et.profil.ajoute(point);
        et.intensite_max_profil = std::max(et.intensite_max_profil, point.intensite);
    }
}

} // namespace

std::optional<PicsLus> lit_fichier_pics(int format, const std::filesystem::path& fichier,
                                        Dialogues& d) {
    return lit_en_montrant(d, [&] { return format_pics(format).lecteur(fichier); });
}

Rafraichissement ouvre_pics(EspaceTravail& et, EtatPrincipal& ep, DialogueLambda& dialogue,
                            ChoixFichier& choix, int format, Dialogues& d) {
    const std::filesystem::path fichier = choix.ouvrir(filtre_pics(), format);
    if (fichier.empty()) return {};
    return ouvre_fichier_pics(et, ep, dialogue, format, fichier, d);
}

Rafraichissement ouvre_fichier_pics(EspaceTravail& et, EtatPrincipal& ep, DialogueLambda& dialogue,
                                    int format, const std::filesystem::path& fichier,
                                    Dialogues& d) {
    if (format_porte_lambda(format))
        return prend_fichier_pics(et, ep, format, fichier, std::nullopt, d);
    montre_dialogue_lambda(dialogue, lambda_pics);
    dialogue.format_pics = format;
    dialogue.fichier_pics = fichier;
    Rafraichissement r;
    r.montre_dialogue_lambda = true;
    return r;
}

Rafraichissement prend_fichier_pics(EspaceTravail& et, EtatPrincipal& ep, int format,
                                    const std::filesystem::path& fichier,
                                    const std::optional<LongueursOnde>& du_dialogue, Dialogues& d) {
    const auto lus = lit_fichier_pics(format, fichier, d);
    if (!lus) return echoue();
    return prend_pics_lus(et, ep, format, fichier, *lus, du_dialogue, d);
}

Rafraichissement prend_pics_lus(EspaceTravail& et, EtatPrincipal& ep, int format,
                                const std::filesystem::path& fichier, const PicsLus& lus,
                                const std::optional<LongueursOnde>& du_dialogue, Dialogues& d) {
    EntetePics e = entete_lue(et, format, fichier, lus, du_dialogue);
    et.mesures = mesures_lues(lus); // throws past 500 peaks, before any change
    et.entete_pics = e;
    if (lus.ligne_titre) et.ligne_titre = *lus.ligne_titre;
    et.selection.efface();
    Rafraichissement r = grilles_videes(ep);
    if (profil_present(et) && std::fabs(et.entete_profil.lambda - e.lambda) > ecart_lambdas_admis)
        return refus(d, message_lambdas_differentes); // the workspace stays as it was
    bool ensemble_pris = !profil_present(et);
    if (ensemble_pris) prend_ensemble_de_travail(et, e, r);
    et.entete_pics.anode = nomme_anode(e.anode, e.lambda, tolerance_anode_pics);
    if (ensemble_pris) et.anode = et.entete_pics.anode;
    if (et.angle_min < 0) et.angle_min = 0;
    et.etendue = et.angle_max - et.angle_min;
    r.ajoute(remplit_grille_mesures(et));
    return r.marque({Change::plage});
}

int format_profil_de_nom(const std::string& nom, int format_menu) {
    return code_profil_de_nom(nom, format_menu);
}

std::optional<ProfilLu> lit_fichier_profil(int format, const std::filesystem::path& fichier,
                                           const EspaceTravail& et, Dialogues& d) {
    const FormatFichierProfil* f = format_profil(format);
    return lit_en_montrant(d, [&] {
        return (f ? *f : formats_profil[0])
            .lecteur(fichier, !et.mesures.vide() || !et.calculees.vide());
    });
}

Rafraichissement ouvre_profil(EspaceTravail& et, DialogueLambda& dialogue, ChoixFichier& choix,
                              int format, Dialogues& d) {
    const std::filesystem::path fichier = choix.ouvrir(filtre_profil, format);
    if (fichier.empty()) return {};
    return prend_fichier_profil(et, dialogue, format, fichier, d);
}

namespace {

// The profile read and taken in, its header's wavelength still to complete.
bool lit_et_prend_profil(EspaceTravail& et, int format_menu, const std::filesystem::path& fichier,
                         Dialogues& d) {
    int format = format_profil_de_nom(fichier.string(), format_menu);
    auto lu = lit_fichier_profil(format, fichier, et, d);
    if (!lu) return false;
    if (et.mesures.vide()) {
        et.lambda = 0;
        et.angle_min = et.angle_max = et.angle_min_initial = et.angle_max_initial = 0;
    }
    prend_profil_lu(et, fichier, *lu);
    return true;
}

} // namespace

Rafraichissement prend_fichier_profil(EspaceTravail& et, DialogueLambda& dialogue, int format_menu,
                                      const std::filesystem::path& fichier, Dialogues& d) {
    if (!lit_et_prend_profil(et, format_menu, fichier, d)) return echoue();
    Rafraichissement r;
    if (et.entete_profil.lambda == 0) {
        montre_dialogue_lambda(dialogue, lambda_profil);
        r.montre_dialogue_lambda = true;
        return r;
    }
    r.echec = !complete_profil(et, false, r, d);
    return r;
}

Rafraichissement prend_profil_source(EspaceTravail& et, int format_menu,
                                     const std::filesystem::path& fichier,
                                     const std::optional<LongueursOnde>& source, Dialogues& d,
                                     bool* source_prise) {
    if (!lit_et_prend_profil(et, format_menu, fichier, d)) return echoue();
    const bool sans_lambda = et.entete_profil.lambda == 0;
    if (source_prise) *source_prise = sans_lambda;
    if (sans_lambda && !source) return refus(d, message_sans_lambda(fichier));
    Rafraichissement r;
    r.echec = sans_lambda ? !prend_longueurs_profil(et, *source, r, d)
                          : !complete_profil(et, false, r, d);
    return r;
}

bool prend_longueurs_profil(EspaceTravail& et, const LongueursOnde& l, Rafraichissement& r,
                            Dialogues& d) {
    prend_longueurs_onde(et.entete_profil, l);
    return complete_profil(et, true, r, d);
}

bool complete_profil(EspaceTravail& et, bool moyenne_des_k_alpha, Rafraichissement& r,
                     Dialogues& d) {
    EnteteProfil& p = et.entete_profil;
    if (p.lambda1 == 0 || (p.lambda2 == 0 && !sans_blancs(p.anode).empty())) {
        if (const Anode* a = anode_de_nom(p.anode)) {
            p.lambda1 = a->k_alpha1;
            p.lambda2 = a->k_alpha2;
            if (p.rapport == 0) p.rapport = 0.5;
        }
    }
    if (moyenne_des_k_alpha && p.lambda == 0 && p.lambda1 > 0)
        p.lambda = lambda_moyenne(p.lambda1, p.lambda2, p.rapport);
    p.anode = nomme_anode(p.anode, p.lambda, tolerance_anode_profil);
    if (p.rapport == 0 && anode_connue(p.anode)) p.rapport = 0.5;
    if (et.entete_pics.lambda == 0) {
        prend_ensemble_de_travail(et, p, r);
        et.anode = p.anode;
    } else if (std::fabs(p.lambda - et.entete_pics.lambda) > ecart_lambdas_admis) {
        d.erreur(message_lambdas_differentes);
        return false;
    }
    r.marque({Change::fichiers, Change::profil});
    return true;
}

} // namespace kovrin
