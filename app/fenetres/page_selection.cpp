#include "fenetres/page_selection.h"

#include "fenetres/controles.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/grille_textes.h"
#include "fenetres/pages_principale.h"
#include "fenetres/peintre.h"
#include "fenetres/programme.h"
#include "interface/commandes.h"
#include "interface/decalage_zero.h"
#include "interface/peinture.h"
#include "interface/selection.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

namespace kovrin::fenetres {

namespace {

const QString cle_estime = QStringLiteral("selection/estime_decalage");

const char* const memo_selection =
    "Third step: Selection of  the reflections to be fitted.\n\n"
    "\"Automatic Selection\" pairs each measured reflection of the current range with the "
    "nearest calculated reflection within the angular tolerance.\n"
    "By hand: click a measured reflection, then a calculated one. Typing other indices in "
    "\"Selected reflections\" changes a pair; 0 0 0 deletes it.\n"
    "On the diagram, while this tab is shown, a click on a bar or tick pairs it and a right "
    "click unpairs it.";

constexpr int aide_affinement = 5;
constexpr Couleur rouge_clair{0xFF, 0xD1, 0xD1};

} // namespace

PageSelection::PageSelection(Programme& programme) : p_(programme) {
    aide(this, aide_affinement);
    new QHBoxLayout(this);
    construit_gauche();
    construit_grilles();
    relie_grilles();
}

void PageSelection::construit_gauche() {
    auto* gauche = new QVBoxLayout;
    memo_ = memo(memo_selection, this);
    memo_->setMaximumWidth(230);
    gauche->addWidget(memo_, 1);
    auto* rangee_tolerance = new QHBoxLayout;
    auto* etiquette = new QLabel(QStringLiteral("Angular tolerance"), this);
    tolerance_ = nomme(champ(this), "edit_tolerance");
    unite_tolerance_ = new QLabel(grec("2q"), this);
    const QString rose = style_fond(couleur_onglet(3));
    etiquette->setStyleSheet(rose);
    unite_tolerance_->setStyleSheet(rose);
    rangee_tolerance->addWidget(etiquette);
    rangee_tolerance->addWidget(tolerance_);
    rangee_tolerance->addWidget(unite_tolerance_);
    gauche->addLayout(rangee_tolerance);
    auto_ = nomme(bouton(QStringLiteral("Automatic Selection"), rouge_clair, this), "bouton_auto");
    efface_ = nomme(bouton(QStringLiteral("Delete Selection"), rouge_clair, this),
                    "bouton_efface_selection");
    estime_ =
        nomme(new QCheckBox(QStringLiteral("Estimate the zero shift"), this), "estime_decalage");
    gauche->addWidget(estime_);
    gauche->addWidget(auto_);
    gauche->addWidget(efface_);
    static_cast<QHBoxLayout*>(layout())->addLayout(gauche, 0);
    suit_saisie(*tolerance_, p_.principal.tolerance);
    // Ticked, the box makes the estimate the rule; it is remembered from one run to the next.
    p_.principal.estime_decalage = QSettings().value(cle_estime, false).toBool();
    estime_->setChecked(p_.principal.estime_decalage);
    connect(estime_, &QCheckBox::toggled, this, [this](bool coche) {
        p_.principal.estime_decalage = coche;
        QSettings().setValue(cle_estime, coche);
    });
    connect(auto_, &QPushButton::clicked, this, [this] {
        p_.commande([&] { return selection_du_bouton(p_.espace, p_.principal, p_.dialogues()); });
    });
    connect(efface_, &QPushButton::clicked, this,
            [this] { p_.commande([&] { return efface_selection(p_.espace, p_.principal); }); });
}

void PageSelection::construit_grilles() {
    // The two lists keep the width of their columns; the pairs take the rest.
    auto groupe = [this](const char* titre, const char* nom, GrilleTextes* g) {
        auto* boite = new QGroupBox(QString::fromUtf8(titre), this);
        auto* dans = new QVBoxLayout(boite);
        dans->addWidget(nomme(g, nom));
        static_cast<QHBoxLayout*>(layout())->addWidget(boite, g == selection_ ? 1 : 0);
    };
    mesures_ = new GrilleTextes({20, 40, 40}, false);
    calculees_ = new GrilleTextes({40, 40, 40}, false);
    selection_ = new GrilleTextes({25, 46, 46, 46, 46}, true);
    groupe("Measured reflections", "grille_mesures_selection", mesures_);
    groupe("Calculated reflections", "grille_calculees_selection", calculees_);
    groupe("Selected reflections", "grille_selection", selection_);
    mesures_->peinture([this](int ligne) {
        return peinture_ligne(p_.principal, GrillePeinte::mesures_selection, ligne);
    });
    calculees_->peinture([this](int ligne) {
        return peinture_ligne(p_.principal, GrillePeinte::calculees_selection, ligne);
    });
}

void PageSelection::relie_grilles() {
    connect(mesures_, &QTableWidget::cellClicked, this, [this](int ligne) {
        p_.commande(
            [&] { return click_meas_refl(p_.espace, p_.principal, ligne + 1, p_.dialogues()); });
    });
    connect(calculees_, &QTableWidget::cellClicked, this, [this](int ligne) {
        p_.commande(
            [&] { return click_calc_refl(p_.espace, p_.principal, ligne + 1, p_.dialogues()); });
    });
    // Typed indices are read once the edit is over.
    connect(selection_, &QTableWidget::cellChanged, this, [this](int ligne, int colonne) {
        if (colonne != 1 || ligne < 0) return;
        const auto hkl = lit_indices(texte(selection_->cellule(ligne + 1, 1)));
        QTimer::singleShot(0, this, [this, ligne, hkl] {
            p_.commande([&] {
                return modifie_indices(p_.espace, p_.principal, ligne + 1, hkl, p_.dialogues());
            });
        });
    });
}

void PageSelection::colore(const QString& fond) {
    memo_->setStyleSheet(fond);
}

void PageSelection::montre(const Rafraichissement& r) {
    const EspaceTravail& et = p_.espace;
    const EtatPrincipal& ep = p_.principal;
    const bool mode = r.a_change(Change::mode);
    if (mode) unite_tolerance_->setText(grec(libelles(et).unite_tolerance));
    if (mode || r.a_change_un({Change::mesures, Change::plage}))
        mesures_->montre(kovrin::grille_mesures_selection(et));
    if (mode || r.a_change(Change::calculees)) calculees_->montre(grille_calculees_montree(et, ep));
    if (mode || r.a_change(Change::paires)) selection_->montre(kovrin::grille_selection(et));
    if (Saisie::de_texte(texte(tolerance_->text())) != ep.tolerance)
        montre_saisie(tolerance_, texte_tolerance(ep.tolerance));
    if (r.a_change(Change::vues)) {
        mesures_->viewport()->update();
        calculees_->viewport()->update();
    }
}

} // namespace kovrin::fenetres
