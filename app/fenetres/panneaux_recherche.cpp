#include "fenetres/panneaux_recherche.h"

#include "fenetres/controles.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/peintre.h"
#include "fenetres/programme.h"
#include "interface/commandes_profil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace kovrin::fenetres {

namespace {

const QString cle_methode = QStringLiteral("recherche/methode");

QLabel* pastille(int code, QWidget* parent) {
    auto* p = new QLabel(parent);
    p->setFixedSize(14, 14);
    p->setStyleSheet(style_fond(couleur_genre_raie(code)));
    return p;
}

QString style_texte(int code) {
    const Couleur c = couleur_genre_raie(code);
    return QStringLiteral("color: rgb(%1,%2,%3);").arg(c.r).arg(c.g).arg(c.b);
}

QSlider* curseur(LimiteRecherche quelle, const char* nom, QWidget* parent) {
    auto* c = new QSlider(Qt::Horizontal, parent);
    c->setObjectName(QString::fromUtf8(nom));
    c->setRange(1, position_maximale(quelle));
    c->setMinimumWidth(120);
    return c;
}

QLineEdit* boite(const char* texte, const char* nom, QWidget* parent) {
    auto* b = new QLineEdit(QString::fromUtf8(texte), parent);
    b->setObjectName(QString::fromUtf8(nom));
    b->setMaximumWidth(60);
    return b;
}

std::size_t indice(LimiteRecherche quelle) {
    return static_cast<std::size_t>(quelle);
}

} // namespace

PanneauRecherche::PanneauRecherche(Programme& programme, QWidget* parent)
    : QGroupBox(QStringLiteral("Peak Search parameters"), parent) {
    auto* rangee = new QHBoxLayout(this);
    rangee->addWidget(construit_curseurs());
    rangee->addWidget(construit_contamination());
    rangee->addWidget(construit_legende());
    rangee->addStretch();
    relie(programme);
}

QWidget* PanneauRecherche::construit_curseurs() {
    auto* cadre = new QWidget(this);
    auto* grille = new QGridLayout(cadre);
    grille->setContentsMargins(0, 0, 0, 0);
    // The boxes open with the captions they always had.
    const std::tuple<const char*, const char*, const char*, const char*> lignes[] = {
        {" Threshold :", "seuil", "2", "texte_seuil"},
        {"Min Width (\u00b0)", "largeur_min", "0.10", "texte_min"},
        {"Max Width (\u00b0)", "largeur_max", "1", "texte_max"}};
    const PositionsRecherche depart;
    const int positions[] = {depart.seuil, depart.largeur_min, depart.largeur_max};
    int r = 0;
    for (const auto& [legende, nom_curseur, texte, nom_boite] : lignes) {
        const LimiteRecherche quelle = limites_recherche[static_cast<std::size_t>(r)];
        QSlider* c = curseurs_[indice(quelle)] = curseur(quelle, nom_curseur, cadre);
        c->setValue(positions[r]);
        boites_[indice(quelle)] = boite(texte, nom_boite, cadre);
        grille->addWidget(new QLabel(QString::fromUtf8(legende), cadre), r, 0);
        grille->addWidget(c, r, 1);
        grille->addWidget(boites_[indice(quelle)], r++, 2);
    }
    methode_ = new QComboBox(cadre);
    methode_->setObjectName(QStringLiteral("methode_recherche"));
    methode_->addItems(
        {QStringLiteral("Second derivative"), QStringLiteral("Counting statistics")});
    grille->addWidget(new QLabel(QStringLiteral("Method:"), cadre), r, 0);
    grille->addWidget(methode_, r++, 1, 1, 2);
    cherche_ = new QPushButton(QStringLiteral("Search"), cadre);
    cherche_->setObjectName(QStringLiteral("cherche"));
    ferme_ = new QPushButton(QStringLiteral("Close"), cadre);
    grille->addWidget(cherche_, r, 1);
    grille->addWidget(ferme_, r, 2);
    return cadre;
}

QWidget* PanneauRecherche::construit_contamination() {
    auto* cadre = new QGroupBox(QStringLiteral(" Source contamination"), this);
    auto* grille = new QGridLayout(cadre);
    grille->addWidget(new QLabel(grec("l"), cadre), 0, 1, Qt::AlignHCenter);
    grille->addWidget(new QLabel(QStringLiteral("%"), cadre), 0, 2, Qt::AlignHCenter);
    for (int i = 0; i < 4; ++i) {
        QLineEdit*& champ = champs_contamination[static_cast<std::size_t>(i)];
        champ = new QLineEdit(cadre);
        champ->setMaximumWidth(i % 2 ? 50 : 80);
        grille->addWidget(champ, 1 + i / 2, 1 + i % 2);
    }
    grille->addWidget(new QLabel(QStringLiteral("L1"), cadre), 1, 0);
    grille->addWidget(new QLabel(QStringLiteral("L2"), cadre), 2, 0);
    return cadre;
}

