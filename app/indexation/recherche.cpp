// The exhaustive search by successive dichotomy: the edges are cut into
// boxes of equal ratio (4 %), so that a box spreads each
// term's 1/d^2 over the same relative width whatever the cell's size; a box
// survives when, for the first 20 lines but the impurities allowed, some
// term's range of 1/d^2 over the box meets the line's window (the first 10
// lines are tested first: they prune most boxes over fewer terms); a
// surviving box is halved along every parameter, down to boxes small enough
// for the refinement in Q to take over from their centres.
// The boxes go by shells of primitive volume, smallest first, and end past
// three times the primitive volume of the best solution so far, when it
// convinces: a lattice that a few missing lines let a smaller cell imitate
// is still reached, and larger cells would only be its multiples. The
// lattices of one or two parameters, quickly searched, run ahead of the
// orthorhombic ones by a ratio of volume.
// A cubic, tetragonal or hexagonal solution that leaves no doubt ends the
// search of the lattices it contains. The monoclinic lattices are then
// searched by zones (zones.cpp), before the larger orthorhombic shells (or
// any shell, once the shells have tested some millions of boxes), and
// the triclinic ones last, each only while no solution of higher symmetry
// convinces: from high to low symmetry, as a lower lattice can describe any
// higher one, but the costly searches of the general lattices would only
// find the convincing one again in a lower guise (or a chance fit to its
// impurities). The systems so left out are reported, and can be asked for.
#include "indexation/interne.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <numeric>
#include <thread>

