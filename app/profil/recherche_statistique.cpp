#include "profil/recherche_statistique.h"

#include "commun/format.h"
#include "profil/lissage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numeric>

namespace kovrin {

namespace {

using std::size_t;

constexpr int demi_largeur_lissage = 5; // the 13-point quadratic filter
constexpr int iterations_fond = 40;
constexpr int points_par_fenetre_reduite = 10; // the clipping runs on block means
constexpr int nb_pics_max = 500;

// Weights of the filter of order d (0 smoothing, 2 second derivative), found
// by passing an impulse through it.
std::vector<double> poids_filtre(int ordre) {
    const int n = 4 * demi_largeur_lissage + 7, h = demi_largeur_lissage + 1;
    std::vector<float> impulsion(static_cast<size_t>(n) + 1, 0.0f), sortie;
    impulsion[static_cast<size_t>(n / 2 + 1)] = 1;
    lisse_derive(impulsion, n, demi_largeur_lissage, sortie, ordre);
    std::vector<double> poids;
    for (int j = n / 2 + 1 + h; j >= n / 2 + 1 - h; --j) // the filter reversed: its weights
        poids.push_back(sortie[static_cast<size_t>(j)]);
    return poids;
}

const std::vector<double>& poids_derivee() {
    static const std::vector<double> poids = poids_filtre(2);
    return poids;
}

// Sum of the squared weights of a filter: the variance of a filtered point
// over that of one point.
double somme_carres(const std::vector<double>& poids) {
    return std::inner_product(poids.begin(), poids.end(), poids.begin(), 0.0);
}

double facteur_variance() {
    static const double facteur = somme_carres(poids_filtre(0));
    return facteur;
}

double facteur_variance_derivee() {
    // Smoothing then derivative: the weights of the two filters convolved.
    static const double facteur = [] {
        const std::vector<double> l = poids_filtre(0), d = poids_derivee();
        std::vector<double> produit(l.size() + d.size() - 1, 0.0);
        for (size_t i = 0; i < l.size(); ++i)
            for (size_t j = 0; j < d.size(); ++j)
                produit[i + j] += l[i] * d[j];
        return somme_carres(produit);
    }();
    return facteur;
}

// The 13-point smoothing of y into `sortie` (its storage reused); the ends
// repeat the nearest smoothed value, as the filter does.
void lisse_dans(const std::vector<double>& y, std::vector<double>& sortie) {
    static const std::vector<double> poids = poids_filtre(0);
    const size_t h = poids.size() / 2, n = y.size();
    sortie.assign(y.begin(), y.end());
    if (n < poids.size()) return; // too short to smooth
    for (size_t i = h; i + h < n; ++i) {
        double somme = 0;
        for (size_t j = 0; j < poids.size(); ++j)
            somme += poids[j] * y[i - h + j];
        sortie[i] = somme;
    }
    std::fill(sortie.begin(), sortie.begin() + static_cast<std::ptrdiff_t>(h), sortie[h]);
    std::fill(sortie.end() - static_cast<std::ptrdiff_t>(h), sortie.end(), sortie[n - 1 - h]);
}

double mediane(std::vector<double> v) {
    if (v.empty()) return 0;
    const auto milieu = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), milieu, v.end());
    return *milieu;
}

std::vector<double> moyennes_par_blocs(const std::vector<double>& y, size_t bloc) {
    std::vector<double> moyennes;
    for (size_t debut = 0; debut < y.size(); debut += bloc) {
        const size_t fin = std::min(y.size(), debut + bloc);
        moyennes.push_back(std::accumulate(y.begin() + static_cast<std::ptrdiff_t>(debut),
                                           y.begin() + static_cast<std::ptrdiff_t>(fin), 0.0) /
                           static_cast<double>(fin - debut));
    }
    return moyennes;
}

