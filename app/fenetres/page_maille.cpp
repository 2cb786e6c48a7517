#include "fenetres/page_maille.h"

#include "fenetres/controles.h"
#include "fenetres/dialogue_indexation.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/grille_textes.h"
#include "fenetres/peintre.h"
#include "fenetres/programme.h"
#include "interface/commandes.h"
#include "interface/commandes_maille.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovrin::fenetres {

namespace {

const char* const memo_maille =
    "Second step: Enter the initial cell parameters.\n\n"
    "Choose the crystal system, then a space group in one of the two lists (Hermann-Mauguin "
    "symbols, or symbols with their Hall notation). Type a, b, c, \u03b1, \u03b2, \u03b3: the "
    "fields the system ties are filled for you. \"File\" reads a cell file (.cry or ICSD); a new "
    "phase's cell is found from the measured lines by \"Index\u2026\".\n"
    "Check \u03bb and the angle range in \"Current values\", then press \"Calc.\": every "
    "allowed reflection of the range is listed with its spacing and angle.";

constexpr int aide_maille = 3;
constexpr Couleur bleu_clair{0xB2, 0xE0, 0xFF};

void remplace_liste(QListWidget* l, const ListeSymboles& s) {
    const QSignalBlocker silence(l);
    l->clear();
    for (const std::string& e : s.entrees)
        l->addItem(qs(e));
    l->setCurrentRow(s.selection);
}

} // namespace

PageMaille::PageMaille(Programme& programme, const ActionsPrincipales& actions) : p_(programme) {
    aide(this, aide_maille);
    auto* rangee = new QHBoxLayout(this);
    auto* gauche = new QVBoxLayout;
    memo_ = memo(memo_maille, this);
    gauche->addWidget(memo_, 1);
    construit_boutons(*gauche, actions);
    rangee->addLayout(gauche, 1);
    construit_cellule();
    gauche->addWidget(panneau_cellule_, 2);
    construit_calcule();
    rangee->addWidget(panneau_calcule_, 1);
    relie_listes();
    connect(qApp, &QApplication::focusChanged, this,
            // Seen before the next focus event: the widget the focus leaves.
            [this](QWidget*, QWidget* nouveau) { focus_precedent_ = nouveau; });
}

PageMaille::~PageMaille() {
    disconnect(qApp, nullptr, this, nullptr);
}

void PageMaille::construit_boutons(QVBoxLayout& gauche, const ActionsPrincipales& actions) {
    auto* boutons = new QHBoxLayout;
    clavier_ = nomme(bouton(QStringLiteral("Keyboard"), bleu_clair, this), "clavier_maille");
    fichier_ = nomme(bouton(QStringLiteral("File"), bleu_clair, this), "fichier_maille");
    sauve_ = nomme(bouton(QStringLiteral("Save"), bleu_clair, this), "sauve_maille");
    efface_ = nomme(bouton(QStringLiteral("Erase"), bleu_clair, this), "efface_maille");
    indexe_ = nomme(bouton(QStringLiteral("Index\u2026"), bleu_clair, this), "indexe_maille");
    indexe_->setToolTip(QStringLiteral("Find the cell from the measured reflections"));
    for (QPushButton* b : {clavier_, fichier_, indexe_, sauve_, efface_})
        boutons->addWidget(b);
    sauve_->hide();
    efface_->hide();
    gauche.addLayout(boutons);
    connect(clavier_, &QPushButton::clicked, this,
            [this] { p_.commande([&] { return enter_keyb_param(p_.principal); }); });
    connect(fichier_, &QPushButton::clicked, this, [this, menu = actions.ouvre_maille] {
        p_.commande([&] { return enter_keyb_param(p_.principal); });
        menu->popup(window()->mapToGlobal(QPoint(170, 110)));
    });
    connect(indexe_, &QPushButton::clicked, this, [this] { p_.indexation().ouvre(); });
    connect(sauve_, &QPushButton::clicked, actions.sauve_maille, &QAction::trigger);
    connect(efface_, &QPushButton::clicked, this,
            [this] { p_.commande([&] { return rase_raies_indx(p_.espace); }); });
}

