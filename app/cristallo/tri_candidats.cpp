// The order of the exchange sort of the candidates, found in O(n log n).
//
// At step i the exchange sort carries the value at place i forward: each later
// value strictly larger than the one carried is swapped with it. Seen from the
// members of one group of equal spacings v:
//  - smaller spacings never change the order of the spacings >= v among
//    themselves, so only the subsequence of the spacings >= v counts;
//  - in it, a member moves only when it stands at the place of the step, and
//    then goes to the place of the first larger spacing after it.
// With K larger spacings, the first K steps of the subsequence are the only
// ones that move members. The members met there form a queue: each joins it at
// the back, and each larger spacing passed while it is not empty sends its
// head to the back. After step K the queue fills, in order, the places of the
// larger spacings left, between the members that were never reached.
#include "cristallo/raies.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace kovrin {

namespace {

// Counts over places 0 ... n-1: the sum before a place and the place of the
// k-th count, each in O(log n).
class Fenwick {
  public:
    explicit Fenwick(std::size_t n) : arbre_(n + 1, 0) {}
    void ajoute(std::size_t place, int n) {
        for (std::size_t i = place + 1; i < arbre_.size(); i += i & -i)
            arbre_[i] += n;
    }
    int avant(std::size_t place) const {
        int somme = 0;
        for (std::size_t i = place; i > 0; i -= i & -i)
            somme += arbre_[i];
        return somme;
    }
    // Counts of 0 or 1: the place of the one of rank k, from 0.
    std::size_t kieme(int k) const {
        std::size_t i = 0;
        for (std::size_t pas = std::bit_floor(arbre_.size()); pas > 0; pas >>= 1)
            if (i + pas < arbre_.size() && arbre_[i + pas] <= k) {
                i += pas;
                k -= arbre_[i];
            }
        return i;
    }

  private:
    std::vector<int> arbre_;
};

// The sequence left by inserting j at index insertion[j] of the sequence built
// so far, j = 0, 1, ...: from the last, each takes the insertion[j]-th place
// still free.
std::vector<int> sequence_des_insertions(const std::vector<int>& insertion) {
    const std::size_t n = insertion.size();
    Fenwick libres(n);
    for (std::size_t p = 0; p < n; ++p)
        libres.ajoute(p, 1);
    std::vector<int> sequence(n);
    for (std::size_t j = n; j-- > 0;) {
        const std::size_t p = libres.kieme(insertion[j]);
        sequence[p] = static_cast<int>(j);
        libres.ajoute(p, -1);
    }
    return sequence;
}

// The queue of the first q members after the steps: a cycle with a head, into
// which a member joining at the back goes just before the head, and which a
// larger spacing passed turns by one. avant[j]: larger spacings before member
// j; passes: those before place K.
std::vector<int> file_des_portes(const std::vector<int>& avant, int q, int passes) {
    std::vector<int> insertion(static_cast<std::size_t>(q));
    int tete = 0, deja = 0;
    for (int j = 0; j < q; ++j) {
        const int a = avant[static_cast<std::size_t>(j)];
        if (j > 0) tete = (tete + a - deja) % j;
        deja = a;
        insertion[static_cast<std::size_t>(j)] = tete;
        tete = (tete + 1) % (j + 1);
    }
    if (q > 0) tete = (tete + passes - deja) % q;
    const std::vector<int> cycle = sequence_des_insertions(insertion);
    std::vector<int> file(cycle.size());
    std::rotate_copy(cycle.begin(), cycle.begin() + tete, cycle.end(), file.begin());
    return file;
}

// Order among the members of a group (numbered in enumeration order), from
// avant[j], the larger spacings enumerated before member j, and their total.
std::vector<int> ordre_du_groupe(const std::vector<int>& avant, int plus_grands) {
    const int k = static_cast<int>(avant.size());
    int q = 0; // members among the first plus_grands places of the subsequence
    while (q < k && avant[static_cast<std::size_t>(q)] + q < plus_grands)
        ++q;
    const int passes = plus_grands - q;
    const std::vector<int> file = file_des_portes(avant, q, passes);
    std::vector<int> ordre;
    ordre.reserve(avant.size());
    auto suivant = file.begin();
    for (int j = q; j < k; ++j) {
        while (suivant - file.begin() < avant[static_cast<std::size_t>(j)] - passes)
            ordre.push_back(*suivant++);
        ordre.push_back(j);
    }
    ordre.insert(ordre.end(), suivant, file.end());
    return ordre;
}

// Sorts in place candidates that all have a comparable spacing.
class TriParGroupes {
  public:
    explicit TriParGroupes(std::vector<Candidat>& c) : c_(c), enumeres_(c.size()) {
        cles_.reserve(c.size());
        for (std::size_t i = 0; i < c.size(); ++i)
            cles_.push_back({c[i].d + 0.0, static_cast<std::uint32_t>(i)}); // -0 is 0
        // Decreasing spacings; within a group, enumeration order.
        std::sort(cles_.begin(), cles_.end(), [](const Cle& a, const Cle& b) {
            return a.d > b.d || (a.d == b.d && a.place < b.place);
        });
    }

