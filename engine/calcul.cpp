#include "kovrin/calcul.h"

#include "listing.h"
#include "modele.h"
#include "moteur.h"

#include "commun/fichier_texte.h"

#include <cmath>
#include <exception>
#include <optional>
#include <string_view>

namespace kovrin::moteur {

namespace {

constexpr std::string_view fin_normale = "Fin normale";
constexpr std::string_view echec_matinv = "erreur dans matinv CHOLESKI";
constexpr std::string_view refus_tous = "On ne peut affiner tous les parametres en meme temps";
constexpr std::string_view refus_nref = "Il faut plus de reflexions que de parametres affines";
constexpr std::string_view echec_donnees = "erreur : donnees non valides";
constexpr std::string_view echec_geometrie = "erreur : lambda/2d >= 1 pour une reflexion";
constexpr std::string_view echec_non_fini = "erreur : valeurs non finies pendant l'affinement";
constexpr std::string_view echec_fichier = "erreur d'ecriture de kovrin.out ou de mouchard";

constexpr int longueur_titre = 50;
// Miller indices beyond this are not a reflection a powder pattern can show.
constexpr float indice_max = 9999.0f;

struct Arguments {
    int16_t* texte;
    int16_t* lettre;
    float* parametres;
    float* drapeaux;
    float* erreurs;
    float* h;
    float* k;
    float* l;
    float* angles;
    float* accord;
};

// Static working storage of the entry.
char titre[longueur_titre + 1];
float x[nb_max_libres + 1];
float erreurs_internes[nb_parametres];

int compte_reflexions(const float* angles) {
    int n = 0;
    while (n < nb_max_reflexions && angles[n] != 0.0f)
        ++n;
    return n;
}

// Title cut to 50 characters; a length outside 0 .. 99 counts as its bound.
std::string_view copie_titre(const int16_t* texte) {
    int n = texte[0] < 0
                ? 0
                : (texte[0] > KOVRIN_TAILLE_TEXTE - 1 ? KOVRIN_TAILLE_TEXTE - 1 : texte[0]);
    n = n > longueur_titre ? longueur_titre : n;
    for (int i = 0; i < longueur_titre; ++i)
        titre[i] = i < n ? static_cast<char>(texte[i + 1] & 0xFF) : ' ';
    titre[longueur_titre] = '\0';
    return {titre, static_cast<std::size_t>(n)};
}

bool indice_valide(float v) {
    return std::isfinite(v) && std::fabs(v) <= indice_max;
}

// Reflections into the model; false when an index or an angle is not usable.
bool charge_reflexions(const Arguments& arg, Modele& m) {
    bool valide = true;
    for (int i = 0; i < m.nref; ++i) {
        bool bon = indice_valide(arg.h[i]) && indice_valide(arg.k[i]) && indice_valide(arg.l[i]) &&
                   std::isfinite(arg.angles[i]);
        valide = valide && bon;
        m.h[i] = bon ? static_cast<int>(arg.h[i]) : 0;
        m.k[i] = bon ? static_cast<int>(arg.k[i]) : 0;
        m.l[i] = bon ? static_cast<int>(arg.l[i]) : 0;
        m.theta_obs[i] = arg.angles[i] / (2.0f * degre);
        m.poids[i] = 1.0f;
    }
    return valide;
}

bool tous_finis(const float* v, int n) {
    for (int j = 0; j < n; ++j)
        if (!std::isfinite(v[j])) return false;
    return true;
}

void decide_lien(int lettre, Modele& m, std::string_view& libelle) {
    m.lien = Lien::aucun;
    m.angles_lies = false;
    libelle = "NO   ";
    if (lettre == 'C' || lettre == 'R') {
        m.lien = Lien::trois_egaux;
        m.angles_lies = lettre == 'R';
        libelle = "A=B=C";
    } else if (lettre == 'Q' || lettre == 'H') {
        m.lien = Lien::a_egal_b;
        libelle = "A=B  ";
    } else if (lettre == 'M') {
        bool a = m.drapeaux[5] != 0.0f, b = m.drapeaux[6] != 0.0f, g = m.drapeaux[7] != 0.0f;
        if (!a && b && !g)
            libelle = "MonoB";
        else if (!a && !b && g)
            libelle = "MonoC";
        else if (a && !b && !g)
            libelle = "MonoA";
    }
}

// Internal units: angular term on the theta scale, lambda/2, angles in radians,
// then the reciprocal cell. Returns the direct volume.
float vers_unites_internes(Modele& m) {
    if (m.mode == 1) m.p[0] /= degre;
    m.p[1] /= 2.0f;
    for (int j = 5; j < 8; ++j)
        m.p[j] /= degre;
    float volume = 0.0f;
    convertit_maille(m.p + 2, erreurs_internes, volume, false);
    return volume;
}

void reciproque_en_degres(const float* p, float* reciproque) {
    for (int j = 0; j < 3; ++j) {
        reciproque[j] = p[2 + j];
        reciproque[3 + j] = p[5 + j] * degre;
    }
}

int compte_libres(const Modele& m) {
    int n = 0;
    for (float d : m.drapeaux)
        n += d != 0.0f ? 1 : 0;
    return n;
}

std::string_view texte_echec(Echec e) {
    switch (e) {
    case Echec::matinv:
        return echec_matinv;
    case Echec::geometrie:
        return echec_geometrie;
    case Echec::non_fini:
        return echec_non_fini;
    case Echec::aucun:
        break;
    }
    return fin_normale;
}

// Errors of the free values, then those of the tied parameters.
void erreurs_standard(const Modele& m, const MatriceA& a, float sigma) {
    int n = 0;
    for (int j = 0; j < nb_parametres; ++j)
        if (m.drapeaux[j] != 0.0f) {
            erreurs_internes[j] = sigma * std::sqrt(a[n][n]);
            ++n;
        } else {
            erreurs_internes[j] = 0.0f;
        }
    if (m.lien != Lien::aucun) erreurs_internes[3] = erreurs_internes[2];
    if (m.lien == Lien::trois_egaux) erreurs_internes[4] = erreurs_internes[2];
    if (m.angles_lies) erreurs_internes[6] = erreurs_internes[7] = erreurs_internes[5];
}

// Refined values and errors back to the direct cell and external units.
float vers_unites_externes(float* p, float* e) {
    float volume_reciproque = 0.0f;
    convertit_maille(p + 2, e + 2, volume_reciproque, true);
    p[0] *= degre * 2.0f;
    e[0] *= degre * 2.0f;
    p[1] *= 2.0f;
    e[1] *= 2.0f;
    for (int j = 5; j < 8; ++j) {
        p[j] *= degre;
        e[j] *= degre;
    }
    return 1.0f / volume_reciproque;
}

// Reflection table and agreement figures; argument 9 gets the calculated theta.
float ecrit_resultats(Listing& listing, const Arguments& arg, const Modele& m, const MatriceA& a,
                      float terme_degres) {
    listing.entete_table();
    float somme = 0.0f;
    for (int i = 0; i < m.nref; ++i) {
        float theta_o = m.theta_obs[i] * degre;
        float t = m.mode == 1 ? terme_degres : terme_degres * std::cos(m.theta_obs[i]);
        float theta_c = a[i][m.npar + 1] * degre;
        float ecart = (theta_o - t) - (theta_c - t);
        somme += ecart * ecart;
        listing.reflexion({m.h[i], m.k[i], m.l[i], arg.angles[i], 2.0f * (theta_o - t),
                           2.0f * (theta_c - t), 2.0f * ecart});
        arg.angles[i] = theta_c - t;
    }
    auto libres = static_cast<float>(m.nref - m.npar);
    float figure = std::sqrt(somme) / libres;
    float figure_2t = std::sqrt(4.0f * somme) / libres;
    listing.accords(figure, figure_2t);
    return figure_2t;
}

// Steps up to the reflection count: letter, reflections, title, mode, tie,
// internal units, the listing head. False when an input value is unusable.
bool prepare(Listing& listing, const Arguments& arg, Modele& m) {
    if (*arg.lettre == 'T' && std::fabs(arg.parametres[2] - arg.parametres[3]) < 0.001f)
        *arg.lettre = 'Q';
    m.nref = compte_reflexions(arg.angles);
    bool valide = charge_reflexions(arg, m) && tous_finis(arg.parametres, nb_parametres) &&
                  tous_finis(arg.drapeaux, nb_parametres);
    std::string_view titre_court = copie_titre(arg.texte);
    m.mode = arg.drapeaux[0] == -1.0f ? 2 : 1;
    if (m.mode == 2) arg.drapeaux[0] = 1.0f;
    for (int j = 0; j < nb_parametres; ++j) {
        m.p[j] = arg.parametres[j];
        m.drapeaux[j] = arg.drapeaux[j];
    }
    m.p[0] /= 2.0f;
    std::string_view libelle;
    decide_lien(*arg.lettre, m, libelle);
    listing.tete({titre_court, m.nref, libelle, m.mode, arg.parametres, arg.drapeaux});
    float volume = vers_unites_internes(m);
    float reciproque[6];
    reciproque_en_degres(m.p, reciproque);
    listing.reciproque(reciproque, volume);
    m.npar = compte_libres(m);
    return valide && tous_finis(m.p, nb_parametres) && volume > 0.0f;
}

// Results of a completed refinement into the listing and the arguments.
std::string_view termine(Listing& listing, const Arguments& arg, const Modele& m, const MatriceA& a,
                         float sigma) {
    erreurs_standard(m, a, sigma);
    float reciproque[6];
    reciproque_en_degres(m.p, reciproque);
    float p[nb_parametres];
    for (int j = 0; j < nb_parametres; ++j)
        p[j] = m.p[j];
    float terme_degres = p[0] * degre;
    float volume_final = vers_unites_externes(p, erreurs_internes);
    if (!tous_finis(p, nb_parametres) || !tous_finis(erreurs_internes, nb_parametres)) {
        listing.refus(echec_non_fini);
        return echec_non_fini;
    }
    listing.valeurs_finales(m.mode, p, erreurs_internes);
    listing.reciproque(reciproque, volume_final);
    *arg.accord = ecrit_resultats(listing, arg, m, a, terme_degres);
    for (int j = 0; j < nb_parametres; ++j) {
        arg.parametres[j] = p[j];
        arg.erreurs[j] = erreurs_internes[j];
    }
    return fin_normale;
}

// Why no refinement can run, or nothing.
std::string_view refus_avant(bool valide, const Modele& m) {
    if (!valide) return echec_donnees;
    if (m.npar == nb_parametres) return refus_tous;
    if (m.npar > 0 && m.nref <= m.npar) return refus_nref;
    return {};
}

BilanMoindresCarres lance_moindres_carres(const Modele& m, MatriceA& a, bool fichiers) {
    if (fichiers)
        return moindres_carres(a, nb_max_reflexions, m.theta_obs, x, m.npar, m.nref, m.poids,
                               limite_cycles, theta_modele);
    return moindres_carres(a, nb_max_reflexions, m.theta_obs, x, m.npar, m.nref, m.poids,
                           limite_cycles, theta_modele, nullptr);
}

// One call but the opening and closing of the listing; the trace is written
// only with the files.
std::string_view affine(Listing& listing, const Arguments& arg, bool fichiers) {
    Modele& m = modele();
    const std::string_view refus = refus_avant(prepare(listing, arg, m), m);
    if (!refus.empty()) {
        listing.nombre_cycles(0);
        listing.refus(refus);
        // No cycle ran: an empty trace replaces the one of an earlier call.
        if (fichiers) EcrivainTexte("mouchard").ferme();
        return refus;
    }
    emballe(x);
    MatriceA& a = matrice_a();
    const BilanMoindresCarres bilan = lance_moindres_carres(m, a, fichiers);
    listing.nombre_cycles(bilan.cycles);
    float sigma = 0.0f;
    const Echec echec = bilan.echec != Echec::aucun ? bilan.echec : ecart_final(x, a, sigma);
    if (echec == Echec::aucun) return termine(listing, arg, m, a, sigma);
    // The inversion failure keeps lines 1 to 17 only; the others say why.
    if (echec != Echec::matinv) listing.refus(texte_echec(echec));
    return texte_echec(echec);
}

std::string_view affine(const Arguments& arg, bool fichiers) {
    std::optional<EcrivainTexte> sortie;
    if (fichiers) sortie.emplace("kovrin.out");
    Listing listing(sortie ? &*sortie : nullptr);
    const std::string_view statut = affine(listing, arg, fichiers);
    if (sortie) sortie->ferme();
    return statut;
}

void ecrit_statut(int16_t* texte, std::string_view statut) {
    auto n = static_cast<int>(statut.size());
    texte[0] = static_cast<int16_t>(n);
    for (int i = 0; i < n; ++i)
        texte[i + 1] = static_cast<int16_t>(static_cast<unsigned char>(statut[i]));
}

void appelle(const Arguments& arg, bool fichiers) {
    std::string_view statut;
    try {
        statut = affine(arg, fichiers);
    } catch (const std::exception&) {
        // kovrin.out or mouchard could not be written; both are closed by now.
        statut = echec_fichier;
    }
    ecrit_statut(arg.texte, statut);
}

} // namespace

void calcul_sans_fichiers(int16_t* texte, int16_t* lettre, float* parametres, float* drapeaux,
                          float* erreurs, float* h, float* k, float* l, float* angles,
                          float* accord) {
    appelle({texte, lettre, parametres, drapeaux, erreurs, h, k, l, angles, accord}, false);
}

} // namespace kovrin::moteur

extern "C" void calcul(int16_t* texte, int16_t* lettre, float* parametres, float* drapeaux,
                       float* erreurs, float* h, float* k, float* l, float* angles, float* accord) {
    kovrin::moteur::appelle({texte, lettre, parametres, drapeaux, erreurs, h, k, l, angles, accord},
                            true);
}
