#include "fenetres/tform7.h"

#include "fenetres/controles.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/grille_textes.h"
#include "fenetres/image_trace.h"
#include "fenetres/panneaux_recherche.h"
#include "fenetres/peintre.h"
#include "fenetres/programme.h"
#include "interface/commandes_fichiers.h"
#include "interface/commandes_profil.h"
#include "interface/prise_donnees.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace kovrin::fenetres {

namespace {

constexpr int aide_profil = 4;

QLabel* champ_entete(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return l;
}

} // namespace

TForm7::TForm7(Programme& programme) : p_(programme) {
    setWindowTitle(QStringLiteral("Measure the reflection angles on the diagram"));
    QPalette fond = palette();
    fond.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xF7));
    setPalette(fond);
    construit_menus();
    auto* central = new QWidget(this);
    auto* colonne = new QVBoxLayout(central);
    colonne->setContentsMargins(0, 0, 0, 0);
    colonne->addWidget(construit_haut());
    auto* milieu = new QHBoxLayout;
    milieu->addWidget(construit_image(), 1);
    milieu->addWidget(construit_cote());
    colonne->addLayout(milieu, 1);
    setCentralWidget(central);
    relie_controles();
    relie_grille();
    relie_souris();
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] { p_.montre_aide(aide_profil); });
    setGeometry(0, 60, 1020, 600);
    retient_geometrie(*this, QStringLiteral("fenetres/profil"));
}

// The picture, and under it the search panels when they are shown.
QWidget* TForm7::construit_image() {
    auto* cadre = new QWidget(this);
    auto* colonne = new QVBoxLayout(cadre);
    colonne->setContentsMargins(0, 0, 0, 0);
    image = new ImageTrace([this](int l, int h) { return dessin(l, h); }, cadre);
    colonne->addWidget(image, 1);
    auto* bas = new QHBoxLayout;
    panneau_recherche = new PanneauRecherche(p_, cadre);
    panneau_genres = new PanneauGenres(p_, cadre);
    bas->addWidget(panneau_recherche);
    bas->addWidget(panneau_genres);
    bas->addStretch();
    panneau_recherche->hide();
    panneau_genres->hide();
    colonne->addLayout(bas);
    return cadre;
}

QMenu* TForm7::menu_formats_profil(QWidget* parent) {
    auto* menu = new QMenu(QStringLiteral("&Open profile"), parent);
    ajoute_formats_profil(*menu,
                          {{profil_raw, "&Bruker Format (*.raw)"},
                           {profil_rietveld, "&Rietveld Format (*.dat)"},
                           {profil_cpi, "&CPI Format (*.cpi)"},
                           {profil_rd, "&Philips Format (*.rd)"}},
                          [this](int format) { p_.ouvre_profil(format); });
    return menu;
}

void TForm7::construit_menus() {
    QMenu* fichier = menuBar()->addMenu(QStringLiteral("&File"));
    menu_profils = menu_formats_profil(this);
    fichier->addMenu(menu_profils);
    QMenu* pics = fichier->addMenu(QStringLiteral("&Measured peaks"));
    QMenu* profil = fichier->addMenu(QStringLiteral("&Save profile"));
    const std::tuple<QMenu*, const char*, Sauvegarde> sauvegardes[] = {
        {pics, "&Brucker Format (*.dif)", Sauvegarde::pics_dif},
        {pics, "&Column format (*.prn)", Sauvegarde::pics_colonne},
        {profil, "&Brucker Format (*.raw)", Sauvegarde::profil_raw},
        {profil, "&CPI format (*.cpi)", Sauvegarde::profil_cpi}};
    for (const auto& [menu, nom, quoi] : sauvegardes)
        connect(menu->addAction(QString::fromUtf8(nom)), &QAction::triggered, this,
                [this, quoi = quoi] {
                    p_.commande(
                        [&] { return sauve(p_.espace, quoi, p_.choix(), p_.dialogues(), true); });
                });
    connect(pics, &QMenu::aboutToShow, this,
            [this] { p_.commande([&] { return WINFITFormatdat1Click(p_.profil); }); });
    fichier->addSeparator();
    connect(fichier->addAction(QStringLiteral("&Close")), &QAction::triggered, this,
            [this] { p_.commande([&] { return retour(p_.espace, p_.profil); }); });
    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    action_derivee = options->addAction(QStringLiteral("&Draw Sec. Deriv."));
    action_derivee->setCheckable(true);
    connect(action_derivee, &QAction::triggered, this, [this] {
        p_.commande([&] { return set_derivee_seconde(p_.profil); });
        action_derivee->setChecked(p_.profil.derivee_visible);
    });
    QMenu* menu_recherche = menuBar()->addMenu(QStringLiteral("&Peak Search"));
    action_recherche = menu_recherche->addAction(QStringLiteral("&Peak Search"));
    action_recherche->setCheckable(true);
    connect(action_recherche, &QAction::triggered, this, [this] { lance_recherche(); });
    connect(menu_recherche->addAction(QStringLiteral("&Fit peak positions")), &QAction::triggered,
            this, [this] { ajuste(); });
    connect(menuBar()->addAction(QStringLiteral("Help")), &QAction::triggered, this,
            [this] { p_.montre_aide(aide_profil); });
}

