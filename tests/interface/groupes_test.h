#pragma once
// Choosing a crystal system and a space group on the cell tab, as the window
// does: the click in the list "System", then the click on a symbol.
#include "commun/texte.h"
#include "cristallo/onglet_maille.h"
#include "commun/espace_travail.h"

#include <gtest/gtest.h>

namespace kovrin::test {

inline void choisit_groupe(EspaceTravail& et, OngletMaille& onglet, int ligne_systeme,
                           const std::string& symbole) {
    onglet.systeme_choisi = ligne_systeme;
    change_systeme(et, onglet, ligne_systeme);
    const auto& entrees = et.liste_hm.entrees;
    for (std::size_t i = 0; i < entrees.size(); ++i)
        if (sans_blancs(entrees[i]) == symbole) {
            et.liste_hm.selection = static_cast<int>(i);
            et.groupe = majuscules(symbole);
            et.origine_groupe = "HM";
            return;
        }
    FAIL() << symbole << " is not offered";
}

} // namespace kovrin::test
