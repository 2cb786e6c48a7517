#include "fenetres/dossiers.h"

#include "fenetres/dialogues_qt.h"
#include "fenetres/programme.h"
#include "interface/commandes_fichiers.h"
#include "interface/ligne_etat.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>

namespace kovrin::fenetres {

namespace {

const QString cle_repertoire = QStringLiteral("repertoire_propre");

} // namespace

std::filesystem::path dossier_sauvegardes_auto() {
    return chemin(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                  QStringLiteral("/kovrin"));
}

std::filesystem::path repertoire_propre() {
    const QString choisi = QSettings().value(cle_repertoire).toString();
    return choisi.isEmpty() ? dossier_sauvegardes_auto() : chemin(choisi);
}

void ajoute_menu_options(QMainWindow& fenetre, Programme& p) {
    QMenu* options = fenetre.menuBar()->addMenu(QStringLiteral("&Options"));
    QObject::connect(
        options->addAction(QStringLiteral("Working folder...")), &QAction::triggered, &fenetre,
        [&fenetre, &p] {
            const std::filesystem::path avant = p.espace.repertoire;
            p.commande(
                [&] { return change_repertoire_travail(p.espace, p.choix(), p.dialogues()); });
            if (p.espace.repertoire == avant) return;
            QSettings().setValue(cle_repertoire, qs_chemin(p.espace.repertoire));
            fenetre.statusBar()->showMessage(qs(ligne_repertoire(p.espace.repertoire)));
        });
}

} // namespace kovrin::fenetres
