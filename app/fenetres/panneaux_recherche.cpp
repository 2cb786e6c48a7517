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

QSlider* curseur(int maximum, QWidget* parent) {
    auto* c = new QSlider(Qt::Horizontal, parent);
    c->setRange(1, maximum);
    c->setMinimumWidth(120);
    return c;
}

QLineEdit* boite(const char* texte, QWidget* parent) {
    auto* b = new QLineEdit(QString::fromUtf8(texte), parent);
    b->setReadOnly(true);
    b->setMaximumWidth(60);
    return b;
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
    const PositionsRecherche depart;
    seuil = curseur(100, cadre);
    largeur_min = curseur(50, cadre);
    largeur_max = curseur(50, cadre);
    seuil->setValue(depart.seuil);
    largeur_min->setValue(depart.largeur_min);
    largeur_max->setValue(depart.largeur_max);
    texte_seuil = boite("2", cadre);
    texte_min = boite("0.10", cadre);
    texte_max = boite("1", cadre);
    const std::tuple<const char*, QSlider*, QLineEdit*> lignes[] = {
        {" Threshold :", seuil, texte_seuil},
        {"Min Width (\u00b0)", largeur_min, texte_min},
        {"Max Width (\u00b0)", largeur_max, texte_max}};
    int r = 0;
    for (const auto& [nom, c, b] : lignes) {
        grille->addWidget(new QLabel(QString::fromUtf8(nom), cadre), r, 0);
        grille->addWidget(c, r, 1);
        grille->addWidget(b, r++, 2);
    }
    methode = new QComboBox(cadre);
    methode->setObjectName(QStringLiteral("methode_recherche"));
    methode->addItems({QStringLiteral("Second derivative"), QStringLiteral("Counting statistics")});
    grille->addWidget(new QLabel(QStringLiteral("Method:"), cadre), r, 0);
    grille->addWidget(methode, r++, 1, 1, 2);
    cherche = new QPushButton(QStringLiteral("Search"), cadre);
    ferme = new QPushButton(QStringLiteral("Close"), cadre);
    grille->addWidget(cherche, r, 1);
    grille->addWidget(ferme, r, 2);
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

void PanneauRecherche::relie(Programme& p) {
    connect(seuil, &QSlider::valueChanged, this, [this, &p](int position) {
        texte_seuil->setText(qs(lit_threshold(p.espace.recherche, position)));
    });
    connect(largeur_min, &QSlider::valueChanged, this, [this, &p](int position) {
        texte_min->setText(qs(lit_width_mini(p.espace.recherche, position)));
    });
    connect(largeur_max, &QSlider::valueChanged, this, [this, &p](int position) {
        texte_max->setText(qs(lit_width_maxi(p.espace.recherche, position)));
    });
    // The contamination boxes are parsed as typed; "Search" takes the values.
    ChampsContamination& c = p.profil.contamination;
    Saisie* valeurs[] = {&c.longueur_l1, &c.pourcentage_l1, &c.longueur_l2, &c.pourcentage_l2};
    for (std::size_t i = 0; i < 4; ++i)
        suit_saisie(*champs_contamination[i], *valeurs[i]);
    // The method chosen is remembered from one run of the program to the next.
    p.profil.methode = static_cast<MethodeRecherche>(QSettings().value(cle_methode, 0).toInt());
    montre_methode(p.profil.methode);
    connect(methode, &QComboBox::activated, this, [&p](int choix) {
        p.profil.methode = static_cast<MethodeRecherche>(choix);
        QSettings().setValue(cle_methode, choix);
    });
    connect(cherche, &QPushButton::clicked, this, [this, &p] {
        const LimitesRecherche limites = limites_de_positions(positions());
        p.commande(
            [&] { return cherche_avec_methode(p.espace, p.profil, limites, p.dialogues()); });
        QSettings().setValue(cle_methode, static_cast<int>(p.profil.methode));
    });
    connect(ferme, &QPushButton::clicked, this,
            [&p] { p.commande([&] { return fin_de_search(p.espace, p.profil); }); });
}

void PanneauRecherche::montre_methode(MethodeRecherche m) {
    const QSignalBlocker silence(methode);
    methode->setCurrentIndex(static_cast<int>(m));
}

void PanneauRecherche::montre_contamination(const ChampsContamination& c) {
    const Saisie* valeurs[] = {&c.longueur_l1, &c.pourcentage_l1, &c.longueur_l2,
                               &c.pourcentage_l2};
    for (std::size_t i = 0; i < 4; ++i)
        if (const auto t = texte_contamination(*valeurs[i]))
            champs_contamination[i]->setText(qs(*t));
}

PositionsRecherche PanneauRecherche::positions() const {
    return {seuil->value(), largeur_min->value(), largeur_max->value()};
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