// One pass: every value above the mean of its 2N neighbours is brought down
// to that mean. Past the ends the profile is continued by its reflection
// through the end point, which keeps a sloping background straight.
void ecrete(std::vector<double>& y, size_t demi, std::vector<double>& cumul) {
    const size_t n = y.size();
    auto valeur = [&](size_t j) {
        if (j < demi) return 2 * y[0] - y[std::min(n - 1, demi - j)];
        if (j >= n + demi) return 2 * y[n - 1] - y[n - 1 - std::min(n - 1, j - n - demi + 1)];
        return y[j - demi];
    };
    cumul.assign(n + 2 * demi + 1, 0.0);
    for (size_t j = 0; j < n + 2 * demi; ++j)
        cumul[j + 1] = cumul[j] + valeur(j);
    for (size_t i = 0; i < n; ++i) {
        const double voisins = cumul[i + 2 * demi + 1] - cumul[i] - y[i];
        y[i] = std::min(y[i], voisins / static_cast<double>(2 * demi));
    }
}

// Brückner's estimate: values clipped to the mean of their neighbours, pass
// after pass. (His first step, a cap at mean + 2 (mean - minimum) of the whole
// pattern, is left out: it flattens a background that rises steeply at low
// angles.)
std::vector<double> fond_brueckner(std::vector<double> y, size_t demi) {
    std::vector<double> cumul;
    for (int passe = 0; passe < iterations_fond; ++passe)
        ecrete(y, demi, cumul);
    return y;
}

// The block values back at every point, linearly between block centres.
void etend(const std::vector<double>& blocs, size_t bloc, size_t n, std::vector<double>& y) {
    y.resize(n);
    const double demi_bloc = (static_cast<double>(bloc) - 1) / 2;
    for (size_t i = 0; i < n; ++i) {
        const double t =
            std::clamp((static_cast<double>(i) - demi_bloc) / static_cast<double>(bloc), 0.0,
                       static_cast<double>(blocs.size() - 1));
        const auto b = std::min(static_cast<size_t>(t), blocs.size() - 1);
        const size_t suivant = std::min(b + 1, blocs.size() - 1);
        y[i] = blocs[b] + (t - static_cast<double>(b)) * (blocs[suivant] - blocs[b]);
    }
}

double pas_moyen(const std::vector<double>& angles) {
    return (angles.back() - angles.front()) / static_cast<double>(angles.size() - 1);
}

// The background of the smoothed profile, a window of the largest peak width
// on each side, with its residual offset (the clipping settles below the mean
// of the noise) taken out as the median of the net profile.
void fond_du_profil(const std::vector<double>& lisse, double pas, double largeur_max,
                    std::vector<double>& fond) {
    const auto demi = static_cast<size_t>(std::max(2.0, std::round(largeur_max / pas)));
    const size_t bloc = std::max<size_t>(1, demi / points_par_fenetre_reduite);
    const size_t demi_reduit = std::max<size_t>(1, demi / bloc);
    etend(fond_brueckner(moyennes_par_blocs(lisse, bloc), demi_reduit), bloc, lisse.size(), fond);
    // Every fourth point is enough for a median.
    std::vector<double> net;
    net.reserve(lisse.size() / 4 + 1);
    for (size_t i = 0; i < lisse.size(); i += 4)
        net.push_back(lisse[i] - fond[i]);
    const double decalage = mediane(std::move(net));
    for (double& f : fond)
        f += decalage;
}

// Values that are not counts are taken as counts on an unknown scale (counts
// per second, a scaled detector): the variance of a point is g times its
// value, g found from the scatter of the profile about its background (the
// normalised median absolute deviation of (value - background) / sqrt(background)).
// Where the background is not positive, g is the variance itself.
double gain_de_dispersion(const std::vector<double>& brutes, const std::vector<double>& fond) {
    const bool positif = std::all_of(fond.begin(), fond.end(), [](double f) { return f > 0; });
    std::vector<double> ecarts(brutes.size());
    for (size_t i = 0; i < brutes.size(); ++i)
        ecarts[i] = (brutes[i] - fond[i]) / (positif ? std::sqrt(fond[i]) : 1.0);
    const double centre = mediane(ecarts);
    for (double& e : ecarts)
        e = std::fabs(e - centre);
    const double s = 1.4826 * mediane(std::move(ecarts));
    return positif ? s * s : -s * s; // negative: a constant variance
}

