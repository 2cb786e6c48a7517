#pragma once
// The wavelength dialog ("Lambda missing"), shown when a peak or profile file
// carries no wavelength; its OK completes the intake that asked for it.
#include <QDialog>

#include <array>

class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace kovrin::fenetres {

class Programme;

class Tflilambda : public QDialog {
    Q_OBJECT
  public:
    explicit Tflilambda(Programme& programme);
    // Shows the dialog as the core prepared it (window-modal, not waiting).
    void ouvre();
    // The boxes and their visibility from the dialog's state in the core.
    void montre_etat();

    QListWidget* liste;
    QLineEdit *lambda1, *lambda2, *lambda;
    QPushButton* ok;

  private:
    void construit_choix_lambda(QGridLayout& grille);

    Programme& p_;
    std::array<QLabel*, 3> etiquettes{};
    // "Working wavelength:" weighted mean Kalpha or Kalpha1, and what it gives.
    QLabel* titre_choix_ = nullptr;
    QRadioButton *moyenne_ = nullptr, *k_alpha1_ = nullptr;
    QLabel* lambda_travail_ = nullptr;
};

} // namespace kovrin::fenetres
