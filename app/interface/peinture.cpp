#include "interface/peinture.h"

namespace kovrin {

namespace {

constexpr Couleur argent{0xC0, 0xC0, 0xC0};
constexpr Couleur rose_selection{0xFF, 0xCC, 0xEE};

PeintureLigne selection(bool courante) {
    return courante ? PeintureLigne{rouge, blanc, false} : PeintureLigne{argent, noir, false};
}

} // namespace

PeintureLigne peinture_ligne(const EtatPrincipal& ep, GrillePeinte grille, int ligne) {
    switch (grille) {
    case GrillePeinte::mesures_selection:
        return selection(ligne == ep.ligne_mes_courante);
    case GrillePeinte::calculees_selection:
        return selection(ligne == ep.ligne_calc_courante);
    case GrillePeinte::affinement:
        if (ligne == ep.ligne_pic_courante) return {rose_selection, noir, true};
        return {};
    case GrillePeinte::ordinaire:
        break;
    }
    return {};
}

Couleur couleur_onglet(int onglet) {
    constexpr Couleur couleurs[] = {argent, {0xB2, 0xE0, 0xFF}, {0xFF, 0xEE, 0xFF}, {0xAC, 0xFF, 0xFF}};
    return onglet >= 1 && onglet <= 4 ? couleurs[onglet - 1] : argent;
}

} // namespace kovrin