void PageMaille::construit_cellule() {
    panneau_cellule_ = new QGroupBox(this);
    auto* grille = new QGridLayout(panneau_cellule_);
    grille->addWidget(new QLabel(QStringLiteral("System"), panneau_cellule_), 0, 0);
    systemes_ = nomme(new QListWidget(panneau_cellule_), "liste_systemes");
    for (const FicheSysteme& f : table_systemes)
        systemes_->addItem(qs(std::string(f.legende)));
    grille->addWidget(systemes_, 1, 0, 6, 1);
    construit_champs(*grille);
    grille->addWidget(new QLabel(QStringLiteral("H-M standard symbols"), panneau_cellule_), 0, 3);
    hm_ = nomme(new QListWidget(panneau_cellule_), "liste_hm");
    grille->addWidget(hm_, 1, 3, 6, 1);
    grille->addWidget(new QLabel(QStringLiteral("Symbols with Hall notation"), panneau_cellule_), 0,
                      4);
    orsab_ = nomme(new QListWidget(panneau_cellule_), "liste_orsab");
    orsab_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    grille->addWidget(orsab_, 1, 4, 6, 1);
    calc_ = nomme(new QPushButton(QStringLiteral("Calc."), panneau_cellule_), "bouton_calc");
    ed_print_ =
        nomme(new QPushButton(QStringLiteral("Ed/Print"), panneau_cellule_), "bouton_ed_print");
    grille->addWidget(calc_, 7, 2);
    grille->addWidget(ed_print_, 7, 3);
    grille->setRowStretch(8, 1); // a taller page leaves the headers with their lists
    panneau_cellule_->hide();
    connect(calc_, &QPushButton::clicked, this, [this] {
        p_.commande([&] { return calcul_diagramme(p_.espace, p_.principal, p_.dialogues()); });
    });
    connect(ed_print_, &QPushButton::clicked, this, [this] {
        p_.commande([&] { return edit_print_raies_indx(p_.espace, p_.dialogues()); });
    });
}

// What the user types is parsed once, as typed; the commands take the values.
void PageMaille::construit_champs(QGridLayout& grille) {
    const char* etiquettes[] = {"a", "b", "c", "a", "b", "g"};
    const char* noms[] = {"champ_a",     "champ_b",    "champ_c",
                          "champ_alpha", "champ_beta", "champ_gamma"};
    for (std::size_t i = 0; i < 6; ++i) {
        const int r = static_cast<int>(i) + 1;
        grille.addWidget(new QLabel(i < 3 ? QString::fromUtf8(etiquettes[i]) : grec(etiquettes[i]),
                                    panneau_cellule_),
                         r, 1);
        champs_[i] = nomme(champ(panneau_cellule_), noms[i]);
        champs_[i]->installEventFilter(this);
        // Enter validates the field as leaving it with Tab does.
        connect(champs_[i], &QLineEdit::returnPressed, this, [e = champs_[i]] {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(e, &tab);
        });
        grille.addWidget(champs_[i], r, 2);
        suit_saisie(*champs_[i], p_.principal.maille.cellule[i]);
    }
}

void PageMaille::construit_calcule() {
    panneau_calcule_ = new QGroupBox(this);
    auto* dans_calcule = new QVBoxLayout(panneau_calcule_);
    titre_table_ = new QLabel(qs(titre_table_initial), panneau_calcule_);
    dans_calcule->addWidget(titre_table_);
    tableau_ = nomme(new GrilleTextes({40, 40, 40}, false, panneau_calcule_), "tableau_calcule");
    dans_calcule->addWidget(tableau_);
    panneau_calcule_->hide();
}