QWidget* TForm7::construit_haut() {
    auto* haut = new QWidget(this);
    auto* rangee = new QHBoxLayout(haut);
    legende = new QLabel(haut);
    legende->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred); // long names are cut
    lecture = new QLineEdit(haut);
    lecture_seule(*lecture);
    lecture->setMaximumWidth(180);
    decalage = fleches(0, 360, 1, 180, QStringLiteral("Move the diagram"), haut);
    echelle = fleches(10, 500, 5, 10, QStringLiteral("Modify the diagram scale"), haut);
    reset = bouton_bulle(QStringLiteral("Z-"), {}, QStringLiteral("Reset the diagram"), haut);
    charge_profil = bouton_bulle({}, QStyle::SP_DialogOpenButton,
                                 QStringLiteral("Load an observed diagram "), haut);
    efface_profil =
        bouton_bulle({}, QStyle::SP_TrashIcon, QStringLiteral("Delete the observed diagram"), haut);
    efface_mesures = bouton_bulle({}, QStyle::SP_DialogResetButton,
                                  QStringLiteral("Erase the selected reflections"), haut);
    garde_genres =
        bouton_bulle(grec("Ka1"), {}, QStringLiteral("Select the peaks to be kept"), haut);
    recherche =
        bouton_bulle({}, QStyle::SP_FileDialogContentsView, QStringLiteral("Peak Search"), haut);
    ajustement =
        bouton_bulle(QStringLiteral("Fit"), {}, QStringLiteral("Fit peak positions"), haut);
    connect(ajustement, &QToolButton::clicked, this, [this] { ajuste(); });
    rangee->addWidget(legende, 1);
    rangee->addWidget(lecture);
    rangee->addWidget(new QLabel(QStringLiteral("Move"), haut));
    rangee->addWidget(decalage);
    rangee->addWidget(new QLabel(QStringLiteral("Scale"), haut));
    rangee->addWidget(echelle);
    for (QToolButton* b :
         {reset, charge_profil, efface_profil, efface_mesures, garde_genres, recherche, ajustement})
        rangee->addWidget(b);
    return haut;
}

QWidget* TForm7::construit_cote() {
    auto* cote = new QWidget(this);
    cote->setFixedWidth(290); // the peak grid's scroll bars do not widen the window
    auto* colonne = new QVBoxLayout(cote);
    colonne->setContentsMargins(2, 0, 2, 0);
    auto* pics = new QGroupBox(QStringLiteral("Observed reflections (2theta)"), cote);
    auto* dans = new QVBoxLayout(pics);
    grille_pics = new GrilleTextes({30, 60, 60, 50}, false, pics);
    grille_pics->peinture([this](int ligne) {
        return PeintureLigne{blanc, peint_cellule_g2(p_.espace, ligne), false};
    });
    dans->addWidget(grille_pics);
    auto* compte = new QHBoxLayout;
    compte->addWidget(new QLabel(QStringLiteral("Nb of selected peaks:"), pics));
    nombre_pics = new QLabel(QStringLiteral("0"), pics);
    nombre_pics->setObjectName(QStringLiteral("nombre_pics"));
    compte->addWidget(nombre_pics);
    compte->addStretch();
    dans->addLayout(compte);
    colonne->addWidget(pics, 1);
    colonne->addWidget(construit_entete(cote));
    colonne->addWidget(construit_plage(cote));
    return cote;
}

