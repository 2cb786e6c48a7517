#include "fenetres/tform1.h"

#include "commun/texte.h"
#include "fenetres/controles.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/grille_textes.h"
#include "fenetres/impression.h"
#include "fenetres/peintre.h"
#include "fenetres/programme.h"
#include "fenetres/tfabout.h"
#include "interface/commandes.h"
#include "interface/commandes_affinement.h"
#include "interface/commandes_fichiers.h"
#include "interface/commandes_maille.h"
#include "interface/commandes_profil.h"
#include "interface/peinture.h"
#include "interface/prise_donnees.h"
#include "interface/saisie_mesures.h"
#include "interface/selection.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
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
const char* const memo_maille =
    "Second step: Enter the initial cell parameters.\n\n"
    "Choose the crystal system, then a space group in one of the two lists (Hermann-Mauguin "
    "symbols, or symbols with their Hall notation). Type a, b, c, \u03b1, \u03b2, \u03b3: the "
    "fields the system ties are filled for you. \"File\" reads a cell file (.cry or ICSD).\n"
    "Check \u03bb and the angle range in \"Current values\", then press \"Calc.\": every "
    "allowed reflection of the range is listed with its spacing and angle.";
const char* const memo_selection =
    "Third step: Selection of  the reflections to be fitted.\n\n"
    "\"Automatic Selection\" pairs each measured reflection of the current range with the "
    "nearest calculated reflection within the angular tolerance.\n"
    "By hand: click a measured reflection, then a calculated one. Typing other indices in "
    "\"Selected reflections\" changes a pair; 0 0 0 deletes it.\n"
    "On the diagram, while this tab is shown, a click on a bar or tick pairs it and a right "
    "click unpairs it.";

constexpr int aide_mesures = 2, aide_maille = 3, aide_affinement = 5;

QString couleur_fond(Couleur c) {
    return QStringLiteral("background-color: rgb(%1,%2,%3);").arg(c.r).arg(c.g).arg(c.b);
}

QPushButton* bouton(const QString& texte, Couleur c, QWidget* parent) {
    auto* b = new QPushButton(texte, parent);
    b->setStyleSheet(couleur_fond(c));
    return b;
}

QToolButton* bouton_image(QStyle::StandardPixmap image, const QString& bulle, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setIcon(parent->style()->standardIcon(image));
    b->setIconSize(QSize(32, 32));
    b->setToolTip(bulle);
    b->setAccessibleName(bulle);
    b->setStyleSheet(couleur_fond({0xAC, 0xFF, 0xFF}));
    return b;
}

QLineEdit* champ(QWidget* parent, bool lecture_seule = false) {
    auto* e = new QLineEdit(parent);
    e->setReadOnly(lecture_seule);
    e->setMinimumWidth(60);
    e->setMaximumWidth(90);
    return e;
}

void aide(QWidget* w, int contexte) {
    w->setProperty("contexte_aide", contexte);
}

// A field the user left unreadable keeps the user's text.
void montre_saisie(QLineEdit* champ, const std::optional<std::string>& texte) {
    if (texte) champ->setText(qs(*texte));
}

void remplace_liste(QListWidget* l, const ListeSymboles& s) {
    const QSignalBlocker silence(l);
    l->clear();
    for (const std::string& e : s.entrees)
        l->addItem(qs(e));
    l->setCurrentRow(s.selection);
}

constexpr Couleur bleu_clair{0xB2, 0xE0, 0xFF};
constexpr Couleur rouge_clair{0xFF, 0xD1, 0xD1};

} // namespace

Tform1::Tform1(Programme& programme) : p_(programme) {
    setWindowTitle(QStringLiteral("KOVRIN V2 ( 17 May 2001)"));
    setAcceptDrops(true);
    construit_menus();
    auto* central = new QWidget(this);
    auto* rangee = new QHBoxLayout(central);
    cadre_onglets = new QFrame(central);
    cadre_onglets->setAutoFillBackground(true);
    auto* dans_cadre = new QVBoxLayout(cadre_onglets);
    onglets = new QTabWidget(cadre_onglets);
    onglets->addTab(construit_onglet_mesures(), QStringLiteral("Measured reflections"));
    onglets->addTab(construit_onglet_maille(), QStringLiteral("Initial cell parameters"));
    onglets->addTab(construit_onglet_selection(), QStringLiteral("Selection of the reflections"));
    onglets->addTab(construit_onglet_affinement(), QStringLiteral("Cell refinement"));
    dans_cadre->addWidget(onglets);
    rangee->addWidget(cadre_onglets, 1);
    rangee->addWidget(construit_panneaux());
    setCentralWidget(central);
    relie_grilles();
    relie_saisies();
    connect(onglets, &QTabWidget::currentChanged, this, [this](int onglet) {
        p_.principal.onglet = onglet;
        change_onglet();
    });
    connect(qApp, &QApplication::focusChanged, this,
            // Seen before the next focus event: the widget the focus leaves.
            [this](QWidget*, QWidget* nouveau) { focus_precedent_ = nouveau; });
    change_onglet();
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] {
        for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
            if (w->property("contexte_aide").isValid())
                return p_.montre_aide(w->property("contexte_aide").toInt());
        p_.montre_aide(1);
    });
    resize(1020, 455);
    move(0, 0);
}

// The children are deleted after this window's own members: nothing they
// signal on their way out may reach it any more.
Tform1::~Tform1() {
    disconnect(qApp, nullptr, this, nullptr);
    for (QObject* enfant : findChildren<QObject*>())
        enfant->blockSignals(true);
}