// ---- the peaks ---------------------------------------------------------

struct Courbes {
    const std::vector<double>& angles;
    const AnalyseBruit& a;
    double k;
    double net(size_t i) const { return a.lisse[i] - a.fond[i]; }
    size_t taille() const { return angles.size(); }
    bool dessus(size_t i) const { return net(i) > k * a.sigma(i); }
    // The profile bends down at a top, by one sigma of its second derivative.
    bool courbe(size_t i) const { return -a.derivee(i) > a.sigma_derivee(i); }
};

// Height of the top i above the higher of the two lowest points that part it,
// within [debut, fin], from a higher point on each side (or from the ends).
double proeminence(const Courbes& c, size_t i, size_t debut, size_t fin) {
    double gauche = c.net(i), droite = c.net(i);
    for (size_t j = i; j-- > debut && c.net(j) <= c.net(i);)
        gauche = std::min(gauche, c.net(j));
    for (size_t j = i + 1; j <= fin && c.net(j) <= c.net(i); ++j)
        droite = std::min(droite, c.net(j));
    return c.net(i) - std::max(gauche, droite);
}

// The tops of a stretch above the threshold: its highest point, and every
// other local maximum standing k sigma above its separating dip.
std::vector<size_t> sommets(const Courbes& c, size_t debut, size_t fin) {
    size_t plus_haut = debut;
    for (size_t i = debut; i <= fin; ++i)
        if (c.net(i) > c.net(plus_haut)) plus_haut = i;
    std::vector<size_t> tops;
    for (size_t i = debut; i <= fin; ++i) {
        const bool maximum =
            i > debut && i < fin && c.net(i) >= c.net(i - 1) && c.net(i) > c.net(i + 1);
        const bool haut =
            i == plus_haut || (maximum && proeminence(c, i, debut, fin) > c.k * c.a.sigma(i));
        if (haut && c.courbe(i)) tops.push_back(i);
    }
    return tops;
}

// The lowest point between two tops.
size_t creux(const Courbes& c, size_t a, size_t b) {
    size_t plus_bas = a;
    for (size_t i = a; i <= b; ++i)
        if (c.net(i) < c.net(plus_bas)) plus_bas = i;
    return plus_bas;
}

// Where the net curve falls to `niveau` going from the top i towards `borne`
// (interpolated), or the angle of the bound.
double descente(const Courbes& c, size_t i, size_t borne, double niveau) {
    const int sens = borne < i ? -1 : 1;
    for (size_t j = i; j != borne; j = static_cast<size_t>(static_cast<long>(j) + sens)) {
        const size_t s = static_cast<size_t>(static_cast<long>(j) + sens);
        if (c.net(s) < niveau)
            return c.angles[j] +
                   (c.angles[s] - c.angles[j]) * (c.net(j) - niveau) / (c.net(j) - c.net(s));
    }
    return c.angles[borne];
}

using Matrice3 = std::array<std::array<double, 3>, 3>;

