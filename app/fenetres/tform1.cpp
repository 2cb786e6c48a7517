#include "fenetres/tform1.h"

#include "fenetres/controles.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/dossiers.h"
#include "fenetres/fichiers_recents.h"
#include "fenetres/page_affinement.h"
#include "fenetres/page_maille.h"
#include "fenetres/page_mesures.h"
#include "fenetres/page_selection.h"
#include "fenetres/panneau_valeurs.h"
#include "fenetres/programme.h"
#include "fenetres/tfabout.h"
#include "interface/commandes.h"
#include "interface/commandes_affinement.h"
#include "interface/commandes_fichiers.h"
#include "interface/commandes_maille.h"
#include "interface/commandes_profil.h"
#include "interface/ligne_etat.h"
#include "interface/peinture.h"
#include "interface/prise_donnees.h"
#include "interface/projet.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kovrin::fenetres {

Tform1::Tform1(Programme& programme) : p_(programme) {
    setWindowTitle(QStringLiteral("KOVRIN V2 ( 17 May 2001)"));
    setAcceptDrops(true);
    construit_menus();
    auto* central = new QWidget(this);
    auto* rangee = new QHBoxLayout(central);
    cadre_onglets = new QFrame(central);
    cadre_onglets->setAutoFillBackground(true);
    auto* dans_cadre = new QVBoxLayout(cadre_onglets);
    onglets = nomme(new QTabWidget(cadre_onglets), "onglets");
    mesures_ = new PageMesures(p_, actions_);
    maille_ = new PageMaille(p_, actions_);
    selection_ = new PageSelection(p_);
    affinement_ = new PageAffinement(p_, actions_, *this);
    onglets->addTab(mesures_, QStringLiteral("Measured reflections"));
    onglets->addTab(maille_, QStringLiteral("Initial cell parameters"));
    onglets->addTab(selection_, QStringLiteral("Selection of the reflections"));
    onglets->addTab(affinement_, QStringLiteral("Cell refinement"));
    dans_cadre->addWidget(onglets);
    rangee->addWidget(cadre_onglets, 1);
    valeurs_ = new PanneauValeurs(p_);
    rangee->addWidget(valeurs_);
    setCentralWidget(central);
    connect(onglets, &QTabWidget::currentChanged, this, [this](int onglet) {
        p_.principal.onglet = onglet;
        change_onglet();
    });
    change_onglet();
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] {
        for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
            if (w->property("contexte_aide").isValid())
                return p_.montre_aide(w->property("contexte_aide").toInt());
        p_.montre_aide(1);
    });
    // Tall enough for the tables, leaving room below for the diagram window.
    resize(1260, std::clamp(screen()->availableGeometry().height() - 330, 455, 600));
    placee_ = retient_geometrie(*this, QStringLiteral("fenetres/principale"));
    if (!placee_) move(0, 0);
}

// The children are deleted after this window's own members: nothing they
// signal on their way out may reach it any more.
Tform1::~Tform1() {
    for (QObject* enfant : findChildren<QObject*>())
        enfant->blockSignals(true);
}

// An action that runs one command.
template <typename Commande> QAction* Tform1::action(const QString& texte, Commande commande) {
    auto* a = new QAction(texte, this);
    connect(a, &QAction::triggered, this, [this, commande] { p_.commande(commande); });
    return a;
}