void Tform1::construit_menus() {
    QMenu* fichier = menuBar()->addMenu(QStringLiteral("&File"));
    QMenu* ouvrir = fichier->addMenu(QStringLiteral("&Open"));
    QMenu* pics = ouvrir->addMenu(QStringLiteral("&Peaks File"));
    // Every peak format in the pop-up of "File"; the menu leaves out the last, any file.
    menu_pics = new QMenu(this);
    for (const FormatFichierPics& f : formats_pics) {
        auto ouvre = [this, format = f.code] {
            p_.commande([&] {
                return ouvre_pics(p_.espace, p_.principal, p_.lambda, p_.choix(), format,
                                  p_.dialogues());
            });
        };
        const QString entree = qs(std::string(f.entree));
        if (f.code != pics_colonne)
            connect(pics->addAction(entree), &QAction::triggered, this, ouvre);
        connect(menu_pics->addAction(entree), &QAction::triggered, this, ouvre);
    }
    QMenu* maille = ouvrir->addMenu(QStringLiteral("&Cell File"));
    menu_maille = new QMenu(this);
    const std::pair<const char*, int> formats_maille[] = {{"KOVRIN Format (*.cry)", 1},
                                                          {"ICSD Format (*.ics)", 2}};
    for (const auto& [nom, index] : formats_maille) {
        auto importe = [this, index = index] {
            p_.commande([&] {
                return importe_maille(p_.espace, p_.principal, p_.choix(), index, p_.dialogues());
            });
        };
        connect(maille->addAction(QString::fromUtf8(nom)), &QAction::triggered, this, importe);
        connect(menu_maille->addAction(QString::fromUtf8(nom)), &QAction::triggered, this, importe);
    }
    QMenu* profils = ouvrir->addMenu(QStringLiteral("P&rofile File"));
    ajoute_formats_profil(*profils,
                          {{profil_raw, "Bruker Format (*.raw)"},
                           {profil_rietveld, "Rietveld Format (*.dat)"},
                           {profil_cpi, "CPI Format (*.cpi)"},
                           {profil_rd, "Philips Format (*.rd)"}},
                          [this](int format) { p_.ouvre_profil(format); });

    QMenu* sauver = fichier->addMenu(QStringLiteral("&Save"));
    QMenu* sauve_pics_menu = sauver->addMenu(QStringLiteral("&Peaks"));
    QMenu* sauve_profil_menu = sauver->addMenu(QStringLiteral("P&rofile"));
    const std::tuple<QMenu*, const char*, Sauvegarde> sauvegardes[] = {
        {sauve_pics_menu, "Bruker Format (*.dif)", Sauvegarde::pics_dif},
        {sauve_pics_menu, "Column Format (*.prn)", Sauvegarde::pics_colonne},
        {sauve_profil_menu, "Bruker Format (*.raw)", Sauvegarde::profil_raw},
        {sauve_profil_menu, "CPI Format (*.cpi)", Sauvegarde::profil_cpi}};
    for (const auto& [menu, nom, quoi] : sauvegardes)
        connect(menu->addAction(QString::fromUtf8(nom)), &QAction::triggered, this,
                [this, quoi = quoi] {
                    p_.commande([&] { return sauve(p_.espace, quoi, p_.choix(), p_.dialogues()); });
                });
    connect(sauver->addAction(QStringLiteral("&Cell")), &QAction::triggered, this, [this] {
        rassemble();
        p_.commande([&] {
            return kovrin::sauve_maille(p_.espace, p_.principal, p_.choix(), p_.dialogues());
        });
    });
    connect(
        sauver->addAction(QStringLiteral("Cell as CIF (*.cif)")), &QAction::triggered, this,
        [this] { p_.commande([&] { return sauve_cif(p_.espace, p_.choix(), p_.dialogues()); }); });
    auto resultats = [this] {
        p_.commande([&] { return Impression_resultats(p_.espace, p_.dialogues()); });
    };
    connect(fichier->addAction(QStringLiteral("Print results")), &QAction::triggered, this,
            resultats);
    QMenu* editer = fichier->addMenu(QStringLiteral("&Edit"));
    connect(editer->addAction(QStringLiteral("Measured peaks")), &QAction::triggered, this,
            [this] { p_.commande([&] { return edit_fichier_dif(p_.espace, p_.dialogues()); }); });
    connect(
        editer->addAction(QStringLiteral("Calculated Peaks")), &QAction::triggered, this,
        [this] { p_.commande([&] { return edit_raies_calculees(p_.espace, p_.dialogues()); }); });
    connect(editer->addAction(QStringLiteral("Raw diagram ")), &QAction::triggered, this,
            [this] { p_.commande([&] { return edit_raw(p_.espace, p_.dialogues()); }); });
    connect(editer->addAction(QStringLiteral("Results")), &QAction::triggered, this, resultats);
    fichier->addSeparator();
    connect(fichier->addAction(QStringLiteral("Exit")), &QAction::triggered, this, &QWidget::close);

    QMenu* effacer = menuBar()->addMenu(QStringLiteral("E&rase"));
    connect(effacer->addAction(QStringLiteral("Peak data")), &QAction::triggered, this,
            [this] { p_.commande([&] { return erase_peak(p_.espace, p_.principal); }); });
    connect(effacer->addAction(QStringLiteral("Cell parameters")), &QAction::triggered, this,
            [this] { p_.commande([&] { return erase_indx(p_.espace, p_.principal); }); });
    connect(effacer->addAction(QStringLiteral("Profile")), &QAction::triggered, this,
            [this] { p_.commande([&] { return erase_profil(p_.espace); }); });
    connect(effacer->addAction(QStringLiteral("All")), &QAction::triggered, this,
            [this] { p_.commande([&] { return raze_tout(p_.espace, p_.principal); }); });
    connect(menuBar()->addAction(QStringLiteral("About")), &QAction::triggered, this,
            [this] { p_.fabout().show(); });
    connect(menuBar()->addAction(QStringLiteral("Help")), &QAction::triggered, this,
            [this] { p_.montre_aide(1); });
    connect(menuBar()->addAction(QStringLiteral("Exit")), &QAction::triggered, this,
            &QWidget::close);
}

