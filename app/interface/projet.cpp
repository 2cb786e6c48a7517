#include "interface/projet.h"

#include "commun/erreur.h"
#include "commun/fichier_texte.h"

#include <nlohmann/json.hpp>

namespace kovrin {

template <typename T, std::size_t N> void to_json(nlohmann::json& j, const ListeBornee<T, N>& l) {
    j = nlohmann::json::array();
    for (const T& e : l)
        j.push_back(e);
}

template <typename T, std::size_t N> void from_json(const nlohmann::json& j, ListeBornee<T, N>& l) {
    l.efface();
    for (const auto& e : j)
        l.ajoute(e.get<T>());
}

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Saisie, etat, valeur)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Grille, nb_lignes, lignes)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(AjustementPic, etat, largeur, aire,
                                                sigma_deux_theta)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Mesure, deux_theta_mes, deux_theta_lu,
                                                intensite_mes, code_raie, ajustement,
                                                significativite, intensite_nette)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(EntetePics, fichier_pics, format_pics, echantillon,
                                                anode, lambda, lambda1, lambda2, rapport,
                                                angle_debut, angle_fin, echelle_intensite)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(PointProfil, angle, intensite)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(EnteteProfil, fichier_profil, titre, anode, lambda,
                                                lambda1, lambda2, rapport, angle_debut, angle_fin,
                                                pas, intensite_max_brute, intensite_min_brute)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(RaieCalculee, h, k, l, dhkl, deux_theta)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Paire, h, k, l, deux_theta_obs, deux_theta_cal)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ListeSymboles, entrees, selection)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(TamponsMoteur, texte, lettre, parametres, drapeaux,
                                                erreurs, h, k, l, angles, accord, npar)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(RecherchePics, profil_lisse, derivee_seconde, seuil,
                                                largeur_min, largeur_max, nb_contaminations,
                                                recherche_active, angles_brutes, valeurs_brutes,
                                                lisse_brut, fond_brut)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(
    EspaceTravail, lambda, lambda1, lambda2, rapport, anode, angle_min, angle_max,
    angle_min_initial, angle_max_initial, etendue, mode_affichage, mesures, entete_pics,
    ligne_titre, profil, entete_profil, fichier_profil_sauve, intensite_max_profil, systeme, groupe,
    origine_groupe, reseau, fichier_maille, maille, maille_initiale, maille_reciproque, matrice_b,
    operateurs, nb_centrages, champ_actif, liste_hm, liste_orsab, calculees, selection, tolerance,
    mode_decalage, decalage, maille_affinee, deux_theta_corrige, affinement_ok, statut_moteur,
    moteur, recherche)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(OngletMaille, systeme_choisi, cellule, lambda,
                                                theta_min, theta_max, grise, coche_active, coche)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(OngletAffinement, initial, affine, sigmas,
                                                lambda_initial, decalage_initial, avant, apres,
                                                ecart_avant, ecart_apres, boutons_resultats,
                                                bouton_impression, m20, fn, paires_suspectes, esd,
                                                valeur_esd)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(EtatPrincipal, maille, affinement, tolerance,
                                                onglet, ligne_mes_courante, ligne_calc_courante,
                                                ligne_pic_courante, mesure_en_attente,
                                                ligne_mes_en_attente, pointage_diagramme,
                                                estime_decalage, panneau_decalage, boutons_pics,
                                                boutons_maille, titre_fichier_mesures,
                                                origine_table, raies_masquees)

namespace {

inline constexpr const char* genre_projet = "KOVRIN project";
inline constexpr int version_projet = 1;

} // namespace

std::string texte_projet(const EspaceTravail& et, const EtatPrincipal& ep) {
    const nlohmann::json j = {
        {"format", genre_projet}, {"version", version_projet}, {"workspace", et}, {"window", ep}};
    // Texts read from 8-bit files may hold bytes that are no UTF-8: replaced.
    return j.dump(1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void lit_projet(const std::string& texte, EspaceTravail& et, EtatPrincipal& ep) {
    try {
        const nlohmann::json j = nlohmann::json::parse(texte);
        if (j.value("format", "") != genre_projet) throw ErreurKovrin("not a KOVRIN project file");
        if (j.value("version", 0) > version_projet)
            throw ErreurKovrin("a project of a newer KOVRIN (version " +
                               std::to_string(j.value("version", 0)) + ")");
        EspaceTravail lu = j.at("workspace").get<EspaceTravail>();
        EtatPrincipal etat = j.at("window").get<EtatPrincipal>();
        lu.repertoire = et.repertoire;
        lu.donnees_lues = et.donnees_lues;
        et = std::move(lu);
        ep = std::move(etat);
    } catch (const nlohmann::json::exception& e) {
        throw ErreurKovrin(std::string("damaged project file (") + e.what() + ")");
    }
}

Rafraichissement sauve_projet(const EspaceTravail& et, const EtatPrincipal& ep, ChoixFichier& choix,
                              Dialogues& d) {
    std::filesystem::path nom = choix.enregistrer(filtre_projet, 1);
    if (nom.empty()) return {};
    if (nom.extension().empty()) nom += ".kovrin";
    if (std::filesystem::exists(nom) &&
        d.confirmation("This file already exists. Do you want to continue?") != Reponse::oui)
        return {};
    EcrivainTexte f(nom);
    f.texte(texte_projet(et, ep));
    f.ferme();
    Rafraichissement r;
    r.ecrit = true;
    return r;
}

Rafraichissement ouvre_projet(EspaceTravail& et, EtatPrincipal& ep, ChoixFichier& choix,
                              Dialogues& d) {
    const std::filesystem::path nom = choix.ouvrir(filtre_projet, 1);
    if (nom.empty()) return {};
    return prend_projet(et, ep, nom, d);
}

Rafraichissement prend_projet(EspaceTravail& et, EtatPrincipal& ep,
                              const std::filesystem::path& nom, Dialogues& d) {
    try {
        lit_projet(lit_octets(nom), et, ep);
    } catch (const ErreurKovrin& e) {
        return refus(d, nom.filename().string() + ": " + e.what());
    }
    Rafraichissement r;
    r.changes = tout_change;
    r.ecrit = true; // the work is the file's
    if (ep.onglet >= 0 && ep.onglet <= 3) r.active_onglet = ep.onglet;
    return r;
}

} // namespace kovrin
