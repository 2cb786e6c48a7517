#include "profil/trace.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kovrin {

int plus_proche(double valeur) {
    return static_cast<int>(std::nearbyint(valeur));
}

int Repere::x_de_angle(double angle) const {
    return plus_proche((angle - debut) * px_par_degre) + marge_gauche;
}

int Repere::y_de_valeur(double valeur) const {
    return hauteur - plus_proche(valeur * px_par_valeur) - marge_bas;
}

double Repere::angle_de_x(int x) const {
    return (x - marge_gauche) / px_par_degre + debut;
}

double Repere::valeur_de_y(int y) const {
    return (hauteur - y - marge_bas) / px_par_valeur;
}

Repere repere(int largeur, int hauteur, int marge_bas, double debut, double fin, double facteur) {
    Repere r;
    r.largeur = largeur;
    r.hauteur = hauteur;
    r.marge_bas = marge_bas;
    if (fin == debut) return r;
    r.debut = debut;
    r.fin = fin;
    r.px_par_degre = (largeur - 2) / (fin - debut);
    r.px_par_valeur = facteur * (hauteur - marge_bas) * 0.01;
    return r;
}

Zoom zoom_rectangle(const Repere& vue, Point appui, Point relache, bool mode_theta,
                    double facteur) {
    Zoom z;
    double debut = vue.angle_de_x(appui.x), fin = vue.angle_de_x(relache.x);
    if (debut > fin) std::swap(debut, fin);
    const double vers_deux_theta = mode_theta ? 2.0 : 1.0; // stored angles are 2theta
    z.angle_min = debut * vers_deux_theta;
    z.angle_max = fin * vers_deux_theta;
    const int trace = vue.ligne_axe();
    const int h = std::max(trace - std::min(appui.y, relache.y), 2);
    z.facteur = facteur * trace / h;
    // The arrows cannot go past their range; the factor itself is not limited.
    z.position_echelle = std::clamp(plus_proche(z.facteur * 10), 10, 500);
    return z;
}

double pas_graduation(double s) {
    if (s < 0.1) return 0.01;
    if (s > 0.5 && s <= 1) return 0.1;
    if (s > 1 && s <= 10) return 1;
    if (s > 10 && s <= 50) return 5;
    if (s > 50 && s <= 100) return 10;
    if (s > 100) return 20;
    return 10; // 0.1 ... 0.5: at most one tick is shown
}

std::vector<double> graduations(double debut, double fin) {
    std::vector<double> valeurs;
    if (!std::isfinite(debut) || !std::isfinite(fin)) return valeurs;
    const double pas = pas_graduation(std::fabs(fin - debut));
    double premiere = std::nearbyint(debut / pas) * pas;
    if (premiere < debut) premiere += pas;
    // Ticks are computed from the first, not accumulated; the small margin keeps
    // a tick that equals the end despite the rounding of decimal steps.
    const double limite = fin + pas * 1e-9;
    for (int k = 0;; ++k) {
        const double valeur = premiere + k * pas;
        if (valeur > limite) break;
        valeurs.push_back(valeur);
    }
    return valeurs;
}

void decale_plage(EspaceTravail& et, int& derniere_position, int position) {
    const int delta = position - derniere_position;
    et.angle_min += delta;
    et.angle_max += delta;
    derniere_position = position;
}

void plage_complete(EspaceTravail& et) {
    et.angle_min = et.angle_min_initial;
    et.angle_max = et.angle_max_initial;
    et.etendue = et.angle_max - et.angle_min;
}

std::pair<int, int> points_du_domaine(const ListeBornee<PointProfil, 30000>& profil,
                                      double angle_min, double angle_max) {
    int i1 = 1;
    while (i1 <= profil.taille() && profil[i1].angle < angle_min)
        ++i1;
    int i2 = profil.taille();
    while (i2 >= 1 && profil[i2].angle > angle_max)
        --i2;
    return {i1, i2};
}

std::vector<int> echantillons_profil(int i1, int i2, int n) {
    std::vector<int> indices;
    if (i1 > i2 || n < 1) return indices;
    if (n == 1) return {i1};
    indices.reserve(static_cast<std::size_t>(n));
    for (int b = 1; b <= n; ++b)
        indices.push_back(plus_proche(
            (static_cast<double>(i1) * (n - 1) + static_cast<double>(b - 1) * (i2 - i1)) /
            (n - 1)));
    return indices;
}

} // namespace kovrin
