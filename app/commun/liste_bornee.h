#pragma once
// A list with a fixed capacity and 1-based, checked indices. Capacities are
// behaviour (500 measured peaks, 999 calculated reflections, 500 pairs, 30000
// profile points): going past one is an error, never a silent overflow.
#include "commun/erreur.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kovrin {

template <typename T, std::size_t Capacite> class ListeBornee {
public:
    static constexpr std::size_t capacite = Capacite;

    int taille() const { return static_cast<int>(elements_.size()); }
    bool vide() const { return elements_.empty(); }
    bool pleine() const { return elements_.size() >= Capacite; }

    T& operator[](int i) {
        verifie(i);
        return elements_[static_cast<std::size_t>(i - 1)];
    }
    const T& operator[](int i) const {
        verifie(i);
        return elements_[static_cast<std::size_t>(i - 1)];
    }

    void ajoute(const T& element) {
        if (pleine())
            throw ErreurKovrin("Range check error: more than " + std::to_string(Capacite) +
                               " entries");
        elements_.push_back(element);
    }
    // Removes entry i; the later entries move up by one.
    void retire(int i) {
        verifie(i);
        elements_.erase(elements_.begin() + (i - 1));
    }
    // Keeps the first n entries (n <= taille()).
    void tronque(int n) {
        if (n < 0 || n > taille())
            throw ErreurKovrin("Range check error: " + std::to_string(n));
        elements_.resize(static_cast<std::size_t>(n));
    }
    void efface() { elements_.clear(); }

    auto begin() { return elements_.begin(); }
    auto end() { return elements_.end(); }
    auto begin() const { return elements_.begin(); }
    auto end() const { return elements_.end(); }

private:
    void verifie(int i) const {
        if (i < 1 || i > taille())
            throw ErreurKovrin("Range check error: index " + std::to_string(i) + " outside 1.." +
                               std::to_string(taille()));
    }
    std::vector<T> elements_;
};

} // namespace kovrin
