#include "deroulement.h"

#include "affinement/export_excel.h"
#include "commun/format.h"
#include "cristallo/anodes.h"
#include "interface/commande.h"
#include "interface/commandes.h"
#include "interface/commandes_affinement.h"
#include "interface/commandes_fichiers.h"
#include "interface/commandes_maille.h"
#include "interface/commandes_profil.h"
#include "interface/decalage_zero.h"
#include "interface/prise_donnees.h"
#include "interface/selection.h"
#include "interface/session_batch.h"
#include "interface/travail.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace kovrin::batch {

void DialoguesBatch::erreur(const std::string& texte) {
    DialoguesEnregistres::erreur(texte);
    std::cerr << "kovrin-batch: error: " << texte << '\n';
}

void DialoguesBatch::information(const std::string& texte) {
    DialoguesEnregistres::information(texte);
    std::cerr << "kovrin-batch: " << texte << '\n';
}

void DialoguesBatch::message(const std::string& texte) {
    DialoguesEnregistres::message(texte);
    std::cerr << "kovrin-batch: " << texte << '\n';
}

namespace {

// One command, through the command boundary of the windows. Its answer, with
// a program that must end counted as a failure.
template <typename Commande> Rafraichissement commande(Session& s, Commande&& c) {
    Rafraichissement r = execute(s.espace, s.principal, s.dialogues, std::forward<Commande>(c));
    r.echec |= r.fin_programme;
    return r;
}

template <typename Commande> bool reussit(Session& s, Commande&& c) {
    return !commande(s, std::forward<Commande>(c)).echec;
}

bool echoue(Session& s, int code, const std::string& cause) {
    std::cerr << "kovrin-batch: " << cause << '\n';
    s.code = code;
    return false;
}

void note(const std::string& texte) {
    std::cerr << "kovrin-batch: note: " << texte << '\n';
}

bool lambda_donnee(const OptionsBatch& o) {
    return o.anode >= 0 || o.lambda.has_value();
}

// What the wavelength dialog gives for a file without one: the anode chosen
// in its list ("Other" without --anode), --lambda typed into its box.
std::optional<LongueursOnde> source_lambda(const OptionsBatch& o) {
    if (!lambda_donnee(o)) return std::nullopt;
    return longueurs_onde_source(o.anode >= 0 ? o.anode : element_autre, o.lambda);
}

// What became of --anode and --lambda.
struct UsageLambda {
    bool utilisee = false;   // a wavelength dialog took it
    bool de_travail = false; // and it is the working wavelength
};

bool prend_pics(const OptionsBatch& o, Session& s, UsageLambda& usage) {
    const int format = o.format_pics != 0 ? o.format_pics : format_pics_par_nom(o.pics);
    if (!format_porte_lambda(format) && !lambda_donnee(o))
        return echoue(s, sortie_mauvaise_entree,
                      o.pics + " carries no wavelength: give --anode or --lambda");
    const bool ok = reussit(s, [&] {
        return prend_fichier(s.espace, s.principal, o.pics, GenreFichier::pics, format,
                             source_lambda(o), s.dialogues);
    });
    if (!format_porte_lambda(format)) usage = {true, true};
    if (!ok || s.espace.mesures.vide())
        return echoue(s, sortie_mauvaise_entree, "the peak file " + o.pics + " was not taken in");
    return true;
}

bool prend_profil(const OptionsBatch& o, Session& s, UsageLambda& usage) {
    bool source_prise = false;
    const bool ok = reussit(s, [&] {
        return prend_profil_source(s.espace, profil_xylib, o.profil, source_lambda(o), s.dialogues,
                                   &source_prise);
    });
    // Measured peaks read before keep their wavelength as the working one.
    if (source_prise) usage = {true, usage.de_travail || o.pics.empty()};
    if (!ok && source_prise && !lambda_donnee(o))
        return echoue(s, sortie_mauvaise_entree,
                      o.profil + " carries no wavelength: give --anode or --lambda");
    if (!ok || s.espace.profil.vide())
        return echoue(s, sortie_mauvaise_entree, "the profile " + o.profil + " was not taken in");
    return true;
}

// The search of the method chosen, with its limits; how many peaks it found.
void lance_methode(const OptionsBatch& o, Session& s) {
    const ChampsContamination& contamination = s.profil.contamination;
    if (o.methode == MethodeRecherche::derivee_seconde) {
        const LimitesRecherche limites{o.seuil, o.largeur_min, o.largeur_max};
        commande(s, [&] {
            return go_peaksearch(s.espace, s.profil, limites, contamination, s.dialogues);
        });
    } else {
        const ReglagesStatistiques reglages{o.significativite, o.largeur_min, o.largeur_max};
        commande(s, [&] {
            return go_peaksearch_statistique(s.espace, s.profil, reglages, contamination,
                                             s.dialogues);
        });
    }
    note(std::to_string(s.espace.mesures.taille()) + " peaks found");
}

// The profile window's search with the limits of the options, then the kinds kept.
bool cherche(const OptionsBatch& o, Session& s) {
    const Rafraichissement ouverture =
        commande(s, [&] { return peak_search(s.espace, s.profil, s.dialogues); });
    if (ouverture.echec || !s.profil.panneau_recherche)
        return echoue(s, sortie_mauvaise_entree, "the peak search could not start");
    // "Too many peaks (> 500)" keeps the first 500: the run goes on.
    lance_methode(o, s);
    if (o.genres_gardes) {
        commande(s, [&] { return kill_alpha2(s.espace, s.profil); });
        if (s.profil.panneau_genres)
            commande(s, [&] { return BitBtn7Click(s.espace, s.profil, *o.genres_gardes); });
        else
            note("--keep not applied: the kinds of peaks are only told apart when the "
                 "profile's anode is known");
    }
    if (s.espace.mesures.vide())
        return echoue(s, sortie_mauvaise_entree, "the peak search kept no peak of " + o.profil);
    return true;
}

// The profile window's "Fit peak positions" on the peaks searched or read.
bool ajuste_pics(Session& s) {
    if (!reussit(s,
                 [&] { return fit_peak_positions(s.espace, s.principal, s.profil, s.dialogues); }))
        return echoue(s, sortie_mauvaise_entree, "the peak positions could not be fitted");
    return true;
}

// The refinement tab's "Linear start" on the pairs of the selection.
bool depart_lineaire(Session& s) {
    if (!reussit(s, [&] { return linear_start(s.espace, s.principal, s.dialogues); }))
        return echoue(s, sortie_mauvaise_entree, "no linear start from the selected pairs");
    return true;
}

// File > Save > "Cell as CIF", the save dialog answered with --cif.
void ecrit_cif(const OptionsBatch& o, Session& s) {
    ChoixFichierEnregistre choix;
    choix.reponse = o.cif;
    if (!reussit(s, [&] { return sauve_cif(s.espace, choix, s.dialogues); }))
        echoue(s, sortie_mauvaise_entree, "the CIF file " + o.cif + " was not written");
}

// The fields lambda, 2theta1 and 2theta2 as the user leaves or types them.
void tape_valeurs_courantes(const OptionsBatch& o, Session& s, bool lambda_tapee) {
    OngletMaille& onglet = s.principal.maille;
    affiche_valeurs_courantes(s.espace, onglet);
    if (lambda_tapee && o.lambda)
        onglet.lambda = Saisie::de_valeur(*o.lambda);
    else if (lambda_tapee && o.anode >= 0)
        onglet.lambda = Saisie::de_valeur(table_anodes[static_cast<std::size_t>(o.anode)].moyenne);
    if (!o.domaine) return;
    onglet.theta_min = Saisie::de_valeur(angle_affiche(s.espace, o.angle_min));
    onglet.theta_max = Saisie::de_valeur(angle_affiche(s.espace, o.angle_max));
}

bool prend_fichier_maille(const OptionsBatch& o, Session& s, bool lambda_tapee) {
    EspaceTravail& et = s.espace;
    bool ok =
        reussit(s, [&] { return prend_fichier_maille(et, s.principal, o.maille, s.dialogues); });
    // Then, as a user would: the typed wavelength or range, and "Calc.".
    if (ok && (lambda_tapee || o.domaine)) {
        tape_valeurs_courantes(o, s, lambda_tapee);
        ok = reussit(s, [&] { return calcul_diagramme(et, s.principal, s.dialogues); });
    }
    return ok;
}

bool tape_maille(const OptionsBatch& o, Session& s, bool lambda_tapee) {
    EspaceTravail& et = s.espace;
    OngletMaille& onglet = s.principal.maille;
    onglet.cellule = o.parametres_maille;
    if (!reussit(s, [&] { return set_systeme(et, s.principal, o.ligne_systeme); })) return false;
    if (!choisit_groupe(et, o.groupe, o.hall))
        return echoue(s, sortie_mauvaise_entree, message_groupe_absent(et, o.groupe, o.hall));
    tape_valeurs_courantes(o, s, lambda_tapee);
    const bool ok = reussit(s, [&] { return calcul_diagramme(et, s.principal, s.dialogues); });
    // The "To refine" marks follow the cell now in the workspace (monoclinic angles).
    configure_champs(et, onglet);
    return ok;
}

bool prend_maille(const OptionsBatch& o, Session& s, bool lambda_tapee) {
    const bool ok = o.maille.empty() ? tape_maille(o, s, lambda_tapee)
                                     : prend_fichier_maille(o, s, lambda_tapee);
    if (s.code != sortie_succes) return false;
    if (!ok || s.espace.calculees.vide())
        return echoue(s, sortie_mauvaise_entree, "no calculated reflections from the cell");
    return true;
}

bool apparie(const OptionsBatch& o, Session& s) {
    if (s.espace.mesures.vide()) return true; // reflections of a cell alone
    // The angular law of the shift is chosen before the pairing estimates it.
    s.espace.mode_decalage = o.excentricite ? 2 : 1;
    s.principal.tolerance = Saisie::de_valeur(o.tolerance);
    if (!reussit(s, [&] {
            return selection_avec_decalage(s.espace, s.principal, o.estime_decalage, s.dialogues);
        }))
        return echoue(s, sortie_mauvaise_entree, "the automatic selection failed");
    return true;
}

void affine(const OptionsBatch& o, Session& s, bool lambda_tapee) {
    EspaceTravail& et = s.espace;
    EtatPrincipal& ep = s.principal;
    s.a_affiner = o.a_affiner ? *o.a_affiner : marques_usuelles(ep);
    const auto lambda_initial = lambda_tapee ? o.lambda : std::nullopt;
    et.statut_moteur.clear();
    commande(s, [&] {
        return affine_paires(et, ep, s.a_affiner, o.excentricite, lambda_initial, s.dialogues);
    });
    s.moteur_appele = !et.statut_moteur.empty();
    if (!s.moteur_appele) {
        echoue(s, sortie_mauvaise_entree, "the refinement could not start");
        return;
    }
    s.statut = et.statut_moteur;
    if (*s.statut != statut_succes) {
        echoue(s, sortie_echec_affinement,
               "the refinement failed: " + *s.statut + " (listing " +
                   (et.repertoire / "kovrin.out").string() + ")");
        return;
    }
    commande(s, [&] {
        ecrit_export(et, ListeExport::courte);
        return Rafraichissement{};
    });
}

// The Edit menu's reports; the viewer they open is only noted.
bool ecrit_rapports(Session& s) {
    const EspaceTravail& et = s.espace;
    bool ok = reussit(s, [&] { return edit_raies_calculees(et, s.dialogues); });
    if (ok && !et.mesures.vide())
        ok = reussit(s, [&] { return edit_fichier_dif(et, s.dialogues); });
    if (ok && !et.profil.vide()) ok = reussit(s, [&] { return edit_raw(et, s.dialogues); });
    if (!ok) return echoue(s, sortie_mauvaise_entree, "the reports could not be written");
    return true;
}

bool prepare_repertoire(const OptionsBatch& o, Session& s) {
    std::error_code ec;
    std::filesystem::create_directories(o.repertoire, ec);
    if (!ec) std::filesystem::current_path(o.repertoire, ec);
    if (ec)
        return echoue(s, sortie_mauvaise_entree,
                      "cannot work in " + o.repertoire + ": " + ec.message());
    s.espace.repertoire = o.repertoire;
    efface_resultats_anciens(s.espace.repertoire);
    return true;
}

} // namespace

