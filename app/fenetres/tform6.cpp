#include "fenetres/tform6.h"

#include "fenetres/controles.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/image_trace.h"
#include "fenetres/impression.h"
#include "fenetres/peintre.h"
#include "fenetres/programme.h"
#include "interface/commandes.h"
#include "interface/diagramme.h"
#include "interface/prise_donnees.h"
#include "interface/selection.h"

#include <QButtonGroup>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace kovrin::fenetres {

namespace {

constexpr Couleur vert_panneau{0xE1, 0xFF, 0xF4};

const char* const ligne_aide =
    "Click and drag a rectangle to \"Zoom\" and  on the \"Z- \" button to \"Unzoom\"";

QLabel* legende(const QString& style, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setStyleSheet(style);
    QFont police = l->font();
    police.setPointSize(8);
    l->setFont(police);
    l->setFixedHeight(15);
    return l;
}

} // namespace

Tform6::Tform6(Programme& programme) : QWidget(nullptr), p_(programme) {
    setWindowTitle(QStringLiteral("Diagram"));
    setAcceptDrops(true);
    image = new ImageTrace([this](int l, int h) { return dessin(l, h); }, this);
    auto* colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(0, 0, 0, 0);
    colonne->setSpacing(0);
    colonne->addWidget(construit_legendes());
    colonne->addWidget(image, 1);
    legende_calculees = legende(QString(), this);
    colonne->addWidget(legende_calculees);
    colonne->addSpacing(15);
    colonne->addWidget(construit_panneau());
    construit_menu_profils();
    relie_controles();
    relie_souris();
    setGeometry(0, 456, 1020, 280);
    retenue_ = retient_geometrie(*this, QStringLiteral("fenetres/diagramme"));
    // Shown whenever the main window is activated: it must not take the activation away.
    setAttribute(Qt::WA_ShowWithoutActivating);
}

namespace {

constexpr int hauteur_utile = 200; // the least frame height that leaves a readable plot

} // namespace

void Tform6::place_sous(const QWidget& principale) {
    if (retenue_) return;
    const QRect cadre = principale.frameGeometry();
    const QRect ecran = principale.screen()->availableGeometry();
    const int hauteur = frameGeometry().height(), largeur = frameGeometry().width();
    if (cadre.bottom() + hauteur <= ecran.bottom())
        move(cadre.left(), cadre.bottom() + 1);
    else if (cadre.right() + largeur <= ecran.right())
        move(cadre.right() + 1, cadre.top());
    else if (const int reste = ecran.bottom() - cadre.bottom(); reste >= hauteur_utile) {
        // A small screen: below, as tall as the room left.
        move(cadre.left(), cadre.bottom() + 1);
        resize(width(), height() - (hauteur - reste));
    }
}

QWidget* Tform6::construit_legendes() {
    auto* bande = new QWidget(this);
    auto* rangee = new QHBoxLayout(bande);
    rangee->setContentsMargins(0, 0, 2, 0);
    legende_mesures = legende(QStringLiteral("background-color: white;"), bande);
    legende_profil = legende(QStringLiteral("background-color: white; color: red;"), bande);
    rangee->addWidget(legende_mesures);
    rangee->addStretch();
    rangee->addWidget(legende_profil);
    return bande;
}

QWidget* Tform6::construit_panneau() {
    auto* panneau = new QFrame(this);
    panneau->setObjectName(QStringLiteral("panneau"));
    panneau->setStyleSheet(QStringLiteral("QFrame#panneau { %1 }").arg(style_fond(vert_panneau)));
    auto* grille = new QGridLayout(panneau);
    grille->setContentsMargins(4, 2, 4, 2);
    grille->addWidget(new QLabel(QString::fromUtf8(ligne_aide), panneau), 0, 0, 1, 9);
    lecture = new QLineEdit(panneau);
    lecture_seule(*lecture);
    lecture->setMinimumWidth(200);
    grille->addWidget(lecture, 0, 9, 1, 2);
    charge_profil = bouton_bulle({}, QStyle::SP_DialogOpenButton,
                                 QStringLiteral("Load an observed diagram (RAW file)"), panneau);
    reset = bouton_bulle(QStringLiteral("Z-"), {}, QStringLiteral("Reset the diagram"), panneau);
    raze = bouton_bulle({}, QStyle::SP_DialogResetButton,
                        QStringLiteral("Reset the selected reflections"), panneau);
    efface_profil =
        bouton_bulle({}, QStyle::SP_TrashIcon, QStringLiteral("Delete the RAW diagram"), panneau);
    decalage = fleches(0, 360, 1, 180, QStringLiteral("Move the diagram"), panneau);
    echelle = fleches(10, 500, 5, 10, QStringLiteral("Modify the diagram scale"), panneau);
    imprime = bouton_bulle({}, QStyle::SP_ComputerIcon, QStringLiteral("Print screen"), panneau);
    int colonne = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{charge_profil, reset, raze, efface_profil})
        grille->addWidget(w, 1, colonne++);
    grille->addWidget(new QLabel(QStringLiteral("Move"), panneau), 1, colonne++, Qt::AlignRight);
    grille->addWidget(decalage, 1, colonne++);
    grille->addWidget(new QLabel(QStringLiteral("Scale"), panneau), 1, colonne++, Qt::AlignRight);
    grille->addWidget(echelle, 1, colonne++);
    grille->setColumnStretch(colonne++, 1);
    grille->addWidget(construit_modes(panneau), 1, colonne++);
    grille->addWidget(imprime, 1, colonne);
    return panneau;
}

