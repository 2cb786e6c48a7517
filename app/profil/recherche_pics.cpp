#include "profil/recherche_pics.h"

#include "commun/angles.h"
#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/anodes.h"
#include "profil/lissage.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace kovrin {

namespace {

constexpr int nb_pics_max = 500;

std::size_t rang(int i) {
    return static_cast<std::size_t>(i);
}

// Zero of the derivative between two points, by linear interpolation; the
// midpoint when the two values are too close to divide by their difference.
double zero_entre(double d_avant, double d_apres, double a_avant, double a_apres,
                  double tolerance) {
    if (std::fabs(d_avant - d_apres) < tolerance) return (a_apres + a_avant) / 2;
    return (d_avant * a_apres - d_apres * a_avant) / (d_avant - d_apres);
}

// Smoothed profile and its second derivative, scaled so that its largest
// magnitude is 100.
void prepare_courbes(EspaceTravail& espace) {
    const int n = espace.profil.taille();
    std::vector<float> intensites(rang(n) + 1, 0.0f);
    for (int i = 1; i <= n; ++i)
        intensites[rang(i)] = espace.profil[i].intensite;
    RecherchePics& r = espace.recherche;
    r.profil_lisse.assign(rang(n) + 1, 0.0f);
    r.derivee_seconde.assign(rang(n) + 1, 0.0f);
    lisse_derive(intensites, n, 5, r.profil_lisse, 0);
    lisse_derive(r.profil_lisse, n, 5, r.derivee_seconde, 2);
    float plus_grand = 0;
    for (int i = 1; i <= n; ++i)
        plus_grand = std::max(plus_grand, std::fabs(r.derivee_seconde[rang(i)]));
    if (plus_grand == 0) return; // a flat profile: nothing to scale, no lobe to find
    const float facteur = 100.0f / plus_grand;
    for (int i = 1; i <= n; ++i)
        r.derivee_seconde[rang(i)] *= facteur;
}

// A contamination line read from its two boxes; p = 0 when the line is not given.
struct LigneContamination {
    double longueur_onde = 0, pourcentage = 0;
};

bool lit_ligne(const Saisie& longueur, const Saisie& pourcentage, LigneContamination& ligne) {
    if (!longueur.nombre() || !pourcentage.nombre()) return false;
    ligne = {longueur.valeur, pourcentage.valeur};
    return true;
}

// Marks with `code` every earlier peak lying where the line of wavelength
// `ligne` of a later, much stronger peak is expected.
void marque_ligne(EspaceTravail& espace, const LigneContamination& ligne, int code) {
    auto& m = espace.mesures;
    const double lambda = espace.entete_profil.lambda;
    for (int j = 2; j <= m.taille(); ++j) {
        if (m[j].intensite_mes <= 0) continue; // no ratio to compare with
        const double d =
            lambda / (2 * std::sin(m[j].deux_theta_mes / deux_theta_par_radian_recherche));
        const double t = deux_theta_par_radian_recherche * std::asin(ligne.longueur_onde / (2 * d));
        for (int k = 1; k < j; ++k)
            if (std::fabs(m[k].deux_theta_mes - t) <= 0.05 &&
                m[k].intensite_mes / m[j].intensite_mes < 3 * ligne.pourcentage / 100)
                m[k].code_raie = code;
    }
}

void marque_doublets(EspaceTravail& espace) {
    auto& m = espace.mesures;
    EnteteProfil& e = espace.entete_profil;
    if (e.lambda1 == 0 || e.lambda2 == 0) return;
    if (e.rapport == 0) e.rapport = 0.5;
    for (int j = 1; j < m.taille(); ++j) {
        if (m[j].intensite_mes <= 0) continue;
        const double d =
            e.lambda1 / (2 * std::sin(m[j].deux_theta_mes / deux_theta_par_radian_recherche));
        const double t = deux_theta_par_radian_recherche * std::asin(e.lambda2 / (2 * d));
        for (int k = j + 1; k <= m.taille(); ++k)
            if (std::fabs(m[k].deux_theta_mes - t) <= 0.07 &&
                std::fabs(m[k].intensite_mes / m[j].intensite_mes - e.rapport) / e.rapport < 0.5) {
                m[k].code_raie = raie_k_alpha2;
                m[j].code_raie = raie_k_alpha1;
            }
    }
}

} // namespace

std::string nom_genre_raie(int code) {
    static const std::array<const char*, nb_genres_raie> noms{"K Alpha", "K Alpha1", "K Alpha2",
                                                              "L1 (K beta)", "L2 (WL Alpha)"};
    if (code < 1 || code > nb_genres_raie) return "";
    return noms[rang(code - 1)];
}

Couleur couleur_genre_raie(int code) {
    static constexpr std::array<Couleur, nb_genres_raie> couleurs{noir, bleu, rouge, vert, violet};
    if (code < 1 || code > nb_genres_raie) return noir;
    return couleurs[rang(code - 1)];
}