QWidget* Tform1::construit_onglet_mesures() {
    auto* onglet = new QWidget;
    aide(onglet, aide_mesures);
    auto* rangee = new QHBoxLayout(onglet);
    auto* gauche = new QVBoxLayout;
    memos[0] = new QPlainTextEdit(QString::fromUtf8(memo_mesures), onglet);
    memos[0]->setReadOnly(true);
    gauche->addWidget(memos[0], 1);
    auto* boutons = new QHBoxLayout;
    clavier_pics = bouton(QStringLiteral("Keyboard"), {0xC0, 0xC0, 0xC0}, onglet);
    fichier_pics = bouton(QStringLiteral("File"), {0xC0, 0xC0, 0xC0}, onglet);
    diagramme_pics = bouton(QStringLiteral("Diagram"), {0xC0, 0xC0, 0xC0}, onglet);
    efface_pics = bouton(QStringLiteral("Erase"), {0xC0, 0xC0, 0xC0}, onglet);
    sauve_pics = bouton(QStringLiteral("Save"), {0xC0, 0xC0, 0xC0}, onglet);
    for (QPushButton* b : {clavier_pics, fichier_pics, diagramme_pics, efface_pics, sauve_pics})
        boutons->addWidget(b);
    efface_pics->hide();
    sauve_pics->hide();
    gauche->addLayout(boutons);
    auto* modes = new QGroupBox(onglet);
    modes->setStyleSheet(couleur_fond({0xC0, 0xC0, 0xC0}));
    auto* dans_modes = new QHBoxLayout(modes);
    mode_theta = new QRadioButton(grec("q"), modes);
    mode_2theta = new QRadioButton(grec("2q"), modes);
    mode_2theta->setChecked(true);
    dans_modes->addWidget(mode_theta);
    dans_modes->addWidget(mode_2theta);
    gauche->addWidget(modes);
    rangee->addLayout(gauche, 1);
    panneau_mesures = new QGroupBox(QStringLiteral("Measured reflections (2Theta)"), onglet);
    auto* dans_panneau = new QVBoxLayout(panneau_mesures);
    grille_mesures = new GrilleTextes({52, 52, 43, 20}, true, panneau_mesures);
    grille_mesures->setRowCount(nb_lignes_initial_grille_mesures); // rows to type into
    grille_mesures->setObjectName(QStringLiteral("grille_mesures"));
    dans_panneau->addWidget(grille_mesures);
    panneau_mesures->hide();
    rangee->addWidget(panneau_mesures, 1);

    connect(clavier_pics, &QPushButton::clicked, this,
            [this] { p_.commande([&] { return enter_refl_keyb(p_.espace, p_.principal); }); });
    connect(fichier_pics, &QPushButton::clicked, this, [this] {
        p_.commande([&] { return load_fichier_raie(p_.principal); });
        menu_pics->popup(mapToGlobal(QPoint(170, 110)));
    });
    connect(diagramme_pics, &QPushButton::clicked, this,
            [this] { p_.commande([&] { return pointe_raies_diag(p_.principal); }); });
    connect(efface_pics, &QPushButton::clicked, this,
            [this] { p_.commande([&] { return rase_dif(p_.espace, p_.principal); }); });
    connect(sauve_pics, &QPushButton::clicked, this, [this] {
        QMenu menu(this);
        const std::pair<const char*, Sauvegarde> entrees[] = {
            {"Bruker Format (*.dif)", Sauvegarde::pics_dif},
            {"Column Format (*.prn)", Sauvegarde::pics_colonne}};
        for (const auto& [nom, quoi] : entrees)
            connect(menu.addAction(QString::fromUtf8(nom)), &QAction::triggered, this,
                    [this, quoi = quoi] {
                        p_.commande(
                            [&] { return sauve(p_.espace, quoi, p_.choix(), p_.dialogues()); });
                    });
        menu.exec(sauve_pics->mapToGlobal(QPoint(0, sauve_pics->height())));
    });
    auto* groupe = new QButtonGroup(onglet);
    groupe->addButton(mode_theta, 0);
    groupe->addButton(mode_2theta, 1);
    connect(groupe, &QButtonGroup::idClicked, this, [this](int mode) {
        p_.commande([&] { return change_angles(p_.espace, p_.principal, mode); });
    });
    return onglet;
}

