#include "fenetres/page_affinement.h"

#include "fenetres/controles.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/grille_textes.h"
#include "fenetres/impression.h"
#include "fenetres/peintre.h"
#include "fenetres/programme.h"
#include "interface/commandes.h"
#include "interface/commandes_affinement.h"
#include "interface/peinture.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSplitter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kovrin::fenetres {

namespace {

constexpr int aide_affinement = 5;

// The rows of the parameter table, in the engine's order.
const char* const noms_rangs[] = {"decalage", "lambda", "a", "b", "c", "alpha", "beta", "gamma"};
// The check boxes keep the cell tab's order: a ... gamma, shift, lambda.
const std::size_t coche_du_rang[] = {6, 7, 0, 1, 2, 3, 4, 5};

// A read-only box wide enough for `modele`.
QLineEdit* champ_large(QWidget* parent, const char* modele) {
    QLineEdit* e = champ(parent, true);
    const int largeur = e->fontMetrics().horizontalAdvance(QString::fromUtf8(modele)) + 14;
    e->setMinimumWidth(largeur);
    e->setMaximumWidth(largeur);
    return e;
}

std::string nom(const char* prefixe, std::size_t rang) {
    return std::string(prefixe) + noms_rangs[rang];
}

} // namespace

PageAffinement::PageAffinement(Programme& programme, const ActionsPrincipales& actions,
                               QWidget& fenetre)
    : p_(programme), fenetre_(fenetre) {
    aide(this, aide_affinement);
    auto* rangee = new QHBoxLayout(this);
    auto* gauche = new QVBoxLayout;
    construit_boutons(*gauche, actions);
    gauche->addWidget(construit_table());
    rangee->addLayout(gauche);
    construit_tableaux(*rangee);
    construit_merite(*gauche);
    construit_panneau_decalage();
    relie_boutons();
}

void PageAffinement::construit_boutons(QVBoxLayout& gauche, const ActionsPrincipales& actions) {
    auto* boutons = new QHBoxLayout;
    const auto image = [this](QStyle::StandardPixmap i, const char* bulle, const char* n) {
        return nomme(bouton_image(i, QString::fromUtf8(bulle), this), n);
    };
    lance_ = image(QStyle::SP_MediaPlay, "Lauch the refinement process", "lance");
    remplace_ = image(QStyle::SP_ArrowUp,
                      "Replace the initial parameters by the refined parameters", "remplace");
    restaure_ = image(QStyle::SP_BrowserReload, "Restore the initial cell parameters", "restaure");
    rapport_ = image(QStyle::SP_FileDialogDetailedView, "Edit (and print) the refinement report",
                     "rapport");
    exporte_ = image(QStyle::SP_DialogSaveButton, "export results to Excel", "exporte");
    imprime_ = image(QStyle::SP_ComputerIcon, "Print screen", "imprime");
    residus_ = image(QStyle::SP_FileDialogContentsView,
                     "Residual plot: \u03942\u03b8 (obs \u2212 calc) against 2\u03b8", "residus");
    lineaire_ = image(QStyle::SP_DialogApplyButton,
                      "Linear start: the initial cell from the indexed pairs", "depart_lineaire");
    for (QToolButton* b :
         {lance_, remplace_, restaure_, rapport_, exporte_, residus_, imprime_, lineaire_})
        boutons->addWidget(b);
    for (QToolButton* b : {rapport_, exporte_, residus_, imprime_})
        b->hide();
    boutons->addStretch();
    gauche.addLayout(boutons);
    connect(rapport_, &QToolButton::clicked, actions.resultats, &QAction::trigger);
}

QWidget* PageAffinement::construit_table() {
    auto* table = new QWidget;
    grille_table_ = new QGridLayout(table);
    const std::pair<const char*, const char*> colonnes[] = {
        {"Initial", ""},
        {"Refined", ""},
        {"Sigmas", "The engine's figure, \u221aS/(N\u2212p), as kovrin.out gives it"},
        {"esd", "Usual standard error, \u221a(S/(N\u2212p)), two significant digits"},
        {"Value(esd)", "The refined value with its usual standard error, as journals print it"},
        {"To refine", ""}};
    int c = 1;
    for (const auto& [titre, bulle] : colonnes) {
        auto* entete = new QLabel(QString::fromUtf8(titre), table);
        entete->setToolTip(QString::fromUtf8(bulle));
        grille_table_->addWidget(entete, 0, c++);
    }
    etiquette_decalage_ = new QLabel(grec("2Dq"), table);
    const QString lignes[] = {
        QString(),           grec("l"), QStringLiteral("a"), QStringLiteral("b"),
        QStringLiteral("c"), grec("a"), grec("b"),           grec("g")};
    for (std::size_t i = 0; i < 8; ++i) {
        const int r = static_cast<int>(i) + 1;
        grille_table_->addWidget(i == 0 ? etiquette_decalage_ : new QLabel(lignes[i], table), r, 0);
        initial_[i] = champ(table, i != rang_decalage && i != rang_lambda);
        affine_[i] = champ(table, true);
        sigmas_[i] = champ(table, true);
        esd_[i] = champ_large(table, "0.0000057");
        valeur_esd_[i] = champ_large(table, "-5.431230(15)");
        for (auto [colonne, e, prefixe] :
             {std::tuple{1, initial_[i], "initial_"}, std::tuple{2, affine_[i], "affine_"},
              std::tuple{3, sigmas_[i], "sigma_"}, std::tuple{4, esd_[i], "esd_"},
              std::tuple{5, valeur_esd_[i], "valeur_esd_"}})
            grille_table_->addWidget(nomme(e, nom(prefixe, i).c_str()), r, colonne);
        ajoute_coche(i);
    }
    relie_table();
    return table;
}