QWidget* TForm7::construit_entete(QWidget* parent) {
    auto* boite = new QGroupBox(parent);
    auto* grille = new QGridLayout(boite);
    grille->setVerticalSpacing(1);
    for (QLabel*& l : entete)
        l = champ_entete(boite);
    grille->addWidget(entete[0], 0, 0, 1, 4);
    grille->addWidget(entete[1], 1, 0, 1, 4);
    etiquettes_entete = {new QLabel(grec("2q1"), boite), new QLabel(grec("2q2"), boite)};
    QWidget* const noms[] = {new QLabel(grec("l1"), boite),
                             new QLabel(grec("l2"), boite),
                             new QLabel(QStringLiteral("Ratio"), boite),
                             new QLabel(QStringLiteral("Anode:"), boite),
                             new QLabel(grec("l"), boite),
                             etiquettes_entete[0],
                             etiquettes_entete[1]};
    for (std::size_t i = 0; i < 7; ++i) {
        const int ligne = 2 + static_cast<int>(i) / 2, colonne = 2 * (static_cast<int>(i) % 2);
        grille->addWidget(noms[i], ligne, colonne);
        grille->addWidget(entete[i + 2], ligne, colonne + 1);
    }
    return boite;
}

QWidget* TForm7::construit_plage(QWidget* parent) {
    auto* boite = new QGroupBox(QStringLiteral("Theta range"), parent);
    auto* grille = new QGridLayout(boite);
    plage_lambda = new QLineEdit(boite);
    lecture_seule(*plage_lambda);
    plage_angle1 = new QLineEdit(boite);
    plage_angle2 = new QLineEdit(boite);
    etiquettes_plage = {new QLabel(grec("2q1 ="), boite), new QLabel(grec("2q2 ="), boite)};
    grille->addWidget(new QLabel(grec("l ="), boite), 0, 0);
    grille->addWidget(plage_lambda, 0, 1);
    grille->addWidget(etiquettes_plage[0], 1, 0);
    grille->addWidget(plage_angle1, 1, 1);
    grille->addWidget(etiquettes_plage[1], 2, 0);
    grille->addWidget(plage_angle2, 2, 1);
    relit_plage = new QPushButton(QStringLiteral("re-Draw the pattern with new values"), boite);
    grille->addWidget(relit_plage, 3, 0, 1, 2);
    return boite;
}

void TForm7::relie_controles() {
    connect(decalage, &QSpinBox::valueChanged, this, [this](int position) {
        p_.commande([&] { return shifte_spectre(p_.espace, p_.profil, position); });
    });
    connect(echelle, &QSpinBox::valueChanged, this, [this](int position) {
        p_.commande([&] { return modifie_echelle(p_.profil, position); });
    });
    connect(reset, &QToolButton::clicked, this,
            [this] { p_.commande([&] { return reset_diagramme(p_.espace, p_.profil); }); });
    connect(charge_profil, &QToolButton::clicked, this, [this] {
        menu_profils->popup(charge_profil->mapToGlobal(QPoint(0, charge_profil->height())));
    });
    connect(efface_profil, &QToolButton::clicked, this,
            [this] { p_.commande([&] { return efface_fichier(p_.espace, p_.profil); }); });
    connect(efface_mesures, &QToolButton::clicked, this,
            [this] { p_.commande([&] { return kovrin::efface_mesures(p_.espace, p_.profil); }); });
    connect(garde_genres, &QToolButton::clicked, this,
            [this] { p_.commande([&] { return kill_alpha2(p_.espace, p_.profil); }); });
    connect(recherche, &QToolButton::clicked, this, [this] { lance_recherche(); });
    connect(relit_plage, &QPushButton::clicked, this, [this] {
        const Saisie debut = Saisie::de_texte(texte(plage_angle1->text()));
        const Saisie fin = Saisie::de_texte(texte(plage_angle2->text()));
        p_.commande(
            [&] { return change_data_diag(p_.espace, p_.principal, debut, fin, p_.dialogues()); });
    });
}

void TForm7::relie_grille() {
    connect(grille_pics, &QTableWidget::currentCellChanged, this,
            [this](int ligne) { choisit_ligne_pics(p_.profil, ligne + 1); });
    connect(grille_pics, &QTableWidget::cellDoubleClicked, this, [this](int ligne) {
        choisit_ligne_pics(p_.profil, ligne + 1);
        p_.commande([&] { return on_double_click(p_.espace, p_.profil); });
    });
}