namespace {

struct BarreLimite {
    double RecherchePics::*valeur;
    int maximum;
    double pas;
    int largeur, decimales; // of the box's text
    const char* refus;
};

const BarreLimite& barre(LimiteRecherche quelle) {
    static const std::array<BarreLimite, 3> barres = {{
        {&RecherchePics::seuil, 100, 0.1, 3, 1, "the threshold must be positive"},
        {&RecherchePics::largeur_min, 50, 0.01, 4, 2, "the smallest peak width must be positive"},
        {&RecherchePics::largeur_max, 50, 0.1, 4, 2, "the largest peak width must be positive"},
    }};
    return barres[static_cast<std::size_t>(quelle)];
}

} // namespace

int position_maximale(LimiteRecherche quelle) {
    return barre(quelle).maximum;
}

double limite_de_position(LimiteRecherche quelle, int position) {
    return position * barre(quelle).pas;
}

int position_de_limite(LimiteRecherche quelle, double valeur) {
    const BarreLimite& b = barre(quelle);
    const double position = std::clamp(valeur / b.pas, 1.0, static_cast<double>(b.maximum));
    return static_cast<int>(std::lround(position));
}

double& limite(RecherchePics& r, LimiteRecherche quelle) {
    return r.*barre(quelle).valeur;
}

double limite(const RecherchePics& r, LimiteRecherche quelle) {
    return r.*barre(quelle).valeur;
}

std::string texte_limite(LimiteRecherche quelle, double valeur) {
    const BarreLimite& b = barre(quelle);
    const double pose = limite_de_position(quelle, position_de_limite(quelle, valeur));
    if (std::fabs(pose - valeur) > 1e-9 * b.pas) return texte_court(valeur);
    return pascal_reel(valeur, b.largeur, b.decimales);
}

std::optional<std::string> refus_limite(const RecherchePics& r, LimiteRecherche quelle,
                                        double valeur) {
    if (!(valeur > 0) || !std::isfinite(valeur)) return barre(quelle).refus;
    const bool desordre = (quelle == LimiteRecherche::largeur_min && valeur > r.largeur_max) ||
                          (quelle == LimiteRecherche::largeur_max && valeur < r.largeur_min);
    if (desordre) return "the smallest peak width must not exceed the largest";
    return std::nullopt;
}

LimitesRecherche limites_courantes(const RecherchePics& r) {
    return {r.seuil, r.largeur_min, r.largeur_max};
}

std::optional<std::string> texte_contamination(const Saisie& boite) {
    if (boite.vide()) return std::string();
    if (!boite.nombre()) return std::nullopt;
    return " " + texte_court(boite.valeur);
}

std::optional<ChampsContamination> prepare_recherche(EspaceTravail& espace, Dialogues& d) {
    if (espace.profil.vide()) return std::nullopt;
    CurseurOccupe occupe(d);
    espace.recherche.recherche_active = true;
    ChampsContamination champs;
    espace.recherche.nb_contaminations = 0;
    const EnteteProfil& e = espace.entete_profil;
    if (!e.anode.empty()) {
        if (const Anode* anode = anode_de_lambda(e.lambda, 0.006)) {
            champs = {Saisie::de_valeur(anode->k_beta), Saisie::de_valeur(1),
                      Saisie::de_valeur(1.025), Saisie::de_valeur(0.5)};
            espace.recherche.nb_contaminations = 2;
        }
    }
    prepare_courbes(espace);
    return champs;
}

LimitesRecherche limites_de_positions(const PositionsRecherche& positions) {
    return {std::max(limite_de_position(LimiteRecherche::seuil, positions.seuil), 0.01),
            limite_de_position(LimiteRecherche::largeur_min, positions.largeur_min),
            limite_de_position(LimiteRecherche::largeur_max, positions.largeur_max)};
}

void lance_recherche(EspaceTravail& espace, const LimitesRecherche& limites,
                     const ChampsContamination& contamination, Dialogues& d) {
    RecherchePics& r = espace.recherche;
    r.seuil = limites.seuil;
    r.largeur_min = limites.largeur_min;
    r.largeur_max = limites.largeur_max;
    espace.mesures.efface();
    // The curves follow the profile: a profile taken in since the panel was
    // opened is prepared again.
    if (r.derivee_seconde.size() != rang(espace.profil.taille()) + 1) prepare_courbes(espace);
    cherche_pics(espace, contamination, d);
    d.bip();
}

int position_vers_indice(const ListeBornee<PointProfil, 30000>& profil, double angle,
                         bool croissant) {
    if (!croissant) {
        for (int i = 1; i <= profil.taille(); ++i)
            if (profil[i].angle > angle) return i;
        return 0;
    }
    const auto premier =
        std::upper_bound(profil.begin(), profil.end(), angle,
                         [](double a, const PointProfil& point) { return point.angle > a; });
    return premier == profil.end() ? 0 : static_cast<int>(premier - profil.begin()) + 1;
}

