#pragma once
// The fourth tab of the main window, "Cell refinement": the buttons of the
// refinement, the table of the parameters (initial, refined, sigmas, to
// refine), the reflections before and after, the figures of merit, and the
// panel that asks how the angular shift is refined.
#include "fenetres/pages_principale.h"
#include "interface/affichages.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QVBoxLayout;

namespace kovrin::fenetres {

class GrilleTextes;
class Programme;

class PageAffinement : public QWidget {
    Q_OBJECT
  public:
    // The shift panel floats over `fenetre`, the main window.
    PageAffinement(Programme& programme, const ActionsPrincipales& actions, QWidget& fenetre);

    void montre(const Rafraichissement& r);

  private:
    void construit_boutons(QVBoxLayout& gauche, const ActionsPrincipales& actions);
    QWidget* construit_table();
    void ajoute_coche(std::size_t rang);
    void relie_table();
    void construit_tableaux(QHBoxLayout& rangee);
    void construit_merite(QVBoxLayout& gauche);
    void construit_panneau_decalage();
    void relie_boutons();
    void montre_resultats(const OngletAffinement& o);
    void montre_coches(const OngletMaille& o);
    void montre_panneau_decalage();

    Programme& p_;
    QWidget& fenetre_;
    QToolButton *lance_, *remplace_, *restaure_, *rapport_, *exporte_, *imprime_, *lineaire_,
        *residus_;
    QGridLayout* grille_table_ = nullptr;
    QLabel* etiquette_decalage_;
    std::array<QLineEdit*, 8> initial_{}, affine_{}, sigmas_{}, esd_{}, valeur_esd_{};
    std::array<QCheckBox*, 8> coches_{}; // a ... gamma, shift, lambda
    GrilleTextes *avant_, *apres_;
    QLineEdit *ecart_avant_, *ecart_apres_, *m20_, *fn_;
    QGroupBox* panneau_decalage_;
    QRadioButton* excentricite_;
    QPushButton* ok_decalage_;
};

} // namespace kovrin::fenetres
