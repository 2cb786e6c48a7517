#include "interface/commandes_fichiers.h"

#include "fichiers/rapports.h"
#include "interface/session_batch.h"

namespace kovrin {

namespace {

Rafraichissement resultat(bool montre) {
    return montre ? Rafraichissement{} : echoue();
}

} // namespace

Rafraichissement sauve(EspaceTravail& et, Sauvegarde s, ChoixFichier& choix, Dialogues& d,
                       bool fenetre_profil) {
    if (!sauvegarde_possible(et, s, d)) return echoue();
    const auto& filtre = fenetre_profil ? filtre_sauvegarde_profil : filtre_sauvegarde_principale;
    const std::filesystem::path nom = choix.enregistrer(filtre, index_filtre(s));
    if (nom.empty()) return {};
    Rafraichissement r;
    r.echec = !sauvegarde(et, s, nom.string(), d);
    r.ecrit = !r.echec;
    return r;
}

Rafraichissement edit_fichier_dif(const EspaceTravail& et, Dialogues& d) {
    return resultat(rapport_pics(et, d));
}

Rafraichissement edit_raies_calculees(const EspaceTravail& et, Dialogues& d) {
    return resultat(rapport_raies(et, d));
}

Rafraichissement edit_raw(const EspaceTravail& et, Dialogues& d) {
    return resultat(rapport_profil(et, d));
}

Rafraichissement change_repertoire_travail(EspaceTravail& et, ChoixFichier& choix, Dialogues& d) {
    const std::filesystem::path nouveau = choix.dossier(et.repertoire);
    if (nouveau.empty() || nouveau == et.repertoire) return {};
    if (!std::filesystem::is_directory(nouveau) || !repertoire_inscriptible(nouveau))
        return refus(d, nouveau.string() + ": the results cannot be written in this folder");
    travaille_dans(et, nouveau);
    return {Change::vues};
}

} // namespace kovrin
