#include "fenetres/dialogue_indexation.h"

#include "fenetres/controles.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/pages_principale.h"
#include "fenetres/programme.h"
#include "interface/commandes_indexation.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace kovrin::fenetres {

namespace {

int coeurs() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

QDoubleSpinBox* boite_reelle(double min, double max, double valeur, const QString& suffixe,
                             QWidget* parent) {
    auto* b = new QDoubleSpinBox(parent);
    b->setRange(min, max);
    b->setDecimals(0);
    b->setValue(valeur);
    b->setSuffix(suffixe);
    return b;
}

QSpinBox* boite_entiere(int min, int max, int valeur, QWidget* parent) {
    auto* b = new QSpinBox(parent);
    b->setRange(min, max);
    b->setValue(valeur);
    return b;
}

} // namespace

DialogueIndexation::DialogueIndexation(Programme& programme) : p_(programme) {
    setWindowTitle(QStringLiteral("Index the measured reflections"));
    setWindowModality(Qt::ApplicationModal);
    auto* colonne = new QVBoxLayout(this);
    colonne->addWidget(construit_options());
    barre_ = nomme(new QProgressBar(this), "barre_indexation");
    barre_->setFormat(QStringLiteral("%p % of the time limit"));
    etat_ = nomme(new QLabel(this), "etat_indexation");
    etat_->setWordWrap(true);
    colonne->addWidget(barre_);
    colonne->addWidget(etat_);
    colonne->addWidget(construit_table(), 1);
    auto* boutons = new QHBoxLayout;
    cherche_ = nomme(new QPushButton(QStringLiteral("Search"), this), "cherche_indexation");
    annule_ = nomme(new QPushButton(QStringLiteral("Cancel"), this), "annule_indexation");
    utilise_ = nomme(new QPushButton(QStringLiteral("Use"), this), "utilise_indexation");
    ferme_ = nomme(new QPushButton(QStringLiteral("Close"), this), "ferme_indexation");
    for (QPushButton* b : {cherche_, annule_, utilise_, ferme_})
        boutons->addWidget(b);
    colonne->addLayout(boutons);
    connect(cherche_, &QPushButton::clicked, this, &DialogueIndexation::lance);
    connect(annule_, &QPushButton::clicked, this, &DialogueIndexation::annule);
    connect(utilise_, &QPushButton::clicked, this, &DialogueIndexation::utilise);
    connect(ferme_, &QPushButton::clicked, this, &DialogueIndexation::reject);
    cherche_->setDefault(true);
    if (!retient_geometrie(*this, QStringLiteral("indexation"))) resize(960, 640);
    minuterie_ = new QTimer(this);
    minuterie_->setInterval(200);
    connect(minuterie_, &QTimer::timeout, this, &DialogueIndexation::avance_barre);
    etat_boutons();
}

DialogueIndexation::~DialogueIndexation() {
    arrete_fil();
}

QWidget* DialogueIndexation::construit_options() {
    auto* cadre = new QGroupBox(QStringLiteral("Search"), this);
    auto* grille = new QGridLayout(cadre);
    const OptionsIndexation defaut;
    for (std::size_t i = 0; i < table_systemes.size(); ++i) {
        systemes_[i] = new QCheckBox(qs(std::string(table_systemes[i].legende)), cadre);
        systemes_[i]->setObjectName(QStringLiteral("systeme_%1").arg(i));
        systemes_[i]->setChecked(defaut.systemes[i]);
        grille->addWidget(systemes_[i], static_cast<int>(i) / 4, static_cast<int>(i) % 4);
    }
    auto* formulaire = new QFormLayout;
    volume_ =
        nomme(boite_reelle(50, 20000, defaut.volume_max, QStringLiteral(" \u00c5\u00b3"), cadre),
              "volume_indexation");
    non_indexees_ = nomme(boite_entiere(0, 10, defaut.non_indexees_max, cadre), "non_indexees");
    zero_ = nomme(new QCheckBox(QStringLiteral("within \u00b10.1\u00b0 2\u03b8"), cadre),
                  "zero_indexation");
    zero_->setChecked(defaut.zero);
    duree_ = nomme(boite_reelle(1, 3600, defaut.duree_max, QStringLiteral(" s"), cadre),
                   "duree_indexation");
    fils_ = nomme(boite_entiere(1, 64, coeurs(), cadre), "fils_indexation");
    formulaire->addRow(QStringLiteral("Largest cell volume"), volume_);
    formulaire->addRow(QStringLiteral("Unindexed lines among the first 20"), non_indexees_);
    formulaire->addRow(QStringLiteral("Zero shift"), zero_);
    formulaire->addRow(QStringLiteral("Time limit"), duree_);
    formulaire->addRow(QStringLiteral("Threads"), fils_);
    grille->addLayout(formulaire, 2, 0, 1, 4);
    return cadre;
}

