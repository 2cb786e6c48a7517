#include "interface/travail.h"

#include "affinement/affinement.h"
#include "interface/commandes_affinement.h"
#include "interface/commandes_maille.h"
#include "interface/projet.h"

namespace kovrin {

namespace {

Rafraichissement prend_pics(EspaceTravail& et, EtatPrincipal& ep,
                            const std::filesystem::path& fichier, int format,
                            const std::optional<LongueursOnde>& source, Dialogues& d) {
    if (format == 0) format = format_pics_par_nom(fichier.string());
    if (!format_porte_lambda(format) && !source) return refus(d, message_sans_lambda(fichier));
    return prend_fichier_pics(et, ep, format, fichier, source, d);
}

} // namespace

Rafraichissement prend_fichier(EspaceTravail& et, EtatPrincipal& ep,
                               const std::filesystem::path& fichier, GenreFichier genre, int format,
                               const std::optional<LongueursOnde>& source, Dialogues& d) {
    switch (genre) {
    case GenreFichier::pics:
        return prend_pics(et, ep, fichier, format, source, d);
    case GenreFichier::profil:
        // A name no format claims goes to xylib, which recognises files by their content.
        return prend_profil_source(et, profil_xylib, fichier, source, d);
    case GenreFichier::projet:
        return prend_projet(et, ep, fichier, d);
    case GenreFichier::maille:
        break;
    }
    return prend_fichier_maille(et, ep, fichier, d);
}

MarquesAffinement marques_usuelles(const EtatPrincipal& ep) {
    MarquesAffinement m = marques_affinement(ep.maille);
    m[rang_decalage] = true;
    return m;
}

Rafraichissement affine_paires(EspaceTravail& et, EtatPrincipal& ep,
                               const MarquesAffinement& marques, bool excentricite,
                               std::optional<double> lambda_initial, Dialogues& d) {
    Rafraichissement r = BitBtn17Click(et, ep, excentricite);
    coche_marques(ep.maille, marques);
    r.marque({Change::maille}); // the marks ticked
    affiche_initial(et, ep.affinement);
    if (lambda_initial) ep.affinement.lambda_initial = Saisie::de_valeur(*lambda_initial);
    r.ajoute(go_affinement(et, ep, d));
    return r;
}

} // namespace kovrin
