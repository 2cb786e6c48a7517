#include "cristallo/onglet_maille.h"

#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/domaines.h"
#include "cristallo/groupes.h"
#include "cristallo/raies.h"

#include <algorithm>
#include <cmath>

namespace kovrin {

namespace {

enum Champ { a, b, c, alpha, beta, gamma_, decalage, lambda_ };

std::string code_systeme(int ligne) {
    if (ligne < 0 || ligne >= static_cast<int>(table_systemes.size())) return {};
    return std::string(table_systemes[static_cast<std::size_t>(ligne)].code);
}

// The fields of a set of bits, in order.
void pour_chaque_champ(ChampsMaille champs, const auto& action) {
    for (int i = a; i <= gamma_; ++i)
        if (champs & (1u << i)) action(static_cast<std::size_t>(i));
}

bool selectionne(const ListeSymboles& l) {
    return l.selection >= 0 && l.selection < static_cast<int>(l.entrees.size());
}

void coche(OngletMaille& o, std::initializer_list<int> champs) {
    for (int i : champs) {
        o.coche_active[static_cast<std::size_t>(i)] = true;
        o.coche[static_cast<std::size_t>(i)] = true;
    }
}

bool vaut_90(double angle) {
    return std::fabs(angle - 90) < 0.2;
}

void coche_monoclinique(const EspaceTravail& et, OngletMaille& o) {
    coche(o, {a, b, c});
    const auto& m = et.maille;
    if (vaut_90(m[3]) && vaut_90(m[5])) coche(o, {beta});
    if (vaut_90(m[3]) && vaut_90(m[4])) coche(o, {gamma_});
    if (vaut_90(m[4]) && vaut_90(m[5])) coche(o, {alpha});
}

// The domains of the first `nb` fields the tab read. A zero cell parameter,
// a wavelength of 0 and a range that does not widen are left to the
// generation, which has its own messages for them.
Refus refus_valeurs(const std::array<double, 9>& lus, std::size_t nb) {
    Maille maille{};
    std::copy(lus.begin(), lus.begin() + 6, maille.begin());
    const bool zero = std::find(maille.begin(), maille.end(), 0.0) != maille.end();
    if (nb >= 6 && !zero)
        if (Refus r = refus_maille(maille)) return r;
    if (nb >= 7 && lus[6] != 0)
        if (Refus r = refus_lambda(lus[6])) return r;
    if (nb == 9 && lus[7] < lus[8])
        if (Refus r = refus_plage(lus[7], lus[8])) return r;
    return {};
}

} // namespace

int ligne_du_systeme(const std::string& code) {
    const FicheSysteme* f = fiche_de_code(code);
    return f ? static_cast<int>(f->systeme) : -1;
}

LectureOnglet lit_onglet_maille(EspaceTravail& et, const OngletMaille& onglet, Dialogues& d) {
    if (const std::string code = code_systeme(onglet.systeme_choisi); !code.empty()) {
        et.systeme = code;
        remplit_liste_orsab(et);
        remplit_liste_hm(et);
    }
    et.groupe.clear();
    if (selectionne(et.liste_hm)) {
        et.groupe = et.liste_hm.entrees[static_cast<std::size_t>(et.liste_hm.selection)];
        et.origine_groupe = "HM";
    } else if (selectionne(et.liste_orsab)) {
        et.groupe =
            et.liste_orsab.entrees[static_cast<std::size_t>(et.liste_orsab.selection)].substr(0,
                                                                                              12);
        et.origine_groupe = "HALL";
    }
    et.groupe = majuscules(sans_blancs(et.groupe));

    const char* const messages[] = {"Error on a",      "Error on b",         "Error on c",
                                    "Error on alpha",  "Error on beta",      "Error on gamma",
                                    "Error on lambda", "Error on theta_min", "Error on theta_max"};
    const Saisie* champs[] = {&onglet.cellule[0], &onglet.cellule[1], &onglet.cellule[2],
                              &onglet.cellule[3], &onglet.cellule[4], &onglet.cellule[5],
                              &onglet.lambda,     &onglet.theta_min,  &onglet.theta_max};
    std::array<double, 9> lus{et.maille[0], et.maille[1], et.maille[2], et.maille[3], et.maille[4],
                              et.maille[5], et.lambda,    et.angle_min, et.angle_max};
    std::size_t nb = 0;
    for (; nb < 9 && !champs[nb]->vide(); ++nb) {
        if (!champs[nb]->nombre()) {
            d.erreur(messages[nb]);
            return LectureOnglet::erreur;
        }
        const bool en_theta = nb >= 7 && mode_theta(et); // the range is typed in theta
        lus[nb] = champs[nb]->valeur * (en_theta ? 2 : 1);
    }
    if (const Refus r = refus_valeurs(lus, nb)) {
        d.erreur(*r);
        return LectureOnglet::erreur;
    }
    std::copy(lus.begin(), lus.begin() + 6, et.maille.begin());
    et.lambda = lus[6];
    et.angle_min = lus[7];
    et.angle_max = lus[8];
    if (nb < 9) return LectureOnglet::champ_vide;
    if (et.angle_min_initial > et.angle_min) et.angle_min_initial = et.angle_min;
    if (et.angle_max_initial < et.angle_max) et.angle_max_initial = et.angle_max;
    return LectureOnglet::complete;
}

bool verification(EspaceTravail& et, OngletMaille& onglet, Dialogues& d) {
    const int champ = et.champ_actif;
    if (champ < 1 || champ > 6) return true;
    const auto rang = static_cast<std::size_t>(champ - 1);
    const Saisie saisie = onglet.cellule[rang];
    if (saisie.etat == Saisie::Etat::illisible) {
        d.erreur("Type error! (" + std::string(nom_parametre_maille(champ - 1)) + ")");
        return false;
    }
    if (saisie.vide()) return true;
    if (const Refus r = refus_parametre_maille(static_cast<int>(rang), saisie.valeur)) {
        d.erreur(*r);
        return false;
    }
    const FicheSysteme* s = fiche_de_code(et.systeme);
    auto& cell = onglet.cellule;
    et.maille[rang] = saisie.valeur;
    if (rang == a && s) pour_chaque_champ(s->comme_a, [&](std::size_t i) { cell[i] = saisie; });
    if (rang == alpha && s)
        pour_chaque_champ(s->comme_alpha, [&](std::size_t i) {
            cell[i] = saisie;
            et.maille[i] = saisie.valeur;
        });
    return true;
}

void set_numero(EspaceTravail& et, OngletMaille& onglet, int champ) {
    et.champ_actif = champ;
    et.fichier_maille.clear();
    configure_champs(et, onglet);
}

void change_systeme(EspaceTravail& et, OngletMaille& onglet, int ligne) {
    onglet.systeme_choisi = ligne;
    et.systeme = code_systeme(ligne);
    remplit_liste_hm(et);
    remplit_liste_orsab(et);
    configure_champs(et, onglet);
}

void configure_champs(const EspaceTravail& et, OngletMaille& o) {
    o.grise = {};
    o.coche_active = {false, false, false, false, false, false, true, true};
    o.coche = {};
    auto& cell = o.cellule;
    const FicheSysteme* s = fiche_de_code(et.systeme);
    if (!s) return;
    if (s->systeme == Systeme::monoclinique) return coche_monoclinique(et, o);
    pour_chaque_champ(s->grises, [&](std::size_t i) { o.grise[i] = true; });
    for (std::size_t i = 0; i < 3; ++i)
        if (!s->angles_fixes[i].empty()) cell[alpha + i] = Saisie::de_texte(s->angles_fixes[i]);
    pour_chaque_champ(s->comme_a, [&](std::size_t i) { cell[i] = cell[a]; });
    pour_chaque_champ(s->comme_alpha, [&](std::size_t i) { cell[i] = cell[alpha]; });
    pour_chaque_champ(s->coches, [&](std::size_t i) { coche(o, {static_cast<int>(i)}); });
}

void affiche_maille(const EspaceTravail& et, OngletMaille& onglet) {
    for (std::size_t i = 0; i < 6; ++i)
        onglet.cellule[i] = Saisie::de_valeur(et.maille[i]);
}

void affiche_valeurs_courantes(const EspaceTravail& et, OngletMaille& onglet) {
    onglet.lambda = Saisie::de_valeur(et.lambda);
    onglet.theta_min = Saisie::de_valeur(angle_affiche(et, et.angle_min));
    onglet.theta_max = Saisie::de_valeur(angle_affiche(et, et.angle_max));
}

namespace {

std::optional<std::string> texte_saisie(const Saisie& s, int largeur, int decimales) {
    if (s.vide()) return std::string();
    if (!s.nombre()) return std::nullopt;
    return pascal_reel(s.valeur, largeur, decimales);
}

} // namespace

std::optional<std::string> texte_parametre_maille(const Saisie& s, int rang) {
    return texte_saisie(s, 8, rang < 3 ? 4 : 3);
}

std::optional<std::string> texte_lambda(const Saisie& s) {
    return texte_saisie(s, 8, 5);
}

std::optional<std::string> texte_angle_domaine(const Saisie& s) {
    return texte_saisie(s, 8, 2);
}

std::optional<std::string> texte_tolerance(const Saisie& s) {
    return texte_saisie(s, 6, 3);
}

std::vector<LigneTable> affiche_raies_calculees(const EspaceTravail& et) {
    const int n = et.calculees.taille();
    std::vector<LigneTable> lignes(static_cast<std::size_t>(n < 15 ? 15 : n + 1));
    const bool theta = et.mode_affichage == 0;
    lignes[0] = {"  h   k   l", "   Dhkl", theta ? "Theta" : "2Theta"};
    for (int i = 1; i <= n; ++i) {
        const RaieCalculee& r = et.calculees[i];
        const double angle = theta ? r.deux_theta / 2.0 : static_cast<double>(r.deux_theta);
        lignes[static_cast<std::size_t>(i)] = {pascal_entier(r.h, 3) + pascal_entier(r.k, 3) +
                                                   pascal_entier(r.l, 3),
                                               pascal_reel(r.dhkl, 7, 4), pascal_reel(angle, 7, 3)};
    }
    return lignes;
}

SuiteLecture calcul_apres_lecture(EspaceTravail& et, OngletMaille& onglet, Dialogues& d) {
    SuiteLecture suite;
    onglet.systeme_choisi = ligne_du_systeme(et.systeme);
    configure_champs(et, onglet);
    affiche_maille(et, onglet);
    affiche_valeurs_courantes(et, onglet);
    et.selection.efface();
    if (lit_onglet_maille(et, onglet, d) == LectureOnglet::erreur) return suite;
    if (et.lambda > 0 && et.angle_max > 0) {
        if (!calcul_raies(et, onglet, d) || et.calculees.vide()) return suite;
        suite.raies = true;
    }
    suite.titre_change = true;
    if (et.lambda == 0)
        d.message("Warning: Lambda not defined. ");
    else if (et.angle_max == 0)
        d.message("Warning: Theta range not defined. ");
    else
        suite.redessine = true;
    return suite;
}

} // namespace kovrin
