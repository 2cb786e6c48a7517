#include "modele.h"

#include <cmath>

namespace kovrin::moteur {

namespace {

Modele etat_modele;
MatriceA etat_matrice;

void applique_liens(Modele& m) {
    if (m.lien != Lien::aucun) m.p[3] = m.p[2];
    if (m.lien == Lien::trois_egaux) m.p[4] = m.p[2];
    if (m.angles_lies) {
        m.p[6] = m.p[5];
        m.p[7] = m.p[5];
    }
}

// A tied parameter follows its leader: the leader's derivative is the sum of
// both, and the follower itself has no effect on theta.
void derivees_liees(const Modele& m, float* d) {
    if (m.lien != Lien::aucun) {
        d[2] += d[3];
        d[3] = 0.0f;
    }
    if (m.lien == Lien::trois_egaux) {
        d[2] += d[4];
        d[4] = 0.0f;
    }
    if (m.angles_lies) {
        d[5] += d[6] + d[7];
        d[6] = 0.0f;
        d[7] = 0.0f;
    }
}

struct Metrique {
    float as, bs, cs;
    float ca, cb, cg;
    float sa, sb, sg;
};

Metrique metrique(const float* p) {
    return {p[2],           p[3],           p[4],           std::cos(p[5]), std::cos(p[6]),
            std::cos(p[7]), std::sin(p[5]), std::sin(p[6]), std::sin(p[7])};
}

// Theta of reflection i with its eight derivatives; false when it has no Bragg angle.
Echec reflexion(const Modele& m, const Metrique& g, int i, float& theta, float* d) {
    auto h = static_cast<float>(m.h[i]);
    auto k = static_cast<float>(m.k[i]);
    auto l = static_cast<float>(m.l[i]);
    float q = 2.0f * (h * l * g.cb * g.cs * g.as + k * l * g.ca * g.cs * g.bs +
                      h * k * g.cg * g.bs * g.as) +
              (k * g.bs) * (k * g.bs) + (h * g.as) * (h * g.as) + (l * g.cs) * (l * g.cs);
    if (!std::isfinite(q)) return Echec::non_fini;
    float demi_lambda = m.p[1];
    float sinus2 = demi_lambda * demi_lambda * q;
    if (!(q > 0.0f) || !(sinus2 < 1.0f)) return Echec::geometrie;
    float dist = 1.0f / std::sqrt(q);
    float cos_theta = std::sqrt(1.0f - sinus2);
    float w = demi_lambda * dist / cos_theta;
    float terme = m.mode == 1 ? 1.0f : std::cos(m.theta_obs[i]);
    d[0] = terme;
    d[1] = 1.0f / (cos_theta * dist);
    d[2] = h * (k * g.cg * g.bs + l * g.cb * g.cs + h * g.as) * w;
    d[3] = k * (h * g.cg * g.as + l * g.ca * g.cs + k * g.bs) * w;
    d[4] = l * (k * g.ca * g.bs + h * g.cb * g.as + l * g.cs) * w;
    d[5] = -g.sa * k * l * g.cs * g.bs * w;
    d[6] = -g.sb * h * l * g.cs * g.as * w;
    d[7] = -g.sg * k * h * g.bs * g.as * w;
    derivees_liees(m, d);
    theta = std::asin(demi_lambda / dist) + m.p[0] * terme;
    return std::isfinite(theta) ? Echec::aucun : Echec::non_fini;
}

} // namespace

Modele& modele() {
    return etat_modele;
}
MatriceA& matrice_a() {
    return etat_matrice;
}

void emballe(float* x) {
    Modele& m = etat_modele;
    int n = 0;
    for (int j = 0; j < nb_parametres; ++j)
        if (m.drapeaux[j] != 0.0f) x[n++] = m.p[j];
}

void deballe(const float* x) {
    Modele& m = etat_modele;
    int n = 0;
    for (int j = 0; j < nb_parametres; ++j)
        if (m.drapeaux[j] != 0.0f) m.p[j] = x[n++];
    applique_liens(m);
}

Echec theta_modele(const float* x, MatriceA& a) {
    Modele& m = etat_modele;
    deballe(x);
    Metrique g = metrique(m.p);
    for (int i = 0; i < m.nref; ++i) {
        float* d = m.derivees[i];
        Echec e = reflexion(m, g, i, a[i][m.npar + 1], d);
        if (e != Echec::aucun) return e;
        int n = 0;
        for (int j = 0; j < nb_parametres; ++j)
            if (m.drapeaux[j] != 0.0f) a[i][n++] = d[j];
    }
    return Echec::aucun;
}

Echec ecart_final(const float* x, MatriceA& a, float& sigma) {
    Modele& m = etat_modele;
    deballe(x);
    Metrique g = metrique(m.p);
    float somme = 0.0f;
    for (int i = 0; i < m.nref; ++i) {
        float d[nb_parametres];
        float& theta = a[i][m.npar + 1];
        Echec e = reflexion(m, g, i, theta, d);
        if (e != Echec::aucun) return e;
        float ecart = theta - m.theta_obs[i];
        somme += ecart * ecart;
    }
    sigma = std::sqrt(somme) / static_cast<float>(m.nref - m.npar);
    return std::isfinite(sigma) ? Echec::aucun : Echec::non_fini;
}

} // namespace kovrin::moteur