void deroule(const OptionsBatch& options, Session& s) {
    if (!prepare_repertoire(options, s)) return;
    UsageLambda usage;
    if (!options.pics.empty() && !prend_pics(options, s, usage)) return;
    if (!options.profil.empty() && !prend_profil(options, s, usage)) return;
    if (options.recherche && !cherche(options, s)) return;
    if (options.ajuste_pics && !ajuste_pics(s)) return;
    // --index finds the cell; --refine-best goes on as if it had been typed.
    OptionsBatch trouvees;
    if (options.indexation.demandee) {
        if (!indexe_mesures(options, s) || !options.indexation.affine_meilleure) return;
        trouvees = avec_meilleure_maille(options, s.indexation->solutions.front());
    }
    const OptionsBatch& o = options.indexation.demandee ? trouvees : options;
    const bool sans_donnees = o.pics.empty() && o.profil.empty();
    if (lambda_donnee(o) && !usage.utilisee && !sans_donnees)
        note("--anode and --lambda serve files without a wavelength; the data's was used");
    // The wavelength typed is the working one: given to a dialog, or with no data.
    const bool lambda_tapee = usage.de_travail || sans_donnees;
    if (!prend_maille(o, s, lambda_tapee)) return;
    if (!apparie(o, s)) return;
    if (o.depart_lineaire && !depart_lineaire(s)) return;
    if (o.rapports && !ecrit_rapports(s)) return;
    if (o.sans_affinement) return;
    affine(o, s, lambda_tapee);
    if (!o.cif.empty() && s.code == sortie_succes) ecrit_cif(o, s);
}

} // namespace kovrin::batch