QWidget* Tform1::construit_onglet_maille() {
    auto* onglet = new QWidget;
    aide(onglet, aide_maille);
    auto* rangee = new QHBoxLayout(onglet);
    auto* gauche = new QVBoxLayout;
    memos[1] = new QPlainTextEdit(QString::fromUtf8(memo_maille), onglet);
    memos[1]->setReadOnly(true);
    gauche->addWidget(memos[1], 1);
    auto* boutons = new QHBoxLayout;
    clavier_maille = bouton(QStringLiteral("Keyboard"), bleu_clair, onglet);
    fichier_maille = bouton(QStringLiteral("File"), bleu_clair, onglet);
    sauve_maille = bouton(QStringLiteral("Save"), bleu_clair, onglet);
    efface_maille = bouton(QStringLiteral("Erase"), bleu_clair, onglet);
    for (QPushButton* b : {clavier_maille, fichier_maille, sauve_maille, efface_maille})
        boutons->addWidget(b);
    sauve_maille->hide();
    efface_maille->hide();
    gauche->addLayout(boutons);
    rangee->addLayout(gauche, 1);

    panneau_cellule = new QGroupBox(onglet);
    auto* grille = new QGridLayout(panneau_cellule);
    grille->addWidget(new QLabel(QStringLiteral("System"), panneau_cellule), 0, 0);
    liste_systemes = new QListWidget(panneau_cellule);
    for (const FicheSysteme& f : table_systemes)
        liste_systemes->addItem(qs(std::string(f.legende)));
    grille->addWidget(liste_systemes, 1, 0, 6, 1);
    const char* noms[] = {"a", "b", "c", "a", "b", "g"};
    for (int i = 0; i < 6; ++i) {
        grille->addWidget(
            new QLabel(i < 3 ? QString::fromUtf8(noms[i]) : grec(noms[i]), panneau_cellule), i + 1,
            1);
        champs_maille[static_cast<std::size_t>(i)] = champ(panneau_cellule);
        champs_maille[static_cast<std::size_t>(i)]->installEventFilter(this);
        grille->addWidget(champs_maille[static_cast<std::size_t>(i)], i + 1, 2);
    }
    grille->addWidget(new QLabel(QStringLiteral("H-M standard symbols"), panneau_cellule), 0, 3);
    liste_hm = new QListWidget(panneau_cellule);
    grille->addWidget(liste_hm, 1, 3, 6, 1);
    grille->addWidget(new QLabel(QStringLiteral("Symbols with Hall notation"), panneau_cellule), 0,
                      4);
    liste_orsab = new QListWidget(panneau_cellule);
    liste_orsab->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    grille->addWidget(liste_orsab, 1, 4, 6, 1);
    bouton_calc = new QPushButton(QStringLiteral("Calc."), panneau_cellule);
    bouton_ed_print = new QPushButton(QStringLiteral("Ed/Print"), panneau_cellule);
    grille->addWidget(bouton_calc, 7, 2);
    grille->addWidget(bouton_ed_print, 7, 3);
    panneau_cellule->hide();
    gauche->addWidget(panneau_cellule, 2);

    panneau_calcule = new QGroupBox(onglet);
    auto* dans_calcule = new QVBoxLayout(panneau_calcule);
    titre_table = new QLabel(qs(titre_table_initial), panneau_calcule);
    dans_calcule->addWidget(titre_table);
    tableau_calcule = new GrilleTextes({40, 40, 40}, false, panneau_calcule);
    dans_calcule->addWidget(tableau_calcule);
    panneau_calcule->hide();
    rangee->addWidget(panneau_calcule, 1);

    connect(clavier_maille, &QPushButton::clicked, this,
            [this] { p_.commande([&] { return enter_keyb_param(p_.principal); }); });
    connect(fichier_maille, &QPushButton::clicked, this, [this] {
        p_.commande([&] { return enter_keyb_param(p_.principal); });
        menu_maille->popup(mapToGlobal(QPoint(170, 110)));
    });
    connect(sauve_maille, &QPushButton::clicked, this, [this] {
        rassemble();
        p_.commande([&] {
            return kovrin::sauve_maille(p_.espace, p_.principal, p_.choix(), p_.dialogues());
        });
    });
    connect(efface_maille, &QPushButton::clicked, this,
            [this] { p_.commande([&] { return rase_raies_indx(p_.espace); }); });
    connect(liste_systemes, &QListWidget::itemClicked, this, [this] {
        rassemble();
        p_.commande(
            [&] { return set_systeme(p_.espace, p_.principal, liste_systemes->currentRow()); });
    });
    connect(liste_hm, &QListWidget::itemClicked, this, [this] {
        rassemble();
        p_.commande([&] {
            return selecte_groupe_hm(p_.espace, p_.principal, liste_hm->currentRow(),
                                     p_.dialogues());
        });
    });
    connect(liste_orsab, &QListWidget::itemClicked, this, [this] {
        rassemble();
        p_.commande([&] {
            return selecte_groupe_orsab(p_.espace, p_.principal, liste_orsab->currentRow(),
                                        p_.dialogues());
        });
    });
    connect(bouton_calc, &QPushButton::clicked, this, [this] {
        rassemble();
        p_.commande([&] { return calcul_diagramme(p_.espace, p_.principal, p_.dialogues()); });
    });
    connect(bouton_ed_print, &QPushButton::clicked, this, [this] {
        p_.commande([&] { return edit_print_raies_indx(p_.espace, p_.dialogues()); });
    });
    return onglet;
}

QWidget* Tform1::construit_onglet_selection() {
    auto* onglet = new QWidget;
    aide(onglet, aide_affinement);
    auto* rangee = new QHBoxLayout(onglet);
    auto* gauche = new QVBoxLayout;
    memos[2] = new QPlainTextEdit(QString::fromUtf8(memo_selection), onglet);
    memos[2]->setReadOnly(true);
    memos[2]->setMaximumWidth(230);
    gauche->addWidget(memos[2], 1);
    auto* tolerance = new QHBoxLayout;
    etiquette_tolerance = new QLabel(QStringLiteral("Angular tolerance"), onglet);
    edit_tolerance = champ(onglet);
    edit_tolerance->setObjectName(QStringLiteral("edit_tolerance"));
    unite_tolerance = new QLabel(grec("2q"), onglet);
    tolerance->addWidget(etiquette_tolerance);
    tolerance->addWidget(edit_tolerance);
    tolerance->addWidget(unite_tolerance);
    gauche->addLayout(tolerance);
    bouton_auto = bouton(QStringLiteral("Automatic Selection"), rouge_clair, onglet);
    bouton_efface_selection = bouton(QStringLiteral("Delete Selection"), rouge_clair, onglet);
    gauche->addWidget(bouton_auto);
    gauche->addWidget(bouton_efface_selection);
    rangee->addLayout(gauche, 1);
    auto groupe = [&](const char* titre, GrilleTextes* g) {
        auto* boite = new QGroupBox(QString::fromUtf8(titre), onglet);
        auto* dans = new QVBoxLayout(boite);
        dans->addWidget(g);
        rangee->addWidget(boite, 1);
    };
    grille_mesures_selection = new GrilleTextes({20, 40, 40}, false);
    grille_calculees_selection = new GrilleTextes({40, 40, 40}, false);
    grille_selection = new GrilleTextes({25, 46, 46, 46, 46}, true);
    groupe("Measured reflections", grille_mesures_selection);
    groupe("Calculated reflections", grille_calculees_selection);
    groupe("Selected reflections", grille_selection);
    grille_mesures_selection->peinture([this](int ligne) {
        return peinture_ligne(p_.principal, GrillePeinte::mesures_selection, ligne);
    });
    grille_calculees_selection->peinture([this](int ligne) {
        return peinture_ligne(p_.principal, GrillePeinte::calculees_selection, ligne);
    });
    connect(bouton_auto, &QPushButton::clicked, this, [this] {
        p_.commande([&] { return selection_automatique(p_.espace, p_.principal, p_.dialogues()); });
    });
    connect(bouton_efface_selection, &QPushButton::clicked, this,
            [this] { p_.commande([&] { return efface_selection(p_.espace, p_.principal); }); });
    return onglet;
}

