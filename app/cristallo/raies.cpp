#include "cristallo/raies.h"

#include "cristallo/domaines.h"
#include "cristallo/geometrie.h"
#include "cristallo/groupes.h"
#include "cristallo/systemes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kovrin {

namespace {

constexpr std::size_t capacite_candidats = 9998;
constexpr double tolerance_d = 0.0001;
// Indices are stored on 16 bits.
constexpr double indice_max = 32766;
// Index triples enumerated at most: a larger box (a huge cell, a tiny
// wavelength) would take minutes, for a sphere that holds far more than the
// capacity whenever its range is not a sliver.
constexpr double boite_max = 2e7;

const char* const trop_de_candidats = "Too many calculated reflections. Decrease the theta range";

void charge_operateurs(EspaceTravail& et, Dialogues& d) {
    if (et.groupe.empty()) return;
    if (et.origine_groupe == "HM")
        charge_operateurs_hm(et, d);
    else if (et.origine_groupe == "HALL")
        charge_operateurs_orsab(et);
}

bool verifications(const EspaceTravail& et, Dialogues& d) {
    const auto& m = et.maille;
    if (et.lambda == 0) {
        d.erreur("The wavelength =0");
        return false;
    }
    if (const auto nul = std::find(m.begin(), m.end(), 0.0); nul != m.end()) {
        const int rang = static_cast<int>(nul - m.begin());
        d.erreur("Cell parameters error! (" + std::string(nom_parametre_maille(rang)) + " = 0)");
        return false;
    }
    if (et.systeme.empty()) {
        d.erreur("No system!");
        return false;
    }
    if (et.groupe.empty()) {
        d.erreur("No space group!");
        return false;
    }
    if (!(et.angle_max_initial > et.angle_min_initial)) {
        d.erreur("Theta range error");
        return false;
    }
    return true;
}

int borne(double s_max, double inverse_arete) {
    return static_cast<int>(std::nearbyint(s_max / inverse_arete)) + 1;
}

// A length not positive, an angle outside (0, 180) or a wavelength outside its
// domain give a reciprocal cell or a sphere of reflection with no sense (a
// negative edge makes the index box negative): refused before any work.
Refus refus_generation(const EspaceTravail& et) {
    if (Refus r = refus_parametres_maille(et.maille)) return r;
    return refus_lambda(et.lambda);
}

} // namespace

void fusionne_candidats(std::vector<Candidat>& c, double lambda,
                        ListeBornee<RaieCalculee, 999>& sortie, Dialogues& d) {
    const std::size_t n = c.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (c[i].d == 0) continue;
        if (sortie.pleine()) {
            d.erreur("Too many calculated reflections (>1000)");
            return;
        }
        Candidat rep = c[i];
        for (std::size_t j = i + 1; j < n; ++j) {
            if (c[j].d == 0) continue;
            if (std::fabs(c[i].d - c[j].d) > tolerance_d) break;
            if (c[j].h >= 0 && c[j].k >= 0 && c[j].l >= 0) rep = c[j];
            c[j].d = 0;
        }
        RaieCalculee r;
        r.h = static_cast<std::int16_t>(rep.h);
        r.k = static_cast<std::int16_t>(rep.k);
        r.l = static_cast<std::int16_t>(rep.l);
        r.dhkl = static_cast<float>(c[i].d);
        r.deux_theta = static_cast<float>(deux_theta_de_d(c[i].d, lambda));
        sortie.ajoute(r);
    }
}

bool calcul_raies(EspaceTravail& et, const OngletMaille& onglet, Dialogues& d) {
    if (lit_onglet_maille(et, onglet, d) == LectureOnglet::erreur) return false;
    charge_operateurs(et, d);
    if (!verifications(et, d)) return false;
    return genere_raies(et, d);
}

std::optional<std::vector<Candidat>> candidats_de(const EspaceTravail& et) {
    const Maille& reciproque = et.maille_reciproque;
    const double s_max = inverse_d_de_deux_theta(et.angle_max_initial, et.lambda);
    const double s_min = inverse_d_de_deux_theta(et.angle_min_initial, et.lambda);
    const double q_min = s_min * s_min, q_max = s_max * s_max;
    for (int j = 0; j < 3; ++j)
        if (!(std::fabs(s_max / reciproque[j]) < indice_max)) return std::nullopt;
    // No sphere of reflection (a wavelength or range genere_raies refuses).
    if (!(s_max > 0)) return std::vector<Candidat>{};
    const int h_max = borne(s_max, reciproque[0]), k_max = borne(s_max, reciproque[1]),
              l_max = borne(s_max, reciproque[2]);
    std::vector<Candidat> candidats;
    // Room for the whole index box, up to the capacity: no copy while it grows.
    const double boite = (2.0 * h_max + 1) * (2.0 * k_max + 1) * (l_max + 1.0);
    if (boite > boite_max) return std::nullopt;
    candidats.reserve(static_cast<std::size_t>(std::clamp(boite, 0.0, double(capacite_candidats))));
    for (int h = h_max; h >= -h_max; --h)
        for (int k = k_max; k >= -k_max; --k)
            for (int l = 0; l <= l_max; ++l) {
                // Both tests are pure: the cheap range test goes first.
                const double q = inverse_d_carre(et.matrice_b, h, k, l);
                if (q < q_min || q > q_max || !reflexion_permise(et, h, k, l)) continue;
                if (candidats.size() == capacite_candidats) return std::nullopt;
                candidats.push_back({h, k, l, 1 / std::sqrt(q)});
            }
    return candidats;
}

bool genere_raies(EspaceTravail& et, Dialogues& d) {
    if (Refus refus = refus_generation(et)) {
        d.erreur(*refus);
        return false;
    }
    CurseurOccupe curseur(d);
    char lettre = et.groupe.empty() ? '\0' : et.groupe[0];
    if (est(et.systeme, Systeme::rhomboedrique) || lettre == 'N') lettre = 'P';
    et.reseau = lettre ? std::string(1, lettre) : std::string();
    Maille reciproque{};
    MatriceB b{};
    if (!calcul_reciproque(et.maille, reciproque, b)) {
        d.erreur("The reciprocal cell cannot be computed: check the cell angles");
        return false;
    }
    et.maille_reciproque = reciproque;
    et.matrice_b = b;
    auto candidats = candidats_de(et);
    if (!candidats) {
        et.calculees.efface();
        d.erreur(trop_de_candidats);
        return false;
    }
    trie_candidats(*candidats);
    ListeBornee<RaieCalculee, 999> sortie;
    fusionne_candidats(*candidats, et.lambda, sortie, d);
    et.calculees = std::move(sortie);
    return true;
}

} // namespace kovrin
