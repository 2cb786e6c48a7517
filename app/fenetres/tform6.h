#pragma once
// The diagram window ("Diagram"): the observed profile, the measured bars,
// the calculated ticks and the selected pairs over the current range, with the
// controls that zoom, move and scale it, load a profile, and point at
// reflections to pair them.
#include "interface/affichages.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace kovrin::fenetres {

class ImageTrace;
class Programme;

class Tform6 : public QWidget {
    Q_OBJECT
  public:
    explicit Tform6(Programme& programme);
    void montre(const Rafraichissement& r);
    // Unless it came back where the user left it: just below `principale`,
    // or beside it when the screen has no room below (both windows shown).
    void place_sous(const QWidget& principale);
    void redessine();

    // Controls the tests and the other windows reach.
    ImageTrace* image;
    QLabel *legende_mesures, *legende_profil, *legende_calculees;
    QLineEdit* lecture;
    QSpinBox *decalage, *echelle;
    QToolButton *charge_profil, *reset, *raze, *efface_profil, *imprime;
    QRadioButton *mode_theta, *mode_2theta;
    QMenu* menu_profils;

  protected:
    void changeEvent(QEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    QWidget* construit_legendes();
    QWidget* construit_panneau();
    QWidget* construit_modes(QWidget* parent);
    void construit_menu_profils();
    void relie_controles();
    void relie_souris();
    Dessin dessin(int largeur, int hauteur);

    Programme& p_;
    bool retenue_ = false; // the geometry the user left came back
};

} // namespace kovrin::fenetres