// Each box keeps the state current as it is toggled.
void PageAffinement::ajoute_coche(std::size_t rang) {
    const std::size_t c = coche_du_rang[rang];
    coches_[c] = nomme(new QCheckBox(grille_table_->parentWidget()), nom("coche_", rang).c_str());
    grille_table_->addWidget(coches_[c], static_cast<int>(rang) + 1, 6);
    connect(coches_[c], &QCheckBox::toggled, this,
            [this, c](bool coche) { p_.principal.maille.coche[c] = coche; });
}

// The shift's box also asks how the shift is refined; the shift and lambda
// typed as the start are taken as typed.
void PageAffinement::relie_table() {
    connect(coches_[6], &QCheckBox::toggled, this, [this](bool coche) {
        p_.commande([&] { return shift_selection(p_.principal, coche); });
    });
    suit_saisie(*initial_[rang_decalage], p_.principal.affinement.decalage_initial);
    sur_saisie_finie(*initial_[rang_lambda], [this](const Saisie& valeur) {
        p_.commande(
            [&] { return change_lambda_affi(p_.espace, p_.principal, valeur, p_.dialogues()); });
    });
}

// The tables one above the other, each as wide as its columns; the bar
// between them gives one more rows.
void PageAffinement::construit_tableaux(QHBoxLayout& rangee) {
    auto* pile = new QSplitter(Qt::Vertical, this);
    pile->setChildrenCollapsible(false);
    rangee.addWidget(pile, 1);
    auto tableau = [&](const char* titre, GrilleTextes* g, QLineEdit*& ecart,
                       GrillePeinte peinture) {
        auto* boite = new QGroupBox(QString::fromUtf8(titre), pile);
        auto* dans = new QVBoxLayout(boite);
        dans->addWidget(g);
        auto* pied = new QHBoxLayout;
        pied->addWidget(new QLabel(QStringLiteral("Mean square deviation"), boite));
        ecart = champ(boite, true);
        pied->addWidget(ecart);
        dans->addLayout(pied);
        pile->addWidget(boite);
        g->peinture(
            [this, peinture](int ligne) { return peinture_ligne(p_.principal, peinture, ligne); });
    };
    avant_ = nomme(new GrilleTextes({20, 42, 42, 60, 42, 42}, false), "tableau_avant");
    apres_ = nomme(new GrilleTextes({15, 42, 64, 42, 42}, false), "tableau_apres");
    tableau("Before refinement", avant_, ecart_avant_, GrillePeinte::affinement);
    tableau("After refinement", apres_, ecart_apres_, GrillePeinte::apres_affinement);
    nomme(ecart_avant_, "ecart_avant");
    nomme(ecart_apres_, "ecart_apres");
    for (GrilleTextes* g : {avant_, apres_}) {
        connect(g, &QTableWidget::currentCellChanged, this, [this](int ligne) {
            if (ligne >= 0) p_.commande([&] { return select_peak(p_.principal, ligne + 1); });
        });
        connect(g, &QTableWidget::cellClicked, this, [this] {
            p_.commande([&] { return click_stringgrid8(p_.espace, p_.principal); });
        });
    }
}

// Figures of merit of the refined cell, under the parameters, which keep
// their height.
void PageAffinement::construit_merite(QVBoxLayout& gauche) {
    auto* merite = new QHBoxLayout;
    m20_ = nomme(champ(this, true), "m20");
    fn_ = nomme(champ(this, true), "fn");
    for (QLineEdit* e : {m20_, fn_}) {
        e->setMaximumWidth(QWIDGETSIZE_MAX);
        e->setToolTip(
            QStringLiteral("Figures of merit of the refined cell: de Wolff's M and Smith and "
                           "Snyder's F (mean |2\u03b8 obs - calc|, possible lines)"));
        merite->addWidget(e, 1);
    }
    gauche.addLayout(merite);
    gauche.addStretch(1);
}