QWidget* Tform1::construit_table_parametres() {
    auto* table = new QWidget;
    auto* grille = new QGridLayout(table);
    const char* colonnes[] = {"Initial", "Refined", "Sigmas", "To refine"};
    for (int c = 0; c < 4; ++c)
        grille->addWidget(new QLabel(QString::fromUtf8(colonnes[c]), table), 0, c + 1);
    etiquette_decalage = new QLabel(grec("2Dq"), table);
    const QString lignes[] = {
        QString(),           grec("l"), QStringLiteral("a"), QStringLiteral("b"),
        QStringLiteral("c"), grec("a"), grec("b"),           grec("g")};
    // Rows in the engine's order; the check boxes keep the cell tab's order.
    const std::size_t coches[] = {6, 7, 0, 1, 2, 3, 4, 5};
    for (std::size_t i = 0; i < 8; ++i) {
        const int r = static_cast<int>(i) + 1;
        grille->addWidget(i == 0 ? etiquette_decalage : new QLabel(lignes[i], table), r, 0);
        initial[i] = champ(table, i != rang_decalage && i != rang_lambda);
        affine[i] = champ(table, true);
        sigmas[i] = champ(table, true);
        a_affiner[coches[i]] = new QCheckBox(table);
        grille->addWidget(initial[i], r, 1);
        grille->addWidget(affine[i], r, 2);
        grille->addWidget(sigmas[i], r, 3);
        grille->addWidget(a_affiner[coches[i]], r, 4);
    }
    connect(initial[rang_lambda], &QLineEdit::editingFinished, this, [this] {
        if (!initial[rang_lambda]->isModified()) return;
        initial[rang_lambda]->setModified(false);
        rassemble();
        const Saisie lambda = Saisie::de_texte(texte(initial[rang_lambda]->text()));
        p_.commande(
            [&] { return change_lambda_affi(p_.espace, p_.principal, lambda, p_.dialogues()); });
    });
    connect(a_affiner[6], &QCheckBox::toggled, this, [this](bool coche) {
        p_.commande([&] { return shift_selection(p_.principal, coche); });
    });
    return table;
}

QWidget* Tform1::construit_onglet_affinement() {
    auto* onglet = new QWidget;
    aide(onglet, aide_affinement);
    auto* rangee = new QHBoxLayout(onglet);
    auto* gauche = new QVBoxLayout;
    auto* boutons = new QHBoxLayout;
    lance =
        bouton_image(QStyle::SP_MediaPlay, QStringLiteral("Lauch the refinement process"), onglet);
    remplace = bouton_image(
        QStyle::SP_ArrowUp,
        QStringLiteral("Replace the initial parameters by the refined parameters"), onglet);
    restaure = bouton_image(QStyle::SP_BrowserReload,
                            QStringLiteral("Restore the initial cell parameters"), onglet);
    rapport = bouton_image(QStyle::SP_FileDialogDetailedView,
                           QStringLiteral("Edit (and print) the refinement report"), onglet);
    exporte = bouton_image(QStyle::SP_DialogSaveButton, QStringLiteral("export results to Excel"),
                           onglet);
    imprime = bouton_image(QStyle::SP_ComputerIcon, QStringLiteral("Print screen"), onglet);
    depart_lineaire = bouton_image(
        QStyle::SP_DialogApplyButton,
        QStringLiteral("Linear start: the initial cell from the indexed pairs"), onglet);
    for (QToolButton* b : {lance, remplace, restaure, rapport, exporte, imprime, depart_lineaire})
        boutons->addWidget(b);
    for (QToolButton* b : {rapport, exporte, imprime})
        b->hide();
    boutons->addStretch();
    gauche->addLayout(boutons);
    gauche->addWidget(construit_table_parametres());
    rangee->addLayout(gauche);
    auto tableau = [&](const char* titre, GrilleTextes* g, QLineEdit*& ecart,
                       GrillePeinte peinture) {
        auto* boite = new QGroupBox(QString::fromUtf8(titre), onglet);
        auto* dans = new QVBoxLayout(boite);
        dans->addWidget(g);
        auto* pied = new QHBoxLayout;
        pied->addWidget(new QLabel(QStringLiteral("Mean square deviation"), boite));
        ecart = champ(boite, true);
        pied->addWidget(ecart);
        dans->addLayout(pied);
        rangee->addWidget(boite, 1);
        g->peinture(
            [this, peinture](int ligne) { return peinture_ligne(p_.principal, peinture, ligne); });
    };
    tableau_avant = new GrilleTextes({20, 42, 42, 60, 42, 42}, false);
    tableau_apres = new GrilleTextes({15, 42, 64, 42, 42}, false);
    tableau("Before refinement", tableau_avant, ecart_avant, GrillePeinte::affinement);
    tableau("After refinement", tableau_apres, ecart_apres, GrillePeinte::apres_affinement);
    // Figures of merit of the refined cell, under the parameters.
    auto* merite = new QHBoxLayout;
    m20 = champ(onglet, true);
    fn = champ(onglet, true);
    for (QLineEdit* e : {m20, fn}) {
        e->setMaximumWidth(QWIDGETSIZE_MAX);
        e->setToolTip(
            QStringLiteral("Figures of merit of the refined cell: de Wolff's M and Smith and "
                           "Snyder's F (mean |2\u03b8 obs - calc|, possible lines)"));
        merite->addWidget(e, 1);
    }
    gauche->addLayout(merite);

    panneau_decalage = new QGroupBox(QStringLiteral("Angular Shift refinement mode"), this);
    panneau_decalage->setAutoFillBackground(true);
    auto* dans_panneau = new QVBoxLayout(panneau_decalage);
    auto* zero = new QRadioButton(QStringLiteral("As constant zero shift"), panneau_decalage);
    decalage_excentricite =
        new QRadioButton(QStringLiteral("As sample exentricity"), panneau_decalage);
    zero->setChecked(true);
    ok_decalage = new QPushButton(QStringLiteral("OK"), panneau_decalage);
    dans_panneau->addWidget(zero);
    dans_panneau->addWidget(decalage_excentricite);
    dans_panneau->addWidget(ok_decalage);
    panneau_decalage->adjustSize();
    panneau_decalage->hide();

    connect(lance, &QToolButton::clicked, this, [this] {
        rassemble();
        p_.commande([&] { return go_affinement(p_.espace, p_.principal, p_.dialogues()); });
    });
    connect(remplace, &QToolButton::clicked, this, [this] {
        rassemble();
        p_.commande([&] { return change_param(p_.espace, p_.principal, p_.dialogues()); });
    });
    connect(restaure, &QToolButton::clicked, this, [this] {
        rassemble();
        p_.commande([&] { return resto_param(p_.espace, p_.principal, p_.dialogues()); });
    });
    connect(rapport, &QToolButton::clicked, this, [this] {
        p_.commande([&] { return Impression_resultats(p_.espace, p_.dialogues()); });
    });
    connect(exporte, &QToolButton::clicked, this,
            [this] { p_.commande([&] { return transfert_excel(p_.espace, p_.dialogues()); }); });
    connect(imprime, &QToolButton::clicked, this,
            [this] { imprime_fenetre(*this, p_.dialogues()); });
    connect(depart_lineaire, &QToolButton::clicked, this, [this] {
        rassemble();
        p_.commande([&] { return linear_start(p_.espace, p_.principal, p_.dialogues()); });
    });
    connect(ok_decalage, &QPushButton::clicked, this, [this] {
        p_.commande([&] {
            return BitBtn17Click(p_.espace, p_.principal, decalage_excentricite->isChecked());
        });
    });
    return onglet;
}

