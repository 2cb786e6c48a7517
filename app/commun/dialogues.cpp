#include "commun/dialogues.h"

#include <algorithm>

namespace kovrin {

std::vector<std::string> DialoguesEnregistres::textes() const {
    std::vector<std::string> r;
    for (const auto& e : journal)
        if (e.genre != "bip" && e.genre != "visionneuse")
            r.push_back(e.texte);
    return r;
}

std::vector<std::string> DialoguesEnregistres::erreurs() const {
    std::vector<std::string> r;
    for (const auto& e : journal)
        if (e.genre == "erreur")
            r.push_back(e.texte);
    return r;
}

bool DialoguesEnregistres::a_dit(const std::string& texte) const {
    return std::any_of(journal.begin(), journal.end(),
                       [&](const Entree& e) { return e.texte == texte; });
}

int DialoguesEnregistres::nb_bips() const {
    return static_cast<int>(
        std::count_if(journal.begin(), journal.end(), [](const Entree& e) { return e.genre == "bip"; }));
}

} // namespace kovrin
