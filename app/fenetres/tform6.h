#pragma once
// The diagram window ("Diagram"): the observed profile, the measured bars,
// the calculated ticks and the selected pairs over the current range.
#include "interface/affichages.h"

#include <QWidget>

namespace kovrin::fenetres {

class Programme;

class Tform6 : public QWidget {
    Q_OBJECT
public:
    explicit Tform6(Programme& programme);
    void montre(const Rafraichissement& r);
    void redessine();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    Programme& p_;
};

} // namespace kovrin::fenetres