QWidget* DialogueIndexation::construit_table() {
    table_ = nomme(new QTableWidget(0, static_cast<int>(colonnes_solutions.size()), this),
                   "table_solutions");
    QStringList titres;
    for (const char* c : colonnes_solutions)
        titres << QString::fromUtf8(c);
    table_->setHorizontalHeaderLabels(titres);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &DialogueIndexation::etat_boutons);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &DialogueIndexation::utilise);
    return table_;
}

void DialogueIndexation::ouvre() {
    if (const auto refus = refus_indexation(p_.espace)) {
        p_.dialogues().erreur(*refus);
        return;
    }
    solutions_.clear();
    table_->setRowCount(0);
    barre_->setValue(0);
    etat_->setText(QStringLiteral("%1 measured reflections at \u03bb = %2 \u00c5")
                       .arg(p_.espace.mesures.taille())
                       .arg(p_.espace.lambda, 0, 'f', 5));
    etat_boutons();
    show();
    raise();
    activateWindow();
}

OptionsIndexation DialogueIndexation::options() const {
    OptionsIndexation o;
    for (std::size_t i = 0; i < systemes_.size(); ++i)
        o.systemes[i] = systemes_[i]->isChecked();
    o.volume_max = volume_->value();
    o.non_indexees_max = non_indexees_->value();
    o.zero = zero_->isChecked();
    o.duree_max = duree_->value();
    o.fils = fils_->value();
    return o;
}

void DialogueIndexation::lance() {
    if (en_cours()) return;
    const OptionsIndexation o = options();
    if (std::none_of(o.systemes.begin(), o.systemes.end(), [](bool b) { return b; })) {
        p_.dialogues().erreur("Choose at least one crystal system to search");
        return;
    }
    solutions_.clear();
    table_->setRowCount(0);
    annulation_ = false;
    duree_max_ = o.duree_max;
    chrono_.start();
    minuterie_->start();
    barre_->setValue(0);
    barre_->setFormat(QStringLiteral("%p % of the time limit"));
    etat_->setText(QStringLiteral("Searching\u2026"));
    const std::vector<double> angles = angles_a_indexer(p_.espace);
    const double lambda = p_.espace.lambda;
    fil_ = std::thread([this, angles, lambda, o] {
        const auto progres = [this](const ProgresIndexation& p) {
            QMetaObject::invokeMethod(
                this, [this, p] { montre_progres(p); }, Qt::QueuedConnection);
        };
        ResultatIndexation r = indexe(angles, lambda, o, progres, &annulation_);
        QMetaObject::invokeMethod(
            this, [this, r = std::move(r), o]() mutable { fin(std::move(r), o); },
            Qt::QueuedConnection);
    });
    etat_boutons();
}

void DialogueIndexation::annule() {
    annulation_ = true;
}

void DialogueIndexation::montre_progres(const ProgresIndexation& p) {
    if (!en_cours()) return;
    etat_->setText(qs(texte_progres(p)));
    avance_barre();
}

void DialogueIndexation::avance_barre() {
    const double ecoule = static_cast<double>(chrono_.elapsed()) / 1000;
    barre_->setValue(std::min(100, static_cast<int>(100 * ecoule / duree_max_)));
}

void DialogueIndexation::fin(ResultatIndexation r, OptionsIndexation o) {
    const double duree = static_cast<double>(chrono_.elapsed()) / 1000;
    arrete_fil();
    barre_->setValue(100);
    barre_->setFormat(QStringLiteral("Ended after %1 s").arg(duree, 0, 'f', 1));
    etat_->setText(qs(bilan_indexation(r, o)));
    solutions_ = std::move(r.solutions);
    const auto lignes = lignes_solutions(solutions_);
    table_->setRowCount(static_cast<int>(lignes.size()));
    for (std::size_t i = 0; i < lignes.size(); ++i)
        for (std::size_t j = 0; j < lignes[i].size(); ++j)
            table_->setItem(static_cast<int>(i), static_cast<int>(j),
                            new QTableWidgetItem(qs(lignes[i][j])));
    if (!solutions_.empty()) table_->selectRow(0);
    etat_boutons();
}

void DialogueIndexation::utilise() {
    const int ligne = table_->currentRow();
    if (en_cours() || ligne < 0 || ligne >= static_cast<int>(solutions_.size())) return;
    const SolutionIndexation s = solutions_[static_cast<std::size_t>(ligne)];
    if (p_.commande(
            [&] { return prend_solution_indexation(p_.espace, p_.principal, s, p_.dialogues()); }))
        accept();
}

void DialogueIndexation::reject() {
    arrete_fil();
    QDialog::reject();
}

void DialogueIndexation::arrete_fil() {
    minuterie_->stop();
    if (!fil_.joinable()) return;
    annulation_ = true;
    fil_.join();
}

void DialogueIndexation::etat_boutons() {
    const bool cours = en_cours();
    cherche_->setEnabled(!cours);
    annule_->setEnabled(cours);
    utilise_->setEnabled(!cours && table_->currentRow() >= 0 && !solutions_.empty());
}

} // namespace kovrin::fenetres