double determinant(const Matrice3& m) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// Linear and quadratic coefficients of the least-squares parabola through the
// points a ... b, x measured from the angle of point i (Cramer's rule on the
// normal equations).
std::array<double, 2> parabole(const Courbes& c, size_t i, size_t a, size_t b) {
    std::array<double, 5> s{};
    std::array<double, 3> t{};
    for (size_t j = a; j <= b; ++j) {
        const double x = c.angles[j] - c.angles[i];
        double puissance = 1; // x^m
        for (size_t m = 0; m < 5; ++m, puissance *= x) {
            s[m] += puissance;
            if (m < 3) t[m] += puissance * c.net(j);
        }
    }
    const Matrice3 normale{{{s[0], s[1], s[2]}, {s[1], s[2], s[3]}, {s[2], s[3], s[4]}}};
    std::array<double, 2> coefficients{};
    for (size_t colonne = 1; colonne < 3; ++colonne) {
        Matrice3 m = normale;
        for (size_t ligne = 0; ligne < 3; ++ligne)
            m[ligne][colonne] = t[ligne];
        coefficients[colonne - 1] = determinant(m) / determinant(normale);
    }
    return coefficients;
}

// Vertex of the least-squares parabola through the points of the top above
// half its height (three at least); the top's angle when there is no vertex
// between them.
double sommet_parabole(const Courbes& c, size_t i, size_t gauche, size_t droite) {
    size_t a = i, b = i;
    while (a > gauche && c.net(a - 1) >= c.net(i) / 2)
        --a;
    while (b < droite && c.net(b + 1) >= c.net(i) / 2)
        ++b;
    a = std::min(a, std::max(gauche, i - std::min<size_t>(i, 1)));
    b = std::max(b, std::min(droite, i + 1));
    const auto [lineaire, quadratique] = parabole(c, i, a, b);
    const double sommet = -lineaire / (2 * quadratique);
    const bool dedans = quadratique < 0 && sommet >= c.angles[a] - c.angles[i] &&
                        sommet <= c.angles[b] - c.angles[i];
    return std::isfinite(sommet) && dedans ? c.angles[i] + sommet : c.angles[i];
}

// The peaks of one stretch [debut, fin] above the threshold.
void pics_du_troncon(const Courbes& c, size_t debut, size_t fin, double largeur_max,
                     std::vector<PicSignificatif>& pics) {
    const std::vector<size_t> tops = sommets(c, debut, fin);
    const size_t dernier = c.taille() - 1;
    for (size_t t = 0; t < tops.size(); ++t) {
        const size_t i = tops[t];
        const size_t gauche = t == 0 ? 0 : creux(c, tops[t - 1], i);
        const size_t droite = t + 1 == tops.size() ? dernier : creux(c, i, tops[t + 1]);
        const double largeur =
            descente(c, i, droite, c.net(i) / 2) - descente(c, i, gauche, c.net(i) / 2);
        if (largeur > largeur_max) continue; // a hump of the background
        pics.push_back({sommet_parabole(c, i, gauche, droite), c.net(i), c.a.sigma(i), largeur});
    }
}

// Two peaks closer than the smallest width are one: the more significant.
std::vector<PicSignificatif> fusionne_proches(std::vector<PicSignificatif> pics,
                                              double largeur_min) {
    std::vector<PicSignificatif> gardes;
    for (const PicSignificatif& p : pics) {
        if (gardes.empty() || p.angle - gardes.back().angle >= largeur_min)
            gardes.push_back(p);
        else if (p.significativite() > gardes.back().significativite())
            gardes.back() = p;
    }
    return gardes;
}

// Linear interpolation of y at `angle` over increasing angles.
double interpole(const std::vector<double>& angles, const std::vector<double>& y, double angle) {
    const auto apres = std::upper_bound(angles.begin(), angles.end(), angle);
    if (apres == angles.begin()) return y.front();
    if (apres == angles.end()) return y.back();
    const auto j = static_cast<size_t>(apres - angles.begin());
    return y[j - 1] + (y[j] - y[j - 1]) * (angle - angles[j - 1]) / (angles[j] - angles[j - 1]);
}

std::string texte_k(double k) {
    return k == std::round(k) ? pascal_entier(std::llround(k), 1) : pascal_reel(k, 1, 1);
}