void TForm7::relie_souris() {
    image->sur_appui = [this](BoutonSouris b, Point p) { OnMouseDown(p_.profil, b, p); };
    image->sur_mouvement = [this](Point p) {
        const SurvolProfil s =
            survol_profil(p_.espace, p_.profil, image->width(), image->height(), p);
        lecture->setText(qs(s.lecture));
        image->marques(s.curseur, s.elastique);
    };
    image->sur_relache = [this](BoutonSouris b, Point p) {
        image->marques(std::nullopt, std::nullopt);
        p_.commande([&] {
            return OnMouseUp(p_.espace, p_.profil, image->width(), image->height(), b, p,
                             p_.dialogues());
        });
    };
    image->sur_sortie = [this] {
        lecture->clear();
        image->marques(std::nullopt, std::nullopt);
    };
}

// "&Peak Search", from the menu or the button; the menu's mark follows the panel.
void TForm7::lance_recherche() {
    p_.commande([&] { return peak_search(p_.espace, p_.profil, p_.dialogues()); });
    action_recherche->setChecked(!panneau_recherche->isHidden());
}

Dessin TForm7::dessin(int largeur, int hauteur) {
    return dessin_profil(p_.espace, p_.profil, largeur, hauteur);
}

// "Fit peak positions", from the menu or the button.
void TForm7::ajuste() {
    p_.commande(
        [&] { return fit_peak_positions(p_.espace, p_.principal, p_.profil, p_.dialogues()); });
}

void TForm7::montre(const Rafraichissement& r) {
    const EspaceTravail& et = p_.espace;
    const bool mode = r.a_change(Change::mode);
    if (mode || r.a_change_un({Change::mesures, Change::plage})) {
        const GrillePics g = grille_pics_montree(et, p_.profil.grille_videe);
        grille_pics->montre(g.grille);
        nombre_pics->setText(qs(g.nombre));
    }
    if (mode || r.a_change_un({Change::plage, Change::fichiers})) montre_donnees();
    if (r.a_change_un({Change::profil, Change::vues})) montre_panneaux();
    // The profile window draws the same workspace as the diagram.
    if (r.changes != 0) {
        const QSignalBlocker silence(echelle); // a zoom or a reset moved the arrows
        echelle->setValue(p_.profil.position_echelle);
        legende->setText(qs(legende_profil(et)));
        image->redessine();
    }
    if (r.ferme_fenetre_profil) hide();
}

void TForm7::montre_donnees() {
    const EspaceTravail& et = p_.espace;
    const PanneauValeurs v = panneau_valeurs_courantes(et);
    plage_lambda->setText(qs(v.lambda));
    plage_angle1->setText(qs(v.angle1));
    plage_angle2->setText(qs(v.angle2));
    const PanneauDonnees d = panneau_profil(et);
    const std::string* textes[] = {&d.fichier_fenetre_profil,
                                   &d.echantillon,
                                   &d.lambda1,
                                   &d.lambda2,
                                   &d.rapport,
                                   &d.anode,
                                   &d.lambda,
                                   &d.angle1,
                                   &d.angle2};
    for (std::size_t i = 0; i < entete.size(); ++i)
        entete[i]->setText(qs(*textes[i]));
    const Libelles l = libelles(et);
    etiquettes_entete[0]->setText(grec(l.donnees1));
    etiquettes_entete[1]->setText(grec(l.donnees2));
    etiquettes_plage[0]->setText(grec(l.valeur1));
    etiquettes_plage[1]->setText(grec(l.valeur2));
}

void TForm7::montre_panneaux() {
    const EtatFenetreProfil& etat = p_.profil;
    panneau_genres->setVisible(etat.panneau_genres);
    panneau_recherche->montre_methode(etat.methode);
    panneau_recherche->montre_limites(p_.espace.recherche);
    if (etat.panneau_recherche == panneau_recherche->isVisibleTo(this)) return;
    // The panel opens with its contamination boxes as the search prefilled them.
    if (etat.panneau_recherche) panneau_recherche->montre_contamination(etat.contamination);
    panneau_recherche->setVisible(etat.panneau_recherche);
    action_recherche->setChecked(etat.panneau_recherche);
    if (etat.panneau_recherche) panneau_recherche->prend_focus();
}

void TForm7::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        p_.commande([&] { return init_active(p_.espace, p_.profil); });
}

// The window's own close button hands back to the diagram as "&Close" does
// (not when the program closes every window as it ends).
void TForm7::closeEvent(QCloseEvent* e) {
    QMainWindow::closeEvent(e);
    if (e->spontaneous()) p_.commande([&] { return retour(p_.espace, p_.profil); });
}

} // namespace kovrin::fenetres
