#include "fenetres/tflilambda.h"

#include "fenetres/controles.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/peintre.h"
#include "fenetres/programme.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace kovrin::fenetres {

Tflilambda::Tflilambda(Programme& programme) : QDialog(nullptr), p_(programme) {
    setWindowTitle(QStringLiteral("Lambda missing"));
    auto* grille = new QGridLayout(this);
    grille->addWidget(
        new QLabel(QStringLiteral("The wavelenth was not found  in the file! "), this), 0, 0, 1, 3);
    grille->addWidget(new QLabel(QStringLiteral("What kind of Source? :"), this), 1, 0);
    liste = new QListWidget(this);
    for (const std::string& e : elements_liste_lambda)
        liste->addItem(qs(e));
    liste->setMinimumHeight(liste->sizeHintForRow(0) * liste->count() + 2 * liste->frameWidth() +
                            4);
    grille->addWidget(liste, 2, 0, 4, 1);
    const char* noms[] = {"l1", "l2", "l"};
    std::array<QLineEdit**, 3> boites = {&lambda1, &lambda2, &lambda};
    for (int i = 0; i < 3; ++i) {
        etiquettes[static_cast<std::size_t>(i)] = new QLabel(grec(noms[i]), this);
        *boites[static_cast<std::size_t>(i)] = new QLineEdit(this);
        grille->addWidget(etiquettes[static_cast<std::size_t>(i)], i + 2, 1);
        grille->addWidget(*boites[static_cast<std::size_t>(i)], i + 2, 2);
    }
    ok = new QPushButton(QStringLiteral("OK"), this);
    grille->addWidget(ok, 9, 2); // below the choice of the working wavelength
    construit_choix_lambda(*grille);
    // A choice with the arrow keys is a choice, as a click is; the current row
    // the list takes with the focus, selecting nothing, is none.
    connect(liste, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> choisis = liste->selectedItems();
        if (choisis.isEmpty()) return;
        const int ligne = liste->row(choisis.front());
        clicklistbox(p_.lambda, ligne);
        montre_etat();
        if (ligne == element_autre) lambda->setFocus();
    });
    connect(this, &QDialog::rejected, this, [this] { ferme_dialogue_lambda(p_.lambda); });
    // What the user types is parsed as typed; OK takes the values.
    for (auto [boite, valeur] : {std::pair{lambda1, &p_.lambda.lambda1},
                                 {lambda2, &p_.lambda.lambda2},
                                 {lambda, &p_.lambda.lambda}})
        suit_saisie(*boite, *valeur);
    connect(ok, &QPushButton::clicked, this, [this] {
        p_.commande([&] { return lit_lambda(p_.espace, p_.principal, p_.lambda, p_.dialogues()); });
        if (!p_.lambda.visible) accept();
    });
}

// Below the list: which wavelength of an anode becomes the working one.
void Tflilambda::construit_choix_lambda(QGridLayout& grille) {
    titre_choix_ = new QLabel(QStringLiteral("Working wavelength:"), this);
    moyenne_ = new QRadioButton(QString::fromUtf8("Weighted mean K\u03b1"), this);
    k_alpha1_ = new QRadioButton(QString::fromUtf8("K\u03b11"), this);
    moyenne_->setObjectName(QStringLiteral("moyenne_k_alpha"));
    k_alpha1_->setObjectName(QStringLiteral("k_alpha1"));
    moyenne_->setChecked(true);
    lambda_travail_ = new QLabel(this);
    lambda_travail_->setObjectName(QStringLiteral("lambda_travail"));
    grille.addWidget(titre_choix_, 6, 0);
    grille.addWidget(moyenne_, 6, 1, 1, 2);
    grille.addWidget(k_alpha1_, 7, 1, 1, 2);
    grille.addWidget(lambda_travail_, 8, 0, 1, 3);
    connect(k_alpha1_, &QRadioButton::toggled, this, [this](bool coche) {
        choisit_k_alpha1(p_.lambda, coche);
        montre_etat();
    });
}

void Tflilambda::ouvre() {
    montre_etat();
    setModal(true);
    show();
    raise();
    activateWindow();
}

void Tflilambda::montre_etat() {
    const DialogueLambda& d = p_.lambda;
    {
        const QSignalBlocker silence(liste);
        liste->setCurrentRow(d.choix);
        if (d.choix < 0) liste->clearSelection();
    }
    for (auto [boite, valeur] :
         {std::pair{lambda1, &d.lambda1}, {lambda2, &d.lambda2}, {lambda, &d.lambda}})
        if (const auto t = texte_boite_lambda(*valeur)) boite->setText(qs(*t));
    for (QWidget* w : {static_cast<QWidget*>(etiquettes[0]), static_cast<QWidget*>(lambda1),
                       static_cast<QWidget*>(etiquettes[1]), static_cast<QWidget*>(lambda2)})
        w->setVisible(d.k_alpha_visible);
    etiquettes[2]->setVisible(d.lambda_visible);
    lambda->setVisible(d.lambda_visible);
    for (QWidget* w : {static_cast<QWidget*>(titre_choix_), static_cast<QWidget*>(moyenne_),
                       static_cast<QWidget*>(k_alpha1_)})
        w->setVisible(d.k_alpha_visible);
    {
        const QSignalBlocker silence(k_alpha1_);
        (d.k_alpha1 ? k_alpha1_ : moyenne_)->setChecked(true);
    }
    lambda_travail_->setText(qs(texte_lambda_travail(d)));
}

} // namespace kovrin::fenetres
