#include "cristallo/anodes.h"

#include "commun/texte.h"

namespace kovrin {

const Anode* anode_de_nom(std::string_view nom) {
    std::string cle = majuscules(sans_blancs(nom));
    for (const Anode& a : table_anodes)
        if (majuscules(a.nom) == cle) return &a;
    return nullptr;
}

std::string nomme_anode(std::string_view nom, double lambda, double tolerance) {
    std::string court = sans_blancs(nom).substr(0, 2);
    if (anode_connue(court)) return court;
    const Anode* a = anode_de_lambda(lambda, tolerance);
    return a ? std::string(a->nom) : "?";
}

bool anode_connue(std::string_view nom) {
    return !nom.empty() && nom != "?";
}

} // namespace kovrin