namespace kovrin {

namespace indexation {

namespace {

using Horloge = std::chrono::steady_clock;

// The edges are cut in equal ratios: an edge's share of 1/d^2 then spreads
// over a box by the same relative width whatever its length.
inline constexpr double rapport_arete = 1.04;
inline constexpr int niveaux = 5; // halvings down to 0.016 angstrom, 0.16 degree
// The first halvings test a box over the zero's whole range; the deeper ones,
// in each slice of it in turn (a box that fails over the whole range fails in
// every slice: the first levels prune for all the slices at once).
inline constexpr int niveau_tranches = 2;
// Shells of primitive volume: the first up to 25 angstrom^3, then 25 % more each.
inline constexpr double volume_couche0 = 25, rapport_couches = 1.25;
inline constexpr double m20_convaincant = 20; // of the ranking
inline constexpr double facteur_arret = 3;
inline constexpr int nb_premieres = 10;
// An M(20) past which a cubic, tetragonal or hexagonal solution leaves no
// room for a lower system, its ranking's without the isolated unindexed lines
// (another phase's, as its split lines would lie near the cell's): the
// orthorhombic search stops. A cell of three parameters or more leaves no
// doubt so only when it leaves at most one line out: a monoclinic cell with a
// short axis puts two lines far from those of a false orthorhombic cell that
// fits the rest with an M(20) past 100, and a triclinic one two lines far
// from those of a false monoclinic cell.
inline constexpr double m20_sans_doute = 50;
// A solution convinces the searches by zones when it leaves at most this many
// of the first 20 lines unindexed and its ranking M(20) (over the ranking's
// demand on a cell of more parameters) reaches this. Measured on the
// benchmark's lists (20 per lattice): the best false orthorhombic cell of a
// monoclinic list that leaves one line unindexed reaches 25, where 74 of the
// 78 right orthorhombic cells convince; two unindexed lines convince no one,
// as a false orthorhombic cell of a monoclinic list with a short axis leaves
// two and reaches 43, as high as right cells with two impurities.
inline constexpr int non_indexees_convaincantes = 1;
inline constexpr double m20_convaincant_zones = 30;
// The triclinic search, the costliest, is left out on less: a solution that
// leaves out two of the first 20 lines convinces it when its M(20) without
// the isolated unindexed lines (another phase's), over the ranking's demand,
// reaches this. Measured on one draw of the benchmark's lists: right
// orthorhombic cells with two impurities reach 45 and 46, the best false
// cell of a monoclinic list that leaves two lines out 38; on three draws of
// the triclinic lists, none found first was lost.
inline constexpr int non_indexees_convaincantes_triclinique = 2;
inline constexpr double m20_convaincant_triclinique = 40;
// The orthorhombic shells up to this primitive volume go before the
// monoclinic search by zones: most orthorhombic lists convince there and
// spare it, while a monoclinic list spares the larger shells, which its
// convincing cell bounds (the larger the volume, the more boxes survive).
// Every shell left goes after it too once OptionsIndexation::
// boites_avant_zones boxes have been tested: the lines of a small cell that
// reach high angles let the larger boxes through by the million. Measured
// on two draws of the benchmark's lists: no orthorhombic list tests 4
// million boxes below 1000 A^3, where a monoclinic cell of 35 A^3 with 25
// lines to 88 degrees ran to the time limit (60 million boxes), its search
// by zones finding it in 0.2 s.
inline constexpr double volume_avant_zones = 1000;

bool un_ou_deux_parametres(Reseau r) {
    return rang_symetrie(r) < rang_symetrie(Reseau::oP);
}

// Whether lattice r, of another system than a solution's, would only imitate
// it: of one or two parameters, r's holohedry is part of the solution's; of
// three or more, r ranks below it (their searches are costly, and the
// solution explains the lines).
bool imite(Reseau r, Reseau solution) {
    if (fiche(r).systeme == fiche(solution).systeme) return false;
    return un_ou_deux_parametres(r) ? holoedrie_contient(solution, r)
                                    : rang_symetrie(r) > rang_symetrie(solution);
}

struct Boite {
    int etage;  // 0: one or two parameters, searched first
    int couche; // of volume
    int famille;
    int tranche; // of the zero's range; -1: the whole range
    Aretes bas, haut;
};

// The orthorhombic shells go after the shells of the lattices of one or two
// parameters up to this ratio of volume (nine shells: 7.5 times): those are
// searched quickly to a large volume, and a cell found there bounds the
// orthorhombic search; but a small orthorhombic cell found early bounds
// theirs, whose large shells, dense with terms, let many boxes through when
// the lines reach high angles.
inline constexpr int decalage_orthorhombique = 9;

int ordre_de_passage(const Boite& b) {
    return b.couche + (b.etage > 0 ? decalage_orthorhombique : 0);
}

bool ordonnee(const Famille& f, const Aretes& bas, const Aretes& haut) {
    switch (f.ordre) {
    case Ordre::aucun:
        return true;
    case Ordre::a_b:
        return bas[0] <= haut[1];
    case Ordre::a_b_c:
        return bas[0] <= haut[1] && bas[1] <= haut[2];
    }
    return true;
}

double volume_primitif(const SolutionIndexation& s) {
    return s.volume / multiplicite(fiche(s.reseau).centrage);
}

class Recherche {
  public:
    Recherche(const Raies& raies, const std::vector<Famille>& familles,
              const OptionsIndexation& options, const RappelProgres& progres,
              const std::atomic<bool>* annulation)
        : raies_(raies), familles_(familles), options_(options), progres_(progres),
          annulation_(annulation),
          fin_(Horloge::now() + std::chrono::duration_cast<Horloge::duration>(
                                    std::chrono::duration<double>(options.duree_max))),
          volume_limite_(options.volume_max) {}