    void trie() {
        for (std::size_t debut = 0, fin = 0; debut < cles_.size(); debut = fin) {
            fin = debut + 1;
            while (fin < cles_.size() && cles_[fin].d == cles_[debut].d)
                ++fin;
            ordonne_groupe(debut, fin);
        }
        permute();
    }

  private:
    struct Cle {
        double d;
        std::uint32_t place; // in enumeration order
    };
    static constexpr std::uint32_t deja_place = UINT32_MAX;

    // The group cles_[debut, fin), after the debut larger spacings.
    void ordonne_groupe(std::size_t debut, std::size_t fin) {
        if (fin - debut > 1) {
            avant_.clear();
            groupe_.assign(cles_.begin() + static_cast<std::ptrdiff_t>(debut),
                           cles_.begin() + static_cast<std::ptrdiff_t>(fin));
            for (const Cle& membre : groupe_)
                avant_.push_back(enumeres_.avant(membre.place));
            const std::vector<int> ordre = ordre_du_groupe(avant_, static_cast<int>(debut));
            for (std::size_t i = 0; i < ordre.size(); ++i)
                cles_[debut + i] = groupe_[static_cast<std::size_t>(ordre[i])];
        }
        for (std::size_t i = debut; i < fin; ++i)
            enumeres_.ajoute(cles_[i].place, 1);
    }

    // Place i receives the candidate at cles_[i].place, cycle by cycle.
    void permute() {
        for (std::size_t i = 0; i < cles_.size(); ++i) {
            if (cles_[i].place == deja_place) continue;
            const Candidat premier = c_[i];
            std::size_t j = i;
            for (std::size_t source = cles_[j].place; source != i; source = cles_[j].place) {
                c_[j] = c_[source];
                cles_[j].place = deja_place;
                j = source;
            }
            c_[j] = premier;
            cles_[j].place = deja_place;
        }
    }

    std::vector<Candidat>& c_;
    std::vector<Cle> cles_;
    Fenwick enumeres_; // places of the larger spacings already sorted
    std::vector<int> avant_;
    std::vector<Cle> groupe_;
};

} // namespace

void trie_candidats(std::vector<Candidat>& c) {
    auto nan = [](const Candidat& x) { return std::isnan(x.d); };
    if (std::none_of(c.begin(), c.end(), nan)) {
        TriParGroupes(c).trie();
        return;
    }
    // A NaN compares with nothing: the exchange sort never moves it, and sorts
    // the other candidates around it as if it were not there.
    std::vector<Candidat> comparables;
    std::remove_copy_if(c.begin(), c.end(), std::back_inserter(comparables), nan);
    TriParGroupes(comparables).trie();
    auto suivant = comparables.begin();
    for (Candidat& x : c)
        if (!nan(x)) x = *suivant++;
}

} // namespace kovrin
