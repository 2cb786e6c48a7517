#include "fenetres/capture.h"

#include "fenetres/dialogues_qt.h"
#include "fenetres/fenetre_aide.h"
#include "fenetres/programme.h"
#include "fenetres/tfabout.h"
#include "fenetres/tfexcel.h"
#include "fenetres/tflilambda.h"
#include "fenetres/tform1.h"
#include "fenetres/tform6.h"
#include "fenetres/tform7.h"
#include "interface/commandes.h"
#include "interface/commandes_affinement.h"
#include "interface/commandes_profil.h"
#include "interface/dialogue_lambda.h"
#include "interface/prise_donnees.h"
#include "interface/selection.h"
#include "interface/session_batch.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPixmap>
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
    return fenetre.grab().save(QString::fromStdU16String((c.dossier / nom).u16string()));
}

// The wavelength dialog answered with "Other" and the wavelength typed.
void repond_lambda(Programme& p, const Capture& c) {
    if (!p.lambda.visible) return;
    p.flilambda().hide();
    clicklistbox(p.lambda, element_autre);
    p.lambda.lambda = texte(c.lambda);
    p.commande([&] { return lit_lambda(p.espace, p.principal, p.lambda, p.dialogues()); });
}

void prend_fichiers(Programme& p, const Capture& c) {
    for (const std::filesystem::path& f : dans_l_ordre_des_genres(c.fichiers)) {
        std::vector<std::filesystem::path> un{f};
        if (genre_fichier(f) == GenreFichier::pics)
            p.commande([&] {
                return ouvre_fichier_pics(p.espace, p.principal, p.lambda,
                                          format_pics_par_nom(f.string()), f, p.dialogues());
            });
        else
            p.ouvre_fichiers(un);
        repond_lambda(p, c);
    }
}

// Pairs within the tolerance shown, the shift and the free cell refined.
void affine(Programme& p) {
    Tform1& f = p.form1();
    p.commande([&] { return selection_automatique(p.espace, p.principal, p.dialogues()); });
    f.a_affiner[6]->setChecked(true);
    p.commande([&] { return BitBtn17Click(p.espace, p.principal, false); });
    f.rassemble();
    p.commande([&] { return go_affinement(p.espace, p.principal, p.dialogues()); });
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
        f.onglets->setCurrentIndex(i);
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
    n += enregistre(p.fabout(), c, "apropos.png");
    p.montre_aide(1);
    n += enregistre(p.aide(), c, "aide.png");
    return n;
}

} // namespace kovrin::fenetres