    void lance(const std::vector<Boite>& boites, int fils);
    // The primitive volume past which no shell is searched: three times that
    // of the best solution when it convinces.
    double volume_limite() const { return volume_limite_; }
    // Whether a lattice is still worth a search: not one of a lower system
    // than a solution that leaves no doubt (the lower lattice would only
    // imitate it). Of the lattices of one or two parameters, quickly
    // searched, only those whose holohedry that solution's contains are
    // left: a cell that leaves two lines out can look sure in a system that
    // is no higher (a tetragonal cell for a rhombohedral lattice).
    bool cherche_plus_bas(Reseau r) const {
        if (options_.tous_systemes) return true;
        for (const FicheReseau& sur : table_reseaux)
            if (sans_doute_[static_cast<std::size_t>(rang_symetrie(sur.reseau))] &&
                imite(r, sur.reseau))
                return false;
        return true;
    }
    // Whether a solution of a higher system than the lattice r's convinces:
    // r's search by zones is then left out.
    bool convaincue_au_dessus(Reseau r) const {
        const Reseau c = fiche(r).systeme == Systeme::triclinique ? convaincant_triclinique_
                                                                  : reseau_convaincant_;
        return !options_.tous_systemes && fiche(c).systeme != fiche(r).systeme &&
               rang_symetrie(c) < rang_symetrie(r);
    }
    std::vector<SolutionIndexation> solutions() { return std::move(trouvees_); }
    void ajoute(std::vector<SolutionIndexation> autres) { signale(autres); }
    // For the searches outside the boxes: the clock read at each call.
    bool arrete_maintenant() {
        if (Horloge::now() > fin_) temps_ecoule_ = true;
        return arrete();
    }
    long long essais() const { return essais_; }
    bool annulee() const { return annulation_ && *annulation_; }
    bool temps_ecoule() const { return temps_ecoule_; }

  private:
    void travaille(const std::vector<Boite>& boites);
    bool arrete();
    int non_couvertes(const Famille& f, const Boite& b, int n) const;
    void explore(const Boite& b, int niveau, std::vector<SolutionIndexation>& locales);
    void divise(const Boite& b, int niveau, std::vector<SolutionIndexation>& locales);
    void feuille(const Boite& b, int manquantes, std::vector<SolutionIndexation>& locales);
    void signale(std::vector<SolutionIndexation>& locales);

