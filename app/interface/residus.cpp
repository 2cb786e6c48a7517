#include "interface/residus.h"

#include "affinement/diagnostic.h"
#include "commun/format.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

namespace kovrin {

namespace {

inline constexpr int marge_gauche = 64, marge_droite = 12, marge_haut = 26, marge_bas = 34;
inline constexpr Couleur bleu_points{0x20, 0x40, 0xC0};
inline constexpr Couleur gris_clair{0xC8, 0xC8, 0xC8};

TexteTrace texte(Point coin, std::string t, Couleur c = noir) {
    return {coin, std::move(t), c, std::nullopt, 9};
}

struct Cadre {
    int x0, x1, y0, y1; // pixels of the plotting area
    double debut, fin, y_max;
    int x(double deux_theta) const {
        return x0 + plus_proche((deux_theta - debut) / (fin - debut) * (x1 - x0));
    }
    int y(double residu) const {
        return (y0 + y1) / 2 - plus_proche(residu / y_max * (y1 - y0) / 2);
    }
};

Cadre cadre_de(const EspaceTravail& et, const Diagnostic& diag, int largeur, int hauteur) {
    double bas = 180, haut = 0, y_max = 3 * diag.ecart_type;
    for (int i = 1; i <= et.selection.taille(); ++i) {
        bas = std::min(bas, double(et.selection[i].deux_theta_obs));
        haut = std::max(haut, double(et.selection[i].deux_theta_obs));
        y_max = std::max(y_max, std::fabs(diag.paires[static_cast<std::size_t>(i - 1)].residu));
    }
    const double marge = std::max(1.0, 0.03 * (haut - bas));
    y_max = std::max(1.15 * y_max, 1e-4);
    return {marge_gauche,
            largeur - marge_droite,
            marge_haut,
            hauteur - marge_bas,
            std::max(0.0, bas - marge),
            std::min(180.0, haut + marge),
            y_max};
}

void trace_axes(Dessin& d, const Cadre& c) {
    d.segments.push_back({{c.x0, c.y0}, {c.x0, c.y1}, noir});
    d.segments.push_back({{c.x0, c.y1}, {c.x1, c.y1}, noir});
    d.segments.push_back({{c.x0, c.y(0)}, {c.x1, c.y(0)}, gris});
    const double pas_x = pas_rond(c.fin - c.debut, 8);
    for (double v = std::ceil(c.debut / pas_x) * pas_x; v <= c.fin; v += pas_x) {
        d.segments.push_back({{c.x(v), c.y1}, {c.x(v), c.y1 + 4}, noir});
        d.textes.push_back(texte({c.x(v) - 12, c.y1 + 6}, pascal_reel(v, 0, pas_x < 1 ? 1 : 0)));
    }
    const double pas_y = pas_rond(2 * c.y_max, 6);
    const int decimales = std::max(0, 1 - static_cast<int>(std::floor(std::log10(pas_y))));
    for (double v = -std::floor(c.y_max / pas_y) * pas_y; v <= c.y_max; v += pas_y) {
        const double valeur = std::fabs(v) < pas_y / 2 ? 0 : v;
        d.segments.push_back({{c.x0 - 4, c.y(valeur)}, {c.x0, c.y(valeur)}, noir});
        d.textes.push_back(texte({4, c.y(valeur) - 7}, pascal_reel(valeur, 0, decimales)));
    }
    d.textes.push_back(
        texte({c.x0, 4}, "\u03942\u03b8 obs \u2212 calc (degrees) against 2\u03b8 obs"));
}

void trace_bande(Dessin& d, const Cadre& c, double ecart_type) {
    for (double signe : {-2.0, 2.0}) {
        const int y = c.y(signe * ecart_type);
        for (int x = c.x0; x < c.x1; x += 8)
            d.segments.push_back({{x, y}, {std::min(x + 4, c.x1), y}, gris_clair});
    }
}

void trace_point(Dessin& d, const Cadre& c, double deux_theta, const DiagnosticPaire& p, int rang) {
    const Point centre{c.x(deux_theta), c.y(p.residu)};
    const Couleur couleur = p.suspecte ? rouge : bleu_points;
    d.segments.push_back({{centre.x, c.y(0)}, centre, couleur});
    d.segments.push_back({{centre.x - 3, centre.y - 3}, {centre.x + 3, centre.y + 3}, couleur});
    d.segments.push_back({{centre.x - 3, centre.y + 3}, {centre.x + 3, centre.y - 3}, couleur});
    if (p.suspecte)
        d.textes.push_back(texte({centre.x + 5, centre.y - 14}, std::to_string(rang), rouge));
}

} // namespace

double pas_rond(double etendue, int n) {
    if (!(etendue > 0) || n < 1) return 1;
    const double brut = etendue / n;
    const double puissance = std::pow(10.0, std::floor(std::log10(brut)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * puissance >= brut) return m * puissance;
    return 10 * puissance;
}

Dessin dessin_residus(const EspaceTravail& et, int largeur, int hauteur) {
    Dessin d;
    const auto diag = et.affinement_ok ? diagnostique(et) : std::nullopt;
    if (!diag || largeur < marge_gauche + marge_droite + 20 ||
        hauteur < marge_haut + marge_bas + 20) {
        d.textes.push_back(texte({10, 10}, "No residuals: refine the cell first (tab 4)"));
        return d;
    }
    const Cadre c = cadre_de(et, *diag, largeur, hauteur);
    trace_axes(d, c);
    trace_bande(d, c, diag->ecart_type);
    for (int i = 1; i <= et.selection.taille(); ++i)
        trace_point(d, c, et.selection[i].deux_theta_obs,
                    diag->paires[static_cast<std::size_t>(i - 1)], i);
    return d;
}

} // namespace kovrin