void Tform1::construit_menus() {
    QMenu* fichier = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* ouvre = fichier->addAction(QStringLiteral("Open\u2026"));
    ouvre->setShortcut(QKeySequence::Open);
    connect(ouvre, &QAction::triggered, this, [this] { p_.ouvre(); });
    construit_menu_recents(*fichier);
    connect(fichier->addAction(QStringLiteral("Open project\u2026")), &QAction::triggered, this,
            [this] {
                if (p_.abandon_accepte(Programme::question_abandon))
                    p_.commande([this] {
                        return ouvre_projet(p_.espace, p_.principal, p_.choix(), p_.dialogues());
                    });
            });
    connect(fichier->addAction(QStringLiteral("Save project\u2026")), &QAction::triggered, this,
            [this] {
                p_.commande([this] {
                    return sauve_projet(p_.espace, p_.principal, p_.choix(), p_.dialogues());
                });
            });
    fichier->addSeparator();
    construit_menu_ouvrir(*fichier);
    construit_menu_sauver(*fichier);
    actions_.resultats = action(QStringLiteral("Print results"),
                                [this] { return Impression_resultats(p_.espace, p_.dialogues()); });
    fichier->addAction(actions_.resultats);
    QMenu* editer = fichier->addMenu(QStringLiteral("&Edit"));
    editer->addAction(action(QStringLiteral("Measured peaks"),
                             [this] { return edit_fichier_dif(p_.espace, p_.dialogues()); }));
    editer->addAction(action(QStringLiteral("Calculated Peaks"),
                             [this] { return edit_raies_calculees(p_.espace, p_.dialogues()); }));
    editer->addAction(action(QStringLiteral("Raw diagram "),
                             [this] { return edit_raw(p_.espace, p_.dialogues()); }));
    // The same command as "Print results", under the caption of this menu.
    connect(editer->addAction(QStringLiteral("Results")), &QAction::triggered, actions_.resultats,
            &QAction::trigger);
    fichier->addSeparator();
    auto* quitte = new QAction(QStringLiteral("Exit"), this);
    connect(quitte, &QAction::triggered, this, &QWidget::close);
    fichier->addAction(quitte);
    construit_menu_editer();
    construit_menu_effacer();
    ajoute_menu_options(*this, p_);
    connect(menuBar()->addAction(QStringLiteral("About")), &QAction::triggered, this,
            [this] { p_.fabout().show(); });
    connect(menuBar()->addAction(QStringLiteral("Help")), &QAction::triggered, this,
            [this] { p_.montre_aide(1); });
    menuBar()->addAction(quitte);
}

// Every peak format in the pop-up of the peak tab's "File"; the menu leaves
// out the last, any file. The cell formats in both.
void Tform1::construit_menu_recents(QMenu& fichier) {
    QMenu* recents = fichier.addMenu(QStringLiteral("Recent files"));
    connect(recents, &QMenu::aboutToShow, this, [this, recents] {
        recents->clear();
        for (const QString& f : fichiers_recents())
            connect(recents->addAction(f), &QAction::triggered, this,
                    [this, f] { p_.ouvre_fichiers({chemin(f)}); });
        if (recents->isEmpty()) recents->addAction(QStringLiteral("(none)"))->setEnabled(false);
    });
}

void Tform1::construit_menu_editer() {
    QMenu* editer = menuBar()->addMenu(QStringLiteral("E&dit"));
    annule_ = editer->addAction(QStringLiteral("Undo"));
    annule_->setShortcut(QKeySequence::Undo);
    refait_ = editer->addAction(QStringLiteral("Redo"));
    refait_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    connect(annule_, &QAction::triggered, this, [this] {
        p_.annule();
        statusBar()->showMessage(QStringLiteral("Undone: the data are as before the last change"));
    });
    connect(refait_, &QAction::triggered, this, [this] {
        p_.refait();
        statusBar()->showMessage(QStringLiteral("Redone"));
    });
    annule_->setEnabled(false);
    refait_->setEnabled(false);
}

void Tform1::construit_menu_ouvrir(QMenu& fichier) {
    QMenu* ouvrir = fichier.addMenu(QStringLiteral("&Open"));
    QMenu* pics = ouvrir->addMenu(QStringLiteral("&Peaks File"));
    actions_.ouvre_pics = new QMenu(this);
    for (const FormatFichierPics& f : formats_pics) {
        QAction* a = action(qs(std::string(f.entree)), [this, format = f.code] {
            return ouvre_pics(p_.espace, p_.principal, p_.lambda, p_.choix(), format,
                              p_.dialogues());
        });
        if (f.code != pics_colonne) pics->addAction(a);
        actions_.ouvre_pics->addAction(a);
    }
    QMenu* maille = ouvrir->addMenu(QStringLiteral("&Cell File"));
    actions_.ouvre_maille = new QMenu(this);
    const std::pair<const char*, int> formats_maille[] = {{"KOVRIN Format (*.cry)", 1},
                                                          {"ICSD Format (*.ics)", 2}};
    for (const auto& [nom, index] : formats_maille) {
        QAction* a = action(QString::fromUtf8(nom), [this, index = index] {
            return importe_maille(p_.espace, p_.principal, p_.choix(), index, p_.dialogues());
        });
        maille->addAction(a);
        actions_.ouvre_maille->addAction(a);
    }
    QMenu* profils = ouvrir->addMenu(QStringLiteral("P&rofile File"));
    ajoute_formats_profil(*profils,
                          {{profil_raw, "Bruker Format (*.raw)"},
                           {profil_rietveld, "Rietveld Format (*.dat)"},
                           {profil_cpi, "CPI Format (*.cpi)"},
                           {profil_rd, "Philips Format (*.rd)"}},
                          [this](int format) { p_.ouvre_profil(format); });
}

