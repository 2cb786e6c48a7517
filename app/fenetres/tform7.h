#pragma once
// The profile window ("Measure the reflection angles on the diagram"): the raw
// profile, the peaks measured on it by pointing or by the automatic search.
#include "interface/affichages.h"

#include <QWidget>

namespace kovrin::fenetres {

class Programme;

class TForm7 : public QWidget {
    Q_OBJECT
public:
    explicit TForm7(Programme& programme);
    void montre(const Rafraichissement& r);

private:
    Programme& p_;
};

} // namespace kovrin::fenetres