QWidget* Tform6::construit_modes(QWidget* parent) {
    auto* modes = new QGroupBox(parent);
    auto* rangee = new QHBoxLayout(modes);
    rangee->setContentsMargins(4, 0, 4, 0);
    mode_theta = new QRadioButton(grec("q"), modes);
    mode_2theta = new QRadioButton(grec("2q"), modes);
    mode_2theta->setChecked(true);
    rangee->addWidget(mode_theta);
    rangee->addWidget(mode_2theta);
    auto* groupe = new QButtonGroup(modes);
    groupe->addButton(mode_theta, 0);
    groupe->addButton(mode_2theta, 1);
    connect(groupe, &QButtonGroup::idClicked, this, [this](int mode) {
        p_.commande([&] { return change_angles(p_.espace, p_.principal, mode); });
    });
    return modes;
}

void Tform6::construit_menu_profils() {
    menu_profils = new QMenu(this);
    ajoute_formats_profil(*menu_profils,
                          {{profil_raw, "&BrukerFormat (*.raw)"},
                           {profil_rietveld, "&Rietveld Format (*.dat)"},
                           {profil_cpi, "&CPI Format (*.cpi)"},
                           {profil_rd, "&Philips Format (*.rd)"}},
                          [this](int format) { p_.ouvre_profil(format); });
}

void Tform6::relie_controles() {
    connect(charge_profil, &QToolButton::clicked, this,
            [this] { menu_profils->popup(mapToGlobal(QPoint(150, 200))); });
    connect(reset, &QToolButton::clicked, this,
            [this] { p_.commande([&] { return reset_dessin(p_.espace, p_.diagramme); }); });
    connect(raze, &QToolButton::clicked, this,
            [this] { p_.commande([&] { return raze_selection(p_.espace, p_.principal); }); });
    connect(efface_profil, &QToolButton::clicked, this,
            [this] { p_.commande([&] { return efface_diagramme_raw(p_.espace); }); });
    connect(decalage, &QSpinBox::valueChanged, this, [this](int position) {
        p_.commande([&] { return shifte_diagramme(p_.espace, p_.diagramme, position); });
    });
    connect(echelle, &QSpinBox::valueChanged, this, [this](int position) {
        p_.commande([&] { return echelle_modi(p_.diagramme, position); });
    });
    connect(imprime, &QToolButton::clicked, this, [this] {
        image->actualise();
        imprime_fenetre(*this, p_.dialogues());
    });
}

void Tform6::relie_souris() {
    image->sur_appui = [this](BoutonSouris, Point p) { souris_onmouseDown(p_.diagramme, p); };
    image->sur_mouvement = [this](Point p) {
        const Survol s = affiche_theta(p_.espace, p_.diagramme, image->width(), image->height(), p);
        lecture->setText(qs(s.lecture));
        image->marques(std::nullopt, s.elastique);
    };
    image->sur_relache = [this](BoutonSouris b, Point p) {
        image->marques(std::nullopt, std::nullopt);
        p_.commande([&] {
            return relache_image(p_.espace, p_.principal, p_.diagramme, image->width(),
                                 image->height(), b, p, p_.dialogues());
        });
    };
    image->sur_sortie = [this] { lecture->clear(); };
}

Dessin Tform6::dessin(int largeur, int hauteur) {
    return dessine_spectre(p_.espace, p_.diagramme, p_.principal.ligne_pic_courante, largeur,
                           hauteur)
        .dessin;
}

void Tform6::montre(const Rafraichissement& r) {
    if (r.a_change(Change::mode)) {
        const QSignalBlocker silence1(mode_theta), silence2(mode_2theta);
        (p_.espace.mode_affichage == 0 ? mode_theta : mode_2theta)->setChecked(true);
    }
    if ((r.changes & ~static_cast<unsigned>(Change::resultats)) != 0) redessine();
}

void Tform6::redessine() {
    const QSignalBlocker silence(echelle); // a zoom or an unzoom moved the arrows
    echelle->setValue(p_.diagramme.position_echelle);
    const LegendesDiagramme l = legendes_diagramme(p_.espace);
    legende_mesures->setText(qs(l.legende_mesures));
    legende_profil->setText(qs(l.legende_profil));
    legende_calculees->setText(qs(l.legende_calculees));
    image->redessine();
}

void Tform6::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) active_diagramme(p_.diagramme);
}

void Tform6::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void Tform6::dropEvent(QDropEvent* e) {
    p_.ouvre_fichiers(fichiers_deposes(*e->mimeData()));
}

} // namespace kovrin::fenetres