double intensite_au_angle(const ListeBornee<PointProfil, 30000>& profil, double angle,
                          bool croissant) {
    if (profil.vide()) return 0;
    const int k = position_vers_indice(profil, angle, croissant);
    if (k == 0) return profil[profil.taille()].intensite;
    if (k == 1) return profil[1].intensite;
    const PointProfil &avant = profil[k - 1], &apres = profil[k];
    const double ecart = static_cast<double>(apres.angle) - avant.angle;
    if (!(ecart > 0)) return apres.intensite;
    const double t = (angle - avant.angle) / ecart;
    return avant.intensite + t * (static_cast<double>(apres.intensite) - avant.intensite);
}

bool angles_croissants(const ListeBornee<PointProfil, 30000>& profil) {
    return std::adjacent_find(profil.begin(), profil.end(),
                              [](const PointProfil& p, const PointProfil& suivant) {
                                  return !(p.angle <= suivant.angle);
                              }) == profil.end();
}

void cherche_pics(EspaceTravail& espace, const ChampsContamination& contamination, Dialogues& d) {
    CurseurOccupe occupe(d);
    const auto& profil = espace.profil;
    const RecherchePics& r = espace.recherche;
    const std::vector<float>& D = r.derivee_seconde;
    const int n = profil.taille();
    espace.mesures.efface();
    if (n < 2 || D.size() < rang(n) + 1) return;
    auto A = [&](int i) { return static_cast<double>(profil[i].angle); };
    auto Dd = [&](int i) { return static_cast<double>(D[rang(i)]); };
    const double pas = (A(n) - A(1)) / (n - 1);
    if (!(pas > 0)) return;
    const int longueur_min = plus_proche(r.largeur_min / pas);
    const bool croissant = angles_croissants(profil);
    int i = 2;
    while (i < n - 1) {
        ++i;
        if (i > n - 1 || Dd(i) >= 0) continue;
        int j = i + 1;
        while (j <= n - 1 && Dd(j) <= 0)
            ++j;
        if (j > n - 1) break; // the lobe runs into the end of the profile
        const int debut = i;
        i = j;
        if (j - debut < longueur_min) continue;
        const double x1 = zero_entre(Dd(debut - 1), Dd(debut), A(debut - 1), A(debut), 1e-13);
        const double x2 = zero_entre(Dd(j - 1), Dd(j), A(j - 1), A(j), 1e-14);
        const double largeur = x2 - x1;
        if (largeur < r.largeur_min || largeur > r.largeur_max) continue;
        const double centre = (x1 + x2) / 2;
        const int k = position_vers_indice(profil, centre, croissant);
        if (k < 4 || k > n - 3 || std::fabs(Dd(k)) <= r.seuil) continue;
        if (espace.mesures.taille() == nb_pics_max) {
            d.erreur("Too many peaks (> 500)");
            break;
        }
        // The profile's value at the centre, between its two points (not the
        // next point's value).
        const double intensite = intensite_au_angle(profil, centre, croissant);
        espace.mesures.ajoute({centre, centre, intensite, raie_k_alpha});
    }
    if (espace.entete_profil.anode != "?") marque_contaminations(espace, contamination, d);
}

void marque_contaminations(EspaceTravail& espace, const ChampsContamination& contamination,
                           Dialogues& d) {
    for (Mesure& m : espace.mesures)
        m.code_raie = raie_k_alpha;
    RecherchePics& r = espace.recherche;
    r.nb_contaminations = 0;
    LigneContamination l1, l2;
    if (!contamination.longueur_l1.vide()) {
        if (!lit_ligne(contamination.longueur_l1, contamination.pourcentage_l1, l1)) {
            d.erreur("bad contamination data");
            return;
        }
        r.nb_contaminations = 1;
    }
    if (!contamination.longueur_l2.vide()) {
        if (!lit_ligne(contamination.longueur_l2, contamination.pourcentage_l2, l2)) {
            d.erreur("bad contamination data");
            return;
        }
        ++r.nb_contaminations;
    }
    if (l1.pourcentage > 0) marque_ligne(espace, l1, raie_l1);
    if (l2.pourcentage > 0) marque_ligne(espace, l2, raie_l2);
    marque_doublets(espace);
}

bool choix_genres_possible(const EspaceTravail& espace) {
    return !espace.mesures.vide() && espace.recherche.nb_contaminations != 0;
}

void garde_genres_choisis(EspaceTravail& espace, const std::array<bool, nb_genres_raie>& gardes) {
    auto& mesures = espace.mesures;
    int gardees = 0;
    for (int j = 1; j <= mesures.taille(); ++j) {
        const int code = mesures[j].code_raie;
        if (code >= 1 && code <= nb_genres_raie && gardes[rang(code - 1)])
            mesures[++gardees] = mesures[j];
    }
    mesures.tronque(gardees);
}

void ferme_recherche(EspaceTravail& espace) {
    espace.recherche.recherche_active = false;
}

} // namespace kovrin
