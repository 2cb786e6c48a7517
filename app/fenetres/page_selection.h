#pragma once
// The third tab of the main window, "Selection of the reflections": the
// angular tolerance, the automatic selection, and the pairing by hand between
// the measured and the calculated reflections.
#include "interface/affichages.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kovrin::fenetres {

class GrilleTextes;
class Programme;

class PageSelection : public QWidget {
    Q_OBJECT
  public:
    explicit PageSelection(Programme& programme);

    void montre(const Rafraichissement& r);
    void colore(const QString& fond);

  private:
    void construit_gauche();
    void construit_grilles();
    void relie_grilles();

    Programme& p_;
    QPlainTextEdit* memo_;
    QLabel* unite_tolerance_;
    QLineEdit* tolerance_;
    QCheckBox* estime_;
    QPushButton *auto_, *efface_;
    GrilleTextes *mesures_, *calculees_, *selection_;
};

} // namespace kovrin::fenetres
