#include "cristallo/groupes.h"

#include "commun/donnees.h"
#include "commun/erreur.h"
#include "commun/fichier_texte.h"
#include "commun/format.h"
#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/centrages.h"
#include "cristallo/systemes.h"

#include "orsab.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>

namespace kovrin {

namespace {

constexpr int max_operateurs = 192;

struct Translation {
    const char* texte;
    double valeur;
};
// Searched in this order; the values are these decimals, not exact thirds.
constexpr Translation translations[] = {
    {"+1/2", 0.5},        {"+1/3", 0.3333333},  {"+2/3", 0.6666667}, {"+1/4", 0.25},
    {"+3/4", 0.75},       {"+1/6", 0.166667},   {"+5/6", 0.83333},   {"-1/2", -0.5},
    {"-1/3", -0.3333333}, {"-2/3", -0.6666667}, {"-1/4", -0.25},     {"-3/4", -0.75},
    {"-1/6", -0.166667},  {"-5/6", -0.83333}};

struct Forme {
    const char* texte;
    std::array<double, 3> ligne;
};
constexpr Forme formes[] = {{"X", {1, 0, 0}},    {"Y", {0, 1, 0}},   {"Z", {0, 0, 1}},
                            {"-X", {-1, 0, 0}},  {"-Y", {0, -1, 0}}, {"-Z", {0, 0, -1}},
                            {"X-Y", {1, -1, 0}}, {"Y-X", {-1, 1, 0}}};

using Operateurs = std::vector<Operateur>;

std::string colonnes(const std::string& ligne, std::size_t premiere, std::size_t n) {
    return premiere - 1 < ligne.size() ? ligne.substr(premiere - 1, n) : std::string();
}

std::string complete(std::string texte, std::size_t n) {
    if (texte.size() < n) texte.resize(n, ' ');
    return texte;
}

std::string erreur_donnees(const std::filesystem::path& fichier, const std::string& quoi) {
    if (fichier.empty()) return "Symmetry error: " + quoi;
    return "Malformed data file " + fichier.string() + ": " + quoi;
}

void verifie_nombre(std::size_t n, const std::filesystem::path& fichier) {
    if (n > max_operateurs)
        throw ErreurKovrin(erreur_donnees(fichier, "more than " + std::to_string(max_operateurs) +
                                                       " symmetry operators"));
}

// Appends the centred copies; returns the number of vectors.
int centre(Operateurs& ops, const std::string& reseau, const std::string& systeme,
           const std::filesystem::path& fichier) {
    const Centrage* c = centrage_de(reseau, systeme);
    const auto vecteurs = c ? c->vecteurs() : std::span<const VecteurCentrage>{};
    const std::size_t m = ops.size();
    verifie_nombre(m * (1 + vecteurs.size()), fichier);
    for (const auto& v : vecteurs)
        for (std::size_t i = 0; i < m; ++i) {
            Operateur op = ops[i];
            for (int r = 0; r < 3; ++r) {
                double& t = op[static_cast<std::size_t>(4 * r + 3)];
                t += v[static_cast<std::size_t>(r)];
                if (t > 1) t -= 1;
            }
            ops.push_back(op);
        }
    return static_cast<int>(vecteurs.size());
}

// Adds the image of every operator by the inversion at the origin, translations
// brought back into [0, 1].
void ajoute_inverses(Operateurs& ops, const std::filesystem::path& fichier) {
    const std::size_t n = ops.size();
    verifie_nombre(2 * n, fichier);
    for (std::size_t i = 0; i < n; ++i) {
        Operateur op = ops[i];
        for (std::size_t j = 0; j < op.size(); ++j)
            op[j] = -op[j] + 0.0; // no negative zero
        for (int r = 0; r < 3; ++r)
            if (op[static_cast<std::size_t>(4 * r + 3)] < 0)
                op[static_cast<std::size_t>(4 * r + 3)] += 1;
        ops.push_back(op);
    }
}

void installe(EspaceTravail& et, const Operateurs& ops) {
    et.operateurs.efface();
    for (const auto& op : ops)
        et.operateurs.ajoute(op);
}

// lit_lignes, with a failure of the stream itself (a folder in place of the
// file) turned into the file error the command boundary reports.
std::vector<std::string> lignes_de(const std::filesystem::path& chemin) {
    try {
        return lit_lignes(chemin);
    } catch (const ErreurKovrin&) {
        throw;
    } catch (const std::exception&) {
        throw ErreurKovrin(message_erreur_fichier(chemin, "read error"));
    }
}

// A fixed data file's lines: read once when the workspace keeps them.
DonneesLues::Lignes lignes_donnees(EspaceTravail& et, const std::filesystem::path& chemin) {
    if (auto lues = et.donnees_lues.trouve(chemin)) return lues;
    auto lues = std::make_shared<const std::vector<std::string>>(lignes_de(chemin));
    et.donnees_lues.retient(chemin, lues);
    return lues;
}

std::string premiere_lettre(const std::string& groupe) {
    return groupe.substr(0, 1);
}

// --- .pos files ---------------------------------------------------------------

long long entier_pos(const std::vector<std::string>& lignes, std::size_t i,
                     const std::filesystem::path& fichier) {
    if (i >= lignes.size())
        throw ErreurKovrin(message_erreur_fichier(fichier, "read beyond end of file"));
    const auto v = lit_entier(sans_blancs(lignes[i]));
    if (!v)
        throw ErreurKovrin(erreur_donnees(fichier, "line " + std::to_string(i + 1) + " \"" +
                                                       lignes[i] + "\" is not an integer"));
    return *v;
}

Operateur operateur_pos(const std::string& ligne, std::size_t numero,
                        const std::filesystem::path& fichier) {
    const auto v1 = ligne.find(',');
    const auto v2 = v1 == std::string::npos ? v1 : ligne.find(',', v1 + 1);
    const std::string parties[3] = {
        ligne.substr(0, v1), v1 == std::string::npos ? "" : ligne.substr(v1 + 1, v2 - v1 - 1),
        v2 == std::string::npos ? "" : ligne.substr(v2 + 1)};
    Operateur op{};
    for (std::size_t r = 0; r < 3; ++r) {
        const auto c = lit_composante(parties[r]);
        if (!c)
            throw ErreurKovrin(erreur_donnees(fichier, "line " + std::to_string(numero) +
                                                           ", component \"" + parties[r] +
                                                           "\" is not a symmetry operation"));
        for (std::size_t j = 0; j < 3; ++j)
            op[4 * r + j] = c->ligne[j];
        op[4 * r + 3] = c->translation;
    }
    return op;
}

// The operators of the block that starts with the symbol at line i.
Operateurs bloc_pos(const std::vector<std::string>& lignes, std::size_t i,
                    const std::filesystem::path& fichier) {
    const long long inversion = entier_pos(lignes, i + 1, fichier);
    const long long n = entier_pos(lignes, i + 2, fichier);
    if (n < 0) throw ErreurKovrin(erreur_donnees(fichier, "negative number of operators"));
    verifie_nombre(static_cast<std::size_t>(n), fichier);
    Operateurs ops;
    for (std::size_t j = i + 3; j < i + 3 + static_cast<std::size_t>(n); ++j) {
        if (j >= lignes.size())
            throw ErreurKovrin(message_erreur_fichier(fichier, "read beyond end of file"));
        ops.push_back(operateur_pos(lignes[j], j + 1, fichier));
    }
    if (inversion != 0) ajoute_inverses(ops, fichier);
    return ops;
}

// The block whose symbol is at line i, or nothing when it cannot be read
// (loading it gives its own message).
std::optional<BlocPos> bloc_lisible(const std::vector<std::string>& lignes, std::size_t i,
                                    const std::string& systeme,
                                    const std::filesystem::path& fichier) {
    try {
        BlocPos b{majuscules(sans_blancs(lignes[i])), bloc_pos(lignes, i, fichier)};
        centre(b.operateurs, premiere_lettre(b.symbole), systeme, fichier);
        return b;
    } catch (const ErreurKovrin&) {
        return std::nullopt;
    }
}

// --- scfs.dat -------------------------------------------------------------------

void insere_zeros(std::string& ligne, const std::string& motif) {
    for (auto p = ligne.find(motif); p != std::string::npos; p = ligne.find(motif))
        ligne.insert(p + 1, 1, '0');
}

Operateur operateur_scfs(std::string ligne, std::size_t numero,
                         const std::filesystem::path& fichier) {
    insere_zeros(ligne, " .");
    insere_zeros(ligne, "-.");
    for (char& c : ligne)
        if (c == ',') c = ' ';
    Operateur op{};
    std::size_t n = 0, p = 0;
    while ((p = ligne.find_first_not_of(' ', p)) != std::string::npos) {
        const auto fin = std::min(ligne.find(' ', p), ligne.size());
        const std::string mot = ligne.substr(p, fin - p);
        if (n == op.size())
            throw ErreurKovrin(erreur_donnees(fichier, "line " + std::to_string(numero) +
                                                           " holds more than 12 numbers"));
        const auto v = lit_reel(mot);
        if (!v)
            throw ErreurKovrin(erreur_donnees(fichier, "line " + std::to_string(numero) + ", \"" +
                                                           mot + "\" is not a number"));
        op[n++] = *v;
        p = fin;
    }
    return op;
}

} // namespace

std::string fichier_pos(const std::string& systeme) {
    const FicheSysteme* f = fiche_de_code(systeme);
    return f ? std::string(f->fichier_pos) : std::string();
}

void remplit_liste_orsab(EspaceTravail& et) {
    remplit_liste_orsab(et, chemin_donnees(et.repertoire, "spgr2.dat"));
}

void remplit_liste_orsab(EspaceTravail& et, const std::filesystem::path& chemin) {
    std::error_code ec;
    if (!std::filesystem::exists(chemin, ec))
        throw ArretProgramme("The file SPGR2.Dat was not found");
    et.liste_orsab = {};
    const FicheSysteme* plage = fiche_de_code(et.systeme);
    if (!plage) return;
    const auto lues = lignes_donnees(et, chemin);
    const std::vector<std::string>& lignes = *lues;
    ListeSymboles liste;
    for (int n = plage->premiere_ligne;
         n <= plage->derniere_ligne && n <= static_cast<int>(lignes.size()); ++n) {
        const std::string& ligne = lignes[static_cast<std::size_t>(n - 1)];
        const std::string symbole = sans_blancs(colonnes(ligne, 6, 12));
        if (symbole.empty()) // a spare line of the range
            continue;
        liste.entrees.push_back(ajuste(symbole, 12) +
                                complete(sans_blancs(colonnes(ligne, 27, 20)), 17) +
                                complete(sans_blancs(colonnes(ligne, 47, 3)), 3));
    }
    if (!et.groupe.empty())
        for (std::size_t i = 0; i < liste.entrees.size(); ++i)
            if (majuscules(sans_blancs(liste.entrees[i].substr(0, 12))) == et.groupe) {
                liste.selection = static_cast<int>(i);
                break;
            }
    et.liste_orsab = std::move(liste);
}

void remplit_liste_hm(EspaceTravail& et) {
    ListeSymboles liste;
    liste.entrees.push_back("No ext.");
    const std::string nom = fichier_pos(et.systeme);
    if (!nom.empty()) {
        const auto lues = lignes_donnees(et, chemin_donnees(et.repertoire, nom));
        const std::vector<std::string>& lignes = *lues;
        for (std::size_t i = 0; i + 1 < lignes.size(); ++i)
            if (sans_blancs_droite(lignes[i]).empty())
                liste.entrees.push_back(sans_blancs(lignes[++i]));
    }
    if (!et.groupe.empty())
        for (std::size_t i = 0; i < liste.entrees.size(); ++i)
            if (majuscules(sans_blancs(liste.entrees[i])) == et.groupe) {
                liste.selection = static_cast<int>(i);
                break;
            }
    et.liste_hm = std::move(liste);
}

std::string symbole_hm_orsab(std::string_view entree) {
    return sans_blancs(entree.substr(0, 12));
}

std::string symbole_hall_orsab(std::string_view entree) {
    // The Hall symbol fills 17 characters or more, then come 3 of the group number.
    return entree.size() <= 15 ? std::string() : sans_blancs(entree.substr(12, entree.size() - 15));
}

std::vector<BlocPos> blocs_pos(const EspaceTravail& et) {
    const auto fichier = chemin_donnees(et.repertoire, fichier_pos(et.systeme));
    const auto lignes = lignes_de(fichier);
    std::vector<BlocPos> blocs;
    for (std::size_t i = 0; i + 1 < lignes.size(); ++i)
        if (sans_blancs_droite(lignes[i]).empty())
            if (auto b = bloc_lisible(lignes, i + 1, et.systeme, fichier)) blocs.push_back(*b);
    return blocs;
}

void choisit_groupe_hm(EspaceTravail& et, int entree) {
    if (entree < 0 || entree >= static_cast<int>(et.liste_hm.entrees.size())) return;
    et.liste_orsab.selection = -1;
    et.liste_hm.selection = entree;
    et.groupe = majuscules(sans_blancs(et.liste_hm.entrees[static_cast<std::size_t>(entree)]));
    et.origine_groupe = "HM";
}

void choisit_groupe_orsab(EspaceTravail& et, int entree) {
    if (entree < 0 || entree >= static_cast<int>(et.liste_orsab.entrees.size())) return;
    efface_scfs2();
    et.liste_hm.selection = -1;
    et.liste_orsab.selection = entree;
    et.groupe = majuscules(
        sans_blancs(et.liste_orsab.entrees[static_cast<std::size_t>(entree)].substr(0, 12)));
    et.origine_groupe = "HALL";
}

std::optional<Composante> lit_composante(std::string_view texte) {
    Composante c;
    std::string reste = majuscules(sans_blancs(texte));
    for (const auto& t : translations) {
        const auto p = reste.find(t.texte);
        if (p == std::string::npos) continue;
        c.translation = t.valeur;
        reste.erase(p, 4);
        break;
    }
    for (const auto& f : formes)
        if (reste == f.texte) {
            c.ligne = f.ligne;
            return c;
        }
    return std::nullopt;
}

namespace {

// hm.txt and hall.txt are only for the user to look at: a folder where they
// cannot be written does not stop the calculation. The user is told once (of
// hm.txt; hall.txt goes without a word, its folder also holds scfs.dat).
void ecrit_pour_l_utilisateur(EspaceTravail& et, const std::filesystem::path& chemin,
                              Dialogues* d) {
    try {
        ecrit_operateurs(chemin, et.operateurs);
    } catch (const ErreurKovrin& e) {
        if (!d || et.hm_txt_non_ecrit_signale) return;
        d->information(std::string(e.what()) +
                       "; the operators in force are not written there, the calculation goes on");
        et.hm_txt_non_ecrit_signale = true;
    }
}

} // namespace

void charge_operateurs_hm(EspaceTravail& et, Dialogues& d) {
    if (et.systeme.empty() || et.groupe.empty()) // an empty symbol would match a blank line
        return;
    const auto fichier = chemin_donnees(et.repertoire, fichier_pos(et.systeme));
    const auto lues = lignes_donnees(et, fichier);
    const std::vector<std::string>& lignes = *lues;
    Operateurs ops;
    bool trouve = false;
    std::string reseau = et.reseau;
    int nb_centrages = et.nb_centrages;
    for (std::size_t i = 0; i < lignes.size() && !trouve; ++i)
        if (majuscules(sans_blancs(lignes[i])) == et.groupe) {
            trouve = true;
            ops = bloc_pos(lignes, i, fichier);
            reseau = premiere_lettre(et.groupe);
            nb_centrages = centre(ops, reseau, et.systeme, fichier);
        }
    installe(et, ops);
    et.reseau = reseau;
    et.nb_centrages = nb_centrages;
    if (!trouve) d.erreur(et.groupe + " not found");
    ecrit_pour_l_utilisateur(et, et.repertoire / "hm.txt", &d);
}

void charge_operateurs_orsab(EspaceTravail& et) {
    std::int32_t codes[16];
    for (std::size_t i = 0; i < 16; ++i)
        codes[i] = i < et.groupe.size() ? static_cast<unsigned char>(et.groupe[i]) : 32;
    orsab_operateurs(codes);
    lit_operateurs_scfs(et);
}

void lit_operateurs_scfs(EspaceTravail& et) {
    const std::string reseau = premiere_lettre(et.groupe);
    const std::filesystem::path fichier = "scfs.dat";
    const auto lignes = lignes_de(fichier);
    Operateurs ops;
    for (std::size_t i = 1; i < lignes.size() && !sans_blancs(lignes[i]).empty(); ++i) {
        ops.push_back(operateur_scfs(lignes[i], i + 1, fichier));
        verifie_nombre(ops.size(), fichier);
    }
    const int nb_centrages = centre(ops, reseau, et.systeme, fichier);
    installe(et, ops);
    et.reseau = reseau;
    et.nb_centrages = nb_centrages;
    ecrit_pour_l_utilisateur(et, "hall.txt", nullptr);
}

void efface_scfs2() {
    std::error_code ec;
    std::filesystem::remove("scfs2.dat", ec);
}

void ajoute_centrages(EspaceTravail& et) {
    Operateurs ops(et.operateurs.begin(), et.operateurs.end());
    const int n = centre(ops, et.reseau, et.systeme, "");
    installe(et, ops);
    et.nb_centrages = n;
}

bool reflexion_permise(const EspaceTravail& et, int h, int k, int l) {
    if (h == 0 && k == 0 && l == 0) return false;
    const Centrage* centrage = centrage_de(et.reseau, et.systeme);
    if (!centrage || !permise_par_centrage(*centrage, h, k, l)) return false;

    // Systematic absence: an operator whose rotation leaves h k l unchanged and
    // whose translation shifts its phase by a non-integer. This is where the
    // structure factor of an atom in a general position vanishes whatever the
    // atom's coordinates; the sum for one chosen point would also vanish by
    // accident on some allowed reflections. No operator at all: nothing allowed.
    if (et.operateurs.vide()) return false;
    const double hkl[3] = {static_cast<double>(h), static_cast<double>(k), static_cast<double>(l)};
    for (const Operateur& op : et.operateurs) {
        bool invariant = true;
        for (std::size_t j = 0; j < 3 && invariant; ++j) {
            const double image = hkl[0] * op[j] + hkl[1] * op[4 + j] + hkl[2] * op[8 + j];
            invariant = std::fabs(image - hkl[j]) < 1e-6;
        }
        if (!invariant) continue;
        const double phase = hkl[0] * op[3] + hkl[1] * op[7] + hkl[2] * op[11];
        // Translations are multiples of 1/24 written with 5 to 10 decimals.
        if (std::fabs(phase - std::round(phase)) > 0.01) return false;
    }
    return true;
}

void ecrit_operateurs(const std::filesystem::path& chemin,
                      const ListeBornee<Operateur, 192>& operateurs) {
    EcrivainTexte f(chemin);
    std::string ligne;
    for (const Operateur& op : operateurs) {
        ligne.clear();
        for (std::size_t r = 0; r < 3; ++r) {
            for (std::size_t j = 0; j < 3; ++j)
                ajoute_pascal_reel(ligne, op[4 * r + j], 4, 0);
            ajoute_pascal_reel(ligne, op[4 * r + 3], 10, 5);
            ligne += " , ";
        }
        f.ligne(ligne);
    }
    f.ferme();
}

} // namespace kovrin