QWidget* PanneauRecherche::construit_legende() {
    auto* cadre = new QGroupBox(QStringLiteral("Color Code"), this);
    auto* grille = new QGridLayout(cadre);
    grille->setVerticalSpacing(1);
    for (int code = 1; code <= nb_genres_raie; ++code) {
        auto* nom = new QLabel(qs(nom_genre_raie(code)), cadre);
        nom->setStyleSheet(style_texte(code));
        grille->addWidget(pastille(code, cadre), code, 0);
        grille->addWidget(nom, code, 1);
    }
    return cadre;
}

// A bar moved or a box typed in sets its limit; the boxes of a refused value
// show the limit again.
void PanneauRecherche::relie_limite(Programme& p, LimiteRecherche quelle) {
    connect(curseurs_[indice(quelle)], &QSlider::valueChanged, this, [this, &p, quelle](int pos) {
        p.commande([&] { return bouge_limite(p.espace, p.profil, quelle, pos); });
        montre_limites(p.espace.recherche);
    });
    sur_saisie_finie(*boites_[indice(quelle)], [this, &p, quelle](const Saisie& saisie) {
        p.commande([&] { return tape_limite(p.espace, p.profil, quelle, saisie, p.dialogues()); });
        montre_limites(p.espace.recherche);
    });
}

void PanneauRecherche::relie(Programme& p) {
    for (LimiteRecherche quelle : limites_recherche)
        relie_limite(p, quelle);
    // The contamination boxes are parsed as typed; "Search" takes the values.
    ChampsContamination& c = p.profil.contamination;
    Saisie* valeurs[] = {&c.longueur_l1, &c.pourcentage_l1, &c.longueur_l2, &c.pourcentage_l2};
    for (std::size_t i = 0; i < 4; ++i)
        suit_saisie(*champs_contamination[i], *valeurs[i]);
    // The method chosen is remembered from one run of the program to the next.
    p.profil.methode = static_cast<MethodeRecherche>(QSettings().value(cle_methode, 0).toInt());
    montre_methode(p.profil.methode);
    connect(methode_, &QComboBox::activated, this, [&p](int choix) {
        QSettings().setValue(cle_methode, choix);
        const auto m = static_cast<MethodeRecherche>(choix);
        p.commande([&] { return choisit_methode(p.espace, p.profil, m); });
    });
    connect(cherche_, &QPushButton::clicked, this, [&p] {
        p.commande([&] { return cherche_avec_methode(p.espace, p.profil, p.dialogues()); });
        QSettings().setValue(cle_methode, static_cast<int>(p.profil.methode));
    });
    connect(ferme_, &QPushButton::clicked, this,
            [&p] { p.commande([&] { return fin_de_search(p.espace, p.profil); }); });
}

void PanneauRecherche::montre_methode(MethodeRecherche m) {
    const QSignalBlocker silence(methode_);
    methode_->setCurrentIndex(static_cast<int>(m));
}

void PanneauRecherche::montre_contamination(const ChampsContamination& c) {
    const Saisie* valeurs[] = {&c.longueur_l1, &c.pourcentage_l1, &c.longueur_l2,
                               &c.pourcentage_l2};
    for (std::size_t i = 0; i < 4; ++i)
        if (const auto t = texte_contamination(*valeurs[i]))
            champs_contamination[i]->setText(qs(*t));
}

void PanneauRecherche::montre_limites(const RecherchePics& r) {
    for (LimiteRecherche quelle : limites_recherche) {
        const double valeur = limite(r, quelle);
        QSlider* c = curseurs_[indice(quelle)];
        const QSignalBlocker silence(c);
        c->setValue(position_de_limite(quelle, valeur));
        // A box that reads the limit already keeps its text ("1" stays "1").
        QLineEdit* b = boites_[indice(quelle)];
        const Saisie lue = Saisie::de_texte(texte(b->text()));
        if (!lue.nombre() || lue.valeur != valeur) b->setText(qs(texte_limite(quelle, valeur)));
    }
}

void PanneauRecherche::prend_focus() {
    boites_[0]->setFocus();
}

PanneauGenres::PanneauGenres(Programme& programme, QWidget* parent)
    : QGroupBox(QStringLiteral("Select the peaks to be kept"), parent) {
    auto* grille = new QGridLayout(this);
    for (int code = 1; code <= nb_genres_raie; ++code) {
        QCheckBox*& c = cases[static_cast<std::size_t>(code - 1)];
        c = new QCheckBox(qs(nom_genre_raie(code)), this);
        c->setChecked(true);
        grille->addWidget(pastille(code, this), code - 1, 0);
        grille->addWidget(c, code - 1, 1);
    }
    ok = new QPushButton(QStringLiteral("OK"), this);
    grille->addWidget(ok, nb_genres_raie, 1);
    connect(ok, &QPushButton::clicked, this, [this, &programme] {
        const auto choisis = gardes();
        programme.commande(
            [&] { return BitBtn7Click(programme.espace, programme.profil, choisis); });
    });
}

std::array<bool, nb_genres_raie> PanneauGenres::gardes() const {
    std::array<bool, nb_genres_raie> g{};
    for (std::size_t i = 0; i < g.size(); ++i)
        g[i] = cases[i]->isChecked();
    return g;
}

} // namespace kovrin::fenetres