void ajoute_pic(EspaceTravail& espace, const PicSignificatif& pic, bool croissant) {
    Mesure m;
    m.deux_theta_mes = m.deux_theta_lu = pic.angle;
    m.intensite_mes = intensite_au_angle(espace.profil, pic.angle, croissant);
    m.code_raie = raie_k_alpha;
    m.significativite = pic.significativite();
    m.intensite_nette = pic.hauteur_nette;
    espace.mesures.ajoute(m);
}

} // namespace

double AnalyseBruit::variance(size_t i) const {
    if (variance_constante) return gain;
    return gain * std::max(lisse[i], comptes ? 1.0 : 0.0);
}

double AnalyseBruit::sigma(size_t i) const {
    return std::sqrt(facteur_variance() * variance(i));
}

double AnalyseBruit::sigma_derivee(size_t i) const {
    return std::sqrt(facteur_variance_derivee() * variance(i));
}

// As the filter computes it: the ends repeat the nearest value it computes.
double AnalyseBruit::derivee(size_t i) const {
    const std::vector<double>& poids = poids_derivee();
    const size_t h = poids.size() / 2;
    if (lisse.size() < poids.size()) return 0;
    const size_t centre = std::clamp(i, h, lisse.size() - 1 - h);
    double somme = 0;
    for (size_t j = 0; j < poids.size(); ++j)
        somme += poids[j] * lisse[centre - h + j];
    return somme;
}

bool valeurs_de_comptage(const std::vector<double>& brutes, double precision) {
    return std::all_of(brutes.begin(), brutes.end(), [precision](double v) {
        return v > -precision && std::fabs(v - std::round(v)) <= precision;
    });
}

void analyse_bruit(const std::vector<double>& angles, const std::vector<double>& brutes,
                   bool comptes, const ReglagesStatistiques& reglages, AnalyseBruit& a) {
    a.comptes = comptes;
    a.gain = 1;
    a.variance_constante = false;
    a.lisse.clear();
    a.fond.clear();
    if (angles.size() < 2) return;
    lisse_dans(brutes, a.lisse);
    fond_du_profil(a.lisse, pas_moyen(angles), reglages.largeur_max, a.fond);
    if (!comptes) {
        a.gain = gain_de_dispersion(brutes, a.fond);
        a.variance_constante = a.gain < 0;
        a.gain = std::fabs(a.gain);
    }
}

AnalyseBruit analyse_bruit(const std::vector<double>& angles, const std::vector<double>& brutes,
                           bool comptes, const ReglagesStatistiques& reglages) {
    AnalyseBruit a;
    analyse_bruit(angles, brutes, comptes, reglages, a);
    return a;
}

std::vector<PicSignificatif> pics_significatifs(const std::vector<double>& angles,
                                                const AnalyseBruit& analyse,
                                                const ReglagesStatistiques& reglages) {
    std::vector<PicSignificatif> pics;
    if (angles.size() < 3 || analyse.lisse.size() != angles.size()) return pics;
    const Courbes c{angles, analyse, reglages.k};
    const double pas = pas_moyen(angles);
    const auto longueur_min =
        static_cast<size_t>(std::max(1.0, std::round(reglages.largeur_min / pas)));
    for (size_t i = 0; i < angles.size(); ++i) {
        if (!c.dessus(i)) continue;
        size_t fin = i;
        while (fin + 1 < angles.size() && c.dessus(fin + 1))
            ++fin;
        if (fin - i + 1 >= longueur_min) pics_du_troncon(c, i, fin, reglages.largeur_max, pics);
        i = fin;
    }
    return fusionne_proches(std::move(pics), reglages.largeur_min);
}

void profil_brut_de(const EspaceTravail& espace, ProfilBrut& p) {
    const EnteteProfil& e = espace.entete_profil;
    const double etendue = e.intensite_max_brute - e.intensite_min_brute;
    const double echelle = etendue > 0 ? etendue / 100 : 1.0;
    p.angles.clear();
    p.valeurs.clear();
    for (const PointProfil& point : espace.profil) {
        p.angles.push_back(point.angle);
        p.valeurs.push_back(point.intensite * echelle + e.intensite_min_brute);
    }
    // The normalised values are single precision: a raw count comes back to
    // within a few parts in 10^7 of the range.
    p.comptes = valeurs_de_comptage(p.valeurs, 1e-3 + 1e-6 * std::fabs(etendue));
}