// A click runs the list's command; a row reached with the keys is only
// remembered, as the current row the next command takes.
void PageMaille::relie_listes() {
    connect(systemes_, &QListWidget::currentRowChanged, this,
            [this](int ligne) { p_.principal.maille.systeme_choisi = ligne; });
    connect(hm_, &QListWidget::currentRowChanged, this,
            [this](int ligne) { p_.espace.liste_hm.selection = ligne; });
    connect(orsab_, &QListWidget::currentRowChanged, this,
            [this](int ligne) { p_.espace.liste_orsab.selection = ligne; });
    connect(systemes_, &QListWidget::itemClicked, this, [this] {
        p_.commande([&] { return set_systeme(p_.espace, p_.principal, systemes_->currentRow()); });
    });
    connect(hm_, &QListWidget::itemClicked, this, [this] {
        p_.commande([&] {
            return selecte_groupe_hm(p_.espace, p_.principal, hm_->currentRow(), p_.dialogues());
        });
    });
    connect(orsab_, &QListWidget::itemClicked, this, [this] {
        p_.commande([&] {
            return selecte_groupe_orsab(p_.espace, p_.principal, orsab_->currentRow(),
                                        p_.dialogues());
        });
    });
}

void PageMaille::colore(const QString& fond) {
    memo_->setStyleSheet(fond);
}

void PageMaille::montre(const Rafraichissement& r) {
    const EspaceTravail& et = p_.espace;
    const EtatPrincipal& ep = p_.principal;
    if (r.a_change_un({Change::mode, Change::calculees}))
        tableau_->montre(tableau_calcule_montre(et, ep));
    if (r.a_change(Change::maille)) {
        remplace_liste(hm_, et.liste_hm);
        remplace_liste(orsab_, et.liste_orsab);
    }
    if (r.a_change_un({Change::calculees, Change::mode}))
        titre_table_->setText(qs(kovrin::titre_table(et, ep)));
    if (r.a_change(Change::maille)) montre_onglet(ep.maille);
    if (r.a_change(Change::vues) && ep.boutons_maille)
        for (QWidget* w :
             std::initializer_list<QWidget*>{panneau_cellule_, panneau_calcule_, sauve_, efface_})
            w->show();
}

void PageMaille::montre_focus(const Rafraichissement& r) {
    if (r.champ_focus && *r.champ_focus >= 1 && *r.champ_focus <= 6)
        champs_[static_cast<std::size_t>(*r.champ_focus - 1)]->setFocus();
}

void PageMaille::montre_onglet(const OngletMaille& o) {
    {
        const QSignalBlocker silence(systemes_);
        systemes_->setCurrentRow(o.systeme_choisi);
    }
    const QString gris = style_fond(argent);
    for (std::size_t i = 0; i < 6; ++i) {
        montre_saisie(champs_[i], texte_parametre_maille(o.cellule[i], static_cast<int>(i)));
        champs_[i]->setStyleSheet(o.grise[i] ? gris : QString());
        champs_[i]->setReadOnly(o.grise[i]);
    }
}

// Only the user enters a field: with the mouse, or with Tab from a neighbouring
// cell field. The focus moved by a tab change, a window coming back or a
// message box closing is no entry.
bool PageMaille::entree_voulue(const QFocusEvent& e) const {
    if (e.reason() == Qt::MouseFocusReason) return true;
    const bool tabulation =
        e.reason() == Qt::TabFocusReason || e.reason() == Qt::BacktabFocusReason;
    const bool voisin =
        std::find(champs_.begin(), champs_.end(), focus_precedent_.data()) != champs_.end();
    return tabulation && voisin;
}

bool PageMaille::eventFilter(QObject* objet, QEvent* e) {
    if (signalsBlocked()) return false; // the main window is on its way out
    if (e->type() != QEvent::FocusIn && e->type() != QEvent::FocusOut) return false;
    const auto& focus = static_cast<const QFocusEvent&>(*e);
    const bool entree = e->type() == QEvent::FocusIn;
    if (entree ? !entree_voulue(focus)
               : focus.reason() == Qt::ActiveWindowFocusReason ||
                     focus.reason() == Qt::PopupFocusReason)
        return false;
    const auto i = std::find(champs_.begin(), champs_.end(), objet);
    if (i == champs_.end() || en_commande_) return false;
    en_commande_ = true;
    const int champ = static_cast<int>(i - champs_.begin()) + 1;
    if (entree) // entering a field is no step of its own to undo
        p_.commande([&] { return entre_champ(p_.espace, p_.principal, champ); }, false);
    else
        p_.commande([&] { return quitte_champ(p_.espace, p_.principal, champ, p_.dialogues()); });
    en_commande_ = false;
    return false;
}

} // namespace kovrin::fenetres
