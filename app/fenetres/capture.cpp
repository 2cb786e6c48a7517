#include "fenetres/capture.h"

#include "fenetres/dialogue_indexation.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/fenetre_aide.h"
#include "fenetres/fenetre_residus.h"
#include "fenetres/programme.h"
#include "fenetres/tfabout.h"
#include "fenetres/tfexcel.h"
#include "fenetres/tflilambda.h"
#include "fenetres/tform1.h"
#include "fenetres/tform6.h"
#include "fenetres/tform7.h"
#include "interface/commandes.h"
#include "interface/commandes_affinement.h"
#include "interface/commandes_indexation.h"
#include "interface/commandes_profil.h"
#include "interface/dialogue_lambda.h"
#include "interface/prise_donnees.h"
#include "interface/selection.h"
#include "interface/session_batch.h"
#include "interface/travail.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>

namespace kovrin::fenetres {

namespace {

void attend_affichage() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool enregistre(QWidget& fenetre, const Capture& c, const char* nom) {
    fenetre.show();
    attend_affichage();
    return fenetre.grab().save(qs_chemin(c.dossier / nom));
}

// The files taken in by their kinds, the wavelength given as "Other" in the
// dialog for those that carry none.
void prend_fichiers(Programme& p, const Capture& c) {
    const LongueursOnde source = longueurs_onde_source(element_autre, c.lambda);
    for (const std::filesystem::path& f : dans_l_ordre_des_genres(c.fichiers))
        p.commande([&] {
            return prend_fichier(p.espace, p.principal, f, genre_fichier(f), 0, source,
                                 p.dialogues());
        });
}

// Pairs within the tolerance shown, the shift and the free cell refined.
void affine(Programme& p) {
    p.commande([&] { return selection_automatique(p.espace, p.principal, p.dialogues()); });
    p.commande([&] {
        return affine_paires(p.espace, p.principal, marques_usuelles(p.principal), false,
                             std::nullopt, p.dialogues());
    });
}

// The indexing dialog after a search of the cubic and tetragonal lattices
// (the others would only add rows to the picture, and time).
int capture_indexation(Programme& p, const Capture& c) {
    if (refus_indexation(p.espace)) return 0; // no lines to index
    DialogueIndexation& d = p.indexation();
    d.ouvre();
    for (int i = 2; i < 7; ++i)
        d.findChild<QCheckBox*>(QStringLiteral("systeme_%1").arg(i))->setChecked(false);
    d.findChild<QPushButton*>(QStringLiteral("cherche_indexation"))->click();
    while (d.en_cours())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const int n = enregistre(d, c, "indexation.png");
    d.hide();
    return n;
}

} // namespace

int capture_fenetres(Programme& p, const Capture& c) {
    std::filesystem::create_directories(c.dossier);
    Tform1& f = p.form1();
    p.form6().show();
    f.show();
    attend_affichage();
    prend_fichiers(p, c);
    if (!p.espace.mesures.vide() && !p.espace.calculees.vide()) affine(p);
    int n = 0;
    const char* onglets[] = {"principale-1.png", "principale-2.png", "principale-3.png",
                             "principale-4.png"};
    for (int i = 0; i < 4; ++i) {
        f.montre_onglet(i);
        n += enregistre(f, c, onglets[i]);
    }
    n += enregistre(p.form6(), c, "diagramme.png");
    p.commande([&] { return pointe_raies_diag(p.principal); });
    n += enregistre(p.form7(), c, "profil.png");
    p.form7().hide();
    montre_dialogue_lambda(p.lambda, lambda_pics);
    clicklistbox(p.lambda, 1);
    p.flilambda().montre_etat();
    n += enregistre(p.flilambda(), c, "longueur-onde.png");
    p.flilambda().hide();
    p.lambda.visible = false;
    if (p.espace.affinement_ok) n += enregistre(p.fexcel(), c, "export.png");
    if (p.espace.affinement_ok) {
        n += enregistre(p.residus(), c, "residus.png");
        p.residus().hide();
    }
    n += capture_indexation(p, c);
    n += enregistre(p.fabout(), c, "apropos.png");
    p.montre_aide(1);
    n += enregistre(p.aide(), c, "aide.png");
    return n;
}

} // namespace kovrin::fenetres
