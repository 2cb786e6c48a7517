#include "fenetres/panneau_valeurs.h"

#include "fenetres/controles.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/pages_principale.h"
#include "fenetres/peintre.h"
#include "fenetres/programme.h"
#include "interface/commandes.h"
#include "interface/prise_donnees.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovrin::fenetres {

PanneauValeurs::PanneauValeurs(Programme& programme) : p_(programme) {
    auto* dans = new QVBoxLayout(this);
    construit_valeurs();
    pics_ = construit_donnees("Peak data", "panneau_pics");
    profil_ = construit_donnees("Profile", "panneau_profil");
    dans->addStretch();
    relie_saisies();
}

void PanneauValeurs::construit_valeurs() {
    auto* valeurs = new QGroupBox(QStringLiteral("Current values"), this);
    auto* grille = new QGridLayout(valeurs);
    lambda_ = nomme(champ(valeurs), "edit_lambda");
    angle1_ = nomme(champ(valeurs), "edit_angle1");
    angle2_ = nomme(champ(valeurs), "edit_angle2");
    lambda_->installEventFilter(this);
    etiquette_angle1_ = new QLabel(grec("2q1 ="), valeurs);
    etiquette_angle2_ = new QLabel(grec("2q2 ="), valeurs);
    grille->addWidget(new QLabel(grec("l ="), valeurs), 0, 0);
    grille->addWidget(lambda_, 0, 1);
    grille->addWidget(etiquette_angle1_, 1, 0);
    grille->addWidget(angle1_, 1, 1);
    grille->addWidget(etiquette_angle2_, 2, 0);
    grille->addWidget(angle2_, 2, 1);
    change_ = nomme(new QPushButton(QStringLiteral("Change"), valeurs), "bouton_change");
    change_->setToolTip(QStringLiteral("re-Draw the patterns"));
    grille->addWidget(change_, 3, 0, 1, 2);
    layout()->addWidget(valeurs);
}

PanneauValeurs::Donnees PanneauValeurs::construit_donnees(const char* titre, const char* nom) {
    Donnees d{nomme(new QGroupBox(QString::fromUtf8(titre), this), nom), {}, {}};
    auto* g = new QGridLayout(d.boite);
    for (int i = 0; i < 6; ++i) {
        d.textes[static_cast<std::size_t>(i)] = new QLabel(d.boite);
        g->addWidget(d.textes[static_cast<std::size_t>(i)], i < 3 ? i : i - 2,
                     i < 3 || i == 3 ? 0 : 1, 1, i < 3 ? 2 : 1);
    }
    d.etiquettes[0] = new QLabel(grec("2q1"), d.boite);
    d.etiquettes[1] = new QLabel(grec("2q2"), d.boite);
    g->addWidget(d.etiquettes[0], 4, 0);
    g->addWidget(d.textes[4], 4, 1);
    g->addWidget(d.etiquettes[1], 5, 0);
    g->addWidget(d.textes[5], 5, 1);
    g->addWidget(d.textes[3], 3, 1);
    g->addWidget(new QLabel(grec("l"), d.boite), 3, 0);
    d.boite->hide();
    layout()->addWidget(d.boite);
    return d;
}

// What the user types is parsed once, as typed; the commands take the values.
void PanneauValeurs::relie_saisies() {
    OngletMaille& o = p_.principal.maille;
    for (auto [champ, valeur] : {std::pair{lambda_, &o.lambda}, std::pair{angle1_, &o.theta_min},
                                 std::pair{angle2_, &o.theta_max}})
        suit_saisie(*champ, *valeur);
    connect(change_, &QPushButton::clicked, this, [this] {
        p_.commande(
            [&] { return relit_theta_range(p_.espace, p_.principal.maille, p_.dialogues()); });
    });
}

// A click into λ is the user's entry; the focus coming back by itself is not.
bool PanneauValeurs::eventFilter(QObject* objet, QEvent* e) {
    if (signalsBlocked()) return false; // the main window is on its way out
    if (objet == lambda_ && e->type() == QEvent::FocusIn &&
        static_cast<const QFocusEvent&>(*e).reason() == Qt::MouseFocusReason)
        p_.commande([&] { return entree_lambda(p_.espace, p_.principal); });
    return false;
}

void PanneauValeurs::montre(const Rafraichissement& r) {
    if (r.a_change(Change::mode)) montre_libelles(libelles(p_.espace));
    if (r.a_change_un({Change::fichiers, Change::plage, Change::mode})) montre_donnees();
    if (r.a_change_un({Change::maille, Change::plage, Change::mode}))
        montre_valeurs_courantes(p_.principal.maille);
}

void PanneauValeurs::montre_libelles(const Libelles& l) {
    etiquette_angle1_->setText(grec(l.valeur1));
    etiquette_angle2_->setText(grec(l.valeur2));
    for (Donnees* d : {&pics_, &profil_}) {
        d->etiquettes[0]->setText(grec(l.donnees1));
        d->etiquettes[1]->setText(grec(l.donnees2));
    }
}

void PanneauValeurs::montre_donnees() {
    const EspaceTravail& et = p_.espace;
    auto remplit = [](const PanneauDonnees& p, Donnees& d) {
        const std::string* textes[] = {&p.fichier, &p.echantillon, &p.anode,
                                       &p.lambda,  &p.angle1,      &p.angle2};
        for (std::size_t i = 0; i < 6; ++i)
            d.textes[i]->setText(qs(*textes[i]));
        d.etiquettes[0]->setText(grec(p.etiquette1));
        d.etiquettes[1]->setText(grec(p.etiquette2));
    };
    remplit(kovrin::panneau_pics(et), pics_);
    remplit(kovrin::panneau_profil(et), profil_);
    pics_.boite->setVisible(panneau_pics_visible(et));
    profil_.boite->setVisible(panneau_profil_visible(et));
}

void PanneauValeurs::montre_valeurs_courantes(const OngletMaille& o) {
    const Libelles l = libelles(p_.espace);
    etiquette_angle1_->setText(grec(l.valeur1));
    etiquette_angle2_->setText(grec(l.valeur2));
    montre_saisie(lambda_, texte_lambda(o.lambda));
    montre_saisie(angle1_, texte_angle_domaine(o.theta_min));
    montre_saisie(angle2_, texte_angle_domaine(o.theta_max));
}

} // namespace kovrin::fenetres