void Tform1::construit_menu_sauver(QMenu& fichier) {
    QMenu* sauver = fichier.addMenu(QStringLiteral("&Save"));
    QMenu* sauve_pics_menu = sauver->addMenu(QStringLiteral("&Peaks"));
    QMenu* sauve_profil_menu = sauver->addMenu(QStringLiteral("P&rofile"));
    const std::tuple<QMenu*, const char*, Sauvegarde> sauvegardes[] = {
        {sauve_pics_menu, "Bruker Format (*.dif)", Sauvegarde::pics_dif},
        {sauve_pics_menu, "Column Format (*.prn)", Sauvegarde::pics_colonne},
        {sauve_profil_menu, "Bruker Format (*.raw)", Sauvegarde::profil_raw},
        {sauve_profil_menu, "CPI Format (*.cpi)", Sauvegarde::profil_cpi}};
    std::size_t n = 0;
    for (const auto& [menu, nom, quoi] : sauvegardes) {
        QAction* a = action(QString::fromUtf8(nom), [this, quoi = quoi] {
            return sauve(p_.espace, quoi, p_.choix(), p_.dialogues());
        });
        menu->addAction(a);
        if (n < actions_.sauve_pics.size()) actions_.sauve_pics[n++] = a;
    }
    actions_.sauve_maille = action(QStringLiteral("&Cell"), [this] {
        return kovrin::sauve_maille(p_.espace, p_.principal, p_.choix(), p_.dialogues());
    });
    sauver->addAction(actions_.sauve_maille);
    sauver->addAction(action(QStringLiteral("Cell as CIF (*.cif)"),
                             [this] { return sauve_cif(p_.espace, p_.choix(), p_.dialogues()); }));
}

void Tform1::construit_menu_effacer() {
    QMenu* effacer = menuBar()->addMenu(QStringLiteral("E&rase"));
    effacer->addAction(action(QStringLiteral("Peak data"),
                              [this] { return erase_peak(p_.espace, p_.principal); }));
    effacer->addAction(action(QStringLiteral("Cell parameters"),
                              [this] { return erase_indx(p_.espace, p_.principal); }));
    effacer->addAction(
        action(QStringLiteral("Profile"), [this] { return erase_profil(p_.espace); }));
    effacer->addAction(action(QStringLiteral("All"), [this] {
        if (!p_.abandon_accepte("Erase all the data? The work done since the last save or "
                                "export is in no file (Edit \u203a Undo brings it back)."))
            return Rafraichissement{};
        return raze_tout(p_.espace, p_.principal);
    }));
}

void Tform1::montre_onglet(int onglet) {
    onglets->setCurrentIndex(onglet);
}

void Tform1::change_onglet() {
    const QString fond = style_fond(couleur_onglet(onglets->currentIndex() + 1));
    cadre_onglets->setStyleSheet(QStringLiteral("QFrame#cadre { %1 }").arg(fond));
    cadre_onglets->setObjectName(QStringLiteral("cadre"));
    mesures_->colore(fond);
    maille_->colore(fond);
    selection_->colore(fond);
}

void Tform1::montre(const Rafraichissement& r) {
    mesures_->montre(r);
    maille_->montre(r);
    selection_->montre(r);
    affinement_->montre(r);
    valeurs_->montre(r);
    if (r.active_onglet) onglets->setCurrentIndex(*r.active_onglet);
    maille_->montre_focus(r);
    annule_->setEnabled(p_.historique().peut_annuler());
    refait_->setEnabled(p_.historique().peut_refaire());
    if (const std::string ligne = ligne_etat(p_.espace, p_.principal, r.changes); !ligne.empty())
        statusBar()->showMessage(qs(ligne));
}

void Tform1::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!placee_) move(0, 0);
    placee_ = true;
}

void Tform1::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        p_.commande([&] { return active_principale(p_.principal); });
}

void Tform1::closeEvent(QCloseEvent* e) {
    if (!p_.fin_forcee() &&
        !p_.abandon_accepte(
            "Quit KOVRIN? The work done since the last save or export will be lost.")) {
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
    QApplication::closeAllWindows();
    QApplication::quit();
}

void Tform1::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void Tform1::dropEvent(QDropEvent* e) {
    p_.ouvre_fichiers(fichiers_deposes(*e->mimeData()));
}

} // namespace kovrin::fenetres
