#include "fenetres/page_mesures.h"

#include "commun/texte.h"
#include "fenetres/controles.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/grille_textes.h"
#include "fenetres/peintre.h"
#include "fenetres/programme.h"
#include "interface/commandes.h"
#include "interface/commandes_profil.h"
#include "interface/prise_donnees.h"
#include "interface/saisie_mesures.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kovrin::fenetres {

namespace {

const char* const memo_mesures =
    "First step: Enter the Bragg angles of the measured reflections.\n\n"
    "\"Keyboard\": type the wavelength in the \u03bb box of \"Current values\", then one "
    "reflection per row: its angle (2\u03b8 or \u03b8, as chosen below) and its area (100 "
    "when left empty). Rows move to their sorted place as soon as you leave them.\n"
    "\"File\": read a peak file (DIFFRAC-AT, XFIT, WINFIT, Philips or columns); a file "
    "without a wavelength asks for it.\n"
    "\"Diagram\": measure the peaks on a raw profile, by pointing or by the automatic peak "
    "search.";

constexpr int aide_mesures = 2;

} // namespace

PageMesures::PageMesures(Programme& programme, const ActionsPrincipales& actions) : p_(programme) {
    aide(this, aide_mesures);
    auto* rangee = new QHBoxLayout(this);
    auto* gauche = new QVBoxLayout;
    memo_ = memo(memo_mesures, this);
    gauche->addWidget(memo_, 1);
    construit_boutons(*gauche, actions);
    construit_modes(*gauche);
    rangee->addLayout(gauche, 1);
    panneau_ = new QGroupBox(QStringLiteral("Measured reflections (2Theta)"), this);
    auto* dans_panneau = new QVBoxLayout(panneau_);
    grille_ = nomme(new GrilleTextes({52, 52, 43, 20}, true, panneau_), "grille_mesures");
    grille_->setRowCount(nb_lignes_initial_grille_mesures); // rows to type into
    dans_panneau->addWidget(grille_);
    panneau_->hide();
    rangee->addWidget(panneau_, 1);
    relie_grille();
}

void PageMesures::construit_boutons(QVBoxLayout& gauche, const ActionsPrincipales& actions) {
    auto* boutons = new QHBoxLayout;
    clavier_ = nomme(bouton(QStringLiteral("Keyboard"), argent, this), "clavier_pics");
    fichier_ = nomme(bouton(QStringLiteral("File"), argent, this), "fichier_pics");
    diagramme_ = nomme(bouton(QStringLiteral("Diagram"), argent, this), "diagramme_pics");
    efface_ = nomme(bouton(QStringLiteral("Erase"), argent, this), "efface_pics");
    sauve_ = nomme(bouton(QStringLiteral("Save"), argent, this), "sauve_pics");
    for (QPushButton* b : {clavier_, fichier_, diagramme_, efface_, sauve_})
        boutons->addWidget(b);
    efface_->hide();
    sauve_->hide();
    gauche.addLayout(boutons);
    connect(clavier_, &QPushButton::clicked, this,
            [this] { p_.commande([&] { return enter_refl_keyb(p_.espace, p_.principal); }); });
    connect(fichier_, &QPushButton::clicked, this, [this, menu = actions.ouvre_pics] {
        p_.commande([&] { return load_fichier_raie(p_.principal); });
        menu->popup(window()->mapToGlobal(QPoint(170, 110)));
    });
    connect(diagramme_, &QPushButton::clicked, this,
            [this] { p_.commande([&] { return pointe_raies_diag(p_.principal); }); });
    connect(efface_, &QPushButton::clicked, this,
            [this] { p_.commande([&] { return rase_dif(p_.espace, p_.principal); }); });
    connect(sauve_, &QPushButton::clicked, this, [this, sauve = actions.sauve_pics] {
        QMenu menu(this);
        menu.addActions({sauve[0], sauve[1]});
        menu.exec(sauve_->mapToGlobal(QPoint(0, sauve_->height())));
    });
}

void PageMesures::construit_modes(QVBoxLayout& gauche) {
    auto* modes = new QGroupBox(this);
    modes->setStyleSheet(style_fond(argent));
    auto* dans_modes = new QHBoxLayout(modes);
    mode_theta_ = nomme(new QRadioButton(grec("q"), modes), "mode_theta");
    mode_2theta_ = nomme(new QRadioButton(grec("2q"), modes), "mode_2theta");
    mode_2theta_->setChecked(true);
    dans_modes->addWidget(mode_theta_);
    dans_modes->addWidget(mode_2theta_);
    gauche.addWidget(modes);
    auto* groupe = new QButtonGroup(this);
    groupe->addButton(mode_theta_, 0);
    groupe->addButton(mode_2theta_, 1);
    connect(groupe, &QButtonGroup::idClicked, this, [this](int mode) {
        p_.commande([&] { return change_angles(p_.espace, p_.principal, mode); });
    });
}

// Only a cell the user edited is read back; selecting and moving change nothing.
void PageMesures::relie_grille() {
    connect(grille_, &QTableWidget::cellChanged, this, [this](int ligne, int colonne) {
        const auto cellule = [&](int c) {
            return Saisie::de_texte(sans_blancs(texte(grille_->cellule(ligne + 1, c))));
        };
        const EditionMesure e{p_.principal.maille.lambda, ligne + 1, colonne, cellule(0),
                              cellule(2)};
        QTimer::singleShot(0, this, [this, e] {
            p_.commande([&] { return modifie_ligne_mesures(p_.espace, e, p_.dialogues()); });
        });
    });
}

void PageMesures::colore(const QString& fond) {
    memo_->setStyleSheet(fond);
}

void PageMesures::montre(const Rafraichissement& r) {
    const EspaceTravail& et = p_.espace;
    if (r.a_change(Change::mode)) montre_libelles(libelles(et));
    if (r.a_change_un({Change::mode, Change::mesures, Change::plage}))
        grille_->montre(kovrin::grille_mesures(et));
    if (r.a_change_un({Change::mesures, Change::fichiers, Change::mode}))
        panneau_->setTitle(qs(titre_mesures(et, p_.principal)));
    if (r.a_change(Change::vues) && p_.principal.boutons_pics)
        for (QWidget* w : std::initializer_list<QWidget*>{panneau_, efface_, sauve_})
            w->show();
}

void PageMesures::montre_libelles(const Libelles& l) {
    panneau_->setTitle(qs(l.panneau_mesures));
    const QSignalBlocker silence1(mode_theta_), silence2(mode_2theta_);
    (l.mode_affichage == 0 ? mode_theta_ : mode_2theta_)->setChecked(true);
}

} // namespace kovrin::fenetres