ProfilBrut profil_brut_de(const EspaceTravail& espace) {
    ProfilBrut p;
    profil_brut_de(espace, p);
    return p;
}

void cherche_pics_statistiques(EspaceTravail& espace, const ReglagesStatistiques& reglages,
                               const ChampsContamination& contamination, Dialogues& d) {
    CurseurOccupe occupe(d);
    espace.mesures.efface();
    if (espace.profil.taille() < 3 || !angles_croissants(espace.profil)) return;
    // The curves live in the search's state, their storage kept from one
    // search to the next.
    RecherchePics& r = espace.recherche;
    ProfilBrut p;
    AnalyseBruit a;
    p.angles.swap(r.angles_brutes), p.valeurs.swap(r.valeurs_brutes);
    a.lisse.swap(r.lisse_brut), a.fond.swap(r.fond_brut);
    profil_brut_de(espace, p);
    analyse_bruit(p.angles, p.valeurs, p.comptes, reglages, a);
    for (const PicSignificatif& pic : pics_significatifs(p.angles, a, reglages)) {
        if (espace.mesures.taille() == nb_pics_max) {
            d.erreur("Too many peaks (> 500)");
            break;
        }
        ajoute_pic(espace, pic, true);
    }
    p.angles.swap(r.angles_brutes), p.valeurs.swap(r.valeurs_brutes);
    a.lisse.swap(r.lisse_brut), a.fond.swap(r.fond_brut);
    if (espace.entete_profil.anode != "?") marque_contaminations(espace, contamination, d);
}

namespace {

// Net height and its significance of each measured reflection, on the
// background of the default widths; none when the profile cannot be analysed.
std::vector<std::pair<double, double>> nets_et_significativites(const EspaceTravail& espace) {
    const ProfilBrut p = profil_brut_de(espace);
    std::vector<std::pair<double, double>> r;
    if (p.angles.size() < 3 || !angles_croissants(espace.profil)) return r;
    const AnalyseBruit a = analyse_bruit(p.angles, p.valeurs, p.comptes, {});
    for (const Mesure& m : espace.mesures) {
        const double net = interpole(p.angles, a.lisse, m.deux_theta_mes) -
                           interpole(p.angles, a.fond, m.deux_theta_mes);
        const auto i = static_cast<std::size_t>(
            std::lower_bound(p.angles.begin(), p.angles.end(), m.deux_theta_mes) -
            p.angles.begin());
        r.emplace_back(net, net / a.sigma(std::min(i, p.angles.size() - 1)));
    }
    return r;
}

} // namespace

void note_significativites(EspaceTravail& espace) {
    const auto nets = nets_et_significativites(espace);
    for (std::size_t i = 0; i < nets.size(); ++i) {
        Mesure& m = espace.mesures[static_cast<int>(i) + 1];
        m.intensite_nette = nets[i].first;
        m.significativite = nets[i].second;
    }
}

std::optional<std::string> offre_methode_statistique(const EspaceTravail& espace, double k) {
    const int trouves = espace.mesures.taille();
    const auto nets = nets_et_significativites(espace);
    if (trouves == 0 || nets.empty()) return std::nullopt;
    const auto significatifs =
        std::count_if(nets.begin(), nets.end(), [k](const auto& n) { return n.second > k; });
    if (2 * significatifs >= trouves) return std::nullopt;
    return std::to_string(trouves) + " peaks found, " + std::to_string(significatifs) +
           " of them above " + texte_k(k) + " σ: use Counting statistics?";
}

} // namespace kovrin