    const Raies& raies_;
    const std::vector<Famille>& familles_;
    const OptionsIndexation& options_;
    const RappelProgres& progres_;
    const std::atomic<bool>* annulation_;
    Horloge::time_point fin_;
    std::atomic<std::size_t> suivante_{0};
    std::atomic<long long> essais_{0};
    std::atomic<bool> temps_ecoule_{false};
    std::mutex verrou_;
    std::vector<SolutionIndexation> trouvees_;
    double meilleur_ = 0;
    double volume_limite_, meilleur_classement_ = 0;
    // By rank of symmetry: a solution of that lattice leaves no doubt.
    std::array<bool, table_reseaux.size()> sans_doute_{};
    Reseau reseau_convaincant_ = Reseau::aP; // the highest that convinces the searches by zones
    Reseau convaincant_triclinique_ = Reseau::aP; // the highest that convinces the triclinic one
    Horloge::time_point dernier_signal_{};
};

bool Recherche::arrete() {
    if (annulation_ && *annulation_) return true;
    if (temps_ecoule_) return true;
    if ((essais_ & 255) == 0 && Horloge::now() > fin_) temps_ecoule_ = true;
    return temps_ecoule_;
}

// The box's bounds of 1/a^2, 1/b^2, 1/c^2 (of the orthogonal axes), so that
// each term's bounds take products alone.
struct Inverses {
    std::array<double, 3> bas{}, haut{}; // from the upper edges, from the lower ones
};

Inverses inverses(const Famille& f, const Boite& b) {
    Inverses v;
    for (int j = 0; j < std::min(f.n, 3); ++j) {
        v.bas[j] = 1 / (b.haut[j] * b.haut[j]);
        v.haut[j] = 1 / (b.bas[j] * b.bas[j]);
    }
    return v;
}

// How many of the first n lines the box cannot index.
int Recherche::non_couvertes(const Famille& f, const Boite& b, int n) const {
    std::array<bool, nb_raies_m20> couvertes{};
    const auto& fenetre = b.tranche < 0 ? raies_.fenetre_entiere
                                        : raies_.fenetres[static_cast<std::size_t>(b.tranche)];
    const double q_max = fenetre[static_cast<std::size_t>(n - 1)].haut;
    const std::size_t nb_termes = f.termes.size();
    const Inverses inv = inverses(f, b);
    // Each part of a term's 1/d^2 is positive: past q_max, the terms that follow
    // with the same first coefficients are larger still.
    const int n_sauts = f.n;
    int nb = 0;
    for (std::size_t i = 0; i < nb_termes;) {
        const Terme& t = f.termes[i];
        const double p0 = t.coef[0] * inv.bas[0];
        if (p0 > q_max) break;
        const double p1 = p0 + t.coef[1] * inv.bas[1];
        if (n_sauts >= 2 && p1 > q_max) {
            i = f.saut0[i];
            continue;
        }
        const double p2 = p1 + t.coef[2] * inv.bas[2];
        if (n_sauts >= 3 && p2 > q_max) {
            i = f.saut1[i];
            continue;
        }
        ++i;
        const Intervalle q{p2, t.coef[0] * inv.haut[0] + t.coef[1] * inv.haut[1] +
                                   t.coef[2] * inv.haut[2]};
        if (q.bas > q_max) continue;
        auto premiere = std::lower_bound(fenetre.begin(), fenetre.begin() + n, q.bas,
                                         [](const Intervalle& r, double v) { return r.haut < v; });
        for (auto it = premiere; it != fenetre.begin() + n && it->bas <= q.haut; ++it) {
            const auto k = static_cast<std::size_t>(it - fenetre.begin());
            if (!couvertes[k]) ++nb;
            couvertes[k] = true;
        }
        if (nb == n) return 0;
    }
    return n - nb;
}

void Recherche::explore(const Boite& b, int niveau, std::vector<SolutionIndexation>& locales) {
    ++essais_;
    if (arrete()) return;
    const Famille& f = familles_[static_cast<std::size_t>(b.famille)];
    // The first lines prune most boxes, over fewer terms.
    const int n_premieres = std::min(raies_.n_test, nb_premieres);
    int manquantes = non_couvertes(f, b, n_premieres);
    if (manquantes > raies_.non_indexees_max) return;
    if (raies_.n_test > n_premieres) manquantes = non_couvertes(f, b, raies_.n_test);
    if (manquantes > raies_.non_indexees_max) return;
    if (b.tranche < 0 && niveau >= niveau_tranches) {
        Boite t = b;
        for (t.tranche = 0; t.tranche < static_cast<int>(raies_.fenetres.size()); ++t.tranche)
            explore(t, niveau, locales);
        return;
    }
    if (niveau == niveaux)
        feuille(b, manquantes, locales);
    else
        divise(b, niveau, locales);
}

void Recherche::divise(const Boite& b, int niveau, std::vector<SolutionIndexation>& locales) {
    const Famille& f = familles_[static_cast<std::size_t>(b.famille)];
    for (int choix = 0; choix < (1 << f.n); ++choix) {
        Boite enfant = b;
        for (int j = 0; j < f.n; ++j) {
            const double milieu = std::sqrt(b.bas[j] * b.haut[j]);
            (choix >> j & 1 ? enfant.bas[j] : enfant.haut[j]) = milieu;
        }
        if (ordonnee(f, enfant.bas, enfant.haut) &&
            volume_min(f, enfant.bas) <= options_.volume_max)
            explore(enfant, niveau + 1, locales);
    }
}

// Neighbouring boxes of one solution converge on it: a box whose cell is
// within a few box widths of a solution refined already adds nothing, unless
// it can index lines that solution leaves out (near a pseudo-symmetry, two
// assignments of the lines lie that close: c ~ 2a in a tetragonal cell).
bool deja_trouvee(const Famille& f, const Parametres& centre, int manquantes,
                  const std::vector<SolutionIndexation>& locales) {
    const Parametres x = x_de_directs(f, centre);
    const auto maille = maille_de_x(f, x);
    if (!maille) return true;
    for (const SolutionIndexation& s : locales) {
        if (s.reseau != f.reseau || s.non_indexees > manquantes) continue;
        bool proche = true;
        for (int j = 0; j < 6 && proche; ++j)
            proche = std::fabs(s.maille[j] - (*maille)[j]) < (j < 3 ? 0.08 : 0.8);
        if (proche) return true;
    }
    return false;
}

void Recherche::feuille(const Boite& b, int manquantes, std::vector<SolutionIndexation>& locales) {
    const Famille& f = familles_[static_cast<std::size_t>(b.famille)];
    Parametres centre{};
    for (int j = 0; j < f.n; ++j)
        centre[j] = (b.bas[j] + b.haut[j]) / 2;
    if (deja_trouvee(f, centre, manquantes, locales)) return;
    auto s = affine_essai(f, raies_, x_de_directs(f, centre), options_);
    if (s && s->volume <= options_.volume_max * 1.01) locales.push_back(std::move(*s));
}

void Recherche::signale(std::vector<SolutionIndexation>& locales) {
    std::lock_guard verrou(verrou_);
    for (const SolutionIndexation& s : locales) {
        meilleur_ = std::max(meilleur_, s.figures.m);
        const double classement = s.m20_classement;
        if (classement >= m20_convaincant && classement > meilleur_classement_) {
            meilleur_classement_ = classement;
            volume_limite_ = facteur_arret * volume_primitif(s);
        }
        if ((un_ou_deux_parametres(s.reseau) || s.non_indexees <= non_indexees_convaincantes) &&
            classement >= m20_convaincant && s.m20_hors_isolees >= m20_sans_doute)
            sans_doute_[static_cast<std::size_t>(rang_symetrie(s.reseau))] = true;
        const bool convainc =
            s.non_indexees <= non_indexees_convaincantes && m20_compare(s) >= m20_convaincant_zones;
        if (convainc && rang_symetrie(s.reseau) < rang_symetrie(reseau_convaincant_))
            reseau_convaincant_ = s.reseau;
        if ((convainc || (s.non_indexees <= non_indexees_convaincantes_triclinique &&
                          s.m20_hors_isolees / exigence(s) >= m20_convaincant_triclinique)) &&
            rang_symetrie(s.reseau) < rang_symetrie(convaincant_triclinique_))
            convaincant_triclinique_ = s.reseau;
        trouvees_.push_back(s);
    }
    const auto maintenant = Horloge::now();
    if (!progres_ || maintenant - dernier_signal_ < std::chrono::milliseconds(100)) return;
    dernier_signal_ = maintenant;
    progres_({essais_, meilleur_});
}

void Recherche::travaille(const std::vector<Boite>& boites) {
    for (std::size_t i = suivante_++; i < boites.size() && !arrete(); i = suivante_++) {
        std::vector<SolutionIndexation> locales;
        Boite b = boites[i];
        b.tranche = raies_.fenetres.size() > 1 ? -1 : 0;
        explore(b, 0, locales);
        signale(locales);
    }
}

void Recherche::lance(const std::vector<Boite>& boites, int fils) {
    suivante_ = 0;
    std::vector<std::thread> travailleurs;
    for (int i = 1; i < fils; ++i)
        travailleurs.emplace_back([&] { travaille(boites); });
    travaille(boites);
    for (std::thread& t : travailleurs)
        t.join();
    if (progres_) progres_({essais_, meilleur_});
}

int couche_de(double volume_primitif) {
    return volume_primitif <= volume_couche0
               ? 0
               : 1 + static_cast<int>(std::log(volume_primitif / volume_couche0) /
                                      std::log(rapport_couches));
}

// The first cut of a family's parameters, within the volume limit.
void boites_de(const Famille& f, int rang, const OptionsIndexation& o, std::vector<Boite>& sortie) {
    const int nb_l =
        static_cast<int>(std::ceil(std::log(o.arete_max / arete_min) / std::log(rapport_arete)));
    std::vector<double> bornes(static_cast<std::size_t>(nb_l) + 1);
    for (std::size_t k = 0; k < bornes.size(); ++k)
        bornes[k] = arete_min * std::pow(rapport_arete, static_cast<double>(k));
    std::array<int, 3> i{};
    while (true) {
        Boite b{f.n <= 2 ? 0 : 1, 0, rang, 0, {}, {}};
        for (int j = 0; j < f.n; ++j) {
            b.bas[j] = bornes[static_cast<std::size_t>(i[j])];
            b.haut[j] = bornes[static_cast<std::size_t>(i[j]) + 1];
        }
        const double v = volume_min(f, b.bas);
        b.couche = couche_de(v / multiplicite(fiche(f.reseau).centrage));
        if (ordonnee(f, b.bas, b.haut) && v <= o.volume_max) sortie.push_back(b);
        int j = 0;
        for (; j < f.n; ++j) {
            if (++i[j] < nb_l) break;
            i[j] = 0;
        }
        if (j == f.n) return;
    }
}

bool cherche_reseau(Reseau r, const OptionsIndexation& o) {
    const Systeme s = fiche(r).systeme;
    const bool rhomboedrique =
        r == Reseau::hR && o.systemes[static_cast<std::size_t>(Systeme::rhomboedrique)];
    return o.systemes[static_cast<std::size_t>(s)] || rhomboedrique;
}

// The boxes in their order of search: by turn (ordre_de_passage), then
// stage, each shell in its order of making. A counting sort: the boxes run
// to hundreds of thousands, and the search cannot be cancelled while they
// are sorted.
void range_par_passage(std::vector<Boite>& boites) {
    const auto cle = [](const Boite& b) {
        return static_cast<std::size_t>(2 * ordre_de_passage(b) + b.etage);
    };
    std::vector<std::size_t> places;
    for (const Boite& b : boites) {
        if (cle(b) + 2 > places.size()) places.resize(cle(b) + 2, 0);
        ++places[cle(b) + 1];
    }
    std::partial_sum(places.begin(), places.end(), places.begin());
    std::vector<Boite> rangees(boites.size());
    for (const Boite& b : boites)
        rangees[places[cle(b)]++] = b;
    boites = std::move(rangees);
}

// The lattices asked for: the families of the dichotomy with their first
// boxes, and the lattices searched by zones, whose families (the triclinic
// one the largest) are made only if their search goes on.
struct Familles {
    std::vector<Famille> dichotomie;
    std::vector<Boite> boites;
    std::vector<Reseau> monocliniques, triclinique;
    double q_max = 0;
};

Familles familles_de(const Raies& raies, const OptionsIndexation& options,
                     const std::atomic<bool>* annulation) {
    Familles f;
    for (const auto& fenetre : raies.fenetres)
        f.q_max = std::max(f.q_max, fenetre.back().haut);
    for (const FicheReseau& r : table_reseaux) {
        if (annulation && *annulation) break;
        if (!cherche_reseau(r.reseau, options)) continue;
        if (r.systeme == Systeme::monoclinique || r.systeme == Systeme::triclinique) {
            (r.systeme == Systeme::monoclinique ? f.monocliniques : f.triclinique)
                .push_back(r.reseau);
            continue;
        }
        auto famille = famille_de(r.reseau, f.q_max, options.arete_max);
        if (!famille) continue;
        f.dichotomie.push_back(std::move(*famille));
        boites_de(f.dichotomie.back(), static_cast<int>(f.dichotomie.size()) - 1, options,
                  f.boites);
    }
    if (!(annulation && *annulation)) range_par_passage(f.boites);
    return f;
}

void marque_omis(Reseau r, std::array<bool, 7>& omis) {
    omis[static_cast<std::size_t>(fiche(r).systeme)] = true;
}

using IterBoite = std::vector<Boite>::const_iterator;

// The boxes by stage and shell of volume, up to the first shell where
// `jusqua` holds (returned): past the volume limit, a shell keeps only the
// lattices of one parameter (the cubic ones: a few boxes, and a cubic cell is
// often imitated by a smaller cell of a lower system that a few missing lines
// let through); the boxes of a lattice below a solution that leaves no doubt
// are left out.
IterBoite cherche_boites(Recherche& recherche, IterBoite debut, IterBoite fin_boites,
                         const std::function<bool(const Boite&)>& jusqua,
                         const std::vector<Famille>& dichotomie, int fils,
                         std::array<bool, 7>& omis) {
    const auto assez = [&](const Boite& b) {
        return volume_couche0 * std::pow(rapport_couches, b.couche - 1) > recherche.volume_limite();
    };
    // Once stopped, each shell left would still start its threads for nothing.
    while (debut != fin_boites && !jusqua(*debut) && !recherche.arrete_maintenant()) {
        auto fin = std::find_if(debut, fin_boites, [&](const Boite& b) {
            return b.etage != debut->etage || b.couche != debut->couche;
        });
        const bool au_dela = assez(*debut);
        std::vector<Boite> couche;
        for (auto b = debut; b != fin; ++b) {
            const Famille& f = dichotomie[static_cast<std::size_t>(b->famille)];
            if (au_dela && f.n > 1) continue;
            if (recherche.cherche_plus_bas(f.reseau))
                couche.push_back(*b);
            else
                marque_omis(f.reseau, omis);
        }
        if (!couche.empty()) recherche.lance(couche, fils);
        debut = fin;
    }
    return debut;
}

// The search by zones of the lattices given (the first one's system),
// unless a solution of higher symmetry convinces, or leaves no doubt as the
// dichotomy's boxes do (a cubic, tetragonal or hexagonal cell whose M(20)
// without its isolated unindexed lines reaches 50, however many lines it
// leaves out, or a cell of more parameters that leaves at most one out).
void cherche_zones(Recherche& recherche, const Raies& raies, const std::vector<Reseau>& reseaux,
                   double q_max, const OptionsIndexation& options, int fils,
                   std::array<bool, 7>& omis) {
    if (reseaux.empty() || recherche.arrete_maintenant()) return;
    if (recherche.convaincue_au_dessus(reseaux.front()) ||
        !recherche.cherche_plus_bas(reseaux.front())) {
        marque_omis(reseaux.front(), omis);
        return;
    }
    std::vector<Famille> familles;
    for (Reseau r : reseaux)
        if (auto f = famille_de(r, q_max, options.arete_max)) familles.push_back(std::move(*f));
    recherche.ajoute(cherche_par_zones(raies, familles, options, fils,
                                       [&] { return recherche.arrete_maintenant(); }));
}

} // namespace

} // namespace indexation

ResultatIndexation indexe(const std::vector<double>& deux_theta, double lambda,
                          const OptionsIndexation& options, const RappelProgres& progres,
                          const std::atomic<bool>* annulation) {
    using namespace indexation;
    ResultatIndexation resultat;
    if (deux_theta.size() < 3 || !(lambda > 0)) return resultat;
    const Raies raies = prepare_raies(deux_theta, lambda, options);
    const Familles f = familles_de(raies, options, annulation);
    const int fils = options.fils > 0
                         ? options.fils
                         : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    Recherche recherche(raies, f.dichotomie, options, progres, annulation);
    auto& omis = resultat.systemes_omis;
    const auto avant_zones = [&](const Boite& b) {
        return (b.etage > 0 && b.couche > couche_de(volume_avant_zones)) ||
               recherche.essais() >= options.boites_avant_zones;
    };
    const auto apres = cherche_boites(recherche, f.boites.begin(), f.boites.end(), avant_zones,
                                      f.dichotomie, fils, omis);
    cherche_zones(recherche, raies, f.monocliniques, f.q_max, options, fils, omis);
    cherche_boites(
        recherche, apres, f.boites.end(), [](const Boite&) { return false; }, f.dichotomie, fils,
        omis);
    // The triclinic search refines the monoclinic cells of its lattices too.
    std::vector<Reseau> generales = f.triclinique;
    if (!generales.empty())
        generales.insert(generales.end(), f.monocliniques.begin(), f.monocliniques.end());
    cherche_zones(recherche, raies, generales, f.q_max, options, fils, omis);
    resultat.solutions =
        classe(recherche.solutions(), options, raies.lambda, raies.deux_theta.back());
    resultat.essais = recherche.essais();
    resultat.annulee = recherche.annulee();
    resultat.temps_ecoule = recherche.temps_ecoule();
    return resultat;
}

} // namespace kovrin
