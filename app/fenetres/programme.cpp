#include "fenetres/programme.h"

#include "commun/donnees.h"
#include "fenetres/dialogue_indexation.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/fenetre_aide.h"
#include "fenetres/fenetre_residus.h"
#include "fenetres/fichiers_recents.h"
#include "fenetres/tfabout.h"
#include "fenetres/tfexcel.h"
#include "fenetres/tflilambda.h"
#include "fenetres/tform1.h"
#include "fenetres/tform6.h"
#include "fenetres/tform7.h"
#include "fenetres/visionneuse.h"
#include "interface/commandes.h"
#include "interface/commandes_maille.h"
#include "interface/prise_donnees.h"
#include "interface/projet.h"
#include "interface/session_batch.h"

namespace kovrin::fenetres {

Programme::Programme(const std::filesystem::path& repertoire, Dialogues* dialogues,
                     ChoixFichier* choix)
    : dialogues_qt_(std::make_unique<DialoguesQt>([this](const auto& f) { montre_fichier(f); })),
      choix_qt_(std::make_unique<ChoixFichierQt>()),
      dialogues_(dialogues ? dialogues : dialogues_qt_.get()),
      choix_(choix ? choix : choix_qt_.get()),
      choix_retenu_(std::make_unique<ChoixRetenu>(*choix_)) {
    form1_ = std::make_unique<Tform1>(*this);
    form6_ = std::make_unique<Tform6>(*this);
    fabout_ = std::make_unique<Tfabout>();
    form7_ = std::make_unique<TForm7>(*this);
    flilambda_ = std::make_unique<Tflilambda>(*this);
    fexcel_ = std::make_unique<Tfexcel>(*this);
    commande([&] { return demarre_programme(espace, principal, repertoire); });
    historique_.repart(espace, principal);
}

void Programme::annule() {
    const Rafraichissement r = historique_.annule(espace, principal);
    sauve_si_change(r);
    montre(r);
}

void Programme::sauve_si_change(const Rafraichissement& r) {
    if (sauvegarde_auto_ && !r.echec && change_donnees(r))
        sauvegarde_auto_->ecrit(espace, principal);
}

void Programme::sauve_automatiquement(const std::filesystem::path& dossier) {
    const std::vector<std::filesystem::path> abandonnees = sauvegardes_abandonnees(dossier);
    if (!abandonnees.empty())
        commande([&] {
            return restaure_sauvegarde(espace, principal, abandonnees.front(), dialogues());
        });
    sauvegarde_auto_ = std::make_unique<SauvegardeAuto>(dossier);
    if (historique_.non_sauve()) sauvegarde_auto_->ecrit(espace, principal);
}

bool Programme::abandon_accepte(const std::string& question) {
    return !historique_.non_sauve() || dialogues().confirmation(question) == Reponse::oui;
}

void Programme::refait() {
    const Rafraichissement r = historique_.refait(espace, principal);
    sauve_si_change(r);
    montre(r);
}

Programme::~Programme() = default;

void Programme::montre(const Rafraichissement& r) {
    form1_->montre(r);
    form6_->montre(r);
    form7_->montre(r);
    if (r.montre_diagramme && !form6_->isVisible()) form6_->show();
    if (r.montre_fenetre_profil) {
        form7_->show();
        form7_->raise(); // in front, also when it was left open behind another window
        form7_->activateWindow();
    }
    if (r.montre_dialogue_lambda) flilambda_->ouvre();
    if (residus_ && r.a_change_un({Change::resultats, Change::paires})) residus_->redessine();
    // The transfer window shows the current results, also when it stayed open.
    const bool export_a_jour =
        fexcel_->isVisible() &&
        (r.montre_export || (r.a_change(Change::resultats) && espace.affinement_ok));
    if (export_a_jour) fexcel_->initialise();
    if (r.montre_export) fexcel_->show();
    if (r.fin_programme) {
        fin_forcee_ = true;
        form1_->close();
    }
}

void Programme::ouvre_profil(int format) {
    commande([&] { return kovrin::ouvre_profil(espace, lambda, choix(), format, dialogues()); });
}

void Programme::ouvre() {
    const std::filesystem::path f = choix_->ouvrir(filtre_ouverture(), 1);
    if (!f.empty()) ouvre_fichiers({f});
}

void Programme::ouvre_fichiers(const std::vector<std::filesystem::path>& fichiers) {
    for (const std::filesystem::path& f : dans_l_ordre_des_genres(fichiers)) {
        retient_fichier_recent(f);
        switch (genre_fichier(f)) {
        case GenreFichier::pics:
            commande([&] {
                return ouvre_fichier_pics(espace, principal, lambda,
                                          format_pics_par_nom(f.string()), f, dialogues());
            });
            break;
        case GenreFichier::profil:
            commande([&] { return prend_fichier_profil(espace, lambda, 0, f, dialogues()); });
            break;
        case GenreFichier::maille:
            commande([&] { return prend_fichier_maille(espace, principal, f, dialogues()); });
            break;
        case GenreFichier::projet:
            if (abandon_accepte(question_abandon))
                commande([&] { return prend_projet(espace, principal, f, dialogues()); });
            break;
        }
        // The next file waits for the wavelength this one asked for.
        if (lambda.visible && flilambda_->isVisible()) flilambda_->exec();
    }
}

void Programme::montre_fichier(const std::filesystem::path& fichier) {
    for (const auto& v : visionneuses_)
        if (v->fichier() == fichier) {
            v->recharge();
            v->show();
            v->raise();
            return;
        }
    visionneuses_.push_back(std::make_unique<Visionneuse>(fichier));
    visionneuses_.back()->show();
}

FenetreAide& Programme::aide() {
    if (!aide_) aide_ = std::make_unique<FenetreAide>(chemin_donnees(espace.repertoire, "aide"));
    return *aide_;
}

DialogueIndexation& Programme::indexation() {
    if (!indexation_) indexation_ = std::make_unique<DialogueIndexation>(*this);
    return *indexation_;
}

FenetreResidus& Programme::residus() {
    if (!residus_) residus_ = std::make_unique<FenetreResidus>(*this);
    return *residus_;
}

void Programme::montre_residus() {
    residus().redessine();
    residus_->show();
    residus_->raise();
}

void Programme::montre_aide(int contexte) {
    aide().montre_contexte(contexte);
}

} // namespace kovrin::fenetres
