#pragma once
// The profile window ("Measure the reflection angles on the diagram"): the raw
// profile, the peaks measured on it by pointing or by the automatic search,
// the peak grid, the profile's header and the range to read it in.
#include "interface/affichages.h"

#include <QMainWindow>

#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace kovrin::fenetres {

class GrilleTextes;
class ImageTrace;
class PanneauGenres;
class PanneauRecherche;
class Programme;

class TForm7 : public QMainWindow {
    Q_OBJECT
  public:
    explicit TForm7(Programme& programme);
    void montre(const Rafraichissement& r);

    // Controls the tests reach.
    ImageTrace* image;
    QLabel* legende;
    QLineEdit* lecture;
    QSpinBox *decalage, *echelle;
    QToolButton *reset, *charge_profil, *efface_profil, *efface_mesures, *garde_genres, *recherche,
        *ajustement;
    GrilleTextes* grille_pics;
    QLabel* nombre_pics;
    QLineEdit *plage_lambda, *plage_angle1, *plage_angle2;
    QPushButton* relit_plage;
    PanneauRecherche* panneau_recherche;
    PanneauGenres* panneau_genres;
    QMenu* menu_profils;
    QAction *action_recherche, *action_derivee;

  protected:
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void construit_menus();
    QMenu* menu_formats_profil(QWidget* parent);
    QWidget* construit_haut();
    QWidget* construit_image();
    QWidget* construit_cote();
    QWidget* construit_entete(QWidget* parent);
    QWidget* construit_plage(QWidget* parent);
    void relie_controles();
    void relie_grille();
    void relie_souris();
    void lance_recherche();
    void ajuste();
    void montre_panneaux();
    void montre_donnees();
    Dessin dessin(int largeur, int hauteur);

    Programme& p_;
    // Header fields: file, sample, lambda1, lambda2, ratio, anode, lambda, angle 1, angle 2.
    std::array<QLabel*, 9> entete{};
    std::array<QLabel*, 2> etiquettes_entete{}, etiquettes_plage{};
};

} // namespace kovrin::fenetres
