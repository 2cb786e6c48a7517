#pragma once
// The residual plot of the last refinement in a window of its own, with
// "Print"; it follows each new refinement while it is open.
#include <QWidget>

namespace kovrin::fenetres {

class ImageTrace;
class Programme;

class FenetreResidus : public QWidget {
    Q_OBJECT
  public:
    explicit FenetreResidus(Programme& programme);
    void redessine();

  private:
    Programme& p_;
    ImageTrace* trace_;
};

} // namespace kovrin::fenetres
