#pragma once
// "Transfert to Excel": the export Excel.txt in a text area, in its short or
// long list, to copy into a spreadsheet.
#include <QDialog>

class QPlainTextEdit;
class QRadioButton;
class QPushButton;

namespace kovrin::fenetres {

class Programme;

class Tfexcel : public QDialog {
    Q_OBJECT
  public:
    explicit Tfexcel(Programme& programme);
    // Activation: the export built again in the chosen list.
    void initialise();

    QRadioButton *courte, *longue;
    QPlainTextEdit* zone;
    QPushButton *copie, *annule;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    Programme& p_;
};

} // namespace kovrin::fenetres