QWidget* Tform1::construit_panneaux() {
    auto* colonne = new QWidget;
    auto* dans = new QVBoxLayout(colonne);
    auto* valeurs = new QGroupBox(QStringLiteral("Current values"), colonne);
    auto* grille = new QGridLayout(valeurs);
    edit_lambda = champ(valeurs);
    edit_angle1 = champ(valeurs);
    edit_angle2 = champ(valeurs);
    edit_lambda->installEventFilter(this);
    etiquette_angle1 = new QLabel(grec("2q1 ="), valeurs);
    etiquette_angle2 = new QLabel(grec("2q2 ="), valeurs);
    grille->addWidget(new QLabel(grec("l ="), valeurs), 0, 0);
    grille->addWidget(edit_lambda, 0, 1);
    grille->addWidget(etiquette_angle1, 1, 0);
    grille->addWidget(edit_angle1, 1, 1);
    grille->addWidget(etiquette_angle2, 2, 0);
    grille->addWidget(edit_angle2, 2, 1);
    bouton_change = new QPushButton(QStringLiteral("Change"), valeurs);
    bouton_change->setToolTip(QStringLiteral("re-Draw the patterns"));
    grille->addWidget(bouton_change, 3, 0, 1, 2);
    dans->addWidget(valeurs);
    auto panneau = [&](const char* titre, std::array<QLabel*, 6>& textes,
                       std::array<QLabel*, 2>& etiquettes) {
        auto* boite = new QGroupBox(QString::fromUtf8(titre), colonne);
        auto* g = new QGridLayout(boite);
        for (int i = 0; i < 6; ++i) {
            textes[static_cast<std::size_t>(i)] = new QLabel(boite);
            g->addWidget(textes[static_cast<std::size_t>(i)], i < 3 ? i : i - 2,
                         i < 3 || i == 3 ? 0 : 1, 1, i < 3 ? 2 : 1);
        }
        etiquettes[0] = new QLabel(grec("2q1"), boite);
        etiquettes[1] = new QLabel(grec("2q2"), boite);
        g->addWidget(etiquettes[0], 4, 0);
        g->addWidget(textes[4], 4, 1);
        g->addWidget(etiquettes[1], 5, 0);
        g->addWidget(textes[5], 5, 1);
        g->addWidget(textes[3], 3, 1);
        g->addWidget(new QLabel(grec("l"), boite), 3, 0);
        boite->hide();
        dans->addWidget(boite);
        return boite;
    };
    panneau_pics = panneau("Peak data", panneau_pics_textes, etiquettes_pics);
    panneau_profil = panneau("Profile", panneau_profil_textes, etiquettes_profil);
    dans->addStretch();
    connect(bouton_change, &QPushButton::clicked, this, [this] {
        rassemble();
        p_.commande(
            [&] { return relit_theta_range(p_.espace, p_.principal.maille, p_.dialogues()); });
    });
    return colonne;
}

void Tform1::relie_grilles() {
    // Only a cell the user edited is read back; selecting and moving change nothing.
    connect(grille_mesures, &QTableWidget::cellChanged, this, [this](int ligne, int colonne) {
        const auto cellule = [&](int c) {
            return Saisie::de_texte(sans_blancs(texte(grille_mesures->cellule(ligne + 1, c))));
        };
        const EditionMesure e{p_.principal.maille.lambda, ligne + 1, colonne, cellule(0),
                              cellule(2)};
        QTimer::singleShot(0, this, [this, e] {
            p_.commande([&] { return modifie_ligne_mesures(p_.espace, e, p_.dialogues()); });
        });
    });
    connect(grille_mesures_selection, &QTableWidget::cellClicked, this, [this](int ligne) {
        p_.commande(
            [&] { return click_meas_refl(p_.espace, p_.principal, ligne + 1, p_.dialogues()); });
    });
    connect(grille_calculees_selection, &QTableWidget::cellClicked, this, [this](int ligne) {
        p_.commande(
            [&] { return click_calc_refl(p_.espace, p_.principal, ligne + 1, p_.dialogues()); });
    });
    connect(grille_selection, &QTableWidget::cellChanged, this, [this](int ligne, int colonne) {
        if (colonne != 1 || ligne < 0) return;
        const std::string indices = texte(grille_selection->cellule(ligne + 1, 1));
        QTimer::singleShot(0, this, [this, ligne, indices] {
            p_.commande([&] {
                return modifie_indices(p_.espace, p_.principal, ligne + 1, indices, p_.dialogues());
            });
        });
    });
    for (GrilleTextes* g : {tableau_avant, tableau_apres}) {
        connect(g, &QTableWidget::currentCellChanged, this, [this](int ligne) {
            if (ligne >= 0) p_.commande([&] { return select_peak(p_.principal, ligne + 1); });
        });
        connect(g, &QTableWidget::cellClicked, this, [this] {
            p_.commande([&] { return click_stringgrid8(p_.espace, p_.principal); });
        });
    }
}