void PageAffinement::construit_panneau_decalage() {
    panneau_decalage_ =
        nomme(new QGroupBox(QStringLiteral("Angular Shift refinement mode"), &fenetre_),
              "panneau_decalage");
    panneau_decalage_->setAutoFillBackground(true);
    auto* dans_panneau = new QVBoxLayout(panneau_decalage_);
    auto* zero = new QRadioButton(QStringLiteral("As constant zero shift"), panneau_decalage_);
    excentricite_ =
        nomme(new QRadioButton(QStringLiteral("As sample exentricity"), panneau_decalage_),
              "decalage_excentricite");
    zero->setChecked(true);
    ok_decalage_ = nomme(new QPushButton(QStringLiteral("OK"), panneau_decalage_), "ok_decalage");
    dans_panneau->addWidget(zero);
    dans_panneau->addWidget(excentricite_);
    dans_panneau->addWidget(ok_decalage_);
    panneau_decalage_->adjustSize();
    panneau_decalage_->hide();
    connect(ok_decalage_, &QPushButton::clicked, this, [this] {
        p_.commande(
            [&] { return BitBtn17Click(p_.espace, p_.principal, excentricite_->isChecked()); });
    });
}

void PageAffinement::relie_boutons() {
    const auto relie = [this](QToolButton* b, auto commande) {
        connect(b, &QToolButton::clicked, this, [this, commande] {
            p_.commande([&] { return commande(p_.espace, p_.principal, p_.dialogues()); });
        });
    };
    relie(lance_, [](EspaceTravail& et, EtatPrincipal& ep, Dialogues& d) {
        return go_affinement(et, ep, d);
    });
    relie(remplace_, change_param);
    relie(restaure_, resto_param);
    relie(lineaire_, linear_start);
    connect(exporte_, &QToolButton::clicked, this,
            [this] { p_.commande([&] { return transfert_excel(p_.espace, p_.dialogues()); }); });
    connect(residus_, &QToolButton::clicked, this, [this] { p_.montre_residus(); });
    connect(imprime_, &QToolButton::clicked, this,
            [this] { imprime_fenetre(fenetre_, p_.dialogues()); });
}

void PageAffinement::montre(const Rafraichissement& r) {
    if (r.a_change(Change::mode)) {
        const Libelles l = libelles(p_.espace);
        etiquette_decalage_->setText(l.ligne_decalage_symboles ? grec(l.ligne_decalage)
                                                               : qs(l.ligne_decalage));
    }
    if (r.a_change(Change::maille)) montre_coches(p_.principal.maille);
    if (r.a_change_un({Change::resultats, Change::mode})) montre_resultats(p_.principal.affinement);
    if (r.a_change(Change::vues)) montre_panneau_decalage();
}

void PageAffinement::montre_coches(const OngletMaille& o) {
    for (std::size_t i = 0; i < 8; ++i) {
        const QSignalBlocker silence(coches_[i]);
        coches_[i]->setChecked(o.coche[i]);
        coches_[i]->setEnabled(o.coche_active[i]);
    }
}

void PageAffinement::montre_resultats(const OngletAffinement& o) {
    for (std::size_t i = 0; i < 8; ++i) {
        initial_[i]->setText(qs(o.initial[i]));
        affine_[i]->setText(qs(o.affine[i]));
        sigmas_[i]->setText(qs(o.sigmas[i]));
        esd_[i]->setText(qs(o.esd[i]));
        valeur_esd_[i]->setText(qs(o.valeur_esd[i]));
    }
    for (QLineEdit* e : {m20_, fn_}) {
        e->setText(qs(e == m20_ ? o.m20 : o.fn));
        e->setCursorPosition(0);
    }
    avant_->montre(o.avant);
    apres_->montre(o.apres);
    ecart_avant_->setText(qs(o.ecart_avant));
    ecart_apres_->setText(qs(o.ecart_apres));
    rapport_->setVisible(o.boutons_resultats);
    exporte_->setVisible(o.boutons_resultats);
    residus_->setVisible(o.boutons_resultats);
    imprime_->setVisible(o.bouton_impression);
}

void PageAffinement::montre_panneau_decalage() {
    const bool visible = p_.principal.panneau_decalage;
    if (visible != panneau_decalage_->isVisible()) {
        panneau_decalage_->move((fenetre_.width() - panneau_decalage_->width()) / 2, 240);
        panneau_decalage_->setVisible(visible);
        panneau_decalage_->raise();
    }
    avant_->viewport()->update();
    apres_->viewport()->update();
}

} // namespace kovrin::fenetres
