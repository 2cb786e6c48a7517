#pragma once
// The first tab of the main window, "Measured reflections": how the peaks come
// in (keyboard, file, diagram), the θ/2θ choice and the grid of the measured
// reflections, where the user types rows.
#include "fenetres/pages_principale.h"
#include "interface/affichages.h"

#include <QWidget>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace kovrin::fenetres {

class GrilleTextes;
class Programme;

class PageMesures : public QWidget {
    Q_OBJECT
  public:
    PageMesures(Programme& programme, const ActionsPrincipales& actions);

    // Shows the part of a command's answer that belongs to this tab.
    void montre(const Rafraichissement& r);
    // The background of the explanation, in the colour of the current tab.
    void colore(const QString& fond);

  private:
    void construit_boutons(QVBoxLayout& gauche, const ActionsPrincipales& actions);
    void construit_modes(QVBoxLayout& gauche);
    void relie_grille();
    void montre_libelles(const Libelles& l);

    Programme& p_;
    QPlainTextEdit* memo_;
    QPushButton *clavier_, *fichier_, *diagramme_, *efface_, *sauve_;
    QRadioButton *mode_theta_, *mode_2theta_;
    QGroupBox* panneau_;
    GrilleTextes* grille_;
};

} // namespace kovrin::fenetres