// What the user types is parsed once, as typed; the commands take the values.
void Tform1::relie_saisies() {
    const auto suit = [this](QLineEdit* champ, Saisie& valeur) {
        connect(champ, &QLineEdit::textEdited, this,
                [&valeur](const QString& t) { valeur = Saisie::de_texte(texte(t)); });
    };
    OngletMaille& o = p_.principal.maille;
    for (std::size_t i = 0; i < 6; ++i)
        suit(champs_maille[i], o.cellule[i]);
    suit(edit_lambda, o.lambda);
    suit(edit_angle1, o.theta_min);
    suit(edit_angle2, o.theta_max);
    suit(initial[rang_decalage], p_.principal.affinement.decalage_initial);
    suit(edit_tolerance, p_.principal.tolerance);
}

void Tform1::rassemble() {
    OngletMaille& o = p_.principal.maille;
    o.systeme_choisi = liste_systemes->currentRow();
    for (std::size_t i = 0; i < 8; ++i)
        o.coche[i] = a_affiner[i]->isChecked();
    p_.espace.liste_hm.selection = liste_hm->currentRow();
    p_.espace.liste_orsab.selection = liste_orsab->currentRow();
}

void Tform1::change_onglet() {
    const Couleur c = couleur_onglet(onglets->currentIndex() + 1);
    cadre_onglets->setStyleSheet(QStringLiteral("QFrame#cadre { %1 }").arg(couleur_fond(c)));
    cadre_onglets->setObjectName(QStringLiteral("cadre"));
    for (QPlainTextEdit* m : memos)
        m->setStyleSheet(couleur_fond(c));
    const QString rose = couleur_fond(couleur_onglet(3));
    etiquette_tolerance->setStyleSheet(rose);
    unite_tolerance->setStyleSheet(rose);
}

void Tform1::montre(const Rafraichissement& r) {
    const EspaceTravail& et = p_.espace;
    const EtatPrincipal& ep = p_.principal;
    if (r.a_change(Change::mode)) montre_libelles(libelles(et));
    montre_grilles(r);
    if (r.a_change_un({Change::mesures, Change::fichiers, Change::mode}))
        panneau_mesures->setTitle(qs(titre_mesures(et, ep)));
    if (r.a_change_un({Change::calculees, Change::mode}))
        titre_table->setText(qs(kovrin::titre_table(et, ep)));
    if (r.a_change_un({Change::fichiers, Change::plage, Change::mode})) montre_panneaux();
    if (r.a_change(Change::maille))
        montre_onglet_maille(ep.maille);
    else if (r.a_change_un({Change::plage, Change::mode}))
        montre_valeurs_courantes(ep.maille);
    if (r.a_change_un({Change::resultats, Change::mode})) montre_onglet_affinement(ep.affinement);
    if (Saisie::de_texte(texte(edit_tolerance->text())) != ep.tolerance)
        montre_saisie(edit_tolerance, texte_tolerance(ep.tolerance));
    if (r.a_change(Change::vues)) montre_visibilites();
    if (r.active_onglet_affinement) onglets->setCurrentIndex(3);
    if (r.champ_focus && *r.champ_focus >= 1 && *r.champ_focus <= 6)
        champs_maille[static_cast<std::size_t>(*r.champ_focus - 1)]->setFocus();
}

void Tform1::montre_grilles(const Rafraichissement& r) {
    const EspaceTravail& et = p_.espace;
    const EtatPrincipal& ep = p_.principal;
    const bool mode = r.a_change(Change::mode);
    // The spacings of the measured grids are at the working wavelength.
    if (mode || r.a_change_un({Change::mesures, Change::plage})) {
        grille_mesures->montre(kovrin::grille_mesures(et));
        grille_mesures_selection->montre(kovrin::grille_mesures_selection(et));
    }
    if (mode || r.a_change(Change::calculees)) {
        tableau_calcule->montre(tableau_calcule_montre(et, ep));
        grille_calculees_selection->montre(ep.raies_masquees
                                               ? kovrin::grille_calculees_selection_vide(et)
                                               : kovrin::grille_calculees_selection(et));
    }
    if (mode || r.a_change(Change::paires)) grille_selection->montre(kovrin::grille_selection(et));
    if (r.a_change(Change::maille)) {
        remplace_liste(liste_hm, et.liste_hm);
        remplace_liste(liste_orsab, et.liste_orsab);
    }
}

void Tform1::montre_panneaux() {
    const EspaceTravail& et = p_.espace;
    auto remplit = [](const PanneauDonnees& p, std::array<QLabel*, 6>& t,
                      std::array<QLabel*, 2>& e) {
        const std::string* textes[] = {&p.fichier, &p.echantillon, &p.anode,
                                       &p.lambda,  &p.angle1,      &p.angle2};
        for (std::size_t i = 0; i < 6; ++i)
            t[i]->setText(qs(*textes[i]));
        e[0]->setText(grec(p.etiquette1));
        e[1]->setText(grec(p.etiquette2));
    };
    remplit(kovrin::panneau_pics(et), panneau_pics_textes, etiquettes_pics);
    remplit(kovrin::panneau_profil(et), panneau_profil_textes, etiquettes_profil);
    panneau_pics->setVisible(panneau_pics_visible(et));
    panneau_profil->setVisible(panneau_profil_visible(et));
}

void Tform1::montre_libelles(const Libelles& l) {
    panneau_mesures->setTitle(qs(l.panneau_mesures));
    etiquette_angle1->setText(grec(l.valeur1));
    etiquette_angle2->setText(grec(l.valeur2));
    etiquettes_pics[0]->setText(grec(l.donnees1));
    etiquettes_pics[1]->setText(grec(l.donnees2));
    etiquettes_profil[0]->setText(grec(l.donnees1));
    etiquettes_profil[1]->setText(grec(l.donnees2));
    unite_tolerance->setText(grec(l.unite_tolerance));
    etiquette_decalage->setText(l.ligne_decalage_symboles ? grec(l.ligne_decalage)
                                                          : qs(l.ligne_decalage));
    const QSignalBlocker silence1(mode_theta), silence2(mode_2theta);
    (l.mode_affichage == 0 ? mode_theta : mode_2theta)->setChecked(true);
}

void Tform1::montre_onglet_maille(const OngletMaille& o) {
    {
        const QSignalBlocker silence(liste_systemes);
        liste_systemes->setCurrentRow(o.systeme_choisi);
    }
    const QString argent = couleur_fond({0xC0, 0xC0, 0xC0});
    for (std::size_t i = 0; i < 6; ++i) {
        montre_saisie(champs_maille[i], texte_parametre_maille(o.cellule[i], static_cast<int>(i)));
        champs_maille[i]->setStyleSheet(o.grise[i] ? argent : QString());
        champs_maille[i]->setReadOnly(o.grise[i]);
    }
    for (std::size_t i = 0; i < 8; ++i) {
        const QSignalBlocker silence(a_affiner[i]);
        a_affiner[i]->setChecked(o.coche[i]);
        a_affiner[i]->setEnabled(o.coche_active[i]);
    }
    montre_valeurs_courantes(o);
}

void Tform1::montre_valeurs_courantes(const OngletMaille& o) {
    const Libelles l = libelles(p_.espace);
    etiquette_angle1->setText(grec(l.valeur1));
    etiquette_angle2->setText(grec(l.valeur2));
    montre_saisie(edit_lambda, texte_lambda(o.lambda));
    montre_saisie(edit_angle1, texte_angle_domaine(o.theta_min));
    montre_saisie(edit_angle2, texte_angle_domaine(o.theta_max));
}

void Tform1::montre_onglet_affinement(const OngletAffinement& o) {
    for (std::size_t i = 0; i < 8; ++i) {
        initial[i]->setText(qs(o.initial[i]));
        affine[i]->setText(qs(o.affine[i]));
        sigmas[i]->setText(qs(o.sigmas[i]));
        const bool usuel = !o.affine[i].empty() && !o.sigmas_usuels[i].empty();
        sigmas[i]->setToolTip(
            usuel ? QStringLiteral("%1 (usual standard error)").arg(qs(o.sigmas_usuels[i]))
                  : QString());
    }
    m20->setText(qs(o.m20));
    fn->setText(qs(o.fn));
    m20->setCursorPosition(0);
    fn->setCursorPosition(0);
    tableau_avant->montre(o.avant);
    tableau_apres->montre(o.apres);
    ecart_avant->setText(qs(o.ecart_avant));
    ecart_apres->setText(qs(o.ecart_apres));
    rapport->setVisible(o.boutons_resultats);
    exporte->setVisible(o.boutons_resultats);
    imprime->setVisible(o.bouton_impression);
}

void Tform1::montre_visibilites() {
    const EtatPrincipal& ep = p_.principal;
    if (ep.boutons_pics)
        for (QWidget* w : std::initializer_list<QWidget*>{panneau_mesures, efface_pics, sauve_pics})
            w->show();
    if (ep.boutons_maille)
        for (QWidget* w : std::initializer_list<QWidget*>{panneau_cellule, panneau_calcule,
                                                          sauve_maille, efface_maille})
            w->show();
    if (ep.panneau_decalage != panneau_decalage->isVisible()) {
        panneau_decalage->move((width() - panneau_decalage->width()) / 2, 240);
        panneau_decalage->setVisible(ep.panneau_decalage);
        panneau_decalage->raise();
    }
    repeint_lignes_courantes();
}

void Tform1::repeint_lignes_courantes() {
    for (GrilleTextes* g :
         {grille_mesures_selection, grille_calculees_selection, tableau_avant, tableau_apres})
        g->viewport()->update();
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
    QMainWindow::closeEvent(e);
    QApplication::closeAllWindows();
    QApplication::quit();
}

// Only the user enters a field: with the mouse, or with Tab from a neighbouring
// cell field. The focus moved by a tab change, a window coming back or a
// message box closing is no entry.
bool Tform1::entree_voulue(const QObject* champ, const QFocusEvent& e) const {
    if (e.reason() == Qt::MouseFocusReason) return true;
    const bool tabulation =
        e.reason() == Qt::TabFocusReason || e.reason() == Qt::BacktabFocusReason;
    const bool voisin = std::find(champs_maille.begin(), champs_maille.end(),
                                  focus_precedent_.data()) != champs_maille.end();
    return tabulation && voisin && champ != edit_lambda;
}

bool Tform1::eventFilter(QObject* objet, QEvent* e) {
    if (e->type() != QEvent::FocusIn && e->type() != QEvent::FocusOut) return false;
    const auto& focus = static_cast<const QFocusEvent&>(*e);
    const bool entree = e->type() == QEvent::FocusIn;
    if (entree ? !entree_voulue(objet, focus)
               : focus.reason() == Qt::ActiveWindowFocusReason ||
                     focus.reason() == Qt::PopupFocusReason)
        return false;
    if (objet == edit_lambda && entree) {
        p_.commande([&] { return entree_lambda(p_.espace, p_.principal); });
        return false;
    }
    for (std::size_t i = 0; i < 6; ++i)
        if (objet == champs_maille[i] && !en_commande_) {
            en_commande_ = true;
            rassemble();
            const int champ = static_cast<int>(i) + 1;
            if (entree)
                p_.commande([&] { return entre_champ(p_.espace, p_.principal, champ); });
            else
                p_.commande(
                    [&] { return quitte_champ(p_.espace, p_.principal, champ, p_.dialogues()); });
            en_commande_ = false;
        }
    return false;
}

void Tform1::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void Tform1::dropEvent(QDropEvent* e) {
    std::vector<std::filesystem::path> fichiers;
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile()) fichiers.push_back(chemin(url.toLocalFile()));
    p_.ouvre_fichiers(fichiers);
}

} // namespace kovrin::fenetres
